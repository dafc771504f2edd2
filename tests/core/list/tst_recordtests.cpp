#include "core/list/RecordTests.h"

#include "DayTestSupport.h"

#include <QTest>

namespace {

PersonnelRecord Employee() {
    PersonnelRecord r;
    r.FirstName = QStringLiteral("John");
    r.MiddleName = QStringLiteral("Quincy");
    r.LastName = QStringLiteral("Smith");
    r.Race = QStringLiteral("W");
    r.Sex = QStringLiteral("M");
    r.Sworn = -1;
    r.DateOfBirth = Day(1980, 3, 7);
    r.DateOfEmployment = Day(1999, 7, 1);
    r.SocialSecurityNumber = QStringLiteral("123-45-6789");
    r.EmergencyName = QStringLiteral("Mary Smith");
    r.EmergencyRelationship = QStringLiteral("Spouse");
    r.EmergencyPhone = QStringLiteral("(555) 123-0001");
    r.StreetAddress = QStringLiteral("12 Elm Street");
    r.CityStateZip = QStringLiteral("Springfield, IL 62704");
    r.HomePhone = QStringLiteral("555-0101");
    r.CellPhone = QStringLiteral("555-0102");
    r.JobTitle = QStringLiteral("Sergeant");
    r.EmployeeNumber = QStringLiteral("PD-00042");
    r.Email = QStringLiteral("jsmith@pd.gov");
    r.Notepad = QStringLiteral("03/01/2004 - Commendation for bravery.\r\nTransferred to Investigations.");
    return r;
}

} // namespace

class TestRecordTests : public QObject {
    Q_OBJECT

private slots:
    // One option at a time against one record; every other option at its default.
    void singleTests_data() {
        QTest::addColumn<ListOptions>("options");
        QTest::addColumn<PersonnelRecord>("record");
        QTest::addColumn<bool>("listed");

        const PersonnelRecord john = Employee();
        auto with = [](auto change) {
            ListOptions o;
            change(o);
            return o;
        };
        auto record = [&john](auto change) {
            PersonnelRecord r = john;
            change(r);
            return r;
        };

        QTest::newRow("defaults") << ListOptions() << john << true;
        QTest::newRow("race W is White") << with([](ListOptions& o) { o.Race = 2; }) << john << true;
        QTest::newRow("race W is not Black") << with([](ListOptions& o) { o.Race = 3; }) << john << false;
        QTest::newRow("race is case-sensitive")
            << with([](ListOptions& o) { o.Race = 2; }) << record([](PersonnelRecord& r) { r.Race = "w"; }) << false;
        QTest::newRow("blank race fails a race")
            << with([](ListOptions& o) { o.Race = 6; }) << record([](PersonnelRecord& r) { r.Race.clear(); }) << false;
        QTest::newRow("sex M is Male") << with([](ListOptions& o) { o.Sex = 2; }) << john << true;
        QTest::newRow("sex M is not Female") << with([](ListOptions& o) { o.Sex = 3; }) << john << false;
        QTest::newRow("sex is case-sensitive")
            << with([](ListOptions& o) { o.Sex = 3; }) << record([](PersonnelRecord& r) { r.Sex = "f"; }) << false;
        QTest::newRow("sworn only") << with([](ListOptions& o) { o.EmpSworn = 2; }) << john << true;
        QTest::newRow("non-sworn only") << with([](ListOptions& o) { o.EmpSworn = 3; }) << john << false;
        QTest::newRow("sworn 1 is not sworn")
            << with([](ListOptions& o) { o.EmpSworn = 2; }) << record([](PersonnelRecord& r) { r.Sworn = 1; }) << false;
        QTest::newRow("sworn 1 is non-sworn")
            << with([](ListOptions& o) { o.EmpSworn = 3; }) << record([](PersonnelRecord& r) { r.Sworn = 1; }) << true;
        QTest::newRow("non-sworn 0") << with([](ListOptions& o) { o.EmpSworn = 3; })
                                     << record([](PersonnelRecord& r) { r.Sworn = 0; }) << true;
        QTest::newRow("previous is not current")
            << ListOptions() << record([](PersonnelRecord& r) { r.InactivationDate = Day(2010, 1, 1); }) << false;
        QTest::newRow("previous") << with([](ListOptions& o) { o.EmpStatus = 2; })
                                  << record([](PersonnelRecord& r) { r.InactivationDate = Day(2010, 1, 1); }) << true;
        QTest::newRow("current is not previous") << with([](ListOptions& o) { o.EmpStatus = 2; }) << john << false;
        // Every date but 0 makes a previous employee, the way the counts see it.
        QTest::newRow("negative inactivation is previous")
            << with([](ListOptions& o) { o.EmpStatus = 2; })
            << record([](PersonnelRecord& r) { r.InactivationDate = -5; }) << true;
        QTest::newRow("month Jul") << with([](ListOptions& o) { o.Month = "Jul"; }) << john << true;
        QTest::newRow("month Jun") << with([](ListOptions& o) { o.Month = "Jun"; }) << john << false;
        QTest::newRow("month is exact") << with([](ListOptions& o) { o.Month = "jul"; }) << john << false;
        QTest::newRow("year 1999") << with([](ListOptions& o) { o.Year = "1999"; }) << john << true;
        QTest::newRow("year 2000") << with([](ListOptions& o) { o.Year = "2000"; }) << john << false;
        QTest::newRow("year text not a year") << with([](ListOptions& o) { o.Year = "01999"; }) << john << false;
        QTest::newRow("age 46 in 40's") << with([](ListOptions& o) { o.AgeGroup = "40's"; }) << john << true;
        QTest::newRow("age 46 not in 30's") << with([](ListOptions& o) { o.AgeGroup = "30's"; }) << john << false;
        QTest::newRow("age 5 in 50's") << with([](ListOptions& o) { o.AgeGroup = "50's"; })
                                       << record([](PersonnelRecord& r) { r.DateOfBirth = Day(2021, 1, 1); }) << true;
        QTest::newRow("age 104 in 10's") << with([](ListOptions& o) { o.AgeGroup = "10's"; })
                                         << record([](PersonnelRecord& r) { r.DateOfBirth = Day(1922, 1, 1); }) << true;
        QTest::newRow("birthday tomorrow still 39")
            << with([](ListOptions& o) { o.AgeGroup = "30's"; })
            << record([](PersonnelRecord& r) { r.DateOfBirth = Day(1986, 12, 7); }) << true;
    }

