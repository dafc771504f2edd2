#pragma once

#include <QString>

class QWidget;
struct BackupVerdict;

// Backup and restore of the data files (DataFileList: the data file, "User.List", "User.Log") to and from a
// folder the user chooses. Both run synchronously inside the menu command that calls them; the owner window is
// disabled, shows the busy pointer and carries "Copying <name>" / "Restoring <name>" in its caption while the
// files are copied, and gets its caption back afterwards. Every question, refusal and report goes through
// dialogs() with the owner as parent.
//
// The caller (the main window's backup menu, which offers both only at access level 4) must, after
// RestoreDataFiles returns: if DataRestored is set, clear it, then refresh the list options and rebuild the list
// (RefreshListOptions, ShowEmployeeList), since the data file under the list has been replaced. It must do the same
// when RestoreDataFiles returns true without DataRestored: a restore that stopped at a missing or unreadable file
// has still replaced the files before it, and a list left over from the old data file would name other employees
// than its slot numbers now reach. No file may be held open across either call. The copies hold the data folder's
// write lock.

// Set by a successful restore; the main window clears it when it has reloaded its list.
extern bool DataRestored;

void BackupDataFiles(QWidget* owner);
// True when at least one file of the program's folder was replaced, whether or not the restore went to its end.
bool RestoreDataFiles(QWidget* owner);

// "Verify a Backup...": the folder chooser, then the manifest's summary and a pass or the failure it found.
void VerifyBackupCommand(QWidget* owner);
// The refusal of a restore from a backup that does not match its manifest, naming the file and the reason.
QString BackupNotVerifiedText(const QString& folder, const BackupVerdict& verdict);
// On a level-4 user's leaving: when the last backup is older than the reminder's days, says how long ago it was
// and offers to make one now.
void RemindOfBackup(QWidget* owner);
