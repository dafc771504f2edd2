#include "core/print/PdfPrinterDevice.h"

#include "core/print/PrintHelpers.h"
#include "core/base/FileError.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QSaveFile>

#include <cmath>

QFont PaintedPrinterDevice::qtFont(const PrinterFont& font) const {
    // Printouts place their text in inches on "Arial": the first one makes sure that name gives a face with Arial's
    // widths. Done here rather than at start-up, which reading the whole font database would slow; nothing here
    // stops a printout, which without such a face still prints, a little wider.
    [[maybe_unused]] static const bool arialReady = PreparePrinter();
    QFont f(font.Name);
    f.setPointSizeF(font.Size);
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    f.setStrikeOut(font.Strikethru);
    // Widths must add up: a line printed letter by letter is measured letter by letter, then drawn as one run.
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::ForceOutline);
    return f;
}

double PaintedPrinterDevice::dpiX() const {
    return paintTarget()->logicalDpiX();
}

double PaintedPrinterDevice::dpiY() const {
    return paintTarget()->logicalDpiY();
}

PaintedPrinterDevice::FontInUse& PaintedPrinterDevice::inUse(const PrinterFont& font) const {
    const QPaintDevice* target = paintTarget();
    for (const std::unique_ptr<FontInUse>& known : m_fonts)
        if (known->key == font && known->target == target)
            return *known;
    // A printout uses a handful of fonts; one that sets many sizes starts afresh now and then.
    if (m_fonts.size() >= 16)
        m_fonts.clear();
    const QFont f = qtFont(font);
    m_fonts.push_back(std::make_unique<FontInUse>(FontInUse{font, target, f, QFontMetricsF(f, paintTarget()), {}}));
    return *m_fonts.back();
}

double PaintedPrinterDevice::measure(const QString& text, const PrinterFont& font) const {
    FontInUse& f = inUse(font);
    auto known = f.widths.constFind(text);
    if (known == f.widths.cend()) {
        if (f.widths.size() >= 4096)
            f.widths.clear();
        known = f.widths.insert(text, f.metrics.horizontalAdvance(text));
    }
    return *known / dpiX();
}

double PaintedPrinterDevice::lineHeight(const PrinterFont& font) const {
    return inUse(font).metrics.lineSpacing() / dpiY();
}

double PaintedPrinterDevice::columnWidth(const PrinterFont& font) const {
    return inUse(font).metrics.averageCharWidth() / dpiX();
}

void PaintedPrinterDevice::drawText(double x, double y, const QString& text, const PrinterFont& font) {
    const FontInUse& f = inUse(font);
    m_painter.setFont(f.font);
    m_painter.setPen(Qt::black);
    m_painter.drawText(QPointF(x * dpiX(), y * dpiY() + f.metrics.ascent()), text);
}

void PaintedPrinterDevice::drawPicture(const QImage& picture, double x, double y, double width, double height) {
    if (picture.isNull() || width <= 0 || height <= 0)
        return;
    // A camera's picture holds far more pixels than paper shows; 300 per inch keeps the output small.
    constexpr double enough = 300;
    QImage scaled = picture;
    const QSize wanted(static_cast<int>(std::ceil(width * enough)), static_cast<int>(std::ceil(height * enough)));
    if (picture.width() > wanted.width() || picture.height() > wanted.height())
        scaled = picture.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.drawImage(QRectF(x * dpiX(), y * dpiY(), width * dpiX(), height * dpiY()), scaled);
}

PdfPrinterDevice::PdfPrinterDevice(const QString& filePath, const QString& title, Existing existing)
    : m_path(filePath), m_existing(existing) {
    m_buffer.open(QIODevice::WriteOnly);
    m_writer = std::make_unique<QPdfWriter>(&m_buffer);
    m_writer->setResolution(Resolution);
    m_writer->setPageLayout(
        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Inch));
    m_writer->setTitle(title);
    m_writer->setCreator(QStringLiteral("Vardel"));
}

PdfPrinterDevice::~PdfPrinterDevice() {
    if (m_painter.isActive())
        m_painter.end();
}

void PdfPrinterDevice::beginDocument() {
    // Every document of the command goes into the one file, each starting on a page of its own.
    if (!m_painter.isActive()) {
        if (!m_painter.begin(m_writer.get()))
            throw PrinterError(QStringLiteral("The PDF file could not be started: ") + m_path);
    } else {
        m_writer->newPage();
    }
}

void PdfPrinterDevice::startPage() {
    m_writer->newPage();
}

void PdfPrinterDevice::finishOutput() {
    if (!m_painter.isActive())
        return;
    m_painter.end();
    const QByteArray& bytes = m_buffer.data();
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (m_existing == Existing::Replace) {
        QSaveFile file(m_path);
        if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(ownerOnly) || file.write(bytes) != bytes.size() ||
            !file.commit())
            throw FileError(m_path + QStringLiteral(": ") + file.errorString());
        m_written = true;
        return;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly))
        throw FileError(m_path + QStringLiteral(": ") + file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.close();
        file.remove();
        throw FileError(m_path + QStringLiteral(": ") + reason);
    }
    file.close();
    m_written = true;
}
