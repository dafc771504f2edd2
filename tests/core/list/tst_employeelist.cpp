#include "core/base/FileError.h"
#include "core/list/EmployeeList.h"
#include "core/list/NameCollation.h"
#include "core/store/DataFile.h"

#include "DayTestSupport.h"
#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

PersonnelRecord Person(const QString& first, const QString& last, double born = Day(1980, 3, 7),
                       double hired = Day(1999, 7, 1), double left = 0) {
    PersonnelRecord r;
    r.FirstName = first;
    r.LastName = last;
    r.Race = QStringLiteral("B");
    r.Sex = QStringLiteral("F");
    r.Sworn = -1;
    r.DateOfBirth = born;
    r.DateOfEmployment = hired;
    r.InactivationDate = left;
    r.SocialSecurityNumber = QStringLiteral("123-45-6789");
    r.StreetAddress = QStringLiteral("12 Elm Street");
    r.CityStateZip = QStringLiteral("Springfield, IL 62704");
    r.HomePhone = QStringLiteral("555-0101");
    r.CellPhone = QStringLiteral("555-0102");
    r.Email = QStringLiteral("jd@pd.gov");
    r.JobTitle = QStringLiteral("Sergeant");
    r.EmployeeNumber = QStringLiteral("PD-7");
    return r;
}

void WriteRecords(const QList<PersonnelRecord>& records) {
    QByteArray bytes;
    for (const PersonnelRecord& r : records)
        bytes += EncodePersonnelRecord(r);
    writeFile(DataFileName, bytes);
}

QStringList Names(const QList<ListRow>& rows) {
    QStringList names;
    for (const ListRow& row : rows)
        names << row.Name;
    return names;
}

ListOptions OfType(int type) {
    ListOptions o;
    o.TypeList = type;
    return o;
}

} // namespace

class TestEmployeeList : public QObject {
    Q_OBJECT

private slots:
    // The order of names follows the locale; these run in the C locale, whose stand-in is the root collation.
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void init() {
        CloseDataFile();
        DataFileName = QStringLiteral("Vardel.Data");
    }

    void alphabeticalDetail_data() {
        QTest::addColumn<int>("listWith");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("detail");
        QTest::newRow("0") << 0 << "Job Title" << QStringLiteral("Sergeant");
        QTest::newRow("1") << 1 << "SS#" << QStringLiteral("123-45-6789");
        QTest::newRow("2") << 2 << "Race/Sex" << QStringLiteral("B/F");
        QTest::newRow("3") << 3 << "Date of Birth" << QStringLiteral("03/07/1980 (46)");
        QTest::newRow("4") << 4 << "Address" << QStringLiteral("12 Elm Street Springfield, IL 62704");
        QTest::newRow("5") << 5 << "Home Phone" << QStringLiteral("555-0101");
        QTest::newRow("6") << 6 << "Cell Phone" << QStringLiteral("555-0102");
        QTest::newRow("7") << 7 << "Email Address" << QStringLiteral("jd@pd.gov");
        QTest::newRow("8") << 8 << "Date of Employment" << QStringLiteral("07/01/1999 (27)");
        QTest::newRow("9") << 9 << "Employee#" << QStringLiteral("PD-7");
    }

    void alphabeticalDetail() {
        QFETCH(int, listWith);
        QFETCH(QString, header);
        QFETCH(QString, detail);
        ListOptions o;
        o.ListWith = listWith;
        const ListRow row = MakeListRow(o, Person("Jane", "Doe"), 12, kToday);
        QCOMPARE(row.Name, QStringLiteral("Doe, Jane"));
        QCOMPARE(row.Detail, detail);
        QCOMPARE(row.Extra, QStringLiteral("*"));
        QCOMPARE(row.Cell(3), QStringLiteral("12"));
        QCOMPARE(row.Cell(4), QString());
        QCOMPARE(ListFormatString(o), QStringLiteral("Name|<") + header);
        QCOMPARE(HeaderTexts(ListFormatString(o)), (QStringList{"Name", header}));
    }

