#include "core/store/DataFile.h"

#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/store/FolderStore.h"

#include <QFileInfo>

// AppTitle + ".Data" (DataFileBaseName), spelt out: both are built before main, in no set order.
QString DataFileName = QStringLiteral("Vardel.Data");
qint16 DataFileNumber = 0;
qint32 RecordCount = 0;
qint32 CurrentCount = 0;
qint32 PreviousCount = 0;
PersonnelRecord CurrentRecord;

namespace {

void requireOpen() {
    if (DataFileNumber <= 0)
        throw FileError(QStringLiteral("Bad file name or number"));
}

void takeCounts(const DataFileCounts& counts) {
    RecordCount = static_cast<qint32>(counts.records);
    CurrentCount = static_cast<qint32>(counts.current);
    PreviousCount = static_cast<qint32>(counts.previous);
}

} // namespace

void OpenDataFile() {
    if (DataFileNumber > 0)
        CloseDataFile();
    FolderStore* folder = ActiveFolder();
    // The folder holds its file and lock until the close; a server is asked for its counts as they are now.
    const DataFileCounts counts = folder ? folder->OpenDataFile() : ActiveStore().Counts();
    DataFileNumber = 1;
    takeCounts(counts);
    if (folder && RecordCount > 0)
        ReadSlot(RecordCount);
}

void CloseDataFile() {
    if (DataFileNumber <= 0)
        return;
    DataFileNumber = 0;
    if (FolderStore* folder = ActiveFolder())
        folder->CloseDataFile();
}

bool ReadSlot(qint32 slot) {
    requireOpen();
    return ActiveStore().Read(slot, CurrentRecord, CurrentVersion);
}

void WriteSlot(qint32 slot) {
    requireOpen();
    ActiveStore().Update(slot, CurrentRecord, CurrentVersion);
}

RecordKey AppendRecord() {
    requireOpen();
    const RecordKey key = ActiveStore().Append(CurrentRecord);
    ++RecordCount;
    if (CurrentRecord.InactivationDate == 0)
        ++CurrentCount;
    else
        ++PreviousCount;
    return key;
}

DataFileCounts DataFileCountsNow() {
    return ActiveStore().Counts();
}

bool DataFilePresent() {
    return !ActiveFolder() || QFileInfo::exists(DataFolderFile(DataFileName));
}

bool HoldsSlot(qint32 slot) {
    if (ActiveFolder())
        return slot >= 1 && slot <= ActiveStore().Counts().records;
    PersonnelRecord record;
    qint64 version = 0;
    return ActiveStore().Read(slot, record, version);
}

std::vector<PersonnelRecord> ReadAllRecords(std::vector<qint32>* keys) {
    std::vector<PersonnelRecord> records;
    if (ActiveFolder()) {
        records = ReadAllRecordsReadOnly(DataFolderFile(DataFileName));
        if (keys)
            for (size_t n = 1; n <= records.size(); ++n)
                keys->push_back(static_cast<qint32>(n));
        return records;
    }
    ActiveStore().Scan([&](RecordKey key, const char* bytes) {
        records.push_back(DecodePersonnelRecord(bytes));
        if (keys)
            keys->push_back(key);
    });
    return records;
}

qint32 RewriteDataFile(const std::function<bool(const PersonnelRecord&)>& keep) {
    CloseDataFile();
    if (ActiveFolder())
        return RewriteFolderDataFile(keep);
    std::vector<PersonnelRecord> kept;
    ActiveStore().Scan([&](RecordKey, const char* bytes) {
        PersonnelRecord record = DecodePersonnelRecord(bytes);
        if (keep(record))
            kept.push_back(std::move(record));
    });
    ActiveStore().ReplaceAll(kept);
    return static_cast<qint32>(kept.size());
}
