#pragma once

#include <functional>

// The hand-overs between the program's main windows, carried out by ui/app, the layer above them all. Each is
// shown not modally and lives until it hands over again; ShutDownApplication is the only way out once the
// administration window has opened.

// Creates and shows a fresh administration window.
void ShowAdminWindow();
// Creates and shows a fresh main window for the logged-in user.
void ShowMainWindow();
// Closes files, deletes empty files of DataFileList, closes every window and ends the program.
void ShutDownApplication();

class FadeEngine;
class QCloseEvent;
class QWidget;

// How ShutDownApplication ends the event loop once files and windows are closed. Tests install their own so
// that the test program goes on running. Returns the previous one; an empty hook restores the default.
using ApplicationEndHook = std::function<void()>;
ApplicationEndHook SetApplicationEndHook(ApplicationEndHook hook);

// True while ShutDownApplication closes the windows: they close then without asking the user.
bool ShutdownInProgress();

// The Quit command of the administration and main windows. With fading on, the window dims while it asks whether
// to close the program. Yes runs leaving (the log-out entry of the main window) and ends the program, at once or
// after a closing fade whose end the window's closing action turns into the shut-down; No brightens the window again.
void QuitProgram(QWidget* window, FadeEngine& fade, const std::function<void()>& leaving = {});

// A close event of the administration or main window: it goes ahead when the window's own code closes it
// (closeAllowed) or the program shuts down. A close from the title bar is refused and runs quit once the event is
// over, so that it asks the quit question like the Quit button. True when the window closes.
bool AcceptWindowClose(QWidget* window, QCloseEvent* event, bool closeAllowed, const std::function<void()>& quit);
