#include "ui/main/EmployeeRemoval.h"

#include "store/Cp1252.h"
#include "store/DataFile.h"
#include "store/DataFolder.h"
#include "store/FixedRecordFile.h"
#include "store/Trim.h"

#include <QFileInfo>

QString ListedName(const PersonnelRecord& record) {
    return TrimBlanks(record.LastName) + QStringLiteral(", ") + TrimBlanks(record.FirstName);
}

bool IsKilledSlot(const char* slot) {
    // The same test as IsKilled on a decoded record, without decoding the other 26 fields of every slot.
    return GetFixedText(slot + PersonnelLayout::FirstName, PersonnelLayout::FirstNameWidth).trimmed() == KilledMarker;
}

RemovalResult RemoveEmployee(qint32 slot, const QString& listedName) {
    // The marker and the copy that drops it are one write to the folder: no other writer comes in between.
    const DataFolderLock lock(QFileInfo(DataFileName).path());
    OpenDataFile();
    bool marked = false;
    if (slot >= 1 && slot <= RecordCount) {
        ReadSlot(slot);
        if (listedName.isNull() || ListedName(CurrentRecord) == listedName) {
            CurrentRecord.FirstName = KilledMarker;
            WriteSlot(slot);
            marked = true;
        }
    }
    const qint32 before = RecordCount;
    CloseDataFile();
    CurrentRecord = PersonnelRecord();
    if (!marked)
        return {false, before};

    // The copy looks at the marker alone, in the stored bytes: a removal from a large file costs little more than
    // copying it. The blank slot completes a cut-off last slot as the module reads it.
    static const QByteArray blank = EncodePersonnelRecord(PersonnelRecord());
    const auto kept = RewriteRecordFile(
        DataFileName, PersonnelLayout::RecordSize,
        [](auto, const QByteArray& record) { return !IsKilledSlot(record.constData()); }, blank);
    return {true, static_cast<qint32>(kept)};
}
