#include "ScriptedDialogs.h"
#include "TempWorkDir.h"
#include "core/app/CommandLine.h"
#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/record/PersonnelRecord.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"
#include "ui/app/SingleInstance.h"
#include "ui/app/basVardel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestStartUp : public QObject {
    Q_OBJECT

    // A lock file as a holder leaves it behind: its process id, program name and host on three lines.
    static void writeLockFile(const QString& path, qint64 pid) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray::number(pid) + '\n' + QCoreApplication::applicationName().toUtf8() + '\n' +
                   QSysInfo::machineHostName().toUtf8() + '\n');
    }

    // The id of a process that has run and ended.
    static qint64 deadProcessId() {
        QProcess process;
        process.start(QStringLiteral("true"));
        process.waitForFinished();
        return process.processId() ? process.processId() : 999999;
    }

    // The first holder of path goes on quietly; a second is refused with the message and told to end.
    template <class Guard> static void checkSecondIsRefused(const QString& path) {
        ScriptedDialogs scripted;
        Guard first(path);
        QVERIFY(!RefuseSecondInstance(first));
        QCOMPARE(scripted.calls().size(), 0);

        Guard second(path);
        scripted.answer(MsgResult::OK);
        QVERIFY(RefuseSecondInstance(second));
        QCOMPARE(scripted.calls().size(), 1);
        QCOMPARE(scripted.last().text, QStringLiteral("Vardel is already loaded\r\nand running on your computer!"));
        QCOMPARE(scripted.last().title, QStringLiteral("Terminating..."));
        QCOMPARE(scripted.last().icon, MsgIcon::Critical);
        QCOMPARE(scripted.last().buttons, MsgButtons::OK);
    }

