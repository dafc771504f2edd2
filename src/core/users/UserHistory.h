#pragma once

#include "core/history/ChangeLog.h"
#include "core/users/UserList.h"

// The user list's changes in the change history. A user is named "Last, First" and identified by the moment he
// or she was added; a password is never written, only that it changed.

QList<ChangeEvent> UserEvents(const QString& event, const UserRecord& before, const UserRecord& after);

// WriteUserRecord(n) of CurrentUser with the lines of its change from before (a blank record for a user added),
// both or neither; the user list is closed when ChangeLogError is thrown.
void WriteUserRecordWithHistory(qint32 n, const UserRecord& before);

// RemoveUser(n) with its "user deleted" line, both or neither.
void RemoveUserWithHistory(qint32 n);
