#include "FileSizeLimit.h"
#include "FileTestSupport.h"
#include "TempWorkDir.h"
#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"
#include "core/record/OldPersonnelRecord.h"
#include "core/store/DataFile.h"
#include "core/store/OlderDataFile.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTest>

namespace {

OldPersonnelRecord olderEmployee(int n) {
    OldPersonnelRecord r;
    r.FirstName = QStringLiteral("First%1").arg(n);
    r.LastName = QStringLiteral("Last%1").arg(n);
    r.EmployeeNumber = QStringLiteral("PD-%1-ABCDEFGHIJKLMN").arg(n, 2, 10, QLatin1Char('0')).left(20);
    r.DateOfEmployment = 36000 + n;
    r.SwornCode = n % 2 ? 2 : 1;
    r.Notes = QStringLiteral("Note %1").arg(n);
    return r;
}

QByteArray olderFile(int records) {
    QByteArray bytes;
    for (int n = 1; n <= records; ++n)
        bytes += EncodeOldPersonnelRecord(olderEmployee(n));
    return bytes;
}

// A present-format file of one record whose slot 1 holds the version.
QByteArray presentFile(qint16 version) {
    PersonnelRecord r;
    r.FirstName = QStringLiteral("Present");
    r.DataVersion = version;
    return EncodePersonnelRecord(r);
}

// A record as this program writes it.
QByteArray presentEmployee() {
    PersonnelRecord r;
    r.RecordCreated = 46000.25;
    r.LastName = QStringLiteral("Nguyen");
    r.Notepad = QStringLiteral("Hired\r\nPromoted");
    r.Sworn = -1;
    r.DataVersion = 312;
    return EncodePersonnelRecord(r);
}

// The data files here; the folder's lock file is not one of them.
QStringList filesHere() {
    QStringList files = QDir::current().entryList(QDir::Files | QDir::Hidden, QDir::Name);
    files.removeAll(DataFolderLockFileName);
    return files;
}

} // namespace

