#include "core/base/FixedRecordFile.h"

#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/base/KillPoint.h"
#include "core/base/MappedFile.h"
#include "core/base/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

constexpr int kRewriteBlockBytes = 1 << 20;
// The page cache takes a write's length as a hint for the size of the blocks of memory it holds the copy in. A
// quarter megabyte a call keeps the calls few, while larger blocks are often found only in memory that has not been
// touched for a long time, which on a virtual machine can cost more than the copy itself.
constexpr qint64 kMappedWriteBytes = 256 << 10;

FileSystemCalls::PwriteFunction g_pwrite = nullptr;
FileSystemCalls::RenameFunction g_rename = nullptr;
FileSystemCalls::CopyFileRangeFunction g_copyFileRange = nullptr;
FileSystemCalls::FsyncFunction g_fsync = nullptr;
FileSystemCalls::FstatfsFunction g_fstatfs = nullptr;

ssize_t systemPwrite(int fd, const void* data, size_t size, off_t offset) {
    return g_pwrite ? g_pwrite(fd, data, size, offset) : ::pwrite(fd, data, size, offset);
}

int systemRename(const char* from, const char* to) {
    return g_rename ? g_rename(from, to) : ::rename(from, to);
}

ssize_t systemCopyFileRange(int in, off_t* inOffset, int out, off_t* outOffset, size_t size) {
    return g_copyFileRange ? g_copyFileRange(in, inOffset, out, outOffset, size, 0)
                           : ::copy_file_range(in, inOffset, out, outOffset, size, 0);
}

int systemFsync(int fd) {
    return g_fsync ? g_fsync(fd) : ::fsync(fd);
}

int systemFstatfs(int fd, struct statfs* info) {
    return g_fstatfs ? g_fstatfs(fd, info) : ::fstatfs(fd, info);
}

// The file and the system's own text for the error: "User.Log: Is a directory", never a generic one. Every
// write of this module is whole or undone, so what failed was not saved.
[[noreturn]] void failWith(const QString& path, int error) {
    throw FileError(ShownPath(path) + QStringLiteral(": ") + qt_error_string(error), FileOutcome::NotWritten);
}

QByteArray nameOf(const QString& path) {
    return QFile::encodeName(path);
}

// fsync of a file or folder by name, never through a link.
// Returns 0 or the error.
int syncPath(const QString& path, int flags) {
    const UniqueFd fd(::open(nameOf(path).constData(), flags | O_CLOEXEC | O_NOFOLLOW));
    if (!fd)
        return errno;
    return systemFsync(fd.get()) == 0 ? 0 : errno;
}

// Writes all of data at offset; a short write is continued, so the error reported is the one that stopped it.
void writeFully(const QString& path, int fd, const char* data, qint64 size, qint64 offset) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t put = systemPwrite(fd, data + done, static_cast<size_t>(size - done), offset + done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            failWith(path, errno);
        }
        if (put == 0)
            failWith(path, ENOSPC);
        done += put;
    }
}

QString tempFileBeside(const QString& fileName) {
    const QString folder = QFileInfo(fileName).path();
    return folder == QLatin1String(".") ? TempFileName : folder + QLatin1Char('/') + TempFileName;
}

} // namespace

FileSystemCalls::PwriteFunction FileSystemCalls::SetPwrite(PwriteFunction function) {
    const PwriteFunction previous = g_pwrite;
    g_pwrite = function;
    return previous;
}

FileSystemCalls::RenameFunction FileSystemCalls::SetRename(RenameFunction function) {
    const RenameFunction previous = g_rename;
    g_rename = function;
    return previous;
}

FileSystemCalls::CopyFileRangeFunction FileSystemCalls::SetCopyFileRange(CopyFileRangeFunction function) {
    const CopyFileRangeFunction previous = g_copyFileRange;
    g_copyFileRange = function;
    return previous;
}

FileSystemCalls::FsyncFunction FileSystemCalls::SetFsync(FsyncFunction function) {
    const FsyncFunction previous = g_fsync;
    g_fsync = function;
    return previous;
}

