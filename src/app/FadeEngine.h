#pragma once

#include <QObject>
#include <functional>

class QTimer;
class QWidget;

// modFadeInOut: whole-window opacity fades. Each window owns one FadeEngine and forwards its FadeWindow and
// timerFadeInOut_Timer to it; the closing action decides where the window goes when a closing fade ends.

// Returns -1 when the window is ready to fade (its opacity now startOpacity), 0 when fading is off: the
// "FadeStatus" setting is 0 and force is false, or the platform cannot make windows translucent.
qint16 PrepareFade(QWidget* window, quint8 startOpacity, bool force);

// Whether the platform can make a window translucent. The offscreen and minimal platforms cannot; tests
// that exercise fading force it on.
enum class FadeSupport { Auto, Never, Always };
void SetFadeSupport(FadeSupport support);
bool PlatformCanFade();

class FadeEngine : public QObject {
    Q_OBJECT
public:
    FadeEngine(QWidget* window, std::function<void()> closingAction = {});

    void setClosingAction(std::function<void()> action) { m_closingAction = std::move(action); }

    // Starts a fade and returns at once.
    void FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade);
    // One step of the fade.
    void timerFadeInOut_Timer();

    // True while a fade runs (the timer is enabled).
    bool IsFading() const;
    // Lets window events run until the running fade has finished.
    void WaitForFade();

    QTimer* timerFadeInOut; // objectName "timerFadeInOut", child of the window

    quint8 FadeFrom = 0;
    quint8 FadeTo = 0;
    quint8 FadeStep = 0;
    qint16 CloseAfterFade = 0;
    qint16 FadeStarting = 0;
    qint16 Opacity = 255;

signals:
    // Each opacity applied to the window, in order.
    void opacityApplied(int opacity);

private:
    QWidget* m_window;
    std::function<void()> m_closingAction;
};
