#include "core/employees/EmployeeRemoval.h"

#include "core/base/Cp1252.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"
#include "core/base/Trim.h"

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

RemovalResult RemoveEmployee(qint32 slot, const QString& listedName, qint64 version) {
    CloseDataFile();
    CurrentRecord = PersonnelRecord();
    return ActiveStore().Remove(slot, listedName, version);
}
