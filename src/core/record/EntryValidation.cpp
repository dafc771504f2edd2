#include "core/record/EntryValidation.h"

#include "core/base/AppGlobals.h"
#include "core/base/DateRules.h"
#include "core/base/Trim.h"

#include <cmath>

namespace {

constexpr int kRace = 5;
constexpr int kSex = 6;
constexpr int kDateOfBirth = 7;
constexpr int kSocialSecurity = 8;
constexpr int kDateOfEmployment = 19;
constexpr int kDateOfJobTitle = 20;
constexpr int kInactivation = 21;

// The field's limit: a number of 1 to 10 characters is taken for a mistyped one, a full one for a number.
constexpr int kSocialSecurityLength = 11;

double DateOf(const QString& text) {
    const std::optional<QDate> date = ParseDateEntry(text);
    return date ? ToOADate(*date) : 0;
}

QString StatusText(const char* fromLine) {
    return QStringLiteral("You have changed this employee's status\r\n") + QLatin1String(fromLine) +
           QStringLiteral("\r\n\r\nDo you wish to continue with this change?");
}

} // namespace

bool RequiredFieldsFilled(const EntryFields& fields) {
    for (int index : RequiredFields)
        if (TrimBlanks(fields[index]).isEmpty())
            return false;
    return true;
}

QString NotepadGauge(const QString& notepad) {
    if (notepad.isEmpty())
        return QString();
    const double ratio = std::max(0.01, static_cast<double>(notepad.size()) / FieldMaxLength(NotepadField));
    return QLatin1Char(' ') + FormatHashes(std::lround(ratio * 100)) + QStringLiteral("% full ");
}

EntryCheck CheckEntry(EntryFields& f, bool editing) {
    f[kRace] = TrimBlanks(f[kRace]).toUpper();
    static const QStringList races = {QStringLiteral("W"), QStringLiteral("B"), QStringLiteral("H"),
                                      QStringLiteral("A"), QStringLiteral("O")};
    if (!races.contains(f[kRace]))
        return {kRace,
                QStringLiteral("Check the 'Race' designation\r\n\r\n(Use 'W', 'B', 'H', 'A', or 'O' only)\r\n\r\n"
                               "See the Help Section\r\n'Important Program Notes'\r\nfor more information.")};

    f[kSex] = TrimBlanks(f[kSex]).toUpper();
    if (f[kSex] != QLatin1String("M") && f[kSex] != QLatin1String("F"))
        return {kSex, QStringLiteral("Check the 'Sex' designation\r\n\r\n(Use 'M' or 'F' only)")};

    f[kDateOfBirth] = TrimBlanks(f[kDateOfBirth]);
    if (!ParseBirthDateEntry(f[kDateOfBirth]))
        return {kDateOfBirth, QStringLiteral("Invalid 'Date of Birth' Entry")};

    // Only the length is checked: any 11 characters pass.
    f[kSocialSecurity] = TrimBlanks(f[kSocialSecurity]);
    const qsizetype ssn = f[kSocialSecurity].size();
    if (ssn >= 1 && ssn < kSocialSecurityLength)
        return {kSocialSecurity, QStringLiteral("Check the Social Security entry\r\n\r\n(Use a '123-45-6789' format)")};

    f[kDateOfEmployment] = TrimBlanks(f[kDateOfEmployment]);
    if (!IsValidDate(f[kDateOfEmployment]))
        return {kDateOfEmployment, QStringLiteral("Invalid 'Date of Employment' Entry")};

    f[kDateOfJobTitle] = TrimBlanks(f[kDateOfJobTitle]);
    if (!f[kDateOfJobTitle].isEmpty() && !IsValidDate(f[kDateOfJobTitle]))
        return {kDateOfJobTitle, QStringLiteral("Invalid 'Date of Job Title' Entry")};

    if (editing) {
        f[kInactivation] = TrimBlanks(f[kInactivation]);
        if (!f[kInactivation].isEmpty() && !IsValidDate(f[kInactivation]))
            return {kInactivation, QStringLiteral("Invalid 'Inactivation Date' Entry")};
    }
    return {};
}

