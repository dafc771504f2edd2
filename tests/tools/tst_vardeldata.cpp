#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/DateRules.h"
#include "core/base/FixedRecordFile.h"
#include "core/record/PersonnelRecord.h"
#include "core/users/UserList.h"

#include "FileTestSupport.h"
#include "TempWorkDir.h"
#include "VardelDataRun.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A started "demo N --seed S --replace" on a folder.
std::unique_ptr<QProcess> startDemo(const QString& dir, int count, int seed) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("VARDEL_DATA_DIR"));
    process->setProcessEnvironment(env);
    process->start(QStringLiteral(VARDEL_DATA_TOOL),
                   InFolder(dir, QStringLiteral("demo %1 --seed %2 --replace").arg(count).arg(seed)));
    process->waitForStarted();
    return process;
}

// The data file "demo N --seed S" writes.
QByteArray demoImage(int count, int seed) {
    QTemporaryDir dir;
    VardelData(InFolder(dir.path(), QStringLiteral("demo %1 --seed %2").arg(count).arg(seed)));
    return readFile(dir.filePath(QStringLiteral("Vardel.Data")));
}

// Race trials per case: a few in the suite; VARDEL_RACE_TRIALS=100 for a full count.
int raceTrials() {
    const int wanted = qEnvironmentVariableIntValue("VARDEL_RACE_TRIALS");
    return wanted > 0 ? wanted : 10;
}

// A pause of 0 to 40 ms, so that the writers meet at every stage of each other's work.
void jitter() {
    QThread::msleep(QRandomGenerator::global()->bounded(40));
}

QList<QJsonObject> dumpOf(const QString& dir) {
    QList<QJsonObject> objects;
    const Run run = VardelData(InFolder(dir, "dump"));
    if (run.exitCode != 0)
        return objects;
    for (const QByteArray& line : run.out.split('\n'))
        if (!line.isEmpty())
            objects << QJsonDocument::fromJson(line).object();
    return objects;
}

} // namespace

