#include "core/base/StagingFolder.h"

#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace {

const QString kMark = QStringLiteral(".partial-");

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int syncFolder(const QString& path) {
    const UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd)
        return errno;
    return FileSystemCalls::Fsync(fd.get()) == 0 ? 0 : errno;
}

// The target's name of a staging folder's name, or an empty text for any other name.
QString targetOf(const QString& name) {
    const qsizetype mark = name.lastIndexOf(kMark);
    if (!name.startsWith(QLatin1Char('.')) || mark < 2 || name.size() != mark + kMark.size() + 6)
        return QString();
    const QStringView tail = QStringView(name).mid(mark + kMark.size());
    if (!std::all_of(tail.begin(), tail.end(), [](QChar c) { return c.unicode() < 0x80 && c.isLetterOrNumber(); }))
        return QString();
    return name.mid(1, mark - 1);
}

} // namespace

StagingFolder::StagingFolder(const QString& target) : m_target(QDir::cleanPath(QDir(target).absolutePath())) {
    const QFileInfo info(m_target);
    const QByteArray original =
        QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() + kMark) + "XXXXXX";
    for (int attempt = 0; attempt < 8; ++attempt) {
        QByteArray pattern = original;
        // mkdtemp makes the folder owner-only.
        if (!::mkdtemp(pattern.data()))
            throw FileError(QFile::decodeName(original) + QStringLiteral(": ") + qt_error_string(errno));
        UniqueFd fd(::open(pattern.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat mine {};
        struct stat named {};
        // A file system without such locks gets none; nothing is then ever cleared there.
        const bool locked = fd && (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK);
        if (locked && ::fstat(fd.get(), &mine) == 0 && ::lstat(pattern.constData(), &named) == 0 &&
            sameFile(mine, named)) {
            m_path = QFile::decodeName(pattern);
            m_lock = std::move(fd);
            return;
        }
        // A clearing run came between the creation and the lock and is removing the folder.
    }
    throw FileError(QFile::decodeName(original) + QStringLiteral(": ") + qt_error_string(EEXIST));
}

StagingFolder::~StagingFolder() {
    if (!m_published && !m_path.isEmpty())
        QDir(m_path).removeRecursively();
}

void StagingFolder::publish(bool replaceEmpty) {
    const auto fail = [](const QString& path, int error) {
        throw FileError(path + QStringLiteral(": ") + qt_error_string(error));
    };
    // The names of the flushed files inside must be on the disk before the folder shows under its own.
    if (const int error = syncFolder(m_path))
        fail(m_path, error);
    const QByteArray from = QFile::encodeName(m_path);
    const QByteArray to = QFile::encodeName(m_target);
    int done = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (done != 0 && errno == EEXIST && replaceEmpty)
        done = ::rename(from.constData(), to.constData()); // an empty folder only: rename(2) refuses any other
    if (done != 0)
        fail(m_target, errno);
    m_published = true;
    if (const int error = syncFolder(QFileInfo(m_target).absolutePath()))
        throw FileError(NotConfirmedText(m_target, qt_error_string(error)), FileOutcome::NotConfirmed);
}

int ClearAbandonedStagingFolders(const QString& parent, const std::function<bool(const QString& target)>& isTarget) {
    DIR* dir = ::opendir(QFile::encodeName(parent).constData());
    if (!dir)
        return 0;
    QStringList names;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        const QString target = targetOf(name);
        if (!target.isEmpty() && isTarget(target))
            names.append(name);
    }
    ::closedir(dir);

    int cleared = 0;
    for (const QString& name : std::as_const(names)) {
        const QString path = QDir(parent).filePath(name);
        const UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat held {};
        if (!fd || ::fstat(fd.get(), &held) != 0 || held.st_uid != ::geteuid())
            continue;
        // A living build holds the lock; the lock is then ours until the folder is gone.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        struct stat named {};
        if (::lstat(QFile::encodeName(path).constData(), &named) == 0 && sameFile(held, named) &&
            QDir(path).removeRecursively())
            ++cleared;
    }
    return cleared;
}
