#include "core/employees/EmployeeChanges.h"

#include "core/employees/EmployeeRemoval.h"
#include "core/record/RecordIdentity.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"

QString SlotIdentity(qint32 slot, double created) {
    const auto [rank, tied] = ActiveStore().StampRank(slot);
    // Every employee ties with himself or herself: none tied means nobody (or no data file) to name.
    if (tied == 0)
        return QString();
    return StampIdentity(created, tied > 1 ? rank : 0);
}

QString SlotIdentity(qint32 slot) {
    PersonnelRecord record;
    qint64 version = 0;
    if (!ActiveStore().Read(slot, record, version))
        return QString();
    return SlotIdentity(slot, record.RecordCreated);
}

void WriteSlotWithHistory(qint32 slot, const PersonnelRecord& before, const QString& event) {
    // Slots beyond the count are the folder's old way of adding; a server's keys are not counted from 1.
    if (!ActiveStore().KeysNeverMove() && slot > RecordCount) {
        AppendRecordWithHistory(before, event);
        return;
    }
    // One in the store is ranked among its stamp's records.
    const QList<ChangeEvent> events =
        RecordEvents(event, before, CurrentRecord, SlotIdentity(slot, before.RecordCreated));
    try {
        CommitWithHistory(events, [slot] { WriteSlot(slot); });
    } catch (const ChangeLogError&) {
        // The caller's close will not be reached; the folder's lock must not outlive the refused change.
        CloseDataFile();
        throw;
    }
}

qint32 AppendRecordWithHistory(const PersonnelRecord& before, const QString& event) {
    // A record added has a stamp of its own (untied).
    const QString identity = StampIdentity(CurrentRecord.RecordCreated);
    const QList<ChangeEvent> events = RecordEvents(event, before, CurrentRecord, identity, true);
    qint32 key = 0;
    try {
        CommitWithHistory(events, [&key] { key = AppendRecord(); });
    } catch (const ChangeLogError&) {
        CloseDataFile();
        throw;
    }
    return key;
}

namespace {

RemovalResult removeWithHistory(qint32 slot, const QString& listedName, qint64 version) {
    // The one record is read without the counts an open makes: a removal has no use for them, and on a large file
    // counting is a pass of its own.
    CloseDataFile();
    PersonnelRecord record;
    qint64 readVersion = 0;
    const bool present = slot >= 1 && ActiveStore().Read(slot, record, readVersion);
    QList<ChangeEvent> events;
    if (present && (listedName.isNull() || ListedName(record) == listedName)) {
        ChangeEvent e = NewEvent(HistoryEvent::Removed);
        e.Employee = ListedName(record);
        e.Identity = SlotIdentity(slot, record.RecordCreated);
        events << e;
    }
    RemovalResult result;
    CommitWithHistory(events, [&] {
        result = RemoveEmployee(slot, listedName, version);
        if (!events.isEmpty() && !result.Removed)
            throw FileError(QStringLiteral("The employee was not removed."));
    });
    return result;
}

} // namespace

RemovalResult RemoveEmployeeWithHistory(qint32 slot, const QString& listedName, qint64 version) {
    RemovalResult result;
    // From the look at the record until it is gone, no other writer comes in between (a server checks the version
    // instead).
    ActiveStore().Exclusive([&] { result = removeWithHistory(slot, listedName, version); });
    return result;
}