private slots:
    void initTestCase() {
        // The program runs under its own title, which differs from the executable's name.
        QCoreApplication::setApplicationName(AppTitle);
        QCoreApplication::setOrganizationName(QString());
    }

    void chooseDataFolder_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("expected"); // "<appdata>" for the platform's folder
        const QString prog = QStringLiteral("vardel");
        QTest::newRow("argument") << QStringList{prog, "--data-dir", "/srv/records"} << ""
                                  << "/srv/records";
        QTest::newRow("argument with =") << QStringList{prog, "--data-dir=/srv/records"} << ""
                                         << "/srv/records";
        QTest::newRow("argument beats environment") << QStringList{prog, "--data-dir", "/srv/a"} << "/srv/b"
                                                    << "/srv/a";
        QTest::newRow("environment") << QStringList{prog} << "/srv/b/"
                                     << "/srv/b";
        QTest::newRow("option without value") << QStringList{prog, "--data-dir"} << "/srv/b"
                                              << "/srv/b";
        QTest::newRow("platform folder") << QStringList{prog} << ""
                                         << "<appdata>";
        QTest::newRow("program name is not an option") << QStringList{"--data-dir"} << ""
                                                       << "<appdata>";
        QTest::newRow("cleaned") << QStringList{prog, "--data-dir", "/srv//x/../records/"} << ""
                                 << "/srv/records";
    }
    void chooseDataFolder() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, environment);
        QFETCH(QString, expected);
        if (expected == QLatin1String("<appdata>")) {
            expected = QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
            QVERIFY(expected.endsWith(QLatin1String("/Vardel")));
        }
        QCOMPARE(ChooseDataFolder(arguments, environment), expected);
    }

    void relativeDataFolderIsMadeAbsolute() {
        TempWorkDir work;
        QCOMPARE(ChooseDataFolder({QStringLiteral("vardel"), QStringLiteral("--data-dir=data")}, QString()),
                 QDir(work.path()).filePath(QStringLiteral("data")));
    }

    // The folder is held as an absolute path and the working folder is left alone: a module that changes the
    // working folder afterwards still reads and writes the data folder's files.
    void dataFolderIsCreatedPrivateAndHeldAsAnAbsolutePath() {
        TempWorkDir work;
        const QString folder = work.file(QStringLiteral("a/b/Vardel"));
        UseDataFolder(folder);
        QCOMPARE(DataFolder(), QFileInfo(folder).canonicalFilePath());
        QCOMPARE(QDir::currentPath(), QFileInfo(work.path()).canonicalFilePath());
        QCOMPARE(QFileInfo(folder).permissions() & 0x0077, QFileDevice::Permissions());

        QVERIFY(QDir::setCurrent(work.path() + QStringLiteral("/a")));
        PersonnelRecord record;
        record.LastName = QStringLiteral("Ortiz");
        ActiveStore().Append(record);
        QCOMPARE(ActiveStore().Counts().records, 1);
        QVERIFY(QFile::exists(folder + QStringLiteral("/Vardel.Data")));
        QVERIFY(!QFile::exists(work.file(QStringLiteral("a/Vardel.Data"))));
        UseDataFolder(QString());
    }

    void unusableDataFolderRaisesAFileError() {
        TempWorkDir work;
        QFile blocker(work.file(QStringLiteral("plainfile")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString before = DataFolder();
        QVERIFY_THROWS_EXCEPTION(FileError, UseDataFolder(work.file(QStringLiteral("plainfile/Vardel"))));
        QCOMPARE(DataFolder(), before);
    }

    void secondInstanceIsRefusedWhileTheFirstRuns() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("vardel.lock"));
        SingleInstance first(path);
        QVERIFY(first.tryAcquire());
        SingleInstance second(path);
        QVERIFY(!second.tryAcquire());

        // However long the first copy has been running.
        QFile lockFile(path);
        QVERIFY(lockFile.open(QIODevice::ReadWrite));
        QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime));
        lockFile.close();
        QVERIFY(!second.tryAcquire());

        first.release();
        QVERIFY(second.tryAcquire());
    }

    void lockOfACrashedCopyIsTakenOver() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("vardel.lock"));
        writeLockFile(path, deadProcessId());
        SingleInstance instance(path);
        QVERIFY(instance.tryAcquire());
        QVERIFY(instance.isHeld());
    }

    // By the per-user lock; and, for two copies with different runtime folders (so each passes that lock), by the
    // claim on one data folder, while a copy on another folder is not refused.
    void secondCopyIsRefused() {
        QTemporaryDir dir;
        checkSecondIsRefused<SingleInstance>(dir.filePath(QStringLiteral("vardel.lock")));
        const QString folder = dir.filePath(QStringLiteral("data"));
        UseDataFolder(folder);
        checkSecondIsRefused<DataFolderClaim>(folder);

        ScriptedDialogs scripted;
        DataFolderClaim first(folder);
        QVERIFY(!RefuseSecondInstance(first));
        const QString other = dir.filePath(QStringLiteral("other"));
        UseDataFolder(other);
        DataFolderClaim elsewhere(other);
        QVERIFY(!RefuseSecondInstance(elsewhere));
        QCOMPARE(scripted.calls().size(), 0);
        UseDataFolder(QString());
    }

    // A server that cannot be reached is told through the dialogs and the start-up ends; none chosen is the folder.
    void unreachableServerEndsTheStart() {
        ScriptedDialogs scripted;
        QVERIFY(ConnectChosenServer({QStringLiteral("vardel")}));
        scripted.answer(MsgResult::OK);
        QVERIFY(!ConnectChosenServer(
            {QStringLiteral("vardel"), QStringLiteral("--server=postgresql:///vardel?host=/nonexistent")}));
        QCOMPARE(scripted.calls().size(), 1);
        const ScriptedDialogs::Call& call = scripted.calls().at(0);
        QVERIFY2(call.text.startsWith(QLatin1String("Vardel cannot reach the database server.\r\n")),
                 qPrintable(call.text));
        QVERIFY(call.text.endsWith(QLatin1String("\r\n\r\nVardel ends now.")));
        QCOMPARE(call.icon, MsgIcon::Critical);
        QVERIFY(!ActiveStore().IsServer());
    }

    void dataFolderOthersCanWriteIsRefusedAtStartUp() {
        TempWorkDir work;
        const QString folder = work.file(QStringLiteral("shared"));
        QVERIFY(QDir().mkdir(folder));
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
        const QString before = DataFolder();
        try {
            UseDataFolder(folder);
            QFAIL("a world-writable data folder was used");
        } catch (const FileError& error) {
            QVERIFY2(error.text().startsWith(QStringLiteral("The data folder\r\n")), qPrintable(error.text()));
            QVERIFY(error.text().contains(QStringLiteral("can be changed by other users")));
        }
        QCOMPARE(DataFolder(), before);
    }

    void displayIsNeeded_data() {
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("available");
        const QByteArray none;
        QTest::newRow("none") << none << none << none << QStringList() << false;
        QTest::newRow("x11") << QByteArray(":0") << none << none << QStringList() << true;
        QTest::newRow("wayland") << none << QByteArray("wayland-0") << none << QStringList() << true;
        QTest::newRow("named platform") << none << none << QByteArray("offscreen") << QStringList() << true;
        QTest::newRow("-platform") << none << none << none << QStringList{"-platform", "offscreen"} << true;
        QTest::newRow("--display=") << none << none << none << QStringList{"--display=:1"} << true;
        QTest::newRow("-display") << none << none << none << QStringList{"--data-dir", "d", "-display", ":1"} << true;
        QTest::newRow("other options") << none << none << none << QStringList{"--data-dir", "-platform"} << false;
    }

    void displayIsNeeded() {
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, platform);
        QFETCH(QStringList, arguments);
        QFETCH(bool, available);
        const QByteArray saved[] = {qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM")};
        const char* names[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
        const QByteArray values[] = {display, wayland, platform};
        for (int i = 0; i < 3; ++i)
            values[i].isEmpty() ? qunsetenv(names[i]) : qputenv(names[i], values[i]);
        const bool result = DisplayAvailable(arguments);
        for (int i = 0; i < 3; ++i)
            saved[i].isEmpty() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
        QCOMPARE(result, available);
    }

    void programWideValues() {
        InitProgramValues();
        QCOMPARE(DataFileName, QStringLiteral("Vardel.Data"));
        QCOMPARE(DataFileList, (QStringList{"Vardel.Data", "User.List", "User.Log"}));
        QCOMPARE(AccessLevelNames.size(), 5);
        QCOMPARE(AccessLevelName(1), QStringLiteral("Read Only"));
        QCOMPARE(AccessLevelName(2), QStringLiteral("Read/Edit"));
        QCOMPARE(AccessLevelName(3), QStringLiteral("Read/Edit/Add"));
        QCOMPARE(AccessLevelName(4), QStringLiteral("Read/Edit/Add/Delete"));
        QCOMPARE(AccessLevelName(0), QString());
        QCOMPARE(AccessLevelName(5), QString());
        QCOMPARE(VersionLine(), QStringLiteral("Version w3.12.1"));
    }
};

QTEST_GUILESS_MAIN(TestStartUp)
#include "tst_startup.moc"
