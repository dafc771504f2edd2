#include "core/server/ServerStore.h"

#include "core/base/AppGlobals.h"

#include "core/base/FixedRecordFile.h"
#include "core/base/RegularFile.h"
#include "core/base/StagingFolder.h"
#include "core/history/RecordHistory.h"
#include "core/record/RecordFields.h"
#include "core/record/RecordIdentity.h"
#include "core/server/PgConnection.h"
#include "core/server/ServerSchema.h"
#include "core/store/PersonnelStore.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QSaveFile>
#include <QScopeGuard>

#include <algorithm>
#include <array>

namespace {

// The history's appends are serialized under this advisory lock, so that each desk continues the chain from the
// line the one before it wrote.
constexpr qint64 kHistoryLock = 0x56617264656c0002;

// The record's fields in the order of their columns, which is the order of the image.
const std::array<QByteArray, RecordFields.size()>& columnNames() {
    static const auto names = [] {
        std::array<QByteArray, RecordFields.size()> list;
        for (size_t i = 0; i < list.size(); ++i)
            list[i] = EmployeeColumn(RecordFields[i]);
        return list;
    }();
    return names;
}
constexpr int kColumnCount = int(RecordFields.size());

QByteArray columnList() {
    QByteArray list;
    for (const QByteArray& name : columnNames())
        list += (list.isEmpty() ? "" : ", ") + name;
    return list;
}

// Statements with the record's columns from parameter first on.
const QByteArray& insertSql() {
    static const QByteArray sql = [] {
        QByteArray values;
        for (int i = 1; i <= kColumnCount; ++i)
            values += (i > 1 ? ", $" : "$") + QByteArray::number(i);
        return "INSERT INTO employee (" + columnList() + ") VALUES (" + values + ") RETURNING key";
    }();
    return sql;
}

const QByteArray& updateSql() {
    static const QByteArray sql = [] {
        QByteArray sets;
        for (int i = 0; i < kColumnCount; ++i)
            sets += columnNames()[size_t(i)] + " = $" + QByteArray::number(i + 3) + ", ";
        return "UPDATE employee SET " + sets + "version = version + 1 WHERE key = $1 AND ($2 = 0 OR version = $2)";
    }();
    return sql;
}

const QByteArray& selectSql() {
    static const QByteArray sql = "SELECT key, version, " + columnList() + " FROM employee";
    return sql;
}

// What the folder would keep of record: text cut at each field's width, characters outside the code page as "?".
PersonnelRecord asStored(const PersonnelRecord& record) {
    return DecodePersonnelRecord(EncodePersonnelRecord(record).constData());
}

PgParams& bindRecord(PgParams& params, const PersonnelRecord& record) {
    const PersonnelRecord stored = asStored(record);
    for (const RecordField& field : RecordFields) {
        if (field.Day)
            params.float8(stored.*field.Day);
        else if (field.Text)
            params.text(stored.*field.Text);
        else
            params.int2(stored.*field.Whole);
    }
    return params;
}

// The record of a row selected by selectSql, whose columns start at 2.
PersonnelRecord recordOfRow(const PgResult& row, int r) {
    PersonnelRecord record;
    int c = 2;
    for (const RecordField& field : RecordFields) {
        if (field.Day)
            record.*field.Day = row.float8(r, c);
        else if (field.Text)
            record.*field.Text = row.text(r, c);
        else
            record.*field.Whole = row.int2(r, c);
        ++c;
    }
    return record;
}

// A server's text cannot hold the character 0, which a damaged record's fields may.
bool holdsZeroCharacter(const PersonnelRecord& record) {
    for (const RecordField& field : RecordFields)
        if (field.Text && (record.*field.Text).contains(QChar(0)))
            return true;
    return false;
}

void countRecord(DataFileCounts& counts, const PersonnelRecord& record) {
    ++counts.records;
    if (record.InactivationDate == 0)
        ++counts.current;
    else
        ++counts.previous;
}

UserRecord userOfRow(const PgResult& row, int r) {
    UserRecord user;
    user.DateCreated = row.float8(r, 0);
    user.FirstName = row.text(r, 1);
    user.LastName = row.text(r, 2);
    user.Password = row.text(r, 3);
    user.AccessLevel = row.int2(r, 4);
    user.Comments = row.text(r, 5);
    return user;
}

// What the user list would keep of user.
UserRecord userAsStored(const UserRecord& user) {
    return DecodeUserRecord(EncodeUserRecord(user).constData());
}

QByteArray concatenated(const PgResult& result) {
    QByteArray all;
    for (int r = 0; r < result.rows(); ++r)
        all += result.bytes(r, 0);
    return all;
}

QByteArray readWhole(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Vardel cannot read %1: %2").arg(path, file.errorString()));
    return file.readAll();
}

// Lines with their line ends, the last one possibly without.
QList<QByteArray> linesOf(const QByteArray& content) {
    QList<QByteArray> lines;
    qsizetype at = 0;
    while (at < content.size()) {
        const qsizetype end = content.indexOf('\n', at);
        const qsizetype next = end < 0 ? content.size() : end + 1;
        lines << content.mid(at, next - at);
        at = next;
    }
    return lines;
}

QString refusal(const QString& file, const QString& reason) {
    return QStringLiteral("%1 cannot move to the server unchanged: %2. Nothing was moved.").arg(file, reason);
}

} // namespace

