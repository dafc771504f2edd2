#include "ui/controls/ZelButton.h"

#include "ui/controls/Accessibility.h"
#include "core/button/ButtonPainter.h"
#include "core/button/ButtonProperties.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>

namespace {

// How often a hovered button looks whether the pointer is still over it.
constexpr int kOverInterval = 50;

// The pointer shapes by number; 99 is the button's own MouseIcon.
Qt::CursorShape PointerShape(int pointer) {
    switch (pointer) {
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 5:
    case 15:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor;
    }
}

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

ButtonProperties ZelButton::TakePaletteColours() {
    const ButtonProperties fresh =
        NewButtonProperties(palette().color(QPalette::Button), palette().color(QPalette::ButtonText), font());
    m_backColor = fresh.BackColor;
    m_backOver = fresh.BackOver;
    m_foreColor = fresh.ForeColor;
    m_foreOver = fresh.ForeOver;
    return fresh;
}

ZelButton::ZelButton(QWidget* parent) : QAbstractButton(parent), OverTimer(new QTimer(this)) {
    const ButtonProperties fresh = TakePaletteColours();
    m_maskColor = fresh.MaskColor;
    m_buttonType = fresh.ButtonType;
    m_colorScheme = fresh.ColorScheme;
    m_showFocusRect = fresh.ShowFocusRect;
    m_useMaskColor = fresh.UseMaskColor;
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    InstallAccessibleFactories();
    OverTimer->setObjectName(QStringLiteral("OverTimer"));
    OverTimer->setInterval(kOverInterval);
    connect(OverTimer, &QTimer::timeout, this, &ZelButton::OverTimer_Timer);
    connect(this, &QAbstractButton::pressed, this, [this] { Redraw(2, false); });
    connect(this, &QAbstractButton::released, this, [this] { Redraw(CurrentState(), false); });
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        m_value = on;
        Redraw(CurrentState(), true);
    });
    // The click refreshes the button before anyone hears of it, as the windows may change it in their handler.
    connect(this, &QAbstractButton::clicked, this, [this] {
        Refresh();
        emit Click();
    });
    Relayout();
}

// ---- Properties ----

void ZelButton::setBackColor(const QColor& c) {
    m_paletteColours = false;
    m_backColor = m_backOver = c;
    Redraw(CurrentState(), true);
}

void ZelButton::setBackOver(const QColor& c) {
    m_paletteColours = false;
    m_backOver = c;
    Redraw(CurrentState(), true);
}

void ZelButton::setForeColor(const QColor& c) {
    m_paletteColours = false;
    m_foreColor = m_foreOver = c;
    Redraw(CurrentState(), true);
}

void ZelButton::setForeOver(const QColor& c) {
    m_paletteColours = false;
    m_foreOver = c;
    Redraw(CurrentState(), true);
}

void ZelButton::setMaskColor(const QColor& c) {
    m_maskColor = c;
    Redraw(CurrentState(), true);
}

void ZelButton::setButtonType(int type) {
    if (type == m_buttonType)
        return;
    m_buttonType = type;
    Relayout();
    if (m_buttonType == 11 && m_shown)
        ScheduleCapture();
    Redraw(CurrentState(), true);
}

void ZelButton::setCaption(const QString& caption) {
    m_caption = caption;
    setText(CaptionLines(caption));
    // Qt would take its own access key from the text; the button's rule decides instead.
    const QChar key = AccessKey(caption);
    setShortcut(key.isNull() ? QKeySequence()
                             : QKeySequence(QKeyCombination(Qt::ALT, Qt::Key(key.toUpper().unicode()))));
    Relayout();
    updateGeometry();
    Redraw(CurrentState(), false);
}

void ZelButton::setFontBold(bool on) {
    QFont f = font();
    f.setBold(on);
    setFont(f);
}

void ZelButton::setFontItalic(bool on) {
    QFont f = font();
    f.setItalic(on);
    setFont(f);
}

