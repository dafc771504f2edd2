#include "store/FixedRecordFile.h"

#include "store/FileError.h"

#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr int kRewriteBlockBytes = 1 << 20;
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

[[noreturn]] void failErrno() {
    throw FileError(qt_error_string(errno));
}

// fsync of a file or folder by name.
void syncPath(const QString& path, int flags) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), flags | O_CLOEXEC);
    if (fd < 0)
        failErrno();
    if (::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        failErrno();
    }
    ::close(fd);
}

} // namespace

FixedRecordFile::FixedRecordFile(const QString& fileName, int recordSize)
    : m_file(fileName), m_recordSize(recordSize) {}

FixedRecordFile::~FixedRecordFile() {
    m_file.close();
}

void FixedRecordFile::fail() const {
    throw FileError(m_file.errorString());
}

void FixedRecordFile::open() {
    close();
    // The permissions apply only when the file is created.
    if (!m_file.open(QIODevice::ReadWrite, kOwnerOnly))
        fail();
}

void FixedRecordFile::close() {
    if (m_file.isOpen())
        m_file.close();
}

qint64 FixedRecordFile::length() const {
    return m_file.size();
}

qint32 FixedRecordFile::recordCount() const {
    return RecordCountForLength(length(), m_recordSize);
}

void FixedRecordFile::seekTo(qint32 n) {
    if (n < 1)
        throw FileError(QStringLiteral("Bad record number"));
    if (!m_file.seek(static_cast<qint64>(n - 1) * m_recordSize))
        fail();
}

