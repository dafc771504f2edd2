#include "core/base/DataFolder.h"
#include "core/base/FileError.h"

#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// This test program run again as a second writer: it takes the write lock (or the claim) of a folder, waiting at
// most LOCK_WAIT_MS, and holds it for HOLD_MS. Exit code 0 when it got it, 3 when it was told the folder is busy
// (in those words), 4 on any other failure, 5 when the claim was refused.
int secondProcessMain() {
    const QString folder = qEnvironmentVariable("TST_LOCK_FOLDER");
    SetDataFolderLockWait(qEnvironmentVariableIntValue("TST_LOCK_WAIT_MS"));
    try {
        if (qEnvironmentVariableIsSet("TST_CLAIM")) {
            DataFolderClaim claim(folder);
            return claim.tryAcquire() ? 0 : 5;
        }
        DataFolderLock lock(folder);
        std::puts("locked");
        std::fflush(stdout);
        QThread::msleep(static_cast<unsigned long>(qEnvironmentVariableIntValue("TST_HOLD_MS")));
        return 0;
    } catch (const FileError& error) {
        return error.text() == DataFolderBusyText(folder) ? 3 : 4;
    }
}

struct SecondProcess {
    QProcess process;
    SecondProcess(const QString& folder, int waitMs, int holdMs = 0, bool claim = false) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TST_LOCK_FOLDER"), folder);
        env.insert(QStringLiteral("TST_LOCK_WAIT_MS"), QString::number(waitMs));
        env.insert(QStringLiteral("TST_HOLD_MS"), QString::number(holdMs));
        if (claim)
            env.insert(QStringLiteral("TST_CLAIM"), QStringLiteral("1"));
        process.setProcessEnvironment(env);
        process.start(QCoreApplication::applicationFilePath(), QStringList());
    }
    int exitCode() {
        if (!process.waitForFinished(30000))
            return -1;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
};

} // namespace

class TestDataFolder : public QObject {
    Q_OBJECT

private slots:
    void writersInTwoProcessesTakeTurns() {
        TempWorkDir dir;
        auto lock = std::make_unique<DataFolderLock>(dir.path());
        QVERIFY(lock->isHeld());
        // Busy for as long as the wait: the other writer is told so, in plain words, and changes nothing.
        QElapsedTimer waited;
        waited.start();
        SecondProcess refused(dir.path(), 300);
        QCOMPARE(refused.exitCode(), 3);
        QVERIFY(waited.elapsed() >= 300);

        // A writer that waits long enough gets its turn when this one ends.
        SecondProcess patient(dir.path(), 20000);
        QVERIFY(!patient.process.waitForFinished(500));
        QVERIFY(patient.process.readAllStandardOutput().isEmpty());
        lock.reset();
        QCOMPARE(patient.exitCode(), 0);
        QCOMPARE(patient.process.readAllStandardOutput(), QByteArray("locked\n"));
    }

    void lockEndsWithTheOutermostGuardAndWithItsProcess() {
        TempWorkDir dir;
        {
            DataFolderLock outer(dir.path());
            {
                DataFolderLock inner(QStringLiteral("."));
                QVERIFY(HoldsDataFolderLock(dir.path()));
            }
            // The inner guard ended; the outer one still holds the folder.
            QVERIFY(HoldsDataFolderLock(dir.path()));
            QCOMPARE(SecondProcess(dir.path(), 0).exitCode(), 3);
        }
        QVERIFY(!HoldsDataFolderLock(dir.path()));
        QCOMPARE(SecondProcess(dir.path(), 0).exitCode(), 0);
        QCOMPARE(modeOf(dir.file(DataFolderLockFileName)), mode_t(0600));

        // A holder that is killed releases the folder at once: no stale lock to clean up.
        SecondProcess holder(dir.path(), 0, 60000);
        QVERIFY(holder.process.waitForReadyRead(10000));
        DataFolderLock busy(dir.path(), std::nothrow);
        QVERIFY(!busy.isHeld());
        holder.process.kill();
        holder.process.waitForFinished();
        DataFolderLock free(dir.path(), std::nothrow);
        QVERIFY(free.isHeld());
    }

    void claimIsSeparateFromTheWriteLock() {
        TempWorkDir dir;
        DataFolderClaim first(dir.path());
        QVERIFY(first.tryAcquire());
        QVERIFY(first.tryAcquire());
        // A second program on the folder is refused, here or in another process...
        DataFolderClaim second(dir.path());
        QVERIFY(!second.tryAcquire());
        QCOMPARE(SecondProcess(dir.path(), 0, 0, true).exitCode(), 5);
        // ...while a writer such as vardel-data still gets the write lock.
        QCOMPARE(SecondProcess(dir.path(), 0).exitCode(), 0);
        first.release();
        QVERIFY(second.tryAcquire());
    }

