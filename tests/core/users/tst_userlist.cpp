#include "Commands.h"
#include "FileTestSupport.h"
#include "TempWorkDir.h"
#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/DateRules.h"
#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"
#include "core/users/UserList.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QtEndian>
#include <QtTest>
#include <memory>

namespace {

UserRecord MakeUser(const QString& first, const QString& last, qint16 level = 1) {
    UserRecord user;
    user.DateCreated = 40244.5;
    user.FirstName = first;
    user.LastName = last;
    user.Password = ScramblePassword(QStringLiteral("pass1"));
    user.AccessLevel = level;
    user.Comments = first + QStringLiteral(" notes");
    return user;
}

void WriteUsers(const QList<UserRecord>& users) {
    OpenUserList();
    qint32 n = 0;
    for (const UserRecord& user : users) {
        CurrentUser = user;
        WriteUserRecord(++n);
    }
    CloseUserList();
}

QStringList FirstNames() {
    OpenUserList();
    QStringList names;
    for (qint32 n = 1; n <= UserListCount; ++n) {
        ReadUserRecord(n);
        names << CurrentUser.FirstName;
    }
    CloseUserList();
    return names;
}

bool IsLetterOrDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

constexpr auto kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// A disk with room for a few bytes more.
qint64 g_room = 0;
ssize_t FillingPwrite(int fd, const void* data, size_t size, off_t offset) {
    if (g_room <= 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t put = ::pwrite(fd, data, std::min<size_t>(size, static_cast<size_t>(g_room)), offset);
    if (put > 0)
        g_room -= put;
    return put;
}

} // namespace

class tst_UserList : public QObject {
    Q_OBJECT

    std::unique_ptr<TempWorkDir> m_dir;

private slots:
    void initTestCase() { InitProgramValues(); }
    // Every test runs in a fresh, empty folder of its own.
    void init() { m_dir = std::make_unique<TempWorkDir>(); }
    void cleanup() {
        CloseUserList();
        m_dir.reset();
    }

    void recordImageLayout() {
        UserRecord user;
        user.DateCreated = 40244.587;
        user.FirstName = QStringLiteral("Jos\u00e9");
        user.LastName = QStringLiteral("A-very-long-last-name-cut-here");
        user.Password = QStringLiteral("x1y2z3w4");
        user.AccessLevel = 3;
        user.Comments = QStringLiteral("Night shift");
        const QByteArray image = EncodeUserRecord(user);
        QCOMPARE(image.size(), 500);

        QCOMPARE(qFromLittleEndian<double>(image.constData()), 40244.587);
        QCOMPARE(image.mid(8, 15), QByteArray("Jos\xe9           "));
        QCOMPARE(image.mid(23, 20), QByteArray("A-very-long-last-nam"));
        QCOMPARE(image.mid(43, 16), QByteArray("x1y2z3w4        "));
        QCOMPARE(image.mid(59, 2), QByteArray("\x03\x00", 2));
        QCOMPARE(image.mid(61, 11), QByteArray("Night shift"));
        QCOMPARE(image.mid(72), QByteArray(500 - 72, ' '));

        const UserRecord back = DecodeUserRecord(image.constData());
        QCOMPARE(back.DateCreated, user.DateCreated);
        QCOMPARE(back.FirstName, user.FirstName);
        QCOMPARE(back.LastName, QStringLiteral("A-very-long-last-nam"));
        QCOMPARE(back.Password, user.Password);
        QCOMPARE(back.AccessLevel, qint16(3));
        QCOMPARE(back.Comments, user.Comments);
    }

    void readingTrimsBothEnds() {
        QByteArray image(500, ' ');
        image.replace(8, 15, "  Ann          ");
        qToLittleEndian<qint16>(-2, image.data() + 59);
        const UserRecord user = DecodeUserRecord(image.constData());
        QCOMPARE(user.FirstName, QStringLiteral("Ann"));
        QCOMPARE(user.LastName, QString());
        QCOMPARE(user.AccessLevel, qint16(-2));
    }