qint64 FixedRecordFile::readRecord(qint32 n, char* dest) {
    if (n < 1)
        throw FileError(QStringLiteral("Bad record number"));
    const qint64 offset = static_cast<qint64>(n - 1) * m_recordSize;
    if (offset >= length())
        return 0;
    seekTo(n);
    qint64 done = 0;
    while (done < m_recordSize) {
        const qint64 got = m_file.read(dest + done, m_recordSize - done);
        if (got < 0)
            fail();
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

QByteArray FixedRecordFile::readRecord(qint32 n) {
    QByteArray buffer(m_recordSize, Qt::Uninitialized);
    buffer.truncate(readRecord(n, buffer.data()));
    return buffer;
}

void FixedRecordFile::writeRecord(qint32 n, const char* data) {
    if (n < 1 || n > recordCount() + 1)
        throw FileError(QStringLiteral("Bad record number"));
    seekTo(n);
    qint64 done = 0;
    while (done < m_recordSize) {
        const qint64 put = m_file.write(data + done, m_recordSize - done);
        if (put <= 0)
            fail();
        done += put;
    }
    // Unbuffered failures (disk full) must surface here, not at close.
    if (!m_file.flush())
        fail();
}

void FixedRecordFile::writeRecord(qint32 n, const QByteArray& data) {
    if (data.size() != m_recordSize)
        throw FileError(QStringLiteral("Bad record length"));
    writeRecord(n, data.constData());
}

qint64 FixedRecordFile::readRecords(qint32 first, qint32 count, char* dest) {
    if (first < 1 || count < 0)
        throw FileError(QStringLiteral("Bad record number"));
    const qint64 offset = static_cast<qint64>(first - 1) * m_recordSize;
    if (offset >= length())
        return 0;
    seekTo(first);
    const qint64 wanted = static_cast<qint64>(count) * m_recordSize;
    qint64 done = 0;
    while (done < wanted) {
        const qint64 got = m_file.read(dest + done, wanted - done);
        if (got < 0)
            fail();
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void FixedRecordFile::appendRecords(const QByteArray& records) {
    if (records.size() % m_recordSize != 0)
        throw FileError(QStringLiteral("Bad record length"));
    if (records.isEmpty())
        return;
    if (!m_file.seek(static_cast<qint64>(recordCount()) * m_recordSize))
        fail();
    qint64 done = 0;
    while (done < records.size()) {
        const qint64 put = m_file.write(records.constData() + done, records.size() - done);
        if (put <= 0)
            fail();
        done += put;
    }
    if (!m_file.flush())
        fail();
}

void FixedRecordFile::lockExclusive() {
    if (!m_file.isOpen())
        throw FileError(QStringLiteral("Bad file name or number"));
    constexpr int kAttempts = 100; // 100 x 50 ms
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (::flock(m_file.handle(), LOCK_EX | LOCK_NB) == 0)
            return;
        if (errno != EWOULDBLOCK && errno != EINTR)
            failErrno();
        QThread::msleep(50);
    }
    throw FileError(qt_error_string(EACCES));
}

void FixedRecordFile::sync() {
    if (!m_file.flush())
        fail();
    if (::fsync(m_file.handle()) != 0)
        failErrno();
}

qint32 RecordCountForLength(qint64 length, int recordSize) {
    qint64 whole = length / recordSize;
    const qint64 rest = length % recordSize;
    if (2 * rest > recordSize || (2 * rest == recordSize && whole % 2 == 1))
        ++whole;
    return static_cast<qint32>(whole);
}

void ReplaceFileAtomically(const QString& tempFile, const QString& target) {
    syncPath(tempFile, O_RDONLY);
    // rename(2) swaps the name over in one step: there is no instant without a whole target.
    if (::rename(QFile::encodeName(tempFile).constData(), QFile::encodeName(target).constData()) != 0)
        failErrno();
    QString folder = QFileInfo(target).absolutePath();
    syncPath(folder, O_RDONLY | O_DIRECTORY);
}

void RemoveFileIfPresent(const QString& fileName) {
    QFile file(fileName);
    if (!file.exists())
        return;
    if (!file.remove())
        throw FileError(file.errorString());
}

void FinishRewrite(const QString& tempFile, const QString& target, bool keptAny) {
    if (keptAny) {
        ReplaceFileAtomically(tempFile, target);
        return;
    }
    RemoveFileIfPresent(target);
    RemoveFileIfPresent(tempFile);
}

qint32 RewriteRecordFile(const QString& fileName, int recordSize,
                         const std::function<bool(qint32 n, const QByteArray& record)>& keep, const QByteArray& blank) {
    const QByteArray empty = blank.size() == recordSize ? blank : QByteArray(recordSize, ' ');
    // A temporary file left by an earlier crash is discarded, so the copy starts empty and owner-only.
    RemoveFileIfPresent(TempFileName);

    FixedRecordFile source(fileName, recordSize);
    FixedRecordFile temp(TempFileName, recordSize);
    source.open();
    temp.open();
    const qint32 count = source.recordCount();
    // Records move in blocks of about a megabyte each way, so that rewriting a large file costs about what
    // copying it costs rather than two system calls per record.
    const qint32 perBlock = std::max(1, kRewriteBlockBytes / recordSize);
    QByteArray in(static_cast<qsizetype>(perBlock) * recordSize, Qt::Uninitialized);
    QByteArray out;
    out.reserve(in.size());
    QByteArray record(recordSize, Qt::Uninitialized);
    qint32 kept = 0;
    for (qint32 first = 1; first <= count; first += perBlock) {
        const qint32 n = std::min(perBlock, count - first + 1);
        const qint64 got = source.readRecords(first, n, in.data());
        for (qint32 i = 0; i < n; ++i) {
            const qint64 at = static_cast<qint64>(i) * recordSize;
            // A cut-off last record is completed from the blank record, as a single read completes it.
            const qint64 have = std::clamp<qint64>(got - at, 0, recordSize);
            std::memcpy(record.data(), in.constData() + at, static_cast<size_t>(have));
            std::memcpy(record.data() + have, empty.constData() + have, static_cast<size_t>(recordSize - have));
            if (keep(first + i, record)) {
                out.append(record);
                ++kept;
            }
        }
        if (out.size() >= in.size() - recordSize || first + n > count) {
            temp.appendRecords(out);
            out.clear();
        }
    }
    temp.sync();
    temp.close();
    source.close();
    FinishRewrite(TempFileName, fileName, kept > 0);
    return kept;
}
