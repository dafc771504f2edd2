#include "core/exchange/EmployeeImport.h"

#include "core/history/RecordHistory.h"
#include "core/record/RecordIdentity.h"
#include "core/store/PersonnelStore.h"

#include "core/base/Cp1252.h"
#include "core/base/DataFolder.h"
#include "core/base/DateRules.h"
#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"
#include "core/base/RegularFile.h"
#include "core/exchange/CsvFormat.h"
#include "core/exchange/EmployeeExport.h"
#include "core/record/EntryValidation.h"
#include "core/record/RecordFields.h"
#include "core/record/RecordView.h"
#include "core/store/DataFile.h"
#include "core/store/FolderStore.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace {

// Columns beyond the form's 22 fields.
constexpr int kSwornColumn = 100;
constexpr int kPictureColumn = 101;
constexpr int kNotImported = 102; // known, but the program makes them itself (the stamps)

constexpr int kFirstName = FormIndex(FieldId::FirstName);
constexpr int kLastName = FormIndex(FieldId::LastName);
constexpr int kInactivation = FormIndex(FieldId::InactivationDate);

QString Normalized(const QString& heading) {
    QString key = heading.toCaseFolded();
    key.remove(QLatin1Char(' '));
    key.remove(QLatin1Char('\t'));
    return key;
}

const QHash<QString, int>& ColumnsByHeading() {
    static const QHash<QString, int> columns = [] {
        QHash<QString, int> c;
        const QStringList exported = RecordColumnHeadings();
        const auto key = [](const char* text) { return Normalized(QString::fromLatin1(text)); };
        for (const RecordField* field : FormFields()) {
            const int i = field->FormIndex;
            c.insert(key(field->Name), i);
            c.insert(Normalized(exported.value(i - 1)), i);
            // The form's own captions, except the emergency contact's "Name", which would take any name column.
            if (field->Id != FieldId::EmergencyName)
                c.insert(key(field->Caption), i);
        }
        const RecordField& picture = Field(FieldId::PicturePath);
        c.insert(key(Field(FieldId::Sworn).Name), kSwornColumn);
        c.insert(key(picture.Caption), kPictureColumn);
        c.insert(key(picture.Name), kPictureColumn);
        for (const RecordField& field : RecordFields)
            if (field.Kind == FieldKind::Stamp)
                c.insert(key(field.Name), kNotImported);
        return c;
    }();
    return columns;
}

QString OneLine(QString message) {
    message.replace(QStringLiteral("\r\n\r\n"), QStringLiteral(" "));
    message.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return message.simplified();
}

QString NameKey(const QString& first, const QString& last, double born) {
    return first.toCaseFolded() + QLatin1Char('\t') + last.toCaseFolded() + QLatin1Char('\t') +
           QString::number(qint64(born));
}

bool IsSworn(const QString& value) {
    static const QStringList yes = {QStringLiteral("sworn"), QStringLiteral("yes"), QStringLiteral("y"),
                                    QStringLiteral("true"),  QStringLiteral("-1"),  QStringLiteral("1")};
    return yes.contains(value.trimmed().toCaseFolded());
}

// Control characters in a one-line field would break the lines of a printout, a list or a terminal (ESC starts
// a terminal's commands); the form's one-line boxes never let one in. Only the notepad holds lines.
bool HasControlCharacter(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || (u >= 0x7f && u <= 0x9f);
    });
}

