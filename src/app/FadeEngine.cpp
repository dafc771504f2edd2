#include "app/FadeEngine.h"

#include "app/AppGlobals.h"
#include "store/NumberRoutines.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

static FadeSupport g_support = FadeSupport::Auto;

void SetFadeSupport(FadeSupport support) {
    g_support = support;
}

bool PlatformCanFade() {
    switch (g_support) {
    case FadeSupport::Never:
        return false;
    case FadeSupport::Always:
        return true;
    case FadeSupport::Auto:
        break;
    }
    // Wayland compositors do not let a client set its own window's opacity.
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal") &&
           !platform.startsWith(QLatin1String("wayland"));
}

qint16 PrepareFade(QWidget* window, quint8 startOpacity, bool force) {
    const int status = GetSetting(QStringLiteral("FadeStatus"), QStringLiteral("0")).toInt();
    if (!force && status == 0)
        return 0;
    if (!PlatformCanFade())
        return 0;
    window->setWindowOpacity(startOpacity / 255.0);
    return -1;
}

FadeEngine::FadeEngine(QWidget* window, std::function<void()> closingAction)
    : QObject(window), timerFadeInOut(new QTimer(window)), m_window(window), m_closingAction(std::move(closingAction)) {
    timerFadeInOut->setObjectName(QStringLiteral("timerFadeInOut"));
    timerFadeInOut->setInterval(1);
    connect(timerFadeInOut, &QTimer::timeout, this, &FadeEngine::timerFadeInOut_Timer);
}

void FadeEngine::FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade) {
    FadeFrom = fadeFrom;
    FadeTo = fadeTo;
    FadeStep = fadeStep;
    CloseAfterFade = closeAfterFade ? -1 : 0;
    FadeStarting = -1;
    timerFadeInOut->start();
}

void FadeEngine::timerFadeInOut_Timer() {
    // A tick that arrives after the end must not run the closing action a second time.
    if (!timerFadeInOut->isActive())
        return;
    if (FadeStarting == -1) {
        FadeStarting = 0;
        Opacity = FadeFrom;
        m_window->setEnabled(false);
    }
    // A step of 0 would never arrive and leave the window disabled for good: it lands at once.
    const int step = FadeStep == 0 ? 255 : FadeStep;
    if (FadeFrom < FadeTo)
        Opacity = static_cast<qint16>(MinValue(FadeTo, Opacity + step));
    else
        Opacity = static_cast<qint16>(MaxValue(FadeTo, Opacity - step));
    m_window->setWindowOpacity(Opacity / 255.0);
    emit opacityApplied(Opacity);
    if (Opacity == FadeTo) {
        timerFadeInOut->stop();
        if (CloseAfterFade == -1) {
            if (m_closingAction)
                m_closingAction();
        } else {
            m_window->setEnabled(true);
        }
    }
}

bool FadeEngine::IsFading() const {
    return timerFadeInOut->isActive();
}

void FadeEngine::WaitForFade() {
    // Each pass sleeps until at least one event has run; the tick that ends the fade is such an event. The
    // closing action may release the window, and this engine with it.
    QPointer<FadeEngine> alive(this);
    while (alive && IsFading())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

#include "moc_FadeEngine.cpp"
