#include "app/OlderDataConversion.h"

#include "app/AppGlobals.h"
#include "store/DataFile.h"
#include "store/DataFolder.h"
#include "store/FileError.h"
#include "store/FixedRecordFile.h"
#include "store/OldPersonnelRecord.h"
#include "store/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

[[noreturn]] void failErrno() {
    throw FileError(qt_error_string(errno));
}

QByteArray nativeName(const QString& name) {
    return QFile::encodeName(name);
}

void syncWorkingFolder() {
    const int fd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        failErrno();
    const int result = ::fsync(fd);
    const int saved = errno;
    ::close(fd);
    if (result != 0) {
        errno = saved;
        failErrno();
    }
}

// Reads up to size bytes; fewer only at the end of the file.
qint64 readFully(QFile& file, char* dest, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(dest + done, size - done);
        if (got < 0)
            throw FileError(file.errorString());
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

// A complete, durable copy of source under target (replaced in one rename), made through "TempFile.$$$".
void copyThroughTempFile(const QString& source, const QString& target) {
    QString problem;
    const std::unique_ptr<QFile> opened = OpenRegularFileForReading(source, &problem, true);
    if (!opened)
        throw FileError(problem);
    QFile& in = *opened;
    RemoveFileIfPresent(TempFileName);
    QFile out(TempFileName);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        throw FileError(out.errorString());
    QByteArray block(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 got = readFully(in, block.data(), block.size());
        if (got == 0)
            break;
        if (out.write(block.constData(), got) != got)
            throw FileError(out.errorString());
    }
    if (!out.flush())
        throw FileError(out.errorString());
    out.close();
    ReplaceFileAtomically(TempFileName, target);
}

// Puts the older data under "Vardel.Old" as well, without taking it from under the data file's name: a second
// name for the same file where the file system allows it, else a complete copy.
void keepOlderFile() {
    RemoveFileIfPresent(OldFileName());
    if (::link(nativeName(DataFileName).constData(), nativeName(OldFileName()).constData()) == 0) {
        syncWorkingFolder();
        return;
    }
    copyThroughTempFile(DataFileName, OldFileName());
}

} // namespace

QString OldFileName() {
    return AppTitle + QStringLiteral(".Old");
}

QString DatFileName() {
    return AppTitle + QStringLiteral(".Dat");
}

void TakeOverDatFile() {
    // The tests and the rename below must see the folder as no other writer leaves it half-way.
    DataFolderLock lock;
    // A folder's size (40 bytes on tmpfs) must not pass for a file's.
    RequirePlainDataFolderFile(DatFileName());
    RequirePlainDataFolderFile(DataFileName);
    const QFileInfo dat(DatFileName());
    if (!dat.exists())
        return;
    if (dat.size() == 0) {
        RemoveFileIfPresent(DatFileName());
        return;
    }
    const QFileInfo data(DataFileName);
    if (data.exists()) {
        if (data.size() > 0)
            return;
        // An empty data file holds no employees; the older file's take their place.
        RemoveFileIfPresent(DataFileName);
    }
    const QByteArray from = nativeName(DatFileName());
    const QByteArray to = nativeName(DataFileName);
    // Never over a data file that appeared meanwhile (a second tool at work, say).
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS)
            failErrno();
        // The file system cannot refuse to replace; the check above has to do.
        if (::rename(from.constData(), to.constData()) != 0)
            failErrno();
    }
    syncWorkingFolder();
}

bool IsOlderDataVersion(qint16 dataVersion) {
    return dataVersion < 0 || (dataVersion >= 1 && dataVersion <= 310) || dataVersion > 400;
}

DataFileFormat CheckDataFileFormat() {
    RequirePlainDataFolderFile(DataFileName);
    const QFileInfo data(DataFileName);
    if (!data.exists())
        return DataFileFormat::None;
    if (data.size() == 0) {
        DataFolderLock lock;
        RemoveFileIfPresent(DataFileName);
        return DataFileFormat::None;
    }
    // A present-format file always holds a whole first record; a shorter one can only be an older file of one
    // or two records, whose "DataVersion" would lie beyond its end.
    if (data.size() < PersonnelLayout::RecordSize)
        return DataFileFormat::Older;
    OpenDataFile();
    ReadSlot(1);
    const qint16 version = CurrentRecord.DataVersion;
    CloseDataFile();
    return IsOlderDataVersion(version) ? DataFileFormat::Older : DataFileFormat::Present;
}

qint32 ConvertOlderDataFile(double createdAt) {
    // Another program must not write the folder between the copy of the older file and the rename of the new one.
    DataFolderLock lock;
    keepOlderFile();

    QString problem;
    const std::unique_ptr<QFile> opened = OpenRegularFileForReading(DataFileName, &problem, true);
    if (!opened)
        throw FileError(problem);
    QFile& older = *opened;
    const qint32 count = RecordCountForLength(older.size(), OldPersonnelLayout::RecordSize);

    RemoveFileIfPresent(TempFileName);
    FixedRecordFile temp(TempFileName, PersonnelLayout::RecordSize);
    temp.createExclusive();
    // A cut-off last slot that the count takes in is completed from a blank older record.
    const QByteArray blank = EncodeOldPersonnelRecord(OldPersonnelRecord());
    QByteArray slot(OldPersonnelLayout::RecordSize, Qt::Uninitialized);
    const qint16 version = CurrentDataVersion();
    for (qint32 n = 1; n <= count; ++n) {
        slot = blank;
        readFully(older, slot.data(), slot.size());
        temp.writeRecord(n, ConvertOldRecord(slot.constData(), createdAt, version));
    }
    temp.sync();
    temp.close();
    older.close();
    ReplaceFileAtomically(TempFileName, DataFileName);
    return count;
}

void SetAsideOlderDataFile() {
    DataFolderLock lock;
    // One rename: the older data is under one of the two names at every instant.
    ReplaceFileAtomically(DataFileName, OldFileName());
}