ServerStore::ServerStore(const QString& connectionText) : m_db(std::make_unique<PgConnection>(connectionText)) {
    PrepareSchema(*m_db);
}

ServerStore::~ServerStore() = default;

QString ServerStore::Where() const {
    return m_db->where();
}

int ServerStore::BackendPid() const {
    return m_db->backendPid();
}

// Runs work inside a transaction opened with begin, or inside the one already open (a change within Commit).
template <typename Work> auto ServerStore::inTransaction(const char* begin, Work work) {
    if (m_inTransaction)
        return work();
    m_db->exec(begin);
    m_inTransaction = true;
    try {
        auto result = work();
        m_inTransaction = false;
        try {
            m_db->exec("COMMIT");
        } catch (const StoreUnavailable& lost) {
            // The commit may have reached the server before the connection broke: say so rather than claim
            // that nothing was saved.
            throw StoreUnavailable(lost.text() + QStringLiteral("\r\nThe server did not confirm the change, which "
                                                                "may or may not have been saved: look at the record "
                                                                "again before you repeat it."),
                                   FileOutcome::Unstated);
        }
        return result;
    } catch (const StoreUnavailable&) {
        m_inTransaction = false;
        throw;
    } catch (...) {
        m_inTransaction = false;
        if (m_db->isOpen())
            m_db->exec("ROLLBACK");
        throw;
    }
}

DataFileCounts ServerStore::Counts() {
    const PgResult result = m_db->exec("SELECT count(*), count(*) FILTER (WHERE inactivation_date = 0) FROM employee");
    const qint64 records = result.int8(0, 0);
    const qint64 current = result.int8(0, 1);
    return {records, current, records - current};
}

DataFileCounts ServerStore::Scan(const std::function<void(RecordKey key, const char* bytes)>& visit) {
    return inTransaction("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", [&] {
        DataFileCounts counts;
        QByteArray image(PersonnelLayout::RecordSize, ' ');
        m_db->stream(selectSql() + " ORDER BY key", PgParams(), [&](const PgResult& row) {
            const PersonnelRecord record = recordOfRow(row, 0);
            countRecord(counts, record);
            EncodePersonnelRecord(record, image.data());
            visit(row.int4(0, 0), image.constData());
        });
        return counts;
    });
}

bool ServerStore::Read(RecordKey key, PersonnelRecord& record, qint64& version) {
    const PgResult result = m_db->exec(selectSql() + " WHERE key = $1", PgParams().int4(key));
    if (result.rows() == 0) {
        record = PersonnelRecord();
        version = 0;
        return false;
    }
    record = recordOfRow(result, 0);
    version = result.int8(0, 1);
    return true;
}

RecordKey ServerStore::Append(const PersonnelRecord& record) {
    PgParams params;
    return m_db->exec(insertSql(), bindRecord(params, record)).int4(0, 0);
}

void ServerStore::Update(RecordKey key, const PersonnelRecord& record, qint64 version) {
    PgParams params;
    params.int4(key).int8(version);
    if (m_db->exec(updateSql(), bindRecord(params, record)).affected() == 0)
        throwConflict(key, ListedName(record), true);
}