FileSystemCalls::FstatfsFunction FileSystemCalls::SetFstatfs(FstatfsFunction function) {
    const FstatfsFunction previous = g_fstatfs;
    g_fstatfs = function;
    return previous;
}

int FileSystemCalls::Fsync(int fd) {
    return systemFsync(fd);
}

FixedRecordFile::FixedRecordFile(const QString& fileName, int recordSize, const QByteArray& blank)
    : m_fileName(fileName), m_recordSize(recordSize),
      m_blank(blank.size() == recordSize ? blank : QByteArray(recordSize, ' ')) {}

FixedRecordFile::~FixedRecordFile() {
    close();
}

void FixedRecordFile::failErrno() const {
    failWith(m_fileName, errno);
}

void FixedRecordFile::requireOpen() const {
    if (!m_fd)
        throw FileError(QStringLiteral("Bad file name or number"));
}

void FixedRecordFile::open(Access access) {
    close();
    m_fd = OpenDataFolderFile(m_fileName, access == Access::ReadOnly ? O_RDONLY : O_RDWR | O_CREAT);
}

void FixedRecordFile::createExclusive() {
    close();
    // O_EXCL with O_NOFOLLOW fails on anything already there, a planted link included, instead of writing into it.
    m_fd.reset(::open(nameOf(m_fileName).constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!m_fd) {
        const int error = errno;
        struct stat st {};
        if (::lstat(nameOf(m_fileName).constData(), &st) == 0 && S_ISLNK(st.st_mode))
            throw FileError(LinkRefusedText(m_fileName));
        failWith(m_fileName, error);
    }
}

void FixedRecordFile::close() {
    m_fd.reset();
}

qint64 FixedRecordFile::length() const {
    requireOpen();
    struct stat st {};
    if (::fstat(m_fd.get(), &st) != 0)
        failErrno();
    return st.st_size;
}

qint64 FixedRecordFile::recordCount() const {
    return RecordCountForLength(length(), m_recordSize);
}

qint64 FixedRecordFile::readAt(qint64 offset, char* dest, qint64 size) {
    requireOpen();
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::pread(m_fd.get(), dest + done, static_cast<size_t>(size - done), offset + done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            failErrno();
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

qint64 FixedRecordFile::readRecord(qint64 n, char* dest) {
    requireOpen();
    if (n < 1)
        throw FileError(QStringLiteral("Bad record number"));
    return readAt((n - 1) * m_recordSize, dest, m_recordSize);
}

QByteArray FixedRecordFile::readRecord(qint64 n) {
    QByteArray buffer(m_recordSize, Qt::Uninitialized);
    buffer.truncate(readRecord(n, buffer.data()));
    return buffer;
}

void FixedRecordFile::writeAt(qint64 offset, const char* data, qint64 size) {
    writeFully(m_fileName, m_fd.get(), data, size, offset);
}

void FixedRecordFile::completeCutRecord() {
    const qint64 have = length();
    const qint64 counted = RecordCountForLength(have, m_recordSize) * m_recordSize;
    // Only a last record counted by rounding up ends before its end; writing past it would leave zero bytes.
    if (have < counted) {
        const qint64 from = have % m_recordSize;
        writeAt(have, m_blank.constData() + from, m_recordSize - from);
    }
}

void FixedRecordFile::writeRecord(qint64 n, const char* data) {
    requireOpen();
    if (n < 1 || n > recordCount() + 1)
        throw FileError(QStringLiteral("Bad record number"));
    const qint64 offset = (n - 1) * m_recordSize;
    const qint64 oldLength = length();
    // What the record held, so that a write that stops part-way can put it back.
    const QByteArray old = readRecord(n);
    try {
        completeCutRecord();
        writeAt(offset, data, m_recordSize);
    } catch (const FileError&) {
        // A full disk or a size limit stopped the write: the file keeps the old record whole, and an appended
        // record leaves no cut-off rest behind. Putting back may stop where the write stopped; what lies beyond
        // was never changed. The error that stopped the write is the one reported.
        for (qint64 at = 0; at < old.size();) {
            const ssize_t back =
                ::pwrite(m_fd.get(), old.constData() + at, static_cast<size_t>(old.size() - at), offset + at);
            if (back < 0 && errno == EINTR)
                continue;
            if (back <= 0)
                break;
            at += back;
        }
        const int cut = ::ftruncate(m_fd.get(), oldLength);
        Q_UNUSED(cut);
        throw;
    }
}

void FixedRecordFile::writeRecord(qint64 n, const QByteArray& data) {
    if (data.size() != m_recordSize)
        throw FileError(QStringLiteral("Bad record length"));
    writeRecord(n, data.constData());
}

void FixedRecordFile::appendRecords(const QByteArray& records) {
    requireOpen();
    if (records.size() % m_recordSize != 0)
        throw FileError(QStringLiteral("Bad record length"));
    if (records.isEmpty())
        return;
    completeCutRecord();
    writeAt(recordCount() * m_recordSize, records.constData(), records.size());
}

void FixedRecordFile::sync() {
    requireOpen();
    if (systemFsync(m_fd.get()) != 0)
        failErrno();
}

qint64 RecordCountForLength(qint64 length, int recordSize) {
    qint64 whole = length / recordSize;
    const qint64 rest = length % recordSize;
    if (2 * rest > recordSize || (2 * rest == recordSize && whole % 2 == 1))
        ++whole;
    return whole;
}

void ReplaceFileAtomically(const QString& tempFile, const QString& target) {
    if (const int error = syncPath(tempFile, O_RDONLY))
        failWith(tempFile, error);
    // rename(2) swaps the name over in one step: there is no instant without a whole target. The target is never
    // deleted first.
    if (systemRename(nameOf(tempFile).constData(), nameOf(target).constData()) != 0)
        failWith(target, errno);
    // From here the new file is the target: a failure says so rather than pass the change off as lost.
    if (const int error = syncPath(QFileInfo(target).absolutePath(), O_RDONLY | O_DIRECTORY))
        throw FileError(NotConfirmedText(target, qt_error_string(error)), FileOutcome::NotConfirmed);
}

QString NotConfirmedText(const QString& target, const QString& reason) {
    return QStringLiteral("%1 was written and is in place, but could not be confirmed on disk (%2): a crash of "
                          "the system now could still lose it.")
        .arg(ShownPath(target), reason);
}

void RemoveFileIfPresent(const QString& fileName) {
    if (::unlink(nameOf(fileName).constData()) != 0 && errno != ENOENT)
        failWith(fileName, errno);
}

void FinishRewrite(const QString& tempFile, const QString& target, bool keptAny) {
    if (keptAny) {
        ReplaceFileAtomically(tempFile, target);
        return;
    }
    RemoveFileIfPresent(target);
    RemoveFileIfPresent(tempFile);
}

qint64 RewriteRecordFile(const QString& fileName, int recordSize,
                         const std::function<bool(qint64 n, const QByteArray& record)>& keep, const QByteArray& blank) {
    const QString folder = QFileInfo(fileName).path();
    // From before the temporary file exists until after it has replaced the target, no other writer may touch it.
    DataFolderLock lock(folder);
    const QString tempName = tempFileBeside(fileName);
    // Under the lock no other writer is using the name: a temporary file that is there was left by a writer that
    // died. Removing it (a link included, not what it points to) lets the exclusive create below start afresh.
    RemoveFileIfPresent(tempName);

    FixedRecordFile source(fileName, recordSize, blank);
    FixedRecordFile temp(tempName, recordSize, blank);
    source.open();
    temp.createExclusive();
    try {
        const QByteArray empty = blank.size() == recordSize ? blank : QByteArray(recordSize, ' ');
        const qint64 count = source.recordCount();
        // Records move in blocks of about a megabyte each way, so that rewriting a large file costs about what
        // copying it costs rather than a few system calls per record.
        const qint64 perBlock = std::max(1, kRewriteBlockBytes / recordSize);
        QByteArray in(perBlock * recordSize, Qt::Uninitialized);
        QByteArray out;
        out.reserve(in.size());
        QByteArray record(recordSize, Qt::Uninitialized);
        qint64 kept = 0;
        for (qint64 first = 1; first <= count; first += perBlock) {
            const qint64 n = std::min(perBlock, count - first + 1);
            const qint64 got = source.readAt((first - 1) * recordSize, in.data(), n * recordSize);
            for (qint64 i = 0; i < n; ++i) {
                // A cut-off last record is completed from the blank record, as reading it alone completes it.
                const qint64 at = i * recordSize;
                const qint64 have = std::clamp<qint64>(got - at, 0, recordSize);
                std::memcpy(record.data(), in.constData() + at, static_cast<size_t>(have));
                std::memcpy(record.data() + have, empty.constData() + have, static_cast<size_t>(recordSize - have));
                if (keep(first + i, record)) {
                    out.append(record);
                    ++kept;
                }
            }
            temp.appendRecords(out);
            out.clear();
        }
        temp.sync();
        temp.close();
        source.close();
        FinishRewrite(tempName, fileName, kept > 0);
        return kept;
    } catch (...) {
        // The partial copy holds the same personal data as the file and may be what filled the disk.
        temp.close();
        ::unlink(nameOf(tempName).constData());
        throw;
    }
}

namespace {

// Whether a copy inside the kernel costs less than one made from pages the process already holds. The file systems
// named here copy through the page cache just as a write from a mapping does, only with more work per page; others
// may share the blocks (btrfs, XFS) or let the server copy (NFS, SMB), and a network share is better not sent the
// bytes again.
bool kernelCopyIsCheaper(int fd) {
    struct statfs info {};
    if (systemFstatfs(fd, &info) != 0)
        return true;
    switch (static_cast<unsigned long>(info.f_type)) {
    case EXT4_SUPER_MAGIC: // ext2 and ext3 as well
    case TMPFS_MAGIC:
        return false;
    default:
        return true;
    }
}

// Copies size bytes from offset from of in to offset to of out. Where the file is mapped and its pages are already
// in the process (a removal has just read each record's stamp and mark there), a write from the mapping is the one
// copy; otherwise the kernel copies the bytes without bringing them into the process. A file system or kernel that
// cannot (another device, no support) gets the same bytes through a buffer, and so does every later run of the same
// copy.
class RunCopier {
public:
    RunCopier(int in, int out, const QString& inName, const QString& outName, const MappedFile& map)
        : m_in(in), m_out(out), m_inName(inName), m_outName(outName),
          m_mapped(map.size() > 0 && !kernelCopyIsCheaper(in) ? map.data() : nullptr) {}

    void copy(qint64 from, qint64 to, qint64 size) {
        while (size > 0 && m_mapped) {
            const qint64 part = std::min<qint64>(size, kMappedWriteBytes);
            const ssize_t put = systemPwrite(m_out, m_mapped + from, static_cast<size_t>(part), to);
            if (put < 0 && errno == EINTR)
                continue;
            // A page of the mapping that is gone: the file was cut short under the lock's back.
            if (put < 0 && errno == EFAULT)
                throw FileError(MappedFileShrankText(m_inName), FileOutcome::NotWritten);
            if (put < 0)
                failWith(m_outName, errno);
            if (put == 0)
                failWith(m_outName, ENOSPC);
            from += put;
            to += put;
            size -= put;
        }
        while (size > 0 && m_kernel) {
            off_t inOffset = from;
            off_t outOffset = to;
            const ssize_t done = systemCopyFileRange(m_in, &inOffset, m_out, &outOffset, static_cast<size_t>(size));
            if (done < 0) {
                if (errno == EINTR)
                    continue;
                if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL)
                    failWith(m_outName, errno);
                m_kernel = false;
                break;
            }
            // The source ended before the run did: it was cut short under the lock's back.
            if (done == 0)
                failWith(m_inName, EIO);
            from += done;
            to += done;
            size -= done;
        }
        while (size > 0) {
            if (m_buffer.isEmpty())
                m_buffer.resize(kRewriteBlockBytes);
            const qint64 part = std::min<qint64>(size, m_buffer.size());
            qint64 got = 0;
            while (got < part) {
                const ssize_t r = ::pread(m_in, m_buffer.data() + got, static_cast<size_t>(part - got), from + got);
                if (r < 0 && errno == EINTR)
                    continue;
                if (r < 0)
                    failWith(m_inName, errno);
                if (r == 0)
                    failWith(m_inName, EIO);
                got += r;
            }
            writeFully(m_outName, m_out, m_buffer.constData(), part, to);
            from += part;
            to += part;
            size -= part;
        }
    }

private:
    int m_in;
    int m_out;
    QString m_inName;
    QString m_outName;
    const char* m_mapped;
    bool m_kernel = true;
    QByteArray m_buffer;
};

} // namespace

qint64 RewriteRecordFileWithout(const QString& fileName, int recordSize,
                                const std::function<bool(qint64 n, const char* record)>& drop, const QByteArray& blank,
                                const std::function<QByteArray()>& more) {
    DataFolderLock lock(QFileInfo(fileName).path());
    const QString tempName = tempFileBeside(fileName);
    RemoveFileIfPresent(tempName);

    const UniqueFd source(::open(nameOf(fileName).constData(), O_RDONLY | O_CLOEXEC));
    if (!source)
        failWith(fileName, errno);
    const int in = source.get();
    FixedRecordFile temp(tempName, recordSize, blank);
    try {
        struct stat st {};
        if (::fstat(in, &st) != 0)
            failWith(fileName, errno);
        const qint64 length = st.st_size;
        const MappedFile map(in, length, fileName);
        temp.createExclusive();
        RunCopier copier(in, temp.handle(), fileName, tempName, map);

        // Which records stay, read from the mapping in one pass; a record's bytes are touched only where drop
        // looks. Runs of kept whole records are then copied in as few calls as there are dropped records.
        const qint64 count = RecordCountForLength(length, recordSize);
        const qint64 whole = std::min(count, length / recordSize);
        QList<qint64> dropped;
        QByteArray last;
        map.read([&] {
            for (qint64 n = 1; n <= whole; ++n)
                if (drop(n, map.data() + (n - 1) * recordSize))
                    dropped.append(n);
        });
        if (count > whole) {
            // The cut-off last record is completed from the blank record, as reading it alone completes it.
            last = blank.size() == recordSize ? blank : QByteArray(recordSize, ' ');
            const qint64 have = length - whole * recordSize;
            map.read([&] { std::memcpy(last.data(), map.data() + whole * recordSize, static_cast<size_t>(have)); });
            if (drop(count, last.constData()))
                last.clear();
        }

        qint64 out = 0;
        qint64 runStart = 1;
        dropped.append(whole + 1);
        for (const qint64 n : std::as_const(dropped)) {
            const qint64 size = (n - runStart) * recordSize;
            if (size > 0)
                copier.copy((runStart - 1) * recordSize, out, size);
            out += size;
            runStart = n + 1;
        }
        if (!last.isEmpty()) {
            writeFully(tempName, temp.handle(), last.constData(), recordSize, out);
            out += recordSize;
        }
        if (more)
            for (QByteArray batch = more(); !batch.isEmpty(); batch = more()) {
                writeFully(tempName, temp.handle(), batch.constData(), batch.size(), out);
                out += batch.size();
                KillPoint("rewrite-batch");
            }
        temp.close();
        const qint64 kept = out / recordSize;
        // The one flush of the copy comes with the rename that puts it in place.
        FinishRewrite(tempName, fileName, kept > 0);
        return kept;
    } catch (...) {
        temp.close();
        ::unlink(nameOf(tempName).constData());
        throw;
    }
}

void AppendWhole(const QString& fileName, const QByteArray& bytes) {
    UniqueFd fd = OpenDataFolderFile(fileName, O_WRONLY | O_CREAT);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        failWith(fileName, errno);
    try {
        writeFully(fileName, fd.get(), bytes.constData(), bytes.size(), st.st_size);
    } catch (...) {
        // Whole or not at all: cut off whatever part of the line reached the file.
        const int cut = ::ftruncate(fd.get(), st.st_size);
        Q_UNUSED(cut);
        throw;
    }
    // A file system that writes back late (a network share) may report only here that the bytes never arrived: the
    // close is part of the append and its failure is the append's.
    if (::close(fd.release()) != 0)
        failWith(fileName, errno);
}
