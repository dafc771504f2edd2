#include "store/FixedRecordFile.h"

#include "store/FileError.h"

#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

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
    // The permissions apply only when the file is created. Unbuffered: records are written straight to the file,
    // and a read never returns bytes kept from before a write.
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered, kOwnerOnly))
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
    const qint64 offset = static_cast<qint64>(n - 1) * m_recordSize;
    const qint64 oldLength = length();
    // What the record held, so that a write that stops part-way can put it back.
    const QByteArray old = readRecord(n);
    const int fd = m_file.handle();
    qint64 done = 0;
    while (done < m_recordSize) {
        const ssize_t put = ::pwrite(fd, data + done, static_cast<size_t>(m_recordSize - done), offset + done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            // A full disk or a size limit stops the write: the file keeps the old record whole, and an appended
            // record leaves no cut-off rest behind. The error that stopped the write is the one reported.
            const int error = put < 0 ? errno : ENOSPC;
            const qint64 restore = std::min<qint64>(done, old.size());
            for (qint64 at = 0; at < restore;) {
                const ssize_t back = ::pwrite(fd, old.constData() + at, static_cast<size_t>(restore - at), offset + at);
                if (back <= 0 && errno != EINTR)
                    break;
                at += std::max<ssize_t>(back, 0);
            }
            const int cut = ::ftruncate(fd, oldLength);
            Q_UNUSED(cut);
            errno = error;
            failErrno();
        }
        done += put;
    }
}

void FixedRecordFile::writeRecord(qint32 n, const QByteArray& data) {
    if (data.size() != m_recordSize)
        throw FileError(QStringLiteral("Bad record length"));
    writeRecord(n, data.constData());
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
    qint32 kept = 0;
    QByteArray record(recordSize, Qt::Uninitialized);
    for (qint32 n = 1; n <= count; ++n) {
        record = empty;
        source.readRecord(n, record.data());
        if (keep(n, record))
            temp.writeRecord(++kept, record);
    }
    temp.sync();
    temp.close();
    source.close();
    FinishRewrite(TempFileName, fileName, kept > 0);
    return kept;
}