RemovalResult ServerStore::Remove(RecordKey key, const QString& listedName, qint64 version) {
    return inTransaction("BEGIN", [&] {
        RemovalResult result;
        PersonnelRecord record;
        qint64 stored = 0;
        const PgResult row = m_db->exec(selectSql() + " WHERE key = $1 FOR UPDATE", PgParams().int4(key));
        if (row.rows() == 0) {
            // A key that was never given is simply nobody; one that was given and removed is a conflict.
            if (m_db->exec("SELECT 1 FROM removed_employee WHERE key = $1", PgParams().int4(key)).rows() > 0)
                throwConflict(key, listedName, false);
            result.RecordsLeft = static_cast<qint32>(Counts().records);
            return result;
        }
        record = recordOfRow(row, 0);
        stored = row.int8(0, 1);
        // A desk that shows a version is told who changed the employee since, even when the change was the name.
        if (version != 0 && version != stored)
            throwConflict(key, ListedName(record), false);
        if (!listedName.isNull() && ListedName(record) != listedName) {
            result.RecordsLeft = static_cast<qint32>(Counts().records);
            return result;
        }
        m_db->exec("INSERT INTO removed_employee (key, identity) VALUES ($1, $2)",
                   PgParams().int4(key).text(identityOf(key)));
        m_db->exec("DELETE FROM employee WHERE key = $1", PgParams().int4(key));
        result.Removed = true;
        result.RecordsLeft = static_cast<qint32>(Counts().records);
        return result;
    });
}

void ServerStore::ReplaceAll(qint64 count, const std::function<PersonnelRecord(qint64 n)>& record) {
    inTransaction("BEGIN", [&] {
        // The keys of those replaced are never given again: a desk still showing one of them finds it removed.
        m_db->exec("INSERT INTO removed_employee (key, identity) SELECT key, '' FROM employee "
                   "ON CONFLICT (key) DO NOTHING");
        m_db->exec("DELETE FROM employee");
        for (qint64 n = 1; n <= count; ++n)
            Append(record(n));
        return 0;
    });
}

std::pair<int, int> ServerStore::StampRank(RecordKey key) {
    const PgResult result = m_db->exec("SELECT count(*) FILTER (WHERE key <= $1), count(*) FROM employee "
                                       "WHERE record_created = (SELECT record_created FROM employee WHERE key = $1)",
                                       PgParams().int4(key));
    return {static_cast<int>(result.int8(0, 0)), static_cast<int>(result.int8(0, 1))};
}

QString ServerStore::identityOf(RecordKey key) {
    const PgResult row = m_db->exec("SELECT record_created FROM employee WHERE key = $1", PgParams().int4(key));
    if (row.rows() == 0)
        return QString();
    const auto [rank, tied] = StampRank(key);
    return StampIdentity(row.float8(0, 0), tied > 1 ? rank : 0);
}

void ServerStore::throwConflict(RecordKey key, const QString& name, bool updating) {
    // The latest history line for the record, other than the lines of the change being refused, says who changed or
    // removed it and when.
    QString identity = identityOf(key);
    const bool removed = identity.isNull();
    if (removed) {
        const PgResult row = m_db->exec("SELECT identity FROM removed_employee WHERE key = $1", PgParams().int4(key));
        identity = row.rows() > 0 ? row.text(0, 0) : QString();
    }
    QList<ChangeEvent> events;
    if (!identity.isEmpty()) {
        const QString stamp = identity.section(QStringLiteral(" #"), 0, 0);
        const PgResult lines =
            m_db->exec("SELECT text FROM change_history WHERE (identity = $1 OR identity LIKE $2) AND ($3 = 0 OR "
                       "line_number < $3) "
                       "ORDER BY line_number",
                       PgParams().text(stamp).text(stamp + QStringLiteral(" #%")).int8(m_ownLinesFrom));
        for (int r = 0; r < lines.rows(); ++r)
            if (const std::optional<ChangeEvent> event = ParseEventText(lines.bytes(r, 0)))
                events << *event;
    }
    std::optional<ChangeEvent> latest;
    if (removed) {
        for (const ChangeEvent& event : events)
            if (event.Identity == identity)
                latest = event;
    } else if (const QList<ChangeEvent> own = EventsOfRecord(events, identity); !own.isEmpty()) {
        latest = own.first();
    }

    const QString who = latest ? latest->User : QString();
    const QDateTime when = latest ? latest->When : QDateTime();
    const QLocale c = QLocale::c();
    const QString byWhom = latest ? QStringLiteral(" by %1 on %2 at %3")
                                        .arg(who, c.toString(when, QStringLiteral("MM/dd/yyyy")),
                                             c.toString(when, QStringLiteral("h:mm AP")))
                                  : QStringLiteral(" at another desk");
    const QString what = removed ? QStringLiteral("removed") : QStringLiteral("changed");
    QString text = QStringLiteral("%1 was %2%3, after this form showed the record. ").arg(name, what, byWhom);
    if (updating)
        text += removed ? QStringLiteral("Nothing of your change was saved.")
                        : QStringLiteral("Nothing of your change was saved; the form now shows the record as it is.");
    else
        text += removed ? QStringLiteral("Nothing was removed.")
                        : QStringLiteral("Nothing was removed; the form now shows the record as it is.");
    throw StoreConflict(text, who, when, removed);
}

