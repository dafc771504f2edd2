#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"
#include "core/base/MappedFile.h"

#include "FileErrorText.h"
#include "FileSizeLimit.h"
#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A disk with room for a given number of bytes: writes succeed in part and then fail with ENOSPC, as a real disk
// that fills does.
qint64 g_room = 0;
ssize_t fillingPwrite(int fd, const void* data, size_t size, off_t offset) {
    if (g_room <= 0) {
        errno = ENOSPC;
        return -1;
    }
    const size_t part = std::min<size_t>(size, static_cast<size_t>(g_room));
    const ssize_t put = ::pwrite(fd, data, part, offset);
    if (put > 0)
        g_room -= put;
    return put;
}

int failingRename(const char*, const char*) {
    errno = EIO;
    return -1;
}

// Puts a seam in place for one test and takes it out again, however the test ends.
struct DiskWithRoom {
    explicit DiskWithRoom(qint64 room) {
        g_room = room;
        FileSystemCalls::SetPwrite(fillingPwrite);
    }
    ~DiskWithRoom() { FileSystemCalls::SetPwrite(nullptr); }
};
struct RenameFails {
    RenameFails() { FileSystemCalls::SetRename(failingRename); }
    ~RenameFails() { FileSystemCalls::SetRename(nullptr); }
};

// A disk that cannot flush folders (the flush after a rename); files flush as usual.
int failingFolderFsync(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EIO;
        return -1;
    }
    return ::fsync(fd);
}

// n records of size bytes, record k filled with the letter 'a' + k - 1.
QByteArray records(int n, int size) {
    QByteArray bytes;
    for (int k = 1; k <= n; ++k)
        bytes += QByteArray(size, static_cast<char>('a' + k - 1));
    return bytes;
}

} // namespace

class TestFixedRecordFile : public QObject {
    Q_OBJECT

private slots:
    void countRoundsHalvesToEven_data() {
        QTest::addColumn<qint64>("length");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << qint64(0) << 5000 << 0;
        QTest::newRow("under half") << qint64(2499) << 5000 << 0;
        QTest::newRow("half of one") << qint64(2500) << 5000 << 0;
        QTest::newRow("over half") << qint64(2501) << 5000 << 1;
        QTest::newRow("one") << qint64(5000) << 5000 << 1;
        QTest::newRow("1.5") << qint64(7500) << 5000 << 2;
        QTest::newRow("2.5") << qint64(12500) << 5000 << 2;
        QTest::newRow("3.5") << qint64(17500) << 5000 << 4;
        QTest::newRow("4.5") << qint64(22500) << 5000 << 4;
        QTest::newRow("user 0.5") << qint64(250) << 500 << 0;
        QTest::newRow("user 1.5") << qint64(750) << 500 << 2;
        QTest::newRow("user 2.5") << qint64(1250) << 500 << 2;
        QTest::newRow("user 3.5") << qint64(1750) << 500 << 4;
        QTest::newRow("user 3.4") << qint64(1700) << 500 << 3;
    }
    void countRoundsHalvesToEven() {
        QFETCH(qint64, length);
        QFETCH(int, size);
        QFETCH(int, count);
        QCOMPARE(RecordCountForLength(length, size), count);

        TempWorkDir dir;
        writeFile(QStringLiteral("f"), QByteArray(length, 'x'));
        FixedRecordFile file(QStringLiteral("f"), size);
        file.open();
        QCOMPARE(file.length(), length);
        QCOMPARE(file.recordCount(), count);
    }

    // A length beyond 32 bits of records counts right instead of wrapping.
    void countIsSixtyFourBit() {
        QCOMPARE(RecordCountForLength(5000LL * 3000000000LL + 2600, 5000), 3000000001LL);
        QCOMPARE(RecordCountForLength(500LL * 5000000000LL, 500), 5000000000LL);
    }

