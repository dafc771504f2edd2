#pragma once

#include <QValidator>

class QLineEdit;
class ClerkInput;
class QPlainTextEdit;
class QTextEdit;

// The entry rule of every field whose text is stored in a data file: only characters of the files' code page
// (Windows-1252) get in, and a field never holds more than its width in the file.
//
// - A typed character the code page lacks is refused (the box beeps and stays as it was).
// - Pasted, dropped or otherwise inserted text is cleaned before it lands ("Łukasz" arrives as "Lukasz"), so the
//   clerk sees what will be stored; when the clerk put it in, a message then says what was replaced.
// - A box that is full refuses what does not fit: of an insertion only the part that fits is kept, and nothing
//   already in the box is cut. In a multi-line box a line break takes two places, as CR LF does in the file.
//
// One call per field, after the field is made; the rule lives as long as the field.

// maxLength: the field's width; 0 keeps the box's own maximum length. Line breaks pasted into a single-line box
// become blanks.
void InstallCp1252Entry(QLineEdit* edit, int maxLength = 0);
// maxLength: the field's width in the file; 0 for no limit.
void InstallCp1252Entry(QPlainTextEdit* edit, int maxLength = 0);
// The box is made plain-text only.
void InstallCp1252Entry(QTextEdit* edit, int maxLength = 0);

// The number of places text takes in a file, a line break ("\n", "\r\n", or a paragraph or line separator) counting
// two. This is what a multi-line box's maximum length and fill gauge count.
int StoredTextLength(const QString& text);

// The validator behind InstallCp1252Entry(QLineEdit*): it cleans whatever reaches the box, refusing a change only
// when the cleaned text would no longer fit the box's maximum length.
class Cp1252Validator : public QValidator {
    Q_OBJECT

public:
    explicit Cp1252Validator(QObject* parent = nullptr, int maxLength = 0);

    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    int m_maxLength;
    ClerkInput* m_clerk = nullptr;
};
