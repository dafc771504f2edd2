#pragma once

#include "ui/print/QtPrinterDevice.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

// A printout shown in a print preview before it is printed: measured as the system's printer (or, without one, a
// PDF file) would measure it, its drawing recorded, and at the end replayed into Qt's print preview, from which the
// clerk prints to a printer he chooses, with copies and a page range, or to a PDF file.
class PreviewPrinterDevice : public PrinterDevice {
public:
    PreviewPrinterDevice(QWidget* window, const QString& printoutName);
    ~PreviewPrinterDevice() override;

    double pageWidth() const override { return m_measure->pageWidth(); }
    double physicalOffsetX() const override { return m_measure->physicalOffsetX(); }
    double physicalOffsetY() const override { return m_measure->physicalOffsetY(); }
    double pixelsToInchesX(double pixels) const override { return m_measure->pixelsToInchesX(pixels); }
    double pixelsToInchesY(double pixels) const override { return m_measure->pixelsToInchesY(pixels); }

    // Draws what was recorded on target, one document after another as pages of one.
    void replay(PrinterDevice& target) const;
    // What the preview's print request runs: for its pages, and, once its print dialog is accepted, for the
    // printout on the printer chosen there. A printout that the dialog sends to a file is written as every printout
    // file is: readable by its owner only, whole or not at all, and over an existing file only when the clerk
    // agrees. Errors are told through the dialogs service.
    void paint(QPrinter* target);
    qsizetype recordedSteps() const { return qsizetype(m_steps.size()); }

protected:
    double measure(const QString& text, const PrinterFont& font) const override;
    double lineHeight(const PrinterFont& font) const override;
    double columnWidth(const PrinterFont& font) const override;
    void beginDocument() override;
    void drawText(double x, double y, const QString& text, const PrinterFont& font) override;
    void drawPicture(const QImage& picture, double x, double y, double width, double height) override;
    void startPage() override;
    void finishDocument() override {}
    // Shows the preview.
    void finishOutput() override;

private:
    void printToFile(QPrinter* target, const QString& path);

    QPointer<QWidget> m_window;
    QString m_name;
    std::unique_ptr<QtPrinterDevice> m_measure;
    std::vector<std::function<void(PrinterDevice&)>> m_steps;
    bool m_begun = false;
};

// The question before a printout printed to a file replaces one that is there, and the title of its messages.
QString ReplacePrintFileText(const QString& path);
QString PrintToFileTitle();

// Whether printouts open in the preview first: the administration window's setting, off unless set.
bool PreviewPrintouts();
void SetPreviewPrintouts(bool on);