    void openCreatesMissingFileOwnerOnly() {
        TempWorkDir dir;
        FixedRecordFile file(QStringLiteral("new.bin"), 500);
        file.open();
        QVERIFY(QFile::exists(QStringLiteral("new.bin")));
        QCOMPARE(file.length(), 0);
        QCOMPARE(file.recordCount(), 0);
        QCOMPARE(modeOf(QStringLiteral("new.bin")), mode_t(0600));
    }

    void openKeepsAnExistingFilesContentAndNarrowsItsMode() {
        TempWorkDir dir;
        writeFile(QStringLiteral("old.bin"), records(2, 500));
        ::chmod("old.bin", 0640);
        FixedRecordFile file(QStringLiteral("old.bin"), 500);
        file.open();
        file.open(); // a second open reopens the same file
        QCOMPARE(file.recordCount(), 2);
        file.close();
        // A mode that lets others read the records is narrowed to the owner's.
        QCOMPARE(modeOf(QStringLiteral("old.bin")), mode_t(0600));
        QCOMPARE(readFile(QStringLiteral("old.bin")), records(2, 500));
    }

    void openFailureCarriesTheSystemText() {
        TempWorkDir dir;
        FixedRecordFile file(QStringLiteral("no-such-folder/x.bin"), 500);
        QCOMPARE(FileErrorText([&file] { file.open(); }),
                 QStringLiteral("no-such-folder/x.bin: No such file or directory"));
    }

    void readsRecordsBlankPastTheEndAndPartialAtACut() {
        TempWorkDir dir;
        // Two whole records and 300 bytes of a third: 2.6 records round to 3.
        writeFile(QStringLiteral("f"), records(3, 500).left(1300));
        FixedRecordFile file(QStringLiteral("f"), 500);
        file.open();
        QCOMPARE(file.recordCount(), 3);
        QCOMPARE(file.readRecord(2), QByteArray(500, 'b'));

        QByteArray buffer(500, '#');
        QCOMPARE(file.readRecord(3, buffer.data()), 300);
        QCOMPARE(buffer, QByteArray(300, 'c') + QByteArray(200, '#'));

        buffer.fill('#');
        QCOMPARE(file.readRecord(4, buffer.data()), 0);
        QCOMPARE(buffer, QByteArray(500, '#'));
        QVERIFY(file.readRecord(9).isEmpty());
        QVERIFY_THROWS_EXCEPTION(FileError, file.readRecord(0));
    }

    void writesInPlaceAndAppendsOneRecordAtATime() {
        TempWorkDir dir;
        FixedRecordFile file(QStringLiteral("f"), 500);
        file.open();
        file.writeRecord(1, QByteArray(500, 'a'));
        file.writeRecord(2, QByteArray(500, 'b'));
        file.writeRecord(1, QByteArray(500, 'z'));
        QCOMPARE(file.length(), 1000);
        // No holes: record 4 of a two-record file, record 0 and short data are refused.
        QVERIFY_THROWS_EXCEPTION(FileError, file.writeRecord(4, QByteArray(500, 'd')));
        QVERIFY_THROWS_EXCEPTION(FileError, file.writeRecord(0, QByteArray(500, 'd')));
        QVERIFY_THROWS_EXCEPTION(FileError, file.writeRecord(3, QByteArray(499, 'd')));
        file.close();
        QCOMPARE(readFile(QStringLiteral("f")), QByteArray(500, 'z') + QByteArray(500, 'b'));
    }

    // A write stopped part-way by the size limit: which record, and where the limit falls.
    void failedWriteLeavesTheRecordWhole_data() {
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("limit");
        QTest::newRow("append cut in the middle") << 4 << 1750;
        QTest::newRow("append refused at the start") << 4 << 1500;
        QTest::newRow("overwrite of the last cut in the middle") << 3 << 1250;
        QTest::newRow("overwrite of the first cut in the middle") << 1 << 200;
    }

