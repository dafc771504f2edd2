#pragma once

// The hand-overs between the program's main windows. Each is shown not modally and lives until it hands
// over again; ShutDownApplication is the only way out once the administration window has opened.

// Creates and shows a fresh administration window.
void ShowAdminWindow();
// Creates and shows a fresh main window for the logged-in user.
void ShowMainWindow();
// Closes files, deletes empty files of DataFileList, closes every window and ends the program.
void ShutDownApplication();
