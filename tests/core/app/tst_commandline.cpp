#include "ProcessRun.h"
#include "core/app/CommandLine.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kVersionLine = QStringLiteral("vardel " VARDEL_PROJECT_VERSION "\n");

QString tryHelp(const QString& message) {
    return QStringLiteral("vardel: ") + message + QStringLiteral("\nTry 'vardel --help' for more information.\n");
}

// Runs a built program the way a text console would: no display of any kind.
Run runWithoutDisplay(const QString& program, const QStringList& arguments, const QString& outputFile = QString()) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(env);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(program, arguments);
    return FinishRun(process);
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void readCommandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("start");
        QTest::addColumn<int>("exitStatus");
        QTest::addColumn<QString>("out"); // "<help>" for the help text
        QTest::addColumn<QString>("err");
        const QString none;
        const QString help = QStringLiteral("<help>");

        QTest::newRow("no arguments") << QStringList{} << true << 0 << none << none;
        QTest::newRow("data folder") << QStringList{"--data-dir", "/srv/records"} << true << 0 << none << none;
        QTest::newRow("data folder joined") << QStringList{"--data-dir=/srv/records"} << true << 0 << none << none;
        QTest::newRow("folder named like an option")
            << QStringList{"--data-dir", "--help"} << true << 0 << none << none;
        QTest::newRow("qt platform") << QStringList{"-platform", "offscreen"} << true << 0 << none << none;
        QTest::newRow("qt option with two dashes") << QStringList{"--platform", "xcb"} << true << 0 << none << none;
        QTest::newRow("qt display") << QStringList{"-display", ":1"} << true << 0 << none << none;
        QTest::newRow("qt style joined") << QStringList{"-style=Fusion"} << true << 0 << none << none;
        QTest::newRow("qt flags") << QStringList{"-reverse", "--nograb"} << true << 0 << none << none;
        QTest::newRow("session restore") << QStringList{"-session", "10d2f3"} << true << 0 << none << none;
        QTest::newRow("all together") << QStringList{"-platform", "xcb", "--data-dir", "/srv/r", "-reverse"} << true
                                      << 0 << none << none;

        QTest::newRow("help") << QStringList{"--help"} << false << 0 << help << none;
        QTest::newRow("short help") << QStringList{"-h"} << false << 0 << help << none;
        QTest::newRow("help after options")
            << QStringList{"--data-dir", "/srv/r", "--help"} << false << 0 << help << none;
        QTest::newRow("version") << QStringList{"--version"} << false << 0 << kVersionLine << none;
        QTest::newRow("version wins over what follows")
            << QStringList{"--version", "--bogus"} << false << 0 << kVersionLine << none;

        QTest::newRow("unknown option") << QStringList{"--bogus"} << false << 2 << none
                                        << tryHelp("unknown option '--bogus'");
        QTest::newRow("unknown short option")
            << QStringList{"-x"} << false << 2 << none << tryHelp("unknown option '-x'");
        QTest::newRow("unknown before help")
            << QStringList{"--bogus", "--help"} << false << 2 << none << tryHelp("unknown option '--bogus'");
        QTest::newRow("misspelt data folder")
            << QStringList{"--datadir", "/srv/r"} << false << 2 << none << tryHelp("unknown option '--datadir'");
        QTest::newRow("data folder with one dash")
            << QStringList{"-data-dir", "/srv/r"} << false << 2 << none << tryHelp("unknown option '-data-dir'");
        QTest::newRow("joined value qt does not read")
            << QStringList{"-platform=xcb"} << false << 2 << none << tryHelp("unknown option '-platform=xcb'");
        QTest::newRow("stray argument") << QStringList{"Vardel.Data"} << false << 2 << none
                                        << tryHelp("unexpected argument 'Vardel.Data'");
        QTest::newRow("lone dash") << QStringList{"-"} << false << 2 << none << tryHelp("unexpected argument '-'");
        QTest::newRow("data folder missing")
            << QStringList{"--data-dir"} << false << 2 << none << tryHelp("option '--data-dir' needs a folder");
        QTest::newRow("data folder empty")
            << QStringList{"--data-dir="} << false << 2 << none << tryHelp("option '--data-dir' needs a folder");
        QTest::newRow("server") << QStringList{"--server", "postgresql:///vardel?host=/run/pg"} << true << 0 << none
                                << none;
        QTest::newRow("server joined") << QStringList{"--server=host=records dbname=vardel"} << true << 0 << none
                                       << none;
        QTest::newRow("server missing") << QStringList{"--server"} << false << 2 << none
                                        << tryHelp("option '--server' needs a connection text");
        QTest::newRow("qt option missing its value")
            << QStringList{"-display"} << false << 2 << none << tryHelp("option '-display' needs a value");
    }
    void readCommandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, start);
        QFETCH(int, exitStatus);
        QFETCH(QString, out);
        QFETCH(QString, err);
        if (out == QLatin1String("<help>"))
            out = VardelHelpText();
        const CommandLineVerdict verdict = ReadCommandLine(QStringList{QStringLiteral("vardel")} + arguments);
        QCOMPARE(verdict.start, start);
        QCOMPARE(verdict.exitStatus, exitStatus);
        QCOMPARE(verdict.standardOutput, out);
        QCOMPARE(verdict.standardError, err);
    }

    void helpNamesEveryOption() {
        const QString help = VardelHelpText();
        QVERIFY(help.startsWith(QLatin1String("Usage: vardel ")));
        for (const char* option :
             {"--data-dir DIR", "--server URL", "-h, --help", "--version", "-platform", "vardel(1)"})
            QVERIFY2(help.contains(QLatin1String(option)), option);
        for (const QString& line : help.split(QLatin1Char('\n')))
            QVERIFY2(line.size() <= 80, qPrintable(line));
    }

    // The built programs, started without any display.
    void programsAnswerWithoutDisplay_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitStatus");
        QTest::addColumn<QString>("out"); // "<help>" for the help text
        QTest::addColumn<QString>("errStart");
        const QString vardel = QStringLiteral(VARDEL_PROGRAM);
        const QString data = QStringLiteral(VARDEL_DATA_TOOL);
        const QString none;
        QTest::newRow("version") << vardel << QStringList{"--version"} << 0 << kVersionLine << none;
        QTest::newRow("help") << vardel << QStringList{"--help"} << 0 << QStringLiteral("<help>") << none;
        QTest::newRow("unknown option") << vardel << QStringList{"--bogus"} << 2 << none
                                        << tryHelp("unknown option '--bogus'");
        QTest::newRow("qt option missing its value")
            << vardel << QStringList{"-platform"} << 2 << none << tryHelp("option '-platform' needs a value");
        // Good options get as far as the display check, which fails here.
        QTest::newRow("good options, no display") << vardel << QStringList{"--data-dir", "/nonexistent", "-reverse"}
                                                  << 1 << none << QStringLiteral("Vardel is a desktop program");
        QTest::newRow("vardel-data version") << data << QStringList{"--version"} << 0
                                             << QStringLiteral("vardel-data " VARDEL_PROJECT_VERSION "\n") << none;
    }
    void programsAnswerWithoutDisplay() {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitStatus);
        QFETCH(QString, out);
        QFETCH(QString, errStart);
        if (out == QLatin1String("<help>"))
            out = VardelHelpText();
        const Run run = runWithoutDisplay(program, arguments);
        QCOMPARE(run.exitCode, exitStatus);
        QCOMPARE(QString::fromLocal8Bit(run.out), out);
        const QString err = QString::fromLocal8Bit(run.err);
        if (errStart.isEmpty())
            QCOMPARE(err, QString());
        else
            QVERIFY2(err.startsWith(errStart), qPrintable(err));
    }

    void versionIntoAFullDiskFails() {
        const Run run = runWithoutDisplay(QStringLiteral(VARDEL_PROGRAM), {QStringLiteral("--version")},
                                          QStringLiteral("/dev/full"));
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith("vardel: cannot write the output"), run.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
