#include "FileSizeLimit.h"
#include "FileTestSupport.h"
#include "SyscallFault.h"
#include "VardelDataRun.h"
#include "core/backup/BackupManifest.h"
#include "core/base/AppGlobals.h"
#include "core/base/FileError.h"
#include "core/record/PersonnelRecord.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestBackupManifest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    QString data(const QString& name = QString()) const { return m_root.filePath(QStringLiteral("data/") + name); }
    QString target(const QString& name = QString()) const { return m_root.filePath(QStringLiteral("backup/") + name); }

    void writeDataFolder() {
        QDir().mkpath(data());
        PersonnelRecord r;
        r.LastName = QStringLiteral("Able");
        writeFile(data(QStringLiteral("Vardel.Data")), EncodePersonnelRecord(r) + EncodePersonnelRecord(r));
        writeFile(data(QStringLiteral("User.List")), QByteArray(3 * 500, 'u'));
        writeFile(data(QStringLiteral("User.Log")), "ADMIN logged in\r\n");
    }

    BackupVerdict verify() const {
        return VerifyBackupFolder(target(), QStringLiteral("Vardel.Data"), QStringLiteral("User.List"));
    }

private slots:
    void initTestCase() { InitProgramValues(); }

    void init() {
        QDir(data()).removeRecursively();
        QDir(target()).removeRecursively();
        writeDataFolder();
        QDir().mkpath(target());
        MakeVerifiedBackup(data(), target(), DataFileList, QStringLiteral("Vardel.Data"), QStringLiteral("User.List"),
                           QStringLiteral("ADMIN"));
    }

    void aWholeBackupVerifies() {
        const BackupVerdict v = verify();
        QCOMPARE(int(v.status), int(BackupVerdict::Status::Verified));
        QCOMPARE(v.manifest->employees, 2);
        QCOMPARE(v.manifest->users, 3);
        QCOMPARE(v.manifest->files.size(), size_t(3));
        QCOMPARE(modeOf(target(BackupManifestFileName)), mode_t(0600));
        QVERIFY(ManifestSummary(*v.manifest).contains(QStringLiteral("2 employees and 3 users, made by ADMIN")));
    }

    // Any change to any file of the backup is found and named: a byte changed, the file cut short or gone.
    void aChangedFileIsNamed_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("reason");
        for (const char* file : {"Vardel.Data", "User.List", "User.Log"}) {
            QTest::addRow("%s, a byte", file) << file << "byte"
                                              << "its contents differ from the manifest (SHA-256)";
            QTest::addRow("%s, cut", file) << file << "cut"
                                           << "the size is";
            QTest::addRow("%s, gone", file) << file << "gone"
                                            << "missing";
        }
        QTest::newRow("manifest, a byte") << BackupManifestFileName << "byte"
                                          << "line";
        QTest::newRow("manifest, cut") << BackupManifestFileName << "cut"
                                       << "cut short";
    }
    void aChangedFileIsNamed() {
        QFETCH(QString, file);
        QFETCH(QString, change);
        QFETCH(QString, reason);
        QByteArray bytes = readFile(target(file));
        if (change == QLatin1String("byte"))
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x01);
        else if (change == QLatin1String("cut"))
            bytes.chop(2);
        if (change == QLatin1String("gone"))
            QVERIFY(QFile::remove(target(file)));
        else
            writeFile(target(file), bytes);
        const BackupVerdict v = verify();
        QCOMPARE(int(v.status), int(BackupVerdict::Status::Failed));
        QCOMPARE(v.file, file);
        QVERIFY2(v.reason.startsWith(reason), qPrintable(v.reason));
    }

    void aBackupWithoutManifestIsOnlyShapeChecked() {
        QVERIFY(QFile::remove(target(BackupManifestFileName)));
        QCOMPARE(int(verify().status), int(BackupVerdict::Status::NoManifest));
        writeFile(target(QStringLiteral("Vardel.Data")), QByteArray(4999, ' '));
        QCOMPARE(int(verify().status), int(BackupVerdict::Status::Failed));
    }

    void reminder_data() {
        QTest::addColumn<int>("daysAgo"); // -1: never backed up
        QTest::addColumn<int>("setting");
        QTest::addColumn<QString>("text"); // empty: no reminder
        const QString ask = QStringLiteral("\r\n\r\nWould you like to make a backup now?");
        QTest::newRow("never") << -1 << 7
                               << QStringLiteral("No backup of the Vardel data files has been made yet.") + ask;
        QTest::newRow("off") << -1 << 0 << QString();
        QTest::newRow("six days") << 6 << 7 << QString();
        QTest::newRow("seven days")
            << 7 << 7
            << QStringLiteral("The last backup of the Vardel data files was made\r\n7 days ago, on 11/30/2026.") + ask;
    }
    void reminder() {
        QFETCH(int, daysAgo);
        QFETCH(int, setting);
        QFETCH(QString, text);
        const QDateTime now(QDate(2026, 12, 7), QTime(8, 0));
        std::optional<QDateTime> last;
        if (daysAgo >= 0)
            last = now.addDays(-daysAgo).addSecs(3600 * 10); // a later hour of that day still counts whole days
        QCOMPARE(BackupReminderText(last, now, setting).value_or(QString()), text);
    }

    // A folder of scheduled backups as a test lays it out: "good:NAME" a whole backup, "damaged:NAME" one whose data
    // file no longer matches its manifest, "bare:NAME" a dated folder without a manifest (a killed backup of an
    // earlier version), any other entry a hidden file or folder that a killed backup left.
    void layOut(const QString& dir, const QStringList& entries) {
        for (const QString& entry : entries) {
            const QString kind = entry.section(QLatin1Char(':'), 0, 0);
            const QString path = dir + QLatin1Char('/') + entry.section(QLatin1Char(':'), -1);
            if (kind == QLatin1String("good") || kind == QLatin1String("damaged")) {
                QVERIFY(QDir().mkpath(path));
                MakeVerifiedBackup(data(), path, DataFileList, QStringLiteral("Vardel.Data"),
                                   QStringLiteral("User.List"), QStringLiteral("ADMIN"));
                if (kind == QLatin1String("damaged"))
                    writeFile(path + QStringLiteral("/User.Log"), "tampered");
            } else if (kind == QLatin1String("bare") || entry.contains(QLatin1String(".partial-"))) {
                QVERIFY(QDir().mkpath(path));
                writeFile(path + QStringLiteral("/Vardel.Data"), QByteArray(5000, ' '));
            } else {
                writeFile(path, "123-45-6789");
            }
        }
    }

    static QStringList entriesOf(const QString& dir) {
        return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    void scheduledBackups_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("command"); // %1: the folder of scheduled backups
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("after"); // "new": the backup this run made
        QTest::addColumn<QString>("said");
        QTest::newRow("leftovers of killed backups are cleared")
            << QStringList{"bare:2020-01-01T000000", ".2020-01-02T000000.partial-k1lled", ".Vardel.Data.k1lled"}
            << "backup %1" << 0 << QStringList{"new"} << "cleared 1 unfinished backup\ncleared %1/2020-01-01T000000\n";
        QTest::newRow("a hidden folder of another name stays")
            << QStringList{".photos.partial-abc123"} << "backup %1" << 0 << QStringList{".photos.partial-abc123", "new"}
            << "";
        QTest::newRow("--keep counts only backups that verify")
            << QStringList{"good:2020-01-01T000000", "damaged:2020-01-02T000000", "damaged:2020-01-03T000000"}
            << "backup %1 --keep 2" << 0
            << QStringList{"2020-01-01T000000", "2020-01-02T000000", "2020-01-03T000000", "new"} << "";
        QTest::newRow("--keep removes what is older than the kept")
            << QStringList{"damaged:2020-01-01T000000", "good:2020-01-02T000000", "good:2020-01-03T000000"}
            << "backup %1 --keep 2" << 0 << QStringList{"2020-01-03T000000", "new"}
            << "removed %1/2020-01-01T000000\nremoved %1/2020-01-02T000000\n";
        QTest::newRow("--keep 1 keeps the newest") << QStringList{"good:2020-01-01T000000"} << "backup %1 --keep 1" << 0
                                                   << QStringList{"new"} << "removed %1/2020-01-01T000000\n";
        QTest::newRow("verify: a whole backup")
            << QStringList{"good:2020-01-01T000000"} << "verify %1" << 0 << QStringList{"2020-01-01T000000"}
            << "%1/2020-01-01T000000\tverified\t";
        QTest::newRow("verify: no manifest")
            << QStringList{"bare:2020-01-01T000000"} << "verify %1/2020-01-01T000000" << 1
            << QStringList{"2020-01-01T000000"}
            << "%1/2020-01-01T000000: no Backup.Manifest: the backup is incomplete or was made before backups were "
               "verified, and cannot be verified";
        QTest::newRow("verify: the newest is damaged")
            << QStringList{"good:2020-01-01T000000", "damaged:2020-01-02T000000"} << "verify %1" << 1
            << QStringList{"2020-01-01T000000", "2020-01-02T000000"} << "User.Log: the size is";
    }
    void scheduledBackups() {
        QFETCH(QStringList, before);
        QFETCH(QString, command);
        QFETCH(int, exitCode);
        QFETCH(QStringList, after);
        QFETCH(QString, said);
        const QString dir = m_root.filePath(QStringLiteral("daily"));
        QDir(dir).removeRecursively();
        QVERIFY(QDir().mkpath(dir));
        layOut(dir, before);
        const Run run = VardelData(InFolder(data(), command.arg(dir)));
        QVERIFY2(run.exitCode == exitCode, run.err.constData());
        const QString expected = said.contains(QLatin1String("%1")) ? said.arg(dir) : said;
        QVERIFY2((run.out + run.err).contains(expected.toUtf8()), (run.out + run.err).constData());
        QStringList entries = entriesOf(dir);
        if (after.contains(QLatin1String("new"))) {
            QVERIFY(!entries.isEmpty() && entries.last() > QLatin1String("2026"));
            QCOMPARE(int(VerifyBackupFolder(dir + QLatin1Char('/') + entries.last(), QStringLiteral("Vardel.Data"),
                                            QStringLiteral("User.List"))
                             .status),
                     int(BackupVerdict::Status::Verified));
            entries.last() = QStringLiteral("new");
        }
        QCOMPARE(entries, after);
    }

    // A manifest that cannot be written whole fails the backup: the command exits non-zero naming the manifest and
    // the reason, and leaves neither an empty manifest nor a folder under the backup's name.
    void aManifestThatCannotBeWrittenFailsTheBackup() {
        // Every copy is smaller than the manifest: an empty data file, no users yet.
        writeFile(data(QStringLiteral("Vardel.Data")), QByteArray());
        QFile::remove(data(QStringLiteral("User.List")));
        const QString dir = m_root.filePath(QStringLiteral("full"));
        Run run;
        {
            FileSizeLimit limit(64);
            run = VardelData(InFolder(data(), QStringLiteral("backup %1").arg(dir)));
        }
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("Backup.Manifest: File too large"), run.err.constData());
        QCOMPARE(entriesOf(dir), QStringList());
        QVERIFY(!QFileInfo::exists(data(QStringLiteral("Change.Log"))));
    }

    // Every rename of a scheduled backup killed before it runs, and every flush made to fail: the folder then holds
    // whole backups only (old or new), the history's chain holds, and the next backup clears what was left.
    void aKilledOrFailedBackupLeavesOldOrNew_data() {
        QTest::addColumn<QString>("syscall");
        QTest::addColumn<QString>("fault");
        for (const char* call : {"rename", "renameat2", "mkdir"})
            QTest::addRow("killed at %s", call) << call << "signal=KILL";
        for (const char* call : {"fsync", "fdatasync", "write"})
            QTest::addRow("%s fails", call) << call << "error=EIO";
    }
    void aKilledOrFailedBackupLeavesOldOrNew() {
        QFETCH(QString, syscall);
        QFETCH(QString, fault);
        if (!SyscallFaultsAvailable())
            QSKIP("strace cannot trace here");
        const QString dir = m_root.filePath(QStringLiteral("faults"));
        QDir(dir).removeRecursively();
        const QStringList backup = InFolder(data(), QStringLiteral("backup %1").arg(dir));
        const int calls = CountSyscalls(syscall, backup);
        QVERIFY(calls > 0);
        for (int nth = 1; nth <= calls; ++nth) {
            for (const QString& name : QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                QDir(dir + QLatin1Char('/') + name).removeRecursively();
            const Run run = VardelDataWithFault(syscall, nth, fault, backup);
            const QStringList dated = QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            QVERIFY2(dated.size() <= 1, qPrintable(dated.join(' ')));
            for (const QString& name : dated)
                QVERIFY2(VerifyBackupFolder(dir + QLatin1Char('/') + name, QStringLiteral("Vardel.Data"),
                                            QStringLiteral("User.List"))
                                 .status == BackupVerdict::Status::Verified,
                         qPrintable(QStringLiteral("call %1").arg(nth)));
            // A failure is never passed off as success, and says why.
            if (fault.startsWith(QLatin1String("error")))
                QVERIFY2(run.exitCode == 1 && run.err.contains("Input/output error"),
                         qPrintable(QStringLiteral("call %1: %2").arg(nth).arg(QString::fromUtf8(run.err))));
            QCOMPARE(VardelData(InFolder(data(), QStringLiteral("history --verify"))).exitCode, 0);
        }
        QTest::qWait(1100);
        QCOMPARE(VardelData(backup).exitCode, 0);
        for (const QString& entry : entriesOf(dir))
            QVERIFY2(!entry.startsWith(QLatin1Char('.')), qPrintable(entry));
    }

    // The commands' other use: the data-quality check of the records of init(), which have no dates.
    void theCheckNamesEachProblem() {
        const Run run = VardelData(InFolder(data(), QStringLiteral("check")));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.startsWith("1\tAble, \tDate of Birth\tno date of birth\n"));
    }
};

QTEST_GUILESS_MAIN(TestBackupManifest)
#include "tst_backupmanifest.moc"
