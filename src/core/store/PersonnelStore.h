#pragma once

#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/history/ChangeLog.h"
#include "core/record/PersonnelRecord.h"
#include "core/store/DataFile.h"
#include "core/store/UserRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

// Where the records live: the data folder (the program's own files, one writer at a time under the folder's
// lock) or a PostgreSQL server shared by several desks. Every record, user and history line goes through the
// active store, and nothing outside the two implementations asks which one it is: where the two differ in what
// they can do, the store says so through a question of its own (KeysNeverMove, RestoreRefusal, ...).
//
// An employee's key is what the list's hidden column carries. In the folder it is the slot (from 1, the order of
// adding; a removal moves the later ones up). On the server it is the row's key, which never changes and is never
// given again, so a removal at another desk cannot make this desk's list point at somebody else. Both order
// employees by key in the order they were added.
using RecordKey = qint32;

// A save or removal found the record changed or removed by somebody else since it was read: nothing was written.
// Who and When come from the change history's latest line for the record (empty when it has none).
class StoreConflict : public FileError {
public:
    StoreConflict(const QString& text, const QString& who, const QDateTime& when, bool removed)
        : FileError(text, FileOutcome::NotWritten), m_who(who), m_when(when), m_removed(removed) {}
    const QString& who() const { return m_who; }
    const QDateTime& when() const { return m_when; }
    // True when the record is gone rather than changed.
    bool removed() const { return m_removed; }

private:
    QString m_who;
    QDateTime m_when;
    bool m_removed;
};

// The server could not be reached, or the connection was lost during work. What was being written was rolled
// back whole (the text says so through FileOutcome::NotWritten where that is known).
class StoreUnavailable : public FileError {
public:
    using FileError::FileError;
};

struct RemovalResult {
    // False when nothing was removed: the key holds nobody, or someone other than the employee the list named (the
    // store was changed by another program after the list was built).
    bool Removed = false;
    // Records in the store afterwards; 0 means the folder's data file is gone.
    qint32 RecordsLeft = 0;
};

class PersonnelStore {
public:
    virtual ~PersonnelStore() = default;

    virtual bool IsServer() const = 0;
    // For titles and messages: the folder's path, or the server's connection text without any password.
    virtual QString Where() const = 0;
    // What holds the employees, as a message names it: the data file's name, or the server's connection text.
    virtual QString RecordsName() const = 0;

    // ---- Employees ----
    // The counts as they are now.
    virtual DataFileCounts Counts() = 0;
    // About how many employees there are, at no cost worth counting: for reserving room before a scan.
    virtual qint64 RecordCountHint() = 0;
    // Every employee once, in key order, from one consistent state of the store (no write at another desk shows
    // half). bytes is the record's 5000-byte image (EncodePersonnelRecord), valid only during the call. Returns
    // the counts of what was visited.
    virtual DataFileCounts Scan(const std::function<void(RecordKey key, const char* bytes)>& visit) = 0;
    // The employee with key into record and his or her version; false (record blank, version 0) when there is
    // none.
    virtual bool Read(RecordKey key, PersonnelRecord& record, qint64& version) = 0;
    // Adds record after every other one and returns its key.
    virtual RecordKey Append(const PersonnelRecord& record) = 0;
    // Writes record over the employee with key, provided the stored version is still version (the folder, with one
    // writer at a time, checks the identity under its lock instead, and keeps version 0). Throws StoreConflict
    // otherwise, having written nothing.
    virtual void Update(RecordKey key, const PersonnelRecord& record, qint64 version) = 0;
    // Removes the employee with key when his or her listed name ("Last, First") is still listedName (any, when
    // listedName is null) and, on the server, the version is still version. RemovalResult::Removed is false when
    // the key holds nobody or somebody else; a server record changed since it was read throws StoreConflict.
    virtual RemovalResult Remove(RecordKey key, const QString& listedName, qint64 version) = 0;
    // Replaces all employees with count records, record(n) giving the nth (from 1), in that order (an import into an
    // empty store, a conversion, a demo). The records are made as they are written, so a large replacement is
    // never held whole.
    virtual void ReplaceAll(qint64 count, const std::function<PersonnelRecord(qint64 n)>& record) = 0;
    void ReplaceAll(const std::vector<PersonnelRecord>& records) {
        ReplaceAll(qint64(records.size()), [&records](qint64 n) { return records[size_t(n - 1)]; });
    }
    // The employees with keys from one consistent state of the store: visit gets each key's place in keys and the
    // record's 5000-byte image (valid only during the call; a blank record's for a key that holds nobody), once per
    // key, in no set order. A list's records are read so without holding them all at once.
    virtual void ReadMany(const QList<RecordKey>& keys,
                          const std::function<void(qsizetype index, const char* bytes)>& visit) = 0;
    // Adds records after every other one, all of them or none (a failed write takes back what it wrote).
    virtual void AppendMany(const std::vector<PersonnelRecord>& records) = 0;
    // Runs work as the only writer: in the folder under the folder's lock, so that what work reads is still so
    // when it writes; on a server each write checks the version it read in its own transaction instead.
    virtual void Exclusive(const std::function<void()>& work) = 0;
    // Whether there is anything to back up: the folder's data file (even empty), a server's employees.
    virtual bool HasData() = 0;
    // True when a key, once given, never names anybody else (a server's row keys); false when keys move with a
    // removal (the folder's slots), so that a shown record must be found again by its identity before a save.
    virtual bool KeysNeverMove() const = 0;
    // That key holds nobody, as a refusal names it.
    virtual QString NoEmployeeText(RecordKey key) = 0;
    // Why a command that works on the data folder's own files (command names it) cannot run on this store: it
    // would replace or convert every desk's records at once. Empty when it can.
    virtual QString FolderToolRefusal(const QString& command) const = 0;
    // Why a restore from a backup folder cannot replace this store's data, or empty when it can.
    virtual QString RestoreRefusal() const = 0;
    // The files a backup writes from the store rather than copies from the data folder, with their contents, as
    // the folder's files would hold them; empty content means the store holds no such part. The folder has none.
    virtual QList<std::pair<QString, QByteArray>> BackupFiles() = 0;
    // Among the employees created at the same instant as key's, key's place (from 1) and how many they are:
    // the change history's identity ranks tied creation stamps.
    virtual std::pair<int, int> StampRank(RecordKey key) = 0;

