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
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    makeFolder(clean);
    // The folder holds social security numbers: nobody but its owner may list or open it.
    if (::chmod(QFile::encodeName(clean).constData(), 0700) != 0)
        throw FileError(qt_error_string(errno));
}
