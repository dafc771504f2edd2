#include "core/record/RecordView.h"

#include "core/base/AppGlobals.h"
#include "core/base/DateRules.h"
#include "core/base/Trim.h"

#include <QStringList>

namespace {

struct FieldSpec {
    const char* caption;
    int page;
    int maxLength;
};

// Index 1-22; the two address lines accept 40 characters although the record holds 50.
constexpr std::array<FieldSpec, FieldCount + 1> kFields = {{{"", 0, 0},
                                                            {"First Name", 0, 15},
                                                            {"Middle Name", 0, 15},
                                                            {"Last Name", 0, 20},
                                                            {"Suffix", 0, 3},
                                                            {"Race", 0, 1},
                                                            {"Sex", 0, 1},
                                                            {"Date of Birth", 0, 17},
                                                            {"Social Security #", 0, 11},
                                                            {"Name", 0, 25},
                                                            {"Relationship", 0, 15},
                                                            {"Contact Number", 0, 20},
                                                            {"Street Address", 1, 40},
                                                            {"City/State/Zip", 1, 40},
                                                            {"Home Phone", 1, 20},
                                                            {"Cell Phone", 1, 20},
                                                            {"Email", 1, 25},
                                                            {"Employee #", 2, 15},
                                                            {"Job Title", 2, 25},
                                                            {"Date of Employment", 2, 17},
                                                            {"Date of Job Title", 2, 17},
                                                            {"Inactivation Date", 2, 17},
                                                            {"Notepad", 3, 4517}}};

bool InRange(int index) {
    return index >= 1 && index <= FieldCount;
}

QString Years(qint16 years) {
    return QLatin1Char('(') + QString::number(years) + QLatin1Char(')');
}

} // namespace

QString FieldCaption(int index) {
    return InRange(index) ? QString::fromLatin1(kFields[index].caption) : QString();
}

int FieldPage(int index) {
    return InRange(index) ? kFields[index].page : -1;
}

int FieldMaxLength(int index) {
    return InRange(index) ? kFields[index].maxLength : 0;
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
    v.Created = QStringLiteral(" Record created ") + FormatStamp(r.RecordCreated);
    if (r.LastModified > 0)
        v.Modified = QStringLiteral(" Last modified ") + FormatStamp(r.LastModified);

    v.Previous = r.InactivationDate != 0;
    v.Sworn = r.Sworn == -1;
    auto& f = v.Field;
    f[1] = TrimBlanks(r.FirstName);
    f[2] = TrimBlanks(r.MiddleName);
    f[3] = TrimBlanks(r.LastName);
    f[4] = TrimBlanks(r.Suffix);
    f[5] = TrimBlanks(r.Race);
    f[6] = TrimBlanks(r.Sex);
    f[7] = FormatMMDDYYYY(r.DateOfBirth);
    f[8] = TrimBlanks(r.SocialSecurityNumber);
    f[9] = TrimBlanks(r.EmergencyName);
    f[10] = TrimBlanks(r.EmergencyRelationship);
    f[11] = TrimBlanks(r.EmergencyPhone);
    f[12] = TrimBlanks(r.StreetAddress);
    f[13] = TrimBlanks(r.CityStateZip);
    f[14] = TrimBlanks(r.HomePhone);
    f[15] = TrimBlanks(r.CellPhone);
    f[16] = TrimBlanks(r.Email);
    f[17] = TrimBlanks(r.EmployeeNumber);
    f[18] = TrimBlanks(r.JobTitle);
    f[19] = FormatMMDDYYYY(r.DateOfEmployment);
    f[20] = r.DateOfJobTitle > 0 ? FormatMMDDYYYY(r.DateOfJobTitle) : QString();
    f[21] = v.Previous ? FormatMMDDYYYY(r.InactivationDate) : QString();
    f[22] = TrimBlanks(r.Notepad);

    v.YearsDOB = QLatin1Char('(') + FormatHashes(WholeYears(r.DateOfBirth, now)) + QLatin1Char(')');
    v.YearsDOE = Years(WholeYears(r.DateOfEmployment, v.Previous ? r.InactivationDate : now));
    if (r.DateOfJobTitle > 0)
        v.YearsDOT = Years(WholeYears(r.DateOfJobTitle, now));
    if (v.Previous)
        v.YearsDOI = Years(WholeYears(r.InactivationDate, now));

    v.LabelEnabled = !f[12].isEmpty();
    v.EmailEnabled = !f[16].isEmpty();
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
