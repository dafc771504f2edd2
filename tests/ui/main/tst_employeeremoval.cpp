#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include "store/DataFile.h"
#include "store/FixedRecordFile.h"
#include "store/PersonnelRecord.h"
#include "ui/main/EmployeeRemoval.h"

#include <QFile>
#include <QtTest>

#include <memory>

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