class TestVardelData : public QObject {
    Q_OBJECT

private slots:
    void infoOnAMissingFileCreatesNothing() {
        QTemporaryDir dir;
        const Run run = VardelData({QStringLiteral("info"), QStringLiteral("--data-dir"), dir.path()});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("records 0\ncurrent 0\nprevious 0\nhistory 0\nchain intact\n"));
        QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    // A mistyped folder is not an empty database: it is named, and the exit code says it failed.
    void missingOrWrongFolderIsAnError_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("plainFile");
        QTest::addColumn<QByteArray>("message");
        for (const char* command : {"info", "dump", "users"}) {
            QTest::addRow("%s, missing folder", command)
                << QString::fromLatin1(command) << false << QByteArray("does not exist");
            QTest::addRow("%s, a file", command)
                << QString::fromLatin1(command) << true << QByteArray("is not a folder");
        }
    }
    void missingOrWrongFolderIsAnError() {
        QFETCH(QString, command);
        QFETCH(bool, plainFile);
        QFETCH(QByteArray, message);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("not-yet"));
        if (plainFile)
            writeFile(folder, "x");
        const Run run = VardelData({command}, folder);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith("vardel-data: ") && run.err.contains(message), run.err.constData());
        QVERIFY2(run.err.contains(folder.toUtf8()), run.err.constData());
        QCOMPARE(QFileInfo::exists(folder), plainFile);
    }

    void outputThatCannotBeWrittenIsAnError_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("info") << QStringLiteral("info");
        QTest::newRow("dump") << QStringLiteral("dump");
        QTest::newRow("users") << QStringLiteral("users");
        QTest::newRow("demo") << QStringLiteral("demo 2 --seed 5 --replace");
        QTest::newRow("make-old") << QStringLiteral("make-old 2 --seed 5 --dat");
        QTest::newRow("convert") << QStringLiteral("convert");
    }
    void outputThatCannotBeWrittenIsAnError() {
        QFETCH(QString, command);
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        QTemporaryDir dir;
        QVERIFY(VardelData(Words("demo 3 --seed 1"), dir.path()).exitCode == 0);
        QTemporaryDir usersDir;
        {
            TempWorkDir work;
            OpenUserList();
            CurrentUser.FirstName = QStringLiteral("Ann");
            WriteUserRecord(1);
            CloseUserList();
            QVERIFY(QFile::copy(UserListFileName, dir.filePath(UserListFileName)));
        }
        const Run run = VardelData(Words(command), dir.path(), QStringLiteral("/dev/full"));
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("vardel-data: cannot write the output: No space left on device"),
                 run.err.constData());
    }

    // Inspecting must work on a file that cannot be written, and must never change it.
    void inspectionOpensFilesForReadingOnly() {
        QTemporaryDir dir;
        QCOMPARE(VardelData(Words("demo 4 --seed 2"), dir.path()).exitCode, 0);
        const QString data = dir.filePath(QStringLiteral("Vardel.Data"));
        const QString list = dir.filePath(QStringLiteral("User.List"));
        writeFile(list, QByteArray(500, ' '));
        const bool root = ::geteuid() == 0;
        // Root may write any file whatever its mode; an immutable file it may not.
        for (const QString& file : {data, list}) {
            if (root) {
                if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), file}) != 0)
                    QSKIP("cannot make a file immutable here");
            } else {
                QFile::setPermissions(file, QFileDevice::ReadOwner);
            }
        }
        const Run info = VardelData({QStringLiteral("info")}, dir.path());
        const Run dump = VardelData({QStringLiteral("dump")}, dir.path());
        const Run users = VardelData({QStringLiteral("users")}, dir.path());
        if (root)
            for (const QString& file : {data, list})
                QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), file});
        QCOMPARE(info.exitCode, 0);
        QVERIFY(info.out.startsWith("records 4\n"));
        QCOMPARE(dump.exitCode, 0);
        QCOMPARE(dump.out.count('\n'), 4);
        QCOMPARE(users.exitCode, 0);
        QCOMPARE(users.out.count('\n'), 1);
    }

    void demoCarriesNoDateAfterToday() {
        QTemporaryDir dir;
        QCOMPARE(VardelData(InFolder(dir.path(), "demo 400 --seed 4")).exitCode, 0);
        const QByteArray bytes = readFile(dir.filePath(QStringLiteral("Vardel.Data")));
        const double tomorrow = ToOADate(QDate::currentDate().addDays(1));
        for (qsizetype at = 0; at < bytes.size(); at += PersonnelLayout::RecordSize) {
            const PersonnelRecord r = DecodePersonnelRecord(bytes.constData() + at);
            for (const double date : {r.RecordCreated, r.LastModified, r.DateOfBirth, r.DateOfEmployment,
                                      r.DateOfJobTitle, r.InactivationDate})
                QVERIFY2(date < tomorrow, qPrintable(FormatMMDDYYYY(date)));
        }
    }

    void demoIsRepeatableAndCountsMatchTheDump() {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("one"));
        const QString second = dir.filePath(QStringLiteral("two"));
        QCOMPARE(VardelData(Words("demo 40 --seed 17"), first).exitCode, 0);
        QCOMPARE(VardelData(InFolder(second, "demo 40 --seed 17")).exitCode, 0);
        const QByteArray bytes = readFile(first + QStringLiteral("/Vardel.Data"));
        QCOMPARE(bytes.size(), 40 * 5000);
        QCOMPARE(readFile(second + QStringLiteral("/Vardel.Data")), bytes);
        QCOMPARE(QFile::permissions(first + QStringLiteral("/Vardel.Data")),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);

        // Another seed, other employees.
        const QString third = dir.filePath(QStringLiteral("three"));
        VardelData(InFolder(third, "demo 40 --seed 18"));
        QVERIFY(readFile(third + QStringLiteral("/Vardel.Data")) != bytes);

        const QList<QJsonObject> dumped = dumpOf(first);
        QCOMPARE(dumped.size(), 40);
        int current = 0;
        QSet<QString> races;
        QSet<QString> sexes;
        QSet<int> sworn;
        int fullNotes = 0;
        for (int i = 0; i < dumped.size(); ++i) {
            const QJsonObject& o = dumped[i];
            QCOMPARE(o.value(QStringLiteral("slot")).toInt(), i + 1);
            current += o.value(QStringLiteral("InactivationDate")).toDouble() == 0;
            races << o.value(QStringLiteral("Race")).toString();
            sexes << o.value(QStringLiteral("Sex")).toString();
            sworn << o.value(QStringLiteral("Sworn")).toInt();
            fullNotes += o.value(QStringLiteral("Notepad")).toString().size() == 4517;
            QCOMPARE(o.value(QStringLiteral("DataVersion")).toInt(), 312);
            QVERIFY(QRegularExpression(QStringLiteral("^[0-9]{3}-[0-9]{2}-[0-9]{4}$"))
                        .match(o.value(QStringLiteral("SocialSecurityNumber")).toString())
                        .hasMatch());
        }
        QCOMPARE(races, (QSet<QString>{"W", "B", "H", "A", "O"}));
        QCOMPARE(sexes, (QSet<QString>{"M", "F"}));
        QCOMPARE(sworn, (QSet<int>{-1, 0}));
        QVERIFY(fullNotes > 0);
        QVERIFY(current > 0 && current < 40);

        const Run info = VardelData({QStringLiteral("info"), QStringLiteral("--data-dir"), first});
        QCOMPARE(info.out, QStringLiteral("records 40\ncurrent %1\nprevious %2\nhistory 1\nchain intact\n")
                               .arg(current)
                               .arg(40 - current)
                               .toUtf8());
    }

    void dumpListsEveryFieldInRecordOrder() {
        QTemporaryDir dir;
        PersonnelRecord r;
        r.RecordCreated = 40244.5;
        r.FirstName = QStringLiteral("Łukasz");
        r.LastName = QStringLiteral("Zoë \"Z\"");
        r.Notepad = QStringLiteral("line 1\r\nline 2");
        r.InactivationDate = 41000;
        r.Sworn = -1;
        r.DataVersion = 312;
        QFile file(dir.filePath(QStringLiteral("Vardel.Data")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(EncodePersonnelRecord(r) + EncodePersonnelRecord(PersonnelRecord()));
        file.close();

        const Run run = VardelData({QStringLiteral("dump"), QStringLiteral("--data-dir"), dir.path()});
        QCOMPARE(run.exitCode, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 3);
        const QByteArray expected =
            "{\"slot\":1,\"RecordCreated\":40244.5,\"LastModified\":0,\"FirstName\":\"?ukasz\",\"MiddleName\":\"\",\"L"
            "astName\":\"Zoë "
            "\\\"Z\\\"\",\"Suffix\":\"\",\"EmergencyName\":\"\",\"EmergencyRelationship\":\"\",\"EmergencyP"
            "hone\":\"\",\"StreetAddress\":\"\",\"CityStateZip\":\"\",\"HomePhone\":\"\",\"CellPhone\":\"\",\"Race\":"
            "\"\",\"Sex"
            "\":\"\",\"SocialSecurityNumber\":\"\",\"DateOfBirth\":0,\"DateOfEmployment\":0,\"DateOfJobTitle\":0,\"In"
            "activationDate\":41000,\"EmployeeNumber\":\"\",\"JobTitle\":\"\",\"Notepad\":\"line 1\\r\\nline 2\",\"Swor"
            "n\":-1,\"Email\":\"\",\"PicturePath\":\"\",\"DataVersion\":312}";
        QCOMPARE(lines[0], expected);
        QVERIFY(lines[1].startsWith("{\"slot\":2,\"RecordCreated\":0,"));
        QVERIFY(lines[2].isEmpty());
    }

    void demoWillNotWriteOverRecordsUnlessAsked() {
        QTemporaryDir dir;
        QCOMPARE(VardelData(InFolder(dir.path(), "demo 3 --seed 1")).exitCode, 0);
        const QByteArray three = readFile(dir.filePath(QStringLiteral("Vardel.Data")));
        const QStringList more = InFolder(dir.path(), "demo 5 --seed 1");
        const Run refused = VardelData(more);
        QVERIFY(refused.exitCode != 0);
        QVERIFY(refused.err.contains("--replace"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("Vardel.Data"))), three);
        QCOMPARE(VardelData(more + Words("--replace")).exitCode, 0);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("Vardel.Data"))).size(), 25000);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("TempFile.$$$"))));
    }

    // While the program runs on a folder (it holds the folder's claim), the commands that write records refuse,
    // naming it, and change nothing; looking is still allowed.
    void writeCommandsRefuseWhileTheProgramRuns_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("demo --replace") << "demo 5 --seed 2 --replace";
        QTest::newRow("convert") << "convert";
        QTest::newRow("info") << "info";
    }
    void writeCommandsRefuseWhileTheProgramRuns() {
        QFETCH(QString, command);
        QTemporaryDir dir;
        QCOMPARE(VardelData(InFolder(dir.path(), "demo 3 --seed 1")).exitCode, 0);
        const QByteArray three = readFile(dir.filePath(QStringLiteral("Vardel.Data")));
        DataFolderClaim program(dir.path());
        QVERIFY(program.tryAcquire());
        const Run run = VardelData(InFolder(dir.path(), command));
        const bool refused = command != QLatin1String("info");
        QCOMPARE(run.exitCode, refused ? 1 : 0);
        QCOMPARE(run.err.startsWith("vardel-data: Vardel is running on the data folder\n" +
                                    QFile::encodeName(dir.path()) + "\nNothing was written"),
                 refused);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("Vardel.Data"))), three);
        program.release();
        QCOMPARE(VardelData(InFolder(dir.path(), command)).exitCode, 0);
    }

    // On a real disk that fills part-way through the new file: the system's reason, the old file whole, and no
    // temporary file holding half the records (and keeping the disk full).
    void fullDiskGivesTheSystemsReason() {
        QTemporaryDir dir;
        const QByteArray small = demoImage(20, 6);
        if (::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=256k,mode=0700") != 0)
            QSKIP("cannot mount a small file system here (needs root)");
        struct Unmount {
            QString path;
            ~Unmount() { ::umount2(QFile::encodeName(path).constData(), MNT_DETACH); }
        } unmount{dir.path()};
        writeFile(dir.filePath(QStringLiteral("Vardel.Data")), small);
        const Run run = VardelData(Words("demo 100 --seed 7 --replace"), dir.path());
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QByteArray("vardel-data: TempFile.$$$: No space left on device\nNothing of this change was "
                                     "saved; what was saved before is kept.\n"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("Vardel.Data"))), small);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("TempFile.$$$"))));
    }

    void removeTakesOneEmployeeOrNothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("holder"); // "program": the folder claimed; "full disk": a small file system
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("message"); // part of standard output on success, of standard error otherwise
        const QStringList two{"remove", "--slot", "2"};
        const QByteArray usage("usage: vardel-data remove --slot N");
        QTest::newRow("by slot") << two << "" << 0 << QByteArray("removed slot 2 (Lee, Zoë); 29 records left");
        QTest::newRow("slot and its name")
            << two + QStringList{"--name", "Lee, Zoë"} << "" << 0 << QByteArray("29 records left");
        QTest::newRow("another name") << two + QStringList{"--name", "Chen, Ann"} << "" << 1
                                      << QByteArray("slot 2 holds \"Lee, Zoë\", not \"Chen, Ann\"; nothing was");
        QTest::newRow("past the end") << Words("remove --slot 31") << "" << 1 << QByteArray("no slot 31; nothing was");
        QTest::newRow("no slot") << QStringList{"remove", "--name", "Lee, Zoë"} << "" << 2 << usage;
        QTest::newRow("slot 0") << Words("remove --slot 0") << "" << 2 << usage;
        QTest::newRow("the program runs there") << two << "program" << 1 << QByteArray("Vardel is running");
        QTest::newRow("full disk") << two << "full disk" << 1 << QByteArray("No space left on device");
    }
    void removeTakesOneEmployeeOrNothing() {
        QFETCH(QStringList, args);
        QFETCH(QString, holder);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, message);
        QTemporaryDir dir;
        const QByteArray sample = demoImage(30, 1);
        const bool small = holder == QLatin1String("full disk");
        if (small && ::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=256k,mode=0700"))
            QSKIP("cannot mount a small file system here (needs root)");
        struct Unmount {
            QString path;
            bool mounted;
            ~Unmount() {
                if (mounted)
                    ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
            }
        } unmount{dir.path(), small};
        const QString data = dir.filePath(QStringLiteral("Vardel.Data"));
        writeFile(data, sample);
        DataFolderClaim claim(dir.path());
        if (holder == QLatin1String("program"))
            QVERIFY(claim.tryAcquire());

        const Run run = VardelData(args, dir.path());
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? run.out : run.err).contains(message), run.err.constData());
        QVERIFY(readFile(data) == (exitCode == 0 ? sample.left(5000) + sample.mid(10000) : sample));
        QVERIFY(!QFile::exists(dir.filePath(TempFileName)));
    }

    // The records are made and written one at a time: a large sample needs no more memory than a small one
    // (holding them all took 2.65 GB for a million).
    void demoStreamsItsRecords() {
        QTemporaryDir dir;
        const Run run = VardelData(Words("demo 50000 --seed 9"), dir.path());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("Vardel.Data"))).size(), qint64(50000) * 5000);
        struct rusage usage {};
        QCOMPARE(::getrusage(RUSAGE_CHILDREN, &usage), 0);
        // The largest child so far, in kilobytes; all 50,000 records held at once would take well over 100 MB.
        QVERIFY2(usage.ru_maxrss < 80 * 1024, qPrintable(QString::number(usage.ru_maxrss)));
    }

    // Two samples written at once: each writer's rewrite is whole and its own, one after the other.
    void concurrentDemosLeaveOneWholeFile() {
        const QByteArray first = demoImage(200, 1);
        const QByteArray second = demoImage(200, 2);
        const QByteArray before = demoImage(150, 3);
        int lost = 0;
        int failed = 0;
        for (int trial = 0; trial < raceTrials(); ++trial) {
            QTemporaryDir dir;
            writeFile(dir.filePath(QStringLiteral("Vardel.Data")), before);
            auto a = startDemo(dir.path(), 200, 1);
            jitter();
            auto b = startDemo(dir.path(), 200, 2);
            a->waitForFinished(60000);
            b->waitForFinished(60000);
            failed += (a->exitCode() != 0) + (b->exitCode() != 0);
            const QByteArray after = readFile(dir.filePath(QStringLiteral("Vardel.Data")));
            lost += (after != first && after != second) || QFile::exists(dir.filePath(QStringLiteral("TempFile.$$$")));
        }
        qInfo("two demo --replace at once: %d trials, %d lost or mixed, %d writers failed", raceTrials(), lost, failed);
        QCOMPARE(lost, 0);
        QCOMPARE(failed, 0);
    }

    // The second writer is killed as the first finishes: the file is one of the two, whole, never empty.
    void killedWriterLeavesAWholeFile() {
        const QByteArray first = demoImage(200, 1);
        const QByteArray second = demoImage(200, 2);
        int lost = 0;
        for (int trial = 0; trial < raceTrials(); ++trial) {
            QTemporaryDir dir;
            auto a = startDemo(dir.path(), 200, 1);
            jitter();
            auto b = startDemo(dir.path(), 200, 2);
            a->waitForFinished(60000);
            b->kill();
            b->waitForFinished(60000);
            const QByteArray after = readFile(dir.filePath(QStringLiteral("Vardel.Data")));
            lost += after != first && after != second;
            // The next writer clears what the killed one left.
            QCOMPARE(startDemo(dir.path(), 200, 1)->waitForFinished(60000), true);
            lost += readFile(dir.filePath(QStringLiteral("Vardel.Data"))) != first;
            lost += QFile::exists(dir.filePath(QStringLiteral("TempFile.$$$")));
        }
        qInfo("second writer killed as the first finished: %d trials, %d lost", raceTrials(), lost);
        QCOMPARE(lost, 0);
    }

    // A user removal in the program beside a demo in vardel-data: both rewrite through "TempFile.$$$".
    void userRemovalBesideADemoKeepsBothFiles() {
        InitProgramValues();
        const QByteArray sample = demoImage(300, 4);
        QList<UserRecord> users;
        for (const char* name : {"Ann", "Bob", "Cy"}) {
            UserRecord user;
            user.FirstName = QString::fromLatin1(name);
            user.LastName = QStringLiteral("Lee");
            user.AccessLevel = 2;
            users << user;
        }
        const QByteArray expectedList = EncodeUserRecord(users[0]) + EncodeUserRecord(users[2]);
        int lost = 0;
        for (int trial = 0; trial < raceTrials(); ++trial) {
            TempWorkDir dir;
            writeFile(QStringLiteral("Vardel.Data"), demoImage(10, 5).left(50000));
            writeFile(UserListFileName,
                      EncodeUserRecord(users[0]) + EncodeUserRecord(users[1]) + EncodeUserRecord(users[2]));
            auto demo = startDemo(dir.path(), 300, 4);
            jitter();
            RemoveUser(2);
            demo->waitForFinished(60000);
            lost += demo->exitCode() != 0;
            lost += readFile(UserListFileName) != expectedList;
            lost += readFile(QStringLiteral("Vardel.Data")) != sample;
            lost += QFile::exists(TempFileName);
        }
        qInfo("user removal beside a demo: %d trials, %d lost or mixed", raceTrials(), lost);
        QCOMPARE(lost, 0);
    }

    // Another process keeps planting a link at "TempFile.$$$" while samples are written: the file the link points
    // to is never written, and the data file is always one whole version.
    void plantedLinkIsNeverFollowed() {
        const QByteArray before = demoImage(30, 8);
        const QByteArray sample = demoImage(200, 9);
        int lost = 0;
        int refused = 0;
        for (int trial = 0; trial < raceTrials(); ++trial) {
            QTemporaryDir dir;
            const QString victim = dir.filePath(QStringLiteral("victim"));
            writeFile(victim, "precious");
            writeFile(dir.filePath(QStringLiteral("Vardel.Data")), before);
            const QByteArray victimName = QFile::encodeName(victim);
            const QByteArray linkName = QFile::encodeName(dir.filePath(QStringLiteral("TempFile.$$$")));
            const pid_t planter = ::fork();
            if (planter == 0) {
                for (;;)
                    if (::symlink(victimName.constData(), linkName.constData()) != 0)
                        ::usleep(50);
            }
            auto demo = startDemo(dir.path(), 200, 9);
            demo->waitForFinished(60000);
            ::kill(planter, SIGKILL);
            ::waitpid(planter, nullptr, 0);
            refused += demo->exitCode() != 0;
            const QByteArray after = readFile(dir.filePath(QStringLiteral("Vardel.Data")));
            lost += readFile(victim) != "precious";
            lost += after != before && after != sample;
            if (demo->exitCode() != 0)
                lost += !demo->readAllStandardError().contains("is a symbolic link");
        }
        qInfo("link planted at TempFile.$$$ during a demo: %d trials, %d followed or lost, %d writes refused",
              raceTrials(), lost, refused);
        QCOMPARE(lost, 0);
    }

    void badArgumentsShowTheUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("unknown") << Words("bogus");
        QTest::newRow("dir without value") << Words("info --data-dir");
        QTest::newRow("info extra") << Words("info x");
        QTest::newRow("demo no seed") << Words("demo 5");
        QTest::newRow("demo no count") << Words("demo --seed 5");
        QTest::newRow("demo bad count") << Words("demo five --seed 5");
        QTest::newRow("demo zero") << Words("demo 0 --seed 5");
        QTest::newRow("demo bad seed") << Words("demo 5 --seed x");
        QTest::newRow("demo with make-old's --dat") << Words("demo 5 --seed 5 --dat");
        QTest::newRow("make-old no seed") << Words("make-old 5");
        QTest::newRow("make-old below zero") << Words("make-old -1 --seed 5");
    }
    void badArgumentsShowTheUsage() {
        QFETCH(QStringList, args);
        QTemporaryDir dir;
        const Run run = VardelData(args, dir.path());
        QVERIFY(run.exitCode > 0);
        QVERIFY2(run.err.contains("usage: vardel-data"), run.err.constData());
        QVERIFY(run.out.isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void fileErrorsGoToStandardError() {
        QTemporaryDir dir;
        // A folder where the data file should be cannot be opened as a file.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Vardel.Data")));
        const Run run = VardelData({QStringLiteral("info"), QStringLiteral("--data-dir"), dir.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith("vardel-data: "), run.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestVardelData)
#include "tst_vardeldata.moc"
