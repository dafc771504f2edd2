#pragma once

#include "store/PersonnelRecord.h"

#include <QString>

// Removing an employee from the personnel data file for good: the record's slot is marked with "$Killed$", and the
// file is rewritten without every marked slot, the others keeping their order. Slot numbers after the removed one
// move up by one, so the list must be built again at once.

// The employee as the list names it in column 0: "Last, First", each trimmed.
QString ListedName(const PersonnelRecord& record);

// Whether a 5000-byte slot as stored carries the removal marker (its FirstName, trimmed, is "$Killed$"); reads the
// one field only.
bool IsKilledSlot(const char* slot);

struct RemovalResult {
    // False when nothing was removed: the slot lies beyond the end of the file or holds someone other than the
    // employee the list named (the file was changed by another program after the list was built).
    bool Removed = false;
    // Records in the file afterwards; 0 means the data file is gone.
    qint32 RecordsLeft = 0;
};

// Removes the employee in slot of DataFileName through the data file module: OpenDataFile, the marker written with
// ReadSlot and WriteSlot, CloseDataFile, then the copy through "TempFile.$$$" in slot order that leaves out every
// marked slot, so that one left by an interrupted removal goes as well. The copy replaces the data file in one
// rename; a copy that keeps nothing leaves no data file at all. listedName, when not null, is column 0 of the
// list's row: the slot is marked only when its record still carries that name. CurrentRecord is left blank.
// File errors throw FileError, as everywhere in the module.
RemovalResult RemoveEmployee(qint32 slot, const QString& listedName = QString());
