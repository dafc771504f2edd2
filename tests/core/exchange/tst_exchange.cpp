#include "FileTestSupport.h"
#include "core/base/AppGlobals.h"
#include "core/exchange/CsvFormat.h"
#include "core/exchange/EmployeeExport.h"
#include "core/exchange/EmployeeImport.h"
#include "core/store/DataFile.h"
#include "core/base/DateRules.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDate kToday(2026, 12, 7);

PersonnelRecord Employee(const QString& first, const QString& last, const QString& ssn) {
    PersonnelRecord r;
    r.FirstName = first;
    r.LastName = last;
    r.Race = QStringLiteral("W");
    r.Sex = QStringLiteral("F");
    r.DateOfBirth = ToOADate(QDate(1980, 5, 1));
    r.DateOfEmployment = ToOADate(QDate(2005, 6, 1));
    r.SocialSecurityNumber = ssn;
    r.EmergencyName = QStringLiteral("Bo \"Bear\" O'Neil, Jr.");
    r.Notepad = QStringLiteral("Line one\r\nLine, two");
    r.Email = QStringLiteral("a@example.org");
    r.Sworn = -1;
    r.RecordCreated = ToOADate(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)));
    return r;
}

const QByteArray kHeading = "First Name,Last Name,Race,Sex,Date of Birth,Social Security #,Date of Employment,"
                            "Inactivation Date,Sworn,Shoe Size\r\n";

} // namespace

class TestExchange : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previous;

    void writeEmployees(const QList<PersonnelRecord>& records) {
        QByteArray bytes;
        for (const PersonnelRecord& r : records)
            bytes += EncodePersonnelRecord(r);
        writeFile(DataFileName, bytes);
    }

