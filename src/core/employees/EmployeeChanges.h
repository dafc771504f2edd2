#pragma once

#include "core/history/RecordHistory.h"
#include "core/store/PersonnelStore.h"

// The changes of an employee that the program makes, each with its own history lines, both or neither.

// The identity of slot in the data file, ranking it among the slots that share its creation stamp. Reads the
// file without the data file module's buffer.
QString SlotIdentity(qint32 slot);
// The same for the employee at slot whose creation stamp is created, already read.
QString SlotIdentity(qint32 slot, double created);

// The data file module's update-one pattern with its trace: the lines of the change from before to CurrentRecord,
// then CurrentRecord over slot of the open data file, with CurrentVersion (StoreConflict when another desk changed
// it since). In the folder a slot beyond RecordCount appends (AppendRecordWithHistory). When the log cannot take
// the lines, nothing is written, the data file is closed and ChangeLogError thrown; a failed slot write takes the
// lines back.
void WriteSlotWithHistory(qint32 slot, const PersonnelRecord& before, const QString& event);
// The append pattern with its trace: CurrentRecord after every other employee (AppendRecord); returns its key.
qint32 AppendRecordWithHistory(const PersonnelRecord& before, const QString& event);

// RemoveEmployee with its "removed" line, both or neither.
RemovalResult RemoveEmployeeWithHistory(qint32 slot, const QString& listedName, qint64 version = 0);
