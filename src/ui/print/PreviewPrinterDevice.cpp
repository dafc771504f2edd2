#include "ui/print/PreviewPrinterDevice.h"

#include "core/base/AppGlobals.h"

#include <QPrintPreviewDialog>
#include <QPrinterInfo>

PreviewPrinterDevice::PreviewPrinterDevice(QWidget* window, const QString& printoutName)
    : m_window(window), m_name(printoutName),
      m_measure(std::make_unique<QtPrinterDevice>(QPrinterInfo::defaultPrinter(), printoutName)) {}

PreviewPrinterDevice::~PreviewPrinterDevice() = default;

double PreviewPrinterDevice::measure(const QString& text, const PrinterFont& font) const {
    return static_cast<const PrinterDevice&>(*m_measure).measure(text, font);
}

double PreviewPrinterDevice::lineHeight(const PrinterFont& font) const {
    return static_cast<const PrinterDevice&>(*m_measure).lineHeight(font);
}

double PreviewPrinterDevice::columnWidth(const PrinterFont& font) const {
    return static_cast<const PrinterDevice&>(*m_measure).columnWidth(font);
}

void PreviewPrinterDevice::beginDocument() {
    // The documents of one command (the forms of several employees) follow each other as pages of one preview.
    if (m_begun)
        m_steps.push_back([](PrinterDevice& d) { d.startPage(); });
    m_begun = true;
}

void PreviewPrinterDevice::drawText(double x, double y, const QString& text, const PrinterFont& font) {
    m_steps.push_back([=](PrinterDevice& d) { d.drawText(x, y, text, font); });
}

void PreviewPrinterDevice::drawPicture(const QImage& picture, double x, double y, double width, double height) {
    m_steps.push_back([=](PrinterDevice& d) { d.drawPicture(picture, x, y, width, height); });
}

void PreviewPrinterDevice::startPage() {
    m_steps.push_back([](PrinterDevice& d) { d.startPage(); });
}

void PreviewPrinterDevice::replay(PrinterDevice& target) const {
    target.beginDocument();
    for (const auto& step : m_steps)
        step(target);
    target.finishDocument();
}

void PreviewPrinterDevice::finishOutput() {
    if (m_steps.empty())
        return;
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(AppTitle + QStringLiteral(" - ") + m_name);
    QPrintPreviewDialog preview(&printer, m_window);
    preview.setWindowTitle(AppTitle + QStringLiteral(" - Print Preview - ") + m_name);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [this](QPrinter* target) {
        QtPrinterDevice device(target);
        replay(device);
    });
    preview.resize(900, 800);
    preview.exec();
}

bool PreviewPrintouts() {
    return GetSetting(QStringLiteral("PreviewPrintouts"), QStringLiteral("0")) == QLatin1String("1");
}

void SetPreviewPrintouts(bool on) {
    SaveSetting(QStringLiteral("PreviewPrintouts"), on ? QStringLiteral("1") : QStringLiteral("0"));
}