    void failedWriteLeavesTheRecordWhole() {
        QFETCH(int, record);
        QFETCH(int, limit);
        TempWorkDir dir;
        writeFile(QStringLiteral("f"), records(3, 500));
        FixedRecordFile file(QStringLiteral("f"), 500);
        file.open();
        QString reason;
        {
            const FileSizeLimit cap(static_cast<rlim_t>(limit));
            try {
                file.writeRecord(record, QByteArray(500, 'z'));
            } catch (const FileError& error) {
                reason = error.text();
            }
        }
        QCOMPARE(reason, QStringLiteral("f: File too large"));
        QCOMPARE(file.length(), 1500);
        // The file stays usable, and a later write goes through.
        file.writeRecord(4, QByteArray(500, 'd'));
        file.close();
        QCOMPARE(readFile(QStringLiteral("f")), records(4, 500));
    }

    void replaceSwapsInTheCompleteFileOrLeavesTheTarget() {
        TempWorkDir dir;
        writeFile(QStringLiteral("target"), "old");
        writeFile(QStringLiteral("temp"), "new content");
        const ino_t tempInode = inodeOf(QStringLiteral("temp"));
        ReplaceFileAtomically(QStringLiteral("temp"), QStringLiteral("target"));
        QCOMPARE(readFile(QStringLiteral("target")), QByteArray("new content"));
        // The temporary file itself took the name: a rename, not a copy.
        QCOMPARE(inodeOf(QStringLiteral("target")), tempInode);
        QVERIFY(!QFile::exists(QStringLiteral("temp")));

        // A replace that fails leaves the target as it was.
        writeFile(QStringLiteral("target"), "old");
        QVERIFY_THROWS_EXCEPTION(FileError, ReplaceFileAtomically(QStringLiteral("missing"), QStringLiteral("target")));
        QCOMPARE(readFile(QStringLiteral("target")), QByteArray("old"));
    }

    void rewriteKeepsChosenRecordsInOrder() {
        TempWorkDir dir;
        writeFile(QStringLiteral("list"), records(5, 500));
        ::chmod("list", 0644);
        // Junk from a crashed run, longer than the result, must not survive into it.
        writeFile(TempFileName, QByteArray(9000, 'J'));
        const ino_t before = inodeOf(QStringLiteral("list"));
        QList<qint64> seen;
        const qint64 kept = RewriteRecordFile(QStringLiteral("list"), 500, [&](qint64 n, const QByteArray& record) {
            seen << n;
            // While copying, the original is still in place, unchanged.
            [&] {
                QCOMPARE(inodeOf(QStringLiteral("list")), before);
                QCOMPARE(readFile(QStringLiteral("list")), records(5, 500));
            }();
            return record.at(0) != 'b' && record.at(0) != 'd';
        });
        QCOMPARE(kept, 3);
        QCOMPARE(seen, (QList<qint64>{1, 2, 3, 4, 5}));
        QCOMPARE(readFile(QStringLiteral("list")), QByteArray(500, 'a') + QByteArray(500, 'c') + QByteArray(500, 'e'));
        QVERIFY(!QFile::exists(TempFileName));
        QCOMPARE(modeOf(QStringLiteral("list")), mode_t(0600));
    }

    void rewriteCompletesACutRecordFromTheBlank() {
        TempWorkDir dir;
        writeFile(QStringLiteral("list"), records(2, 500).left(800));
        const QByteArray blank(500, '-');
        RewriteRecordFile(
            QStringLiteral("list"), 500, [](qint64, const QByteArray&) { return true; }, blank);
        QCOMPARE(readFile(QStringLiteral("list")), QByteArray(500, 'a') + QByteArray(300, 'b') + QByteArray(200, '-'));
    }

    // The rename is the only way the copy may take the file's place: a rewrite that deleted the file first would
    // leave nothing when the rename then fails.
    void failedRenameLeavesTheOldFileWhole() {
        TempWorkDir dir;
        writeFile(QStringLiteral("list"), records(3, 500));
        RenameFails fails;
        QCOMPARE(FileErrorText([] {
                     RewriteRecordFile(QStringLiteral("list"), 500, [](qint64 n, const QByteArray&) { return n != 2; });
                 }),
                 QStringLiteral("list: Input/output error"));
        QCOMPARE(readFile(QStringLiteral("list")), records(3, 500));
        QVERIFY(!QFile::exists(TempFileName));
    }

