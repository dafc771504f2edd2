#include "FileTestSupport.h"
#include "TempWorkDir.h"
#include "core/base/AppGlobals.h"
#include "core/backup/BackupCopy.h"
#include "core/base/FixedRecordFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

class TestBackupCopy : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    QString path(const QString& name) const { return m_root.filePath(name); }

private slots:
    void initTestCase() {
        InitProgramValues();
        QVERIFY(m_root.isValid());
        QVERIFY(QDir(m_root.path()).mkpath(QStringLiteral("data/sub")));
        QVERIFY(QDir(m_root.path()).mkpath(QStringLiteral("DATA")));
        QVERIFY(QFile::link(path(QStringLiteral("data")), path(QStringLiteral("link"))));
    }

    void sameFolder_data() {
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("same");
        QTest::newRow("itself") << QStringLiteral("data") << true;
        QTest::newRow("trailing slash") << QStringLiteral("data/") << true;
        QTest::newRow("dot and dot-dot") << QStringLiteral("data/sub/../.") << true;
        QTest::newRow("symbolic link") << QStringLiteral("link") << true;
        QTest::newRow("other letter case") << QStringLiteral("DATA") << false;
        QTest::newRow("subfolder") << QStringLiteral("data/sub") << false;
        QTest::newRow("missing") << QStringLiteral("gone") << false;
    }
    void sameFolder() {
        QFETCH(QString, other);
        QFETCH(bool, same);
        QCOMPARE(IsSameFolder(path(QStringLiteral("data")), path(other)), same);
        QCOMPARE(IsSameFolder(path(other), path(QStringLiteral("data"))), same);
    }

    void trailingSlash_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("root stays") << QStringLiteral("/") << QStringLiteral("/");
        QTest::newRow("appended") << QStringLiteral("/media/usb") << QStringLiteral("/media/usb/");
        QTest::newRow("not doubled") << QStringLiteral("/media/usb/") << QStringLiteral("/media/usb/");
    }
    void trailingSlash() {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(WithTrailingSlash(path), expected);
    }

    void listingCountsVisibleFilesOnly() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        writeFile(dir.filePath(QStringLiteral(".hidden")), "x");
        QCOMPARE(ListFolderFiles(dir.path()), std::optional<QStringList>(QStringList()));
        writeFile(dir.filePath(QStringLiteral("notes.txt")), "x");
        QCOMPARE(ListFolderFiles(dir.path()), std::optional<QStringList>(QStringList{QStringLiteral("notes.txt")}));
        QCOMPARE(ListFolderFiles(dir.filePath(QStringLiteral("gone"))), std::nullopt);
        QCOMPARE(ListFolderFiles(dir.filePath(QStringLiteral("notes.txt"))), std::nullopt);

        QCOMPARE(FolderHoldsFile(dir.path(), QStringLiteral("notes.txt")), std::optional<bool>(true));
        QCOMPARE(FolderHoldsFile(dir.path(), QStringLiteral("folder")), std::optional<bool>(false));
        QCOMPARE(FolderHoldsFile(dir.filePath(QStringLiteral("gone")), QStringLiteral("notes.txt")), std::nullopt);
    }

    void onlyAbandonedCopiesAreCleared_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("held"); // by a living copy
        QTest::addColumn<bool>("cleared");
        QTest::newRow("data file's copy") << ".Vardel.Data.a1B2c3" << false << true;
        QTest::newRow("log's copy") << ".User.Log.ZZ9zz9" << false << true;
        QTest::newRow("a living copy") << ".Vardel.Data.a1B2c3" << true << false;
        QTest::newRow("five characters") << ".Vardel.Data.notes" << false << false;
        QTest::newRow("seven characters") << ".Vardel.Data.a1B2c3d" << false << false;
        QTest::newRow("not hidden") << "Vardel.Data.a1B2c3" << false << false;
        QTest::newRow("another file's") << ".Vardel.Date.a1B2c3" << false << false;
    }
    void onlyAbandonedCopiesAreCleared() {
        QFETCH(QString, name);
        QFETCH(bool, held);
        QFETCH(bool, cleared);
        TempWorkDir dir;
        writeFile(name, "123-45-6789");
        writeFile(TempFileName, "123-45-6789");
        const int fd = held ? ::open(QFile::encodeName(name).constData(), O_RDONLY) : -1;
        QVERIFY(!held || ::flock(fd, LOCK_EX | LOCK_NB) == 0);
        ClearDataFolderLeftovers();
        QCOMPARE(QFile::exists(name), !cleared);
        QVERIFY(!QFile::exists(TempFileName));
        if (fd >= 0)
            ::close(fd);
    }

    void onlyAFolderMadeWhileChoosingIsNarrowed() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("new"));
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        QVERIFY(QDir().mkdir(folder, QFile::Permissions(0x7755)));
        if (!QFileInfo(folder).birthTime().isValid())
            QSKIP("this file system keeps no birth times");
        QVERIFY(!NarrowFolderMadeSince(folder, QDateTime::currentDateTime().addSecs(3600)));
        QCOMPARE(modeOf(folder), mode_t(0755));
        QVERIFY(NarrowFolderMadeSince(folder, before));
        QCOMPARE(modeOf(folder), mode_t(0700));
    }
};

QTEST_GUILESS_MAIN(TestBackupCopy)
#include "tst_backupcopy.moc"
