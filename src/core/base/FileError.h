#pragma once

#include <QString>
#include <stdexcept>

// What a failed file operation left behind, so that a report can say what was and was not saved.
enum class FileOutcome {
    Unstated,     // the text says it itself (a refusal, a lock not obtained)
    NotWritten,   // the file keeps its former content: writes are whole or undone, rewrites replace by rename
    NotConfirmed, // the new file is in place, but the disk did not confirm it (the folder's flush failed)
};

// A file operation of the data modules failed. Nothing in the modules catches it: it travels up to the
// event-handler boundary (VardelApplication::notify), which shows the text and ends the program.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& text, FileOutcome outcome = FileOutcome::Unstated)
        : std::runtime_error(text.toStdString()), m_text(text), m_outcome(outcome) {}
    const QString& text() const { return m_text; }
    FileOutcome outcome() const { return m_outcome; }

private:
    QString m_text;
    FileOutcome m_outcome;
};

// The text with what was and was not saved, as the program's message and vardel-data's error line give it.
inline QString FileErrorReport(const FileError& error) {
    if (error.outcome() == FileOutcome::NotWritten)
        return error.text() + QStringLiteral("\r\nNothing of this change was saved; what was saved before is kept.");
    return error.text();
}
