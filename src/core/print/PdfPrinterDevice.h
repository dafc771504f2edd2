#pragma once

#include "core/print/PrinterDevice.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <memory>
#include <vector>

class QPaintDevice;

// A printer device that paints on a Qt paint device (a PDF writer, a printer): text in the fonts asked for,
// measured on that device, and pictures scaled into their rectangles.
class PaintedPrinterDevice : public PrinterDevice {
protected:
    // The device painted on and measured against; its logical resolution gives the pixels of an inch.
    virtual QPaintDevice* paintTarget() const = 0;

    double measure(const QString& text, const PrinterFont& font) const override;
    double lineHeight(const PrinterFont& font) const override;
    double columnWidth(const PrinterFont& font) const override;
    void drawText(double x, double y, const QString& text, const PrinterFont& font) override;
    void drawPicture(const QImage& picture, double x, double y, double width, double height) override;

    QFont qtFont(const PrinterFont& font) const;
    double dpiX() const;
    double dpiY() const;

    QPainter m_painter;

private:
    // A font as the printouts use it, with what they measure in it; a printout goes back to the same few fonts for
    // every line, and to the same captions on every page.
    struct FontInUse {
        PrinterFont key;
        const QPaintDevice* target;
        QFont font;
        QFontMetricsF metrics;
        QHash<QString, double> widths; // pixels, of texts measured before
    };
    FontInUse& inUse(const PrinterFont& font) const;

    mutable std::vector<std::unique_ptr<FontInUse>> m_fonts;
};

// Prints into one PDF file on US Letter, the documents of a command one after the other. The file is written
// when the device is closed, readable by its owner only (printouts carry social security numbers); nothing is
// written when nothing was printed.
class PdfPrinterDevice : public PaintedPrinterDevice {
public:
    // A file already at the path is refused (FileError at close), or replaced: the new file is written whole
    // beside it and takes its place in one rename, so the old one stays whole until then.
    enum class Existing { Refuse, Replace };

    PdfPrinterDevice(const QString& filePath, const QString& title, Existing existing = Existing::Refuse);
    ~PdfPrinterDevice() override;

    double pageWidth() const override { return 8.5; }
    // The whole sheet is printable.
    double physicalOffsetX() const override { return 0; }
    double physicalOffsetY() const override { return 0; }
    double pixelsToInchesX(double pixels) const override { return pixels / Resolution; }
    double pixelsToInchesY(double pixels) const override { return pixels / Resolution; }

    // The file, once it has been written.
    QString outputFile() const override { return m_written ? m_path : QString(); }

    static constexpr int Resolution = 1200;

protected:
    QPaintDevice* paintTarget() const override { return m_writer.get(); }
    void beginDocument() override;
    void startPage() override;
    void finishDocument() override {}
    void finishOutput() override;

private:
    QString m_path;
    Existing m_existing;
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
    bool m_written = false;
};
