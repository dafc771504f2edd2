#include "FileTestSupport.h"
#include "VardelDataRun.h"
#include "core/base/AppGlobals.h"
#include "core/backup/BackupManifest.h"
#include "core/record/PersonnelRecord.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestBackupManifest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    QString data(const QString& name = QString()) const { return m_root.filePath(QStringLiteral("data/") + name); }
    QString target(const QString& name = QString()) const {
        return m_root.filePath(QStringLiteral("backup/") + name);
    }

    void writeDataFolder() {
        QDir().mkpath(data());
        PersonnelRecord r;
        r.LastName = QStringLiteral("Able");
        writeFile(data(QStringLiteral("Vardel.Data")), EncodePersonnelRecord(r) + EncodePersonnelRecord(r));
        writeFile(data(QStringLiteral("User.List")), QByteArray(3 * 500, 'u'));
        writeFile(data(QStringLiteral("User.Log")), "ADMIN logged in\r\n");
    }

    BackupVerdict verify() const { return VerifyBackupFolder(target(), QStringLiteral("Vardel.Data"), QStringLiteral("User.List")); }

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
            QTest::addRow("%s, a byte", file) << file << "byte" << "its contents differ from the manifest (SHA-256)";
            QTest::addRow("%s, cut", file) << file << "cut" << "the size is";
            QTest::addRow("%s, gone", file) << file << "gone" << "missing";
        }
        QTest::newRow("manifest, a byte") << BackupManifestFileName << "byte" << "line";
        QTest::newRow("manifest, cut") << BackupManifestFileName << "cut" << "cut short";
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
        QTest::newRow("never") << -1 << 7 << QStringLiteral("No backup of the Vardel data files has been made yet.") + ask;
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

    // The scheduled path: a dated folder, verified, the oldest removed beyond --keep; then check and verify.
    void theCommandsBackUpVerifyAndCheck() {
        const QString dir = m_root.filePath(QStringLiteral("daily"));
        for (const char* old : {"2020-01-01T000000", "2020-01-02T000000"})
            QVERIFY(QDir().mkpath(dir + QLatin1Char('/') + QLatin1String(old)));
        Run run = VardelData(InFolder(data(), QStringLiteral("backup %1 --keep 2").arg(dir)));
        QCOMPARE(run.exitCode, 0);
        const QStringList kept = QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(kept.size(), 2);
        QCOMPARE(kept.first(), QStringLiteral("2020-01-02T000000"));
        QVERIFY(LastBackupTime(data()).has_value());

        QCOMPARE(VardelData(InFolder(data(), QStringLiteral("verify %1").arg(dir))).exitCode, 0);
        const QString newest = dir + QLatin1Char('/') + kept.last() + QStringLiteral("/User.Log");
        writeFile(newest, "tampered");
        run = VardelData(InFolder(data(), QStringLiteral("verify %1").arg(dir)));
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("User.Log: the size is"), run.err.constData());

        // The records of init() have no dates, numbers or contacts: each is found.
        run = VardelData(InFolder(data(), QStringLiteral("check")));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.startsWith("1\tAble, \tDate of Birth\tno date of birth\n"));
    }
};

QTEST_GUILESS_MAIN(TestBackupManifest)
#include "tst_backupmanifest.moc"
