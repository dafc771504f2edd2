#pragma once

#include "WindowTestSupport.h"
#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/app/frmTitlePage.h"

#include <QApplication>
#include <QTest>

// Shows a start window and waits until its first activation has run.
template <class Window> Window* ShowActivated(Window* window) {
    window->show();
    [&] { QTRY_VERIFY(window->Activated); }();
    return window;
}

// Title windows whose hand-overs to the log-in and ends of the program are counted, on a screen of screen.
struct TitlePageCounts {
    int handOvers = 0;
    int ends = 0;
    QSize screen{1024, 768};

    frmTitlePage* open() {
        auto* page = new frmTitlePage;
        page->handOver = [this] { ++handOvers; };
        page->endProgram = [this] { ++ends; };
        page->screenPixels = [this] { return screen; };
        return ShowActivated(page);
    }
};

// No settings, fading as the platform allows and not on: where each start window test begins and ends.
inline void ResetStartSettings() {
    ClearSettings();
    SetFadeSupport(FadeSupport::Auto);
    FadeOn = 0;
}

// Ends a start window test: its windows gone, its settings cleared.
inline void CloseStartWindows() {
    ResetStartSettings();
    for (QWidget* w : QApplication::topLevelWidgets())
        w->deleteLater();
    RunDeferredDeletes();
}
