#include "core/quality/DataQuality.h"

#include "core/store/DataFile.h"
#include "core/base/DateRules.h"
#include "core/base/FixedRecordFile.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {

QString EmployeeName(const PersonnelRecord& r) {
    return r.LastName + QStringLiteral(", ") + r.FirstName;
}

// A stored date that means something: 0 is the empty date, and a value the formats cannot show is damage.
bool HasDate(double value) {
    return value != 0 && IsShowableOADate(value);
}

QString Date(double value) {
    return FormatMMDDYYYY(value);
}

class Checker {
public:
    Checker(const std::vector<PersonnelRecord>& records, double today) : m_records(records), m_today(today) {
        // Two employees sharing a number or a name and birthday are found in one pass, each pointing at the first
        // other one, so that a clerk can open both.
        for (qsizetype i = 0; i < qsizetype(records.size()); ++i) {
            const PersonnelRecord& r = records[size_t(i)];
            if (!r.SocialSecurityNumber.isEmpty())
                m_bySsn[r.SocialSecurityNumber].append(i);
            if (!r.LastName.isEmpty() && HasDate(r.DateOfBirth))
                m_byNameAndBirth[NameAndBirthKey(r)].append(i);
        }
    }

    std::vector<QualityFinding> run() {
        for (qsizetype i = 0; i < qsizetype(m_records.size()); ++i)
            checkOne(i);
        return std::move(m_findings);
    }

private:
    static QString NameAndBirthKey(const PersonnelRecord& r) {
        return r.LastName.toCaseFolded() + QLatin1Char('\t') + r.FirstName.toCaseFolded() + QLatin1Char('\t') +
               QString::number(qint64(r.DateOfBirth));
    }

    void add(qsizetype index, const QString& field, const QString& rule) {
        const PersonnelRecord& r = m_records[size_t(index)];
        m_findings.push_back({index + 1, EmployeeName(r), r.RecordCreated, r.InactivationDate != 0, field, rule});
    }

    QString others(const QList<qsizetype>& group, qsizetype self) const {
        QStringList names;
        for (qsizetype other : group)
            if (other != self)
                names << EmployeeName(m_records[size_t(other)]) + QStringLiteral(" (record ") +
                             QString::number(other + 1) + QLatin1Char(')');
        return names.join(QStringLiteral("; "));
    }

