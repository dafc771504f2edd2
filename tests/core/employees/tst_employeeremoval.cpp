#include "FileErrorText.h"
#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include "core/store/DataFile.h"
#include "core/base/FixedRecordFile.h"
#include "core/base/MappedFile.h"
#include "core/record/PersonnelRecord.h"
#include "core/employees/EmployeeRemoval.h"

#include <QFile>
#include <QtTest>

#include <cerrno>
#include <linux/magic.h>
#include <memory>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

// Seams for the system calls of the copy: the file system the data file is on, which errno the kernel copy and the
// rename fail with (0: they work), how many bytes the writes still find room for and the errno once they do not.
long g_fileSystem = EXT4_SUPER_MAGIC;
int g_copyError = 0;
int g_renameError = 0;
qint64 g_room = -1;
int g_writeError = ENOSPC;
int g_kernelCopies = 0;

int seamFstatfs(int fd, struct statfs* info) {
    const int result = ::fstatfs(fd, info);
    info->f_type = g_fileSystem;
    return result;
}
ssize_t seamCopyFileRange(int in, off_t* inOffset, int out, off_t* outOffset, size_t size, unsigned flags) {
    ++g_kernelCopies;
    if (g_copyError != 0) {
        errno = g_copyError;
        return -1;
    }
    return ::copy_file_range(in, inOffset, out, outOffset, size, flags);
}
int seamRename(const char* from, const char* to) {
    if (g_renameError != 0) {
        errno = g_renameError;
        return -1;
    }
    return ::rename(from, to);
}
ssize_t seamPwrite(int fd, const void* data, size_t size, off_t offset) {
    if (g_room == 0) {
        errno = g_writeError;
        return -1;
    }
    const size_t part = g_room < 0 ? size : std::min<size_t>(size, static_cast<size_t>(g_room));
    const ssize_t put = ::pwrite(fd, data, part, offset);
    if (put > 0 && g_room > 0)
        g_room -= put;
    return put;
}

struct Seams {
    Seams(long fileSystem, int copyError, int renameError, qint64 room, int writeError) {
        g_fileSystem = fileSystem;
        g_copyError = copyError;
        g_renameError = renameError;
        g_room = room;
        g_writeError = writeError;
        g_kernelCopies = 0;
        FileSystemCalls::SetFstatfs(seamFstatfs);
        FileSystemCalls::SetCopyFileRange(seamCopyFileRange);
        FileSystemCalls::SetRename(seamRename);
        FileSystemCalls::SetPwrite(seamPwrite);
    }
    ~Seams() {
        FileSystemCalls::SetFstatfs(nullptr);
        FileSystemCalls::SetCopyFileRange(nullptr);
        FileSystemCalls::SetRename(nullptr);
        FileSystemCalls::SetPwrite(nullptr);
    }
};

} // namespace

// Removing an employee from the data file, and what an interrupted removal leaves for the next one to finish.
class tst_EmployeeRemoval : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempWorkDir> m_dir;

    // Employees named "E1", "E2", ... in their slots; a name starting with "!" is stored carrying the marker, as a
    // removal that was cut off after marking leaves it.
    static void WriteSlots(const QStringList& names) {
        QByteArray bytes;
        for (const QString& name : names) {
            PersonnelRecord r;
            const bool killed = name.startsWith(QLatin1Char('!'));
            r.FirstName = killed ? KilledMarker : QStringLiteral("First");
            r.LastName = killed ? name.mid(1) : name;
            r.Notepad = QStringLiteral("Notes of ") + r.LastName;
            r.DataVersion = 312;
            bytes += EncodePersonnelRecord(r);
        }
        writeFile(DataFileName, bytes);
    }

    // The last names in the data file, slot 1 first; "<no file>" when there is none.
    static QStringList StoredNames() {
        if (!QFile::exists(DataFileName))
            return {QStringLiteral("<no file>")};
        const QByteArray bytes = readFile(DataFileName);
        QStringList names;
        for (qsizetype at = 0; at + PersonnelLayout::RecordSize <= bytes.size(); at += PersonnelLayout::RecordSize)
            names << DecodePersonnelRecord(bytes.constData() + at).LastName;
        if (bytes.size() % PersonnelLayout::RecordSize != 0)
            names << QStringLiteral("<cut>");
        return names;
    }

