#include "Commands.h"

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
    return QDir::cleanPath(QDir(CallerFolder().isEmpty() ? QDir::currentPath() : CallerFolder()).absoluteFilePath(path));
}
