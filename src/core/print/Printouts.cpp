#include "core/print/Printouts.h"

#include "core/base/AppGlobals.h"
#include "core/print/PrintHelpers.h"
#include "core/base/DateRules.h"

namespace {

void SetPlainFont(PrinterDevice& printer, double size) {
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontSize(size);
    printer.setFontBold(false);
    printer.setFontItalic(false);
    printer.setFontUnderline(false);
}

// The longest start of text that ends a blank's width short of edge when printed from the current position.
QString CutAtEdge(const PrinterDevice& printer, const QString& text, double edge) {
    const double room = edge - printer.currentX() - printer.textWidth(QStringLiteral(" "));
    qsizetype n = text.size();
    while (n > 0 && printer.textWidth(text.left(n)) > room)
        --n;
    return text.left(n);
}

} // namespace

void PrintEmployeeList(PrinterDevice& printer, const EmployeeListPrintout& list) {
    constexpr double left = 0.5;
    constexpr double column1 = 4.0;
    constexpr double column2 = 6.2;
    constexpr double ruleEnd = 7.6;
    constexpr double top = 1.0;
    constexpr double pageFull = 8.8;

    // Only the columns the grid shows, each cut where the next begins, so that no text overprints another.
    const int columns = std::clamp(list.columns, 1, 3);
    const double starts[] = {left, column1, column2};
    const int limits[] = {50, 40, -1};
    const auto printCells = [&](const QStringList& cells) {
        for (int c = 0; c < columns; ++c) {
            printer.setCurrentX(starts[c]);
            const QString text = limits[c] < 0 ? cells.value(c) : cells.value(c).left(limits[c]);
            printer.printInline(CutAtEdge(printer, text, c + 1 < columns ? starts[c + 1] : ruleEnd));
        }
    };

    SetPlainFont(printer, 9);
    const qsizetype last = list.rows.size();
    for (qsizetype i = 1; i <= last; ++i) {
        const QStringList& row = list.rows.at(i - 1);
        if (printer.currentX() < 1)
            printer.setCurrentX(left);
        if (printer.currentY() < top) {
            printer.setCurrentY(top);
            printer.print(list.windowCaption + QStringLiteral(" -- Page ") + QString::number(printer.page()) +
                          QStringLiteral(", ") + FormatGeneralDate(list.printedAt));
            printer.setCurrentX(left);
            printer.print(QStringLiteral("Printout of ") + list.listHeading);
            PrintRule(printer, left, ruleEnd);
            printCells(list.headings);
            PrintRule(printer, left, ruleEnd);
        }

        printCells(row);

        if (printer.currentY() > pageFull || i == last) {
            PrintRule(printer, left, ruleEnd);
            if (i < last) {
                printer.newPage();
            } else {
                printer.setCurrentX(left);
                printer.print(QStringLiteral("End of Printout"));
                printer.endDoc();
            }
        } else {
            printer.endLine();
        }
    }
}

QStringList AddressLabelLines(const QString& firstName, const QString& lastName, const QString& streetAddress,
                              const QString& cityStateZip) {
    return {(firstName + QLatin1Char(' ') + lastName).left(LabelLineLength), streetAddress.left(LabelLineLength),
            cityStateZip.left(LabelLineLength), QString()};
}

void PrintAddressLabel(PrinterDevice& printer, const QStringList& lines, int row, int column) {
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontBold(false);
    printer.setFontSize(10);
    SetPageOrigin(printer, 0, 0);
    printer.setCurrentY(0.5 + (row - 1));
    printer.endLine();
    for (int line = 0; line < 4; ++line) {
        printer.setCurrentX(0.2 + 2.8 * (column - 1));
        printer.print(lines.value(line) + QStringLiteral("  "));
    }
    printer.endDoc();
}

void PrintPicture(PrinterDevice& printer, const QString& heading, const QImage& picture) {
    constexpr double left = 0.75;
    constexpr double top = 2.0;
    constexpr double width = 6.25;
    // Half an inch above the foot of a letter sheet: a tall portrait would otherwise run off the paper.
    constexpr double lowest = 10.5;

    SetPlainFont(printer, 9);
    printer.setCurrentX(left);
    printer.setCurrentY(1.8);
    printer.print(heading);
    if (!picture.isNull() && picture.width() > 0) {
        double w = width;
        double h = width * picture.height() / picture.width();
        if (h > lowest - top) {
            w = w * (lowest - top) / h;
            h = lowest - top;
        }
        printer.paintPicture(picture, left, top, w, h);
    }
    printer.endDoc();
}

void PrintHelpTopic(PrinterDevice& printer, PrintOwner* owner, const QString& topicCaption, const QString& text) {
    SetPlainFont(printer, 10);
    printer.setFontStrikethru(false);
    PrintWrappedText(printer, owner, text, AppTitle + QStringLiteral(", Help Section: ") + topicCaption, true, false,
                     false, false, false, 1.0, 7.5);
}
