#pragma once

#include "core/print/PrinterDevice.h"

#include <QList>
#include <QSizeF>
#include <QStringList>

// A printer that keeps what it is given instead of printing it, for checking layouts. Its metrics are simple
// and exact in binary, so that positions can be worked out by hand without rounding: every character is 1/64
// inch wide per point of font size (0.15625 inch at 10 points), a line is 1/32 inch high per point (0.3125 inch
// at 10 points), a print column is one character. The sheet is US Letter.
class RecordingPrinter : public PrinterDevice {
public:
    struct Text {
        int document; // from 1
        int page;     // from 1 within its document
        double x;     // inches from the sheet's left edge
        double y;     // inches from the sheet's top edge, the top of the line
        QString text;
        PrinterFont font;
    };
    struct Picture {
        int document;
        int page;
        QSizeF size; // pixels of the picture given
        double x, y, width, height;
    };

    // The printable area's offset from the sheet's edges, in device pixels of 600 dpi.
    explicit RecordingPrinter(double offsetXPixels = 0, double offsetYPixels = 0);

    double pageWidth() const override { return 8.5; }
    double physicalOffsetX() const override { return m_offsetX; }
    double physicalOffsetY() const override { return m_offsetY; }
    double pixelsToInchesX(double pixels) const override { return pixels / 600.0; }
    double pixelsToInchesY(double pixels) const override { return pixels / 600.0; }

    QList<Text> texts;
    QList<Picture> pictures;
    // Pages of each document ended so far.
    QList<int> pagesPerDocument;
    // Every drawing step in order ("text ...", "page", "end", "picture", "close"); a test may add its own.
    QStringList log;
    bool closed = false;

    // Texts of one document and page, in the order printed.
    QList<Text> textsOn(int document, int page) const;

protected:
    double measure(const QString& text, const PrinterFont& font) const override;
    double lineHeight(const PrinterFont& font) const override;
    double columnWidth(const PrinterFont& font) const override;
    void beginDocument() override;
    void drawText(double x, double y, const QString& text, const PrinterFont& font) override;
    void drawPicture(const QImage& picture, double x, double y, double width, double height) override;
    void startPage() override;
    void finishDocument() override;
    void finishOutput() override;

private:
    double m_offsetX;
    double m_offsetY;
    int m_document = 0;
    int m_page = 0;
};