    void foldersOthersCanWriteAreRefused_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("safe");
        QTest::newRow("owner only") << 0700 << true;
        QTest::newRow("readable by all") << 0755 << true;
        QTest::newRow("group-writable") << 0770 << false;
        QTest::newRow("world-writable") << 0777 << false;
        QTest::newRow("world-writable, sticky") << 01777 << false;
        QTest::newRow("group-writable, sticky") << 01770 << false;
    }
    void foldersOthersCanWriteAreRefused() {
        QFETCH(int, mode);
        QFETCH(bool, safe);
        TempWorkDir dir;
        const QString folder = dir.file(QStringLiteral("data"));
        QVERIFY(QDir().mkdir(folder));
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), static_cast<mode_t>(mode)), 0);
        try {
            DataFolderLock lock(folder);
            RequireSafeDataFolder(folder);
            QVERIFY(safe);
        } catch (const FileError& error) {
            QVERIFY2(!safe, qPrintable(error.text()));
            QCOMPARE(error.text(), UnsafeFolderText(folder, static_cast<unsigned>(mode)));
            QVERIFY(
                error.text().contains(QStringLiteral("(its permissions are %1)").arg(mode, 4, 8, QLatin1Char('0'))));
            // Nothing was created in it.
            QVERIFY(!QFile::exists(folder + QLatin1Char('/') + DataFolderLockFileName));
        }
    }

    // Messages name the data folder's files as the clerk knows them, and anything else by its full path; a
    // missing folder is refused rather than made when asked so, and the folder chosen before stays.
    void messagesNameFilesInsideTheFolderByTheirPlaceThere_data() {
        QTest::addColumn<QString>("inside");
        QTest::addColumn<QString>("shown");
        QTest::newRow("data file") << "Vardel.Data" << "Vardel.Data";
        QTest::newRow("sub-folder") << "Backups/2026/User.List" << "Backups/2026/User.List";
        QTest::newRow("the folder itself") << "" << "<folder>";
        QTest::newRow("beside the folder") << "../elsewhere/Vardel.Data" << "<outside>";
    }
    void messagesNameFilesInsideTheFolderByTheirPlaceThere() {
        QFETCH(QString, inside);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        const QString folder = QDir(dir.path()).filePath(QStringLiteral("data"));
        UseDataFolder(folder);
        const QString path = QDir::cleanPath(folder + QLatin1Char('/') + inside);
        const QString expected = shown == QLatin1String("<folder>")    ? folder
                                 : shown == QLatin1String("<outside>") ? path
                                                                       : shown;
        QCOMPARE(ShownPath(path), expected);
        QCOMPARE(DataFolderFile(QStringLiteral("User.Log")), folder + QStringLiteral("/User.Log"));
        QVERIFY_THROWS_EXCEPTION(FileError, UseDataFolder(dir.filePath(QStringLiteral("missing")), false));
        QCOMPARE(DataFolder(), folder);
        UseDataFolder(QString());
        QCOMPARE(DataFolder(), QDir::currentPath());
    }

    void lockFileIsNeverFollowedOrBorrowed() {
        TempWorkDir dir;
        // A link in the lock file's place is refused, not followed.
        writeFile(dir.file(QStringLiteral("victim")), "precious");
        QVERIFY(::symlink("victim", QFile::encodeName(dir.file(DataFolderLockFileName)).constData()) == 0);
        QVERIFY_THROWS_EXCEPTION(FileError, DataFolderLock lock(dir.path()));
        QCOMPARE(readFile(dir.file(QStringLiteral("victim"))), QByteArray("precious"));
        QVERIFY(QFile::remove(dir.file(DataFolderLockFileName)));

        // A lock file another user made could be held by that user for ever.
        if (::geteuid() != 0)
            QSKIP("needs root to give a file to another user");
        writeFile(dir.file(DataFolderLockFileName), "");
        QCOMPARE(::chown(QFile::encodeName(dir.file(DataFolderLockFileName)).constData(), 65534, 65534), 0);
        QVERIFY_THROWS_EXCEPTION(FileError, DataFolderLock lock(dir.path()));
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("TST_LOCK_FOLDER"))
        return secondProcessMain();
    QCoreApplication app(argc, argv);
    TestDataFolder test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_datafolder.moc"
