#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

// Long work inside one user action: the window is disabled and the pointer busy until the scope ends, on every
// way out of it.
class BusyWindow {
public:
    explicit BusyWindow(QWidget* window) : m_window(window) {
        if (m_window)
            m_window->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyWindow() {
        QApplication::restoreOverrideCursor();
        if (m_window)
            m_window->setEnabled(true);
    }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

private:
    QPointer<QWidget> m_window;
};
