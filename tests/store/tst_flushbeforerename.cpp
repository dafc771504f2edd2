// A replacement by rename is safe only when the new file reached the disk first: a crash between an unflushed
// write and the rename can leave the new name on empty blocks. This counts the flushes through the file-system
// seam and checks that each file renamed into place was flushed before its rename.

#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include "backup/BackupCopy.h"
#include "store/DataFile.h"
#include "store/FixedRecordFile.h"
#include "store/PersonnelRecord.h"
#include "ui/main/EmployeeRemoval.h"

#include <QFileInfo>
#include <QTest>

#include <cstdio>
#include <unistd.h>

namespace {

// "fsync PATH" and "rename PATH" in the order the calls came.
QStringList g_calls;

int countingFsync(int fd) {
    g_calls << QStringLiteral("fsync ") + QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd));
    return ::fsync(fd);
}

int countingRename(const char* from, const char* to) {
    g_calls << QStringLiteral("rename ") + QFileInfo(QFile::decodeName(from)).canonicalFilePath();
    return ::rename(from, to);
}

QByteArray Employees(int count) {
    QByteArray bytes;
    for (int n = 1; n <= count; ++n) {
        PersonnelRecord r;
        r.LastName = QStringLiteral("E%1").arg(n);
        bytes += EncodePersonnelRecord(r);
    }
    return bytes;
}

} // namespace

class TestFlushBeforeRename : public QObject {
    Q_OBJECT

private slots:
    void init() {
        g_calls.clear();
        FileSystemCalls::SetFsync(countingFsync);
        FileSystemCalls::SetRename(countingRename);
    }

    void cleanup() {
        FileSystemCalls::SetFsync(nullptr);
        FileSystemCalls::SetRename(nullptr);
        CloseDataFile();
    }

    void renamedFileWasFlushedFirst_data() {
        QTest::addColumn<QString>("replacement");
        QTest::newRow("removal rewrite") << "removal";
        QTest::newRow("backup copy") << "backup";
    }

    void renamedFileWasFlushedFirst() {
        QFETCH(QString, replacement);
        TempWorkDir dir;
        DataFileName = QStringLiteral("Vardel.Data");
        writeFile(DataFileName, Employees(3));
        if (replacement == QLatin1String("removal")) {
            QVERIFY(RemoveEmployee(2).Removed);
            QCOMPARE(readFile(DataFileName).size(), 2 * PersonnelLayout::RecordSize);
        } else {
            QVERIFY(QDir().mkdir(QStringLiteral("Backup")));
            QCOMPARE(CopyFileWhole(DataFileName, QStringLiteral("Backup/Vardel.Data")), QString());
        }
        const QString calls = g_calls.join(QLatin1Char('\n'));
        int renames = 0;
        for (qsizetype i = 0; i < g_calls.size(); ++i) {
            if (!g_calls.at(i).startsWith(QLatin1String("rename ")))
                continue;
            ++renames;
            const QString renamed = g_calls.at(i).mid(7);
            QVERIFY2(g_calls.mid(0, i).contains(QStringLiteral("fsync ") + renamed), qPrintable(calls));
        }
        QVERIFY2(renames > 0, qPrintable(calls));
    }
};

QTEST_GUILESS_MAIN(TestFlushBeforeRename)
#include "tst_flushbeforerename.moc"
