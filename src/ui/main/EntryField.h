#pragma once

#include <QColor>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

// One entry field of the record form: a single-line box, or the notepad's box of several lines. Its text keeps to
// the code page of the data file and to the field's maximum length, a line break counting two places as CR LF
// does in the file. While a record is only viewed the field is locked: its text can be read, selected and copied,
// not changed.
class EntryField : public QWidget {
    Q_OBJECT

public:
    EntryField(bool multiLine, int maxLength, QWidget* parent);

    QString text() const;
    void setText(const QString& text);
    int maxLength() const { return m_maxLength; }
    bool isLocked() const { return m_locked; }
    void setLocked(bool locked);
    QColor backColor() const;
    void setBackColor(const QColor& colour);
    // Back to the colour the style gives an entry box.
    void ResetBackColor();

    // The editing control inside; exactly one of them is set.
    QLineEdit* lineEdit() const { return m_line; }
    QPlainTextEdit* textEdit() const { return m_multi; }

    // The text the field had when add or edit mode began.
    QString Tag;

signals:
    void Change();
    void GotFocus();
    void LostFocus();
    void MouseMove();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_multi = nullptr;
    int m_maxLength;
    bool m_locked = false;
};
