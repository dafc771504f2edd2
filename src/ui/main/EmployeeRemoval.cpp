#include "ui/main/EmployeeRemoval.h"

#include "store/Cp1252.h"
#include "store/DataFile.h"
#include "store/DataFolder.h"
#include "store/FixedRecordFile.h"
#include "store/Trim.h"

#include <QFileInfo>

#include <cstring>

QString ListedName(const PersonnelRecord& record) {
    return TrimBlanks(record.LastName) + QStringLiteral(", ") + TrimBlanks(record.FirstName);
}

bool IsKilledSlot(const char* slot) {
    // The same test as IsKilled on a decoded record, without decoding the other 26 fields of every slot; a removal
    // asks it of every slot, and a first name without a "$" cannot be the marker.
    const char* field = slot + PersonnelLayout::FirstName;
    if (!std::memchr(field, '$', PersonnelLayout::FirstNameWidth))
        return false;
    return GetFixedText(field, PersonnelLayout::FirstNameWidth).trimmed() == KilledMarker;
}

RemovalResult RemoveEmployee(qint32 slot, const QString& listedName) {
    // The identity check and the copy are one write to the folder: no other writer comes in between.
    const DataFolderLock lock(QFileInfo(DataFileName).path());
    CloseDataFile();
    CurrentRecord = PersonnelRecord();
    static const QByteArray blank = EncodePersonnelRecord(PersonnelRecord());
    if (!QFileInfo::exists(DataFileName))
        return {false, 0};
    qint64 before = 0;
    {
        FixedRecordFile file(DataFileName, PersonnelLayout::RecordSize, blank);
        file.open(FixedRecordFile::Access::ReadOnly);
        before = file.recordCount();
        if (slot < 1 || slot > before)
            return {false, static_cast<qint32>(before)};
        if (!listedName.isNull()) {
            QByteArray bytes = blank;
            file.readRecord(slot, bytes.data());
            if (ListedName(DecodePersonnelRecord(bytes.constData())) != listedName)
                return {false, static_cast<qint32>(before)};
        }
    }
    // Nothing is written into the slot: the copy leaves it out, and the file stays exactly as it was until the copy
    // takes its place. A slot marked by an earlier version's interrupted removal goes as well.
    const auto kept = RewriteRecordFileWithout(
        DataFileName, PersonnelLayout::RecordSize,
        [slot](qint64 n, const char* record) { return n == slot || IsKilledSlot(record); }, blank);
    return {true, static_cast<qint32>(kept)};
}
