// A writer killed at any of its named steps leaves the records as they were or wholly changed, and a history that
// names exactly the changes on file, once the next command has looked at the folder.

#include "FileTestSupport.h"
#include "VardelDataRun.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kTwoRows = "First Name,Last Name,Race,Sex,Date of Birth,Social Security #,Date of Employment\r\n"
                            "Ida,Ivers,W,F,3/7/1980,555-12-3456,4/1/2005\r\n"
                            "Jon,Jarvis,B,M,5/9/1977,555-65-4321,6/2/2001\r\n";

struct FolderCounts {
    int records = -1;
    int lines = -1;
    bool intact = false;
};

FolderCounts CountsOf(const QString& folder) {
    const Run info = VardelData(InFolder(folder, QStringLiteral("info")));
    FolderCounts c;
    for (const QByteArray& line : info.out.split('\n')) {
        if (line.startsWith("records "))
            c.records = line.mid(8).toInt();
        else if (line.startsWith("history "))
            c.lines = line.mid(8).toInt();
    }
    c.intact = info.out.contains("chain intact");
    return c;
}

// A folder of three sample employees, and the command's words with the CSV's path put in for CSV.
QStringList Prepared(const QString& folder, const QString& csv, const QString& command) {
    VardelData(InFolder(folder, QStringLiteral("demo 3 --seed 1")));
    QStringList words = InFolder(folder, command);
    words.replaceInStrings(QStringLiteral("CSV"), csv);
    return words;
}

} // namespace

class TestKillPoints : public QObject {
    Q_OBJECT

private slots:
    void killedWriterLeavesOldOrNew_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("step");
        QTest::addColumn<bool>("changed");
        QTest::newRow("import, lines pending") << "import CSV" << QByteArray("history-pending") << false;
        QTest::newRow("import, copy half written") << "import CSV" << QByteArray("rewrite-batch") << false;
        QTest::newRow("import, records in place") << "import CSV" << QByteArray("history-changed") << true;
        QTest::newRow("import, lines appended") << "import CSV" << QByteArray("history-appended") << true;
        QTest::newRow("removal, lines pending") << "remove --slot 2" << QByteArray("history-pending") << false;
        QTest::newRow("removal, record gone") << "remove --slot 2" << QByteArray("history-changed") << true;
        QTest::newRow("demo, records in place") << "demo 5 --seed 2 --replace" << QByteArray("history-changed") << true;
    }
    void killedWriterLeavesOldOrNew() {
        QFETCH(QString, command);
        QFETCH(QByteArray, step);
        QFETCH(bool, changed);
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("two.csv"));
        writeFile(csv, kTwoRows);
        // The same command run through, for what the folder holds before and after it.
        const QString reference = dir.filePath(QStringLiteral("reference"));
        const QStringList referenceWords = Prepared(reference, csv, command);
        const FolderCounts before = CountsOf(reference);
        QCOMPARE(VardelData(referenceWords).exitCode, 0);
        const FolderCounts after = CountsOf(reference);

        const QString folder = dir.filePath(QStringLiteral("killed"));
        const QStringList words = Prepared(folder, csv, command);
        qputenv("VARDEL_KILL_AT", step);
        const Run killed = VardelData(words);
        qunsetenv("VARDEL_KILL_AT");
        QVERIFY2(killed.exitCode != 0, "the step was not reached");

        const FolderCounts now = CountsOf(folder);
        QVERIFY(now.intact);
        QCOMPARE(now.records, changed ? after.records : before.records);
        QCOMPARE(now.lines, changed ? after.lines : before.lines);
        QVERIFY(!QFileInfo::exists(QDir(folder).filePath(QStringLiteral("Change.Log.pending"))));
    }
};

QTEST_GUILESS_MAIN(TestKillPoints)
#include "tst_killpoints.moc"