    void rowsOfEachListType_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("width1");
        QTest::addColumn<int>("width2");
        QTest::newRow("seniority by employment")
            << 2 << QStringList{"Doe, Jane", "Sergeant", "07/01/1999 (27)", "5", "19990701"}
            << "Name|<Title|<Date of Employment" << 3200 << 2200;
        QTest::newRow("seniority by age") << 3 << QStringList{"Doe, Jane", "03/07/1980", "46", "5", "19800307"}
                                          << "Name|<Date of Birth|<Current Age" << 3400 << 2200;
        QTest::newRow("birthday") << 4 << QStringList{"Doe, Jane", "Mar 07", " (46)", "5", "0307"}
                                  << "Name|<Birthday|<Age on this Birthday" << 3200 << 2200;
        QTest::newRow("alphabetical") << 1 << QStringList{"Doe, Jane", "Sergeant", "*", "5", ""} << "Name|<Job Title"
                                      << 4500 << 1;
    }

    void rowsOfEachListType() {
        QFETCH(int, type);
        QFETCH(QStringList, cells);
        QFETCH(QString, format);
        QFETCH(int, width1);
        QFETCH(int, width2);
        const ListRow row = MakeListRow(OfType(type), Person(" Jane ", "Doe  "), 5, kToday);
        for (int c = 0; c < 5; ++c)
            QCOMPARE(row.Cell(c), cells.at(c));
        QCOMPARE(ListColumns(type), type == 1 ? 4 : 5);
        QCOMPARE(ListFormatString(OfType(type)), format);
        QCOMPARE(ListColumnWidth(type, 0), 2000);
        QCOMPARE(ListColumnWidth(type, 1), width1);
        QCOMPARE(ListColumnWidth(type, 2), width2);
    }

    void agesCountToToday_data() {
        QTest::addColumn<double>("born");
        QTest::addColumn<QString>("age");
        QTest::addColumn<QString>("birthdayAge");
        QTest::newRow("birthday passed") << Day(1980, 3, 7) << "46" << QStringLiteral(" (46)");
        QTest::newRow("birthday today") << Day(1980, 12, 6) << "46" << QStringLiteral(" (46)");
        QTest::newRow("birthday tomorrow") << Day(1980, 12, 7) << "45" << QStringLiteral(" (46)");
        QTest::newRow("leap day") << Day(1972, 2, 29) << "54" << QStringLiteral(" (54)");
    }

    void agesCountToToday() {
        QFETCH(double, born);
        QFETCH(QString, age);
        QFETCH(QString, birthdayAge);
        QCOMPARE(MakeListRow(OfType(3), Person("A", "B", born), 1, kToday).Extra, age);
        QCOMPARE(MakeListRow(OfType(4), Person("A", "B", born), 1, kToday).Extra, birthdayAge);
    }

    // A previous employee's service ends with the inactivation date, not today.
    void yearsOfServiceOfAPreviousEmployee() {
        ListOptions o;
        o.ListWith = 8;
        const PersonnelRecord left = Person("A", "B", Day(1970, 1, 1), Day(1999, 7, 1), Day(2004, 6, 30));
        QCOMPARE(MakeListRow(o, left, 1, kToday).Detail, QStringLiteral("07/01/1999 (4)"));
    }

    void sorting_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<PersonnelRecord>>("records");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("case does not count")
            << 1 << QList<PersonnelRecord>{Person("Bob", "Smith"), Person("anna", "smith")}
            << QStringList{"smith, anna", "Smith, Bob"};
        QTest::newRow("comma before letters")
            << 1 << QList<PersonnelRecord>{Person("Al", "Smithers"), Person("John", "Smith")}
            << QStringList{"Smith, John", "Smithers, Al"};
        QTest::newRow("equal names keep slot order")
            << 1 << QList<PersonnelRecord>{Person("Jo", "Lee", Day(1970, 1, 1)), Person("jo", "LEE", Day(1960, 1, 1))}
            << QStringList{"Lee, Jo", "LEE, jo"};
        QTest::newRow("an accented first letter files under its letter")
            << 1
            << QList<PersonnelRecord>{Person("Ann", "Zimmerman"), Person("Luc", "Émond"), Person("Ana", "Ávila"),
                                      Person("Bo", "Baker"), Person("Eva", "Eklund")}
            << QStringList{"Ávila, Ana", "Baker, Bo", "Eklund, Eva", "Émond, Luc", "Zimmerman, Ann"};
        QTest::newRow("accents and case do not count: slot order")
            << 1 << QList<PersonnelRecord>{Person("Zoë", "Émond"), Person("zoe", "emond"), Person("Zoe", "Emond")}
            << QStringList{"Émond, Zoë", "emond, zoe", "Emond, Zoe"};
        QTest::newRow("names alike far into their keys")
            << 1
            << QList<PersonnelRecord>{Person("Alexandra", "Montgomery-Smithson"), Person("Alex", "Montgomery-Smithson"),
                                      Person("Alexander", "Montgomery-Smithson")}
            << QStringList{"Montgomery-Smithson, Alex", "Montgomery-Smithson, Alexander",
                           "Montgomery-Smithson, Alexandra"};
        QTest::newRow("longest-serving first")
            << 2
            << QList<PersonnelRecord>{Person("New", "A", 0, Day(2020, 1, 2)), Person("Old", "B", 0, Day(1988, 5, 1)),
                                      Person("Mid", "C", 0, Day(2001, 12, 31))}
            << QStringList{"B, Old", "C, Mid", "A, New"};
        QTest::newRow("oldest first") << 3
                                      << QList<PersonnelRecord>{Person("Young", "A", Day(1999, 1, 1)),
                                                                Person("Old", "B", Day(1950, 12, 31))}
                                      << QStringList{"B, Old", "A, Young"};
        QTest::newRow("birthdays in calendar order, same day together")
            << 4
            << QList<PersonnelRecord>{Person("Dec", "A", Day(1990, 12, 31)), Person("Mar", "B", Day(1961, 3, 7)),
                                      Person("Jan", "C", Day(2000, 1, 1)), Person("Mar", "D", Day(1985, 3, 7))}
            << QStringList{"C, Jan", "B, Mar", "D, Mar", "A, Dec"};
    }

    void sorting() {
        QFETCH(int, type);
        QFETCH(QList<PersonnelRecord>, records);
        QFETCH(QStringList, order);
        QList<ListRow> rows;
        for (qsizetype i = 0; i < records.size(); ++i)
            rows << MakeListRow(OfType(type), records.at(i), static_cast<qint32>(i + 1), kToday);
        SortListRows(rows, type);
        QCOMPARE(Names(rows), order);
        QCOMPARE(RowOfSlot(rows, rows.last().Slot), static_cast<int>(rows.size()));
        QCOMPARE(RowOfSlot(rows, 99), 0);
        // The same order when the list is built from the file, where the rows are kept as bytes.
        WriteRecords(records);
        QCOMPARE(Names(BuildEmployeeRows(OfType(type), kToday).Rows), order);
        const CompactEmployeeList compact = BuildCompactEmployeeList(OfType(type), kToday);
        QCOMPARE(compact.size(), records.size());
        for (qsizetype i = 0; i < compact.size(); ++i)
            QCOMPARE(compact.row(i), rows.at(i));
    }

    // The list's bytes go in blocks; a piece that does not fit in the rest of a block starts the next one whole.
    void byteBlocksKeepEveryPieceWhole_data() {
        QTest::addColumn<QList<int>>("sizes");
        QTest::addColumn<QList<quint32>>("starts");
        constexpr int block = ByteBlocks::BlockSize;
        QTest::newRow("small pieces share a block") << QList<int>{3, 5, 1} << QList<quint32>{0, 3, 8};
        QTest::newRow("a piece that fills the block")
            << QList<int>{block - 4, 4, 1} << QList<quint32>{0, block - 4, block};
        QTest::newRow("one byte too many moves on")
            << QList<int>{block - 4, 5, 2} << QList<quint32>{0, block, block + 5};
        QTest::newRow("whole blocks") << QList<int>{block, block, 1} << QList<quint32>{0, block, 2u * block};
    }

    void byteBlocksKeepEveryPieceWhole() {
        QFETCH(QList<int>, sizes);
        QFETCH(QList<quint32>, starts);
        ByteBlocks blocks;
        QList<quint32> got;
        for (qsizetype i = 0; i < sizes.size(); ++i) {
            got << blocks.start(sizes.at(i));
            blocks.append(QByteArray(sizes.at(i), char('a' + i)).constData(), sizes.at(i));
        }
        QCOMPARE(got, starts);
        for (qsizetype i = 0; i < sizes.size(); ++i)
            QCOMPARE(QByteArray(blocks.bytesAt(got.at(i)), sizes.at(i)), QByteArray(sizes.at(i), char('a' + i)));
    }

    void collationFollowsTheLocale_data() {
        QTest::addColumn<QStringList>("localeAndNames");
        QTest::addColumn<int>("order");
        QTest::newRow("C: root") << QStringList{"C", "Ávila, Ana", "Baker, Bo"} << -1;
        QTest::newRow("POSIX: root") << QStringList{"POSIX", "Émond, Luc", "Zimmerman, Ann"} << -1;
        QTest::newRow("de: Ä with A") << QStringList{"de_DE", "Ärger, Jo", "Bauer, Jo"} << -1;
        QTest::newRow("sv: Å after Z") << QStringList{"sv_SE", "Zimmerman, Ann", "Åberg, Ann"} << -1;
        QTest::newRow("en: case and accents equal") << QStringList{"en_US", "ÉMOND, ZOË", "emond, zoe"} << 0;
    }

    void collationFollowsTheLocale() {
        QFETCH(QStringList, localeAndNames);
        QFETCH(int, order);
        const NameCollator collator{QLocale(localeAndNames.at(0))};
        const QByteArray a = collator.sortKey(localeAndNames.at(1));
        const QByteArray b = collator.sortKey(localeAndNames.at(2));
        QCOMPARE((a > b) - (a < b), order);
    }

    void heading_data() {
        QTest::addColumn<ListOptions>("options");
        QTest::addColumn<QString>("heading");
        auto with = [](auto change) {
            ListOptions o;
            change(o);
            return o;
        };
        QTest::newRow("defaults") << ListOptions() << "Current Employees";
        QTest::newRow("example 1") << with([](ListOptions& o) {
            o.EmpSworn = 2;
            o.Race = 2;
            o.Year = "1999";
            o.OtherText = " sergeant ";
        }) << "Current Sworn Employees - Race: White - Year Emp.: 1999 - 'sergeant'";
        QTest::newRow("example 2") << with([](ListOptions& o) { o.TypeList = 4; })
                                   << "Current Employees - Birthday List (by Month/Day)";
        QTest::newRow("previous non-sworn") << with([](ListOptions& o) {
            o.EmpStatus = 2;
            o.EmpSworn = 3;
            o.Sex = 3;
        }) << "Previous Non-Sworn Employees - Sex: Female";
        QTest::newRow("all three lists") << with([](ListOptions& o) {
            o.Race = 6;
            o.Month = "Jan";
            o.Year = "2001";
            o.AgeGroup = "30's";
        }) << "Current Employees - Race: Other - Month Emp.: Jan - Year Emp.: 2001 - Age Group: 30's";
        QTest::newRow("looks are for the alphabetical listing") << with([](ListOptions& o) {
            o.TypeList = 2;
            o.EmpSworn = 2;
            o.Month = "Jan";
            o.OtherText = "x";
        }) << "Current Sworn Employees - Seniority (by Date of Employment)";
        QTest::newRow("blank search text") << with([](ListOptions& o) { o.OtherText = "   "; }) << "Current Employees";
    }

    void heading() {
        QFETCH(ListOptions, options);
        QFETCH(QString, heading);
        QCOMPARE(ListHeading(options), heading);
    }

    void statusButtons_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("previous");
        QTest::addColumn<bool>("alphabetical");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("currentEnabled");
        QTest::addColumn<bool>("previousEnabled");
        QTest::addColumn<int>("nowSelected");
        QTest::newRow("both") << 42 << 3 << true << 2 << true << true << 2;
        QTest::newRow("no previous") << 42 << 0 << true << 2 << true << false << 1;
        QTest::newRow("only previous") << 0 << 7 << true << 1 << false << true << 2;
        QTest::newRow("not alphabetical") << 42 << 3 << false << 2 << true << false << 1;
        QTest::newRow("empty") << 0 << 0 << true << 2 << false << false << 2;
    }

    void statusButtons() {
        QFETCH(int, current);
        QFETCH(int, previous);
        QFETCH(bool, alphabetical);
        QFETCH(int, selected);
        QFETCH(bool, currentEnabled);
        QFETCH(bool, previousEnabled);
        QFETCH(int, nowSelected);
        const StatusButtons b = RefreshStatusButtons(current, previous, alphabetical, selected);
        QCOMPARE(b.CurrentCaption, QStringLiteral("Current (%1)").arg(current));
        QCOMPARE(b.PreviousCaption, QStringLiteral("Previous (%1)").arg(previous));
        QCOMPARE(b.CurrentEnabled, currentEnabled);
        QCOMPARE(b.PreviousEnabled, previousEnabled);
        QCOMPARE(b.Selected, nowSelected);
    }

    // The year list on 6 December 2026 runs from 1967 to 2027, after its empty entry.
    void yearListOf2026() {
        const QStringList years = YearEntries(2026);
        QCOMPARE(years.size(), 62);
        QCOMPARE(years.at(0), QString());
        QCOMPARE(years.at(1), QStringLiteral("1967"));
        QCOMPARE(years.last(), QStringLiteral("2027"));
    }

    void listTypeRule() {
        ListOptions o;
        o.TypeList = 4;
        o.EmpStatus = 2;
        o.Race = 3;
        o.Sex = 2;
        o.Month = QStringLiteral("Jan");
        ApplyListTypeRule(o);
        QCOMPARE(o.EmpStatus, 1);
        QCOMPARE(o.Race, 1);
        QCOMPARE(o.Sex, 1);
        QCOMPARE(o.Month, QStringLiteral("Jan"));
    }

    void buildReadsEverySlotAndCounts() {
        TempWorkDir dir;
        WriteRecords({Person("Zed", "Young"), Person("Amy", "Adams", Day(1970, 1, 1), Day(1990, 1, 1), Day(2000, 1, 1)),
                      Person("Bo", "brown")});
        const EmployeeList list = BuildEmployeeRows(ListOptions(), kToday);
        QCOMPARE(Names(list.Rows), (QStringList{"brown, Bo", "Young, Zed"}));
        QCOMPARE(list.Rows.at(0).Slot, 3);
        QCOMPARE(list.RecordCount, 3);
        QCOMPARE(list.CurrentCount, 2);
        QCOMPARE(list.PreviousCount, 1);
        QCOMPARE(RecordCount, 3);
        QCOMPARE(DataFileNumber, qint16(0));
    }

    // Damaged or odd records list without failing.
    void oddRecordsStillList_data() {
        QTest::addColumn<PersonnelRecord>("record");
        QTest::addColumn<QString>("name");
        PersonnelRecord blank;
        QTest::newRow("blank slot") << blank << ", ";
        QTest::newRow("names of blanks") << Person("   ", "   ", 0, 0) << ", ";
        QTest::newRow("far-future dates") << Person("Far", "Future", Day(9999, 12, 31), 2958465) << "Future, Far";
        QTest::newRow("no date at all") << Person("Nan", "Date", std::numeric_limits<double>::quiet_NaN(),
                                                  std::numeric_limits<double>::infinity())
                                        << "Date, Nan";
        QTest::newRow("huge date") << Person("Huge", "Date", 1e300, -1e300) << "Date, Huge";
    }

    void oddRecordsStillList() {
        QFETCH(PersonnelRecord, record);
        QFETCH(QString, name);
        TempWorkDir dir;
        WriteRecords({record, Person("Ann", "Able")});
        for (int type = 1; type <= 4; ++type) {
            for (int with = 0; with < 10; ++with) {
                ListOptions o;
                o.TypeList = type;
                o.ListWith = with;
                o.Month = type == 1 && with == 9 ? QStringLiteral("Jan") : QString();
                o.AgeGroup = type == 1 && with == 8 ? QStringLiteral("40's") : QString();
                const EmployeeList list = BuildEmployeeRows(o, kToday);
                QVERIFY(list.Rows.size() <= 2);
                if (type == 1 && o.Month.isEmpty() && o.AgeGroup.isEmpty())
                    QVERIFY(Names(list.Rows).contains(name));
            }
        }
    }

    void onlyPreviousEmployees() {
        TempWorkDir dir;
        WriteRecords({Person("A", "One", Day(1970, 1, 1), Day(1990, 1, 1), Day(2000, 1, 1))});
        ListOptions o;
        o.EmpStatus = 2;
        QCOMPARE(BuildEmployeeRows(o, kToday).Rows.size(), 1);
        for (int type = 2; type <= 4; ++type)
            QVERIFY(BuildEmployeeRows(OfType(type), kToday).Rows.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEmployeeList)
#include "tst_employeelist.moc"
