#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

// A file of fixed-length records addressed by 1-based number, as the personnel data file (5000-byte slots) and
// the user list (500-byte records) are. Every failure throws FileError with the system's error text.
class FixedRecordFile {
public:
    FixedRecordFile(const QString& fileName, int recordSize);
    ~FixedRecordFile();
    FixedRecordFile(const FixedRecordFile&) = delete;
    FixedRecordFile& operator=(const FixedRecordFile&) = delete;

    // Opens for reading and writing; a missing file is created empty and readable by its owner only. An
    // existing file keeps its permissions. Opening an open file closes it first.
    void open();
    void close();
    bool isOpen() const { return m_file.isOpen(); }

    QString fileName() const { return m_file.fileName(); }
    int recordSize() const { return m_recordSize; }
    qint64 length() const;
    // length / record size, halves rounded to the even number (a cut-off last record counts when it is more
    // than half there).
    qint32 recordCount() const;

    // Reads record n into dest (recordSize bytes) and returns the number of bytes read: recordSize, fewer for a
    // cut-off last record, 0 beyond the end. Bytes of dest past those read are left as they were, so callers
    // pre-fill dest with their blank record.
    qint64 readRecord(qint32 n, char* dest);
    // Record n, or fewer bytes (none beyond the end).
    QByteArray readRecord(qint32 n);
    // Writes recordSize bytes as record n; n may be at most recordCount() + 1, so the file never gets holes. Whole
    // or not at all: a write that fails part-way puts back what the record held and the file's former length.
    void writeRecord(qint32 n, const char* data);
    void writeRecord(qint32 n, const QByteArray& data);

    // Takes an advisory exclusive lock on the open file so that a second program (another copy of the data
    // tool, say) cannot write it at the same time. Waits a few seconds for a holder that is about to finish,
    // then fails with "Permission denied". The lock ends with close().
    void lockExclusive();

    // Flushes written data to the disk.
    void sync();

    // The underlying file, for bulk reading.
    QFile& file() { return m_file; }

private:
    [[noreturn]] void fail() const;
    void seekTo(qint32 n);

    QFile m_file;
    int m_recordSize;
};

// Record count of a file of the given length: length / recordSize, halves rounded to the even number.
qint32 RecordCountForLength(qint64 length, int recordSize);

// The temporary file of every rewrite.
inline const QString TempFileName = QStringLiteral("TempFile.$$$");

// Makes the complete tempFile durable and puts it in target's place with one rename over target, so that at any
// instant target holds either its old or its new content, whole.
void ReplaceFileAtomically(const QString& tempFile, const QString& target);

// Ends a rewrite whose records were copied into tempFile: if any was kept, tempFile replaces target atomically;
// otherwise both files are deleted (an empty database has no file at all).
void FinishRewrite(const QString& tempFile, const QString& target, bool keptAny);

// Deletes a file if it exists; throws FileError when it exists and cannot be deleted.
void RemoveFileIfPresent(const QString& fileName);

// Copies the records of fileName for which keep(n, record) holds into "TempFile.$$$" (records 1, 2, 3, ...) and
// finishes the rewrite. fileName must not be open elsewhere in the program. A cut-off last record is completed
// from blank (recordSize bytes; blanks 0x20 when empty) before keep sees it. Returns the number of records kept.
qint32 RewriteRecordFile(const QString& fileName, int recordSize,
                         const std::function<bool(qint32 n, const QByteArray& record)>& keep,
                         const QByteArray& blank = QByteArray());
