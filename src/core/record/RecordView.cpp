#include "core/record/RecordView.h"

#include "core/base/AppGlobals.h"
#include "core/base/DateRules.h"
#include "core/base/Trim.h"

#include <QStringList>

namespace {

bool InRange(int index) {
    return index >= 1 && index <= FieldCount;
}

QString Years(qint16 years) {
    return QLatin1Char('(') + QString::number(years) + QLatin1Char(')');
}

} // namespace

QString FieldCaption(int index) {
    return InRange(index) ? QString::fromLatin1(FormField(index)->Caption) : QString();
}

int FieldPage(int index) {
    return InRange(index) ? FormField(index)->Page : -1;
}

int FieldMaxLength(int index) {
    return InRange(index) ? FormField(index)->EntryLength : 0;
}

bool IsRequiredField(int index) {
    return std::find(RequiredFields.begin(), RequiredFields.end(), index) != RequiredFields.end();
}

QString RecordPageCaption(int page) {
    static const QStringList captions = {QStringLiteral("Basic Info"), QStringLiteral("Address"),
                                         QStringLiteral("Job Info"), QStringLiteral("Notepad"),
                                         QStringLiteral("Photo")};
    return captions.value(page);
}

RecordView ViewRecord(const PersonnelRecord& r, const QDate& today) {
    const double now = ToOADate(today);
    RecordView v;
    v.FrameCaption =
        QLatin1Char(' ') + TrimBlanks(r.FirstName) + QLatin1Char(' ') + TrimBlanks(r.LastName) + QLatin1Char(' ');
    const auto stamp = [](FieldId id, double value) -> QString {
        return QLatin1Char(' ') + QString::fromLatin1(Field(id).Caption) + QLatin1Char(' ') + FormatStamp(value);
    };
    v.Created = stamp(FieldId::RecordCreated, r.RecordCreated);
    if (r.LastModified > 0)
        v.Modified = stamp(FieldId::LastModified, r.LastModified);

    v.Previous = r.InactivationDate != 0;
    v.Sworn = r.Sworn == -1;
    auto& f = v.Field;
    for (const RecordField* field : FormFields())
        if (field->Text)
            f[field->FormIndex] = TrimBlanks(r.*field->Text);
    // A date of job title or of inactivation shows only when there is one; the other two always do.
    f[FormIndex(FieldId::DateOfBirth)] = FormatMMDDYYYY(r.DateOfBirth);
    f[FormIndex(FieldId::DateOfEmployment)] = FormatMMDDYYYY(r.DateOfEmployment);
    f[FormIndex(FieldId::DateOfJobTitle)] = r.DateOfJobTitle > 0 ? FormatMMDDYYYY(r.DateOfJobTitle) : QString();
    f[FormIndex(FieldId::InactivationDate)] = v.Previous ? FormatMMDDYYYY(r.InactivationDate) : QString();

    v.YearsDOB = QLatin1Char('(') + FormatHashes(WholeYears(r.DateOfBirth, now)) + QLatin1Char(')');
    v.YearsDOE = Years(WholeYears(r.DateOfEmployment, v.Previous ? r.InactivationDate : now));
    if (r.DateOfJobTitle > 0)
        v.YearsDOT = Years(WholeYears(r.DateOfJobTitle, now));
    if (v.Previous)
        v.YearsDOI = Years(WholeYears(r.InactivationDate, now));

    v.LabelEnabled = !f[FormIndex(FieldId::StreetAddress)].isEmpty();
    v.EmailEnabled = !f[FormIndex(FieldId::Email)].isEmpty();
    v.PicturePath = TrimBlanks(r.PicturePath);
    return v;
}

QSize FitPicture(const QSize& natural, const QSize& frame) {
    const qint64 w = natural.width();
    const qint64 h = natural.height();
    if (w <= 0 || h <= 0)
        return frame;
    if (h < w)
        return QSize(frame.width(), static_cast<int>(h * frame.width() / w));
    return QSize(static_cast<int>(w * frame.height() / h), frame.height());
}

QString WeekdayTip(const QString& text) {
    const std::optional<QDate> date = ParseDateEntry(text);
    return date ? FormatDDDD(ToOADate(*date)) : QString();
}