void ServerStore::Commit(const QList<ChangeEvent>& events, const std::function<void()>& change) {
    inTransaction("BEGIN", [&] {
        const auto forget = qScopeGuard([&] { m_ownLinesFrom = 0; });
        try {
            m_db->exec("SELECT pg_advisory_xact_lock($1)", PgParams().int8(kHistoryLock));
            const PgResult last = m_db->exec("SELECT hash FROM change_history ORDER BY line_number DESC LIMIT 1");
            QByteArray hash = last.rows() > 0 ? last.bytes(0, 0) : ChainSeed();
            for (const ChangeEvent& event : events) {
                const QByteArray text = EventText(event);
                hash = ChainHash(hash, text);
                const PgResult line = m_db->exec(
                    "INSERT INTO change_history (text, hash, identity, employee) VALUES ($1, $2, $3, $4) "
                    "RETURNING line_number",
                    PgParams().bytes(text).text(QString::fromLatin1(hash)).text(event.Identity).text(event.Employee));
                if (m_ownLinesFrom == 0)
                    m_ownLinesFrom = line.int8(0, 0);
            }
        } catch (const StoreUnavailable&) {
            throw;
        } catch (const FileError& error) {
            throw ChangeLogError(error.text(), FileOutcome::NotWritten);
        }
        change();
        return 0;
    });
}

QByteArray ServerStore::History() {
    const PgResult lines = m_db->exec("SELECT text, hash FROM change_history ORDER BY line_number");
    QByteArray all;
    for (int r = 0; r < lines.rows(); ++r)
        all += lines.bytes(r, 0) + '\t' + lines.bytes(r, 1) + '\n';
    return all;
}

QList<UserRecord> ServerStore::Users() {
    const PgResult result = m_db->exec("SELECT date_created, first_name, last_name, password, access_level, "
                                       "comments FROM app_user ORDER BY position");
    QList<UserRecord> users;
    for (int r = 0; r < result.rows(); ++r)
        users << userOfRow(result, r);
    return users;
}

void ServerStore::WriteUser(int n, const UserRecord& user) {
    const UserRecord stored = userAsStored(user);
    const auto bind = [&] {
        return PgParams()
            .int4(n)
            .float8(stored.DateCreated)
            .text(stored.FirstName)
            .text(stored.LastName)
            .text(stored.Password)
            .int2(stored.AccessLevel)
            .text(stored.Comments);
    };
    inTransaction("BEGIN", [&] {
        const qint64 updated =
            m_db->exec("UPDATE app_user SET date_created = $2, first_name = $3, last_name = $4, password = $5, "
                       "access_level = $6, comments = $7 WHERE position = $1",
                       bind())
                .affected();
        if (updated == 0)
            m_db->exec("INSERT INTO app_user (position, date_created, first_name, last_name, password, access_level, "
                       "comments) SELECT $1, $2, $3, $4, $5, $6, $7 "
                       "WHERE $1 = (SELECT count(*) + 1 FROM app_user)",
                       bind());
        return 0;
    });
    if (m_usersOpen) {
        if (n > m_openUsers.size())
            m_openUsers.append(user);
        else
            m_openUsers[n - 1] = user;
    }
}

void ServerStore::Exclusive(const std::function<void()>& work) {
    // One transaction, and in it the store's one-writer lock: what work reads is still so when it writes, whichever
    // desk runs the same kind of work at the same moment (two imports of one file add its rows once). An advisory
    // lock, so that it needs no privilege on the tables, and it ends with the transaction whatever happens.
    inTransaction("BEGIN", [&] {
        m_db->exec("SELECT pg_advisory_xact_lock(7130021)");
        work();
        return 0;
    });
}

bool ServerStore::HasUsers() {
    return !Users().isEmpty();
}

qint64 ServerStore::OpenUserList() {
    m_openUsers = Users();
    m_usersOpen = true;
    return m_openUsers.size();
}

void ServerStore::CloseUserList() {
    m_usersOpen = false;
    m_openUsers.clear();
}

