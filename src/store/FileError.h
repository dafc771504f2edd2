#pragma once

#include <QString>
#include <stdexcept>

// A file operation of the data modules failed. Nothing in the modules catches it: it travels up to the
// event-handler boundary (VardelApplication::notify), which shows the text and ends the program.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};
