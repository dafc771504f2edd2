#include "FileTestSupport.h"
#include "VardelDataRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QByteArray kOneRow = "First Name,Last Name,Race,Sex,Date of Birth,Social Security #,Date of Employment\r\n"
                           "Ida,Ivers,W,F,3/7/1980,555-12-3456,4/1/2005\r\n";

// The history lines of one employee.
qsizetype historyLines(const QString& dir, const QString& employee) {
    const Run run = VardelData(InFolder(dir, QStringLiteral("history --employee ") + employee));
    return run.exitCode == 0 ? run.out.count('\n') : -1;
}

qsizetype records(const QString& dir) {
    const Run run = VardelData(InFolder(dir, QStringLiteral("info")));
    return run.out.startsWith("records ") ? run.out.mid(8, run.out.indexOf('\n') - 8).toLongLong() : -1;
}

} // namespace

class TestVardelDataExchange : public QObject {
    Q_OBJECT

private slots:
    // Imports of the same file started together: each row is added once, with one set of history lines, and
    // every other import refuses it with the usual reason.
    void concurrentImportsAddEachRowOnce_data() {
        QTest::addColumn<int>("processes");
        QTest::newRow("2 at once") << 2;
        QTest::newRow("4 at once") << 4;
    }
    void concurrentImportsAddEachRowOnce() {
        QFETCH(int, processes);
        QTemporaryDir reference;
        const QString csv = reference.filePath(QStringLiteral("one.csv"));
        writeFile(csv, kOneRow);
        QVERIFY(QDir().mkpath(reference.filePath(QStringLiteral("alone"))));
        QCOMPARE(
            VardelData(InFolder(reference.filePath(QStringLiteral("alone")), QStringLiteral("import")) << csv).exitCode,
            0);
        const qsizetype linesOfOne = historyLines(reference.filePath(QStringLiteral("alone")), QStringLiteral("Ivers"));
        QVERIFY(linesOfOne > 0);

        const int trials = qMax(5, qEnvironmentVariableIntValue("VARDEL_RACE_TRIALS"));
        int wrong = 0;
        for (int trial = 0; trial < trials; ++trial) {
            QTemporaryDir dir;
            QCOMPARE(VardelData(InFolder(dir.path(), QStringLiteral("demo 3 --seed 9"))).exitCode, 0);
            std::vector<std::unique_ptr<QProcess>> imports;
            for (int n = 0; n < processes; ++n) {
                imports.push_back(std::make_unique<QProcess>());
                imports.back()->start(QStringLiteral(VARDEL_DATA_TOOL), InFolder(dir.path(), QStringLiteral("import"))
                                                                            << csv);
            }
            int added = 0;
            int refused = 0;
            for (const auto& import : imports) {
                const Run run = FinishRun(*import);
                added += run.exitCode == 0 && run.out.endsWith("added 1 employees\n");
                refused += run.exitCode == 1 &&
                           run.out.contains("will not add: the social security number "
                                            "***-**-3456 is on file or earlier in the import") &&
                           run.out.endsWith("added 0 employees\n");
            }
            wrong += added != 1 || refused != processes - 1 || records(dir.path()) != 4 ||
                     historyLines(dir.path(), QStringLiteral("Ivers")) != linesOfOne;
        }
        qInfo("%d imports at once: %d trials, %d with a row added other than once", processes, trials, wrong);
        QCOMPARE(wrong, 0);
    }
};

QTEST_GUILESS_MAIN(TestVardelDataExchange)
#include "tst_vardeldataexchange.moc"
