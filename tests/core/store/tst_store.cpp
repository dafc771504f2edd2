// What every store promises the modules, run against each kind of store: one row per kind and case.

#include "core/store/FolderStore.h"
#include "core/store/PersonnelStore.h"

#include "TempWorkDir.h"
#include "TestServer.h"
#include "core/record/RecordIdentity.h"
#include "core/server/ServerStore.h"

#include <QTest>

#include <map>

namespace {

std::unique_ptr<PersonnelStore> MakeStoreOfKind(const QString& kind) {
    if (kind == QLatin1String("folder"))
        return std::make_unique<FolderStore>();
    // A database of its own on the test cluster for each case.
    const QString server = FreshTestDatabase();
    return server.isEmpty() ? nullptr : std::make_unique<ServerStore>(server);
}

const QStringList kKinds = {QStringLiteral("folder"), QStringLiteral("server")};

PersonnelRecord Person(const QString& last, const QString& first, double created = 45000.5, double left = 0) {
    PersonnelRecord r;
    r.LastName = last;
    r.FirstName = first;
    r.RecordCreated = created;
    r.InactivationDate = left;
    return r;
}

// The listed names of the store's employees in key order, and their keys.
QStringList Names(PersonnelStore& store, QList<RecordKey>* keys = nullptr) {
    QStringList names;
    store.Scan([&](RecordKey key, const char* bytes) {
        names << ListedName(DecodePersonnelRecord(bytes));
        if (keys)
            *keys << key;
    });
    return names;
}

QList<RecordKey> AppendAll(PersonnelStore& store, const QList<PersonnelRecord>& records) {
    QList<RecordKey> keys;
    for (const PersonnelRecord& r : records)
        keys << store.Append(r);
    return keys;
}

UserRecord User(const QString& first, qint16 level) {
    UserRecord u;
    u.FirstName = first;
    u.LastName = QStringLiteral("Mensah");
    u.Password = QStringLiteral("x1y2z3w4");
    u.AccessLevel = level;
    u.DateCreated = 45000.25;
    return u;
}

QStringList UserNames(PersonnelStore& store) {
    QStringList names;
    for (const UserRecord& u : store.Users())
        names << u.FirstName;
    return names;
}

using Case = void (*)(PersonnelStore&);

void appendReadUpdateScan(PersonnelStore& store) {
    const QList<RecordKey> keys =
        AppendAll(store, {Person("Abara", "Ada"), Person("Bello", "Bo", 45000.5, 45100), Person("Chen", "Cy")});
    QVERIFY(keys[0] < keys[1] && keys[1] < keys[2]);
    PersonnelRecord read;
    qint64 version = -1;
    QVERIFY(store.Read(keys[1], read, version));
    QCOMPARE(ListedName(read), QStringLiteral("Bello, Bo"));
    read.FirstName = QStringLiteral("Bea");
    store.Update(keys[1], read, version);
    QList<RecordKey> scanned;
    QCOMPARE(Names(store, &scanned), QStringList({"Abara, Ada", "Bello, Bea", "Chen, Cy"}));
    QCOMPARE(scanned, keys);
    const DataFileCounts counts = store.Counts();
    QCOMPARE(counts.records, qint64(3));
    QCOMPARE(counts.current, qint64(2));
    QCOMPARE(counts.previous, qint64(1));
    QVERIFY(!store.Read(keys[2] + 1000, read, version));
    QCOMPARE(read.LastName.trimmed(), QString());
}

void removeChecksTheName(PersonnelStore& store) {
    const QList<RecordKey> keys =
        AppendAll(store, {Person("Abara", "Ada"), Person("Bello", "Bo"), Person("Chen", "Cy")});
    QVERIFY(!store.Remove(keys[1], QStringLiteral("Chen, Cy"), 0).Removed);
    QVERIFY(!store.Remove(keys[2] + 1000, QString(), 0).Removed);
    QCOMPARE(Names(store).size(), 3);
    QVERIFY(store.Remove(keys[1], QStringLiteral("Bello, Bo"), 0).Removed);
    QCOMPARE(Names(store), QStringList({"Abara, Ada", "Chen, Cy"}));
    QCOMPARE(store.Counts().records, qint64(2));
}

void replaceAllKeepsOrder(PersonnelStore& store) {
    AppendAll(store, {Person("Old", "One")});
    store.ReplaceAll({Person("Zed", "Zo"), Person("Amo", "Al", 45000.5, 45200)});
    QCOMPARE(Names(store), QStringList({"Zed, Zo", "Amo, Al"}));
    QCOMPARE(store.Counts().previous, qint64(1));
    store.ReplaceAll({});
    QCOMPARE(store.Counts().records, qint64(0));
}

void stampRankTies(PersonnelStore& store) {
    const QList<RecordKey> keys = AppendAll(store, {Person("A", "a", 45000.5), Person("B", "b", 45001.5),
                                                    Person("C", "c", 45000.5), Person("D", "d", 45000.5)});
    QCOMPARE(store.StampRank(keys[0]), std::make_pair(1, 3));
    QCOMPARE(store.StampRank(keys[1]), std::make_pair(1, 1));
    QCOMPARE(store.StampRank(keys[3]), std::make_pair(3, 3));
    store.Remove(keys[0], QString(), 0);
    QList<RecordKey> left;
    QCOMPARE(Names(store, &left), QStringList({"B, b", "C, c", "D, d"}));
    QCOMPARE(store.StampRank(left[1]), std::make_pair(1, 2));
}

void commitIsBothOrNeither(PersonnelStore& store) {
    const RecordKey key = store.Append(Person("Abara", "Ada"));
    ChangeEvent event = NewEvent(HistoryEvent::Edited);
    event.Employee = QStringLiteral("Abara, Ada");
    store.Commit({event}, [&] {
        PersonnelRecord r;
        qint64 version = 0;
        store.Read(key, r, version);
        r.FirstName = QStringLiteral("Adaeze");
        store.Update(key, r, version);
    });
    const QByteArray history = store.History();
    QCOMPARE(ParseChangeLog(history).size(), 1);
    QCOMPARE(CheckChain(history).State, ChainCheck::Intact);
    // A write that fails (here, to an employee that is not there) takes its history lines with it.
    QVERIFY_THROWS_EXCEPTION(
        FileError, store.Commit({event, event}, [&] { store.Update(key + 1000, Person("Wrong", "Name"), 0); }));
    QCOMPARE(store.History(), history);
    QCOMPARE(Names(store), QStringList({"Abara, Adaeze"}));
}

void usersKeepTheirOrder(PersonnelStore& store) {
    QVERIFY(store.Users().isEmpty());
    store.WriteUser(1, User("Ama", 4));
    store.WriteUser(2, User("Kofi", 1));
    store.WriteUser(3, User("Esi", 2));
    store.WriteUser(2, User("Kwame", 3));
    QCOMPARE(UserNames(store), QStringList({"Ama", "Kwame", "Esi"}));
    QCOMPARE(store.Users().at(1).AccessLevel, qint16(3));
    store.RemoveUser(1);
    QCOMPARE(UserNames(store), QStringList({"Kwame", "Esi"}));
    QCOMPARE(store.Users().at(0).Password, QStringLiteral("x1y2z3w4"));
}

void userLogAppends(PersonnelStore& store) {
    QVERIFY(store.UserLog().isEmpty());
    store.AppendUserLog("12-07-2026 at 09:00:00 - Ama Mensah logged in w/ Administrator privileges.\r\n");
    store.AppendUserLog("12-07-2026 at 09:30:00 - Ama Mensah logged out.\r\n");
    QCOMPARE(store.UserLog(), QByteArray("12-07-2026 at 09:00:00 - Ama Mensah logged in w/ Administrator "
                                         "privileges.\r\n12-07-2026 at 09:30:00 - Ama Mensah logged out.\r\n"));
}

void readManyInTheOrderAsked(PersonnelStore& store) {
    const QList<RecordKey> keys =
        AppendAll(store, {Person("Abara", "Ada"), Person("Bello", "Bo"), Person("Chen", "Cy")});
    // A key twice, and one that holds nobody: each place is visited once, the empty one with a blank record.
    const QList<RecordKey> asked = {keys[2], keys[0], keys[2], keys[2] + 1000};
    QStringList names(asked.size());
    int visits = 0;
    store.ReadMany(asked, [&](qsizetype index, const char* bytes) {
        names[index] = ListedName(DecodePersonnelRecord(bytes));
        ++visits;
    });
    QCOMPARE(visits, 4);
    QCOMPARE(names, QStringList({"Chen, Cy", "Abara, Ada", "Chen, Cy", ", "}));
}

void appendManyAddsAfterTheOthers(PersonnelStore& store) {
    AppendAll(store, {Person("Abara", "Ada")});
    store.AppendMany({});
    store.AppendMany({Person("Bello", "Bo"), Person("Chen", "Cy", 45000.5, 45100)});
    QCOMPARE(Names(store), QStringList({"Abara, Ada", "Bello, Bo", "Chen, Cy"}));
    QCOMPARE(store.Counts().previous, qint64(1));
}

void userListHeldOpen(PersonnelStore& store) {
    QVERIFY(!store.HasUsers());
    store.WriteUser(1, User("Ama", 4));
    store.WriteUser(2, User("Kofi", 1));
    QVERIFY(store.HasUsers());
    QCOMPARE(store.OpenUserList(), qint64(2));
    QVERIFY(store.UserListIsOpen());
    UserRecord user;
    store.ReadUser(2, user);
    QCOMPARE(user.FirstName, QStringLiteral("Kofi"));
    // A write while open is what the next read of the open list gives.
    store.WriteUser(2, User("Kwame", 3));
    store.ReadUser(2, user);
    QCOMPARE(user.FirstName, QStringLiteral("Kwame"));
    store.ReadUser(3, user);
    QVERIFY(user.FirstName.isEmpty());
    store.CloseUserList();
    QVERIFY(!store.UserListIsOpen());
    QVERIFY_THROWS_EXCEPTION(FileError, store.ReadUser(1, user));
}

void whatTheStoreHolds(PersonnelStore& store) {
    QVERIFY(!store.HasData());
    QVERIFY(!store.HasUserLog(false));
    const QByteArray stampBefore = store.HistoryStamp();
    int runs = 0;
    store.Exclusive([&] {
        ++runs;
        store.Commit({NewEvent(HistoryEvent::Added)}, [&] { store.Append(Person("Abara", "Ada")); });
    });
    QCOMPARE(runs, 1);
    QVERIFY(store.HasData());
    // An empty stamp means "read it every time"; a stamp that stays put after a change would hide the change.
    QVERIFY(stampBefore.isEmpty() || store.HistoryStamp() != stampBefore);
    store.AppendUserLog("line\r\n");
    QVERIFY(store.HasUserLog(true));
    QVERIFY(store.NoEmployeeText(99).contains(QStringLiteral("99")));
}

const std::map<QString, Case>& Cases() {
    static const std::map<QString, Case> cases = {
        {QStringLiteral("append, read, update, scan"), appendReadUpdateScan},
        {QStringLiteral("remove checks the name"), removeChecksTheName},
        {QStringLiteral("replace all"), replaceAllKeepsOrder},
        {QStringLiteral("tied stamps"), stampRankTies},
        {QStringLiteral("commit both or neither"), commitIsBothOrNeither},
        {QStringLiteral("users"), usersKeepTheirOrder},
        {QStringLiteral("user log"), userLogAppends},
        {QStringLiteral("read many"), readManyInTheOrderAsked},
        {QStringLiteral("append many"), appendManyAddsAfterTheOthers},
        {QStringLiteral("user list held open"), userListHeldOpen},
        {QStringLiteral("what the store holds"), whatTheStoreHolds},
    };
    return cases;
}

} // namespace

class TestStore : public QObject {
    Q_OBJECT

private slots:
    void init() { DataFileName = QStringLiteral("Vardel.Data"); }

    void contract_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        for (const QString& kind : kKinds)
            for (const auto& [name, run] : Cases())
                QTest::addRow("%s: %s", qPrintable(kind), qPrintable(name)) << kind << name;
    }

    void contract() {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        TempWorkDir dir;
        if (const QString why = TestServerUnavailable(); kind == QLatin1String("server") && !why.isEmpty())
            QSKIP(qPrintable(why));
        const std::unique_ptr<PersonnelStore> store = MakeStoreOfKind(kind);
        QVERIFY(store);
        Cases().at(name)(*store);
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
