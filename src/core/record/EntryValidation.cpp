#include "core/record/EntryValidation.h"

#include "core/base/AppGlobals.h"
#include "core/base/DateRules.h"
#include "core/base/Trim.h"

#include <cmath>

namespace {

constexpr int kRace = FormIndex(FieldId::Race);
constexpr int kSex = FormIndex(FieldId::Sex);
constexpr int kDateOfBirth = FormIndex(FieldId::DateOfBirth);
constexpr int kSocialSecurity = FormIndex(FieldId::SocialSecurityNumber);
constexpr int kDateOfEmployment = FormIndex(FieldId::DateOfEmployment);
constexpr int kDateOfJobTitle = FormIndex(FieldId::DateOfJobTitle);
constexpr int kInactivation = FormIndex(FieldId::InactivationDate);

// The field's limit: a number of 1 to 10 characters is taken for a mistyped one, a full one for a number.
constexpr int kSocialSecurityLength = Field(FieldId::SocialSecurityNumber).Width;

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
    for (const RecordField* field : FormFields()) {
        if (!field->Text)
            continue;
        // Race, sex and the social security number as the checks left them; the rest without their blanks.
        const int i = field->FormIndex;
        const bool checked = i == kRace || i == kSex || i == kSocialSecurity;
        r.*field->Text = checked ? f[size_t(i)] : TrimBlanks(f[size_t(i)]);
    }

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
