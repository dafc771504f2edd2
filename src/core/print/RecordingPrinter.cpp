#include "core/print/RecordingPrinter.h"

RecordingPrinter::RecordingPrinter(double offsetXPixels, double offsetYPixels)
    : m_offsetX(offsetXPixels), m_offsetY(offsetYPixels) {}

QList<RecordingPrinter::Text> RecordingPrinter::textsOn(int document, int page) const {
    QList<Text> result;
    for (const Text& t : texts)
        if (t.document == document && t.page == page)
            result.append(t);
    return result;
}

double RecordingPrinter::measure(const QString& text, const PrinterFont& font) const {
    return text.size() * font.Size / 64.0;
}

double RecordingPrinter::lineHeight(const PrinterFont& font) const {
    return font.Size / 32.0;
}

double RecordingPrinter::columnWidth(const PrinterFont& font) const {
    return font.Size / 64.0;
}

void RecordingPrinter::beginDocument() {
    ++m_document;
    m_page = 1;
    log << QStringLiteral("begin");
}

void RecordingPrinter::drawText(double x, double y, const QString& text, const PrinterFont& font) {
    texts.append({m_document, m_page, x, y, text, font});
    log << QStringLiteral("text ") + text;
}

void RecordingPrinter::drawPicture(const QImage& picture, double x, double y, double width, double height) {
    pictures.append({m_document, m_page, QSizeF(picture.size()), x, y, width, height});
    log << QStringLiteral("picture");
}

void RecordingPrinter::startPage() {
    ++m_page;
    log << QStringLiteral("page");
}

void RecordingPrinter::finishDocument() {
    pagesPerDocument.append(m_page);
    log << QStringLiteral("end");
}

void RecordingPrinter::finishOutput() {
    closed = true;
    log << QStringLiteral("close");
}
