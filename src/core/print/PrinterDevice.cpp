#include "core/print/PrinterDevice.h"

#include <cmath>

namespace {

// A text's line breaks: CR LF as the system writes them, and a lone CR or LF as well, which would otherwise
// reach the page as a box.
QStringList SplitLines(const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return plain.split(QLatin1Char('\n'));
}

} // namespace

void PrinterDevice::setCurrentX(double x) {
    m_x = x;
}

void PrinterDevice::setCurrentY(double y) {
    m_y = y;
}

void PrinterDevice::setFont(const PrinterFont& font) {
    m_font = font;
}

void PrinterDevice::setFontName(const QString& name) {
    m_font.Name = name;
}

void PrinterDevice::setFontSize(double points) {
    m_font.Size = points;
}

void PrinterDevice::setFontBold(bool on) {
    m_font.Bold = on;
}

void PrinterDevice::setFontItalic(bool on) {
    m_font.Italic = on;
}

void PrinterDevice::setFontUnderline(bool on) {
    m_font.Underline = on;
}

void PrinterDevice::setFontStrikethru(bool on) {
    m_font.Strikethru = on;
}

double PrinterDevice::sheetX(double x) const {
    return pixelsToInchesX(physicalOffsetX()) + (x - m_scaleLeft);
}

double PrinterDevice::sheetY(double y) const {
    return pixelsToInchesY(physicalOffsetY()) + (y - m_scaleTop);
}

void PrinterDevice::ensureDocument() {
    if (m_closed)
        throw PrinterError(QStringLiteral("The printout was already finished."));
    if (m_inDocument)
        return;
    beginDocument();
    m_inDocument = true;
    m_page = 1;
}

void PrinterDevice::flushRun() {
    if (m_run.text.isEmpty())
        return;
    drawText(m_run.sheetX, m_run.sheetY, m_run.text, m_run.font);
    m_run.text.clear();
}

void PrinterDevice::printSegment(const QString& text) {
    ensureDocument();
    if (text.isEmpty())
        return;
    const double width = measure(text, m_font);
    constexpr double sameSpot = 1e-9;
    const bool continues = !m_run.text.isEmpty() && m_run.font == m_font &&
                           std::abs(m_run.sheetY - sheetY(m_y)) < sameSpot &&
                           std::abs(m_run.sheetEndX - sheetX(m_x)) < sameSpot;
    if (!continues) {
        flushRun();
        // Where it lands on the sheet is fixed now: the scale origin may change before the run is drawn.
        m_run.sheetX = sheetX(m_x);
        m_run.sheetY = sheetY(m_y);
        m_run.font = m_font;
    }
    m_run.text += text;
    m_x += width;
    m_run.sheetEndX = sheetX(m_x);
}

void PrinterDevice::print(const QString& text) {
    printInline(text);
    endLine();
}

void PrinterDevice::printInline(const QString& text) {
    const QStringList lines = SplitLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            endLine();
        printSegment(lines.at(i));
    }
}

void PrinterDevice::endLine() {
    ensureDocument();
    m_x = m_scaleLeft;
    m_y += lineHeight(m_font);
}

void PrinterDevice::tab(int column) {
    m_x = m_scaleLeft + (column - 1) * columnWidth(m_font);
}

void PrinterDevice::newPage() {
    ensureDocument();
    flushRun();
    startPage();
    ++m_page;
    m_x = m_scaleLeft;
    m_y = m_scaleTop;
}

void PrinterDevice::endDoc() {
    flushRun();
    if (m_inDocument) {
        finishDocument();
        m_inDocument = false;
        ++m_documents;
    }
    m_page = 1;
    m_x = m_scaleLeft;
    m_y = m_scaleTop;
}

void PrinterDevice::close() {
    if (m_closed)
        return;
    endDoc();
    m_closed = true;
    finishOutput();
}

void PrinterDevice::paintPicture(const QImage& picture, double x, double y, double width, double height) {
    ensureDocument();
    flushRun();
    drawPicture(picture, sheetX(x), sheetY(y), width, height);
}
