#pragma once

#include <QAbstractButton>
#include <QColor>

// The one push button of every window: it draws itself, changes its face while the pointer is over it, and
// carries a Tag text. "&" in a caption marks the access key; CR LF breaks the caption into lines.
class ZelButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QColor BackOver READ BackOver WRITE setBackOver)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(QColor ForeOver READ ForeOver WRITE setForeOver)
    Q_PROPERTY(int ButtonType READ ButtonType WRITE setButtonType)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QString Tag MEMBER Tag)

public:
    explicit ZelButton(QWidget* parent = nullptr);

    QColor BackColor() const { return m_backColor; }
    QColor BackOver() const { return m_backOver; }
    QColor ForeColor() const { return m_foreColor; }
    QColor ForeOver() const { return m_foreOver; }
    int ButtonType() const { return m_buttonType; }
    QString Caption() const { return m_caption; }

    // Setting the face also sets the hover face, as it does at design time; likewise the caption colour.
    void setBackColor(const QColor& c);
    void setBackOver(const QColor& c);
    void setForeColor(const QColor& c);
    void setForeOver(const QColor& c);
    void setButtonType(int type);
    void setCaption(const QString& caption);

    // The window's default button (Enter) and cancel button (Esc), while visible and enabled.
    void setDefault(bool on);
    bool isDefault() const { return m_default; }
    void setCancel(bool on);
    bool isCancel() const { return m_cancel; }

    // Recompute and redraw.
    void Refresh() { update(); }

    bool isOver() const { return m_over; }

    QString Tag;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void watchWindow();

    QColor m_backColor;
    QColor m_backOver;
    QColor m_foreColor;
    QColor m_foreOver;
    int m_buttonType = 14;
    QString m_caption;
    bool m_default = false;
    bool m_cancel = false;
    bool m_over = false;
    QWidget* m_watched = nullptr;
};
