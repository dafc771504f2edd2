#include "ui/controls/Accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QShortcut>
#include <QWidget>

#include "ui/controls/ZelButton.h"

namespace {

const char* const kFrameProperty = "vardelFrame";

// Qt gives a top-level QWidget the role of a client area, which readers announce as a filler, not a window.
QAccessibleInterface* FrameFactory(const QString& className, QObject* object) {
    auto* window = qobject_cast<QWidget*>(object);
    if (!window || !window->isWindow() || !window->property(kFrameProperty).toBool() ||
        className != QLatin1String(window->metaObject()->className()))
        return nullptr;
    return new QAccessibleWidget(window, QAccessible::Window);
}

const char* const kInstructionProperty = "vardelInstruction";

// The owner-drawn button as a reader meets it: a push button named by its caption, with its access key, its
// default-button state and the press action; or, while it only tells the user what to do, a line of text.
class ZelButtonAccessible : public QAccessibleWidget {
public:
    explicit ZelButtonAccessible(ZelButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    ZelButton* button() const { return static_cast<ZelButton*>(widget()); }
    bool IsInstruction() const { return button()->property(kInstructionProperty).toBool(); }

    QAccessible::Role role() const override { return IsInstruction() ? QAccessible::StaticText : QAccessible::Button; }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty())
            return CaptionAsName(button()->Caption());
        if (t == QAccessible::Accelerator && !IsInstruction())
            return button()->shortcut().toString(QKeySequence::NativeText);
        // The tool tip speaks of the button's command, which the instruction does not offer.
        if (t == QAccessible::Description && IsInstruction())
            return QString();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (IsInstruction()) {
            s.focusable = false;
            return s;
        }
        s.pressed = button()->isDown();
        s.defaultButton = button()->isDefault();
        if (button()->CheckBoxBehaviour()) {
            s.checkable = true;
            s.checked = button()->Value();
        }
        return s;
    }

    QStringList actionNames() const override {
        if (IsInstruction() || !button()->isEnabled())
            return QAccessibleWidget::actionNames();
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name == pressAction() && !IsInstruction() && button()->isEnabled())
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }

    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == pressAction() && !button()->shortcut().isEmpty())
            return {button()->shortcut().toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(name);
    }
};

QAccessibleInterface* ZelButtonFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("ZelButton"))
        return nullptr;
    auto* button = qobject_cast<ZelButton*>(object);
    return button ? new ZelButtonAccessible(button) : nullptr;
}

} // namespace

QString CaptionAsName(const QString& caption) {
    QString name;
    name.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption.at(i);
        if (c == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&'))
                name += caption.at(++i);
            continue;
        }
        name += c == QLatin1Char('\r') || c == QLatin1Char('\n') ? QLatin1Char(' ') : c;
    }
    name = name.simplified();
    if (name.startsWith(QLatin1Char('*')))
        name.remove(0, 1);
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

void SetAccessibleName(QWidget* control, const QString& name) {
    for (QWidget* w = control; w; w = w->focusProxy())
        w->setAccessibleName(name);
}

void SetAccessibleDescription(QWidget* control, const QString& description) {
    for (QWidget* w = control; w; w = w->focusProxy())
        w->setAccessibleDescription(description);
}

void LinkCaption(QLabel* caption, QWidget* control) {
    caption->setBuddy(control);
    SetAccessibleName(control, CaptionAsName(caption->text()));
}

void SetRequired(QWidget* control, bool required) {
    SetAccessibleDescription(control, required ? QStringLiteral("Required entry") : QString());
}

void InstallAccessibleFactories() {
    static const bool installed = [] {
        QAccessible::installFactory(FrameFactory);
        QAccessible::installFactory(ZelButtonFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void ShowAsFrame(QWidget* window) {
    InstallAccessibleFactories();
    window->setProperty(kFrameProperty, true);
}

void ShowAsInstruction(QWidget* button, bool on) {
    button->setProperty(kInstructionProperty, on);
    // Readers that keep the button's role hear of the change.
    QAccessibleEvent event(button, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void PressOnKeys(QWidget* window, const QKeySequence& keys, const std::function<QAbstractButton*()>& command) {
    auto* shortcut = new QShortcut(keys, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, [window, command] {
        QAbstractButton* button = command();
        if (button && button->isVisibleTo(window) && button->isEnabled())
            button->click();
    });
}

void DescribePhotograph(QWidget* picture, const QString& whose) {
    const QString text = whose.isEmpty() ? QString() : QStringLiteral("Photograph of ") + whose;
    picture->setAccessibleName(text);
    // Set even when empty, so that the reader does not fall back on the tool tip, which holds the file's path.
    picture->setAccessibleDescription(text.isEmpty() ? QStringLiteral(" ") : text);
}
