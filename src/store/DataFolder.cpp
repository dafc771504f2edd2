#include "store/DataFolder.h"

#include "store/FileError.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace {

void makeFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) == 0) {
        if (!S_ISDIR(st.st_mode))
            throw FileError(qt_error_string(ENOTDIR));
        return;
    }
    const QString parent = QFileInfo(path).path();
    if (parent != path)
        makeFolder(parent);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        throw FileError(qt_error_string(errno));
}

} // namespace

void EnsurePrivateFolder(const QString& path) {
    // A folder made here is open to its owner only: it will hold social security numbers. A folder that is
    // already there keeps its permissions, since it may serve others too (the files in it are owner-only).
    makeFolder(QDir::cleanPath(QDir(path).absolutePath()));
}
