#include "FileTestSupport.h"
#include "VardelDataRun.h"
#include "core/record/OldPersonnelRecord.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestOlderDataTool : public QObject {
    Q_OBJECT

private slots:
    void makeOldThenConvert_data() {
        QTest::addColumn<QString>("makeArgs");
        QTest::addColumn<QString>("made");
        QTest::addColumn<int>("records");
        QTest::newRow(".Data") << QStringLiteral("make-old 3 --seed 7") << QStringLiteral("Vardel.Data") << 3;
        QTest::newRow(".Dat") << QStringLiteral("make-old 2 --seed 7 --dat") << QStringLiteral("Vardel.Dat") << 2;
    }
    void makeOldThenConvert() {
        QFETCH(QString, makeArgs);
        QFETCH(QString, made);
        QFETCH(int, records);
        QTemporaryDir root;
        const QString dir = root.filePath(QStringLiteral("data"));
        QCOMPARE(VardelData(InFolder(dir, makeArgs)).exitCode, 0);
        const QByteArray older = readFile(dir + QLatin1Char('/') + made);
        QCOMPARE(older.size(), records * 2000);
        // The same seed makes the same file.
        const QString again = root.filePath(QStringLiteral("again"));
        QCOMPARE(VardelData(InFolder(again, makeArgs)).exitCode, 0);
        QCOMPARE(readFile(again + QLatin1Char('/') + made), older);

        const Run convert = VardelData(InFolder(dir, "convert"));
        QCOMPARE(convert.exitCode, 0);
        QCOMPARE(
            convert.out,
            QStringLiteral("converted %1 records; the older file is kept as Vardel.Old\n").arg(records).toLatin1());
        const QByteArray converted = readFile(dir + QStringLiteral("/Vardel.Data"));
        QCOMPARE(converted.size(), records * 5000);
        QCOMPARE(readFile(dir + QStringLiteral("/Vardel.Old")), older);
        QVERIFY(!QFile::exists(dir + QStringLiteral("/Vardel.Dat")));
        for (int n = 0; n < records; ++n) {
            const OldPersonnelRecord was = DecodeOldPersonnelRecord(older.constData() + n * 2000);
            const PersonnelRecord now = DecodePersonnelRecord(converted.constData() + n * 5000);
            QCOMPARE(now.LastName, was.LastName);
            QCOMPARE(now.EmployeeNumber, was.EmployeeNumber.left(15));
            QCOMPARE(now.Sworn, qint16(was.SwornCode == 2 ? -1 : 0));
        }
        // The first sample carries the older, longer employee number.
        QCOMPARE(DecodeOldPersonnelRecord(older.constData()).EmployeeNumber.size(), 20);

        QCOMPARE(VardelData(InFolder(dir, "convert")).out,
                 QByteArray("Vardel.Data is in the present format; nothing to convert\n"));
        QCOMPARE(readFile(dir + QStringLiteral("/Vardel.Data")), converted);
    }

    void makeOldKeepsExistingDataUnlessTold() {
        QTemporaryDir dir;
        QCOMPARE(VardelData(InFolder(dir.path(), "make-old 4 --seed 1")).exitCode, 0);
        const QByteArray first = readFile(dir.filePath(QStringLiteral("Vardel.Data")));
        QCOMPARE(VardelData(InFolder(dir.path(), "make-old 2 --seed 1")).exitCode, 1);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("Vardel.Data"))), first);
        QCOMPARE(VardelData(InFolder(dir.path(), "make-old 2 --seed 1 --replace")).exitCode, 0);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("Vardel.Data"))).size(), 4000);
        QCOMPARE(VardelData(InFolder(dir.path(), "make-old 2")).exitCode, 2);
    }

    void convertWithoutADataFile() {
        QTemporaryDir dir;
        const Run run = VardelData(InFolder(dir.path(), "convert"));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("no data file to convert\n"));
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestOlderDataTool)
#include "tst_olderdatatool.moc"
