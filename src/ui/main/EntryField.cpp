#include "ui/main/EntryField.h"

#include "ui/controls/Cp1252Entry.h"

#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

EntryField::EntryField(bool multiLine, int maxLength, QWidget* parent) : QWidget(parent), m_maxLength(maxLength) {
    QWidget* editor = nullptr;
    if (multiLine) {
        m_multi = new QPlainTextEdit(this);
        m_multi->setTabChangesFocus(true);
        m_multi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_multi->viewport()->setMouseTracking(true);
        InstallCp1252Entry(m_multi, maxLength);
        m_multi->viewport()->installEventFilter(this);
        connect(m_multi, &QPlainTextEdit::textChanged, this, &EntryField::Change);
        editor = m_multi;
    } else {
        m_line = new QLineEdit(this);
        InstallCp1252Entry(m_line, maxLength);
        connect(m_line, &QLineEdit::textChanged, this, &EntryField::Change);
        editor = m_line;
    }
    editor->setMouseTracking(true);
    editor->installEventFilter(this);
    // The box hands its focus to the editor and takes none itself, so that Tab and screen readers meet the
    // editor alone. (Set after the proxy, the policy would pass on to the editor.)
    setFocusPolicy(Qt::NoFocus);
    setFocusProxy(editor);
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
    // The entry colours (yellow, cyan) are light under any theme: the text on them is dark.
    p.setColor(QPalette::Text, Qt::black);
    editor->setPalette(p);
}

void EntryField::ResetBackColor() {
    focusProxy()->setPalette(QPalette());
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
