#pragma once

#include "core/base/AppGlobals.h"
#include "core/base/Cp1252.h"
#include "core/base/DateRules.h"
#include "core/users/UserList.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// Shared set-up for the window tests of the users folder and the main window.

// Appends a user to "User.List" and returns its record number.
inline qint32 AddTestUser(const QString& first, const QString& last, const QString& password, qint16 level,
                          double created = 40244 + 845.0 / 1440) {
    OpenUserList();
    const qint32 n = UserListCount + 1;
    CurrentUser = UserRecord();
    CurrentUser.DateCreated = created;
    CurrentUser.FirstName = first;
    CurrentUser.LastName = last;
    CurrentUser.Password = ScramblePassword(password);
    CurrentUser.AccessLevel = level;
    WriteUserRecord(n);
    CloseUserList();
    return n;
}

inline UserRecord ReadTestUser(qint32 n) {
    OpenUserList();
    ReadUserRecord(n);
    CloseUserList();
    return CurrentUser;
}

// Presses a button the ways a user can: "mouse" clicks it at clickedAt (in the button's coordinates), "enter" and
// "space" press that key on the focused button, "alt" types the access key of its caption with Alt to its window.
inline void PressButton(QWidget* button, const QString& how, const QPoint& clickedAt, Qt::Key accessKey) {
    if (how == QLatin1String("mouse")) {
        QTest::mouseClick(button, Qt::LeftButton, {}, clickedAt);
    } else if (how == QLatin1String("enter")) {
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
    } else if (how == QLatin1String("space")) {
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
    } else if (how == QLatin1String("alt")) {
        QTest::keyClick(button->window(), accessKey, Qt::AltModifier);
    } else {
        QFAIL(qPrintable(QStringLiteral("no way to press a button called ") + how));
    }
}

// The lines of "User.Log"; none when it is absent.
inline QStringList UserLogLines() {
    QFile log(UserLogFileName);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = DecodeCp1252(log.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Runs action on the modal window of type T as soon as the running exec() has shown it. When no such window
// turns up the modal window in front is closed, so that the test fails instead of hanging.
template <class T> void WhenModal(std::function<void(T*)> action, bool* found = nullptr) {
    QTimer::singleShot(0, qApp, [action, found] {
        QWidget* modal = QApplication::activeModalWidget();
        if (T* window = qobject_cast<T*>(modal)) {
            if (found)
                *found = true;
            action(window);
        } else if (modal) {
            modal->close();
        }
    });
}

// Top-level windows of type T that are still open.
template <class T> QList<T*> OpenWindows() {
    QList<T*> result;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (T* t = qobject_cast<T*>(w); t && t->isVisible())
            result.append(t);
    return result;
}

// Deletes every top-level window of type T, bypassing any close question.
template <class T> void DeleteWindows() {
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<T*>(w))
            windows.append(w);
    for (const QPointer<QWidget>& w : std::as_const(windows))
        delete w.data();
}

// Runs act on the next modal window to appear (polled, since the modal loop starts after the call).
// The returned timer belongs to the caller; deleting it cancels the wait.
inline QTimer* whenModalAppears(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            act(modal);
        }
    });
    timer->start();
    return timer;
}

// Forgets every program setting, as on a first start.
inline void ClearSettings() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, AppTitle, AppTitle).remove(QStringLiteral("Defaults"));
    GetSetting(QStringLiteral("NewUser")); // re-reads the store
}

// Runs the deletions a window asked for with deleteLater.
inline void RunDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