    // ---- A change and its history, both or neither ----
    // Appends the events' lines to the change history and runs change (which calls this store's writes); when
    // change throws, the lines are taken back (the server rolls back the whole transaction) and the error goes
    // on. Throws ChangeLogError, having run nothing, when the history cannot be written.
    virtual void Commit(const QList<ChangeEvent>& events, const std::function<void()>& change) = 0;
    // The change history as "Change.Log" holds it: whole lines with their hashes, oldest first.
    virtual QByteArray History() = 0;
    // Changes whenever History() may have: a reader that keeps the parsed history reads it again when the stamp
    // differs from the one it read it under. Empty means no stamp can be had, and the history is read every time.
    virtual QByteArray HistoryStamp() = 0;

    // ---- Users ----
    // The user list in its order.
    virtual QList<UserRecord> Users() = 0;
    // Whether anybody is on the user list (in the folder: whether "User.List" is there).
    virtual bool HasUsers() = 0;
    // The user list held open from OpenUserList to CloseUserList, as the seed's modules work with it: the open
    // returns the number of users, and ReadUser gives user n (from 1) of the open list, a blank one past the end.
    virtual qint64 OpenUserList() = 0;
    virtual void CloseUserList() = 0;
    virtual bool UserListIsOpen() const = 0;
    virtual void ReadUser(int n, UserRecord& user) = 0;
    // Stores user n (from 1); n = Users().size() + 1 adds.
    virtual void WriteUser(int n, const UserRecord& user) = 0;
    // Removes user n; the later ones move up.
    virtual void RemoveUser(int n) = 0;
    // Appends one line (its CR LF included) to the user log, as "User.Log" holds it.
    virtual void AppendUserLog(const QByteArray& line) = 0;
    // The user log as stored, empty when there is none. Throws FileError when it cannot be read.
    virtual QByteArray UserLog() = 0;
    // Whether there is a user log (in the folder: whether "User.Log" is there, and with nonEmpty, not empty).
    virtual bool HasUserLog(bool nonEmpty) = 0;
};

// The version of CurrentRecord as ReadSlot or ReadOneSlot last read it (always 0 in the folder): what a save or
// removal of the shown employee hands to Update or Remove.
extern qint64 CurrentVersion;

// The store the modules use. Until one is set, the folder of DataFileName.
PersonnelStore& ActiveStore();
// Makes store the active one (nullptr goes back to the folder). The program and vardel-data set it once, before
// the first read.
void SetActiveStore(std::unique_ptr<PersonnelStore> store);
// The trace and its change together, or neither: the active store's Commit.
void CommitWithHistory(const QList<ChangeEvent>& events, const std::function<void()>& change);
// The active store's change history as "Change.Log" holds it.
QByteArray ActiveChangeLog();

// The server connection text the user chose, or empty for the folder: --server URL, else VARDEL_SERVER, else
// the setting "Server=". Never holds a password of the user's typing: libpq reads ~/.pgpass and PGPASSWORD.
QString ChosenServer(const QString& commandLineValue, const QString& settingValue);
