#pragma once

#include "core/history/ChangeLog.h"
#include "core/record/PersonnelRecord.h"

// What the history says of an employee record: its identity and the field changes between two versions. The
// operations that change records (employees/, convert/, exchange/) write their lines through these.

// The creation stamp to the millisecond, "yyyy-MM-dd hh:mm:ss.zzz". Records converted from an older file all
// share one stamp; among those, rank (from 1, their order in the data file) tells them apart as " #rank". A
// removal keeps the order of the others, and its own line names the rank it removed, so a reader can follow a
// rank back through the removals (EventsOfRecord).
QString StampIdentity(double created, int rank = 0);
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

// The events of the record with identity (as it stands now) in events (oldest first), newest first; a tied
// stamp's rank is followed back through the removals of its group.
QList<ChangeEvent> EventsOfRecord(const QList<ChangeEvent>& events, const QString& identity);
