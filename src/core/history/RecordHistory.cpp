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