    void fullDiskGivesTheSystemsReasonAndLeavesNoTemporaryFile_data() {
        QTest::addColumn<qint64>("room");
        QTest::newRow("full at once") << qint64(0);
        QTest::newRow("fills inside a record") << qint64(1234);
        QTest::newRow("fills between records") << qint64(1500);
    }
    void fullDiskGivesTheSystemsReasonAndLeavesNoTemporaryFile() {
        QFETCH(qint64, room);
        TempWorkDir dir;
        writeFile(QStringLiteral("list"), records(5, 500));
        {
            DiskWithRoom disk(room);
            QCOMPARE(FileErrorText([] {
                         RewriteRecordFile(QStringLiteral("list"), 500,
                                           [](qint64 n, const QByteArray&) { return n != 1; });
                     }),
                     QStringLiteral("TempFile.$$$: No space left on device"));
        }
        QCOMPARE(readFile(QStringLiteral("list")), records(5, 500));
        QVERIFY(!QFile::exists(TempFileName));

        // The same reason from a write in place, whole or partly done.
        FixedRecordFile file(QStringLiteral("list"), 500);
        file.open();
        DiskWithRoom disk(room % 500);
        QCOMPARE(FileErrorText([&file] { file.writeRecord(6, QByteArray(500, 'f')); }),
                 QStringLiteral("list: No space left on device"));
    }

    void temporaryFileIsNeverWrittenThroughALink_data() {
        QTest::addColumn<QByteArray>("linkTarget");
        QTest::newRow("to a file") << QByteArray("victim");
        QTest::newRow("to itself") << QByteArray("TempFile.$$$");
        QTest::newRow("to a missing file") << QByteArray("not-there");
    }
    void temporaryFileIsNeverWrittenThroughALink() {
        QFETCH(QByteArray, linkTarget);
        TempWorkDir dir;
        writeFile(QStringLiteral("list"), records(3, 500));
        writeFile(QStringLiteral("victim"), "precious");
        QVERIFY(::symlink(linkTarget.constData(), "TempFile.$$$") == 0);

        // Created at the very moment of the write, a link is refused.
        FixedRecordFile temp(TempFileName, 500);
        QCOMPARE(FileErrorText([&temp] { temp.createExclusive(); }),
                 QStringLiteral("\"TempFile.$$$\" is a symbolic link.\r\nVardel does not write through links in "
                                "its data folder."));
        QCOMPARE(readFile(QStringLiteral("victim")), QByteArray("precious"));
        QVERIFY(!QFile::exists(QStringLiteral("not-there")));

        // Left from before, it is removed as the leftover it is (the link, not what it points to), and the rewrite
        // makes a file of its own.
        QCOMPARE(RewriteRecordFile(QStringLiteral("list"), 500, [](qint64 n, const QByteArray&) { return n != 2; }),
                 qint64(2));
        QCOMPARE(readFile(QStringLiteral("list")), QByteArray(500, 'a') + QByteArray(500, 'c'));
        QCOMPARE(readFile(QStringLiteral("victim")), QByteArray("precious"));
        QVERIFY(!QFile::exists(QStringLiteral("not-there")));
        QCOMPARE(modeOf(QStringLiteral("list")), mode_t(0600));
    }