    void singleTests() {
        QFETCH(ListOptions, options);
        QFETCH(PersonnelRecord, record);
        QFETCH(bool, listed);
        QCOMPARE(RecordTests(options, kToday).Lists(record), listed);
    }

    void otherText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("notepad");
        QTest::addColumn<bool>("found");
        QTest::newRow("empty passes") << QString() << false << true;
        QTest::newRow("only blanks pass") << QStringLiteral("     ") << false << true;
        QTest::newRow("blanks around are trimmed") << QStringLiteral("  smith ") << false << true;
        QTest::newRow("any case") << QStringLiteral("SERGEANT") << false << true;
        QTest::newRow("across two fields") << QStringLiteral("quincy smith") << false << true;
        QTest::newRow("suffix is empty: two blanks") << QStringLiteral("Smith  123") << false << true;
        QTest::newRow("ssn") << QStringLiteral("45-67") << false << true;
        QTest::newRow("emergency") << QStringLiteral("spouse") << false << true;
        QTest::newRow("employee number last") << QStringLiteral("Sergeant PD-00042") << false << true;
        QTest::newRow("email is not searched") << QStringLiteral("pd.gov") << false << false;
        QTest::newRow("race is not searched") << QStringLiteral("PD-00042 W") << false << false;
        QTest::newRow("notepad unticked") << QStringLiteral("bravery") << false << false;
        QTest::newRow("notepad ticked") << QStringLiteral("bravery") << true << true;
        QTest::newRow("notepad across a line break") << QStringLiteral("bravery.\r\nTrans") << true << true;
        QTest::newRow("into the notepad") << QStringLiteral("00042 03/01") << true << true;
        QTest::newRow("percent") << QStringLiteral("%") << true << false;
        QTest::newRow("quote") << QStringLiteral("'") << true << false;
        QTest::newRow("backslash") << QStringLiteral("\\") << true << false;
        QTest::newRow("regex characters") << QStringLiteral(".*") << true << false;
        QTest::newRow("parenthesis") << QStringLiteral("(555)") << false << true;
        QTest::newRow("25 characters") << QStringLiteral("Springfield, IL 62704 555") << false << true;
        QTest::newRow("outside the code page") << QStringLiteral("Łukasz") << true << false;
    }

    void otherText() {
        QFETCH(QString, text);
        QFETCH(bool, notepad);
        QFETCH(bool, found);
        ListOptions o;
        o.OtherText = text;
        o.SearchNotepad = notepad;
        QCOMPARE(RecordTests(o, kToday).Lists(Employee()), found);
    }

    // The byte search agrees with a plain case-insensitive search of the joined text.
    void otherTextMatchesTheSearchText_data() {
        QTest::addColumn<QString>("text");
        for (const char* t : {"John", "n Q", "Smith  1", "6789 Mary", "Street Spring", "0102 Serg", "42 03/01", "ions.",
                              "x", "Investigations", "h, IL", "Quincy Smith"})
            QTest::newRow(t) << QString::fromLatin1(t);
    }

    void otherTextMatchesTheSearchText() {
        QFETCH(QString, text);
        for (bool notepad : {false, true}) {
            ListOptions o;
            o.OtherText = text;
            o.SearchNotepad = notepad;
            const bool expected = SearchText(Employee(), notepad).contains(text, Qt::CaseInsensitive);
            QCOMPARE(RecordTests(o, kToday).Lists(Employee()), expected);
        }
    }

    void accentedLettersMatchInEitherCase() {
        PersonnelRecord r = Employee();
        r.LastName = QStringLiteral("ÉLODIE-ŠKODA");
        ListOptions o;
        o.OtherText = QStringLiteral("élodie-škoda");
        QVERIFY(RecordTests(o, kToday).Lists(r));
        QCOMPARE(TextFinder::Fold(0xC9), quint8(0xE9)); // É é
        QCOMPARE(TextFinder::Fold(0x9F), quint8(0xFF)); // Ÿ ÿ
        QCOMPARE(TextFinder::Fold(0xDF), quint8(0xDF)); // ß has no single-letter capital
    }

    void searchTextJoinsTheFourteenFields() {
        QCOMPARE(SearchText(Employee(), false),
                 QStringLiteral("John Quincy Smith  123-45-6789 Mary Smith Spouse (555) 123-0001 12 Elm Street "
                                "Springfield, IL 62704 555-0101 555-0102 Sergeant PD-00042"));
        PersonnelRecord r = Employee();
        r.SocialSecurityNumber = QStringLiteral("12");
        r.Notepad.clear();
        // The social security number keeps its padding; an empty notepad still brings its blank.
        QVERIFY(SearchText(r, true).contains(QStringLiteral(" 12          Mary")));
        QVERIFY(SearchText(r, true).endsWith(QStringLiteral("PD-00042 ")));
    }

    // The lists other than the alphabetical listing take current employees by sworn status alone.
    void otherListsTestStatusAndSwornOnly_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("sworn");
        QTest::addColumn<double>("inactivation");
        QTest::addColumn<bool>("listed");
        for (int type = 2; type <= 4; ++type) {
            const QByteArray t = QByteArray::number(type);
            QTest::newRow(t + " current") << type << 1 << 0.0 << true;
            QTest::newRow(t + " previous") << type << 1 << 40000.0 << false;
            QTest::newRow(t + " sworn only") << type << 2 << 0.0 << true;
            QTest::newRow(t + " non-sworn only") << type << 3 << 0.0 << false;
        }
    }

    void otherListsTestStatusAndSwornOnly() {
        QFETCH(int, type);
        QFETCH(int, sworn);
        QFETCH(double, inactivation);
        QFETCH(bool, listed);
        ListOptions o;
        o.TypeList = type;
        o.EmpSworn = sworn;
        // Options that belong to the alphabetical listing play no part.
        o.Race = 3;
        o.Sex = 3;
        o.Month = QStringLiteral("Feb");
        o.OtherText = QStringLiteral("nobody");
        PersonnelRecord r = Employee();
        r.InactivationDate = inactivation;
        QCOMPARE(RecordTests(o, kToday).Lists(r), listed);
    }
};

QTEST_GUILESS_MAIN(TestRecordTests)
#include "tst_recordtests.moc"
