#pragma once

#include <QtGlobal>

#include <functional>

// A read-only pass over all employees of the active store for the employee list: every slot once, in slot order;
// in the folder, read in place from the file mapped into memory. It opens, counts and closes the file as OpenDataFile
// and CloseDataFile do, so one pass both refreshes RecordCount, CurrentCount and PreviousCount and hands over the
// slots; nothing of the file is kept in memory afterwards.

// slot counts from 1; bytes are the slot's 5000 bytes, valid only during the call.
using SlotVisitor = std::function<void(qint32 slot, const char* bytes)>;

// Closes the module's file if it is open, takes the same lock as OpenDataFile (a missing file is created empty,
// as OpenDataFile creates it), visits slots 1 to the record count and closes the file again. A cut-off last slot
// is completed from the blank record first, as ReadSlot completes it. File errors throw FileError.
void ScanDataFile(const SlotVisitor& visit);

// The read-one pattern (open, read slot n into CurrentRecord, close) without the count that OpenDataFile makes on
// every open: showing the highlighted employee needs no counts, and the list's rows change as fast as the arrow
// keys repeat. Beyond the end of the file CurrentRecord becomes a blank record, as ReadSlot makes it. The counts
// keep their values; CurrentVersion takes the record's version. File errors throw FileError.
void ReadOneSlot(qint32 slot);
