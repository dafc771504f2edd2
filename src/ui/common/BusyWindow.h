#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

// Long work inside one user action: the window is disabled and the pointer busy until the scope ends, on every
// way out of it. Work that marks its own busy stretch (a printout that draws a long text) starts Later and calls
// MakeBusy and MakeUsable itself.
class BusyWindow {
public:
    enum class Start { Now, Later };

    explicit BusyWindow(QWidget* window, Start start = Start::Now) : m_window(window) {
        if (start == Start::Now)
            MakeBusy();
    }
    ~BusyWindow() { MakeUsable(); }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

    void MakeBusy() {
        if (m_busy)
            return;
        m_busy = true;
        if (m_window)
            m_window->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }

    void MakeUsable() {
        if (!m_busy)
            return;
        m_busy = false;
        QApplication::restoreOverrideCursor();
        if (m_window)
            m_window->setEnabled(true);
    }

private:
    QPointer<QWidget> m_window;
    bool m_busy = false;
};
