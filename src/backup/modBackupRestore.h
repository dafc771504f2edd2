#pragma once

class QWidget;

// Backup and restore of the data files (DataFileList: the data file, "User.List", "User.Log") to and from a
// folder the user chooses. Both run synchronously inside the menu command that calls them; the owner window is
// disabled, shows the busy pointer and carries "Copying <name>" / "Restoring <name>" in its caption while the
// files are copied, and gets its caption back afterwards. Every question, refusal and report goes through
// dialogs() with the owner as parent.
//
// The caller (the main window's backup menu, which offers both only at access level 4) must, after
// RestoreDataFiles returns: if DataRestored is set, clear it, then refresh the list options and rebuild the list
// (RefreshListOptions, ShowEmployeeList), since the data file under the list has been replaced. No file may be
// held open across either call.

// Set by a successful restore; the main window clears it when it has reloaded its list.
extern bool DataRestored;

void BackupDataFiles(QWidget* owner);
void RestoreDataFiles(QWidget* owner);