// Refuses each accepted row whose social security number, or name and date of birth, is among onFile's or an
// earlier accepted row's. Earlier rows of the file win, as they would typed in that order.
void RefuseDuplicates(ImportPlan& plan, const std::vector<PersonnelRecord>& onFile) {
    QSet<QString> ssns;
    QSet<QString> names;
    for (const PersonnelRecord& r : onFile) {
        if (!r.SocialSecurityNumber.isEmpty())
            ssns.insert(r.SocialSecurityNumber);
        names.insert(NameKey(r.FirstName, r.LastName, std::floor(r.DateOfBirth)));
    }
    for (ImportRow& row : plan.rows) {
        if (!row.accepted)
            continue;
        const QString& ssn = row.record.SocialSecurityNumber;
        const QString key = NameKey(row.record.FirstName, row.record.LastName, std::floor(row.record.DateOfBirth));
        if (!ssn.isEmpty() && ssns.contains(ssn))
            row.reason = QStringLiteral("the social security number %1 is on file or earlier in the import")
                             .arg(MaskSocialSecurityNumber(ssn));
        else if (names.contains(key))
            row.reason = QStringLiteral("an employee of this name and date of birth is on file or earlier in the "
                                        "import");
        if (!row.reason.isEmpty()) {
            row.accepted = false;
            row.record = PersonnelRecord();
            continue;
        }
        if (!ssn.isEmpty())
            ssns.insert(ssn);
        names.insert(key);
    }
}

} // namespace

qsizetype ImportPlan::accepted() const {
    return std::count_if(rows.begin(), rows.end(), [](const ImportRow& r) { return r.accepted; });
}

ImportPlan PlanImport(const QByteArray& csv, const std::vector<PersonnelRecord>& onFile, double now) {
    ImportPlan plan;
    const CsvParse parse = ParseCsv(csv);
    if (!parse.error.isEmpty()) {
        plan.error = parse.error;
        return plan;
    }
    if (parse.records.isEmpty()) {
        plan.error = QStringLiteral("the file has no heading row");
        return plan;
    }
    QList<int> columnField;
    // Two columns for one field would leave it to their order which value is taken, and nobody would be told.
    QHash<QString, QString> seen;
    for (const QString& heading : parse.records.first()) {
        const int field = ColumnsByHeading().value(Normalized(heading), 0);
        const QString key = field != 0 && field != kNotImported ? QString::number(field) : Normalized(heading);
        if (const auto earlier = seen.constFind(key); earlier != seen.cend()) {
            plan.error =
                *earlier == heading
                    ? QStringLiteral("the heading \"%1\" stands twice in the heading row").arg(heading)
                    : QStringLiteral("the headings \"%1\" and \"%2\" name the same column").arg(*earlier, heading);
            return plan;
        }
        seen.insert(key, heading);
        columnField << field;
        if (field == 0 || field == kNotImported)
            plan.ignoredColumns << heading;
    }
    if (!columnField.contains(kFirstName) || !columnField.contains(kLastName)) {
        plan.error = QStringLiteral("the heading row names no \"First Name\" and \"Last Name\" columns");
        return plan;
    }

    for (qsizetype n = 1; n < parse.records.size(); ++n) {
        const QStringList& values = parse.records[n];
        ImportRow row;
        row.line = int(n + 1);
        EntryFields fields;
        QString sworn;
        QString picture;
        QString problem;
        for (qsizetype c = 0; c < values.size() && c < columnField.size(); ++c) {
            const int field = columnField[c];
            QString value = UnguardedCell(values[c]);
            if (field >= 1 && field <= FieldCount) {
                if (field == NotepadField) {
                    value.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
                    value.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
                } else {
                    value = value.trimmed();
                }
                fields[size_t(field)] = value;
            } else if (field == kSwornColumn) {
                sworn = value;
            } else if (field == kPictureColumn) {
                picture = value.trimmed();
            }
        }
        row.name = fields[kLastName] + QStringLiteral(", ") + fields[kFirstName];

        for (int i = 1; i <= FieldCount && problem.isEmpty(); ++i) {
            if (!IsCp1252Text(fields[size_t(i)]))
                problem = QStringLiteral("'%1' holds characters the record cannot store").arg(FieldCaption(i));
            else if (i != NotepadField && HasControlCharacter(fields[size_t(i)]))
                problem = QStringLiteral("'%1' holds a control character or line break").arg(FieldCaption(i));
            else if (fields[size_t(i)].size() > FieldMaxLength(i))
                problem =
                    QStringLiteral("'%1' is longer than its %2 characters").arg(FieldCaption(i)).arg(FieldMaxLength(i));
        }
        const RecordField& pictureField = Field(FieldId::PicturePath);
        if (problem.isEmpty() && HasControlCharacter(picture))
            problem = QStringLiteral("'%1' holds a control character or line break")
                          .arg(QString::fromLatin1(pictureField.Caption));
        if (problem.isEmpty() && picture.size() > pictureField.Width)
            problem = QStringLiteral("'%1' is longer than its %2 characters")
                          .arg(QString::fromLatin1(pictureField.Caption))
                          .arg(pictureField.Width);
        // A record whose first name is the removal mark counts as being removed: the list would never show it.
        if (problem.isEmpty() && fields[kFirstName] == KilledMarker)
            problem = QStringLiteral("'%1' is the removal mark \"%2\"").arg(FieldCaption(kFirstName), KilledMarker);
        if (problem.isEmpty() && !RequiredFieldsFilled(fields)) {
            for (int required : RequiredFields)
                if (fields[size_t(required)].trimmed().isEmpty()) {
                    problem = QStringLiteral("'%1' is required").arg(FieldCaption(required));
                    break;
                }
        }
        if (problem.isEmpty()) {
            // The form's own checks, as an edit runs them, so that an inactivation date is checked too.
            const EntryCheck check = CheckEntry(fields, true);
            if (!check.Passed())
                problem = OneLine(check.Message);
        }
        if (problem.isEmpty()) {
            SaveChoices choices;
            choices.Adding = true;
            choices.SwornSelected = IsSworn(sworn);
            choices.PicturePath = picture;
            CopyEntryToRecord(row.record, fields, choices, now);
            if (!fields[kInactivation].isEmpty())
                row.record.InactivationDate = ToOADate(*ParseDateEntry(fields[kInactivation]));
        }
        row.accepted = problem.isEmpty();
        row.reason = problem;
        if (!row.accepted)
            row.record = PersonnelRecord();
        plan.rows << row;
    }
    RefuseDuplicates(plan, onFile);
    return plan;
}

