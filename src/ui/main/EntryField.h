#pragma once

#include <QColor>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

// One entry field of the record form: a single-line box, or the notepad's box of several lines. While a record is
// only viewed the field is locked: its text can be read, selected and copied, not changed. Line breaks of the text
// are CR LF, as the data file keeps them, and count two places against the maximum length.
class EntryField : public QWidget {
    Q_OBJECT

public:
    EntryField(bool multiLine, QWidget* parent);

    QString text() const;
    void setText(const QString& text);
    int maxLength() const { return m_maxLength; }
    void setMaxLength(int length);
    bool isLocked() const { return m_locked; }
    void setLocked(bool locked);
    QColor backColor() const;
    void setBackColor(const QColor& colour);

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
    void KeepWithinMaxLength();

    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_multi = nullptr;
    int m_maxLength = 32767;
    bool m_locked = false;
};
