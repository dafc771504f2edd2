#include "core/record/EntryValidation.h"

#include "core/base/AppGlobals.h"

#include "DayTestSupport.h"

#include <QTest>

namespace {

// An entry that passes every check.
EntryFields GoodEntry() {
    EntryFields f;
    f[1] = QStringLiteral("Maria");
    f[2] = QStringLiteral("Luisa");
    f[3] = QStringLiteral("Zamora");
    f[5] = QStringLiteral("H");
    f[6] = QStringLiteral("F");
    f[7] = QStringLiteral("04/15/1988");
    f[8] = QStringLiteral("123-45-6789");
    f[19] = QStringLiteral("06/01/2015");
    return f;
}

const QString kRaceMessage =
    QStringLiteral("Check the 'Race' designation\r\n\r\n(Use 'W', 'B', 'H', 'A', or 'O' only)\r\n\r\n"
                   "See the Help Section\r\n'Important Program Notes'\r\nfor more information.");
const QString kSexMessage = QStringLiteral("Check the 'Sex' designation\r\n\r\n(Use 'M' or 'F' only)");
const QString kSsnMessage = QStringLiteral("Check the Social Security entry\r\n\r\n(Use a '123-45-6789' format)");

} // namespace

class TestEntryValidation : public QObject {
    Q_OBJECT

private slots:
    // One change to a good entry, the field that fails (0 for none) and its message.
    void checks_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<int>("failed");
        QTest::addColumn<QString>("message");