    void countRoundsHalvesToEven_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("under half") << 249 << 0;
        QTest::newRow("half of one") << 250 << 0;
        QTest::newRow("over half") << 251 << 1;
        QTest::newRow("exact two") << 1000 << 2;
        QTest::newRow("one and a half") << 750 << 2;
        QTest::newRow("two and a half") << 1250 << 2;
        QTest::newRow("two and a bit") << 1100 << 2;
    }
    void countRoundsHalvesToEven() {
        QFETCH(int, length);
        QFETCH(int, count);
        writeFile(UserListFileName, QByteArray(length, ' '));
        OpenUserList();
        QCOMPARE(UserListCount, qint16(count));
    }

    void openCreatesAnEmptyPrivateFile() {
        OpenUserList();
        OpenUserList(); // an open list is closed and opened again
        QVERIFY(UserListIsOpen());
        QCOMPARE(UserListCount, qint16(0));
        CloseUserList();
        CloseUserList();
        QVERIFY(!UserListIsOpen());
        QFile file(UserListFileName);
        QVERIFY(file.exists());
        QCOMPARE(file.size(), 0);
        QCOMPARE(file.permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), kOwnerOnly);
    }

    void writeAppendsAndReadsBack() {
        WriteUsers({MakeUser("Ann", "Baker", 2), MakeUser("Carl", "Dunn", 4)});
        QCOMPARE(QFile(UserListFileName).size(), 1000);

        OpenUserList();
        QCOMPARE(UserListCount, qint16(2));
        CurrentUser = MakeUser("Eve", "Fox", 1);
        WriteUserRecord(1); // overwrite in place
        ReadUserRecord(2);
        QCOMPARE(CurrentUser.FirstName, QStringLiteral("Carl"));
        QCOMPARE(CurrentUser.AccessLevel, qint16(4));
        ReadUserRecord(1);
        QCOMPARE(CurrentUser.LastName, QStringLiteral("Fox"));
        QCOMPARE(UnscramblePassword(CurrentUser.Password), QStringLiteral("pass1"));
        // Past the end reads as a blank record.
        ReadUserRecord(3);
        QCOMPARE(CurrentUser.FirstName, QString());
        QCOMPARE(CurrentUser.DateCreated, 0.0);
        QCOMPARE(CurrentUser.AccessLevel, qint16(0));
        CloseUserList();
        QCOMPARE(QFile(UserListFileName).size(), 1000);
    }

    void scrambledPasswords_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("plain");
        QTest::newRow("four") << "ab12"
                              << "ab12";
        QTest::newRow("eight") << "Zz09Yy18"
                               << "Zz09Yy18";
        QTest::newRow("surrounding blanks") << "  q7Rt  "
                                            << "q7Rt";
    }
    void scrambledPasswords() {
        QFETCH(QString, password);
        QFETCH(QString, plain);
        const QString stored = ScramblePassword(password);
        QCOMPARE(stored.size(), plain.size() * 2);
        for (qsizetype i = 0; i < plain.size(); ++i) {
            QCOMPARE(stored.at(2 * i + 1), plain.at(i));
            QVERIFY2(IsLetterOrDigit(stored.at(2 * i)), qPrintable(stored));
        }
        QCOMPARE(UnscramblePassword(stored), plain);
        QCOMPARE(UnscramblePassword(QStringLiteral("  ") + stored + QStringLiteral("    ")), plain);
    }

    void everyFillerIsALetterOrDigit() {
        // A code drawn from 48-122 falls among the 13 signs between the digits and letters about once in six draws:
        // without the repeated draw, 2400 fillers all pass by chance less than once in 10^190 runs.
        for (int i = 0; i < 300; ++i) {
            const QString stored = ScramblePassword(QStringLiteral("Zz09Yy18"));
            for (qsizetype j = 0; j < stored.size(); j += 2)
                QVERIFY2(IsLetterOrDigit(stored.at(j)), qPrintable(stored));
        }
    }

    void scramblingVaries() {
        // Chance agreement of eight fillers is about one in 62^8; equal results mean the generator repeats.
        const QString password = QStringLiteral("aaaaaaaa");
        QSet<QString> results;
        QSet<QChar> fillers;
        for (int i = 0; i < 5; ++i) {
            const QString stored = ScramblePassword(password);
            results.insert(stored);
            for (qsizetype j = 0; j < stored.size(); j += 2)
                fillers.insert(stored.at(j));
        }
        QCOMPARE(results.size(), 5);
        QVERIFY(fillers.size() > 5);
    }

    void passwordValidity_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("valid");
        QTest::newRow("four") << "ab1Z" << true;
        QTest::newRow("eight") << "12345678" << true;
        QTest::newRow("three") << "abc" << false;
        QTest::newRow("nine") << "abcdefghi" << false;
        QTest::newRow("blanks around") << "   abcd   " << true;
        QTest::newRow("three with blanks") << " abc  " << false;
        QTest::newRow("slash") << "ab/cd" << false;
        QTest::newRow("hyphen") << "ab-cd" << false;
        QTest::newRow("inner blank") << "ab cd" << false;
        QTest::newRow("accented") << "abc\u00e9" << false;
        QTest::newRow("empty") << "" << false;
    }
    void passwordValidity() {
        QFETCH(QString, password);
        QFETCH(bool, valid);
        QCOMPARE(IsValidPassword(password), valid);
    }

    void removeOnlyUserLeavesNoFile() {
        WriteUsers({MakeUser("Ann", "Baker")});
        RemoveUser(1);
        QVERIFY(!QFile::exists(UserListFileName));
        QVERIFY(!QFile::exists(QStringLiteral("TempFile.$$$")));
        QVERIFY(!UserListIsOpen());
    }

    void removeCompacts_data() {
        QTest::addColumn<int>("removed");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("first") << 1 << QStringList{"Bob", "Cid"};
        QTest::newRow("middle") << 2 << QStringList{"Ann", "Cid"};
        QTest::newRow("last") << 3 << QStringList{"Ann", "Bob"};
    }
    void removeCompacts() {
        QFETCH(int, removed);
        QFETCH(QStringList, left);
        WriteUsers({MakeUser("Ann", "A", 1), MakeUser("Bob", "B", 2), MakeUser("Cid", "C", 3)});
        const QByteArray before = readFile(UserListFileName);
        RemoveUser(removed);
        QCOMPARE(FirstNames(), left);
        QVERIFY(!QFile::exists(QStringLiteral("TempFile.$$$")));
        // The survivors are byte-for-byte the records they were.
        QByteArray expected = before;
        expected.remove((removed - 1) * 500, 500);
        QCOMPARE(readFile(UserListFileName), expected);
    }

    void removeDropsOnlyTheExactMark_data() {
        QTest::addColumn<QString>("firstName");
        QTest::newRow("longer") << QStringLiteral("$Killed$x");
        QTest::newRow("with a suffix") << QStringLiteral("$Killed$ Jr");
        QTest::newRow("other case") << QStringLiteral("$killed$");
        QTest::newRow("shorter") << QStringLiteral("$Killed");
    }
    void removeDropsOnlyTheExactMark() {
        QFETCH(QString, firstName);
        WriteUsers({MakeUser("Ann", "A"), MakeUser(firstName, "B"), MakeUser("Cid", "C")});
        RemoveUser(3);
        QCOMPARE(FirstNames(), (QStringList{"Ann", firstName}));
    }

    void removeDropsStaleMarks() {
        WriteUsers({MakeUser("Ann", "A"), MakeUser("  $Killed$", "B"), MakeUser("Cid", "C"), MakeUser("Dee", "D")});
        writeFile(QStringLiteral("TempFile.$$$"), QByteArray(700, 'x')); // left by a crash
        RemoveUser(3);
        QCOMPARE(FirstNames(), (QStringList{"Ann", "Dee"}));
        QVERIFY(!QFile::exists(QStringLiteral("TempFile.$$$")));
    }

    void logLines_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("line");
        QTest::newRow("log-in") << 1 << 14 << 2
                                << "03/07/2010 at 14:05:09 - Ann Baker logged in w/ Read/Edit privileges.";
        QTest::newRow("early hour")
            << 1 << 4 << 4 << "03/07/2010 at 04:05:09 - Ann Baker logged in w/ Read/Edit/Add/Delete privileges.";
        QTest::newRow("log-out") << 2 << 14 << 2 << "03/07/2010 at 14:05:09 - Ann Baker logged out.";
        QTest::newRow("other kind") << 0 << 23 << 1 << "03/07/2010 at 23:05:09 - Ann Baker logged out.";
    }
    void logLines() {
        QFETCH(int, kind);
        QFETCH(int, hour);
        QFETCH(int, level);
        QFETCH(QString, line);
        const double when = ToOADate(QDateTime(QDate(2010, 3, 7), QTime(hour, 5, 9)));
        QCOMPARE(UserLogLine(qint16(kind), when, QStringLiteral("Ann Baker"), qint16(level)), line);
    }

    void logEntriesAreAppended() {
        writeFile(UserLogFileName, "earlier line\r\n");
        CurrentUserName = QStringLiteral("Jos\u00e9 Ruiz");
        CurrentAccessLevel = 3;
        WriteUserLogEntry(1);
        WriteUserLogEntry(2);

        const QByteArray bytes = readFile(UserLogFileName);
        QVERIFY(bytes.startsWith("earlier line\r\n"));
        QVERIFY(bytes.endsWith("\r\n"));
        const QList<QByteArray> lines = bytes.mid(14).chopped(2).split('\n');
        QCOMPARE(lines.size(), 2);
        const QRegularExpression stamp(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} at \\d\\d:\\d\\d:\\d\\d - "));
        QVERIFY(QString::fromLatin1(lines[0]).contains(stamp));
        QVERIFY(QString::fromLatin1(lines[1]).contains(stamp));
        QVERIFY(lines[0].endsWith(" - Jos\xe9 Ruiz logged in w/ Read/Edit/Add privileges.\r"));
        QVERIFY(lines[1].endsWith(" - Jos\xe9 Ruiz logged out."));
    }

    void logIsCreatedPrivate() {
        CurrentUserName = QStringLiteral("Ann Baker");
        CurrentAccessLevel = 1;
        WriteUserLogEntry(1);
        QFile log(UserLogFileName);
        QVERIFY(readFile(UserLogFileName).endsWith(" - Ann Baker logged in w/ Read Only privileges.\r\n"));
        QCOMPARE(log.permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), kOwnerOnly);
    }

    void logWriteFailureThrows() {
        QVERIFY(QDir().mkdir(UserLogFileName)); // a folder where the log should be
        QVERIFY_THROWS_EXCEPTION(FileError, WriteUserLogEntry(1));
    }

    // A log line that does not fit on the disk leaves nothing of itself: the next line starts on a line of its own.
    void logLineIsWholeOrAbsent() {
        writeFile(UserLogFileName, "earlier line\r\n");
        CurrentUserName = QStringLiteral("Ann Baker");
        CurrentAccessLevel = 1;
        g_room = 20;
        FileSystemCalls::SetPwrite(FillingPwrite);
        QString error;
        try {
            WriteUserLogEntry(1);
        } catch (const FileError& e) {
            error = e.text();
        }
        FileSystemCalls::SetPwrite(nullptr);
        QCOMPARE(error, QStringLiteral("User.Log: No space left on device"));
        QCOMPARE(readFile(UserLogFileName), QByteArray("earlier line\r\n"));
        WriteUserLogEntry(2);
        QVERIFY(readFile(UserLogFileName).startsWith("earlier line\r\n"));
        QVERIFY(readFile(UserLogFileName).endsWith(" - Ann Baker logged out.\r\n"));
    }

    // Between opening and closing the list no other writer may touch the folder, since records are written in
    // place; the lock ends with the close.
    void openListHoldsTheFolder() {
        OpenUserList();
        QVERIFY(HoldsDataFolderLock());
        CloseUserList();
        QVERIFY(!HoldsDataFolderLock());
        WriteUsers({MakeUser(QStringLiteral("Ann"), QStringLiteral("Lee"))});
        RemoveUser(1);
        QVERIFY(!HoldsDataFolderLock());
    }

    // A cut-off last record is completed from a blank record before a user is added after it.
    void addingAfterACutRecordLeavesNoZeroBytes() {
        const QByteArray first = EncodeUserRecord(MakeUser(QStringLiteral("Ann"), QStringLiteral("Lee")));
        const QByteArray second = EncodeUserRecord(MakeUser(QStringLiteral("Bob"), QStringLiteral("Ray")));
        writeFile(UserListFileName, first + second.left(300));
        OpenUserList();
        QCOMPARE(UserListCount, qint16(2));
        CurrentUser = MakeUser(QStringLiteral("Cy"), QStringLiteral("Fox"));
        WriteUserRecord(3);
        CloseUserList();
        const QByteArray bytes = readFile(UserListFileName);
        QCOMPARE(bytes.size(), 1500);
        QCOMPARE(bytes.mid(500, 300), second.left(300));
        QCOMPARE(bytes.mid(800, 200), EncodeUserRecord(UserRecord()).mid(300));
        QCOMPARE(FirstNames(), (QStringList{"Ann", "Bob", "Cy"}));
    }

    void usersDumpOmitsPasswords() {
        UserRecord ann = MakeUser("Ann", "Baker", 2);
        ann.DateCreated = 40244.587604166666;
        ann.Comments = QStringLiteral("says \"hi\"");
        UserRecord bob = MakeUser("Bob", "Cole", 4);
        bob.Comments = QString(300, u'c');
        const QByteArray image = EncodeUserRecord(ann) + EncodeUserRecord(bob).left(260);
        const QList<QByteArray> lines = UserListJsonLines(image).split('\n');
        QCOMPARE(lines.size(), 3); // two records and the empty rest after the final newline
        QVERIFY(lines[2].isEmpty());
        // The date is printed in its shortest form that reads back as the same double.
        QCOMPARE(lines[0], QByteArray("{\"record\":1,\"DateCreated\":40244.58760416666,\"FirstName\":\"Ann\","
                                      "\"LastName\":\"Baker\",\"AccessLevel\":2,\"Comments\":\"says \\\"hi\\\"\"}"));
        QCOMPARE(QJsonDocument::fromJson(lines[0]).object().value("DateCreated").toDouble(), ann.DateCreated);
        const QJsonObject cut = QJsonDocument::fromJson(lines[1]).object();
        QCOMPARE(cut.value("record").toInt(), 2);
        QCOMPARE(cut.value("FirstName").toString(), QStringLiteral("Bob"));
        QCOMPARE(cut.value("AccessLevel").toInt(), 4);
        QCOMPARE(cut.value("Comments").toString(), QString(260 - 61, u'c')); // the rest is cut off
        QVERIFY(!lines[0].contains("Password") && !lines[1].contains("Password"));
        QVERIFY(UserListJsonLines(QByteArray()).isEmpty());
    }

    void usersCommandLeavesMissingListAlone() {
        QCOMPARE(UsersCommand({}), 0);
        QVERIFY(!QFile::exists(UserListFileName));
        QCOMPARE(UsersCommand({QStringLiteral("extra")}), 2);
    }
};

QTEST_GUILESS_MAIN(tst_UserList)
#include "tst_userlist.moc"
