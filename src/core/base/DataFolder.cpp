#include "core/base/DataFolder.h"

#include "core/base/FileError.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The two locks live on single bytes of the one lock file: byte 0 is the write lock, byte 1 the program's claim.
constexpr off_t kWriteByte = 0;
constexpr off_t kClaimByte = 1;
constexpr int kPollMs = 20;

int g_waitMs = 5000;

void makeFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) == 0) {
        if (!S_ISDIR(st.st_mode))
            throw FileError(path + QStringLiteral(": ") + qt_error_string(ENOTDIR));
        return;
    }
    const QString parent = QFileInfo(path).path();
    if (parent != path)
        makeFolder(parent);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        throw FileError(path + QStringLiteral(": ") + qt_error_string(errno));
}

struct stat statFolder(const QString& folder) {
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
        throw FileError(ShownPath(folder) + QStringLiteral(": ") + qt_error_string(errno));
    if (!S_ISDIR(st.st_mode))
        throw FileError(ShownPath(folder) + QStringLiteral(": ") + qt_error_string(ENOTDIR));
    return st;
}

// The sticky bit is no protection here: it stops others removing this user's files, not planting their own
// (a link named "User.Log" before the log exists, say).
bool othersCanWrite(const struct stat& st) {
    return (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

// Opens (creating when missing) the folder's lock file. It is never followed through a link and must be this
// user's own: a lock file that someone else planted could be held by them for ever.
UniqueFd openLockFile(const QString& folder) {
    const QString path = QDir(folder).absoluteFilePath(DataFolderLockFileName);
    UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd) {
        const int error = errno;
        if (error == ELOOP)
            throw FileError(path + QStringLiteral("\r\nis a symbolic link. Vardel does not follow links in its data "
                                                  "folder; remove the link."));
        throw FileError(path + QStringLiteral(": ") + qt_error_string(error));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
        throw FileError(path + QStringLiteral("\r\nbelongs to another user or is not a plain file. Vardel cannot "
                                              "lock its data folder; remove that file."));
    return fd;
}

// One byte of the lock file, exclusively, without waiting. Open-file-description locks belong to the open file,
// not to the process, so two opens in one process exclude each other as two processes do.
bool tryLockByte(int fd, off_t byte) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0)
        return true;
    if (errno == EAGAIN || errno == EACCES || errno == EINTR)
        return false;
    throw FileError(qt_error_string(errno));
}

// The write locks this process holds, by folder identity, with their nesting depth.
struct Held {
    UniqueFd fd;
    int depth = 0;
};
std::mutex g_mutex;
std::map<QString, Held> g_held;

QString folderKey(const struct stat& st) {
    return QString::number(st.st_dev) + QLatin1Char(':') + QString::number(st.st_ino);
}

QString& chosenFolder() {
    static QString folder;
    return folder;
}

} // namespace

QString DataFolder() {
    const QString& chosen = chosenFolder();
    return chosen.isEmpty() ? QDir::currentPath() : chosen;
}

QString DataFolderFile(const QString& name) {
    return QDir(DataFolder()).filePath(name);
}

void UseDataFolder(const QString& folder, bool create) {
    if (folder.isEmpty()) {
        chosenFolder().clear();
        return;
    }
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    if (create) {
        EnsurePrivateFolder(absolute);
    } else {
        const QFileInfo info(absolute);
        if (!info.exists())
            throw FileError(QStringLiteral("the data folder %1 does not exist").arg(folder));
        if (!info.isDir())
            throw FileError(QStringLiteral("%1 is not a folder").arg(folder));
    }
    RequireSafeDataFolder(absolute);
    chosenFolder() = absolute;
}

QString ShownPath(const QString& path) {
    if (QDir::isRelativePath(path))
        return path;
    const QString inside = QDir(DataFolder()).relativeFilePath(path);
    const bool outside = inside.startsWith(QLatin1String("../")) || inside == QLatin1String("..");
    return outside || inside == QLatin1String(".") ? path : inside;
}

void EnsurePrivateFolder(const QString& path) {
    // A folder made here is open to its owner only: it will hold social security numbers. A folder that is
    // already there keeps its permissions, since it may serve others too (the files in it are owner-only).
    makeFolder(QDir::cleanPath(QDir(path).absolutePath()));
}

void MakeFilePrivate(const QString& path) {
    EnsurePrivateFolder(QFileInfo(path).absolutePath());
    const UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd)
        throw FileError(ShownPath(path) + QStringLiteral(": ") + qt_error_string(errno));
    if (::fchmod(fd.get(), 0600) != 0)
        throw FileError(ShownPath(path) + QStringLiteral(": ") + qt_error_string(errno));
}

