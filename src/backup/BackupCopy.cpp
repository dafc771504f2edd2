#include "backup/BackupCopy.h"

#include "store/FileError.h"
#include "store/FixedRecordFile.h"
#include "store/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray nativeName(const QString& name) {
    return QFile::encodeName(name);
}

// Closes a descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now; false (errno set) when the close reports a failed write.
    bool reset() {
        if (m_fd < 0)
            return true;
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool isRegularFile(const QString& path) {
    struct stat st {};
    return ::stat(nativeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

QString ProgramFolder() {
    return QDir::currentPath();
}

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
    int opened = -1;
    try {
        opened = OpenRegularFile(source, O_RDONLY);
    } catch (const FileError& error) {
        return error.text();
    }
    Descriptor in(opened);

    // mkstemp creates the file exclusively and readable by its owner only.
    const QFileInfo targetInfo(target);
    QByteArray pattern =
        nativeName(WithTrailingSlash(targetInfo.absolutePath()) + QLatin1Char('.') + targetInfo.fileName()) + ".XXXXXX";
    Descriptor out(::mkstemp(pattern.data()));
    if (!out.valid())
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
        ssize_t done = 0;
        while (done < got) {
            const ssize_t put = ::write(out.get(), block.constData() + done, static_cast<size_t>(got - done));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return fail(errno);
            }
            done += put;
        }
    }
    if (::fsync(out.get()) != 0)
        return fail(errno);
    if (!out.reset())
        return fail(errno);
    try {
        ReplaceFileAtomically(tempName, target);
    } catch (const FileError& error) {
        ::unlink(pattern.constData());
        return error.text();
    }
    return QString();
}