void ServerStore::ReadUser(int n, UserRecord& user) {
    if (!m_usersOpen)
        throw FileError(QStringLiteral("Bad file name or number"));
    user = n >= 1 && n <= m_openUsers.size() ? m_openUsers.at(n - 1) : UserRecord();
}

bool ServerStore::HasUserLog(bool) {
    return !UserLog().isEmpty();
}

QString ServerStore::NoEmployeeText(RecordKey key) {
    return QStringLiteral("%1 holds no employee with key %2").arg(Where()).arg(key);
}

bool ServerStore::HasData() {
    return Counts().records > 0;
}

QString ServerStore::FolderToolRefusal(const QString& command) const {
    return QStringLiteral("%1 works on a data folder's own files; the records are on the server %2, shared by every "
                          "desk, and nothing was changed")
        .arg(command, Where());
}

QString ServerStore::RestoreRefusal() const {
    // A restore would put one desk's files back under every other desk: the data goes back with server-import
    // into an empty database, which the server's administrator decides on.
    const QString crLf = QStringLiteral("\r\n");
    return AppTitle + QStringLiteral(" keeps its records on the server ") + Where() +
           QStringLiteral(". A backup goes back onto a server with") + crLf +
           QStringLiteral("vardel-data server-import --server URL --data-dir BACKUP-FOLDER") + crLf +
           QStringLiteral("into an empty database. Nothing was restored.");
}

void ServerStore::ReadMany(const QList<RecordKey>& keys,
                           const std::function<void(qsizetype index, const char* bytes)>& visit) {
    // One consistent read of the store; a key may stand more than once in a list.
    QMultiHash<RecordKey, qsizetype> places;
    for (qsizetype i = 0; i < keys.size(); ++i)
        places.insert(keys[i], i);
    Scan([&](RecordKey key, const char* bytes) {
        for (auto it = places.find(key); it != places.end() && it.key() == key; it = places.erase(it))
            visit(*it, bytes);
    });
    const QByteArray blank = EncodePersonnelRecord(PersonnelRecord());
    for (auto it = places.cbegin(); it != places.cend(); ++it)
        visit(*it, blank.constData());
}

void ServerStore::AppendMany(const std::vector<PersonnelRecord>& records) {
    // One by one inside one transaction (the change's own, when there is one): all of them or none.
    inTransaction("BEGIN", [&] {
        for (const PersonnelRecord& record : records)
            Append(record);
        return 0;
    });
}

void ServerStore::RemoveUser(int n) {
    inTransaction("BEGIN", [&] {
        m_db->exec("DELETE FROM app_user WHERE position = $1", PgParams().int4(n));
        m_db->exec("UPDATE app_user SET position = position - 1 WHERE position > $1", PgParams().int4(n));
        return 0;
    });
}

void ServerStore::AppendUserLog(const QByteArray& line) {
    m_db->exec("INSERT INTO user_log (line) VALUES ($1)", PgParams().bytes(line));
}

QByteArray ServerStore::UserLog() {
    return concatenated(m_db->exec("SELECT line FROM user_log ORDER BY line_number"));
}

