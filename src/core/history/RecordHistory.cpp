#include "core/history/RecordHistory.h"

#include "core/base/DateRules.h"
#include "core/base/Trim.h"
#include "core/record/RecordIdentity.h"
#include "core/record/RecordView.h"

#include <QRegularExpression>

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
    const auto text = [](int index, const QString& value) {
        const QString trimmed = TrimBlanks(value);
        return FieldValue{FieldCaption(index), trimmed, trimmed};
    };
    const auto date = [](int index, double value) {
        return FieldValue{FieldCaption(index), dateText(value), QString::number(value, 'g', 17)};
    };
    const QString ssn = TrimBlanks(r.SocialSecurityNumber);
    return {text(1, r.FirstName),
            text(2, r.MiddleName),
            text(3, r.LastName),
            text(4, r.Suffix),
            text(5, r.Race),
            text(6, r.Sex),
            date(7, r.DateOfBirth),
            {FieldCaption(8), MaskSocialSecurityNumber(ssn), ssn},
            text(9, r.EmergencyName),
            text(10, r.EmergencyRelationship),
            text(11, r.EmergencyPhone),
            text(12, r.StreetAddress),
            text(13, r.CityStateZip),
            text(14, r.HomePhone),
            text(15, r.CellPhone),
            text(16, r.Email),
            text(17, r.EmployeeNumber),
            text(18, r.JobTitle),
            date(19, r.DateOfEmployment),
            date(20, r.DateOfJobTitle),
            date(21, r.InactivationDate),
            text(22, r.Notepad),
            {QStringLiteral("Sworn Employee"), swornText(r.Sworn), swornText(r.Sworn)},
            {QStringLiteral("Picture"), TrimBlanks(r.PicturePath), TrimBlanks(r.PicturePath)}};
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

QString StampIdentity(double created, int rank) {
    const QDateTime when = FromOADate(created);
    QString stamp =
        when.isValid() ? when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")) : QString::number(created, 'g', 17);
    if (rank > 0)
        stamp += QStringLiteral(" #") + QString::number(rank);
    return stamp;
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
