#pragma once

#include "core/print/PdfPrinterDevice.h"

#include <QPrinter>

class QPrinterInfo;

// The system's printer through Qt's printing (CUPS): its own paper and settings; positions count from the sheet's
// edge plus the printer's unprintable margin, as the scale origin says. Each document is one print job.
class QtPrinterDevice : public PaintedPrinterDevice {
public:
    QtPrinterDevice(const QPrinterInfo& printer, const QString& jobName);
    // Paints on a printer it does not own, such as a print preview's.
    explicit QtPrinterDevice(QPrinter* printer);
    ~QtPrinterDevice() override;

    double pageWidth() const override;
    double physicalOffsetX() const override;
    double physicalOffsetY() const override;
    double pixelsToInchesX(double pixels) const override { return pixels / m_printer->resolution(); }
    double pixelsToInchesY(double pixels) const override { return pixels / m_printer->resolution(); }

protected:
    QPaintDevice* paintTarget() const override { return m_printer; }
    void beginDocument() override;
    void startPage() override;
    void finishDocument() override;
    void finishOutput() override {}

private:
    friend class PreviewPrinterDevice;
    QPrinter m_own;
    QPrinter* m_printer;
};
