#include "core/base/RegularFile.h"
#include "core/base/DataFolder.h"

#include "core/base/FixedRecordFile.h"

#include "core/base/FileError.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray nameOf(const QString& path) {
    return QFile::encodeName(path);
}

// What open(2) leaves unsaid: a path that is there but is no regular file is reported as such, not as the
// error its kind happens to give (a pipe without a reader says "No such device or address").
[[noreturn]] void failOpening(const QString& path, int error) {
    struct stat st {};
    if (error != ENOENT && ::stat(nameOf(path).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        throw FileError(NotRegularFileText(path, st.st_mode), FileOutcome::NotWritten);
    // The file and the system's reason; nothing was written to a file that did not open.
    throw FileError(ShownPath(path) + QStringLiteral(": ") + qt_error_string(error), FileOutcome::NotWritten);
}

UniqueFd openChecked(const QString& path, int flags, bool ownFile) {
    UniqueFd fd(::open(nameOf(path).constData(), flags | O_NONBLOCK | O_CLOEXEC | (ownFile ? O_NOFOLLOW : 0), 0600));
    if (!fd) {
        const int error = errno;
        if (ownFile && error == ELOOP)
            throw FileError(LinkRefusedText(path));
        failOpening(path, error);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        throw FileError(qt_error_string(errno));
    if (!S_ISREG(st.st_mode))
        throw FileError(NotRegularFileText(path, st.st_mode));
    if (!ownFile)
        return fd;
    if (st.st_uid != ::geteuid())
        throw FileError(ForeignFileRefusedText(path));
    // The records hold social security numbers: a file left readable by others (copied in, made by an older
    // version) is narrowed as soon as it is used. A file opened only for reading may sit where it cannot be
    // changed; it is read all the same.
    if ((st.st_mode & 07777 & ~0600) != 0 && ::fchmod(fd.get(), st.st_mode & 0600) != 0 &&
        (flags & O_ACCMODE) != O_RDONLY)
        throw FileError(qt_error_string(errno));
    // O_NONBLOCK means nothing to a regular file's reads and writes; it is left as it is.
    return fd;
}

} // namespace

QString NotRegularFileText(const QString& path, unsigned mode) {
    return ShownPath(path) + QStringLiteral(": ") +
           (S_ISDIR(mode) ? qt_error_string(EISDIR) : QStringLiteral("Not a regular file"));
}

QString LinkRefusedText(const QString& path) {
    return QStringLiteral("\"%1\" is a symbolic link.\r\nVardel does not write through links in its data folder.")
        .arg(ShownPath(path));
}

QString ForeignFileRefusedText(const QString& path) {
    return QStringLiteral("\"%1\" belongs to another user.\r\nVardel does not use other users' files in its data "
                          "folder.")
        .arg(ShownPath(path));
}

UniqueFd OpenRegularFile(const QString& path, int flags) {
    return openChecked(path, flags, false);
}

UniqueFd OpenDataFolderFile(const QString& path, int flags) {
    return openChecked(path, flags, true);
}

std::unique_ptr<QFile> OpenRegularFileForReading(const QString& path, QString* error, bool ownFile) {
    try {
        auto file = std::make_unique<QFile>();
        if (!AdoptForReading(*file, openChecked(path, O_RDONLY, ownFile))) {
            if (error)
                *error = file->errorString();
            return nullptr;
        }
        return file;
    } catch (const FileError& failure) {
        if (error)
            *error = failure.text();
        return nullptr;
    }
}

bool AdoptForReading(QFile& file, UniqueFd fd) {
    if (!file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return false;
    // From here the file closes it.
    static_cast<void>(fd.release());
    return true;
}

void RequirePlainDataFolderFile(const QString& path) {
    struct stat st {};
    if (::lstat(nameOf(path).constData(), &st) != 0)
        return;
    if (S_ISLNK(st.st_mode))
        throw FileError(LinkRefusedText(path));
    if (!S_ISREG(st.st_mode))
        throw FileError(NotRegularFileText(path, st.st_mode));
    if (st.st_uid != ::geteuid())
        throw FileError(ForeignFileRefusedText(path));
}

QByteArray ReadFileIfPresent(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QDir::toNativeSeparators(ShownPath(path)) + QStringLiteral(": ") + file.errorString());
    return file.readAll();
}

void WriteWholeFile(const QString& path, const QByteArray& content) {
    // Not QSaveFile: it lets a failed flush pass, and a file renamed into place unflushed can come back empty after
    // a crash.
    QByteArray temp = QFile::encodeName(path) + ".XXXXXX";
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    const auto fail = [&](int error) {
        fd.reset();
        ::unlink(temp.constData());
        throw FileError(QStringLiteral("Vardel cannot write %1: %2").arg(ShownPath(path), qt_error_string(error)));
    };
    if (!fd)
        throw FileError(QStringLiteral("Vardel cannot write %1: %2").arg(ShownPath(path), qt_error_string(errno)));
    for (qsizetype done = 0; done < content.size();) {
        const ssize_t put = ::write(fd.get(), content.constData() + done, size_t(content.size() - done));
        if (put < 0 && errno != EINTR)
            fail(errno);
        done += put > 0 ? put : 0;
    }
    if (FileSystemCalls::Fsync(fd.get()) != 0 || ::close(fd.release()) != 0)
        fail(errno);
    try {
        ReplaceFileAtomically(QFile::decodeName(temp), path);
    } catch (const FileError&) {
        ::unlink(temp.constData());
        throw;
    }
}