void ZelButton::setFontUnderline(bool on) {
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
}

void ZelButton::setFontSize(double points) {
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
}

void ZelButton::setFontName(const QString& family) {
    QFont f = font();
    f.setFamily(family);
    setFont(f);
}

void ZelButton::setColorScheme(int scheme) {
    m_colorScheme = scheme;
    Redraw(CurrentState(), true);
}

void ZelButton::setShowFocusRect(bool on) {
    m_showFocusRect = on;
    Redraw(CurrentState(), true);
}

void ZelButton::setMousePointer(int pointer) {
    m_mousePointer = qint16(pointer);
    if (m_mousePointer == 0)
        unsetCursor();
    else if (m_mousePointer == 99 && !m_mouseIcon.isNull())
        setCursor(QCursor(m_mouseIcon));
    else
        setCursor(PointerShape(m_mousePointer));
}

void ZelButton::setMouseIcon(const QPixmap& icon) {
    m_mouseIcon = icon;
    setMousePointer(m_mousePointer);
}

void ZelButton::setSoftBevel(bool on) {
    m_softBevel = on;
    Redraw(CurrentState(), true);
}

void ZelButton::setPictureNormal(const QPixmap& picture) {
    m_pictureNormal = picture;
    m_pictureNormalImage = picture.toImage();
    Relayout();
    Redraw(CurrentState(), true);
}

void ZelButton::setPictureOver(const QPixmap& picture) {
    m_pictureOver = picture;
    m_pictureOverImage = picture.toImage();
    Redraw(CurrentState(), true);
}

void ZelButton::setPicturePosition(int position) {
    m_picturePosition = position;
    Relayout();
    Redraw(CurrentState(), true);
}

void ZelButton::setUseMaskColor(bool on) {
    m_useMaskColor = on;
    if (!m_pictureNormal.isNull())
        Redraw(CurrentState(), true);
}

void ZelButton::setUseGreyscale(bool on) {
    m_useGreyscale = on;
    if (!m_pictureNormal.isNull())
        Redraw(CurrentState(), true);
}

void ZelButton::setSpecialEffect(int effect) {
    m_specialEffect = effect;
    Redraw(CurrentState(), true);
}

void ZelButton::setCheckBoxBehaviour(bool on) {
    m_checkBoxBehaviour = on;
    setCheckable(on);
    if (on)
        setChecked(m_value);
    Redraw(CurrentState(), true);
}

void ZelButton::setValue(bool on) {
    if (m_checkBoxBehaviour) {
        setChecked(on); // toggled() stores it and redraws
        m_value = on;
    } else {
        m_value = on;
    }
}

void ZelButton::ReadProperties(const QVariantMap& bag) {
    m_paletteColours = false;
    const QPalette system = QApplication::palette();
    const QFont holderFont = parentWidget() ? parentWidget()->font() : QApplication::font();
    const ButtonProperties p =
        ReadPropertyBag(bag, system.color(QPalette::Button), system.color(QPalette::ButtonText), holderFont);
    m_backColor = p.BackColor;
    m_backOver = p.BackOver;
    m_foreColor = p.ForeColor;
    m_foreOver = p.ForeOver;
    m_maskColor = p.MaskColor;
    m_colorScheme = p.ColorScheme;
    m_showFocusRect = p.ShowFocusRect;
    m_softBevel = p.SoftBevel;
    m_useMaskColor = p.UseMaskColor;
    m_useGreyscale = p.UseGreyscale;
    m_specialEffect = p.SpecialEffect;
    m_picturePosition = p.PicturePosition;
    m_pictureNormal = QPixmap::fromImage(p.PictureNormal);
    m_pictureNormalImage = p.PictureNormal;
    m_pictureOver = QPixmap::fromImage(p.PictureOver);
    m_pictureOverImage = p.PictureOver;
    m_mouseIcon = QPixmap::fromImage(p.MouseIcon);
    setMousePointer(p.MousePointer);
    setFont(p.Font);
    setEnabled(p.Enabled);
    m_value = p.Value;
    setCheckBoxBehaviour(p.CheckBoxBehaviour);
    m_buttonType = -1; // makes the style change below take effect in full
    setButtonType(p.ButtonType);
    setCaption(p.Caption);
    Refresh();
}

