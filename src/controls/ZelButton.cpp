#include "controls/ZelButton.h"

#include <QKeyEvent>
#include <QPainter>

ZelButton::ZelButton(QWidget* parent) : QAbstractButton(parent) {
    const QPalette pal = palette();
    m_backColor = m_backOver = pal.color(QPalette::Button);
    m_foreColor = m_foreOver = pal.color(QPalette::ButtonText);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

void ZelButton::setBackColor(const QColor& c) {
    m_backColor = m_backOver = c;
    update();
}

void ZelButton::setBackOver(const QColor& c) {
    m_backOver = c;
    update();
}

void ZelButton::setForeColor(const QColor& c) {
    m_foreColor = m_foreOver = c;
    update();
}

void ZelButton::setForeOver(const QColor& c) {
    m_foreOver = c;
    update();
}

void ZelButton::setButtonType(int type) {
    m_buttonType = type;
    update();
}

void ZelButton::setCaption(const QString& caption) {
    m_caption = caption;
    // QAbstractButton derives the access key from the "&" of its text.
    QString plain = caption;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setText(plain);
    updateGeometry();
    update();
}

void ZelButton::setDefault(bool on) {
    m_default = on;
    watchWindow();
    update();
}

void ZelButton::setCancel(bool on) {
    m_cancel = on;
    watchWindow();
}

void ZelButton::watchWindow() {
    QWidget* w = window();
    if (w == m_watched)
        return;
    if (m_watched)
        m_watched->removeEventFilter(this);
    m_watched = w;
    if (m_watched && m_watched != this)
        m_watched->installEventFilter(this);
}

void ZelButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ParentChange && (m_default || m_cancel))
        watchWindow();
    QAbstractButton::changeEvent(event);
}

void ZelButton::showEvent(QShowEvent* event) {
    // The button may have come into its window through a parent of its parent, which sends it no ParentChange.
    if (m_default || m_cancel)
        watchWindow();
    QAbstractButton::showEvent(event);
}

void ZelButton::keyPressEvent(QKeyEvent* event) {
    // Enter presses the button that has the focus, whichever button is the window's default.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        animateClick();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

bool ZelButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_watched && event->type() == QEvent::KeyPress && isVisible() && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if ((m_default && enter) || (m_cancel && key == Qt::Key_Escape)) {
            animateClick();
            return true;
        }
    }
    return QAbstractButton::eventFilter(watched, event);
}

void ZelButton::enterEvent(QEnterEvent* event) {
    m_over = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ZelButton::leaveEvent(QEvent* event) {
    m_over = false;
    update();
    QAbstractButton::leaveEvent(event);
}

QSize ZelButton::sizeHint() const {
    return fontMetrics().size(Qt::TextShowMnemonic, text()) + QSize(16, 10);
}

void ZelButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    const bool pressed = isDown() || (isCheckable() && isChecked());
    const QColor face = (m_over && isEnabled()) ? m_backOver : m_backColor;
    if (m_buttonType != 11)
        p.fillRect(r, face);
    const QColor light = face.lighter(140);
    const QColor dark = face.darker(170);
    p.setPen(pressed ? dark : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(pressed ? light : dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    if (m_default && isEnabled()) {
        p.setPen(QColor(0, 0, 0));
        p.drawRect(r.adjusted(1, 1, -2, -2));
    }
    QColor fore = (m_over && isEnabled()) ? m_foreOver : m_foreColor;
    if (!isEnabled())
        fore = palette().color(QPalette::Disabled, QPalette::ButtonText);
    p.setPen(fore);
    p.setFont(font());
    const QRect textRect = r.adjusted(4, 4, -4, -4).translated(pressed ? 1 : 0, pressed ? 1 : 0);
    p.drawText(textRect, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, text());
    if (hasFocus()) {
        p.setPen(QPen(fore, 1, Qt::DotLine));
        p.drawRect(r.adjusted(4, 4, -5, -5));
    }
}

#include "moc_ZelButton.cpp"
