#include "FileTestSupport.h"
#include "VardelDataRun.h"

#include "core/history/ChangeLog.h"
#include "core/history/RecordHistory.h"
#include "core/store/DataFile.h"

#include <QTemporaryDir>
#include <QtTest>

// vardel-data history: the events as filtered, and --verify's verdict with its exit code.
class tst_HistoryTool : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString log() const { return m_dir.filePath(ChangeLogFileName); }

    static ChangeEvent Edit(const QString& employee, const QString& identity, int day, const QString& value) {
        ChangeEvent e;
        e.When = QDateTime(QDate(2026, 3, day), QTime(9, 30));
        e.User = QStringLiteral("Pat Clerk");
        e.Level = QStringLiteral("Read/Edit");
        e.Event = HistoryEvent::Edited;
        e.Employee = employee;
        e.Identity = identity;
        e.Field = QStringLiteral("Job Title");
        e.NewValue = value;
        return e;
    }

    // The new values of the events printed, in order.
    static QStringList Values(const QByteArray& out) {
        QStringList values;
        for (const QByteArray& line : out.split('\n'))
            if (const auto e = ParseEventText(line))
                values << e->NewValue;
        return values;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // Three records of one stamp, as a conversion leaves them; the log follows each by its rank.
        PersonnelRecord r;
        r.RecordCreated = 45000.25;
        QByteArray data;
        for (const char* name : {"Able", "Baker", "Cole"}) {
            r.LastName = QString::fromLatin1(name);
            data += EncodePersonnelRecord(r);
        }
        writeFile(m_dir.filePath(QStringLiteral("Vardel.Data")), data);
        const QString stamp = StampIdentity(r.RecordCreated);
        AppendEvents(log(), {Edit(QStringLiteral("Able, "), stamp + QStringLiteral(" #1"), 2, QStringLiteral("a")),
                             Edit(QStringLiteral("Baker, "), stamp + QStringLiteral(" #2"), 5, QStringLiteral("b")),
                             Edit(QStringLiteral("Cole, "), stamp + QStringLiteral(" #3"), 9, QStringLiteral("c"))});
    }

    void filters_data() {
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("all") << "history" << 0 << QStringList{"a", "b", "c"};
        QTest::newRow("employee, any case") << "history --employee bAK" << 0 << QStringList{"b"};
        QTest::newRow("slot among a tied stamp") << "history --slot 3" << 0 << QStringList{"c"};
        QTest::newRow("date range, both days included")
            << "history --since 3/5/2026 --until 2026-03-09" << 0 << QStringList{"b", "c"};
        QTest::newRow("slot not in the file") << "history --slot 4" << 1 << QStringList();
        QTest::newRow("employee and slot") << "history --employee a --slot 1" << 2 << QStringList();
        QTest::newRow("not a date") << "history --since soon" << 2 << QStringList();
    }

    void filters() {
        QFETCH(QString, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, values);
        const Run run = VardelData(InFolder(m_dir.path(), args));
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(Values(run.out), values);
    }

    void verify_data() {
        QTest::addColumn<int>("damage"); // 0 none, 1 a byte of line 2 changed, 2 the last line cut off
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("intact") << 0 << 0 << QByteArray("intact: 3 lines\n");
        QTest::newRow("one byte changed") << 1 << 1 << QByteArray("line 2: changed, removed or inserted\n");
        QTest::newRow("cut off") << 2 << 3 << QByteArray("line 3: cut off (a write that was interrupted)\n");
    }

    void verify() {
        QFETCH(int, damage);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        const QByteArray intact = readFile(log());
        QByteArray content = intact;
        if (damage == 1)
            content[content.indexOf('\n') + 3] = '7'; // in line 2's year
        else if (damage == 2)
            content.chop(30);
        writeFile(log(), content);
        const Run run = VardelData(InFolder(m_dir.path(), QStringLiteral("history --verify")));
        const Run info = VardelData(InFolder(m_dir.path(), QStringLiteral("info")));
        writeFile(log(), intact);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, out);
        QVERIFY(info.out.endsWith(damage == 0   ? "history 3\nchain intact\n"
                                  : damage == 1 ? "history 3\nchain broken at line 2\n"
                                                : "history 2\nchain cut off at line 3\n"));
    }

    // The conversion of an older file and the sample import each leave one line.
    void toolChangesLeaveOneLineEach() {
        QTemporaryDir dir;
        QCOMPARE(VardelData(InFolder(dir.path(), QStringLiteral("make-old 4 --seed 2"))).exitCode, 0);
        QCOMPARE(VardelData(InFolder(dir.path(), QStringLiteral("convert"))).exitCode, 0);
        QCOMPARE(VardelData(InFolder(dir.path(), QStringLiteral("demo 2 --seed 2 --replace"))).exitCode, 0);
        const QList<ChangeEvent> events = ParseChangeLog(readFile(dir.filePath(ChangeLogFileName)));
        QCOMPARE(events.size(), 2);
        QCOMPARE(events[0].Event, HistoryEvent::Converted);
        QCOMPARE(events[0].NewValue, QStringLiteral("4 records"));
        QCOMPARE(events[1].Event, HistoryEvent::Import);
    }
};

QTEST_GUILESS_MAIN(tst_HistoryTool)
#include "tst_historytool.moc"
