#pragma once

#include "app/AppGlobals.h"

#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <functional>

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
