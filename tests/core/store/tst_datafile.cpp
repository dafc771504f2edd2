#include "core/store/DataFile.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"

#include "FileErrorText.h"
#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

PersonnelRecord employee(const QString& name, double inactivation = 0) {
    PersonnelRecord r;
    r.RecordCreated = 40000.5;
    r.FirstName = name;
    r.LastName = QStringLiteral("Okafor");
    r.DateOfEmployment = 38000;
    r.InactivationDate = inactivation;
    r.DataVersion = 312;
    return r;
}

// Open descriptors of this process that refer to the file.
int descriptorsOn(const QString& name) {
    const QString target = QFileInfo(name).canonicalFilePath();
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == target)
            ++count;
    return count;
}

QByteArray fileOf(const QList<PersonnelRecord>& records) {
    QByteArray bytes;
    for (const PersonnelRecord& r : records)
        bytes += EncodePersonnelRecord(r);
    return bytes;
}

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT

private slots:
    void init() {
        CloseDataFile();
        DataFileName = QStringLiteral("Vardel.Data");
        CurrentRecord = PersonnelRecord();
    }
    void cleanup() { CloseDataFile(); }

    void openCreatesAnEmptyOwnerOnlyFile() {
        TempWorkDir dir;
        RecordCount = CurrentCount = PreviousCount = 7;
        OpenDataFile();
        QVERIFY(DataFileNumber > 0);
        CloseDataFile();
        QCOMPARE(DataFileNumber, qint16(0));
        QCOMPARE(QFileInfo(DataFileName).size(), 0);
        QCOMPARE(modeOf(DataFileName), mode_t(0600));
        QCOMPARE(RecordCount, 0);
        QCOMPARE(CurrentCount, 0);
        QCOMPARE(PreviousCount, 0);
    }

    void openCountsCurrentAndPreviousAndKeepsTheLastSlot() {
        TempWorkDir dir;
        PersonnelRecord noDates = employee(QStringLiteral("Ngozi"));
        noDates.DateOfEmployment = 0; // still current: only the inactivation date decides
        writeFile(DataFileName,
                  fileOf({employee(QStringLiteral("José")), employee(QStringLiteral("Zoë"), 40100), noDates}));
        OpenDataFile();
        QCOMPARE(RecordCount, 3);
        QCOMPARE(CurrentCount, 2);
        QCOMPARE(PreviousCount, 1);
        QCOMPARE(CurrentRecord, noDates);
        ReadSlot(2);
        QCOMPARE(CurrentRecord, employee(QStringLiteral("Zoë"), 40100));
        CloseDataFile();
        // The counts outlive the open file.
        QCOMPARE(RecordCount, 3);
    }

    void countingCrossesReadBlocks() {
        TempWorkDir dir;
        // More slots than one read block holds, every third one previous.
        QList<PersonnelRecord> staff;
        for (int i = 1; i <= 451; ++i)
            staff << employee(QString::number(i), i % 3 == 0 ? 40000 + i : 0);
        writeFile(DataFileName, fileOf(staff));
        OpenDataFile();
        QCOMPARE(RecordCount, 451);
        QCOMPARE(PreviousCount, 150);
        QCOMPARE(CurrentCount, 301);
        QCOMPARE(CurrentRecord.FirstName, QStringLiteral("451"));
    }

    // The counts of an unchanged file are remembered between opens; a change in place by another program, even one
    // that puts the modification time back, is counted again.
    void countsFollowAChangeInPlace() {
        TempWorkDir dir;
        writeFile(DataFileName, fileOf({employee(QStringLiteral("Ann")), employee(QStringLiteral("Bo"))}));
        const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, "Vardel.Data", old, 0), 0);
        for (const int previous : {0, 1}) {
            if (previous == 1) {
                QFile file(DataFileName);
                QVERIFY(file.open(QIODevice::ReadWrite));
                file.seek(5000);
                file.write(EncodePersonnelRecord(employee(QStringLiteral("Bo"), 40100)));
                file.close();
                QCOMPARE(::utimensat(AT_FDCWD, "Vardel.Data", old, 0), 0);
            }
            OpenDataFile();
            CloseDataFile();
            QCOMPARE(PreviousCount, previous);
            QCOMPARE(CurrentCount, 2 - previous);
        }
    }

    void cutOffLastSlotCountsByRounding_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("previous");
        QTest::newRow("2.5 slots") << 12500 << 2 << 1;
        QTest::newRow("3.5 slots") << 17500 << 4 << 2;
    }
    void cutOffLastSlotCountsByRounding() {
        QFETCH(int, length);
        QFETCH(int, records);
        QFETCH(int, previous);
        TempWorkDir dir;
        const QList<PersonnelRecord> staff = {employee(QStringLiteral("A")), employee(QStringLiteral("B"), 40000),
                                              employee(QStringLiteral("C")), employee(QStringLiteral("D"), 40000)};
        writeFile(DataFileName, fileOf(staff).left(length));
        OpenDataFile();
        QCOMPARE(RecordCount, records);
        QCOMPARE(PreviousCount, previous);
        QCOMPARE(CurrentCount, records - previous);
        if (records == 4) {
            // The half slot keeps what is there; what is missing reads as blank.
            PersonnelRecord expected = staff[3];
            expected.Sworn = 0;
            expected.DataVersion = 0;
            QCOMPARE(CurrentRecord, expected);
        }
    }

    void openingTwiceKeepsOneHandle() {
        TempWorkDir dir;
        writeFile(DataFileName, fileOf({employee(QStringLiteral("Ann"))}));
        OpenDataFile();
        OpenDataFile();
        QCOMPARE(descriptorsOn(DataFileName), 1);
        CloseDataFile();
        QCOMPARE(descriptorsOn(DataFileName), 0);
        CloseDataFile(); // closing a closed file does nothing
        QCOMPARE(DataFileNumber, qint16(0));
    }

    void readingPastTheEndGivesABlankRecord() {
        TempWorkDir dir;
        writeFile(DataFileName, fileOf({employee(QStringLiteral("Ann"))}));
        OpenDataFile();
        QCOMPARE(CurrentRecord.FirstName, QStringLiteral("Ann"));
        ReadSlot(2);
        QCOMPARE(CurrentRecord, PersonnelRecord());
        ReadSlot(1000);
        QCOMPARE(CurrentRecord, PersonnelRecord());
    }

    void appendingToAnEmptyDatabase() {
        TempWorkDir dir;
        OpenDataFile();
        ReadSlot(RecordCount + 1);
        CurrentRecord = employee(QStringLiteral("Łukasz"));
        WriteSlot(RecordCount + 1);
        CloseDataFile();
        QCOMPARE(QFileInfo(DataFileName).size(), 5000);

        OpenDataFile();
        CurrentRecord = employee(QStringLiteral("Siobhán"));
        CurrentRecord.RecordCreated = 41234.75;
        WriteSlot(RecordCount + 1);
        CloseDataFile();
        const QByteArray bytes = readFile(DataFileName);
        QCOMPARE(bytes.size(), 10000);
        QCOMPARE(bytes.mid(5000), EncodePersonnelRecord(CurrentRecord));
        QCOMPARE(bytes.mid(16, 7), QByteArray("?ukasz "));

        OpenDataFile();
        QCOMPARE(RecordCount, 2);
        QVERIFY_THROWS_EXCEPTION(FileError, WriteSlot(4));
    }

    void updatingOneSlotLeavesTheOthers() {
        TempWorkDir dir;
        const QList<PersonnelRecord> staff = {employee(QStringLiteral("A")), employee(QStringLiteral("B")),
                                              employee(QStringLiteral("C"))};
        writeFile(DataFileName, fileOf(staff));
        OpenDataFile();
        ReadSlot(2);
        CurrentRecord.InactivationDate = 45000;
        WriteSlot(2);
        OpenDataFile();
        QCOMPARE(CurrentCount, 2);
        QCOMPARE(PreviousCount, 1);
        CloseDataFile();
        PersonnelRecord changed = staff[1];
        changed.InactivationDate = 45000;
        QCOMPARE(readFile(DataFileName), fileOf({staff[0], changed, staff[2]}));
    }

    void operationsOnAClosedFileFail() {
        TempWorkDir dir;
        QVERIFY_THROWS_EXCEPTION(FileError, ReadSlot(1));
        QVERIFY_THROWS_EXCEPTION(FileError, WriteSlot(1));
        QVERIFY(!QFile::exists(DataFileName));
    }

    void openFailureCarriesTheSystemText() {
        TempWorkDir dir;
        DataFileName = QStringLiteral("missing-folder/Vardel.Data");
        QCOMPARE(FileErrorText(OpenDataFile), QStringLiteral("missing-folder: No such file or directory"));
        QCOMPARE(DataFileNumber, qint16(0));
    }

    void rewriteDropsMarkedRecords() {
        TempWorkDir dir;
        PersonnelRecord marked = employee(KilledMarker);
        PersonnelRecord lookalike = employee(QStringLiteral("$Killed$x"));
        const QList<PersonnelRecord> staff = {employee(QStringLiteral("A")), marked, lookalike,
                                              employee(QStringLiteral("D"), 40000)};
        writeFile(DataFileName, fileOf(staff));
        // A temporary file left by a crash is not mistaken for part of the copy.
        writeFile(TempFileName, QByteArray(25000, 'J'));
        const ino_t before = inodeOf(DataFileName);
        OpenDataFile();
        const qint32 kept = RewriteDataFile([&](const PersonnelRecord& r) {
            // Until the copy is complete the data file is the old one, whole.
            [&] {
                QCOMPARE(inodeOf(DataFileName), before);
                QCOMPARE(readFile(DataFileName), fileOf(staff));
            }();
            return !IsKilled(r);
        });
        QCOMPARE(kept, 3);
        QCOMPARE(DataFileNumber, qint16(0));
        QCOMPARE(readFile(DataFileName), fileOf({staff[0], lookalike, staff[3]}));
        QVERIFY(inodeOf(DataFileName) != before);
        QCOMPARE(modeOf(DataFileName), mode_t(0600));
        QVERIFY(!QFile::exists(TempFileName));
    }

    void rewriteKeepingNothingLeavesNoFiles() {
        TempWorkDir dir;
        writeFile(DataFileName, fileOf({employee(KilledMarker)}));
        QCOMPARE(RewriteDataFile([](const PersonnelRecord& r) { return !IsKilled(r); }), 0);
        QVERIFY(!QFile::exists(DataFileName));
        QVERIFY(!QFile::exists(TempFileName));
    }

    // 7,600 bytes count 2 slots; appending slot 3 must not leave slot 2's missing tail as zero bytes.
    void appendingAfterACutSlotKeepsTheCutSlotReadable() {
        TempWorkDir dir;
        PersonnelRecord second = employee(QStringLiteral("Zoë"));
        second.Notepad = QStringLiteral("kept");
        second.Email = QStringLiteral("zoe@example.org");
        second.DataVersion = 312;
        writeFile(DataFileName, fileOf({employee(QStringLiteral("Ann")), second}).left(7600));
        OpenDataFile();
        QCOMPARE(RecordCount, 2);
        const PersonnelRecord cutAsRead = CurrentRecord;
        CurrentRecord = employee(QStringLiteral("Cy"));
        WriteSlot(3);
        CloseDataFile();

        const QByteArray bytes = readFile(DataFileName);
        QCOMPARE(bytes.size(), 15000);
        QVERIFY(!bytes.mid(7600, 2400).contains(QByteArray(100, '\0')));
        OpenDataFile();
        ReadSlot(2);
        // Slot 2 reads back as it did before the append, the missing part blank.
        QCOMPARE(CurrentRecord, cutAsRead);
        QCOMPARE(CurrentRecord.Email, QString());
        QCOMPARE(CurrentRecord.DataVersion, qint16(0));
        ReadSlot(3);
        QCOMPARE(CurrentRecord.FirstName, QStringLiteral("Cy"));
    }

    void openFileHoldsTheFolder() {
        TempWorkDir dir;
        OpenDataFile();
        QVERIFY(HoldsDataFolderLock());
        OpenDataFile();
        CloseDataFile();
        QVERIFY(!HoldsDataFolderLock());
    }

    void privateFolder() {
        TempWorkDir dir;
        const QString nested = dir.file(QStringLiteral("a/b/data"));
        EnsurePrivateFolder(nested);
        QVERIFY(QFileInfo(nested).isDir());
        QCOMPARE(modeOf(nested), mode_t(0700));

        const QString existing = dir.file(QStringLiteral("open"));
        QVERIFY(QDir().mkdir(existing));
        ::chmod(QFile::encodeName(existing).constData(), 0755);
        // A folder chosen by the user may be shared with other programs: its permissions are not Vardel's to change.
        EnsurePrivateFolder(existing);
        QCOMPARE(modeOf(existing), mode_t(0755));

        writeFile(dir.file(QStringLiteral("plain")), "x");
        QCOMPARE(FileErrorText([&dir] { EnsurePrivateFolder(dir.file(QStringLiteral("plain/sub"))); }),
                 dir.file(QStringLiteral("plain")) + QStringLiteral(": Not a directory"));
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
