#include "store/DataFile.h"

#include "store/DataFolder.h"
#include "store/FileError.h"
#include "store/FixedRecordFile.h"
#include "store/MappedFile.h"

#include <QFileInfo>

#include <cerrno>
#include <ctime>
#include <limits>
#include <memory>
#include <sys/stat.h>

QString DataFileName;
qint16 DataFileNumber = 0;
qint32 RecordCount = 0;
qint32 CurrentCount = 0;
qint32 PreviousCount = 0;
PersonnelRecord CurrentRecord;

namespace {

constexpr int kSlotSize = PersonnelLayout::RecordSize;

std::unique_ptr<FixedRecordFile> openFile;
// Held from open to close: every pattern of this module (update one, append) writes in place.
std::unique_ptr<DataFolderLock> openLock;

const QByteArray& blankSlot() {
    static const QByteArray blank = EncodePersonnelRecord(PersonnelRecord());
    return blank;
}

FixedRecordFile& requireOpen() {
    if (DataFileNumber <= 0 || !openFile)
        throw FileError(QStringLiteral("Bad file name or number"));
    return *openFile;
}

// The counts of the file last counted, by its identity and times: the options tab opens the file at every visit,
// and an unchanged file need not be counted again. A file changed within the last two seconds is not remembered,
// since a later write in the same tick of the file system's clock could leave its times as they were.
struct CountedFile {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};
    timespec changed{};
    DataFileCounts counts;
};
CountedFile lastCounted;

bool sameFile(const struct stat& st, const CountedFile& c) {
    return st.st_dev == c.device && st.st_ino == c.inode && st.st_size == c.size &&
           st.st_mtim.tv_sec == c.modified.tv_sec && st.st_mtim.tv_nsec == c.modified.tv_nsec &&
           st.st_ctim.tv_sec == c.changed.tv_sec && st.st_ctim.tv_nsec == c.changed.tv_nsec;
}

DataFileCounts countSlotsInPlace(FixedRecordFile& data);

DataFileCounts countSlots(FixedRecordFile& data) {
    struct stat st {};
    if (::fstat(data.handle(), &st) != 0)
        throw FileError(qt_error_string(errno));
    if (sameFile(st, lastCounted))
        return lastCounted.counts;
    const DataFileCounts counts = countSlotsInPlace(data);
    const time_t now = ::time(nullptr);
    if (st.st_mtim.tv_sec + 2 < now && st.st_ctim.tv_sec + 2 < now)
        lastCounted = {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim, counts};
    return counts;
}

// Counts current and previous employees from InactivationDate alone, reading the date in place in the mapped file:
// the count runs on every open, so it must cost no more than reading the file.
DataFileCounts countSlotsInPlace(FixedRecordFile& data) {
    DataFileCounts counts;
    const qint64 length = data.length();
    counts.records = RecordCountForLength(length, kSlotSize);
    constexpr int dateEnd = PersonnelLayout::InactivationDate + 8;
    const MappedFile map(data.handle(), length, data.fileName());
    map.read([&] {
        qint64 at = 0;
        for (qint64 slot = 0; slot < counts.records; ++slot, at += kSlotSize) {
            // A cut-off last slot without the whole date reads as blank, which is a current employee.
            const double inactivation = at + dateEnd <= length ? DecodeInactivationDate(map.data() + at) : 0;
            if (inactivation == 0)
                ++counts.current;
            else
                ++counts.previous;
        }
    });
    return counts;
}

} // namespace

void OpenDataFile() {
    if (DataFileNumber > 0)
        CloseDataFile();
    // One writer per data folder: another program's write gets a few seconds to finish first.
    auto lock = std::make_unique<DataFolderLock>(QFileInfo(DataFileName).path());
    auto file = std::make_unique<FixedRecordFile>(DataFileName, kSlotSize, blankSlot());
    file->open();
    const qint64 count = file->recordCount();
    // Slot numbers are 32-bit throughout the program; a longer file cannot be worked with safely.
    if (count > std::numeric_limits<qint32>::max())
        throw FileError(QStringLiteral("Overflow: \"%1\" holds more than %2 records")
                            .arg(DataFileName)
                            .arg(std::numeric_limits<qint32>::max()));
    openFile = std::move(file);
    openLock = std::move(lock);
    DataFileNumber = 1;
    const DataFileCounts counts = countSlots(*openFile);
    RecordCount = static_cast<qint32>(count);
    CurrentCount = static_cast<qint32>(counts.current);
    PreviousCount = static_cast<qint32>(counts.previous);
    if (RecordCount > 0)
        ReadSlot(RecordCount);
}

void CloseDataFile() {
    if (DataFileNumber <= 0)
        return;
    DataFileNumber = 0;
    if (openFile) {
        openFile->close();
        openFile.reset();
    }
    openLock.reset();
}

void ReadSlot(qint32 slot) {
    FixedRecordFile& file = requireOpen();
    QByteArray bytes = blankSlot();
    file.readRecord(slot, bytes.data());
    CurrentRecord = DecodePersonnelRecord(bytes.constData());
}

void WriteSlot(qint32 slot) {
    requireOpen().writeRecord(slot, EncodePersonnelRecord(CurrentRecord));
}

DataFileCounts CountDataFileReadOnly(const QString& fileName) {
    FixedRecordFile file(fileName, kSlotSize, blankSlot());
    file.open(FixedRecordFile::Access::ReadOnly);
    return countSlots(file);
}

// The copy replaces the data file by one atomic rename instead of deleting the data file and then renaming the
// copy: a crash at any instant leaves either the old file or the new one whole, never neither.
qint32 RewriteDataFile(const std::function<bool(const PersonnelRecord&)>& keep) {
    CloseDataFile();
    return static_cast<qint32>(RewriteRecordFile(
        DataFileName, kSlotSize,
        [&keep](qint64, const QByteArray& record) { return keep(DecodePersonnelRecord(record.constData())); },
        blankSlot()));
}

std::vector<PersonnelRecord> ReadAllRecordsReadOnly(const QString& fileName) {
    std::vector<PersonnelRecord> records;
    if (!QFileInfo::exists(fileName))
        return records;
    const QByteArray blank = EncodePersonnelRecord(PersonnelRecord());
    FixedRecordFile file(fileName, PersonnelLayout::RecordSize, blank);
    file.open(FixedRecordFile::Access::ReadOnly);
    const qint64 count = file.recordCount();
    records.reserve(size_t(count));
    QByteArray slot;
    for (qint64 n = 1; n <= count; ++n) {
        slot = blank;
        file.readRecord(n, slot.data());
        records.push_back(DecodePersonnelRecord(slot.constData()));
    }
    return records;
}
