#pragma once

#include "core/history/ChangeLog.h"
#include "core/store/DataFile.h"
#include "core/base/FileError.h"
#include "core/record/PersonnelRecord.h"
#include "core/employees/EmployeeRemoval.h"
#include "core/users/UserList.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

// Where the records live: the data folder (the program's own files, one writer at a time under the folder's
// lock) or a PostgreSQL server shared by several desks. The data file, user list, user log and change history
// modules call the active store; the windows, the list, the entry checks and the printouts never ask which one
// it is.
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

class PersonnelStore {
public:
    virtual ~PersonnelStore() = default;

    virtual bool IsServer() const = 0;
    // For titles and messages: the folder's path, or the server's connection text without any password.
    virtual QString Where() const = 0;

    // ---- Employees ----
    // The counts as they are now.
    virtual DataFileCounts Counts() = 0;
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
    // Replaces all employees with records, in their order (an import into an empty store, a conversion, a demo).
    virtual void ReplaceAll(const std::vector<PersonnelRecord>& records) = 0;
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

    // ---- Users ----
    // The user list in its order.
    virtual QList<UserRecord> Users() = 0;
    // Stores user n (from 1); n = Users().size() + 1 adds.
    virtual void WriteUser(int n, const UserRecord& user) = 0;
    // Removes user n; the later ones move up.
    virtual void RemoveUser(int n) = 0;
    // Appends one line (its CR LF included) to the user log, as "User.Log" holds it.
    virtual void AppendUserLog(const QByteArray& line) = 0;
    virtual QByteArray UserLog() = 0;
};

// The version of CurrentRecord as ReadSlot or ReadOneSlot last read it (always 0 in the folder): what a save or
// removal of the shown employee hands to Update or Remove.
extern qint64 CurrentVersion;

// The store the modules use. Until one is set, the folder of DataFileName.
PersonnelStore& ActiveStore();
// Makes store the active one (nullptr goes back to the folder). The program and vardel-data set it once, before
// the first read.
void SetActiveStore(std::unique_ptr<PersonnelStore> store);
// True when the active store is a server.
bool UsingServer();

// The server connection text the user chose, or empty for the folder: --server URL, else VARDEL_SERVER, else
// the setting "Server=". Never holds a password of the user's typing: libpq reads ~/.pgpass and PGPASSWORD.
QString ChosenServer(const QString& commandLineValue, const QString& settingValue);
