#include "core/backup/BackupCopy.h"

#include "core/backup/BackupManifest.h"

#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"
#include "core/base/RegularFile.h"
#include "core/base/UniqueFd.h"
#include "core/history/ChangeLog.h"
#include "core/users/AccessCode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray nativeName(const QString& name) {
    return QFile::encodeName(name);
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A temporary copy's name: "." + the name of a file a backup or restore writes (the data files, the history, the
// access code, the manifest, the last backup's date) + "." + the six letters or digits of mkstemp.
bool isCopyName(const QString& name) {
    for (const QString& file : DataFileList + QStringList{ChangeLogFileName, AccessCodeFileName, BackupManifestFileName,
                                                          LastBackupFileName}) {
        const QString start = QLatin1Char('.') + file + QLatin1Char('.');
        if (file.isEmpty() || name.size() != start.size() + 6 || !name.startsWith(start))
            continue;
        const QStringView tail = QStringView(name).mid(start.size());
        if (std::all_of(tail.begin(), tail.end(), [](QChar c) { return c.unicode() < 0x80 && c.isLetterOrNumber(); }))
            return true;
    }
    return false;
}

// Creates the temporary file of a copy from pattern, locked for the copy's life, so that a clearing run can tell
// it from one a killed copy left. A file system without such locks gets none; nothing is then ever cleared there.
UniqueFd createLockedCopy(QByteArray& pattern) {
    const QByteArray original = pattern;
    for (int attempt = 0; attempt < 8; ++attempt) {
        pattern = original;
        UniqueFd fd(::mkostemp(pattern.data(), O_CLOEXEC));
        if (!fd)
            return fd;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK)
                return fd;
        } else {
            struct stat mine {};
            struct stat named {};
            if (::fstat(fd.get(), &mine) == 0 && ::lstat(pattern.constData(), &named) == 0 && sameFile(mine, named))
                return fd;
        }
        // A clearing run came between the creation and the lock: the file is, or is about to be, deleted; this
        // descriptor goes with it.
    }
    errno = EEXIST;
    return UniqueFd();
}

// Writes all of bytes, continuing short writes; 0 or the error that stopped it.
int writeAll(int fd, const char* bytes, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t put = ::write(fd, bytes + done, static_cast<size_t>(size - done));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += put;
    }
    return 0;
}

bool isRegularFile(const QString& path) {
    struct stat st {};
    return ::stat(nativeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

bool IsSameFolder(const QString& a, const QString& b) {
    const QString first = QFileInfo(a).canonicalFilePath();
    const QString second = QFileInfo(b).canonicalFilePath();
    if (first.isEmpty() || second.isEmpty())
        return QDir::cleanPath(QDir(a).absolutePath()) == QDir::cleanPath(QDir(b).absolutePath());
    return first == second;
}

QString WithTrailingSlash(const QString& path) {
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

std::optional<QStringList> ListFolderFiles(const QString& folder) {
    DIR* dir = ::opendir(nativeName(folder).constData());
    if (!dir)
        return std::nullopt;
    QStringList names;
    const QString base = WithTrailingSlash(folder);
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!name.startsWith(QLatin1Char('.')) && isRegularFile(base + name))
            names.append(name);
        errno = 0;
    }
    const bool failed = errno != 0;
    ::closedir(dir);
    if (failed)
        return std::nullopt;
    return names;
}

std::optional<bool> FolderHoldsFile(const QString& folder, const QString& name) {
    struct stat st {};
    if (::stat(nativeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        ::access(nativeName(folder).constData(), R_OK | X_OK) != 0)
        return std::nullopt;
    return isRegularFile(WithTrailingSlash(folder) + name);
}

bool FileExistsIn(const QString& folder, const QString& name) {
    return isRegularFile(WithTrailingSlash(folder) + name);
}

bool NarrowFolderMadeSince(const QString& folder, const QDateTime& since) {
    const QFileInfo info(folder);
    const QDateTime born = info.birthTime();
    // Without a birth time (some file systems keep none) nothing tells a new folder from an old one.
    if (!info.isDir() || !born.isValid() || born < since)
        return false;
    return ::chmod(nativeName(folder).constData(), 0700) == 0;
}

QString CopyFileWhole(const QString& source, const QString& target) {
    // The source may lie in a folder the user chose: a named pipe or a folder there is refused at once.
    UniqueFd in;
    try {
        in = OpenRegularFile(source, O_RDONLY);
    } catch (const FileError& error) {
        return error.text();
    }

    // mkstemp creates the file exclusively and readable by its owner only.
    const QFileInfo targetInfo(target);
    QByteArray pattern =
        nativeName(WithTrailingSlash(targetInfo.absolutePath()) + QLatin1Char('.') + targetInfo.fileName()) + ".XXXXXX";
    UniqueFd out = createLockedCopy(pattern);
    if (!out)
        return qt_error_string(errno);
    const QString tempName = QFile::decodeName(pattern);

    const auto fail = [&](int error) {
        out.reset();
        ::unlink(pattern.constData());
        return qt_error_string(error);
    };

    QByteArray block(1 << 16, Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(in.get(), block.data(), static_cast<size_t>(block.size()));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (got == 0)
            break;
        if (const int error = writeAll(out.get(), block.constData(), got))
            return fail(error);
    }
    if (FileSystemCalls::Fsync(out.get()) != 0)
        return fail(errno);
    // The descriptor, and with it the lock, stays open until the file has its final name.
    try {
        ReplaceFileAtomically(tempName, target);
    } catch (const FileError& error) {
        ::unlink(pattern.constData());
        return error.text();
    }
    return QString();
}

QString WriteFileWhole(const QString& target, const QByteArray& content) {
    const QFileInfo targetInfo(target);
    QByteArray pattern =
        nativeName(WithTrailingSlash(targetInfo.absolutePath()) + QLatin1Char('.') + targetInfo.fileName()) + ".XXXXXX";
    UniqueFd out = createLockedCopy(pattern);
    if (!out)
        return qt_error_string(errno);
    int error = writeAll(out.get(), content.constData(), content.size());
    if (error == 0 && FileSystemCalls::Fsync(out.get()) != 0)
        error = errno;
    if (error == 0) {
        try {
            ReplaceFileAtomically(QFile::decodeName(pattern), target);
            return QString();
        } catch (const FileError& failure) {
            // After the rename the new file is in place; the failure then says so and the name stays.
            if (failure.outcome() != FileOutcome::NotConfirmed)
                ::unlink(pattern.constData());
            return failure.text();
        }
    }
    out.reset();
    ::unlink(pattern.constData());
    return qt_error_string(error);
}

int ClearAbandonedCopies(const QString& folder) {
    const QString base = WithTrailingSlash(folder);
    DIR* dir = ::opendir(nativeName(folder).constData());
    if (!dir)
        return 0;
    QStringList names;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (isCopyName(name))
            names.append(name);
    }
    ::closedir(dir);

    int cleared = 0;
    for (const QString& name : std::as_const(names)) {
        const QByteArray path = nativeName(base + name);
        const UniqueFd fd(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat held {};
        struct stat named {};
        if (!fd || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode) || held.st_uid != ::geteuid())
            continue;
        // A living copy holds the lock; the lock is then ours until the file is gone.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (::lstat(path.constData(), &named) == 0 && sameFile(held, named) && ::unlink(path.constData()) == 0)
            ++cleared;
    }
    return cleared;
}

void ClearDataFolderLeftovers() {
    const DataFolderLock lock;
    RemoveFileIfPresent(DataFolderFile(TempFileName));
    ClearAbandonedCopies(DataFolder());
}
