#pragma once

#include <functional>

class QWidget;

// Runs `activate` when the window becomes the active window, and also just after it is shown: the offscreen
// platform, and X servers without a window manager, may never activate a window, and its first showing must
// still start its work. `activate` may therefore run more than once and keeps its own "done" flag.
void CallOnActivation(QWidget* window, std::function<void()> activate);