private slots:
    void init() {
        m_dir = std::make_unique<TempWorkDir>();
        DataFileName = QStringLiteral("Vardel.Data");
    }

    void cleanup() {
        CloseDataFile();
        m_dir.reset();
    }

    void removal_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("listedName"); // null: no check
        QTest::addColumn<bool>("leftoverTemp");
        QTest::addColumn<bool>("removed");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("left");

        const QStringList five{"E1", "E2", "E3", "E4", "E5"};
        QTest::newRow("slot 3 of 5") << five << 3 << QString() << false << true << QStringList{"E1", "E2", "E4", "E5"}
                                     << 4;
        QTest::newRow("the only record leaves no file")
            << QStringList{"E1"} << 1 << QString() << false << true << QStringList{"<no file>"} << 0;
        QTest::newRow("an earlier marker goes too") << QStringList{"E1", "!E2", "E3", "E4", "E5"} << 4 << QString()
                                                    << false << true << QStringList{"E1", "E3", "E5"} << 3;
        QTest::newRow("only marked records left")
            << QStringList{"!E1", "E2", "!E3"} << 2 << QString() << false << true << QStringList{"<no file>"} << 0;
        QTest::newRow("a temporary file left by a crash")
            << five << 2 << QString() << true << true << QStringList{"E1", "E3", "E4", "E5"} << 4;
        QTest::newRow("someone else in the slot now")
            << five << 3 << QStringLiteral("E4, First") << false << false << five << 5;
        // Records are copied a megabyte (209 slots) at a time: one at the end of the first block goes.
        QStringList many;
        for (int i = 1; i <= 500; ++i)
            many << QStringLiteral("E%1").arg(i);
        QStringList manyAfter = many;
        manyAfter.removeAt(208);
        QTest::newRow("several blocks") << many << 209 << QString() << false << true << manyAfter << 499;
        QTest::newRow("slot past the end") << five << 6 << QString() << false << false << five << 5;
    }

    void removal() {
        QFETCH(QStringList, before);
        QFETCH(int, slot);
        QFETCH(QString, listedName);
        QFETCH(bool, leftoverTemp);
        QFETCH(bool, removed);
        QFETCH(QStringList, after);
        QFETCH(int, left);
        WriteSlots(before);
        if (leftoverTemp)
            writeFile(TempFileName, QByteArray(7000, 'x'));
        const QByteArray original = readFile(DataFileName);

        const RemovalResult result = RemoveEmployee(slot, listedName);

        QCOMPARE(result.Removed, removed);
        QCOMPARE(result.RecordsLeft, left);
        QCOMPARE(StoredNames(), after);
        if (!removed)
            QVERIFY(readFile(DataFileName) == original);
        // Nothing of the copy stays behind, nor the file handle.
        QVERIFY(!QFile::exists(TempFileName) || (leftoverTemp && !removed));
        QCOMPARE(DataFileNumber, qint16(0));
        QCOMPARE(CurrentRecord, PersonnelRecord());
    }

    // Whatever stops a removal, the data file is left byte for byte as it was (no slot marked, no name lost) and no
    // copy stays behind. On ext4 and tmpfs the copy is written from the mapped file; elsewhere the kernel copies,
    // and where it cannot, the copy goes through a buffer with the same result.
    void removalCopy_data() {
        QTest::addColumn<long>("fileSystem");
        QTest::addColumn<int>("copyError");
        QTest::addColumn<int>("renameError");
        QTest::addColumn<qint64>("room"); // -1: no limit
        QTest::addColumn<int>("writeError");
        QTest::addColumn<QString>("error");
        const long ext4 = EXT4_SUPER_MAGIC;
        const long tmpfs = TMPFS_MAGIC;
        const long btrfs = BTRFS_SUPER_MAGIC;
        const long nfs = NFS_SUPER_MAGIC;
        const QString noSpace = QStringLiteral("TempFile.$$$: No space left on device");
        QTest::newRow("ext4: from the mapping") << ext4 << 0 << 0 << qint64(-1) << 0 << "<no error>";
        QTest::newRow("tmpfs: from the mapping") << tmpfs << 0 << 0 << qint64(-1) << 0 << "<no error>";
        QTest::newRow("btrfs: kernel copy") << btrfs << 0 << 0 << qint64(-1) << 0 << "<no error>";
        QTest::newRow("other device: buffered") << nfs << EXDEV << 0 << qint64(-1) << 0 << "<no error>";
        QTest::newRow("no kernel copy: buffered") << nfs << ENOSYS << 0 << qint64(-1) << 0 << "<no error>";
        QTest::newRow("rename fails") << ext4 << 0 << EIO << qint64(-1) << 0 << "Vardel.Data: Input/output error";
        QTest::newRow("disk fills in the mapped copy") << ext4 << 0 << 0 << qint64(1 << 20) << ENOSPC << noSpace;
        QTest::newRow("file cut short under the mapped copy")
            << ext4 << 0 << 0 << qint64(1 << 20) << EFAULT << MappedFileShrankText(DataFileName);
        QTest::newRow("disk full in the kernel copy") << btrfs << ENOSPC << 0 << qint64(-1) << 0 << noSpace;
        QTest::newRow("disk fills in the buffered copy") << nfs << EXDEV << 0 << qint64(1 << 20) << ENOSPC << noSpace;
    }

    void removalCopy() {
        QFETCH(long, fileSystem);
        QFETCH(int, copyError);
        QFETCH(int, renameError);
        QFETCH(qint64, room);
        QFETCH(int, writeError);
        QFETCH(QString, error);
        // Two earlier markers and 600 slots, so that the buffered copy takes several blocks.
        QStringList names;
        for (int i = 1; i <= 600; ++i)
            names << (i == 7 || i == 599 ? QStringLiteral("!E%1") : QStringLiteral("E%1")).arg(i);
        WriteSlots(names);
        const QByteArray original = readFile(DataFileName);
        const int size = PersonnelLayout::RecordSize;
        const QByteArray expected = original.left(6 * size) + original.mid(7 * size, 293 * size) +
                                    original.mid(301 * size, 297 * size) + original.right(size);

        const Seams seams(fileSystem, copyError, renameError, room, writeError);
        QCOMPARE(FileErrorText([] { QVERIFY(RemoveEmployee(301, QStringLiteral("E301, First")).Removed); }), error);

        QVERIFY(readFile(DataFileName) == (error == QLatin1String("<no error>") ? expected : original));
        QVERIFY(!QFile::exists(TempFileName));
        // The kernel is asked once per run; after it declines, never again. It is not asked where the mapping serves.
        const bool mapped = fileSystem == EXT4_SUPER_MAGIC || fileSystem == TMPFS_MAGIC;
        QCOMPARE(g_kernelCopies, mapped ? 0 : copyError == 0 ? 4 : 1);
    }

    void killedSlot_data() {
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<bool>("killed");
        QTest::newRow("marker") << "$Killed$" << true;
        QTest::newRow("marker after blanks") << "  $Killed$" << true;
        QTest::newRow("other case") << "$killed$" << false;
    }

    void killedSlot() {
        QFETCH(QString, firstName);
        QFETCH(bool, killed);
        PersonnelRecord r;
        r.FirstName = firstName;
        const QByteArray bytes = EncodePersonnelRecord(r);
        QCOMPARE(IsKilledSlot(bytes.constData()), killed);
        QCOMPARE(IsKilled(DecodePersonnelRecord(bytes.constData())), killed);
    }
};

QTEST_GUILESS_MAIN(tst_EmployeeRemoval)
#include "tst_employeeremoval.moc"