QVariantMap ZelButton::WriteProperties() const {
    ButtonProperties p;
    p.BackColor = m_backColor;
    p.BackOver = m_backOver;
    p.ForeColor = m_foreColor;
    p.ForeOver = m_foreOver;
    p.MaskColor = m_maskColor;
    p.ButtonType = m_buttonType;
    p.Caption = m_caption;
    p.Enabled = isEnabled();
    p.Font = font();
    p.ColorScheme = m_colorScheme;
    p.ShowFocusRect = m_showFocusRect;
    p.MousePointer = m_mousePointer;
    p.MouseIcon = m_mouseIcon.toImage();
    p.SoftBevel = m_softBevel;
    p.PictureNormal = m_pictureNormalImage;
    p.PictureOver = m_pictureOverImage;
    p.PicturePosition = m_picturePosition;
    p.UseMaskColor = m_useMaskColor;
    p.UseGreyscale = m_useGreyscale;
    p.SpecialEffect = m_specialEffect;
    p.CheckBoxBehaviour = m_checkBoxBehaviour;
    p.Value = m_value;
    return WritePropertyBag(p);
}

// ---- Default and cancel roles ----

void ZelButton::setDefault(bool on) {
    m_default = on;
    watchWindow();
    Redraw(CurrentState(), true);
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

bool ZelButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_watched && event->type() == QEvent::KeyPress && isVisible() && isEnabled()) {
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        const int key = keyEvent->key();
        if ((m_default && IsEnterKey(key)) || (m_cancel && key == Qt::Key_Escape)) {
            if (!keyEvent->isAutoRepeat())
                click();
            return true;
        }
    }
    return QAbstractButton::eventFilter(watched, event);
}

// ---- Drawing ----

ButtonColours ZelButton::Colours() const {
    ColourSource source;
    source.scheme = m_colorScheme;
    source.backColor = m_backColor;
    source.backOver = m_backOver;
    source.foreColor = m_foreColor;
    source.foreOver = m_foreOver;
    source.maskColor = m_maskColor;
    source.buttonType = m_buttonType;
    source.softBevel = m_softBevel;
    source.system = palette();
    const QWidget* holder = parentWidget() ? parentWidget() : this;
    source.parentBack = holder->palette().color(holder->backgroundRole());
    source.parentText = holder->palette().color(holder->foregroundRole());
    return DeriveColours(source, m_over);
}

int ZelButton::CurrentState() const {
    return isDown() || m_otherButtonDown ? 2 : 0;
}

void ZelButton::Redraw(int state, bool force) {
    if (m_checkBoxBehaviour && m_value)
        state = 2;
    if (!force && state == m_drawnState && m_caption == m_drawnCaption)
        return;
    m_drawnState = state;
    m_drawnCaption = m_caption;
    update();
}

void ZelButton::Relayout() {
    m_geometry = LayOutButton(size(), m_buttonType, font(), m_caption, m_pictureNormal.deviceIndependentSize().toSize(),
                              m_picturePosition);
    setMask(ButtonRegion(size(), m_buttonType));
}

void ZelButton::Refresh() {
    Relayout();
    if (isVisible()) {
        m_shown = true;
        CaptureBackground();
    }
    Redraw(CurrentState(), true);
}

void ZelButton::ScheduleCapture() {
    if (m_buttonType != 11 || m_capturePending)
        return;
    m_capturePending = true;
    QTimer::singleShot(0, this, [this] {
        m_capturePending = false;
        CaptureBackground();
    });
}

