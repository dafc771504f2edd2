#include "ui/common/FirstActivation.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

class ActivationWatch : public QObject {
public:
    ActivationWatch(QWidget* window, std::function<void()> activate)
        : QObject(window), m_window(window), m_activate(std::move(activate)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window) {
            if (event->type() == QEvent::Show)
                QTimer::singleShot(0, m_window, m_activate);
            else if (event->type() == QEvent::ActivationChange && m_window->isActiveWindow())
                m_activate();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_window;
    std::function<void()> m_activate;
};

} // namespace

void CallOnActivation(QWidget* window, std::function<void()> activate) {
    new ActivationWatch(window, std::move(activate));
}