QString UnsafeFolderText(const QString& path, unsigned mode) {
    return QStringLiteral("The data folder\r\n%1\r\ncan be changed by other users (its permissions are %2).\r\n"
                          "Vardel will not keep social security numbers there.\r\n"
                          "Make the folder private (chmod 700) or choose another one.")
        .arg(QDir(path).absolutePath(), QStringLiteral("%1").arg(mode & 07777, 4, 8, QLatin1Char('0')));
}

void RequireSafeDataFolder(const QString& path) {
    const struct stat st = statFolder(path);
    if (othersCanWrite(st))
        throw FileError(UnsafeFolderText(path, st.st_mode));
}

int SetDataFolderLockWait(int milliseconds) {
    const int previous = g_waitMs;
    g_waitMs = milliseconds;
    return previous;
}

int DataFolderLockWait() {
    return g_waitMs;
}

QString DataFolderBusyText(const QString& folder) {
    return QStringLiteral("The data folder\r\n%1\r\nis in use: another copy of Vardel or vardel-data is writing to it "
                          "and did not finish within %2 seconds.\r\nNothing was changed. Please try again in a moment.")
        .arg(QDir(folder).absolutePath())
        .arg((g_waitMs + 999) / 1000);
}

DataFolderLock::DataFolderLock(const QString& folder) {
    acquire(folder, g_waitMs);
}

DataFolderLock::DataFolderLock(const QString& folder, std::nothrow_t) {
    try {
        acquire(folder, 0);
    } catch (const FileError&) {
        m_held = false;
    }
}

void DataFolderLock::acquire(const QString& folder, int waitMs) {
    const struct stat st = statFolder(folder);
    if (othersCanWrite(st))
        throw FileError(UnsafeFolderText(folder, st.st_mode));
    const QString key = folderKey(st);
    {
        std::lock_guard lock(g_mutex);
        auto it = g_held.find(key);
        if (it != g_held.end()) {
            ++it->second.depth;
            m_key = key;
            m_held = true;
            return;
        }
    }
    UniqueFd fd = openLockFile(folder);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (!tryLockByte(fd.get(), kWriteByte)) {
        if (std::chrono::steady_clock::now() >= deadline)
            throw FileError(DataFolderBusyText(folder));
        QThread::msleep(kPollMs);
    }
    std::lock_guard lock(g_mutex);
    g_held[key] = Held{std::move(fd), 1};
    m_key = key;
    m_held = true;
}

DataFolderLock::~DataFolderLock() {
    if (!m_held)
        return;
    std::lock_guard lock(g_mutex);
    auto it = g_held.find(m_key);
    if (it == g_held.end())
        return;
    if (--it->second.depth == 0) {
        // Closing the only descriptor of this open file, with the entry, releases its lock.
        g_held.erase(it);
    }
}

bool HoldsDataFolderLock(const QString& folder) {
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
        return false;
    std::lock_guard lock(g_mutex);
    return g_held.count(folderKey(st)) > 0;
}

DataFolderClaim::DataFolderClaim(const QString& folder) : m_folder(folder) {}

DataFolderClaim::~DataFolderClaim() {
    release();
}

bool DataFolderClaim::tryAcquire() {
    if (m_fd)
        return true;
    UniqueFd fd = openLockFile(m_folder);
    if (!tryLockByte(fd.get(), kClaimByte))
        return false;
    m_fd = std::move(fd);
    return true;
}

void DataFolderClaim::release() {
    m_fd.reset();
}

bool ProgramHoldsFolder(const QString& folder) {
    const QString path = QDir(folder).absoluteFilePath(DataFolderLockFileName);
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 && errno == ENOENT)
        return false;
    const UniqueFd fd = openLockFile(folder);
    // An open-file-description lock of another open file answers here even within this process.
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = kClaimByte;
    probe.l_len = 1;
    if (::fcntl(fd.get(), F_OFD_GETLK, &probe) != 0)
        throw FileError(path + QStringLiteral(": ") + qt_error_string(errno));
    return probe.l_type != F_UNLCK;
}

QString ProgramHoldsFolderText(const QString& folder) {
    return QStringLiteral("Vardel is running on the data folder\r\n%1\r\nNothing was written: its windows show the "
                          "records as they are now. Quit Vardel first, then try again.")
        .arg(QDir(folder).absolutePath());
}

void RequireNoProgramOnFolder(const QString& folder) {
    if (ProgramHoldsFolder(folder))
        throw FileError(ProgramHoldsFolderText(folder));
}
