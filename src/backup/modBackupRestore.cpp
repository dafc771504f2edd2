#include "backup/modBackupRestore.h"

#include "app/AppGlobals.h"
#include "app/BusyWindow.h"
#include "app/Dialogs.h"
#include "backup/BackupCopy.h"
#include "backup/modFolderBrowse.h"
#include "history/ChangeLog.h"
#include "history/HistoryRefusal.h"
#include "store/DataFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QWidget>

bool DataRestored = false;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

enum class Direction { Backup, Restore };

// The name under which the last restore kept the history it replaced; empty when it replaced none.
QString g_keptHistory;

// A restore takes the history back to the backup's; the events since then are evidence too, so the history it
// replaces stays beside it under a name of its own. False when that copy failed.
bool KeepReplacedHistory(const QString& programFolder, const QString& folder) {
    g_keptHistory.clear();
    const QByteArray current = ReadChangeLog(programFolder + ChangeLogFileName);
    if (current.isEmpty() || current == ReadChangeLog(folder + ChangeLogFileName))
        return true;
    const QString kept = ChangeLogFileName + QStringLiteral(".replaced-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    if (!CopyFileWhole(programFolder + ChangeLogFileName, programFolder + kept).isEmpty())
        return false;
    g_keptHistory = kept;
    return true;
}

// A copy in one direction with the owner busy, its caption showing each file in turn. Returns the name of the
// file that failed, or an empty text when every copy succeeded; copied counts the files that were copied.
QString CopyDataFiles(QWidget* owner, Direction direction, const QString& folder, int& copied) {
    const QString programFolder = WithTrailingSlash(ProgramFolder());
    const QString savedCaption = owner ? owner->windowTitle() : QString();
    QString failed;
    copied = 0;
    {
        // No other writer (vardel-data) may change the data folder while its files are taken or replaced.
        const DataFolderLock lock(ProgramFolder());
        BusyWindow busy(owner);
        // Copies that an earlier run left behind when it was killed hold employees' personal data.
        ClearDataFolderLeftovers();
        ClearAbandonedCopies(folder);
        // The change history goes along; a backup made before there was one restores without it, and the
        // history then stays as it is.
        for (const QString& name : DataFileList + QStringList{ChangeLogFileName}) {
            if (name.isEmpty())
                continue;
            if (direction == Direction::Restore && name == ChangeLogFileName && !FileExistsIn(folder, name))
                continue;
            // A backup takes only the files there are yet (no "User.Log" before the first log-in); a restore
            // needs every one of them.
            if (direction == Direction::Backup && !FileExistsIn(programFolder, name))
                continue;
            if (owner) {
                owner->setWindowTitle(
                    (direction == Direction::Backup ? QStringLiteral("Copying ") : QStringLiteral("Restoring ")) +
                    name);
                owner->repaint();
            }
            QCoreApplication::processEvents();
            if (direction == Direction::Restore && name == ChangeLogFileName &&
                !KeepReplacedHistory(programFolder, folder)) {
                failed = name;
                break;
            }
            const QString error = direction == Direction::Backup
                                      ? CopyFileWhole(programFolder + name, folder + name)
                                      : (FileExistsIn(folder, name) ? CopyFileWhole(folder + name, programFolder + name)
                                                                    : QStringLiteral("missing"));
            if (!error.isEmpty()) {
                failed = name;
                break;
            }
            ++copied;
        }
        if (owner)
            owner->setWindowTitle(savedCaption);
    }
    if (owner)
        owner->repaint();
    return failed;
}

ChangeEvent FolderEvent(const QString& event, const QString& folder) {
    ChangeEvent e = NewEvent(event);
    e.NewValue = QDir::toNativeSeparators(folder);
    return e;
}

// The final box of either procedure: OK only, no icon, the application title.
void Report(QWidget* owner, const QString& status) {
    dialogs().MessageBox(owner, status, AppTitle, MsgIcon::None, MsgButtons::OK);
}

// Same-folder test and "/" ending; an empty text when the folder was refused.
QString CheckedFolder(QWidget* owner, const QString& chosen, const QString& refusal) {
    if (IsSameFolder(chosen, ProgramFolder())) {
        dialogs().MessageBox(owner, refusal, QStringLiteral("What are you doing?"), MsgIcon::Critical, MsgButtons::OK);
        return QString();
    }
    return WithTrailingSlash(chosen);
}

QString AccessProblemTitle() {
    return QStringLiteral("Drive or Folder Access Problem");
}

// Asks the backup questions and copies; false when cancelled on the way.
bool RunBackup(QWidget* owner, const QString& chosen) {
    const QString folder =
        CheckedFolder(owner, chosen,
                      QStringLiteral("You can't backup") + kCrLf + AppTitle + QStringLiteral(" data") + kCrLf +
                          QStringLiteral("to itself in the same folder!"));
    if (folder.isEmpty())
        return false;

    const std::optional<QStringList> files = ListFolderFiles(folder);
    if (!files) {
        dialogs().MessageBox(owner,
                             QStringLiteral("There is some kind of problem trying to") + kCrLf +
                                 QStringLiteral("access the selected backup location") + kCrLf +
                                 QStringLiteral("that you specified..."),
                             AccessProblemTitle(), MsgIcon::Exclamation, MsgButtons::OK);
        return false;
    }

    if (!files->isEmpty() && !files->contains(DataFileList.value(0))) {
        const MsgResult answer = dialogs().MessageBox(
            owner,
            QStringLiteral("The data backup location you selected,") + kCrLf + kCrLf + QLatin1Char('\'') + folder +
                QLatin1Char('\'') + kCrLf + kCrLf + QStringLiteral("contains files not related to ") + AppTitle +
                QLatin1Char('!') + kCrLf + QStringLiteral("Are you sure you wish to continue with this backup?"),
            QStringLiteral("Caution!"), MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::No);
        if (answer != MsgResult::Yes)
            return false;
    } else {
        const MsgResult answer = dialogs().MessageBox(
            owner,
            QStringLiteral("You have selected") + kCrLf + kCrLf + QLatin1Char('\'') + folder + QLatin1Char('\'') +
                kCrLf + kCrLf + QStringLiteral("as your data backup location.") + kCrLf +
                QStringLiteral("Please click <OK> to continue."),
            QStringLiteral("Backup Procedure"), MsgIcon::Information, MsgButtons::OKCancel, MsgResult::OK);
        if (answer != MsgResult::OK)
            return false;
    }

    // The backup carries the line of its own making.
    const QString log = ChangeLogPath(ProgramFolder());
    qint64 logLength = -1;
    if (!ChangeOrExplain(owner, [&] { logLength = AppendEvents(log, {FolderEvent(HistoryEvent::Backup, folder)}); }))
        return false;
    int copied = 0;
    const QString failed = CopyDataFiles(owner, Direction::Backup, folder, copied);
    if (!failed.isEmpty()) {
        TakeBackLines(log, logLength);
        dialogs().MessageBox(
            owner, QStringLiteral("There is some kind of problem") + kCrLf + QStringLiteral("trying to copy ") + failed,
            QStringLiteral("File Backup Error"), MsgIcon::Exclamation, MsgButtons::OK);
        return false;
    }
    return true;
}

// Asks the restore questions and copies; false when cancelled on the way. replaced counts the files of the
// program's folder that were replaced, which a restore that stops half-way leaves above 0.
bool RunRestore(QWidget* owner, const QString& chosen, int& replaced) {
    replaced = 0;
    const QString folder =
        CheckedFolder(owner, chosen,
                      QStringLiteral("You can't restore") + kCrLf + AppTitle + QStringLiteral(" data") + kCrLf +
                          QStringLiteral("to itself in the same folder!"));
    if (folder.isEmpty())
        return false;

    const QString dataFile = DataFileList.value(0);
    const std::optional<bool> holdsBackup = FolderHoldsFile(folder, dataFile);
    if (!holdsBackup) {
        dialogs().MessageBox(owner,
                             QStringLiteral("There is some kind of problem trying to") + kCrLf +
                                 QStringLiteral("access the backed up data files at") + kCrLf +
                                 QStringLiteral("the location that you specified."),
                             AccessProblemTitle(), MsgIcon::Exclamation, MsgButtons::OK);
        return false;
    }
    if (!*holdsBackup) {
        dialogs().MessageBox(owner,
                             QLatin1Char('\'') + folder + QLatin1Char('\'') + kCrLf + kCrLf +
                                 QStringLiteral("doesn't appear to contain previously saved") + kCrLf +
                                 QStringLiteral("backup data file(s) you need to restore") + kCrLf +
                                 QStringLiteral("your ") + AppTitle + QStringLiteral(" data."),
                             QStringLiteral("Required file(s) missing"), MsgIcon::Information, MsgButtons::OK);
        return false;
    }

    if (FileExistsIn(ProgramFolder(), dataFile)) {
        const MsgResult answer =
            dialogs().MessageBox(owner,
                                 QStringLiteral("Note:") + kCrLf + kCrLf +
                                     QStringLiteral("You are about to replace your current data files") + kCrLf +
                                     QStringLiteral("with previously made backup data files.") + kCrLf + kCrLf +
                                     QStringLiteral("Once completed, this action can not be undone.") + kCrLf + kCrLf +
                                     QStringLiteral("Are you sure you're ready to continue?"),
                                 QStringLiteral("Important! Please read carefully..."), MsgIcon::Exclamation,
                                 MsgButtons::YesNo, MsgResult::No);
        if (answer != MsgResult::Yes)
            return false;
    }

    const QString failed = CopyDataFiles(owner, Direction::Restore, folder, replaced);
    // Into the history as restored (or as it was, when the backup had none): the files are back, so this line can
    // only follow them.
    if (replaced > 0) {
        ChangeEvent restore = FolderEvent(HistoryEvent::Restore, folder);
        if (!g_keptHistory.isEmpty())
            restore.OldValue = QStringLiteral("the history before it kept as ") + g_keptHistory;
        if (!failed.isEmpty())
            restore.OldValue = QStringLiteral("stopped at ") + failed;
        ChangeOrExplain(owner, [&] { AppendEvents(ChangeLogPath(ProgramFolder()), {restore}); });
    }
    if (!failed.isEmpty()) {
        dialogs().MessageBox(owner,
                             QStringLiteral("There is some kind of problem") + kCrLf +
                                 QStringLiteral("trying to restore ") + failed,
                             QStringLiteral("File Restore Error"), MsgIcon::Exclamation, MsgButtons::OK);
        return false;
    }
    return true;
}

} // namespace

