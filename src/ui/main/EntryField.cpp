#include "ui/main/EntryField.h"

#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

EntryField::EntryField(bool multiLine, QWidget* parent) : QWidget(parent) {
    QWidget* editor = nullptr;
    if (multiLine) {
        m_multi = new QPlainTextEdit(this);
        m_multi->setTabChangesFocus(true);
        m_multi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_multi->viewport()->setMouseTracking(true);
        m_multi->viewport()->installEventFilter(this);
        connect(m_multi, &QPlainTextEdit::textChanged, this, [this] {
            KeepWithinMaxLength();
            emit Change();
        });
        editor = m_multi;
    } else {
        m_line = new QLineEdit(this);
        // Hook: the shared Windows-1252 entry filter is installed on m_line here.
        connect(m_line, &QLineEdit::textChanged, this, &EntryField::Change);
        editor = m_line;
    }
    editor->setMouseTracking(true);
    editor->installEventFilter(this);
    setFocusProxy(editor);
    setFocusPolicy(editor->focusPolicy());
}

QString EntryField::text() const {
    if (m_line)
        return m_line->text();
    return m_multi->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void EntryField::setText(const QString& text) {
    if (m_line) {
        m_line->setText(text);
        m_line->setCursorPosition(0);
        return;
    }
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_multi->setPlainText(shown);
}

void EntryField::setMaxLength(int length) {
    m_maxLength = length;
    if (m_line)
        m_line->setMaxLength(length);
    else
        KeepWithinMaxLength();
}

void EntryField::KeepWithinMaxLength() {
    if (!m_multi)
        return;
    const QString full = text();
    if (full.size() <= m_maxLength)
        return;
    // Cut back to the limit, never between the CR and LF of a line break.
    QString kept = full.left(m_maxLength);
    if (kept.endsWith(QLatin1Char('\r')))
        kept.chop(1);
    const QSignalBlocker quiet(m_multi);
    const int position = m_multi->textCursor().position();
    setText(kept);
    QTextCursor cursor = m_multi->textCursor();
    cursor.setPosition(std::min(position, static_cast<int>(m_multi->toPlainText().size())));
    m_multi->setTextCursor(cursor);
}

void EntryField::setLocked(bool locked) {
    m_locked = locked;
    if (m_line)
        m_line->setReadOnly(locked);
    else
        m_multi->setReadOnly(locked);
}

QColor EntryField::backColor() const {
    return focusProxy()->palette().color(QPalette::Base);
}

void EntryField::setBackColor(const QColor& colour) {
    QWidget* editor = focusProxy();
    QPalette p = editor->palette();
    p.setColor(QPalette::Base, colour);
    editor->setPalette(p);
}

void EntryField::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    focusProxy()->setGeometry(rect());
}

bool EntryField::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == focusProxy())
            emit GotFocus();
        break;
    case QEvent::FocusOut:
        if (watched == focusProxy())
            emit LostFocus();
        break;
    case QEvent::MouseMove:
        emit MouseMove();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