qint64 ApplyImport(const ImportPlan& plan) {
    std::vector<PersonnelRecord> records;
    for (const ImportRow& row : plan.rows)
        if (row.accepted)
            records.push_back(row.record);
    ActiveStore().AppendMany(records);
    return qint64(records.size());
}

QByteArray ReadImportFile(const QString& path) {
    QString error;
    const std::unique_ptr<QFile> file = OpenRegularFileForReading(path, &error);
    if (!file)
        throw FileError(error);
    const QByteArray csv = file->readAll();
    // A read that failed part-way must not pass for a shorter file: the missing rows would go unmentioned.
    if (file->error() != QFileDevice::NoError)
        throw FileError(path + QStringLiteral(": ") + file->errorString());
    return csv;
}

QString ImportVerdictText(const ImportRow& row) {
    return row.accepted ? QStringLiteral("will add") : QStringLiteral("will not add: ") + row.reason;
}

qint64 ApplyImportWithHistory(ImportPlan& plan) {
    qint64 added = 0;
    // The verdicts were given against the records as they were when the file was read; another import (a second
    // vardel-data on the folder) may have added the same people since. Deciding again under the lock that the write
    // takes leaves no moment in which a second writer could add them twice. A server's Exclusive holds no lock:
    // there the second look only narrows that moment.
    ActiveStore().Exclusive([&] {
        RefuseDuplicates(plan, ReadAllRecords());
        // The rows are added as at one moment: among their shared stamp, each is told apart by its order.
        QList<ChangeEvent> events;
        const qsizetype accepted = plan.accepted();
        int rank = 0;
        for (const ImportRow& row : plan.rows) {
            if (!row.accepted)
                continue;
            ++rank;
            const QString identity = StampIdentity(row.record.RecordCreated, accepted > 1 ? rank : 0);
            events += RecordEvents(HistoryEvent::Import, PersonnelRecord(), row.record, identity, true);
        }
        if (accepted > 0)
            CommitWithHistory(events, [&] { added = ApplyImport(plan); });
    });
    return added;
}
