#include "FileSizeLimit.h"
#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include "core/base/AppGlobals.h"
#include "core/base/DateRules.h"
#include "core/employees/EmployeeChanges.h"
#include "core/history/ChangeLog.h"
#include "core/history/RecordHistory.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"
#include "core/users/UserHistory.h"

#include <QtTest>

// The change history's rules: the diff of two records, the line's escaping, the hash chain and its check, and a
// change written together with its lines or not at all.
class tst_ChangeLog : public QObject {
    Q_OBJECT

private:
    static PersonnelRecord Sample() {
        PersonnelRecord r;
        r.RecordCreated = ToOADate(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9, 250)));
        r.FirstName = QStringLiteral("Ann");
        r.LastName = QStringLiteral("Lee");
        r.Race = QStringLiteral("W");
        r.Sex = QStringLiteral("F");
        r.DateOfBirth = ToOADate(QDate(1980, 1, 2));
        r.DateOfEmployment = ToOADate(QDate(2001, 3, 4));
        r.SocialSecurityNumber = QStringLiteral("123-45-6789");
        r.Sworn = -1;
        return r;
    }

    static ChangeEvent Event(int n) {
        ChangeEvent e;
        e.When = QDateTime(QDate(2026, 1, n), QTime(10, 0));
        e.User = QStringLiteral("Pat Clerk");
        e.Level = QStringLiteral("Read/Edit");
        e.Event = HistoryEvent::Edited;
        e.Employee = QStringLiteral("Lee, Ann");
        e.Identity = QStringLiteral("2024-05-06 07:08:09.250");
        e.Field = QStringLiteral("Job Title");
        e.NewValue = QStringLiteral("Title ") + QString::number(n);
        return e;
    }

    static QList<QByteArray> FourLines() {
        QList<QByteArray> lines = ChainLines({Event(1), Event(2), Event(3), Event(4)}, ChainSeed()).split('\n');
        lines.removeLast();
        return lines;
    }

