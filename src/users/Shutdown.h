#pragma once

#include <functional>

// How ShutDownApplication ends the event loop once files and windows are closed. Tests install their own so
// that the test program goes on running. Returns the previous one; an empty hook restores the default.
using ApplicationEndHook = std::function<void()>;
ApplicationEndHook SetApplicationEndHook(ApplicationEndHook hook);

// True while ShutDownApplication closes the windows: they close then without asking the user.
bool ShutdownInProgress();