void ZelButton::CaptureBackground() {
    if (m_buttonType != 11 || m_busy || !isVisible())
        return;
    // The window is drawn under the button while the button draws nothing; that is what lies beneath it.
    QWidget* top = window();
    m_busy = true;
    const QPixmap beneath = top->grab(QRect(mapTo(top, QPoint(0, 0)), size()));
    m_busy = false;
    m_background = beneath.toImage();
    m_backgroundSize = size();
    update();
}

void ZelButton::paintEvent(QPaintEvent*) {
    if (m_busy)
        return;
    ButtonLook look;
    look.size = size();
    look.buttonType = m_buttonType;
    look.state = m_drawnState;
    look.over = m_over;
    look.enabled = isEnabled();
    look.focused = hasFocus();
    look.isDefault = m_default;
    look.showFocusRect = m_showFocusRect;
    look.softBevel = m_softBevel;
    look.specialEffect = m_specialEffect;
    look.colours = Colours();
    look.caption = m_caption;
    look.font = font();
    look.geometry = m_geometry;
    look.pictureNormal = m_pictureNormalImage;
    look.pictureOver = m_pictureOverImage;
    look.picturePosition = m_picturePosition;
    look.useMaskColor = m_useMaskColor;
    look.useGreyscale = m_useGreyscale;
    if (m_buttonType == 11 && m_backgroundSize == size())
        look.background = m_background;
    QPainter painter(this);
    PaintButton(painter, look);
}

QSize ZelButton::sizeHint() const {
    return fontMetrics().size(Qt::TextShowMnemonic, text()) + QSize(16, 10);
}

// ---- Pointer ----

bool ZelButton::PointerOver(const QPointF& global) const {
    return isVisible() && isEnabled() && QApplication::widgetAt(global.toPoint()) == this;
}

void ZelButton::TrackPointer(const QPointF& global, bool leftHeld) {
    if (!PointerOver(global)) {
        Redraw(m_checkBoxBehaviour && m_value ? 2 : 0, false);
        return;
    }
    if (!OverTimer->isActive())
        emit MouseIn();
    if (!leftHeld && !m_over) {
        OverTimer->start();
        m_over = true;
        Redraw(CurrentState(), true);
        emit MouseOver();
    }
    if (leftHeld)
        Redraw(2, false);
}

void ZelButton::OverTimer_Timer() {
    if (!PointerOver(QCursor::pos()))
        EndHover();
}

void ZelButton::EndHover() {
    if (!m_over && !OverTimer->isActive())
        return;
    OverTimer->stop();
    m_over = false;
    Redraw(CurrentState(), true);
    emit MouseOut();
}

void ZelButton::enterEvent(QEnterEvent* event) {
    TrackPointer(event->globalPosition(), QApplication::mouseButtons() == Qt::LeftButton);
    QAbstractButton::enterEvent(event);
}

void ZelButton::leaveEvent(QEvent* event) {
    if (m_over)
        OverTimer_Timer();
    QAbstractButton::leaveEvent(event);
}

void ZelButton::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(event->buttons(), event->modifiers(), event->position().toPoint().x(),
                   event->position().toPoint().y());
    const Qt::MouseButtons held = event->buttons();
    if (held == Qt::NoButton || held == Qt::LeftButton)
        TrackPointer(event->globalPosition(), held == Qt::LeftButton);
    QAbstractButton::mouseMoveEvent(event);
}

void ZelButton::mousePressEvent(QMouseEvent* event) {
    m_mouseButton = event->button();
    emit MouseDown(event->button(), event->modifiers(), event->position().toPoint().x(),
                   event->position().toPoint().y());
    if (event->button() == Qt::LeftButton) {
        QAbstractButton::mousePressEvent(event);
    } else if (event->button() != Qt::RightButton) {
        m_otherButtonDown = true;
        Redraw(2, false);
        event->accept();
    } else {
        event->ignore();
    }
}

