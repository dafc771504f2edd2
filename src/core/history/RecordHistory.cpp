#include "core/history/RecordHistory.h"

#include "core/convert/OlderDataConversion.h"
#include "core/exchange/EmployeeImport.h"
#include "core/store/DataFile.h"
#include "core/base/DataFolder.h"
#include "core/base/DateRules.h"
#include "core/base/FixedRecordFile.h"
#include "core/store/FolderStore.h"
#include "core/record/OldPersonnelRecord.h"
#include "core/base/Trim.h"
#include "core/record/RecordView.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace {

QString dateText(double value) {
    return value == 0 ? QString() : FormatMMDDYYYY(value);
}

QString swornText(qint16 sworn) {
    return sworn ? QStringLiteral("Sworn") : QStringLiteral("Non-sworn");
}

// Each field as the form shows it, in the form's order, compared as stored.
struct FieldValue {
    QString Caption;
    QString Shown;
    QString Compared;
};

QList<FieldValue> fieldValues(const PersonnelRecord& r) {
    QList<FieldValue> values;
    for (const RecordField* field : FormFields()) {
        const QString caption = QString::fromLatin1(field->Caption);
        if (field->Day) {
            const double value = r.*field->Day;
            values << FieldValue{caption, dateText(value), QString::number(value, 'g', 17)};
            continue;
        }
        const QString trimmed = TrimBlanks(r.*field->Text);
        // The history keeps no full social security number, only what tells one change from another.
        const bool masked = field->Id == FieldId::SocialSecurityNumber;
        values << FieldValue{caption, masked ? MaskSocialSecurityNumber(trimmed) : trimmed, trimmed};
    }
    const auto caption = [](FieldId id) { return QString::fromLatin1(Field(id).Caption); };
    values << FieldValue{caption(FieldId::Sworn), swornText(r.Sworn), swornText(r.Sworn)};
    values << FieldValue{caption(FieldId::PicturePath), TrimBlanks(r.PicturePath), TrimBlanks(r.PicturePath)};
    return values;
}

const QRegularExpression& rankPattern() {
    static const QRegularExpression pattern(QStringLiteral("^(.*) #(\\d+)$"));
    return pattern;
}

// The stamp of an identity and its rank among a tied stamp's records (0 when untied).
std::pair<QString, int> splitIdentity(const QString& identity) {
    const QRegularExpressionMatch match = rankPattern().match(identity);
    if (!match.hasMatch())
        return {identity, 0};
    return {match.captured(1), match.captured(2).toInt()};
}

} // namespace

QString RecordIdentity(double created, int rank) {
    const QDateTime when = FromOADate(created);
    QString stamp =
        when.isValid() ? when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")) : QString::number(created, 'g', 17);
    if (rank > 0)
        stamp += QStringLiteral(" #") + QString::number(rank);
    return stamp;
}

QString SlotIdentity(qint32 slot, double created) {
    const auto [rank, tied] = ActiveStore().StampRank(slot);
    // Every employee ties with himself or herself: none tied means nobody (or no data file) to name.
    if (tied == 0)
        return QString();
    return RecordIdentity(created, tied > 1 ? rank : 0);
}

QString SlotIdentity(qint32 slot) {
    PersonnelRecord record;
    qint64 version = 0;
    if (!ActiveStore().Read(slot, record, version))
        return QString();
    return SlotIdentity(slot, record.RecordCreated);
}

QString MaskSocialSecurityNumber(const QString& number) {
    const QString trimmed = TrimBlanks(number);
    return trimmed.isEmpty() ? QString() : QStringLiteral("***-**-") + trimmed.right(4);
}

QList<FieldChange> DiffRecords(const PersonnelRecord& before, const PersonnelRecord& after, bool adding) {
    const QList<FieldValue> old = fieldValues(before);
    const QList<FieldValue> now = fieldValues(after);
    QList<FieldChange> changes;
    for (qsizetype i = 0; i < now.size(); ++i) {
        if (adding ? now[i].Shown.isEmpty() : old[i].Compared == now[i].Compared)
            continue;
        changes << FieldChange{now[i].Caption, adding ? QString() : old[i].Shown, now[i].Shown};
    }
    return changes;
}

QList<ChangeEvent> RecordEvents(const QString& event, const PersonnelRecord& before, const PersonnelRecord& after,
                                const QString& identity, bool adding) {
    QList<ChangeEvent> events;
    for (const FieldChange& change : DiffRecords(before, after, adding)) {
        ChangeEvent e = NewEvent(event);
        e.Employee = ListedName(after);
        e.Identity = identity;
        e.Field = change.Field;
        e.OldValue = change.OldValue;
        e.NewValue = change.NewValue;
        events << e;
    }
    return events;
}

void WriteSlotWithHistory(qint32 slot, const PersonnelRecord& before, const QString& event) {
    // Slots beyond the count are the folder's old way of adding; a server's keys are not counted from 1.
    if (ActiveFolder() && slot > RecordCount) {
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
    const QString identity = RecordIdentity(CurrentRecord.RecordCreated);
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

RemovalResult RemoveEmployeeWithHistory(qint32 slot, const QString& listedName, qint64 version) {
    // From the look at the record until it is gone, no other writer comes in between (a server checks the version
    // instead).
    std::optional<DataFolderLock> lock;
    if (!UsingServer())
        lock.emplace(QFileInfo(DataFileName).path());
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

QList<ChangeEvent> EventsOfRecord(const QList<ChangeEvent>& events, const QString& identity) {
    auto [stamp, rank] = splitIdentity(identity);
    QList<ChangeEvent> found;
    for (auto it = events.crbegin(); it != events.crend(); ++it) {
        const auto [lineStamp, lineRank] = splitIdentity(it->Identity);
        if (lineStamp != stamp)
            continue;
        // An untied record of today may have been one of a tied group before its others were removed.
        const int own = rank == 0 ? 1 : rank;
        if (it->Event == HistoryEvent::Removed && lineRank > 0) {
            // Going back past the removal of an earlier member of the group, this record stood one further on.
            if (lineRank <= own)
                rank = own + 1;
            continue;
        }
        if (lineRank == 0 || lineRank == own)
            found << *it;
    }
    return found;
}

qint32 ConvertOlderDataFileWithHistory(double createdAt) {
    const DataFolderLock lock(QFileInfo(DataFileName).path());
    const qint64 length = QFileInfo(DataFileName).size();
    ChangeEvent e = NewEvent(HistoryEvent::Converted);
    e.Identity = RecordIdentity(createdAt);
    e.OldValue = QStringLiteral("%1 bytes in the older format").arg(length);
    e.NewValue = QStringLiteral("%1 records").arg(RecordCountForLength(length, OldPersonnelLayout::RecordSize));
    qint32 count = 0;
    CommitWithHistory({e}, [&] { count = ConvertOlderDataFile(createdAt); });
    return count;
}

qint64 ApplyImportWithHistory(const ImportPlan& plan) {
    // The rows are added as at one moment: among their shared stamp, each is told apart by its order.
    QList<ChangeEvent> events;
    const qsizetype accepted = plan.accepted();
    int rank = 0;
    for (const ImportRow& row : plan.rows) {
        if (!row.accepted)
            continue;
        ++rank;
        const QString identity = RecordIdentity(row.record.RecordCreated, accepted > 1 ? rank : 0);
        events += RecordEvents(HistoryEvent::Import, PersonnelRecord(), row.record, identity, true);
    }
    qint64 added = 0;
    CommitWithHistory(events, [&] { added = ApplyImport(plan); });
    return added;
}
