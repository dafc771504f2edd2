#include "ui/print/PrintJob.h"

#include "core/base/AppGlobals.h"
#include "ui/common/Dialogs.h"
#include "core/print/PdfPrinterDevice.h"
#include "ui/print/PreviewPrinterDevice.h"
#include "core/print/PrintHelpers.h"
#include "ui/print/QtPrinterDevice.h"
#include "core/base/DataFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QUrl>

namespace {

PrinterFactory& factory() {
    static PrinterFactory f;
    return f;
}

bool g_factoryWritesFiles = false;

PrintJob* g_activeJob = nullptr;

} // namespace

QString PrintoutsFolder() {
    return QDir::current().absoluteFilePath(QStringLiteral("Printouts"));
}

std::shared_ptr<PrinterDevice> OpenSystemPrinter(const QString& printoutName) {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull())
        return std::make_shared<QtPrinterDevice>(printer, AppTitle + QStringLiteral(" - ") + printoutName);
    const QString folder = PrintoutsFolder();
    EnsurePrivateFolder(folder);
    return std::make_shared<PdfPrinterDevice>(PrintoutFilePath(folder, printoutName, QDateTime::currentDateTime()),
                                              AppTitle + QStringLiteral(" - ") + printoutName);
}

void SetPrinterFactory(PrinterFactory f, bool writesFiles) {
    factory() = std::move(f);
    g_factoryWritesFiles = writesFiles && factory();
}

bool PrinterFactoryInstalled() {
    return bool(factory());
}

bool PrintoutsGoToFiles() {
    return factory() ? g_factoryWritesFiles : QPrinterInfo::defaultPrinter().isNull();
}

QString PrintoutSavedTitle() {
    return QStringLiteral("Printout Saved");
}

QString PrintoutSavedText(const QString& path) {
    return QStringLiteral("No printer is installed, so the printout was saved as a PDF file:") +
           QStringLiteral("\r\n\r\n") + path + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Would you like to open it now?");
}

QString PrintoutNotOpenedText(const QString& path) {
    return QStringLiteral("No program on this computer could open the PDF file.") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("You will find it in the folder") + QStringLiteral("\r\n") + QFileInfo(path).absolutePath();
}

PrintJob::PrintJob(QWidget* window, const QString& printoutName)
    : m_window(window), m_name(printoutName), m_outer(g_activeJob) {
    g_activeJob = this;
}

PrintJob::~PrintJob() {
    // A job left without finish() (an error on the way) drops its output without a word: the error is told.
    g_activeJob = m_outer;
}

PrinterDevice& PrintJob::printer() {
    if (m_outer)
        return m_outer->printer();
    if (!m_device)
        m_device = factory()            ? factory()(m_name)
                   : PreviewPrintouts() ? std::make_shared<PreviewPrinterDevice>(m_window, m_name)
                                        : OpenSystemPrinter(m_name);
    return *m_device;
}

void PrintJob::finish() {
    if (m_finished || m_outer || !m_device)
        return;
    m_finished = true;
    m_device->close();
    const QString path = m_device->outputFile();
    if (path.isEmpty())
        return;
    const MsgResult open = dialogs().MessageBox(m_window, PrintoutSavedText(path), PrintoutSavedTitle(),
                                                MsgIcon::Information, MsgButtons::YesNo, MsgResult::Yes);
    if (open == MsgResult::Yes && !dialogs().OpenUrl(QUrl::fromLocalFile(path)))
        dialogs().MessageBox(m_window, PrintoutNotOpenedText(path), PrintoutSavedTitle(), MsgIcon::Information,
                             MsgButtons::OK);
}