    // A last record counted by rounding up is completed from the blank record before anything is written after
    // it: no zero bytes appear where the file was cut.
    void writingAfterACutRecordFillsTheGap_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("write");
        QTest::addColumn<int>("expectedLength");
        QTest::newRow("1.52 slots, append") << 5000 << 7600 << 3 << 15000;
        QTest::newRow("1.52 slots, rewrite slot 1") << 5000 << 7600 << 1 << 10000;
        QTest::newRow("1.52 slots, the cut slot itself") << 5000 << 7600 << 2 << 10000;
        QTest::newRow("3.5 slots rounds up") << 500 << 1750 << 5 << 2500;
        QTest::newRow("2.4 slots rounds down") << 500 << 1200 << 3 << 1500;
        QTest::newRow("whole") << 500 << 1000 << 3 << 1500;
    }
    void writingAfterACutRecordFillsTheGap() {
        QFETCH(int, size);
        QFETCH(int, length);
        QFETCH(int, write);
        QFETCH(int, expectedLength);
        TempWorkDir dir;
        const QByteArray original = records(4, size).left(length);
        writeFile(QStringLiteral("f"), original);
        QByteArray blank(size, '-');
        blank[0] = '\0'; // blank records may hold zero bytes of their own (a date of 0)
        FixedRecordFile file(QStringLiteral("f"), size, blank);
        file.open();
        file.writeRecord(write, QByteArray(size, 'W'));
        file.close();

        QByteArray expected = original;
        const qint64 counted = RecordCountForLength(length, size) * size;
        if (length < counted)
            expected += blank.mid(length % size);
        if (expected.size() < write * size)
            expected.resize(write * size);
        expected.replace((write - 1) * size, size, QByteArray(size, 'W'));
        const QByteArray after = readFile(QStringLiteral("f"));
        QCOMPARE(after.size(), expectedLength);
        QCOMPARE(after, expected);
    }

    void appendIsWholeOrNothing() {
        TempWorkDir dir;
        AppendWhole(QStringLiteral("log"), "first line\r\n");
        QCOMPARE(modeOf(QStringLiteral("log")), mode_t(0600));
        {
            DiskWithRoom disk(5);
            QCOMPARE(FileErrorText([] { AppendWhole(QStringLiteral("log"), "second line\r\n"); }),
                     QStringLiteral("log: No space left on device"));
        }
        QCOMPARE(readFile(QStringLiteral("log")), QByteArray("first line\r\n"));
        AppendWhole(QStringLiteral("log"), "third line\r\n");
        QCOMPARE(readFile(QStringLiteral("log")), QByteArray("first line\r\nthird line\r\n"));
    }

    // A failure report names the file and says what was saved: nothing, or, when only the folder's flush after
    // the rename failed, the new file, in place but unconfirmed.
    void failureReportsSayWhatWasSaved_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("report");
        const QString nothing = QStringLiteral("\r\nNothing of this change was saved; what was saved before is kept.");
        QTest::newRow("rename fails") << "rename" << QStringLiteral("list: Input/output error") + nothing;
        QTest::newRow("log is a folder") << "log" << QStringLiteral("User.Log: Is a directory") + nothing;
        QTest::newRow("folder flush fails") << "flush" << NotConfirmedText("list", "Input/output error");
    }
    void failureReportsSayWhatWasSaved() {
        QFETCH(QString, fault);
        QFETCH(QString, report);
        TempWorkDir dir;
        writeFile(QStringLiteral("list"), records(3, 500));
        QVERIFY(QDir().mkdir(QStringLiteral("User.Log")));
        FileSystemCalls::SetRename(fault == QLatin1String("rename") ? failingRename : nullptr);
        FileSystemCalls::SetFsync(fault == QLatin1String("flush") ? failingFolderFsync : nullptr);
        QCOMPARE(FileErrorText([&fault] {
                     try {
                         if (fault == QLatin1String("log"))
                             AppendWhole(QStringLiteral("User.Log"), "line\r\n");
                         else
                             RewriteRecordFile(QStringLiteral("list"), 500, [](qint64 n, auto&) { return n != 3; });
                     } catch (const FileError& error) {
                         throw FileError(FileErrorReport(error));
                     }
                 }),
                 report);
        FileSystemCalls::SetRename(nullptr);
        FileSystemCalls::SetFsync(nullptr);
        QCOMPARE(readFile(QStringLiteral("list")), records(fault == QLatin1String("flush") ? 2 : 3, 500));
    }

    void readOnlyOpenCreatesNothingAndCannotWrite() {
        TempWorkDir dir;
        FixedRecordFile missing(QStringLiteral("absent"), 500);
        QCOMPARE(FileErrorText([&missing] { missing.open(FixedRecordFile::Access::ReadOnly); }),
                 QStringLiteral("absent: No such file or directory"));
        QVERIFY(!QFile::exists(QStringLiteral("absent")));

        writeFile(QStringLiteral("f"), records(2, 500));
        FixedRecordFile file(QStringLiteral("f"), 500);
        file.open(FixedRecordFile::Access::ReadOnly);
        QCOMPARE(file.readRecord(2), QByteArray(500, 'b'));
        QCOMPARE(FileErrorText([&file] { file.writeRecord(1, QByteArray(500, 'x')); }),
                 QStringLiteral("f: Bad file descriptor"));
        QCOMPARE(readFile(QStringLiteral("f")), records(2, 500));
    }

    void rewriteKeepingNothingLeavesNoFile() {
        TempWorkDir dir;
        writeFile(QStringLiteral("list"), records(2, 500));
        writeFile(TempFileName, "stale");
        QCOMPARE(RewriteRecordFile(QStringLiteral("list"), 500, [](qint64, const QByteArray&) { return false; }), 0);
        QVERIFY(!QFile::exists(QStringLiteral("list")));
        QVERIFY(!QFile::exists(TempFileName));
    }

    // Another program cuts the file short while its records are read in place: the pass ends with a message
    // instead of the process, and a rewrite that was reading leaves no copy behind.
    void fileCutShortUnderAMappedReader() {
        TempWorkDir dir;
        writeFile(QStringLiteral("list"), records(4, 8192));
        const int fd = ::open("list", O_RDONLY);
        volatile char seen = 0;
        QCOMPARE(FileErrorText([&] {
                     const MappedFile map(fd, 4 * 8192, QStringLiteral("list"));
                     map.read([&] {
                         seen = map.data()[0];
                         if (::truncate("list", 100) != 0)
                             qFatal("cannot cut the file");
                         seen = map.data()[3 * 8192];
                     });
                 }),
                 MappedFileShrankText(QStringLiteral("list")));
        ::close(fd);
        QCOMPARE(seen, 'a');

        writeFile(QStringLiteral("list"), records(4, 8192));
        QCOMPARE(FileErrorText([] {
                     RewriteRecordFileWithout(QStringLiteral("list"), 8192, [](qint64 n, const char* record) {
                         if (n == 1 && ::truncate("list", 100) != 0)
                             qFatal("cannot cut the file");
                         return record[0] == 'x';
                     });
                 }),
                 MappedFileShrankText(QStringLiteral("list")));
        QVERIFY(!QFile::exists(TempFileName));
    }

    // Within a sharing scope the passes over one file read one mapping, which shows the file as it is now; a file
    // put in its place (another inode) is mapped afresh, and outside a scope each pass maps its own.
    void passesShareOneMappingOfTheSameFile() {
        TempWorkDir dir;
        writeFile(QStringLiteral("list"), records(4, 8192));
        const int first = ::open("list", O_RDONLY);
        {
            const MappedFileSharing sharing;
            const MappedFile a(first, 4 * 8192, QStringLiteral("list"));
            const MappedFile b(first, 2 * 8192, QStringLiteral("list"));
            QVERIFY(b.data() == a.data());
            writeFile(QStringLiteral("list.new"), records(4, 8192).replace('a', 'z'));
            QCOMPARE(::rename("list.new", "list"), 0);
            const int second = ::open("list", O_RDONLY);
            const MappedFile c(second, 4 * 8192, QStringLiteral("list"));
            QVERIFY(c.data() != a.data());
            QCOMPARE(c.data()[0], 'z');
            QCOMPARE(a.data()[0], 'a');
            ::close(second);
        }
        const MappedFile d(first, 4 * 8192, QStringLiteral("list"));
        const MappedFile e(first, 4 * 8192, QStringLiteral("list"));
        QVERIFY(d.data() != e.data());
        ::close(first);
    }
};

QTEST_GUILESS_MAIN(TestFixedRecordFile)
#include "tst_fixedrecordfile.moc"
