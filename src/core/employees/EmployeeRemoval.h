#pragma once

#include "core/store/PersonnelStore.h"

#include <QString>

// Removing an employee from the personnel data file for good: the file is rewritten without the employee's slot,
// the others keeping their order. Slot numbers after the removed one move up by one, so the list must be built
// again at once. Earlier versions marked the slot with "$Killed$" before the copy; a marked slot that an
// interrupted removal of theirs left is dropped by the next removal.

// Removes the employee in slot of DataFileName, under the folder's write lock: the file is copied through
// "TempFile.$$$" in slot order without that slot and without any slot carrying the "$Killed$" marker, and the copy
// replaces the file in one rename; a copy that keeps nothing leaves no data file at all. Nothing is written into the
// data file itself, so a removal that fails or is killed leaves it exactly as it was. listedName, when not null, is
// column 0 of the list's row: the slot is removed only when its record still carries that name. The data file
// module's handle is closed and CurrentRecord left blank. File errors throw FileError, as everywhere in the module.
// Through the active store: on a server, version is the one the record was read with, and a record changed or
// removed since throws StoreConflict.
RemovalResult RemoveEmployee(qint32 slot, const QString& listedName = QString(), qint64 version = 0);
