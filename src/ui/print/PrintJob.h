#pragma once

#include "ui/common/BusyWindow.h"
#include "core/print/PrinterDevice.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

// Where printouts go. The system's default printer when one is installed; otherwise a PDF file in the folder
// "Printouts" of the data folder, after which the user is told where it is.
using PrinterFactory = std::function<std::shared_ptr<PrinterDevice>(const QString& printoutName)>;
std::shared_ptr<PrinterDevice> OpenSystemPrinter(const QString& printoutName);
// Installs the factory that every print job uses (tests install a recording one), and whether what it makes
// writes files rather than printing; empty restores the system's.
void SetPrinterFactory(PrinterFactory factory, bool writesFiles = false);
// True when printouts go to PDF files, not to a printer: with the system's printers, when none is installed.
bool PrintoutsGoToFiles();
// Whether a test's printer stands in for the system's (which a print preview then does not replace).
bool PrinterFactoryInstalled();

// The folder of the saved PDF printouts: "Printouts" in the working (data) folder.
QString PrintoutsFolder();

// The message after a printout was saved as a PDF file; Yes opens it with the desktop's viewer.
QString PrintoutSavedText(const QString& path);
QString PrintoutSavedTitle();
QString PrintoutNotOpenedText(const QString& path);

// One printing command from the user's point of view: its documents go to one printer (or one PDF file),
// which is opened at the first output. A job started while another runs (the picture printed with the
// information report) prints into that one.
class PrintJob {
public:
    PrintJob(QWidget* window, const QString& printoutName);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    PrinterDevice& printer();
    // Ends the output; for a PDF file, tells the user where it is and offers to open it. A job inside another
    // leaves that to the outer one.
    void finish();

private:
    QPointer<QWidget> m_window;
    QString m_name;
    std::shared_ptr<PrinterDevice> m_device;
    PrintJob* m_outer;
    bool m_finished = false;
};

// The window of a printout that marks its own busy stretch: busy from MakeBusy, made usable at the latest when
// this object goes.
class BusyPrintOwner : public PrintOwner {
public:
    explicit BusyPrintOwner(QWidget* window) : m_busy(window, BusyWindow::Start::Later) {}
    void MakeBusy() override { m_busy.MakeBusy(); }
    void MakeUsable() override { m_busy.MakeUsable(); }

private:
    BusyWindow m_busy;
};
