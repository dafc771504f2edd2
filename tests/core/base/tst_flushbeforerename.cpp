// Each file renamed into place must reach the disk first, or a crash can leave the name on empty blocks: the flushes
// and renames are recorded through the file-system seam, in order.

#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include "core/backup/BackupCopy.h"
#include "core/store/DataFile.h"
#include "core/base/FixedRecordFile.h"
#include "core/employees/EmployeeRemoval.h"

#include <QFileInfo>
#include <QTest>

#include <unistd.h>

namespace {

QStringList g_calls; // "fsync PATH", "rename PATH"

int recordingFsync(int fd) {
    g_calls << QStringLiteral("fsync ") + QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd));
    return ::fsync(fd);
}

int recordingRename(const char* from, const char* to) {
    g_calls << QStringLiteral("rename ") + QFileInfo(QFile::decodeName(from)).canonicalFilePath();
    return ::rename(from, to);
}

} // namespace

class TestFlushBeforeRename : public QObject {
    Q_OBJECT

private slots:
    void renamedFileWasFlushedFirst_data() {
        QTest::addColumn<bool>("removal");
        QTest::newRow("removal rewrite") << true;
        QTest::newRow("backup copy") << false;
    }

    void renamedFileWasFlushedFirst() {
        QFETCH(bool, removal);
        TempWorkDir dir;
        DataFileName = QStringLiteral("Vardel.Data");
        writeFile(DataFileName, EncodePersonnelRecord(PersonnelRecord()).repeated(3));
        g_calls.clear();
        FileSystemCalls::SetFsync(recordingFsync);
        FileSystemCalls::SetRename(recordingRename);
        const bool done = removal ? RemoveEmployee(2).Removed
                                  : QDir().mkdir(QStringLiteral("Backup")) &&
                                        CopyFileWhole(DataFileName, QStringLiteral("Backup/Vardel.Data")).isEmpty();
        FileSystemCalls::SetFsync(nullptr);
        FileSystemCalls::SetRename(nullptr);
        QVERIFY(done);
        const QString calls = g_calls.join(QLatin1Char('\n'));
        QVERIFY2(calls.contains(QLatin1String("rename ")), qPrintable(calls));
        for (qsizetype i = 0; i < g_calls.size(); ++i)
            if (g_calls.at(i).startsWith(QLatin1String("rename ")))
                QVERIFY2(g_calls.mid(0, i).contains(QStringLiteral("fsync ") + g_calls.at(i).mid(7)),
                         qPrintable(calls));
    }
};

QTEST_GUILESS_MAIN(TestFlushBeforeRename)
#include "tst_flushbeforerename.moc"
