#include "ui/backup/modBackupRestore.h"

#include "core/backup/BackupCopy.h"
#include "core/backup/BackupManifest.h"
#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/history/ChangeLog.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"
#include "core/users/AccessCode.h"
#include "core/users/UserList.h"
#include "ui/backup/modFolderBrowse.h"
#include "ui/common/BusyWindow.h"
#include "ui/common/Dialogs.h"

#include <QCoreApplication>
#include <QWidget>

bool DataRestored = false;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The restore's copy with the owner busy, its caption showing each file in turn. Returns the name of the file that
// failed (a file missing from the folder fails too), with the reason in reason, or an empty text when every copy
// succeeded; copied counts the files that were replaced, kept the history the restored one replaced.
QString RestoreFiles(QWidget* owner, const QString& folder, const QStringList& names, int& copied, QString& reason,
                     std::optional<ReplacedHistory>& kept) {
    const QString programFolder = WithTrailingSlash(DataFolder());
    const QString savedCaption = owner ? owner->windowTitle() : QString();
    QString failed;
    copied = 0;
    {
        // No other writer (vardel-data) may change the data folder while its files are replaced.
        const DataFolderLock lock(DataFolder());
        BusyWindow busy(owner);
        // Copies that an earlier run left behind when it was killed hold employees' personal data.
        ClearDataFolderLeftovers();
        ClearAbandonedCopies(folder);
        if (names.contains(ChangeLogFileName) && FileExistsIn(folder, ChangeLogFileName)) {
            // The history in use is evidence of every change made since the backup: it stays beside the restored
            // one, and nothing is replaced when it cannot be kept.
            try {
                kept = KeepReplacedHistory(DataFolder(), QDateTime::currentDateTime());
            } catch (const FileError& error) {
                failed = ChangeLogFileName;
                reason = error.text();
            }
        }
        for (const QString& name : failed.isEmpty() ? names : QStringList()) {
            if (name.isEmpty())
                continue;
            // A backup made before the access code had a file of its own restores without it, and the folder
            // keeps the code it has.
            if ((name == AccessCodeFileName || name == ChangeLogFileName) && !FileExistsIn(folder, name))
                continue;
            if (owner) {
                owner->setWindowTitle(QStringLiteral("Restoring ") + name);
                owner->repaint();
            }
            QCoreApplication::processEvents();
            const QString error = FileExistsIn(folder, name) ? CopyFileWhole(folder + name, programFolder + name)
                                                             : QStringLiteral("missing");
            if (!error.isEmpty()) {
                failed = name;
                reason = error;
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

// The final box of either procedure: OK only, no icon, the application title.
void Report(QWidget* owner, const QString& status) {
    dialogs().MessageBox(owner, status, AppTitle, MsgIcon::None, MsgButtons::OK);
}

// Same-folder test and "/" ending; an empty text when the folder was refused.
QString CheckedFolder(QWidget* owner, const QString& chosen, const QString& refusal) {
    if (IsSameFolder(chosen, DataFolder())) {
        dialogs().MessageBox(owner, refusal, QStringLiteral("What are you doing?"), MsgIcon::Critical, MsgButtons::OK);
        return QString();
    }
    return WithTrailingSlash(chosen);
}

// Why a folder without a manifest cannot be trusted: a backup that was cut off looks just like one of an older
// version.
QString NoManifestText(const QString& folder) {
    return QLatin1Char('\'') + folder + QLatin1Char('\'') + kCrLf + kCrLf +
           QStringLiteral("has no manifest: the backup is incomplete or was made") + kCrLf +
           QStringLiteral("before backups were verified, so it cannot be verified.");
}

// "There is some kind of problem\r\ntrying to copy Vardel.Data\r\n\r\nFile too large"
QString ProblemText(const QString& doing, const QString& name, const QString& reason) {
    return QStringLiteral("There is some kind of problem") + kCrLf + doing + QLatin1Char(' ') + name +
           (reason.isEmpty() ? QString() : kCrLf + kCrLf + reason);
}

QString AccessProblemTitle() {
    return QStringLiteral("Drive or Folder Access Problem");
}

enum class BackupEnd { Cancelled, Done, DoneButNotRecorded };

// Asks the backup questions and copies. A backup that is whole but could not be recorded (the reminder's file, the
// history's line) has said why already.
BackupEnd RunBackup(QWidget* owner, const QString& chosen) {
    const QString folder =
        CheckedFolder(owner, chosen,
                      QStringLiteral("You can't backup") + kCrLf + AppTitle + QStringLiteral(" data") + kCrLf +
                          QStringLiteral("to itself in the same folder!"));
    if (folder.isEmpty())
        return BackupEnd::Cancelled;

    const std::optional<QStringList> files = ListFolderFiles(folder);
    if (!files) {
        dialogs().MessageBox(owner,
                             QStringLiteral("There is some kind of problem trying to") + kCrLf +
                                 QStringLiteral("access the selected backup location") + kCrLf +
                                 QStringLiteral("that you specified..."),
                             AccessProblemTitle(), MsgIcon::Exclamation, MsgButtons::OK);
        return BackupEnd::Cancelled;
    }

    if (!files->isEmpty() && !files->contains(DataFileList.value(0))) {
        const MsgResult answer = dialogs().MessageBox(
            owner,
            QStringLiteral("The data backup location you selected,") + kCrLf + kCrLf + QLatin1Char('\'') + folder +
                QLatin1Char('\'') + kCrLf + kCrLf + QStringLiteral("contains files not related to ") + AppTitle +
                QLatin1Char('!') + kCrLf + QStringLiteral("Are you sure you wish to continue with this backup?"),
            QStringLiteral("Caution!"), MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::No);
        if (answer != MsgResult::Yes)
            return BackupEnd::Cancelled;
    } else {
        const MsgResult answer = dialogs().MessageBox(
            owner,
            QStringLiteral("You have selected") + kCrLf + kCrLf + QLatin1Char('\'') + folder + QLatin1Char('\'') +
                kCrLf + kCrLf + QStringLiteral("as your data backup location.") + kCrLf +
                QStringLiteral("Please click <OK> to continue."),
            QStringLiteral("Backup Procedure"), MsgIcon::Information, MsgButtons::OKCancel, MsgResult::OK);
        if (answer != MsgResult::OK)
            return BackupEnd::Cancelled;
    }

    const QString programFolder = DataFolder();
    const QString savedCaption = owner ? owner->windowTitle() : QString();
    QString failed;
    QString reason;
    try {
        // No other writer may change a file between its copy and the manifest that vouches for it.
        const DataFolderLock lock(programFolder);
        BusyWindow busy(owner);
        ClearDataFolderLeftovers();
        ClearAbandonedCopies(folder);
        MakeVerifiedBackup(programFolder, folder, BackedUpFiles(), DataFileName, UserListFileName, CurrentUserName,
                           [owner](const QString& name) {
                               if (owner) {
                                   owner->setWindowTitle(QStringLiteral("Copying ") + name);
                                   owner->repaint();
                               }
                               QCoreApplication::processEvents();
                           });
    } catch (const FileError& error) {
        failed = error.text().section(QLatin1Char(':'), 0, 0);
        reason = error.text().section(QLatin1Char(':'), 1).trimmed();
    }
    if (owner) {
        owner->setWindowTitle(savedCaption);
        owner->repaint();
    }
    if (!failed.isEmpty()) {
        dialogs().MessageBox(owner, ProblemText(QStringLiteral("trying to copy"), failed, reason),
                             QStringLiteral("File Backup Error"), MsgIcon::Exclamation, MsgButtons::OK);
        return BackupEnd::Cancelled;
    }
    QString notRecorded;
    try {
        RecordLastBackup(programFolder, QDateTime::currentDateTime(), folder);
    } catch (const FileError& error) {
        notRecorded = error.text();
    }
    if (const QString error = RecordBackupEvent(programFolder, HistoryEvent::Backup, folder); !error.isEmpty())
        notRecorded += (notRecorded.isEmpty() ? QString() : kCrLf) + error;
    if (notRecorded.isEmpty())
        return BackupEnd::Done;
    dialogs().MessageBox(owner,
                         QStringLiteral("The backup in") + kCrLf + kCrLf + QLatin1Char('\'') + folder +
                             QLatin1Char('\'') + kCrLf + kCrLf +
                             QStringLiteral("is whole, but it could not be recorded:") + kCrLf + notRecorded,
                         QStringLiteral("File Backup Error"), MsgIcon::Exclamation, MsgButtons::OK);
    return BackupEnd::DoneButNotRecorded;
}

// Asks the restore questions and copies; false when cancelled on the way. replaced counts the files of the
// program's folder that were replaced, which a restore that stops half-way leaves above 0.
bool RunRestore(QWidget* owner, const QString& chosen, int& replaced, std::optional<ReplacedHistory>& kept) {
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

    const BackupVerdict verdict = VerifyBackupFolder(folder, dataFile, UserListFileName);
    if (verdict.status == BackupVerdict::Status::Failed) {
        dialogs().MessageBox(owner, BackupNotVerifiedText(folder, verdict), QStringLiteral("Backup Not Verified"),
                             MsgIcon::Critical, MsgButtons::OK);
        return false;
    }
    if (verdict.status == BackupVerdict::Status::NoManifest) {
        const MsgResult answer = dialogs().MessageBox(
            owner, NoManifestText(folder) + kCrLf + kCrLf + QStringLiteral("Do you want to restore it anyway?"),
            QStringLiteral("Backup Cannot Be Verified"), MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::No);
        if (answer != MsgResult::Yes)
            return false;
        // One click must not put files nothing vouches for in place of the data: the user says so twice.
        const MsgResult again = dialogs().MessageBox(
            owner,
            QStringLiteral("A backup that was cut off would replace your data files") + kCrLf +
                QStringLiteral("with only part of them, and nothing here can tell.") + kCrLf +
                QStringLiteral("The access code stays as it is.") + kCrLf + kCrLf +
                QStringLiteral("Restore from this unverified backup all the same?"),
            QStringLiteral("Restore an Unverified Backup?"), MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::No);
        if (again != MsgResult::Yes)
            return false;
    }

    if (FileExistsIn(DataFolder(), dataFile)) {
        const QString whatComesBack = verdict.manifest
                                          ? QStringLiteral("The backup to be restored:") + kCrLf +
                                                ManifestSummary(*verdict.manifest) + QLatin1Char('.') + kCrLf + kCrLf
                                          : QString();
        const MsgResult answer =
            dialogs().MessageBox(owner,
                                 QStringLiteral("Note:") + kCrLf + kCrLf +
                                     QStringLiteral("You are about to replace your current data files") + kCrLf +
                                     QStringLiteral("with previously made backup data files.") + kCrLf + kCrLf +
                                     QStringLiteral("Once completed, this action can not be undone.") + kCrLf + kCrLf +
                                     whatComesBack + QStringLiteral("Are you sure you're ready to continue?"),
                                 QStringLiteral("Important! Please read carefully..."), MsgIcon::Exclamation,
                                 MsgButtons::YesNo, MsgResult::No);
        if (answer != MsgResult::Yes)
            return false;
    }

    // A verified backup brings back what its manifest names; an older one every file, as it always did.
    QStringList names;
    if (verdict.manifest) {
        for (const QString& name : BackedUpFiles())
            if (verdict.manifest->entry(name))
                names << name;
    } else {
        // The code that guards the data never comes from a folder nothing vouches for.
        names = BackedUpFiles();
        names.removeAll(AccessCodeFileName);
    }
    QString reason;
    const QString failed = RestoreFiles(owner, folder, names, replaced, reason, kept);
    if (!failed.isEmpty()) {
        dialogs().MessageBox(owner, ProblemText(QStringLiteral("trying to restore"), failed, reason),
                             QStringLiteral("File Restore Error"), MsgIcon::Exclamation, MsgButtons::OK);
        return false;
    }
    return true;
}

} // namespace

QString BackupNotVerifiedText(const QString& folder, const BackupVerdict& verdict) {
    return QStringLiteral("The backup in") + kCrLf + kCrLf + QLatin1Char('\'') + folder + QLatin1Char('\'') + kCrLf +
           kCrLf + QStringLiteral("does not match its manifest:") + kCrLf + verdict.failureText() + kCrLf + kCrLf +
           QStringLiteral("Nothing has been replaced.");
}

void VerifyBackupCommand(QWidget* owner) {
    const QString chosen = BrowseForFolder(owner, QStringLiteral("Select the folder of the ") + AppTitle +
                                                      QStringLiteral(" backup to verify..."));
    if (chosen.isEmpty())
        return;
    const BackupVerdict verdict = VerifyBackupFolder(chosen, DataFileList.value(0), UserListFileName);
    switch (verdict.status) {
    case BackupVerdict::Status::Verified:
        dialogs().MessageBox(owner,
                             QStringLiteral("The backup in") + kCrLf + kCrLf + QLatin1Char('\'') + chosen +
                                 QLatin1Char('\'') + kCrLf + kCrLf + QStringLiteral("is whole and verified:") + kCrLf +
                                 ManifestSummary(*verdict.manifest) + QLatin1Char('.'),
                             QStringLiteral("Backup Verified"), MsgIcon::Information, MsgButtons::OK);
        break;
    case BackupVerdict::Status::NoManifest:
        dialogs().MessageBox(owner, NoManifestText(chosen), QStringLiteral("Backup Cannot Be Verified"),
                             MsgIcon::Exclamation, MsgButtons::OK);
        break;
    case BackupVerdict::Status::Failed:
        dialogs().MessageBox(owner, BackupNotVerifiedText(chosen, verdict).section(kCrLf + kCrLf, 0, -2),
                             QStringLiteral("Backup Not Verified"), MsgIcon::Critical, MsgButtons::OK);
        break;
    }
}

void RemindOfBackup(QWidget* owner) {
    const std::optional<QString> text =
        BackupReminderText(LastBackupTime(DataFolder()), QDateTime::currentDateTime(), BackupReminderDays());
    if (text && dialogs().MessageBox(owner, *text, QStringLiteral("Backup Reminder"), MsgIcon::Question,
                                     MsgButtons::YesNo, MsgResult::Yes) == MsgResult::Yes)
        BackupDataFiles(owner);
}

void BackupDataFiles(QWidget* owner) {
    const QString chosen =
        BrowseForFolder(owner, QStringLiteral("Select a disk/drive/folder to copy (backup)") + kCrLf +
                                   QStringLiteral("your ") + AppTitle + QStringLiteral(" data files to..."));
    if (chosen.isEmpty())
        return;
    switch (RunBackup(owner, chosen)) {
    case BackupEnd::Done:
        Report(owner, QStringLiteral("Your current ") + AppTitle + QStringLiteral(" data files") + kCrLf +
                          QStringLiteral("have been successfully backed up!"));
        break;
    case BackupEnd::Cancelled:
        Report(owner, QStringLiteral("The backup process has been cancelled"));
        break;
    case BackupEnd::DoneButNotRecorded:
        break;
    }
}

bool RestoreDataFiles(QWidget* owner) {
    if (const QString refusal = ActiveStore().RestoreRefusal(); !refusal.isEmpty()) {
        dialogs().MessageBox(owner, refusal, AppTitle, MsgIcon::Exclamation, MsgButtons::OK);
        return false;
    }
    const QString chosen =
        BrowseForFolder(owner, QStringLiteral("Select the disk/drive/folder that contains your") + kCrLf +
                                   QStringLiteral("previously backed up ") + AppTitle + QStringLiteral(" data files") +
                                   kCrLf + QStringLiteral("that you wish to restore..."));
    if (chosen.isEmpty())
        return false;
    int replaced = 0;
    std::optional<ReplacedHistory> kept;
    if (RunRestore(owner, chosen, replaced, kept)) {
        DataRestored = true;
        // The restored history goes on with the restore that brought it back, naming the history it replaced.
        const QString error =
            RecordBackupEvent(DataFolder(), HistoryEvent::Restore, chosen, kept ? kept->text() : QString());
        if (!error.isEmpty()) {
            dialogs().MessageBox(owner,
                                 QStringLiteral("The data files have been restored, but the change") + kCrLf +
                                     QStringLiteral("history could not tell of it:") + kCrLf + error,
                                 QStringLiteral("File Restore Error"), MsgIcon::Exclamation, MsgButtons::OK);
            return true;
        }
        Report(owner, QStringLiteral("Your previously backed up ") + kCrLf + AppTitle + QStringLiteral(" data files") +
                          kCrLf + QStringLiteral("has been successfully restored!"));
    } else {
        Report(owner, QStringLiteral("The restore process has been cancelled"));
    }
    return replaced > 0;
}