        QTest::newRow("good entry") << 1 << QStringLiteral("Maria") << false << 0 << QString();
        for (const char* race : {"W", "B", "H", "A", "O", " h", "o "})
            QTest::newRow(qPrintable(QStringLiteral("race '%1'").arg(QLatin1String(race))))
                << 5 << QString::fromLatin1(race) << false << 0 << QString();
        for (const char* race : {"X", "", " ", "WB"})
            QTest::newRow(qPrintable(QStringLiteral("race '%1' refused").arg(QLatin1String(race))))
                << 5 << QString::fromLatin1(race) << false << 5 << kRaceMessage;
        QTest::newRow("sex f") << 6 << QStringLiteral("f") << false << 0 << QString();
        QTest::newRow("sex X refused") << 6 << QStringLiteral("X") << false << 6 << kSexMessage;
        QTest::newRow("date of birth refused")
            << 7 << QStringLiteral("02/30/1988") << false << 7 << QStringLiteral("Invalid 'Date of Birth' Entry");
        QTest::newRow("date of birth after today refused")
            << 7 << QStringLiteral("1/2/2999") << false << 7 << QStringLiteral("Invalid 'Date of Birth' Entry");
        QTest::newRow("date of birth in words") << 7 << QStringLiteral(" April 15, 1988 ") << false << 0 << QString();
        QTest::newRow("ssn empty") << 8 << QString() << false << 0 << QString();
        QTest::newRow("ssn blanks only") << 8 << QStringLiteral("   ") << false << 0 << QString();
        QTest::newRow("ssn 11 of any kind") << 8 << QStringLiteral("abcdefghijk") << false << 0 << QString();
        QTest::newRow("ssn 1") << 8 << QStringLiteral("1") << false << 8 << kSsnMessage;
        QTest::newRow("ssn 10") << 8 << QStringLiteral("123-45-678") << false << 8 << kSsnMessage;
        QTest::newRow("ssn 10 within blanks") << 8 << QStringLiteral(" 123456789 ") << false << 8 << kSsnMessage;
        QTest::newRow("date of employment refused")
            << 19 << QStringLiteral("soon") << false << 19 << QStringLiteral("Invalid 'Date of Employment' Entry");
        QTest::newRow("date of job title empty") << 20 << QString() << false << 0 << QString();
        QTest::newRow("date of job title refused")
            << 20 << QStringLiteral("13/01/2020") << false << 20 << QStringLiteral("Invalid 'Date of Job Title' Entry");
        QTest::newRow("inactivation refused in edit mode")
            << 21 << QStringLiteral("1/2/") << true << 21 << QStringLiteral("Invalid 'Inactivation Date' Entry");
        QTest::newRow("inactivation not checked in add mode")
            << 21 << QStringLiteral("1/2/") << false << 0 << QString();
        QTest::newRow("inactivation empty") << 21 << QString() << true << 0 << QString();
    }

    void checks() {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(bool, editing);
        QFETCH(int, failed);
        QFETCH(QString, message);
        EntryFields f = GoodEntry();
        f[field] = text;
        const EntryCheck check = CheckEntry(f, editing);
        QCOMPARE(check.Field, failed);
        QCOMPARE(check.Passed(), failed == 0);
        QCOMPARE(check.Message, message);
    }

    // The checks run in order and stop at the first failure: only the fields reached are rewritten.
    void checksStopAtTheFirstFailure() {
        EntryFields f = GoodEntry();
        f[5] = QStringLiteral(" b ");
        f[6] = QStringLiteral("x");
        f[7] = QStringLiteral(" 04/15/1988 ");
        f[19] = QStringLiteral("never");
        const EntryCheck check = CheckEntry(f, true);
        QCOMPARE(check.Field, 6);
        QCOMPARE(check.Message, kSexMessage);
        QCOMPARE(f[5], QStringLiteral("B"));
        QCOMPARE(f[6], QStringLiteral("X"));
        QCOMPARE(f[7], QStringLiteral(" 04/15/1988 "));
    }

    void checksRewriteCaseAndBlanks() {
        EntryFields f = GoodEntry();
        f[5] = QStringLiteral(" h");
        f[6] = QStringLiteral("f ");
        f[7] = QStringLiteral(" 4/15/1988 ");
        f[8] = QStringLiteral(" 123-45-6789 ");
        f[19] = QStringLiteral(" 6/1/2015");
        f[20] = QStringLiteral("  ");
        f[21] = QStringLiteral(" 11/30/2026 ");
        QVERIFY(CheckEntry(f, true).Passed());
        const QStringList expected = {
            QStringLiteral("H"),        QStringLiteral("F"), QStringLiteral("4/15/1988"), QStringLiteral("123-45-6789"),
            QStringLiteral("6/1/2015"), QString(),           QStringLiteral("11/30/2026")};
        const int fields[] = {5, 6, 7, 8, 19, 20, 21};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(f[fields[i]], expected.at(i));
    }

    void requiredFields_data() {
        QTest::addColumn<int>("emptied");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("filled");
        QTest::newRow("all filled") << 0 << QString() << true;
        for (int field : RequiredFields) {
            QTest::newRow(qPrintable(QStringLiteral("%1 empty").arg(field))) << field << QString() << false;
            QTest::newRow(qPrintable(QStringLiteral("%1 blanks").arg(field))) << field << QStringLiteral("  ") << false;
        }
        QTest::newRow("optional empty") << 2 << QString() << true;
    }

    void requiredFields() {
        QFETCH(int, emptied);
        QFETCH(QString, text);
        QFETCH(bool, filled);
        EntryFields f = GoodEntry();
        if (emptied)
            f[emptied] = text;
        QCOMPARE(RequiredFieldsFilled(f), filled);
    }

    void notepadGauge_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("gauge");
        const auto xs = [](int length) { return QString(length, QLatin1Char('x')); };
        QTest::newRow("empty") << xs(0) << QString();
        QTest::newRow("one character") << xs(1) << QStringLiteral(" 1% full ");
        QTest::newRow("just under 1%") << xs(44) << QStringLiteral(" 1% full ");
        QTest::newRow("half") << xs(2259) << QStringLiteral(" 50% full ");
        QTest::newRow("full") << xs(4517) << QStringLiteral(" 100% full ");
        // 2257 characters and one CR LF: 2259 places, half the notepad.
        QTest::newRow("line breaks count two")
            << QString(1000, QLatin1Char('a')) + QStringLiteral("\r\n") + QString(1257, QLatin1Char('b'))
            << QStringLiteral(" 50% full ");
    }

    void notepadGauge() {
        QFETCH(QString, text);
        QFETCH(QString, gauge);
        QCOMPARE(NotepadGauge(text), gauge);
    }

    // Status as editing began, the options now, and the questions asked in their order.
    void statusQuestions_data() {
        QTest::addColumn<bool>("wasSworn");
        QTest::addColumn<int>("previousStatus");
        QTest::addColumn<bool>("sworn");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<QList<int>>("changes");
        using C = StatusChange;
        QTest::newRow("no change") << true << 1 << true << false << QList<int>{};
        QTest::newRow("sworn dropped") << true << 1 << false << false << QList<int>{int(C::SwornDrop)};
        QTest::newRow("sworn raised") << false << 1 << true << false << QList<int>{int(C::SwornRaise)};
        QTest::newRow("inactivated") << false << 1 << false << true << QList<int>{int(C::Inactivation)};
        QTest::newRow("reactivated") << false << 2 << false << false << QList<int>{int(C::Reactivation)};
        QTest::newRow("previous stays") << true << 2 << true << true << QList<int>{};
        QTest::newRow("sworn dropped and inactivated")
            << true << 1 << false << true << QList<int>{int(C::SwornDrop), int(C::Inactivation)};
        QTest::newRow("sworn raised and reactivated")
            << false << 2 << true << false << QList<int>{int(C::SwornRaise), int(C::Reactivation)};
    }

    void statusQuestions() {
        QFETCH(bool, wasSworn);
        QFETCH(int, previousStatus);
        QFETCH(bool, sworn);
        QFETCH(bool, previous);
        QFETCH(QList<int>, changes);
        const QList<StatusQuestion> questions =
            StatusQuestions(wasSworn, static_cast<qint16>(previousStatus), sworn, previous);
        QList<int> asked;
        for (const StatusQuestion& q : questions)
            asked << int(q.Change);
        QCOMPARE(asked, changes);
    }

    void statusQuestionTexts_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("fromLine");
        QTest::addColumn<QString>("title");
        const QString sworn = QStringLiteral("Confirm Employee's Sworn Status Change");
        const QString status = QStringLiteral("Confirm Employee Status Change");
        QTest::newRow("drop") << int(StatusChange::SwornDrop)
                              << QStringLiteral("from a 'Sworn Employee' to a 'Non-sworn Employee'.") << sworn;
        QTest::newRow("raise") << int(StatusChange::SwornRaise)
                               << QStringLiteral("from a 'Non-Sworn Employee' to a 'Sworn Employee'.") << sworn;
        QTest::newRow("inactivation") << int(StatusChange::Inactivation)
                                      << QStringLiteral("from a 'Current Employee' to a 'Previous Employee'.")
                                      << status;
        QTest::newRow("reactivation") << int(StatusChange::Reactivation)
                                      << QStringLiteral("from a 'Previous Employee' to a 'Current Employee'.")
                                      << status;
    }

    void statusQuestionTexts() {
        QFETCH(int, change);
        QFETCH(QString, fromLine);
        QFETCH(QString, title);
        // Every change at once: sworn both ways cannot happen together, so two calls cover the four.
        QList<StatusQuestion> all = StatusQuestions(true, 1, false, true) + StatusQuestions(false, 2, true, false);
        const auto it =
            std::find_if(all.begin(), all.end(), [change](const StatusQuestion& q) { return int(q.Change) == change; });
        QVERIFY(it != all.end());
        QCOMPARE(it->Text, QStringLiteral("You have changed this employee's status\r\n") + fromLine +
                               QStringLiteral("\r\n\r\nDo you wish to continue with this change?"));
        QCOMPARE(it->Title, title);
    }

    void newRecordFromTheEntry() {
        EntryFields f = GoodEntry();
        f[4] = QStringLiteral(" Jr ");
        f[9] = QStringLiteral("Pedro Zamora ");
        f[12] = QStringLiteral(" 12 Oak Street");
        f[16] = QStringLiteral("mz@example.org");
        f[18] = QStringLiteral("Patrol Officer");
        f[20] = QStringLiteral("7/1/2019");
        f[21] = QStringLiteral("1/1/2020"); // hidden in add mode; a new employee is current
        f[22] = QStringLiteral("  Academy class of 2015.\r\nSecond line.  ");
        QVERIFY(CheckEntry(f, false).Passed());
        SaveChoices c;
        c.Adding = true;
        c.SwornSelected = false;
        c.PicturePath = QStringLiteral("/pictures/mz.png");
        PersonnelRecord r;
        const double now = Day(2026, 12, 7) + 0.25;
        CopyEntryToRecord(r, f, c, now);

        QCOMPARE(r.FirstName, QStringLiteral("Maria"));
        QCOMPARE(r.MiddleName, QStringLiteral("Luisa"));
        QCOMPARE(r.LastName, QStringLiteral("Zamora"));
        QCOMPARE(r.Suffix, QStringLiteral("Jr"));
        QCOMPARE(r.EmergencyName, QStringLiteral("Pedro Zamora"));
        QCOMPARE(r.StreetAddress, QStringLiteral("12 Oak Street"));
        QCOMPARE(r.Email, QStringLiteral("mz@example.org"));
        QCOMPARE(r.JobTitle, QStringLiteral("Patrol Officer"));
        QCOMPARE(r.Notepad, QStringLiteral("Academy class of 2015.\r\nSecond line."));
        QCOMPARE(r.Race, QStringLiteral("H"));
        QCOMPARE(r.Sex, QStringLiteral("F"));
        QCOMPARE(r.SocialSecurityNumber, QStringLiteral("123-45-6789"));
        QCOMPARE(r.DateOfBirth, Day(1988, 4, 15));
        QCOMPARE(r.DateOfEmployment, Day(2015, 6, 1));
        QCOMPARE(r.DateOfJobTitle, Day(2019, 7, 1));
        QCOMPARE(r.InactivationDate, 0.0);
        QCOMPARE(r.Sworn, qint16(0));
        QCOMPARE(r.PicturePath, QStringLiteral("/pictures/mz.png"));
        QCOMPARE(r.RecordCreated, now);
        QCOMPARE(r.LastModified, 0.0);
        QCOMPARE(r.DataVersion, CurrentDataVersion());
        QCOMPARE(r.DataVersion, qint16(312));
    }

    // What an edit stores for Sworn and InactivationDate, from the record as read and the answers given.
    void editedStatus_data() {
        QTest::addColumn<bool>("wasSworn");
        QTest::addColumn<bool>("drop");
        QTest::addColumn<bool>("raise");
        QTest::addColumn<double>("stored");   // InactivationDate as read from the slot
        QTest::addColumn<QString>("field21"); // the inactivation field as the checks left it
        QTest::addColumn<bool>("reactivate");
        QTest::addColumn<QString>("entered"); // a valid date given in the box; empty for none
        QTest::addColumn<int>("sworn");
        QTest::addColumn<double>("inactivation");
        const double left = Day(2004, 6, 30);
        // No change, a declined sworn drop and a cancelled inactivation prompt all reach the save as the same answers.
        QTest::newRow("no change, drop declined or prompt cancelled")
            << true << false << false << 0.0 << QString() << false << QString() << -1 << 0.0;
        QTest::newRow("sworn drop confirmed")
            << true << true << false << 0.0 << QString() << false << QString() << 0 << 0.0;
        QTest::newRow("sworn raise confirmed")
            << false << false << true << 0.0 << QString() << false << QString() << -1 << 0.0;
        QTest::newRow("sworn raise declined keeps non-sworn")
            << false << false << false << 0.0 << QString() << false << QString() << 0 << 0.0;
        QTest::newRow("inactivation date given") << true << false << false << 0.0 << QString() << false
                                                 << QStringLiteral("11/30/2026") << -1 << Day(2026, 11, 30);
        QTest::newRow("reactivation confirmed clears the date")
            << true << false << false << left << QStringLiteral("06/30/2004") << true << QString() << -1 << 0.0;
        QTest::newRow("reactivation declined keeps the date")
            << true << false << false << left << QStringLiteral("06/30/2004") << false << QString() << -1 << left;
        QTest::newRow("emptied date field keeps the stored date")
            << true << false << false << left << QString() << false << QString() << -1 << left;
        QTest::newRow("changed date field") << true << false << false << left << QStringLiteral("7/1/2005") << false
                                            << QString() << -1 << Day(2005, 7, 1);
    }

    void editedStatus() {
        QFETCH(bool, wasSworn);
        QFETCH(bool, drop);
        QFETCH(bool, raise);
        QFETCH(double, stored);
        QFETCH(QString, field21);
        QFETCH(bool, reactivate);
        QFETCH(QString, entered);
        QFETCH(int, sworn);
        QFETCH(double, inactivation);
        PersonnelRecord r;
        r.RecordCreated = Day(2010, 3, 7) + 0.5;
        r.DataVersion = 311;
        r.InactivationDate = stored;
        r.Sworn = wasSworn ? -1 : 0;
        EntryFields f = GoodEntry();
        f[21] = field21;
        SaveChoices c;
        c.WasSworn = wasSworn;
        c.SwornSelected = !wasSworn; // the option buttons play no part in an edit's Sworn
        c.SwornDropConfirmed = drop;
        c.SwornRaiseConfirmed = raise;
        c.ReactivationConfirmed = reactivate;
        c.InactivationGiven = !entered.isEmpty();
        c.EnteredInactivation = entered;
        const double now = Day(2026, 12, 7) + 0.5;
        CopyEntryToRecord(r, f, c, now);
        QCOMPARE(r.Sworn, qint16(sworn));
        QCOMPARE(r.InactivationDate, inactivation);
        // An edit stamps the change and keeps when the record was made and in which version.
        QCOMPARE(r.LastModified, now);
        QCOMPARE(r.RecordCreated, Day(2010, 3, 7) + 0.5);
        QCOMPARE(r.DataVersion, qint16(311));
    }

    void emptyDateOfJobTitleIsTheZeroDate() {
        EntryFields f = GoodEntry();
        f[20] = QStringLiteral("  ");
        PersonnelRecord r;
        r.DateOfJobTitle = Day(2001, 2, 3);
        CopyEntryToRecord(r, f, SaveChoices(), 1);
        QCOMPARE(r.DateOfJobTitle, 0.0);
    }
};

QTEST_GUILESS_MAIN(TestEntryValidation)
#include "tst_entryvalidation.moc"
