#include "store/DataFile.h"

#include "store/DataFolder.h"
#include "store/FileError.h"
#include "store/FixedRecordFile.h"
#include "store/MappedFile.h"

#include <QFileInfo>

#include <limits>
#include <memory>

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

// Counts current and previous employees from InactivationDate alone, reading the date in place in the mapped file:
// the count runs on every open, so it must cost no more than reading the file.
DataFileCounts countSlots(FixedRecordFile& data) {
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
