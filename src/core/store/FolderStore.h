#pragma once

#include "core/store/PersonnelStore.h"

// The data folder as the store: "Vardel.Data" (DataFileName), "User.List", "User.Log" and "Change.Log", written as
// they always were, each write under the folder's lock. A key is a slot.
//
// Beside the store's calls, the folder keeps the open-work-close pattern of its modules: OpenDataFile holds the
// data file open and the folder locked until CloseDataFile, so that a look at a record and the write after it are
// one change; Read, Update and Append use the open file while there is one, and otherwise open, lock and close it
// for the one call. The user list has the same pattern.
class FolderStore : public PersonnelStore {
public:
    FolderStore() = default;
    ~FolderStore() override;

    bool IsServer() const override { return false; }
    QString Where() const override;
    QString RecordsName() const override { return DataFileName; }

    DataFileCounts Counts() override;
    qint64 RecordCountHint() override;
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
    bool KeysNeverMove() const override { return false; }
    QString RestoreRefusal() const override { return QString(); }
    QString FolderToolRefusal(const QString&) const override { return QString(); }
    QList<std::pair<QString, QByteArray>> BackupFiles() override { return {}; }

    void Commit(const QList<ChangeEvent>& events, const std::function<void()>& change) override;
    QByteArray History() override;
    QByteArray HistoryStamp() override;

    QList<UserRecord> Users() override;
    void WriteUser(int n, const UserRecord& user) override;
    void RemoveUser(int n) override;
    void AppendUserLog(const QByteArray& line) override;
    QByteArray UserLog() override;
    bool HasUserLog(bool nonEmpty) override;
    bool HasUsers() override;

    // ---- The data file held open from OpenDataFile to CloseDataFile ----
    // Opens DataFileName under the folder's lock (creating it empty when missing) and counts it; the counts of an
    // unchanged file come from the last count.
    DataFileCounts OpenDataFile();
    void CloseDataFile();
    bool DataFileIsOpen() const;

    qint64 OpenUserList() override;
    void CloseUserList() override;
    bool UserListIsOpen() const override;
    void ReadUser(int n, UserRecord& user) override;
};

// The active store when it is the folder (or a store built on it), else nullptr: for the data file and user list
// modules of this layer, which keep the folder's open-work-close pattern.
FolderStore* ActiveFolder();

// The folder's change history at path with its change, both or neither: the lines are appended, change runs, and
// the lines are taken back when change throws.
void CommitToChangeLog(const QString& path, const QList<ChangeEvent>& events, const std::function<void()>& change);

// Rewrites DataFileName with only the records for which keep holds, through "TempFile.$$$" (RewriteDataFile in
// the folder).
qint32 RewriteFolderDataFile(const std::function<bool(const PersonnelRecord&)>& keep);
