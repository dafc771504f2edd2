#include "core/print/PrintHelpers.h"

#include <QFileInfo>
#include <QFont>
#include <QFontInfo>

bool PrinterReadyConfirmed = false;
bool PrintPictureOnOpen = false;

QString PrinterReadyText() {
    return QStringLiteral("Is your printer ready?");
}

QString PrinterReadyTitle() {
    return QStringLiteral("Printer Status...");
}

void PrintRule(PrinterDevice& printer, double start, double end) {
    printer.setCurrentX(start);
    const QString underscore = QStringLiteral("_");
    // A font without width would never reach the end.
    if (printer.textWidth(underscore) > 0) {
        while (printer.currentX() < end)
            printer.printInline(underscore);
    }
    printer.endLine();
}

void SetPageOrigin(PrinterDevice& printer, double adjustX, double adjustY) {
    const double offsetX = printer.pixelsToInchesX(printer.physicalOffsetX());
    const double offsetY = printer.pixelsToInchesY(printer.physicalOffsetY());
    printer.setScaleLeft(offsetX - adjustX);
    printer.setScaleTop(offsetY - adjustY);
}

void PrintWrappedText(PrinterDevice& printer, PrintOwner* owner, const QString& text, const QString& title,
                      bool underlineTitle, bool centreTitle, bool titleEveryPage, bool leaveWindowAlone,
                      bool leaveDocumentOpen, double leftMargin, double rightMargin) {
    constexpr double top = 1.0;
    constexpr double pageFull = 8.8;
    constexpr double pageNumberX = 6.0;
    constexpr double pageNumberY = 9.2;

    if (!leaveWindowAlone && owner)
        owner->MakeBusy();

    int pageCounter = 0;
    bool newPage = true;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        if (printer.currentY() < top)
            printer.setCurrentY(top);
        if (printer.currentX() < leftMargin)
            printer.setCurrentX(leftMargin);

        if (newPage) {
            newPage = false;
            ++pageCounter;
            if (!title.isEmpty() && (titleEveryPage || pageCounter == 1)) {
                if (underlineTitle)
                    printer.setFontUnderline(true);
                if (centreTitle) {
                    // Centred on the sheet, whatever the margins and the scale origin.
                    const double sheetLeft = printer.scaleLeft() - printer.pixelsToInchesX(printer.physicalOffsetX());
                    printer.setCurrentX(sheetLeft + printer.pageWidth() / 2 - printer.textWidth(title) / 2);
                }
                printer.print(title);
                if (printer.font().Underline)
                    printer.setFontUnderline(false);
                printer.endLine();
                printer.setCurrentX(1);
            }
        }

        if (text.at(i) == QLatin1Char('\r') && i + 1 < length && text.at(i + 1) == QLatin1Char('\n')) {
            printer.endLine();
            ++i;
        } else {
            printer.printInline(text.at(i));
        }

        if (printer.currentX() > rightMargin - 1) {
            if (text.at(i) == QLatin1Char(' ') || printer.currentX() > rightMargin + 0.5)
                printer.endLine();
        }

        const bool last = i == length - 1;
        if (last || printer.currentY() > pageFull) {
            if (pageCounter > 1) {
                printer.endLine();
                printer.setCurrentX(pageNumberX);
                printer.setCurrentY(pageNumberY);
                printer.print(QStringLiteral("(page ") + QString::number(pageCounter) + QLatin1Char(')'));
            }
            if (!last) {
                printer.newPage();
                newPage = true;
            }
        }
    }

    if (!leaveDocumentOpen)
        printer.endDoc();
    if (!leaveWindowAlone && owner)
        owner->MakeUsable();
}

bool IsArialCompatibleFamily(const QString& family) {
    // Faces drawn to Arial's widths, glyph for glyph.
    static const QStringList compatible{QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                        QStringLiteral("Arimo")};
    return compatible.contains(family, Qt::CaseInsensitive);
}

QString ResolvedArialFamily() {
    return QFontInfo(QFont(QStringLiteral("Arial"))).family();
}

bool PreparePrinter() {
    if (IsArialCompatibleFamily(ResolvedArialFamily()))
        return true;
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    return IsArialCompatibleFamily(ResolvedArialFamily());
}

QString PrintoutFilePath(const QString& folder, const QString& printoutName, const QDateTime& when) {
    const QString stem = folder + QLatin1Char('/') + printoutName + QLatin1Char(' ') +
                         when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    QString path = stem + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QStringLiteral(" (") + QString::number(n) + QStringLiteral(").pdf");
    return path;
}
