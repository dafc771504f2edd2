#include "ui/controls/Cp1252Entry.h"

#include "ui/common/Dialogs.h"
#include "core/base/Cp1252.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

// Whether a change of the box comes from the clerk: a key, a drop or an input method at work on it, or any change
// while it has the keyboard (a paste from its context menu). The window's own setting of a text is not.
class ClerkInput : public QObject {
public:
    explicit ClerkInput(QWidget* box) : QObject(box), m_box(box) {
        box->installEventFilter(this);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(box))
            area->viewport()->installEventFilter(this);
    }
    bool Active() const { return m_eventUnderway || m_box->hasFocus(); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type t = event->type();
        if (t == QEvent::KeyPress || t == QEvent::Drop || t == QEvent::InputMethod) {
            m_eventUnderway = true;
            QTimer::singleShot(0, this, [this] { m_eventUnderway = false; });
        }
        return false;
    }

private:
    QWidget* m_box;
    bool m_eventUnderway = false;
};

namespace {

bool IsBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator ||
           c == QChar::LineSeparator;
}

// The part of a key's text that would be inserted: printable characters, and the line break of Enter. Taken by
// code point, so that a character beyond the first 65,536 (an emoji) counts as typed and is refused like any other
// the code page lacks, rather than slip through as two halves and land as "?".
QString InsertedByKey(const QKeyEvent* event) {
    QString typed;
    for (char32_t cp : event->text().toUcs4())
        if (QChar::isPrint(cp) || cp == U'\r' || cp == U'\t')
            typed += QString::fromUcs4(&cp, 1);
    return typed;
}

// Tells the clerk what had to change in text that came in, once the change is over.
void TellReplaced(QWidget* box, const QString& original) {
    const QList<Cp1252Replacement> replaced = Cp1252Replacements(original);
    if (replaced.isEmpty())
        return;
    QString list;
    for (const Cp1252Replacement& r : replaced)
        list += QStringLiteral("\r\n\"") + r.Original + QStringLiteral("\" by \"") + r.Replacement + QLatin1Char('"');
    const QPointer<QWidget> owner(box);
    QTimer::singleShot(0, box, [owner, list] {
        dialogs().MessageBox(owner, QStringLiteral("Some characters cannot be stored and were replaced:\r\n") + list,
                             QStringLiteral("Text Changed"), MsgIcon::Information, MsgButtons::OK);
    });
}

