#include "core/store/DataFile.h"
#include "core/base/FileError.h"
#include "core/store/ListScan.h"

#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include <QTest>

namespace {

PersonnelRecord Person(const QString& first, double left = 0) {
    PersonnelRecord r;
    r.FirstName = first;
    r.LastName = QStringLiteral("Okafor");
    r.InactivationDate = left;
    return r;
}

QByteArray FileOf(const QList<PersonnelRecord>& records) {
    QByteArray bytes;
    for (const PersonnelRecord& r : records)
        bytes += EncodePersonnelRecord(r);
    return bytes;
}

} // namespace

class TestListScan : public QObject {
    Q_OBJECT

private slots:
    void init() {
        CloseDataFile();
        DataFileName = QStringLiteral("Vardel.Data");
    }

    // Every slot once, in slot order, with the counts of an open; the rounding of the count decides whether a
    // cut-off last slot is there, and its missing bytes read as blank.
    void scanVisitsEverySlotAndCounts_data() {
        QTest::addColumn<int>("cut");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("current");
        QTest::newRow("whole") << 0 << QStringList{"A", "B", "C"} << 2;
        QTest::newRow("more than half of the last") << 2000 << QStringList{"A", "B", "C"} << 2;
        QTest::newRow("half of the last: even count") << 2500 << QStringList{"A", "B"} << 1;
        QTest::newRow("last without its dates") << 4700 << QStringList{"A", "B"} << 1;
    }

    void scanVisitsEverySlotAndCounts() {
        QFETCH(int, cut);
        QFETCH(QStringList, names);
        QFETCH(int, current);
        TempWorkDir dir;
        QByteArray bytes = FileOf({Person("A"), Person("B", 40000), Person("C")});
        bytes.chop(cut);
        writeFile(DataFileName, bytes);
        QStringList seen;
        QList<qint32> visited;
        ScanDataFile([&](qint32 slot, const char* slotBytes) {
            visited << slot;
            seen << DecodePersonnelRecord(slotBytes).FirstName;
        });
        QCOMPARE(seen, names);
        QCOMPARE(visited.size(), names.size());
        QCOMPARE(visited.last(), static_cast<qint32>(names.size()));
        QCOMPARE(RecordCount, static_cast<qint32>(names.size()));
        QCOMPARE(CurrentCount, current);
        QCOMPARE(PreviousCount, 1);
        QCOMPARE(DataFileNumber, qint16(0));
    }

    // The full slots before it would show through in any byte of the cut-off slot not made blank; the second
    // row's cut-off slot starts a later block of the scan.
    void aCutOffLastSlotReadsAsReadOneSlotGivesIt_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("in the first block") << 3;
        QTest::newRow("first of a later block") << 129;
    }

    void aCutOffLastSlotReadsAsReadOneSlotGivesIt() {
        QFETCH(int, count);
        TempWorkDir dir;
        PersonnelRecord full = Person(QStringLiteral("Full"));
        full.Notepad = QString(4517, QLatin1Char('n'));
        full.PicturePath = QStringLiteral("/pictures/full.jpg");
        full.DataVersion = 312;
        QByteArray bytes = FileOf(QList<PersonnelRecord>(count - 1, full) + QList{Person(QStringLiteral("Cut"))});
        bytes.chop(400); // the notepad's end, the picture path and the version
        writeFile(DataFileName, bytes);
        PersonnelRecord scanned;
        ScanDataFile([&](qint32 slot, const char* slotBytes) {
            if (slot == count)
                scanned = DecodePersonnelRecord(slotBytes);
        });
        ReadOneSlot(count);
        QCOMPARE(CurrentRecord.PicturePath, QString());
        QCOMPARE(scanned, CurrentRecord);
    }

    void scanOfAMissingFileCreatesItEmpty() {
        TempWorkDir dir;
        int visits = 0;
        ScanDataFile([&visits](qint32, const char*) { ++visits; });
        QCOMPARE(visits, 0);
        QCOMPARE(RecordCount, 0);
        QCOMPARE(readFile(DataFileName), QByteArray());
    }

    // A scan closes the module's own handle first: its lock would otherwise keep the scan waiting.
    void scanClosesAnOpenFileFirst() {
        TempWorkDir dir;
        writeFile(DataFileName, FileOf({Person("A")}));
        OpenDataFile();
        int visits = 0;
        ScanDataFile([&visits](qint32, const char*) { ++visits; });
        QCOMPARE(visits, 1);
        QCOMPARE(DataFileNumber, qint16(0));
    }

    void readOneSlotLeavesTheCounts() {
        TempWorkDir dir;
        writeFile(DataFileName, FileOf({Person("A"), Person("B", 40000)}));
        RecordCount = 7;
        CurrentCount = 5;
        ReadOneSlot(2);
        QCOMPARE(CurrentRecord.FirstName, QStringLiteral("B"));
        QCOMPARE(CurrentRecord.InactivationDate, 40000.0);
        QCOMPARE(RecordCount, 7);
        QCOMPARE(CurrentCount, 5);
        ReadOneSlot(3);
        QCOMPARE(CurrentRecord, DecodePersonnelRecord(EncodePersonnelRecord(PersonnelRecord()).constData()));
        QCOMPARE(DataFileNumber, qint16(0));
    }
};

QTEST_GUILESS_MAIN(TestListScan)
#include "tst_listscan.moc"
