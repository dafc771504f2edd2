#include "core/quality/DataQuality.h"
#include "core/base/DateRules.h"

#include <QTest>

#include <cmath>
#include <functional>

namespace {

const QDate kToday(2026, 12, 7);

double Day(int y, int m, int d) {
    return ToOADate(QDate(y, m, d));
}

// An employee with nothing to find.
PersonnelRecord Clean(const QString& first) {
    PersonnelRecord r;
    r.FirstName = first;
    r.LastName = QStringLiteral("Able");
    r.DateOfBirth = Day(1980, 5, 1);
    r.DateOfEmployment = Day(2005, 6, 1);
    r.SocialSecurityNumber = first == QLatin1String("Al") ? QStringLiteral("123-45-6789") : QStringLiteral("234-56-7890");
    r.EmergencyName = QStringLiteral("Bea Able");
    r.EmergencyPhone = QStringLiteral("555-0100");
    r.Email = QStringLiteral("al@example.org");
    return r;
}

using Change = std::function<void(PersonnelRecord& second, const PersonnelRecord& first)>;

struct Case {
    const char* name;
    Change change;
    const char* field; // nullptr: nothing to find
    const char* rule;  // how the rule's text begins
    int alsoFound = 0; // findings of other rules the change brings with it
};

const Case kCases[] = {
    {"clean", [](PersonnelRecord&, const PersonnelRecord&) {}, nullptr, nullptr},
    {"born tomorrow", [](PersonnelRecord& r, auto&) { r.DateOfBirth = Day(2026, 12, 8); }, "Date of Birth", "after today",
     1 /* and so hired before his 18th birthday */},
    {"born today", [](PersonnelRecord& r, auto&) { r.DateOfBirth = Day(2026, 12, 7); r.DateOfEmployment = 0; },
     "Date of Employment", "no date of employment"},
    {"born 100 years and a day ago", [](PersonnelRecord& r, auto&) { r.DateOfBirth = Day(1926, 12, 6); },
     "Date of Birth", "more than 100 years ago"},
    {"born 100 years ago to the day", [](PersonnelRecord& r, auto&) { r.DateOfBirth = Day(1926, 12, 7); }, nullptr,
     nullptr},
    {"no date of birth", [](PersonnelRecord& r, auto&) { r.DateOfBirth = 0; }, "Date of Birth", "no date of birth"},
    {"hired the day before the 18th birthday", [](PersonnelRecord& r, auto&) { r.DateOfEmployment = Day(1998, 4, 30); },
     "Date of Employment", "before the 18th birthday"},
    {"hired on the 18th birthday", [](PersonnelRecord& r, auto&) { r.DateOfEmployment = Day(1998, 5, 1); }, nullptr,
     nullptr},
    {"hired tomorrow", [](PersonnelRecord& r, auto&) { r.DateOfEmployment = Day(2026, 12, 8); }, "Date of Employment",
     "after today"},
    {"left before hired", [](PersonnelRecord& r, auto&) { r.InactivationDate = Day(2005, 5, 31); },
     "Inactivation Date", "before the date of employment"},
    {"left on the day hired", [](PersonnelRecord& r, auto&) { r.InactivationDate = Day(2005, 6, 1); }, nullptr,
     nullptr},
    {"previous without a date", [](PersonnelRecord& r, auto&) { r.InactivationDate = std::nan(""); },
     "Inactivation Date", "a previous employee without"},
    {"leaves tomorrow", [](PersonnelRecord& r, auto&) { r.InactivationDate = Day(2026, 12, 8); }, "Inactivation Date",
     "after today"},
    {"SSN without dashes", [](PersonnelRecord& r, auto&) { r.SocialSecurityNumber = QStringLiteral("123456789"); },
     "Social Security #", "not a number"},
    {"SSN area 666", [](PersonnelRecord& r, auto&) { r.SocialSecurityNumber = QStringLiteral("666-45-6789"); },
     "Social Security #", "not a number"},
    {"SSN area 900", [](PersonnelRecord& r, auto&) { r.SocialSecurityNumber = QStringLiteral("900-45-6789"); },
     "Social Security #", "not a number"},
    {"SSN area 899", [](PersonnelRecord& r, auto&) { r.SocialSecurityNumber = QStringLiteral("899-45-6789"); },
     nullptr, nullptr},
    {"SSN group 00", [](PersonnelRecord& r, auto&) { r.SocialSecurityNumber = QStringLiteral("123-00-6789"); },
     "Social Security #", "not a number"},
    {"SSN serial 0000", [](PersonnelRecord& r, auto&) { r.SocialSecurityNumber = QStringLiteral("123-45-0000"); },
     "Social Security #", "not a number"},
    {"no SSN", [](PersonnelRecord& r, auto&) { r.SocialSecurityNumber.clear(); }, nullptr, nullptr},
    {"SSN of another", [](PersonnelRecord& r, const PersonnelRecord& f) { r.SocialSecurityNumber = f.SocialSecurityNumber; },
     "Social Security #", "the same as Able, Al (record 1)"},
    {"name and birthday of another", [](PersonnelRecord& r, auto&) { r.FirstName = QStringLiteral("AL"); },
     "Last Name", "the same name and date of birth as Able, Al (record 1)"},
    {"e-mail without @", [](PersonnelRecord& r, auto&) { r.Email = QStringLiteral("al.example.org"); }, "Email",
     "not an e-mail address"},
    {"e-mail without a dot after @", [](PersonnelRecord& r, auto&) { r.Email = QStringLiteral("al.b@example"); },
     "Email", "not an e-mail address"},
    {"no emergency contact", [](PersonnelRecord& r, auto&) { r.EmergencyName.clear(); }, "In Case of Emergency",
     "no emergency contact"},
    {"emergency contact without a number", [](PersonnelRecord& r, auto&) { r.EmergencyPhone.clear(); },
     "Contact Number", "no number"},
};

} // namespace

