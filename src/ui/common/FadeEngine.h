#pragma once

#include <QObject>
#include <functional>

class QTimer;
class QWidget;

// modFadeInOut: whole-window opacity fades. Each window owns one FadeEngine and forwards its FadeWindow and
// timerFadeInOut_Timer to it; the closing action decides where the window goes when a closing fade ends.

// Returns -1 when the window is ready to fade (its opacity now startOpacity), 0 when fading is off: the
// "FadeStatus" setting is 0 and force is false, or the platform cannot make windows translucent (on X11, when no
// compositing manager runs).
qint16 PrepareFade(QWidget* window, quint8 startOpacity, bool force);

// Whether the platform can make a window translucent. The offscreen and minimal platforms cannot, nor can X11
// without a compositing manager or Wayland; tests that exercise fading force it on.
enum class FadeSupport { Auto, Never, Always };
void SetFadeSupport(FadeSupport support);
bool PlatformCanFade();

// While a fade runs the window takes no input: clicks, keys, shortcuts, wheel and drops addressed to it are
// dropped. It is not disabled, so its focus stays where it was, or goes where the window's code puts it during the
// fade, and a window that its own code disabled stays so. After a closing fade the window takes no input until it
// is hidden.
class FadeEngine : public QObject {
    Q_OBJECT
public:
    // One step every tick of a common system timer, so that 0 to 255 in steps of 20 takes about a fifth of a
    // second and a dim about four tenths.
    static constexpr int TickMilliseconds = 15;

    FadeEngine(QWidget* window, std::function<void()> closingAction = {});

    void setClosingAction(std::function<void()> action) { m_closingAction = std::move(action); }

    // Starts a fade and returns at once.
    void FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade);
    // One step of the fade.
    void timerFadeInOut_Timer();
    // Leaves the window through its closing action: after a closing fade from full opacity when fading is on
    // (FadeOn), at once when it is off.
    void FadeOutAndClose();

    // True while a fade runs (the timer is enabled).
    bool IsFading() const;
    // Lets window events run until the running fade has finished.
    void WaitForFade();
    // True while the window's input is held back: during a fade, and after a closing fade until it is hidden.
    bool IsBlockingInput() const { return m_blocking; }

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BlockInput(bool on);
    bool IsForWindow(QObject* receiver) const;

    QWidget* m_window;
    bool m_blocking = false;
    std::function<void()> m_closingAction;
};
