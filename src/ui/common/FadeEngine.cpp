#include "ui/common/FadeEngine.h"

#include "core/base/AppGlobals.h"
#include "core/base/NumberRoutines.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibrary>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdlib>

#if __has_include(<xcb/xcb.h>)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#define VARDEL_HAVE_XCB 1
#endif

static FadeSupport g_support = FadeSupport::Auto;

namespace {

#ifdef VARDEL_HAVE_XCB
// The X screen of the display the program runs on: the number after the dot of DISPLAY (":0.1" is screen 1).
int DisplayScreen() {
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.lastIndexOf(':');
    const qsizetype dot = display.indexOf('.', colon < 0 ? 0 : colon);
    if (dot < 0)
        return 0;
    bool ok = false;
    const int screen = display.mid(dot + 1).toInt(&ok);
    return ok ? screen : 0;
}

// The few calls of libxcb the fade needs. libxcb is loaded at run time, where Qt's own X11 support has loaded it
// already, so that the program does not link it.
struct Xcb {
    using InternAtom = xcb_intern_atom_cookie_t (*)(xcb_connection_t*, uint8_t, uint16_t, const char*);
    using InternAtomReply = xcb_intern_atom_reply_t* (*)(xcb_connection_t*, xcb_intern_atom_cookie_t,
                                                         xcb_generic_error_t**);
    using GetOwner = xcb_get_selection_owner_cookie_t (*)(xcb_connection_t*, xcb_atom_t);
    using GetOwnerReply = xcb_get_selection_owner_reply_t* (*)(xcb_connection_t*, xcb_get_selection_owner_cookie_t,
                                                               xcb_generic_error_t**);
    using Flush = int (*)(xcb_connection_t*);

    InternAtom internAtom = nullptr;
    InternAtomReply internAtomReply = nullptr;
    GetOwner getOwner = nullptr;
    GetOwnerReply getOwnerReply = nullptr;
    Flush flush = nullptr;
    xcb_connection_t* connection = nullptr;

    // The program's X connection and the calls, or nullptr when it does not run on X11.
    static const Xcb* get() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return nullptr;
        static const Xcb xcb = [] {
            Xcb x;
            auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
            x.connection = x11 ? x11->connection() : nullptr;
            QLibrary library(QStringLiteral("xcb"), 1);
            x.internAtom = reinterpret_cast<InternAtom>(library.resolve("xcb_intern_atom"));
            x.internAtomReply = reinterpret_cast<InternAtomReply>(library.resolve("xcb_intern_atom_reply"));
            x.getOwner = reinterpret_cast<GetOwner>(library.resolve("xcb_get_selection_owner"));
            x.getOwnerReply = reinterpret_cast<GetOwnerReply>(library.resolve("xcb_get_selection_owner_reply"));
            x.flush = reinterpret_cast<Flush>(library.resolve("xcb_flush"));
            return x;
        }();
        return xcb.connection && xcb.internAtom && xcb.internAtomReply && xcb.getOwner && xcb.getOwnerReply && xcb.flush
                   ? &xcb
                   : nullptr;
    }
};

// Whether a compositing manager runs on the X display: it owns the selection _NET_WM_CM_S<screen>. Without one an
// X server shows every window fully opaque, whatever opacity it is given.
bool X11CompositorRunning(const Xcb& x) {
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DisplayScreen());
    xcb_intern_atom_reply_t* atom = x.internAtomReply(
        x.connection, x.internAtom(x.connection, 1, static_cast<uint16_t>(name.size()), name.constData()), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE)
        return false; // nobody ever named the selection, so nobody owns it
    xcb_get_selection_owner_reply_t* owner =
        x.getOwnerReply(x.connection, x.getOwner(x.connection, selection), nullptr);
    if (!owner)
        return false;
    const bool owned = owner->owner != XCB_NONE;
    std::free(owner);
    return owned;
}
#endif

// Sends the window's new opacity to the display now. Qt queues the request on X11 and sends it with the next
// repaint or X event; a fading window neither repaints nor, without a pointer moving, receives events.
void ShowOpacityNow() {
#ifdef VARDEL_HAVE_XCB
    if (const Xcb* xcb = Xcb::get())
        xcb->flush(xcb->connection);
#endif
}

bool IsInputEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
        return true;
    default:
        return false;
    }
}

} // namespace

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
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ||
        platform.startsWith(QLatin1String("wayland")))
        return false;
#ifdef VARDEL_HAVE_XCB
    if (platform == QLatin1String("xcb")) {
        const Xcb* xcb = Xcb::get();
        return xcb && X11CompositorRunning(*xcb);
    }
#endif
    return true;
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
    timerFadeInOut->setInterval(TickMilliseconds);
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

void FadeEngine::FadeOutAndClose() {
    if (FadeOn)
        FadeWindow(255, 0, 20, true);
    else if (m_closingAction)
        m_closingAction();
}

void FadeEngine::timerFadeInOut_Timer() {
    // A tick that arrives after the end must not run the closing action a second time.
    if (!timerFadeInOut->isActive())
        return;
    if (FadeStarting == -1) {
        FadeStarting = 0;
        Opacity = FadeFrom;
        BlockInput(true);
    }
    // A step of 0 would never arrive and leave the window disabled for good: it lands at once.
    const int step = FadeStep == 0 ? 255 : FadeStep;
    if (FadeFrom < FadeTo)
        Opacity = static_cast<qint16>(MinValue(FadeTo, Opacity + step));
    else
        Opacity = static_cast<qint16>(MaxValue(FadeTo, Opacity - step));
    m_window->setWindowOpacity(Opacity / 255.0);
    ShowOpacityNow();
    emit opacityApplied(Opacity);
    if (Opacity == FadeTo) {
        timerFadeInOut->stop();
        if (CloseAfterFade == -1) {
            if (m_closingAction)
                m_closingAction();
        } else {
            BlockInput(false);
        }
    }
}

void FadeEngine::BlockInput(bool on) {
    if (on == m_blocking)
        return;
    m_blocking = on;
    // Input reaches a window through its native window and then its widgets; an application-wide filter sees both,
    // and the keys that would trigger a shortcut, before anything in the window acts on them.
    if (on)
        QCoreApplication::instance()->installEventFilter(this);
    else
        QCoreApplication::instance()->removeEventFilter(this);
}

bool FadeEngine::IsForWindow(QObject* receiver) const {
    if (receiver->isWidgetType())
        return static_cast<QWidget*>(receiver)->window() == m_window;
    if (receiver->isWindowType())
        return receiver == m_window->windowHandle();
    // A shortcut or action of the window.
    const QObject* owner = receiver->parent();
    return owner && owner->isWidgetType() && static_cast<const QWidget*>(owner)->window() == m_window;
}

bool FadeEngine::eventFilter(QObject* watched, QEvent* event) {
    if (!m_blocking)
        return false;
    if (event->type() == QEvent::Hide && watched == m_window && !IsFading()) {
        // A window that closed with a fade is gone; should it be shown again, it takes input again.
        BlockInput(false);
        return false;
    }
    if (!IsInputEvent(event->type()) || !IsForWindow(watched))
        return false;
    // A shortcut override taken here keeps the key from reaching the window's shortcuts as well.
    if (event->type() == QEvent::ShortcutOverride)
        event->accept();
    return true;
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
