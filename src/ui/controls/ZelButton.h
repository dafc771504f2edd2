#pragma once

#include "core/button/ButtonColours.h"
#include "core/button/ButtonLayout.h"

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QVariantMap>

#include <optional>

class QTimer;

// The one push button of every window. It draws itself in one of its styles (14 the ordinary button, 11
// transparent over the window's background, 3 rounded), changes its look while the pointer is over it, can carry
// a picture beside its caption, can behave as a two-state button, and carries a Tag text. "&" in a caption marks
// the access key; CR LF breaks the caption into lines.
//
// A window configures its buttons either through the properties below or as data, with ReadProperties and a bag
// of values under the keys of ButtonProperties.h. A button nobody configures draws as style 14 in the system's
// button colours.
class ZelButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QColor BackOver READ BackOver WRITE setBackOver)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(QColor ForeOver READ ForeOver WRITE setForeOver)
    Q_PROPERTY(QColor MaskColor READ MaskColor WRITE setMaskColor)
    Q_PROPERTY(int ButtonType READ ButtonType WRITE setButtonType)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic)
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE setFontUnderline)
    Q_PROPERTY(double FontSize READ FontSize WRITE setFontSize)
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(int ColorScheme READ ColorScheme WRITE setColorScheme)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE setShowFocusRect)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE setMouseIcon)
    Q_PROPERTY(bool SoftBevel READ SoftBevel WRITE setSoftBevel)
    Q_PROPERTY(QPixmap PictureNormal READ PictureNormal WRITE setPictureNormal)
    Q_PROPERTY(QPixmap PictureOver READ PictureOver WRITE setPictureOver)
    Q_PROPERTY(int PicturePosition READ PicturePosition WRITE setPicturePosition)
    Q_PROPERTY(bool UseMaskColor READ UseMaskColor WRITE setUseMaskColor)
    Q_PROPERTY(bool UseGreyscale READ UseGreyscale WRITE setUseGreyscale)
    Q_PROPERTY(int SpecialEffect READ SpecialEffect WRITE setSpecialEffect)
    Q_PROPERTY(bool CheckBoxBehaviour READ CheckBoxBehaviour WRITE setCheckBoxBehaviour)
    Q_PROPERTY(bool Value READ Value WRITE setValue)
    Q_PROPERTY(QString Version READ Version CONSTANT)
    Q_PROPERTY(QString Tag MEMBER Tag)

public:
    explicit ZelButton(QWidget* parent = nullptr);

    QColor BackColor() const { return m_backColor; }
    QColor BackOver() const { return m_backOver; }
    QColor ForeColor() const { return m_foreColor; }
    QColor ForeOver() const { return m_foreOver; }
    QColor MaskColor() const { return m_maskColor; }
    int ButtonType() const { return m_buttonType; }
    QString Caption() const { return m_caption; }
    bool FontBold() const { return font().bold(); }
    bool FontItalic() const { return font().italic(); }
    bool FontUnderline() const { return font().underline(); }
    double FontSize() const { return font().pointSizeF(); }
    QString FontName() const { return font().family(); }
    int ColorScheme() const { return m_colorScheme; }
    bool ShowFocusRect() const { return m_showFocusRect; }
    int MousePointer() const { return m_mousePointer; }
    QPixmap MouseIcon() const { return m_mouseIcon; }
    const QWidget* hwnd() const { return this; }
    bool SoftBevel() const { return m_softBevel; }
    QPixmap PictureNormal() const { return m_pictureNormal; }
    QPixmap PictureOver() const { return m_pictureOver; }
    int PicturePosition() const { return m_picturePosition; }
    bool UseMaskColor() const { return m_useMaskColor; }
    bool UseGreyscale() const { return m_useGreyscale; }
    int SpecialEffect() const { return m_specialEffect; }
    bool CheckBoxBehaviour() const { return m_checkBoxBehaviour; }
    bool Value() const { return m_value; }
    static QString Version() { return QStringLiteral("w2005.08.15"); }

    // Setting the face also sets the hover face, as it does when a window is laid out; likewise the caption
    // colour. Set the hover colour afterwards to make it differ.
    void setBackColor(const QColor& c);
    void setBackOver(const QColor& c);
    void setForeColor(const QColor& c);
    void setForeOver(const QColor& c);
    void setMaskColor(const QColor& c);
    void setButtonType(int type);
    void setCaption(const QString& caption);
    void setFontBold(bool on);
    void setFontItalic(bool on);
    void setFontUnderline(bool on);
    void setFontSize(double points);
    void setFontName(const QString& family);
    void setColorScheme(int scheme);
    void setShowFocusRect(bool on);
    void setMousePointer(int pointer);
    void setMouseIcon(const QPixmap& icon);
    void setSoftBevel(bool on);
    void setPictureNormal(const QPixmap& picture);
    void setPictureOver(const QPixmap& picture);
    void setPicturePosition(int position);
    void setUseMaskColor(bool on);
    void setUseGreyscale(bool on);
    void setSpecialEffect(int effect);
    void setCheckBoxBehaviour(bool on);
    void setValue(bool on);

    // The configuration as data. Reading takes the stored defaults for missing keys (ButtonProperties.h).
    void ReadProperties(const QVariantMap& bag);
    QVariantMap WriteProperties() const;

    // The window's default button (Enter) and cancel button (Esc), while visible and enabled.
    void setDefault(bool on);
    bool isDefault() const { return m_default; }
    void setCancel(bool on);
    bool isCancel() const { return m_cancel; }

    // Recompute colours and layout, take a fresh copy of the background (style 11) and redraw.
    void Refresh();

    bool isOver() const { return m_over; }
    // While a handler of a mouse click runs: where the mouse was released, in global coordinates. Empty for a
    // click from the keyboard (Enter, space, the access key) or from code, so that a pop-up menu can open where
    // the user is looking: at the pointer, or under the button.
    std::optional<QPoint> MouseClickPosition() const { return m_mouseClickAt; }
    // The state last drawn: 0 normal, 2 pressed.
    int DrawnState() const { return m_drawnState; }
    ButtonColours Colours() const;
    ButtonGeometry Layout() const { return m_geometry; }

    QString Tag;
    // Watches the pointer while it is over the button, so that the button notices when it leaves.
    QTimer* OverTimer;

    QSize sizeHint() const override;

