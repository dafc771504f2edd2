#include "ui/print/PrintCommands.h"

#include "core/base/AppGlobals.h"
#include "ui/common/Dialogs.h"
#include "ui/controls/ZelButton.h"
#include "ui/print/PreviewPrinterDevice.h"
#include "core/print/PrintHelpers.h"
#include "ui/print/PrintJob.h"
#include "core/print/Printouts.h"
#include "core/store/DataFile.h"
#include "core/base/DateRules.h"
#include "core/base/RegularFile.h"

#include <QAction>
#include <QCoreApplication>
#include <QImageReader>
#include <QMenu>
#include <memory>

bool PrinterReady(QWidget* parent) {
    // A PDF file needs no paper: asking first would contradict the "No printer is installed" that follows. A
    // preview comes before any paper too; its own print dialog chooses the printer.
    if (PrinterReadyConfirmed || PrintoutsGoToFiles() || (PreviewPrintouts() && !PrinterFactoryInstalled()))
        return true;
    if (dialogs().MessageBox(parent, PrinterReadyText(), PrinterReadyTitle(), MsgIcon::Question,
                             MsgButtons::YesNoCancel) == MsgResult::Yes)
        PrinterReadyConfirmed = true;
    return PrinterReadyConfirmed;
}

void PrintEmployeeListCommand(QWidget* mainWindow, const QString& listHeading, const QStringList& headings,
                              const QList<QStringList>& rows, int columns) {
    if (!PrinterReady(mainWindow))
        return;
    PrintJob job(mainWindow, QStringLiteral("Employee List"));
    {
        const BusyWindow busy(mainWindow);
        const QString caption = mainWindow ? mainWindow->windowTitle() : QString();
        PrintEmployeeList(job.printer(), {caption, listHeading, headings, rows, NowOADate(), columns});
    }
    job.finish();
}

QString PrintCommentsQuestion() {
    return QStringLiteral("Print the 'Comments' section also?");
}

QString PrintPhotoQuestion() {
    return QStringLiteral("Print the photograph?");
}

namespace {

// Yes, No, or Cancel for the command as a whole.
MsgResult AskReportQuestion(QWidget* parent, const QString& question) {
    return dialogs().MessageBox(parent, question, AppTitle, MsgIcon::Question, MsgButtons::YesNoCancel);
}

QImage LoadPicture(const QString& path) {
    const std::unique_ptr<QFile> file = OpenRegularFileForReading(path);
    if (!file)
        return QImage();
    QImageReader reader(file.get());
    // A phone's portrait is stored sideways with a note to turn it.
    reader.setAutoTransform(true);
    return reader.read();
}

} // namespace

void PrintInformationReportCommand(QWidget* mainWindow, const PersonnelRecord& record, const QString& listedName,
                                   const std::function<void()>& printPhoto) {
    if (!PrinterReady(mainWindow))
        return;
    bool printComments = false;
    bool printPhotograph = false;
    if (!record.Notepad.trimmed().isEmpty()) {
        const MsgResult answer = AskReportQuestion(mainWindow, PrintCommentsQuestion());
        if (answer == MsgResult::Cancel)
            return;
        printComments = answer == MsgResult::Yes;
    }
    if (!record.PicturePath.trimmed().isEmpty()) {
        const MsgResult answer = AskReportQuestion(mainWindow, PrintPhotoQuestion());
        if (answer == MsgResult::Cancel)
            return;
        printPhotograph = answer == MsgResult::Yes;
    }

    PrintJob job(mainWindow, QStringLiteral("Information Report"));
    {
        BusyPrintOwner busy(mainWindow);
        busy.MakeBusy();
        PrintInformationReport(job.printer(), &busy, record, printComments, NowOADate());
        if (printPhotograph) {
            if (printPhoto) {
                PrintPictureOnOpen = true;
                printPhoto();
            } else {
                PrintPictureCommand(mainWindow, listedName, LoadPicture(record.PicturePath.trimmed()));
            }
        }
    }
    job.finish();
}

void PrintPictureCommand(QWidget* window, const QString& heading, const QImage& picture) {
    PrintJob job(window, QStringLiteral("Picture"));
    {
        const BusyWindow busy(window);
        QCoreApplication::processEvents();
        PrintPicture(job.printer(), heading, picture);
        QCoreApplication::processEvents();
    }
    job.finish();
}

QMenu* CreatePrintUpdateMenu(QWidget* parent, qsizetype listedCount) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("menuPrintUpdatemenu"));
    const auto item = [menu](int index, QAction* action) {
        action->setObjectName(QStringLiteral("PrintUpdatemenu_") + QString::number(index));
        action->setData(index);
        return action;
    };
    item(1, menu->addAction(QStringLiteral("Print an update form for every person in this list")))
        ->setEnabled(listedCount > 1);
    item(2, menu->addAction(QStringLiteral("Print an update form only for the highlighted person")));
    item(3, menu->addSeparator());
    item(4, menu->addAction(QStringLiteral("E&xit this Menu")));
    return menu;
}

void PrintUpdateFormsMenu(QWidget* button, const QList<qint32>& listedSlots, qint32 highlightedSlot) {
    QWidget* window = button ? button->window() : nullptr;
    const std::unique_ptr<QMenu> menu(CreatePrintUpdateMenu(window, listedSlots.size()));
    const QAction* chosen = menu->exec(MenuPosition(button));
    if (chosen)
        PrintUpdatemenu_Click(window, chosen->data().toInt(), listedSlots, highlightedSlot);
}

QString UpdateFormsTitle() {
    return QStringLiteral("'Annual Update' forms...");
}

QString UpdateFormsQuestion(qsizetype pages) {
    return QStringLiteral("This printout will be") + QStringLiteral("\r\n") + QString::number(pages) +
           QStringLiteral(" pages long.") + QStringLiteral("\r\n\r\n") + QStringLiteral("Are you ready to continue?");
}

void PrintUpdatemenu_Click(QWidget* mainWindow, int index, const QList<qint32>& listedSlots, qint32 highlightedSlot) {
    QList<qint32> toPrint;
    if (index == 1) {
        if (dialogs().MessageBox(mainWindow, UpdateFormsQuestion(listedSlots.size()), UpdateFormsTitle(),
                                 MsgIcon::Question, MsgButtons::YesNoCancel) != MsgResult::Yes)
            return;
        toPrint = listedSlots;
    } else if (index == 2) {
        toPrint = {highlightedSlot};
    } else {
        return;
    }

    PrintJob job(mainWindow, QStringLiteral("Annual Update Forms"));
    {
        const BusyWindow busy(mainWindow);
        OpenDataFile();
        const double now = NowOADate();
        for (const qint32 slot : std::as_const(toPrint)) {
            ReadSlot(slot);
            PrintUpdateForm(job.printer(), CurrentRecord, now);
        }
        CloseDataFile();
    }
    job.finish();
}

void PrintHelpTopicCommand(QWidget* helpWindow, const QString& topicCaption, const QString& text) {
    // The text area gives plain line feeds; the wrapping knows the system's CR LF.
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    PrintJob job(helpWindow, QStringLiteral("Help Topic"));
    {
        BusyPrintOwner busy(helpWindow);
        PrintHelpTopic(job.printer(), &busy, topicCaption, body);
    }
    job.finish();
}