void ZelButton::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(event->button(), event->modifiers(), event->position().toPoint().x(), event->position().toPoint().y());
    if (event->button() == Qt::LeftButton) {
        // The click's handlers run inside the release; one of them may close the window and the button with it.
        const QPointer<ZelButton> alive(this);
        m_mouseClickAt = event->globalPosition().toPoint();
        QAbstractButton::mouseReleaseEvent(event);
        if (alive)
            m_mouseClickAt.reset();
    } else if (event->button() != Qt::RightButton) {
        m_otherButtonDown = false;
        Redraw(CurrentState(), false);
        event->accept();
    } else {
        event->ignore();
    }
}

void ZelButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click counts as a click of its own.
    mousePressEvent(event);
}

// ---- Keyboard, focus, state ----

void ZelButton::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(event->key(), event->modifiers());
    m_lastKey = event->key();
    if (!event->text().isEmpty())
        emit KeyPress(event->text().at(0).unicode());
    // Enter presses the button that has the focus, whichever button is the window's default; a held key clicks
    // once.
    if (IsEnterKey(event->key())) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

bool ZelButton::event(QEvent* event) {
    // The access key clicks at once, as Enter does. Qt's own handling clicks from a timer a moment later, and a
    // click that waits can meet a second one on its way (a key release that the platform theme also treats as
    // a press).
    if (event->type() == QEvent::Shortcut) {
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (!shortcut->isAmbiguous() && isEnabled()) {
            m_mouseButton = Qt::LeftButton;
            click();
            return true;
        }
    }
    return QAbstractButton::event(event);
}

void ZelButton::keyReleaseEvent(QKeyEvent* event) {
    emit KeyUp(event->key(), event->modifiers());
    // Enter has clicked on its press. Some platform themes (GTK's) count Enter among the keys that press a
    // button, and the base class would then click a second time on its release.
    if (IsEnterKey(event->key())) {
        event->accept();
        return;
    }
    QAbstractButton::keyReleaseEvent(event);
}

void ZelButton::focusInEvent(QFocusEvent* event) {
    QAbstractButton::focusInEvent(event);
    Redraw(CurrentState(), true);
}

void ZelButton::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    Redraw(CurrentState(), true);
}

void ZelButton::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::ParentChange:
        if (m_default || m_cancel)
            watchWindow();
        Redraw(CurrentState(), true);
        break;
    case QEvent::EnabledChange:
        // A disabled button is never hovered.
        if (!isEnabled())
            EndHover();
        Redraw(CurrentState(), true);
        break;
    case QEvent::FontChange:
        Relayout();
        Redraw(CurrentState(), true);
        break;
    case QEvent::PaletteChange:
        // Until it is given colours of its own, the button wears its holder's button colours as they are now: a
        // window may fix its palette after placing its buttons.
        if (m_paletteColours)
            TakePaletteColours();
        Redraw(CurrentState(), true);
        break;
    default:
        break;
    }
    QAbstractButton::changeEvent(event);
}

void ZelButton::showEvent(QShowEvent* event) {
    // The button may have come into its window through a parent of its parent, which sends it no ParentChange.
    if (m_default || m_cancel)
        watchWindow();
    m_shown = true;
    ScheduleCapture();
    QAbstractButton::showEvent(event);
}

void ZelButton::hideEvent(QHideEvent* event) {
    m_shown = false;
    EndHover();
    QAbstractButton::hideEvent(event);
}

void ZelButton::resizeEvent(QResizeEvent* event) {
    Relayout();
    if (m_shown)
        ScheduleCapture();
    QAbstractButton::resizeEvent(event);
}

void ZelButton::moveEvent(QMoveEvent* event) {
    if (m_shown)
        ScheduleCapture();
    QAbstractButton::moveEvent(event);
}

QPoint MenuPosition(const QWidget* button) {
    if (!button)
        return QCursor::pos();
    const auto* zel = qobject_cast<const ZelButton*>(button);
    if (zel && zel->MouseClickPosition())
        return *zel->MouseClickPosition();
    return button->mapToGlobal(QPoint(0, button->height()));
}

#include "moc_ZelButton.cpp"