void BackupDataFiles(QWidget* owner) {
    const QString chosen =
        BrowseForFolder(owner, QStringLiteral("Select a disk/drive/folder to copy (backup)") + kCrLf +
                                   QStringLiteral("your ") + AppTitle + QStringLiteral(" data files to..."));
    if (chosen.isEmpty())
        return;
    if (RunBackup(owner, chosen))
        Report(owner, QStringLiteral("Your current ") + AppTitle + QStringLiteral(" data files") + kCrLf +
                          QStringLiteral("have been successfully backed up!"));
    else
        Report(owner, QStringLiteral("The backup process has been cancelled"));
}

bool RestoreDataFiles(QWidget* owner) {
    const QString chosen =
        BrowseForFolder(owner, QStringLiteral("Select the disk/drive/folder that contains your") + kCrLf +
                                   QStringLiteral("previously backed up ") + AppTitle + QStringLiteral(" data files") +
                                   kCrLf + QStringLiteral("that you wish to restore..."));
    if (chosen.isEmpty())
        return false;
    int replaced = 0;
    if (RunRestore(owner, chosen, replaced)) {
        DataRestored = true;
        Report(owner, QStringLiteral("Your previously backed up ") + kCrLf + AppTitle + QStringLiteral(" data files") +
                          kCrLf + QStringLiteral("has been successfully restored!"));
    } else {
        Report(owner, QStringLiteral("The restore process has been cancelled"));
    }
    return replaced > 0;
}