private slots:
    void initTestCase() { InitProgramValues(); }

    void diff_data() {
        QTest::addColumn<PersonnelRecord>("after");
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QStringList>("expected"); // "caption|old|new" per change

        const PersonnelRecord base = Sample();
        QTest::newRow("unchanged") << base << false << QStringList();
        PersonnelRecord r = base;
        r.JobTitle = QStringLiteral("Sergeant");
        QTest::newRow("text filled") << r << false << QStringList{QStringLiteral("Job Title||Sergeant")};
        r = base;
        r.DateOfEmployment = ToOADate(QDate(2002, 3, 4));
        r.DateOfJobTitle = ToOADate(QDate(2010, 1, 1));
        QTest::newRow("dates") << r << false
                               << QStringList{QStringLiteral("Date of Employment|03/04/2001|03/04/2002"),
                                              QStringLiteral("Date of Job Title||01/01/2010")};
        r = base;
        r.SocialSecurityNumber = QStringLiteral("987-65-6789");
        QTest::newRow("ssn masked, same last four")
            << r << false << QStringList{QStringLiteral("Social Security #|***-**-6789|***-**-6789")};
        r.SocialSecurityNumber.clear();
        QTest::newRow("ssn emptied") << r << false << QStringList{QStringLiteral("Social Security #|***-**-6789|")};
        r = base;
        r.Notepad = QStringLiteral("Hired.\r\nPromoted\ttwice.");
        QTest::newRow("notepad whole") << r << false
                                       << QStringList{QStringLiteral("Notepad||Hired.\r\nPromoted\ttwice.")};
        r = base;
        r.Sworn = 0;
        r.PicturePath = QStringLiteral("/pics/ann.png");
        r.LastModified = 99; // a stamp, not a field
        QTest::newRow("sworn and picture")
            << r << false
            << QStringList{QStringLiteral("Sworn Employee|Sworn|Non-sworn"), QStringLiteral("Picture||/pics/ann.png")};
        r = PersonnelRecord();
        r.FirstName = QStringLiteral("Bo");
        r.EmployeeNumber = QStringLiteral("0");
        QTest::newRow("added: filled fields and the sworn state")
            << r << true
            << QStringList{QStringLiteral("First Name||Bo"), QStringLiteral("Employee #||0"),
                           QStringLiteral("Sworn Employee||Non-sworn")};
    }

    void diff() {
        QFETCH(PersonnelRecord, after);
        QFETCH(bool, adding);
        QFETCH(QStringList, expected);
        QStringList got;
        for (const FieldChange& c : DiffRecords(adding ? PersonnelRecord() : Sample(), after, adding))
            got << c.Field + QLatin1Char('|') + c.OldValue + QLatin1Char('|') + c.NewValue;
        QCOMPARE(got, expected);
    }

    void userChanges_data() {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("added") << true
                               << QStringList{QStringLiteral("First Name||Pat"), QStringLiteral("Last Name||Clerk"),
                                              QStringLiteral("Access Level||Read/Edit"),
                                              QStringLiteral("Password||(set)")};
        QTest::newRow("level and password changed")
            << false
            << QStringList{QStringLiteral("Access Level|Read Only|Read/Edit"), QStringLiteral("Password||(changed)")};
    }

    void userChanges() {
        QFETCH(bool, adding);
        QFETCH(QStringList, expected);
        UserRecord before{1.5, QStringLiteral("Pat"), QStringLiteral("Clerk"), ScramblePassword("old1"), 1, {}};
        UserRecord after = before;
        after.AccessLevel = 2;
        after.Password = ScramblePassword(QStringLiteral("new2"));
        QStringList got;
        for (const ChangeEvent& e : UserEvents(adding ? HistoryEvent::UserAdded : HistoryEvent::UserEdited,
                                               adding ? UserRecord() : before, after)) {
            QCOMPARE(e.Employee, QStringLiteral("Clerk, Pat"));
            got << e.Field + QLatin1Char('|') + e.OldValue + QLatin1Char('|') + e.NewValue;
        }
        QCOMPARE(got, expected);
    }

    void lineKeepsEveryCharacter_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("plain") << QStringLiteral("Lee, Ann") << QStringLiteral("Lee, Ann");
        QTest::newRow("line breaks") << QStringLiteral("a\r\nb") << QStringLiteral("a\\r\\nb");
        QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("a\\tb");
        QTest::newRow("backslash before n") << QStringLiteral("C:\\new") << QStringLiteral("C:\\\\new");
        QTest::newRow("beyond the code page") << QStringLiteral("Zoë ☎") << QStringLiteral("Zoë ☎");
    }

    void lineKeepsEveryCharacter() {
        QFETCH(QString, value);
        QFETCH(QString, escaped);
        QCOMPARE(EscapeField(value), escaped);
        ChangeEvent e = Event(1);
        e.OldValue = value;
        const QByteArray line = ChainLines({e}, ChainSeed());
        QCOMPARE(line.count('\n'), 1);
        QCOMPARE(ParseChangeLog(line), QList<ChangeEvent>{e});
    }

    void chain_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("badLine");

        const QList<QByteArray> lines = FourLines();
        const auto join = [](const QList<QByteArray>& parts) { return parts.join('\n') + '\n'; };
        QTest::newRow("empty") << QByteArray() << int(ChainCheck::Intact) << 0;
        QTest::newRow("intact") << join(lines) << int(ChainCheck::Intact) << 0;
        QByteArray changed = join(lines);
        changed[lines[0].size() + 1 + 12] = 'X'; // one byte of line 2's text
        QTest::newRow("changed") << changed << int(ChainCheck::Broken) << 2;
        QTest::newRow("removed") << join({lines[0], lines[2], lines[3]}) << int(ChainCheck::Broken) << 2;
        QTest::newRow("inserted") << join({lines[0], lines[1], lines[1], lines[2], lines[3]}) << int(ChainCheck::Broken)
                                  << 3;
        QTest::newRow("last line changed") << join(lines).replace("Title 4", "Title 5") << int(ChainCheck::Broken) << 4;
        QTest::newRow("cut off") << join(lines).chopped(20) << int(ChainCheck::CutOff) << 4;
        QTest::newRow("line end lost") << join(lines).chopped(1) << int(ChainCheck::CutOff) << 4;
    }

    void chain() {
        QFETCH(QByteArray, content);
        QFETCH(int, state);
        QFETCH(int, badLine);
        const ChainCheck check = CheckChain(content);
        QCOMPARE(int(check.State), state);
        QCOMPARE(check.BadLine, qint64(badLine));
    }

    void appendContinuesTheChainPastACutOffLine() {
        const TempWorkDir dir;
        const QString log = dir.file(ChangeLogFileName);
        AppendEvents(log, {Event(1), Event(2)});
        QCOMPARE(modeOf(log), mode_t(0600));
        writeFile(log, readFile(log).chopped(10));
        AppendEvents(log, {Event(3)});
        const QByteArray content = readFile(log);
        QCOMPARE(int(CheckChain(content).State), int(ChainCheck::Intact));
        const QList<ChangeEvent> events = ParseChangeLog(content);
        QCOMPARE(events.size(), 3);
        QCOMPARE(events[1].Event, HistoryEvent::Recovered);
        QVERIFY(events[1].OldValue.startsWith(QString::fromUtf8(EventText(Event(2)).left(40))));
        QCOMPARE(events[2], Event(3));
    }

    // The save's write: a log that cannot grow leaves the data file as it was; a record that cannot be written
    // takes its lines back.
    void changeAndTraceTogether_data() {
        QTest::addColumn<bool>("logFull");
        QTest::newRow("log cannot be written") << true;
        QTest::newRow("change fails after its lines") << false;
    }

    void changeAndTraceTogether() {
        QFETCH(bool, logFull);
        const TempWorkDir dir;
        DataFileName = QStringLiteral("Vardel.Data");
        writeFile(DataFileName, EncodePersonnelRecord(Sample()) + EncodePersonnelRecord(Sample()));
        AppendEvents(ChangeLogPath(), {Event(1)});
        const QByteArray data = readFile(DataFileName);
        const QByteArray log = readFile(ChangeLogPath());

        if (logFull) {
            OpenDataFile();
            ReadSlot(2);
            const PersonnelRecord before = CurrentRecord;
            CurrentRecord.JobTitle = QStringLiteral("Chief");
            const FileSizeLimit full(log.size() + 8);
            QVERIFY_THROWS_EXCEPTION(ChangeLogError, WriteSlotWithHistory(2, before, HistoryEvent::Edited));
            QCOMPARE(DataFileNumber, qint16(0));
        } else {
            QVERIFY_THROWS_EXCEPTION(FileError, CommitWithHistory({Event(2)}, [] { throw FileError("disk gone"); }));
        }
        QCOMPARE(readFile(DataFileName), data);
        QCOMPARE(readFile(ChangeLogPath()), log);
    }

    // A slot's identity is its record's stamp, ranked among the records of the same stamp in slot order; a cut-off
    // last record that still counts has its own.
    void slotIdentity_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("identity");
        const double a = Sample().RecordCreated;
        QTest::newRow("first of a tied stamp") << 1 << StampIdentity(a, 1);
        QTest::newRow("a stamp of its own") << 2 << StampIdentity(a + 1, 0);
        QTest::newRow("second of the tie") << 3 << StampIdentity(a, 2);
        QTest::newRow("the cut-off last record") << 4 << StampIdentity(a, 3);
        QTest::newRow("past the end: nobody") << 9 << QString();
    }

    void slotIdentity() {
        QFETCH(int, slot);
        QFETCH(QString, identity);
        TempWorkDir dir;
        DataFileName = QStringLiteral("Vardel.Data");
        QCOMPARE(SlotIdentity(slot), QString());
        PersonnelRecord r = Sample();
        QByteArray bytes = EncodePersonnelRecord(r);
        r.RecordCreated += 1;
        bytes += EncodePersonnelRecord(r);
        r.RecordCreated -= 1;
        bytes += EncodePersonnelRecord(r) + EncodePersonnelRecord(r).left(PersonnelLayout::RecordSize / 2 + 1);
        writeFile(DataFileName, bytes);
        QCOMPARE(SlotIdentity(slot), identity);
    }

    void identityFollowsATiedStampThroughRemovals() {
        // Three records converted with one stamp; #1 was removed, so today's #1 was #2 before that.
        QList<ChangeEvent> events;
        for (const char* id : {"S #2", "S #1", "S #3"}) {
            events << Event(int(events.size()) + 1);
            events.last().Identity = QString::fromLatin1(id);
        }
        events << Event(9);
        events.last().Event = HistoryEvent::Removed;
        events.last().Identity = QStringLiteral("S #1");
        events << Event(10);
        events.last().Identity = QStringLiteral("S #1");
        QStringList got;
        for (const ChangeEvent& e : EventsOfRecord(events, QStringLiteral("S #1")))
            got << e.NewValue;
        QCOMPARE(got, (QStringList{QStringLiteral("Title 10"), QStringLiteral("Title 1")}));
        QCOMPARE(StampIdentity(Sample().RecordCreated, 2), QStringLiteral("2024-05-06 07:08:09.250 #2"));
    }
};

QTEST_GUILESS_MAIN(tst_ChangeLog)
#include "tst_changelog.moc"