private slots:
    void initTestCase() {
        InitProgramValues();
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    void cleanupTestCase() { QDir::setCurrent(m_previous); }
    void init() { QFile::remove(DataFileName); }

    // Every field out through CSV and back in: the same employee, field by field, apart from the stamps the import
    // makes anew.
    void allFieldsRoundTripThroughCsv() {
        const PersonnelRecord original = Employee(QStringLiteral("Émond"), QStringLiteral("Ávila"), "123-45-6789");
        writeEmployees({original});
        const ExportTable table = MakeExportTable(ListOptions(), kToday, ExportFields::All, 4);
        const QByteArray csv = CsvExport(table);
        QVERIFY(csv.startsWith(Utf8ByteOrderMark + "First Name,Middle Name,Last Name"));
        QVERIFY(csv.contains(",1980-05-01,"));

        QFile::remove(DataFileName);
        const ImportPlan plan = PlanImport(csv, ReadAllRecords(), NowOADate());
        QVERIFY2(plan.error.isEmpty(), qPrintable(plan.error));
        QCOMPARE(plan.ignoredColumns, (QStringList{QStringLiteral("Record Created"), QStringLiteral("Last Modified")}));
        QCOMPARE(plan.rows.size(), 1);
        QVERIFY2(plan.rows[0].accepted, qPrintable(plan.rows[0].reason));
        QCOMPARE(ApplyImport(plan), 1);
        PersonnelRecord back = ReadAllRecords().at(0);
        back.RecordCreated = original.RecordCreated;
        back.LastModified = original.LastModified;
        back.DataVersion = original.DataVersion;
        QCOMPARE(back, original);
    }

    void badRowsAreRefusedWithTheirReason_data() {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QString>("reason"); // empty: accepted
        QTest::newRow("good, month-first dates") << QByteArray("Al,Able,W,M,3/7/1980,,4/1/2005,,Sworn,9") << QString();
        QTest::newRow("good, previous") << QByteArray("Al,Able,W,M,1980-03-07,,2005-04-01,2010-01-01,,9") << QString();
        QTest::newRow("race") << QByteArray("Al,Able,X,M,3/7/1980,,4/1/2005,,,")
                              << "Check the 'Race' designation (Use 'W', 'B', 'H', 'A', or 'O' only) See the Help Section "
                                 "'Important Program Notes' for more information.";
        QTest::newRow("date of birth") << QByteArray("Al,Able,W,M,31/31/1980,,4/1/2005,,,")
                                       << "Invalid 'Date of Birth' Entry";
        QTest::newRow("inactivation") << QByteArray("Al,Able,W,M,3/7/1980,,4/1/2005,soon,,")
                                      << "Invalid 'Inactivation Date' Entry";
        QTest::newRow("required") << QByteArray(",Able,W,M,3/7/1980,,4/1/2005,,,") << "'First Name' is required";
        QTest::newRow("too long") << QByteArray("Al,Ablewhite-Featherstone-Smythe,W,M,3/7/1980,,4/1/2005,,,")
                                  << "'Last Name' is longer than its 20 characters";
        QTest::newRow("code page") << QByteArray("Al,\xe7\x8e\x8b,W,M,3/7/1980,,4/1/2005,,,")
                                   << "'Last Name' holds characters the record cannot store";
        QTest::newRow("SSN on file") << QByteArray("Al,Able,W,M,3/7/1980,999-00-1111,4/1/2005,,,")
                                     << "the social security number ***-**-1111 is on file or earlier in the import";
        QTest::newRow("name and birthday on file")
            << QByteArray("ZOË,bell,W,M,5/1/1980,,4/1/2005,,,")
            << "an employee of this name and date of birth is on file or earlier in the import";
        QTest::newRow("removal mark") << QByteArray(" $Killed$ ,Able,W,M,3/7/1980,,4/1/2005,,,")
                                      << "'First Name' is the removal mark \"$Killed$\"";
        const QString control = QStringLiteral("'Last Name' holds a control character or line break");
        QTest::newRow("line break") << QByteArray("Al,\"Ab\r\nle\",W,M,3/7/1980,,4/1/2005,,,") << control;
        QTest::newRow("NUL") << QByteArray("Al,Ab\0le,W,M,3/7/1980,,4/1/2005,,,", 34) << control;
        QTest::newRow("ESC") << QByteArray("Al,Able\x1b[2J,W,M,3/7/1980,,4/1/2005,,,") << control;
        QTest::newRow("BEL") << QByteArray("Al,Ab\ale,W,M,3/7/1980,,4/1/2005,,,") << control;
        QTest::newRow("inner tab") << QByteArray("Al,Ab\tle,W,M,3/7/1980,,4/1/2005,,,") << control;
        QTest::newRow("DEL") << QByteArray("Al,Ab\x7fle,W,M,3/7/1980,,4/1/2005,,,") << control;
        QTest::newRow("duplicate heading") << QByteArray("Al,Able,W,M,3/7/1980,,4/1/2005,,,,Able")
                                           << "the headings \"Last Name\" and \"lastname\" name the same column";
        QTest::newRow("unknown heading twice") << QByteArray("Al,Able,W,M,3/7/1980,,4/1/2005,,,,9")
                                               << "the heading \"Shoe Size\" stands twice in the heading row";
    }
    void badRowsAreRefusedWithTheirReason() {
        QFETCH(QByteArray, row);
        QFETCH(QString, reason);
        PersonnelRecord onFile = Employee(QStringLiteral("Zoë"), QStringLiteral("Bell"), QStringLiteral("999-00-1111"));
        // A row with one more cell than the heading comes with one more heading: a whole file refused.
        QByteArray heading = kHeading;
        if (row.count(',') > kHeading.count(','))
            heading.replace("Shoe Size", reason.contains("Shoe") ? "Shoe Size,Shoe Size" : "Shoe Size,lastname");
        // The same row twice: the second is a duplicate within the import.
        const ImportPlan plan = PlanImport(heading + row + "\r\n" + row + "\r\n", {onFile}, NowOADate());
        if (!plan.error.isEmpty()) {
            QCOMPARE(plan.error, reason);
            QVERIFY(plan.rows.isEmpty());
            return;
        }
        QCOMPARE(plan.ignoredColumns, QStringList{QStringLiteral("Shoe Size")});
        QCOMPARE(plan.rows.size(), 2);
        QCOMPARE(plan.rows[0].reason, reason);
        QCOMPARE(plan.rows[0].accepted, reason.isEmpty());
        if (reason.isEmpty())
            QVERIFY(plan.rows[1].reason.contains(QStringLiteral("earlier in the import")));
    }

    // A cell a spreadsheet would run as a formula goes out behind an apostrophe and comes back in without it.
    void formulasAreNeutralisedAndComeBack_data() {
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("cell"); // as the CSV file holds it, unquoted
        QTest::newRow("equals") << "=HYPERLINK(\"http://x.example\",\"y\")"
                                << "'=HYPERLINK(\"http://x.example\",\"y\")";
        QTest::newRow("plus") << "+1 555 0100"
                              << "'+1 555 0100";
        QTest::newRow("minus") << "-2+3"
                               << "'-2+3";
        QTest::newRow("at") << "@SUM(A1)"
                            << "'@SUM(A1)";
        QTest::newRow("tab") << "\t=1"
                             << "'\t=1";
        QTest::newRow("apostrophe before equals") << "'=1"
                                                  << "''=1";
        QTest::newRow("apostrophe alone") << "'quoted'"
                                          << "'quoted'";
        QTest::newRow("equals inside") << "a=b"
                                       << "a=b";
    }
    void formulasAreNeutralisedAndComeBack() {
        QFETCH(QString, notes);
        QFETCH(QString, cell);
        PersonnelRecord original =
            Employee(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("123-45-6789"));
        original.Notepad = notes;
        writeEmployees({original});
        const QByteArray csv = CsvExport(MakeExportTable(ListOptions(), kToday, ExportFields::All, 4));
        const CsvParse parse = ParseCsv(csv);
        QCOMPARE(parse.records.at(1).at(parse.records.at(0).indexOf(QStringLiteral("Notepad"))), cell);

        QFile::remove(DataFileName);
        const ImportPlan plan = PlanImport(csv, ReadAllRecords(), NowOADate());
        QVERIFY2(plan.error.isEmpty(), qPrintable(plan.error));
        QVERIFY2(plan.rows.value(0).accepted, qPrintable(plan.rows.value(0).reason));
        QCOMPARE(plan.rows[0].record.Notepad, notes);
    }

    void numbersAreMaskedBelowFullAccess_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("allFields");
        QTest::addColumn<QString>("shown");
        QTest::newRow("level 4, all fields") << 4 << true << "123-45-6789";
        QTest::newRow("level 3, all fields") << 3 << true << "***-**-6789";
        QTest::newRow("level 4, list with SS#") << 4 << false << "123-45-6789";
        QTest::newRow("level 1, list with SS#") << 1 << false << "***-**-6789";
    }
    void numbersAreMaskedBelowFullAccess() {
        QFETCH(int, level);
        QFETCH(bool, allFields);
        QFETCH(QString, shown);
        writeEmployees({Employee(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("123-45-6789"))});
        ListOptions options;
        options.ListWith = 1;
        const ExportTable table =
            MakeExportTable(options, kToday, allFields ? ExportFields::All : ExportFields::List, level);
        QCOMPARE(table.rows.at(0).at(allFields ? 7 : 1).text, shown);
    }

    // The workbook read back: the heading, the bold frozen column headings, a real date cell.
    void xlsxHoldsHeadingsAndDateCells() {
        writeEmployees({Employee(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("123-45-6789"))});
        const QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("list.xlsx"));
        QCOMPARE(WriteExport(MakeExportTable(ListOptions(), kToday, ExportFields::All, 4), ExportFormat::Xlsx, path,
                             ExistingFile::Refuse),
                 QString());
        QCOMPARE(modeOf(path), mode_t(0600));
        auto part = [&path](const char* name) {
            QProcess unzip;
            unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QLatin1String(name)});
            unzip.waitForFinished();
            return unzip.readAllStandardOutput();
        };
        const QByteArray sheet = part("xl/worksheets/sheet1.xml");
        const QByteArray strings = part("xl/sharedStrings.xml");
        QVERIFY(sheet.contains("ySplit=\"2\""));
        QVERIFY(strings.contains("<t>Current Employees</t>"));
        QVERIFY(strings.contains("<t>Date of Birth</t>"));
        // 1 May 1980 is day 29342, as a number in a date format (style 2), not as text.
        QVERIFY(sheet.contains("<c r=\"G3\" s=\"2\"><v>29342</v></c>"));
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