void ServerStore::ImportFolder(const QString& folder) {
    const QDir dir(folder);
    const QByteArray data = readWhole(dir.filePath(QStringLiteral("Vardel.Data")));
    const QByteArray users = readWhole(dir.filePath(UserListFileName));
    const QByteArray userLog = readWhole(dir.filePath(UserLogFileName));
    const QByteArray history = readWhole(dir.filePath(ChangeLogFileName));

    // Every part is checked before anything is written: what cannot come back byte for byte is refused, not
    // changed.
    constexpr int size = PersonnelLayout::RecordSize;
    if (data.size() % size != 0)
        throw FileError(refusal(QStringLiteral("Vardel.Data"),
                                QStringLiteral("its last record is cut off (open the folder in Vardel once to "
                                               "complete it)")));
    std::vector<PersonnelRecord> records;
    for (qsizetype at = 0; at < data.size(); at += size) {
        const PersonnelRecord record = DecodePersonnelRecord(data.constData() + at);
        const bool exact = EncodePersonnelRecord(record) == data.mid(at, size) && !holdsZeroCharacter(record);
        if (!exact)
            throw FileError(refusal(QStringLiteral("Vardel.Data"),
                                    QStringLiteral("record %1 holds bytes its fields cannot keep (leading blanks, "
                                                   "zero bytes or bytes outside the code page)")
                                        .arg(at / size + 1)));
        records.push_back(record);
    }
    if (users.size() % UserRecordLength != 0)
        throw FileError(refusal(UserListFileName, QStringLiteral("its last record is cut off")));
    QList<UserRecord> userRecords;
    for (qsizetype at = 0; at < users.size(); at += UserRecordLength) {
        const UserRecord user = DecodeUserRecord(users.constData() + at);
        const bool zero = (user.FirstName + user.LastName + user.Password + user.Comments).contains(QChar(0));
        if (EncodeUserRecord(user) != users.mid(at, UserRecordLength) || zero)
            throw FileError(
                refusal(UserListFileName,
                        QStringLiteral("record %1 holds bytes its fields cannot keep").arg(at / UserRecordLength + 1)));
        userRecords << user;
    }
    const ChainCheck chain = CheckChain(history);
    if (chain.State != ChainCheck::Intact)
        throw FileError(
            refusal(ChangeLogFileName, QStringLiteral("its chain does not check from line %1 on (vardel-data history "
                                                      "--verify tells more)")
                                           .arg(chain.BadLine)));

    inTransaction("BEGIN", [&] {
        m_db->exec("LOCK TABLE employee, app_user, user_log, change_history IN EXCLUSIVE MODE");
        const PgResult held = m_db->exec("SELECT (SELECT count(*) FROM employee) + (SELECT count(*) FROM app_user) "
                                         "+ (SELECT count(*) FROM user_log) + (SELECT count(*) FROM change_history)");
        if (held.int8(0, 0) > 0)
            throw FileError(QStringLiteral("The database on %1 already holds data. A folder moves only into an "
                                           "empty database; nothing was moved.")
                                .arg(Where()));
        for (const PersonnelRecord& record : records)
            Append(record);
        for (qsizetype n = 0; n < userRecords.size(); ++n)
            WriteUser(static_cast<int>(n + 1), userRecords[n]);
        for (const QByteArray& line : linesOf(userLog))
            AppendUserLog(line);
        for (const QByteArray& line : linesOf(history)) {
            const QByteArray text = line.left(line.size() - 66);
            const std::optional<ChangeEvent> event = ParseEventText(text);
            m_db->exec("INSERT INTO change_history (text, hash, identity, employee) VALUES ($1, $2, $3, $4)",
                       PgParams()
                           .bytes(text)
                           .text(QString::fromLatin1(line.mid(line.size() - 65, 64)))
                           .text(event ? event->Identity : QString())
                           .text(event ? event->Employee : QString()));
        }
        return 0;
    });
}

QList<std::pair<QString, QByteArray>> ServerStore::ExportFiles() {
    return inTransaction("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", [&] {
        QByteArray data;
        Scan([&](RecordKey, const char* bytes) { data.append(bytes, PersonnelLayout::RecordSize); });
        QByteArray users;
        for (const UserRecord& user : Users())
            users += EncodeUserRecord(user);
        return QList<std::pair<QString, QByteArray>>{{QStringLiteral("Vardel.Data"), data},
                                                     {UserListFileName, users},
                                                     {UserLogFileName, UserLog()},
                                                     {ChangeLogFileName, History()}};
    });
}

void ServerStore::ExportFolder(const QString& folder) {
    const QDir dir(folder);
    const QList<std::pair<QString, QByteArray>> files = ExportFiles();
    for (const auto& [name, content] : files)
        if (QFileInfo::exists(dir.filePath(name)))
            throw FileError(QStringLiteral("%1 already holds %2. The server's data goes only into a folder without "
                                           "data files; nothing was written.")
                                .arg(QDir::toNativeSeparators(folder), name));
    // Every file is written and flushed in a hidden folder beside the target first, so that an export that is killed
    // or fails leaves no folder that looks like a whole copy of the server's data.
    ClearAbandonedStagingFolders(QFileInfo(dir.absolutePath()).absolutePath(),
                                 [&dir](const QString& target) { return target == dir.dirName(); });
    StagingFolder staging(dir.absolutePath());
    for (const auto& [name, content] : files)
        if (!content.isEmpty())
            WriteWholeFile(QDir(staging.path()).filePath(name), content);
    if (dir.isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        staging.publish(true);
        return;
    }
    // A folder that holds other files cannot be replaced: the files move in one by one, the data file last, so that
    // the folder looks like a data folder only once every other file is there.
    QList<std::pair<QString, QByteArray>> order = files;
    std::stable_partition(order.begin(), order.end(), [](const auto& file) { return file.first != DataFileName; });
    for (const auto& [name, content] : order)
        if (!content.isEmpty())
            ReplaceFileAtomically(QDir(staging.path()).filePath(name), dir.filePath(name));
}