// Cleans and, where the text would no longer fit, refuses; also a single-line box's guard for typed characters.
class LineEditRule : public QObject {
public:
    explicit LineEditRule(QLineEdit* edit) : QObject(edit), m_edit(edit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_edit && event->type() == QEvent::KeyPress && !m_edit->isReadOnly()) {
            const QString typed = InsertedByKey(static_cast<QKeyEvent*>(event));
            if (!typed.isEmpty() && typed != QLatin1String("\r") && !IsCp1252Text(typed)) {
                QApplication::beep();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLineEdit* m_edit;
};

// A multi-line box has no validator: every change of its document is checked once it has happened, whichever way
// the text came in (keys, paste, drop, the context menu, an input method, undo, setPlainText), and the inserted
// part is cleaned or cut back to what fits.
class TextDocumentRule : public QObject {
public:
    TextDocumentRule(QWidget* edit, QTextDocument* document, int maxLength)
        : QObject(edit), m_edit(edit), m_document(document), m_maxLength(maxLength), m_clerk(new ClerkInput(edit)) {
        connect(document, &QTextDocument::contentsChange, this, &TextDocumentRule::contentsChange);
        edit->installEventFilter(this);
        // Text already in the box when the rule arrives is held to it as well.
        contentsChange(0, 0, document->characterCount());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_edit && event->type() == QEvent::KeyPress && !m_edit->property("readOnly").toBool()) {
            const QString typed = InsertedByKey(static_cast<QKeyEvent*>(event));
            if (!typed.isEmpty() && (!IsCp1252Text(typed) || !Fits(typed))) {
                QApplication::beep();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTextCursor EditorCursor() const {
        if (auto* plain = qobject_cast<QPlainTextEdit*>(m_edit))
            return plain->textCursor();
        if (auto* rich = qobject_cast<QTextEdit*>(m_edit))
            return rich->textCursor();
        return QTextCursor(m_document);
    }

    // Whether typed text replacing the selection keeps the box within its length.
    bool Fits(const QString& typed) const {
        if (m_maxLength <= 0)
            return true;
        const int now = StoredTextLength(m_document->toPlainText());
        const int replaced = StoredTextLength(EditorCursor().selectedText());
        return now - replaced + StoredTextLength(typed) <= m_maxLength;
    }

    void contentsChange(int position, int /*removed*/, int added) {
        if (m_fixing || added <= 0)
            return;
        // The reported range may run one past the last character (the document's closing paragraph mark).
        const int end = std::min(position + added, m_document->characterCount() - 1);
        if (end <= position)
            return;
        QTextCursor cursor(m_document);
        cursor.setPosition(position);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        QString inserted = cursor.selectedText();
        inserted.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));

        if (m_clerk->Active())
            TellReplaced(m_edit, inserted);
        QString kept = CleanCp1252Text(inserted);
        kept.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        kept.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        if (m_maxLength > 0) {
            const int others = StoredTextLength(m_document->toPlainText()) - StoredTextLength(inserted);
            int room = m_maxLength - others;
            qsizetype fit = 0;
            for (; fit < kept.size(); ++fit) {
                room -= IsBreak(kept.at(fit)) ? 2 : 1;
                if (room < 0)
                    break;
            }
            kept.truncate(fit);
        }
        if (kept == inserted)
            return;
        m_fixing = true;
        // One undo step with the insertion it corrects.
        cursor.joinPreviousEditBlock();
        cursor.insertText(kept);
        cursor.endEditBlock();
        m_fixing = false;
    }

    QWidget* m_edit;
    QPointer<QTextDocument> m_document;
    int m_maxLength;
    ClerkInput* m_clerk;
    bool m_fixing = false;
};

} // namespace

int StoredTextLength(const QString& text) {
    int length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            length += 2;
            ++i;
        } else {
            length += IsBreak(c) ? 2 : 1;
        }
    }
    return length;
}

Cp1252Validator::Cp1252Validator(QObject* parent, int maxLength) : QValidator(parent), m_maxLength(maxLength) {
    if (auto* box = qobject_cast<QWidget*>(parent))
        m_clerk = new ClerkInput(box);
}

void Cp1252Validator::fixup(QString& input) const {
    input = CleanCp1252Text(input);
    // A single-line field keeps a pasted line break as a blank.
    input.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    input.replace(QLatin1Char('\r'), QLatin1Char(' '));
    input.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QValidator::State Cp1252Validator::validate(QString& input, int& pos) const {
    QString cleaned = input;
    fixup(cleaned);
    if (cleaned == input)
        return Acceptable;
    int maxLength = m_maxLength;
    if (auto* edit = qobject_cast<QLineEdit*>(parent()))
        maxLength = edit->maxLength();
    // Cleaning can lengthen the text ("ﬁ" becomes "fi"); rather than lose the end of the field, the change is
    // refused.
    if (maxLength > 0 && cleaned.size() > maxLength)
        return Invalid;
    if (m_clerk && m_clerk->Active())
        TellReplaced(qobject_cast<QWidget*>(parent()), input);
    QString before = input.left(pos);
    fixup(before);
    pos = static_cast<int>(std::min(before.size(), cleaned.size()));
    input = cleaned;
    return Acceptable;
}

void InstallCp1252Entry(QLineEdit* edit, int maxLength) {
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->setValidator(new Cp1252Validator(edit, edit->maxLength()));
    edit->installEventFilter(new LineEditRule(edit));
}

void InstallCp1252Entry(QPlainTextEdit* edit, int maxLength) {
    new TextDocumentRule(edit, edit->document(), maxLength);
}

void InstallCp1252Entry(QTextEdit* edit, int maxLength) {
    edit->setAcceptRichText(false);
    new TextDocumentRule(edit, edit->document(), maxLength);
}
