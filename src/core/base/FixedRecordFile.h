#pragma once

#include "core/base/UniqueFd.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <sys/types.h>

struct statfs;

// A file of fixed-length records addressed by 1-based number, as the personnel data file (5000-byte slots) and
// the user list (500-byte records) are. Every failure throws FileError with the system's error text.
class FixedRecordFile {
public:
    // blank is the image of an empty record (recordSize bytes); by default recordSize blanks (0x20). It completes a
    // cut-off last record, on reading and before any write.
    FixedRecordFile(const QString& fileName, int recordSize, const QByteArray& blank = QByteArray());
    ~FixedRecordFile();
    FixedRecordFile(const FixedRecordFile&) = delete;
    FixedRecordFile& operator=(const FixedRecordFile&) = delete;

    enum class Access { ReadWrite, ReadOnly };
    // ReadWrite: a missing file is created empty and readable by its owner only. ReadOnly: a missing file is an
    // error and nothing is created. Either way the file is opened as a file of the data folder (OpenDataFolderFile:
    // a regular file of this account, never through a link, narrowed to 0600). Opening an open file closes it
    // first.
    void open(Access access = Access::ReadWrite);
    // Creates the file, which must not exist yet, owner-only and never through a symbolic link: the temporary file
    // of a rewrite is made this way so that nobody can have it written somewhere else.
    void createExclusive();
    void close();
    bool isOpen() const { return bool(m_fd); }
    // The descriptor, for copies made by the kernel; -1 when closed.
    int handle() const { return m_fd.get(); }

    QString fileName() const { return m_fileName; }
    int recordSize() const { return m_recordSize; }
    qint64 length() const;
    // length / record size, halves rounded to the even number (a cut-off last record counts when it is more
    // than half there).
    qint64 recordCount() const;

    // Reads record n into dest (recordSize bytes) and returns the number of bytes read: recordSize, fewer for a
    // cut-off last record, 0 beyond the end. Bytes of dest past those read are left as they were, so callers
    // pre-fill dest with their blank record.
    qint64 readRecord(qint64 n, char* dest);
    // Record n, or fewer bytes (none beyond the end).
    QByteArray readRecord(qint64 n);
    // Up to size bytes from offset, for bulk reading; fewer only at the end of the file.
    qint64 readAt(qint64 offset, char* dest, qint64 size);

    // Writes recordSize bytes as record n; n may be at most recordCount() + 1, so the file never gets holes. A
    // counted last record that is cut off is first completed from the blank record, so that a record written
    // after it does not leave a gap of zero bytes. Whole or not at all: a write that fails part-way puts back what
    // the record held and the file's former length.
    void writeRecord(qint64 n, const char* data);
    void writeRecord(qint64 n, const QByteArray& data);
    // Writes whole records (a multiple of recordSize bytes) after the last record, in one write.
    void appendRecords(const QByteArray& records);

    // Flushes written data to the disk.
    void sync();

private:
    [[noreturn]] void failErrno() const;
    void requireOpen() const;
    void completeCutRecord();
    void writeAt(qint64 offset, const char* data, qint64 size);

    QString m_fileName;
    int m_recordSize;
    QByteArray m_blank;
    UniqueFd m_fd;
};

// Record count of a file of the given length: length / recordSize, halves rounded to the even number.
qint64 RecordCountForLength(qint64 length, int recordSize);

// The temporary file of every rewrite.
inline const QString TempFileName = QStringLiteral("TempFile.$$$");

// Makes the complete tempFile durable and puts it in target's place with one rename over target, so that at any
// instant target holds either its old or its new content, whole. When the folder cannot be flushed after the
// rename, the FileError (FileOutcome::NotConfirmed, NotConfirmedText) says that the new file is in place.
void ReplaceFileAtomically(const QString& tempFile, const QString& target);
QString NotConfirmedText(const QString& target, const QString& reason);

// Ends a rewrite whose records were copied into tempFile: if any was kept, tempFile replaces target atomically;
// otherwise both files are deleted (an empty database has no file at all).
void FinishRewrite(const QString& tempFile, const QString& target, bool keptAny);

// Deletes a file if it exists; throws FileError when it exists and cannot be deleted.
void RemoveFileIfPresent(const QString& fileName);

// Copies the records of fileName for which keep(n, record) holds into "TempFile.$$$" beside it (records 1, 2, 3,
// ...) and finishes the rewrite, all under the data folder's write lock. fileName must not be open elsewhere in the
// program. A cut-off last record is completed from blank (recordSize bytes; blanks 0x20 when empty) before keep
// sees it. A rewrite that fails removes its temporary file and leaves fileName as it was. Returns the number of
// records kept.
qint64 RewriteRecordFile(const QString& fileName, int recordSize,
                         const std::function<bool(qint64 n, const QByteArray& record)>& keep,
                         const QByteArray& blank = QByteArray());

// Rewrites fileName without the records for which drop(n, record) holds, as RewriteRecordFile does, but in one
// pass that reads only what drop looks at, from the file mapped in place, and copies each run of kept records
// between dropped ones in as few calls as it can: written from the mapping on a file system that copies through
// the page cache anyway, else inside the kernel (copy_file_range, which may share the blocks or leave the copy to a
// server; read and write where the file system cannot). record points at recordSize bytes (a cut-off last record
// completed from blank). The copy is flushed once and renamed over the file; until that rename the file is
// untouched, so any failure, or the end of the process, leaves it exactly as it was. A missing file throws. When
// more is given, the records it returns, a batch at a time until it returns none, follow the kept ones in the copy:
// an append that a kill leaves all or nothing. Returns the number of records in the new file.
qint64 RewriteRecordFileWithout(const QString& fileName, int recordSize,
                                const std::function<bool(qint64 n, const char* record)>& drop,
                                const QByteArray& blank = QByteArray(), const std::function<QByteArray()>& more = {});

// Appends bytes to the end of a text file of the data folder (created owner-only when missing, opened as
// OpenDataFolderFile opens) in one piece: when the write fails
// part-way (a full disk), the file is cut back to its former length, so no torn line remains.
void AppendWhole(const QString& fileName, const QByteArray& bytes);

// The system calls through which data files are written, flushed and replaced. Tests put failing or counting ones
// in their place (a disk that fills part-way, a rename that fails, the flushes before a rename); each setter
// returns the previous function, nullptr restores the system's.
namespace FileSystemCalls {
using PwriteFunction = ssize_t (*)(int fd, const void* data, size_t size, off_t offset);
using RenameFunction = int (*)(const char* from, const char* to);
using FsyncFunction = int (*)(int fd);
using CopyFileRangeFunction = ssize_t (*)(int in, off_t* inOffset, int out, off_t* outOffset, size_t size,
                                          unsigned flags);
using FstatfsFunction = int (*)(int fd, struct statfs* info);
PwriteFunction SetPwrite(PwriteFunction function);
RenameFunction SetRename(RenameFunction function);
FsyncFunction SetFsync(FsyncFunction function);
CopyFileRangeFunction SetCopyFileRange(CopyFileRangeFunction function);
FstatfsFunction SetFstatfs(FstatfsFunction function);
// fsync(2), or the function a test put in its place: every flush of a file or folder that a replacement relies on
// goes through here.
int Fsync(int fd);
} // namespace FileSystemCalls
