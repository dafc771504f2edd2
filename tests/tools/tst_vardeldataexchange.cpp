#include "FileSizeLimit.h"
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

// The names in a folder, hidden ones too: what a refused or failed export must leave as it was.
QStringList entriesOf(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

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
    // Where an export may go: never onto the data folder's files, over an existing file only when asked, and a
    // failed write leaves the target as it was and no half-written file beside it.
    void exportTargets_data() {
        QTest::addColumn<QString>("target"); // DATA and OUT stand for the two folders; LINK is a link to DATA
        QTest::addColumn<QString>("options");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("sizeLimit");      // bytes a file of vardel-data may grow to; 0 for none
        QTest::addColumn<QByteArray>("refusal"); // empty when the export is written
        const QByteArray inData = "is in the data folder";
        QTest::newRow("data file") << "DATA/Vardel.Data"
                                   << "--replace" << true << 0 << inData;
        QTest::newRow("history through a link") << "LINK/Change.Log"
                                                << "--replace" << true << 0 << inData;
        QTest::newRow("user list through ..") << "OUT/../data/User.List"
                                              << "--replace" << false << 0 << inData;
        QTest::newRow("new file in the data folder") << "DATA/list.csv"
                                                     << "" << false << 0 << inData;
        QTest::newRow("existing file") << "OUT/list.csv"
                                       << "" << true << 0
                                       << QByteArray("list.csv exists; add --replace to write over it");
        QTest::newRow("missing folder") << "OUT/none/list.csv"
                                        << "" << false << 0 << QByteArray("does not exist");
        QTest::newRow("new csv") << "OUT/list.csv"
                                 << "" << false << 0 << QByteArray();
        QTest::newRow("replaced csv") << "OUT/list.csv"
                                      << "--replace" << true << 0 << QByteArray();
        QTest::newRow("replaced xlsx") << "OUT/list.xlsx"
                                       << "--replace --format xlsx" << true << 0 << QByteArray();
        QTest::newRow("csv, disk full") << "OUT/list.csv"
                                        << "--replace" << true << 600 << QByteArray("list.csv: File too large");
        QTest::newRow("xlsx, disk full") << "OUT/list.xlsx"
                                         << "--replace --format xlsx" << true << 3000 << QByteArray("list.xlsx: ");
    }
    void exportTargets() {
        QFETCH(QString, target);
        QFETCH(QString, options);
        QFETCH(bool, existing);
        QFETCH(int, sizeLimit);
        QFETCH(QByteArray, refusal);
        QTemporaryDir root;
        const QString data = root.filePath(QStringLiteral("data"));
        const QString out = root.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(out));
        QCOMPARE(VardelData(InFolder(data, QStringLiteral("demo 30 --seed 4"))).exitCode, 0);
        QVERIFY(QFile::link(data, root.filePath(QStringLiteral("link"))));
        writeFile(data + QStringLiteral("/User.List"), "users");
        writeFile(data + QStringLiteral("/Change.Log"), "history");
        target.replace(QLatin1String("DATA"), data)
            .replace(QLatin1String("OUT"), out)
            .replace(QLatin1String("LINK"), root.filePath(QStringLiteral("link")));
        if (existing && !QFile::exists(target))
            writeFile(target, "before");
        const QByteArray before = readFile(target);
        const QStringList dataBefore = entriesOf(data);
        const QStringList outBefore = entriesOf(out);

        QStringList args = InFolder(data, QStringLiteral("export --fields all --out"));
        args << target;
        if (!options.isEmpty())
            args += Words(options);
        Run run;
        {
            const std::unique_ptr<FileSizeLimit> limit(sizeLimit > 0 ? new FileSizeLimit(rlim_t(sizeLimit)) : nullptr);
            run = VardelData(args);
        }
        QCOMPARE(entriesOf(data), dataBefore);
        if (refusal.isEmpty()) {
            QVERIFY2(run.exitCode == 0, run.err.constData());
            QVERIFY(readFile(target) != before);
            QCOMPARE(modeOf(target), mode_t(0600));
            QCOMPARE(entriesOf(out), QStringList{QFileInfo(target).fileName()});
        } else {
            QCOMPARE(run.exitCode, 1);
            // The spreadsheet library says more on standard error before the command's own line.
            QVERIFY2(run.err.contains("vardel-data export: ") && run.err.contains(refusal), run.err.constData());
            QCOMPARE(readFile(target), before);
            QCOMPARE(entriesOf(out), outBefore);
        }
    }

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

    // A mistyped folder never becomes a new one, whether the import would add anything or not.
    void importNeedsAnExistingFolder_data() {
        QTest::addColumn<QString>("options");
        QTest::newRow("dry run") << "--dry-run";
        QTest::newRow("import") << "";
    }
    void importNeedsAnExistingFolder() {
        QFETCH(QString, options);
        QTemporaryDir root;
        const QString csv = root.filePath(QStringLiteral("one.csv"));
        writeFile(csv, kOneRow);
        const QString folder = root.filePath(QStringLiteral("not-yet"));
        QStringList args = InFolder(folder, QStringLiteral("import")) << csv;
        if (!options.isEmpty())
            args << options;
        const Run run = VardelData(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("does not exist"), run.err.constData());
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_GUILESS_MAIN(TestVardelDataExchange)
#include "tst_vardeldataexchange.moc"
