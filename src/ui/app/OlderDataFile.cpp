#include "ui/app/OlderDataFile.h"

#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "ui/common/BusyWindow.h"
#include "ui/common/Dialogs.h"
#include "core/convert/OlderDataConversion.h"
#include "ui/app/frmTitlePage.h"
#include "core/backup/BackupCopy.h"
#include "ui/controls/ZelButton.h"
#include "core/history/RecordHistory.h"
#include "core/store/DataFile.h"
#include "core/base/DateRules.h"
#include "core/users/UserList.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Cancel: nothing changes on disk and the program ends, through the window's closing fade where fading is on.
void stopProgram(frmTitlePage* titlePage) {
    if (FadeOn) {
        titlePage->cmdContinue->Tag = titlePage->windowTitle();
        titlePage->FadeWindow(255, 0, 20, true);
        return;
    }
    CloseDataFile();
    CloseUserList();
    titlePage->close();
    titlePage->deleteLater();
    titlePage->endProgram();
}

// An older file that can no longer be taken over is told about once, and again only if it changes.
void TellAboutDatFileLeftBeside(frmTitlePage* titlePage) {
    const QFileInfo dat(DataFolderFile(DatFileName()));
    const QString seen =
        QString::number(dat.size()) + QLatin1Char(' ') + dat.lastModified().toUTC().toString(Qt::ISODateWithMs);
    if (GetSetting(QStringLiteral("DatFileToldAbout")) == seen)
        return;
    SaveSetting(QStringLiteral("DatFileToldAbout"), seen);
    dialogs().MessageBox(titlePage, DatFileLeftBesideText(), DatFileLeftBesideTitle(), MsgIcon::Information,
                         MsgButtons::OK);
}

} // namespace

QString DatFileLeftBesideText() {
    return QStringLiteral("An older data file, '") + DatFileName() + QStringLiteral("', lies in the data folder") +
           kCrLf + QDir::toNativeSeparators(DataFolder()) + kCrLf + QStringLiteral("beside '") + DataFileName +
           QStringLiteral("', which already holds employees.") + kCrLf + kCrLf + QStringLiteral("'") + DatFileName() +
           QStringLiteral("' has not been read and is left as it is.");
}

QString DatFileLeftBesideTitle() {
    return QStringLiteral("Older Data File Not Used");
}

QString OlderDataQuestionText() {
    return QStringList{
        QStringLiteral("You have an older version data file"),
        QStringLiteral("that needs to be converted to a format"),
        QStringLiteral("that this version of ") + AppTitle + QStringLiteral(" can read."),
        QString(),
        QStringLiteral("Would you like to convert"),
        QStringLiteral("your older data file now?"),
        QString(),
        QStringLiteral("If you click 'Yes', a copy of your"),
        QStringLiteral("older data file will be kept as '") + OldFileName() + QStringLiteral("'"),
        QStringLiteral("just in case you want to re-install your older"),
        QStringLiteral("previous version of ") + AppTitle + QStringLiteral(" at some later time."),
        QString(),
        QStringLiteral("If you click 'No', your older version data file"),
        QStringLiteral("will be re-named to '") + OldFileName() + QStringLiteral("' and you"),
        QStringLiteral("will start fresh with an empty data file."),
        QString(),
        QStringLiteral("If you answer 'Cancel', this program will terminate"),
        QStringLiteral("to give you some time to decide what you want to do"),
        QStringLiteral("with the existing data file."),
    }
        .join(kCrLf);
}

QString OlderDataQuestionTitle() {
    return QStringLiteral("Update existing data file?");
}

bool CheckOlderDataFile(frmTitlePage* titlePage) {
    ClearDataFolderLeftovers();
    if (TakeOverDatFile() == DatFileOutcome::LeftBeside)
        TellAboutDatFileLeftBeside(titlePage);
    const DataFileFormat format = CheckDataFileFormat();
    if (format == DataFileFormat::Unrecognized) {
        // Working on a file it cannot read would mix the clerk's new records into it.
        dialogs().MessageBox(titlePage, UnrecognizedDataFileText(), UnrecognizedDataFileTitle(), MsgIcon::Critical,
                             MsgButtons::OK);
        stopProgram(titlePage);
        return false;
    }
    if (format != DataFileFormat::Older)
        return true;

    const MsgResult answer = dialogs().MessageBox(titlePage, OlderDataQuestionText(), OlderDataQuestionTitle(),
                                                  MsgIcon::Question, MsgButtons::YesNoCancel, MsgResult::Cancel);
    QString report;
    if (answer == MsgResult::Yes) {
        {
            BusyWindow busy(titlePage);
            ConvertOlderDataFileWithHistory(NowOADate());
        }
        report = QStringLiteral("Your data file has been") + kCrLf + QStringLiteral("successfully converted!") + kCrLf +
                 kCrLf;
    } else if (answer == MsgResult::No) {
        SetAsideOlderDataFile();
    } else {
        stopProgram(titlePage);
        return false;
    }

    QCoreApplication::processEvents();
    dialogs().MessageBox(titlePage,
                         report + QStringLiteral("Your older data file") + kCrLf +
                             QStringLiteral("has been renamed to") + kCrLf + OldFileName(),
                         QStringLiteral("Finished Updating!"), MsgIcon::Information, MsgButtons::OK);
    return true;
}
