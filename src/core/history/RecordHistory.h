#pragma once

#include "core/history/ChangeLog.h"
#include "core/record/PersonnelRecord.h"
#include "core/employees/EmployeeRemoval.h"

// What the history says of an employee record: its identity, the field changes between two versions, and the
// record changes of the program written together with their lines.

// The creation stamp to the millisecond, "yyyy-MM-dd hh:mm:ss.zzz". Records converted from an older file all
// share one stamp; among those, rank (from 1, their order in the data file) tells them apart as " #rank". A
// removal keeps the order of the others, and its own line names the rank it removed, so a reader can follow a
// rank back through the removals (EventsOfRecord).
QString RecordIdentity(double created, int rank = 0);
// The identity of slot in the data file, ranking it among the slots that share its creation stamp. Reads the
// file without the data file module's buffer.
QString SlotIdentity(qint32 slot);
// The same for the employee at slot whose creation stamp is created, already read.
QString SlotIdentity(qint32 slot, double created);

// "***-**-" and the last four characters; empty stays empty.
QString MaskSocialSecurityNumber(const QString& number);

struct FieldChange {
    QString Field;
    QString OldValue;
    QString NewValue;
    bool operator==(const FieldChange&) const = default;
};
// The fields that differ between before and after, in the order of the record form, with their captions and the
// values as the form shows them; the social security number masked, passwords never involved. Sworn shows as
// "Sworn"/"Non-sworn" under "Sworn Employee", the picture's path under "Picture". Stamps and the version are
// not fields a clerk changes and are left out. A record added is its diff from a blank record, with the sworn
// state always named.
QList<FieldChange> DiffRecords(const PersonnelRecord& before, const PersonnelRecord& after, bool adding = false);

// The events of a change of record, one per field change, for the employee as after names him or her.
QList<ChangeEvent> RecordEvents(const QString& event, const PersonnelRecord& before, const PersonnelRecord& after,
                                const QString& identity, bool adding = false);

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

// The events of the record with identity (as it stands now) in events (oldest first), newest first; a tied
// stamp's rank is followed back through the removals of its group.
QList<ChangeEvent> EventsOfRecord(const QList<ChangeEvent>& events, const QString& identity);

// ConvertOlderDataFile with its one "converted" line, which names the records' shared creation stamp.
qint32 ConvertOlderDataFileWithHistory(double createdAt);

struct ImportPlan;
// ApplyImport with an "import" line for each filled field of each accepted record, both or neither.
qint64 ApplyImportWithHistory(const ImportPlan& plan);
