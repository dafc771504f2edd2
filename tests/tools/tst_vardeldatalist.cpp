#include "core/base/DateRules.h"
#include "core/list/EmployeeList.h"

#include "FileTestSupport.h"
#include "VardelDataRun.h"

#include <QDate>
#include <QTemporaryDir>
#include <QTest>

namespace {

double Day(int y, int m, int d) {
    return ToOADate(QDate(y, m, d));
}

PersonnelRecord Person(const QString& first, const QString& last, const QString& race, double left = 0) {
    PersonnelRecord r;
    r.FirstName = first;
    r.LastName = last;
    r.Race = race;
    r.Sex = QStringLiteral("M");
    r.Sworn = -1;
    r.DateOfBirth = Day(1980, 3, 7);
    r.DateOfEmployment = Day(1999, 7, 1);
    r.InactivationDate = left;
    r.JobTitle = QStringLiteral("Sergeant");
    r.Notepad = QStringLiteral("50% raise; said \"thanks\" \\o/");
    return r;
}

} // namespace

class TestVardelDataList : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QByteArray bytes;
        for (const PersonnelRecord& r :
             {Person("Zoë", "Young", "W"), Person("Al", "adams", "B"), Person("Bo", "Gone", "W", Day(2001, 1, 1))})
            bytes += EncodePersonnelRecord(r);
        writeFile(m_dir.filePath(QStringLiteral("Vardel.Data")), bytes);
    }

    void printsTheHeadingAndTheRows_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("defaults") << QStringList{}
                                  << QByteArray("Current Employees\nadams, Al\tSergeant\t*\t2\n"
                                                "Young, Zoë\tSergeant\t*\t1\n");
        QTest::newRow("race") << QStringList{"--race", "W"}
                              << QByteArray("Current Employees - Race: White\nYoung, Zoë\tSergeant\t*\t1\n");
        QTest::newRow("previous") << QStringList{"--status", "previous", "--with", "race/sex"}
                                  << QByteArray("Previous Employees\nGone, Bo\tW/M\t*\t3\n");
        QTest::newRow("search with quotes and percent")
            << QStringList{"--search", " 50% raise; said \"thanks\" \\o/ ", "--notepad", "--race", "B"}
            << QByteArray("Current Employees - Race: Black - '50% raise; said \"thanks\" \\o/'\n"
                          "adams, Al\tSergeant\t*\t2\n");
        QTest::newRow("no match") << QStringList{"--search", "(?i).*"} << QByteArray("Current Employees - '(?i).*'\n");
        const QDate today = QDate::currentDate();
        const QByteArray served = QByteArray::number(today.year() - 1999 - (today < QDate(today.year(), 7, 1) ? 1 : 0));
        QTest::newRow("seniority") << QStringList{"--type", "seniority"}
                                   << QByteArray("Current Employees - Seniority (by Date of Employment)\n"
                                                 "Young, Zoë\tSergeant\t07/01/1999 (" +
                                                 served + ")\t1\nadams, Al\tSergeant\t07/01/1999 (" + served +
                                                 ")\t2\n");
        QTest::newRow("birthday") << QStringList{"--type", "birthday", "--sworn", "sworn"}
                                  << QByteArray("Current Sworn Employees - Birthday List (by Month/Day)\n"
                                                "Young, Zoë\tMar 07\t (" +
                                                QByteArray::number(QDate::currentDate().year() - 1980) +
                                                ")\t1\nadams, Al\tMar 07\t (" +
                                                QByteArray::number(QDate::currentDate().year() - 1980) + ")\t2\n");
    }

    void printsTheHeadingAndTheRows() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, out);
        const Run run = VardelData(InFolder(m_dir.path(), "list") + args);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, out);
    }

    void badValuesAreRefused_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("reason");
        QTest::newRow("type") << QStringList{"--type", "salary"} << QByteArray("bad value \"salary\" for --type");
        QTest::newRow("race") << QStringList{"--race", "w"} << QByteArray("bad value \"w\" for --race");
        QTest::newRow("month") << QStringList{"--month", "January"} << QByteArray("bad value \"January\" for --month");
        QTest::newRow("year") << QStringList{"--year", "99"} << QByteArray("bad value \"99\" for --year");
        QTest::newRow("age group") << QStringList{"--age-group", "35"} << QByteArray("for --age-group");
        QTest::newRow("with") << QStringList{"--with", "Salary"} << QByteArray("for --with");
        QTest::newRow("missing value") << QStringList{"--search"} << QByteArray("--search needs a value");
        QTest::newRow("unknown") << QStringList{"--colour", "red"} << QByteArray("unknown option --colour");
        QTest::newRow("alphabetical only") << QStringList{"--type", "age", "--status", "previous"}
                                           << QByteArray("--status applies to --type alpha only");
    }

    void badValuesAreRefused() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, reason);
        const Run run = VardelData(InFolder(m_dir.path(), "list") + args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(reason), run.err.constData());
        QCOMPARE(run.out, QByteArray());
    }

    // As the main window selects "Previous" by itself when no current employee is on file.
    void aFileOfPreviousEmployeesListsThem_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("no status given") << QStringList{}
                                         << QByteArray("Previous Employees\nGone, Bo\tSergeant\t*\t1\n");
        QTest::newRow("current asked for") << QStringList{"--status", "current"} << QByteArray("Current Employees\n");
        QTest::newRow("seniority lists current only")
            << QStringList{"--type", "age"} << QByteArray("Current Employees - Seniority (by Age)\n");
    }

    void aFileOfPreviousEmployeesListsThem() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, out);
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("Vardel.Data")),
                  EncodePersonnelRecord(Person("Bo", "Gone", "W", Day(2001, 1, 1))));
        const Run run = VardelData(InFolder(dir.path(), "list") + args);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, out);
    }

    void helpNeedsNoDataFolder_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("usage");
        QTest::newRow("list") << "list --help" << QByteArray("usage: vardel-data list ");
        QTest::newRow("print") << "print --help" << QByteArray("usage: vardel-data print list ");
        for (const char* name : {"info", "dump", "users", "demo", "make-old", "convert", "remove", "history", "backup",
                                 "verify", "check", "export", "import", "server-import", "server-export"})
            QTest::newRow(name) << QStringLiteral("%1 --help").arg(name) << "usage: vardel-data " + QByteArray(name);
        QTest::newRow("among other arguments") << "remove --slot x --help" << QByteArray("usage: vardel-data remove");
    }

    void helpNeedsNoDataFolder() {
        QFETCH(QString, command);
        QFETCH(QByteArray, usage);
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("missing"));
        const Run run = VardelData(InFolder(missing, command));
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(usage), run.out.constData());
        QVERIFY(!QFile::exists(missing));
    }

    void aMissingFileListsNothingAndStaysMissing() {
        QTemporaryDir empty;
        const Run run = VardelData(InFolder(empty.path(), "list"));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("Current Employees\n"));
        QVERIFY(!QFile::exists(empty.filePath(QStringLiteral("Vardel.Data"))));
    }

    // The rows go out a block at a time; a list many blocks long comes out whole, every row in its place.
    void aLongListComesOutWhole() {
        QTemporaryDir dir;
        QByteArray bytes;
        for (int n = 0; n < 3000; ++n)
            bytes += EncodePersonnelRecord(Person(QStringLiteral("F%1").arg(n, 4, 10, QLatin1Char('0')), "Zé", "W"));
        writeFile(dir.filePath(QStringLiteral("Vardel.Data")), bytes);
        const Run run = VardelData(InFolder(dir.path(), "list"));
        QCOMPARE(run.exitCode, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 3002); // the heading, the rows and what follows the last line break
        QCOMPARE(lines.at(1), QByteArray("Zé, F0000\tSergeant\t*\t1"));
        QCOMPARE(lines.at(3000), QByteArray("Zé, F2999\tSergeant\t*\t3000"));
        QCOMPARE(lines.last(), QByteArray());
    }

    void controlCharactersAreEscaped() {
        QTemporaryDir dir;
        PersonnelRecord r = Person(QStringLiteral("\x1b[2JRed"), QStringLiteral("Bell\x07"), "W");
        r.JobTitle = QStringLiteral("Chief\tof\u009dStaff\x7f");
        writeFile(dir.filePath(QStringLiteral("Vardel.Data")), EncodePersonnelRecord(r));
        const Run rows = VardelData(InFolder(dir.path(), "list"));
        QCOMPARE(rows.out, QByteArray("Current Employees\nBell\\u0007, \\u001b[2JRed\t"
                                      "Chief\\tof\\u009dStaff\\u007f\t*\t1\n"));
        // The JSON of dump escapes the DEL and C1 controls too.
        QVERIFY(VardelData(InFolder(dir.path(), "dump")).out.contains("\"Chief\\tof\\u009dStaff\\u007f\""));
    }
};

QTEST_GUILESS_MAIN(TestVardelDataList)
#include "tst_vardeldatalist.moc"
