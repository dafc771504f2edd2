#include "ui/print/QtPrinterDevice.h"

#include <QPageLayout>
#include <QPrinterInfo>

QtPrinterDevice::QtPrinterDevice(const QPrinterInfo& printer, const QString& jobName)
    : m_own(printer, QPrinter::HighResolution), m_printer(&m_own) {
    // The printer's own paper; painting starts at the sheet's corner.
    m_own.setFullPage(true);
    m_own.setDocName(jobName);
}

QtPrinterDevice::QtPrinterDevice(QPrinter* printer) : m_printer(printer) {
    m_printer->setFullPage(true);
}

QtPrinterDevice::~QtPrinterDevice() {
    if (m_painter.isActive())
        m_painter.end();
}

double QtPrinterDevice::pageWidth() const {
    return m_printer->pageLayout().fullRect(QPageLayout::Inch).width();
}

double QtPrinterDevice::physicalOffsetX() const {
    const QPageLayout layout = m_printer->pageLayout();
    const double inches = layout.minimumMargins().left() * layout.fullRect(QPageLayout::Inch).width() /
                          layout.fullRect(layout.units()).width();
    return inches * m_printer->resolution();
}

double QtPrinterDevice::physicalOffsetY() const {
    const QPageLayout layout = m_printer->pageLayout();
    const double inches = layout.minimumMargins().top() * layout.fullRect(QPageLayout::Inch).height() /
                          layout.fullRect(layout.units()).height();
    return inches * m_printer->resolution();
}

void QtPrinterDevice::beginDocument() {
    if (!m_painter.begin(m_printer))
        throw PrinterError(QStringLiteral("The printer \"") + m_printer->printerName() +
                           QStringLiteral("\" could not start the printout."));
}

void QtPrinterDevice::startPage() {
    if (!m_printer->newPage())
        throw PrinterError(QStringLiteral("The printer \"") + m_printer->printerName() +
                           QStringLiteral("\" could not start a new page."));
}

void QtPrinterDevice::finishDocument() {
    // Ending the painter sends the job.
    if (!m_painter.end())
        throw PrinterError(QStringLiteral("The printer \"") + m_printer->printerName() +
                           QStringLiteral("\" did not take the printout."));
}
