#include "Commands.h"

#include "core/base/TextEscape.h"

#include <QDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool WriteOutput(const QByteArray& text) {
    if (std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout) == static_cast<size_t>(text.size()))
        return true;
    std::fprintf(stderr, "vardel-data: cannot write the output: %s\n", std::strerror(errno));
    return false;
}

bool FinishOutput() {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    std::fprintf(stderr, "vardel-data: cannot write the output: %s\n", std::strerror(errno));
    return false;
}

int UsageError(const char* synopsis) {
    std::fprintf(stderr, "usage: vardel-data %s\n", synopsis);
    return 2;
}

QString& CallerFolder() {
    static QString folder;
    return folder;
}

QString FromCallerFolder(const QString& path) {
    return QDir::cleanPath(
        QDir(CallerFolder().isEmpty() ? QDir::currentPath() : CallerFolder()).absoluteFilePath(path));
}

QByteArray TerminalText(const QString& text) {
    return EscapeControlCharacters(text).toUtf8();
}

void PrintError(const QString& text, const char* prefix) {
    QByteArray lines;
    for (const QString& line : text.split(QStringLiteral("\r\n")))
        lines += (lines.isEmpty() ? QByteArray() : QByteArray("\n")) + TerminalText(line);
    std::fprintf(stderr, "%s: %s\n", prefix, lines.constData());
}