QList<StatusQuestion> StatusQuestions(bool wasSworn, qint16 previousStatus, bool swornSelected, bool previousSelected) {
    const QString sworn = QStringLiteral("Confirm Employee's Sworn Status Change");
    const QString status = QStringLiteral("Confirm Employee Status Change");
    QList<StatusQuestion> questions;
    if (wasSworn && !swornSelected)
        questions.append(
            {StatusChange::SwornDrop, StatusText("from a 'Sworn Employee' to a 'Non-sworn Employee'."), sworn});
    if (!wasSworn && swornSelected)
        questions.append(
            {StatusChange::SwornRaise, StatusText("from a 'Non-Sworn Employee' to a 'Sworn Employee'."), sworn});
    if (previousStatus == 1 && previousSelected)
        questions.append(
            {StatusChange::Inactivation, StatusText("from a 'Current Employee' to a 'Previous Employee'."), status});
    if (previousStatus == 2 && !previousSelected)
        questions.append(
            {StatusChange::Reactivation, StatusText("from a 'Previous Employee' to a 'Current Employee'."), status});
    return questions;
}

void CopyEntryToRecord(PersonnelRecord& r, const EntryFields& f, const SaveChoices& c, double now) {
    r.FirstName = TrimBlanks(f[1]);
    r.MiddleName = TrimBlanks(f[2]);
    r.LastName = TrimBlanks(f[3]);
    r.Suffix = TrimBlanks(f[4]);
    r.EmergencyName = TrimBlanks(f[9]);
    r.EmergencyRelationship = TrimBlanks(f[10]);
    r.EmergencyPhone = TrimBlanks(f[11]);
    r.StreetAddress = TrimBlanks(f[12]);
    r.CityStateZip = TrimBlanks(f[13]);
    r.HomePhone = TrimBlanks(f[14]);
    r.CellPhone = TrimBlanks(f[15]);
    r.Email = TrimBlanks(f[16]);
    r.EmployeeNumber = TrimBlanks(f[17]);
    r.JobTitle = TrimBlanks(f[18]);
    r.Notepad = TrimBlanks(f[NotepadField]);
    // As the checks left them.
    r.Race = f[kRace];
    r.Sex = f[kSex];
    r.SocialSecurityNumber = f[kSocialSecurity];

    const std::optional<QDate> born = ParseBirthDateEntry(f[kDateOfBirth]);
    r.DateOfBirth = born ? ToOADate(*born) : 0;
    r.DateOfEmployment = DateOf(f[kDateOfEmployment]);
    r.DateOfJobTitle = TrimBlanks(f[kDateOfJobTitle]).isEmpty() ? 0 : DateOf(f[kDateOfJobTitle]);

    if (c.Adding) {
        r.Sworn = c.SwornSelected ? -1 : 0;
        r.InactivationDate = 0;
    } else {
        // A declined change, or none, keeps the status the employee had.
        if (c.SwornDropConfirmed)
            r.Sworn = 0;
        else if (c.SwornRaiseConfirmed)
            r.Sworn = -1;
        else
            r.Sworn = c.WasSworn ? -1 : 0;
        // Employment status lives only in the inactivation date; an emptied date field keeps the stored one.
        if (c.ReactivationConfirmed)
            r.InactivationDate = 0;
        else if (c.InactivationGiven)
            r.InactivationDate = DateOf(c.EnteredInactivation);
        else if (!TrimBlanks(f[kInactivation]).isEmpty())
            r.InactivationDate = DateOf(f[kInactivation]);
    }
    r.PicturePath = TrimBlanks(c.PicturePath);

    if (c.Adding) {
        r.RecordCreated = now;
        r.LastModified = 0;
        r.DataVersion = CurrentDataVersion();
    } else {
        r.LastModified = now;
    }
}