signals:
    void Click();
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void KeyPress(int keyAscii);
    void KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void KeyUp(int keyCode, Qt::KeyboardModifiers shift);
    void MouseOver();
    void MouseIn();
    void MouseOut();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void watchWindow();
    int CurrentState() const;
    void Redraw(int state, bool force);
    // The four colours of the palette's button colours as they are now; returns the rest of a new button's
    // properties.
    struct ButtonProperties TakePaletteColours();
    void Relayout();
    void CaptureBackground();
    void ScheduleCapture();
    bool PointerOver(const QPointF& global) const;
    void TrackPointer(const QPointF& global, bool leftHeld);
    void OverTimer_Timer();
    void EndHover();

    QColor m_backColor;
    QColor m_backOver;
    QColor m_foreColor;
    QColor m_foreOver;
    QColor m_maskColor;
    int m_buttonType = 14;
    QString m_caption;
    int m_colorScheme = 2;
    bool m_showFocusRect = true;
    qint16 m_mousePointer = 0;
    QPixmap m_mouseIcon;
    bool m_softBevel = false;
    QPixmap m_pictureNormal;
    QPixmap m_pictureOver;
    QImage m_pictureNormalImage;
    QImage m_pictureOverImage;
    int m_picturePosition = 0;
    bool m_useMaskColor = true;
    bool m_useGreyscale = false;
    int m_specialEffect = 0;
    bool m_checkBoxBehaviour = false;
    bool m_value = false;

    bool m_paletteColours = true; // no colour set yet: the four colours follow the palette
    bool m_default = false;
    bool m_cancel = false;
    bool m_over = false;
    bool m_shown = false;
    bool m_busy = false;
    bool m_capturePending = false;
    bool m_otherButtonDown = false;
    int m_drawnState = 0;
    QString m_drawnCaption;
    Qt::MouseButton m_mouseButton = Qt::NoButton;
    int m_lastKey = 0;
    std::optional<QPoint> m_mouseClickAt;
    ButtonGeometry m_geometry;
    QImage m_background;
    QSize m_backgroundSize;
    QWidget* m_watched = nullptr;
};

// Where a menu that a button opens pops up, in global coordinates: at the pointer for a click of the mouse; under
// the button for a key (Enter, space, the access key) or a call from code, where a keyboard user is looking rather
// than wherever the mouse was left. Without a button, at the pointer.
QPoint MenuPosition(const QWidget* button);