class TestDataQuality : public QObject {
    Q_OBJECT

private slots:
    // Each rule with a record that breaks it and, where there is a boundary, the record just inside it. The second
    // employee is changed; the first is clean, so anything found on it comes from comparing the two.
    void eachRuleFindsItsProblemAndNothingElse_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kCases)); ++i)
            QTest::newRow(kCases[i].name) << i;
    }
    void eachRuleFindsItsProblemAndNothingElse() {
        QFETCH(int, index);
        const Case& c = kCases[index];
        std::vector<PersonnelRecord> records{Clean(QStringLiteral("Al")), Clean(QStringLiteral("Bo"))};
        c.change(records[1], records[0]);
        const std::vector<QualityFinding> findings = CheckRecords(records, ToOADate(kToday));
        QStringList onSecond;
        for (const QualityFinding& f : findings)
            if (f.slot == 2)
                onSecond << f.field + QStringLiteral(": ") + f.rule;
        if (!c.field) {
            QVERIFY2(findings.empty(), qPrintable(onSecond.join(QLatin1Char('\n'))));
            return;
        }
        QCOMPARE(onSecond.size(), 1 + c.alsoFound);
        QVERIFY2(onSecond.first().startsWith(QLatin1String(c.field) + QStringLiteral(": ") + QLatin1String(c.rule)),
                 qPrintable(onSecond.first()));
        // A shared number or name is found on both employees, each naming the other.
        const bool shared = QByteArray(c.rule).startsWith("the same");
        QCOMPARE(findings.size(), size_t((shared ? 2 : 1) + c.alsoFound));
        QCOMPARE(findings.back().employee, records[1].LastName + QStringLiteral(", ") + records[1].FirstName);
    }
};

QTEST_GUILESS_MAIN(TestDataQuality)
#include "tst_dataquality.moc"
