#pragma once

#include "core/store/PersonnelStore.h"

#include <memory>

class PgConnection;

// The records on a PostgreSQL server shared by several desks, over one connection. Opening prepares the schema
// (creates it in an empty database, upgrades an older one, refuses a newer one). A save or removal checks the
// version it read; a change and its history lines are one transaction, the history's hash chain continued from
// the last stored line under a lock, so that two desks never fork it. A version of 0 (what a caller that never
// read the row hands over, as the folder's callers do) checks nothing.
class ServerStore : public PersonnelStore {
public:
    // Throws StoreUnavailable when the server cannot be reached, FileError when its schema is newer.
    explicit ServerStore(const QString& connectionText);
    ~ServerStore() override;

    bool IsServer() const override { return true; }
    QString Where() const override;
    QString RecordsName() const override { return Where(); }

    DataFileCounts Counts() override;
    // A reserve grows as it must: the server is not asked for a count just for that.
    qint64 RecordCountHint() override { return 0; }
    DataFileCounts Scan(const std::function<void(RecordKey key, const char* bytes)>& visit) override;
    bool Read(RecordKey key, PersonnelRecord& record, qint64& version) override;
    RecordKey Append(const PersonnelRecord& record) override;
    void Update(RecordKey key, const PersonnelRecord& record, qint64 version) override;
    RemovalResult Remove(RecordKey key, const QString& listedName, qint64 version) override;
    using PersonnelStore::ReplaceAll;
    void ReplaceAll(qint64 count, const std::function<PersonnelRecord(qint64 n)>& record) override;
    std::pair<int, int> StampRank(RecordKey key) override;
    void ReadMany(const QList<RecordKey>& keys,
                  const std::function<void(qsizetype index, const char* bytes)>& visit) override;
    void AppendMany(const std::vector<PersonnelRecord>& records) override;
    void Exclusive(const std::function<void()>& work) override;
    bool HasData() override;
    QString NoEmployeeText(RecordKey key) override;
    bool KeysNeverMove() const override { return true; }
    QString RestoreRefusal() const override;
    QString FolderToolRefusal(const QString& command) const override;
    QList<std::pair<QString, QByteArray>> BackupFiles() override { return ExportFiles(); }

    void Commit(const QList<ChangeEvent>& events, const std::function<void()>& change) override;
    QByteArray History() override;
    QByteArray HistoryStamp() override { return QByteArray(); }

    QList<UserRecord> Users() override;
    void WriteUser(int n, const UserRecord& user) override;
    void RemoveUser(int n) override;
    void AppendUserLog(const QByteArray& line) override;
    QByteArray UserLog() override;
    bool HasUserLog(bool nonEmpty) override;
    bool HasUsers() override;
    qint64 OpenUserList() override;
    void CloseUserList() override;
    bool UserListIsOpen() const override { return m_usersOpen; }
    void ReadUser(int n, UserRecord& user) override;

    // Moves a data folder's "Vardel.Data", "User.List", "User.Log" and "Change.Log" into the database, which must
    // hold none of them yet; all or nothing. Refuses, with the reason, files that could not come back byte for
    // byte (a cut-off last record, text the record's fields cannot hold, a history whose chain does not check).
    void ImportFolder(const QString& folder);
    // Writes the database's data as those files into folder, which must hold none of them; a part that holds
    // nothing leaves no file, as in the folder. Read from one consistent state of the database.
    void ExportFolder(const QString& folder);

    // The files ExportFolder writes, by name, from one consistent state of the database; empty contents for the
    // parts that hold nothing. Backups on a server take these in place of the folder's files.
    QList<std::pair<QString, QByteArray>> ExportFiles();

    // The server process serving this store: for tests that cut its connection.
    int BackendPid() const;

private:
    template <typename Work> auto inTransaction(const char* begin, Work work);
    QString conflictText(RecordKey key, const QString& name, bool updating, bool& removed, QString& who,
                         QDateTime& when);
    void throwConflict(RecordKey key, const QString& name, bool updating);
    QString identityOf(RecordKey key);

    std::unique_ptr<PgConnection> m_db;
    bool m_inTransaction = false;
    // The user list between OpenUserList and CloseUserList, read whole at the open: a few dozen users at most.
    QList<UserRecord> m_openUsers;
    bool m_usersOpen = false;
    // The first history line of the change being committed: a conflict names who changed the record before it.
    qint64 m_ownLinesFrom = 0;
};