class TestOlderDataConversion : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitProgramValues(); }

    void formatTestOnSlot1DataVersion_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("older");
        QTest::newRow("0") << 0 << false;
        QTest::newRow("1") << 1 << true;
        QTest::newRow("305") << 305 << true;
        QTest::newRow("310") << 310 << true;
        QTest::newRow("311") << 311 << false;
        QTest::newRow("312") << 312 << false;
        QTest::newRow("400") << 400 << false;
        QTest::newRow("401") << 401 << true;
        QTest::newRow("-1") << -1 << true;
        QTest::newRow("-32768") << -32768 << true;
        QTest::newRow("32767") << 32767 << true;
    }
    void formatTestOnSlot1DataVersion() {
        QFETCH(int, version);
        QFETCH(bool, older);
        QCOMPARE(IsOlderDataVersion(static_cast<qint16>(version)), older);
        TempWorkDir dir;
        writeFile(DataFileName, presentFile(static_cast<qint16>(version)));
        // The stamp alone no longer makes a file older: a whole record of the present shape stays as it is.
        QCOMPARE(CheckDataFileFormat(), DataFileFormat::Present);
        // Looking changes nothing.
        QCOMPARE(readFile(DataFileName), presentFile(static_cast<qint16>(version)));
    }

    void formatTestByLength_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<DataFileFormat>("format");
        QTest::newRow("no file") << -1 << DataFileFormat::None;
        QTest::newRow("empty") << 0 << DataFileFormat::None;
        QTest::newRow("one older record") << 2000 << DataFileFormat::Older;
        QTest::newRow("two older records") << 4000 << DataFileFormat::Older;
        QTest::newRow("4999 bytes") << 4999 << DataFileFormat::Older;
        QTest::newRow("three older records") << 6000 << DataFileFormat::Older;
        QTest::newRow("ten older records") << 20000 << DataFileFormat::Older;
    }
    void formatTestByLength() {
        QFETCH(int, length);
        QFETCH(DataFileFormat, format);
        TempWorkDir dir;
        if (length >= 0)
            writeFile(DataFileName, olderFile(10).left(length));
        QCOMPARE(CheckDataFileFormat(), format);
        // An empty data file is deleted; any other stays as it was.
        QCOMPARE(QFile::exists(DataFileName), length > 0);
    }

    void onlyTheOlderShapeIsConverted_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<DataFileFormat>("format");
        QTest::addColumn<QByteArray>("after"); // the data file once checked
        QByteArray random(50000, Qt::Uninitialized);
        QRandomGenerator generator(25);
        for (char& c : random)
            c = static_cast<char>(generator.bounded(256));
        PutInt16(random.data() + PersonnelLayout::DataVersion, -1); // what the slot-1 stamp alone took as older
        const QByteArray present = presentEmployee();
        QByteArray notesCut = EncodePersonnelRecord(PersonnelRecord());
        notesCut.replace(0, 3000, present.left(3000));
        OldPersonnelRecord neverFilled = olderEmployee(1);
        QByteArray unfilled = EncodeOldPersonnelRecord(neverFilled);
        unfilled.replace(OldPersonnelLayout::Unused40, 60, QByteArray(60, '\0'));
        const QByteArray olderCut = olderFile(3).left(5001);
        QTest::newRow("present, cut in the notepad") << present.left(3000) << DataFileFormat::Present << notesCut;
        QTest::newRow("50,000 random bytes") << random << DataFileFormat::Unrecognized << random;
        QTest::newRow("4000 zero bytes") << QByteArray(4000, '\0') << DataFileFormat::Unrecognized
                                         << QByteArray(4000, '\0');
        QTest::newRow("an older file cut off") << olderCut << DataFileFormat::Older << olderCut;
        QTest::newRow("older, fields never filled") << unfilled << DataFileFormat::Older << unfilled;
    }
    void onlyTheOlderShapeIsConverted() {
        QFETCH(QByteArray, file);
        QFETCH(DataFileFormat, format);
        QFETCH(QByteArray, after);
        TempWorkDir dir;
        writeFile(DataFileName, file);
        QCOMPARE(CheckDataFileFormat(), format);
        QCOMPARE(readFile(DataFileName), after);
        if (format == DataFileFormat::Unrecognized) {
            // Nor does a conversion started anyway change anything.
            QVERIFY_THROWS_EXCEPTION(FileError, ConvertOlderDataFile(46000));
            QCOMPARE(filesHere(), QStringList{DataFileName});
            QCOMPARE(readFile(DataFileName), file);
        }
    }

    // Every field at the end of the slot differs from the blank record's, so a completion that blanked or zeroed
    // any byte that was on disk shows.
    void aCutPresentSlotIsCompletedOnlyWhereItIsMissing_data() {
        QTest::addColumn<int>("length");
        QTest::newRow("one byte of the DataVersion") << 4999;
        QTest::newRow("up to the DataVersion") << 4998;
        QTest::newRow("in the picture path") << 4950;
        QTest::newRow("in the e-mail address") << 4880;
        QTest::newRow("in the notepad, over half a slot") << 3000;
        QTest::newRow("in the notepad, under half a slot") << 1000;
    }
    void aCutPresentSlotIsCompletedOnlyWhereItIsMissing() {
        QFETCH(int, length);
        PersonnelRecord r;
        r.LastName = QStringLiteral("Nguyen");
        r.Notepad = QString(PersonnelLayout::NotepadWidth, QLatin1Char('n'));
        r.Sworn = -1;
        r.Email = QStringLiteral("nguyen@example.org");
        r.PicturePath = QString(PersonnelLayout::PicturePathWidth, QLatin1Char('p'));
        r.DataVersion = 312;
        const QByteArray cut = EncodePersonnelRecord(r).left(length);
        TempWorkDir dir;
        writeFile(DataFileName, cut);
        QCOMPARE(CheckDataFileFormat(), DataFileFormat::Present);
        QCOMPARE(readFile(DataFileName), cut + EncodePersonnelRecord(PersonnelRecord()).mid(length));
    }

    void threeOlderRecordsBecome15000Bytes() {
        TempWorkDir dir;
        const QByteArray older = olderFile(3);
        writeFile(DataFileName, older);
        QCOMPARE(ConvertOlderDataFile(46000.5), 3);
        const QByteArray converted = readFile(DataFileName);
        QCOMPARE(converted.size(), 15000);
        for (int n = 1; n <= 3; ++n) {
            const PersonnelRecord r = DecodePersonnelRecord(converted.constData() + (n - 1) * 5000);
            QCOMPARE(r.FirstName, QStringLiteral("First%1").arg(n));
            QCOMPARE(r.LastName, QStringLiteral("Last%1").arg(n));
            QCOMPARE(r.EmployeeNumber, olderEmployee(n).EmployeeNumber.left(15));
            QCOMPARE(r.Sworn, qint16(n % 2 ? -1 : 0));
            QCOMPARE(r.RecordCreated, 46000.5);
            QCOMPARE(r.CellPhone, QString());
            QCOMPARE(r.Email, QString());
            QCOMPARE(r.PicturePath, QString());
            QCOMPARE(r.DataVersion, CurrentDataVersion());
        }
        QCOMPARE(readFile(OldFileName()), older);
        QCOMPARE(modeOf(DataFileName), mode_t(0600));
        QCOMPARE(filesHere(), (QStringList{DataFileName, OldFileName()}));
        QCOMPARE(CheckDataFileFormat(), DataFileFormat::Present);
    }

    void partialLastSlotCountsWhenTheRoundingTakesItIn_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("records");
        QTest::newRow("1000: half of one, 0 is even") << 1000 << 0;
        QTest::newRow("1001") << 1001 << 1;
        QTest::newRow("3000: one and a half, 2 is even") << 3000 << 2;
        QTest::newRow("5000: two and a half, 2 is even") << 5000 << 2;
        QTest::newRow("5001") << 5001 << 3;
        QTest::newRow("6999") << 6999 << 3;
        QTest::newRow("7000: three and a half, 4 is even") << 7000 << 4;
    }
    void partialLastSlotCountsWhenTheRoundingTakesItIn() {
        QFETCH(int, length);
        QFETCH(int, records);
        TempWorkDir dir;
        const QByteArray older = olderFile(4).left(length);
        writeFile(DataFileName, older);
        QCOMPARE(ConvertOlderDataFile(46000), records);
        const QByteArray converted = readFile(DataFileName);
        QCOMPARE(converted.size(), records * 5000);
        if (records > 0 && length % 2000 != 0) {
            // The cut-off slot keeps what is there; the missing part reads as blank.
            const PersonnelRecord last = DecodePersonnelRecord(converted.constData() + (records - 1) * 5000);
            QCOMPARE(last.FirstName, QStringLiteral("First%1").arg(records));
            const int present = length - (records - 1) * 2000;
            if (present <= OldPersonnelLayout::Notes)
                QCOMPARE(last.Notepad, QString());
        }
        QCOMPARE(readFile(OldFileName()), older);
    }

    // The slot before holds text in every byte that the cut-off one lacks, so that anything of it carried over
    // would show: the missing part converts exactly as blank.
    void aCutOffLastSlotConvertsItsMissingPartBlank() {
        TempWorkDir dir;
        OldPersonnelRecord full = olderEmployee(1);
        full.Notes = QString(OldPersonnelLayout::NotesWidth, QLatin1Char('x'));
        full.UnusedNumber = 0x5858;
        full.UnusedByte = 'X';
        const QByteArray last = EncodeOldPersonnelRecord(olderEmployee(2)).left(1200);
        writeFile(DataFileName, EncodeOldPersonnelRecord(full) + last);
        QCOMPARE(ConvertOlderDataFile(46000), 2);
        const QByteArray blankTail = EncodeOldPersonnelRecord(OldPersonnelRecord()).mid(last.size());
        QCOMPARE(readFile(DataFileName).mid(PersonnelLayout::RecordSize),
                 ConvertOldRecord((last + blankTail).constData(), 46000, CurrentDataVersion()));
    }

    void yesAndNoReplaceAnEarlierOldFile_data() {
        QTest::addColumn<bool>("convert");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void yesAndNoReplaceAnEarlierOldFile() {
        QFETCH(bool, convert);
        TempWorkDir dir;
        writeFile(OldFileName(), "an earlier older file");
        const QByteArray older = olderFile(2);
        writeFile(DataFileName, older);
        if (convert)
            ConvertOlderDataFile(46000);
        else
            SetAsideOlderDataFile();
        QCOMPARE(readFile(OldFileName()), older);
        QCOMPARE(QFile::exists(DataFileName), convert);
        QCOMPARE(QFile::exists(TempFileName), false);
    }

    void aConversionThatFailsLeavesTheOlderFileWhole() {
        TempWorkDir dir;
        const QByteArray older = olderFile(20); // 40 000 bytes, 100 000 converted
        writeFile(DataFileName, older);
        {
            FileSizeLimit limit(60000);
            QVERIFY_THROWS_EXCEPTION(FileError, ConvertOlderDataFile(46000));
        }
        QVERIFY(!QFile::exists(TempFileName));
        QCOMPARE(readFile(DataFileName), older);
        QCOMPARE(readFile(OldFileName()), older);
        // The next start asks again and can still convert.
        QCOMPARE(CheckDataFileFormat(), DataFileFormat::Older);
        QCOMPARE(ConvertOlderDataFile(46000), 20);
        QCOMPARE(readFile(DataFileName).size(), 100000);
    }

    void datFileIsTakenOver_data() {
        QTest::addColumn<QByteArray>("dat");
        QTest::addColumn<QByteArray>("data"); // "<missing>" for none
        QTest::addColumn<QByteArray>("dataAfter");
        QTest::addColumn<bool>("datStays");
        const QByteArray missing("<missing>");
        const QByteArray older = olderFile(3);
        const QByteArray present = presentFile(312);
        QTest::newRow("empty .Dat is deleted") << QByteArray() << missing << missing << false;
        QTest::newRow("empty .Dat beside a data file") << QByteArray() << present << present << false;
        QTest::newRow("moved when there is no data file") << older << missing << older << false;
        QTest::newRow("moved over an empty data file") << older << QByteArray() << older << false;
        QTest::newRow("left alone beside a data file") << older << present << present << true;
    }
    void datFileIsTakenOver() {
        QFETCH(QByteArray, dat);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, dataAfter);
        QFETCH(bool, datStays);
        TempWorkDir dir;
        writeFile(DatFileName(), dat);
        if (data != "<missing>")
            writeFile(DataFileName, data);
        TakeOverDatFile();
        QCOMPARE(readFile(DataFileName), dataAfter);
        QCOMPARE(QFile::exists(DatFileName()), datStays);
    }
};

QTEST_GUILESS_MAIN(TestOlderDataConversion)
#include "tst_olderdataconversion.moc"