    void checkOne(qsizetype i) {
        const PersonnelRecord& r = m_records[size_t(i)];
        const QDate today = OADateToDate(m_today);

        if (r.DateOfBirth == 0)
            add(i, QStringLiteral("Date of Birth"), QStringLiteral("no date of birth"));
        else if (!HasDate(r.DateOfBirth))
            add(i, QStringLiteral("Date of Birth"), QStringLiteral("not a date"));
        else if (r.DateOfBirth >= m_today + 1)
            add(i, QStringLiteral("Date of Birth"), QStringLiteral("after today (%1)").arg(Date(r.DateOfBirth)));
        else if (OADateToDate(r.DateOfBirth) < today.addYears(-100))
            add(i, QStringLiteral("Date of Birth"),
                QStringLiteral("more than 100 years ago (%1)").arg(Date(r.DateOfBirth)));

        if (!r.SocialSecurityNumber.isEmpty()) {
            if (!IsIssuableSocialSecurityNumber(r.SocialSecurityNumber))
                add(i, QStringLiteral("Social Security #"),
                    QStringLiteral("not a number the Social Security Administration issues (999-99-9999)"));
            const QList<qsizetype>& same = m_bySsn.value(r.SocialSecurityNumber);
            if (same.size() > 1)
                add(i, QStringLiteral("Social Security #"), QStringLiteral("the same as ") + others(same, i));
        }
        if (!r.LastName.isEmpty() && HasDate(r.DateOfBirth)) {
            const QList<qsizetype>& same = m_byNameAndBirth.value(NameAndBirthKey(r));
            if (same.size() > 1)
                add(i, QStringLiteral("Last Name"),
                    QStringLiteral("the same name and date of birth as ") + others(same, i));
        }

        if (r.EmergencyName.isEmpty())
            add(i, QStringLiteral("In Case of Emergency"), QStringLiteral("no emergency contact"));
        else if (r.EmergencyPhone.isEmpty())
            add(i, QStringLiteral("Contact Number"), QStringLiteral("no number for the emergency contact"));

        if (!r.Email.isEmpty()) {
            const qsizetype at = r.Email.indexOf(QLatin1Char('@'));
            if (at <= 0 || r.Email.indexOf(QLatin1Char('.'), at + 2) < 0 || r.Email.endsWith(QLatin1Char('.')))
                add(i, QStringLiteral("Email"), QStringLiteral("not an e-mail address (no \"@\" with a dot after it)"));
        }

        if (r.DateOfEmployment == 0) {
            add(i, QStringLiteral("Date of Employment"), QStringLiteral("no date of employment"));
        } else if (!HasDate(r.DateOfEmployment)) {
            add(i, QStringLiteral("Date of Employment"), QStringLiteral("not a date"));
        } else {
            if (r.DateOfEmployment >= m_today + 1)
                add(i, QStringLiteral("Date of Employment"),
                    QStringLiteral("after today (%1)").arg(Date(r.DateOfEmployment)));
            if (HasDate(r.DateOfBirth) && WholeYears(r.DateOfBirth, r.DateOfEmployment) < 18)
                add(i, QStringLiteral("Date of Employment"),
                    QStringLiteral("before the 18th birthday (%1, born %2)")
                        .arg(Date(r.DateOfEmployment), Date(r.DateOfBirth)));
        }

        // A previous employee is one whose inactivation date is not 0: a value there that is no date leaves him
        // previous without a date to show, and a date still to come lists him as gone while he is at work.
        if (r.InactivationDate != 0) {
            if (!HasDate(r.InactivationDate))
                add(i, QStringLiteral("Inactivation Date"),
                    QStringLiteral("a previous employee without an inactivation date"));
            else if (r.InactivationDate >= m_today + 1)
                add(i, QStringLiteral("Inactivation Date"),
                    QStringLiteral("after today (%1): listed as previous while still employed")
                        .arg(Date(r.InactivationDate)));
            else if (HasDate(r.DateOfEmployment) && r.InactivationDate < r.DateOfEmployment)
                add(i, QStringLiteral("Inactivation Date"),
                    QStringLiteral("before the date of employment (%1, employed %2)")
                        .arg(Date(r.InactivationDate), Date(r.DateOfEmployment)));
        }
    }

    const std::vector<PersonnelRecord>& m_records;
    double m_today;
    QHash<QString, QList<qsizetype>> m_bySsn;
    QHash<QString, QList<qsizetype>> m_byNameAndBirth;
    std::vector<QualityFinding> m_findings;
};

} // namespace

bool IsIssuableSocialSecurityNumber(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{3})-([0-9]{2})-([0-9]{4})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return false;
    const int area = m.captured(1).toInt();
    return area != 0 && area != 666 && area < 900 && m.captured(2) != QLatin1String("00") &&
           m.captured(3) != QLatin1String("0000");
}

std::vector<QualityFinding> CheckRecords(const std::vector<PersonnelRecord>& records, double today) {
    return Checker(records, today).run();
}

std::vector<QualityFinding> CheckDataFile(const QString& fileName, double today) {
    return CheckRecords(ReadAllRecordsReadOnly(fileName), today);
}

std::vector<QualityFinding> CheckActiveStore(double today, qint64* records) {
    std::vector<qint32> keys;
    const std::vector<PersonnelRecord> all = ReadAllRecords(&keys);
    if (records)
        *records = static_cast<qint64>(all.size());
    std::vector<QualityFinding> findings = CheckRecords(all, today);
    for (QualityFinding& finding : findings)
        finding.slot = keys.at(size_t(finding.slot - 1));
    return findings;
}
