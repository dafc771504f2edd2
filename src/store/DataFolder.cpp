#include "store/DataFolder.h"

#include "store/FileError.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>

void EnsurePrivateFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (!QDir(path).exists()) {
        const QString parent = QDir::cleanPath(path + QStringLiteral("/.."));
        if (!QDir().mkpath(parent))
            throw FileError(qt_error_string(EACCES));
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
            throw FileError(qt_error_string(errno));
    }
    // The folder holds social security numbers: nobody but its owner may list or open it.
    if (::chmod(name.constData(), 0700) != 0)
        throw FileError(qt_error_string(errno));
}
