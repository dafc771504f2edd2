#pragma once

#include "core/base/Session.h"
#include "core/store/UserRecord.h"

#include <QByteArray>
#include <QString>

// Record count as of the last OpenUserList: the file length / 500, halves to even, 16-bit.
extern qint16 UserListCount;
// The shared record buffer: every read fills it, every write stores it.
extern UserRecord CurrentUser;

// Whether anybody is on the user list (in the folder: whether "User.List" is there), and whether the user log has
// anything in it (in the folder: whether "User.Log" is there, and, with nonEmpty, longer than nothing).
bool UserListPresent();
bool UserLogPresent(bool nonEmpty = false);
// The user log as stored, CR LF lines; in the folder read from a regular file of this account only. Throws
// FileError.
QByteArray ReadUserLog();

void OpenUserList();
void CloseUserList();
bool UserListIsOpen();
// Record n (from 1) into CurrentUser / CurrentUser into record n; n = UserListCount + 1 appends.
void ReadUserRecord(qint32 n);
void WriteUserRecord(qint32 n);

// Marks record n with "$Killed$" and rewrites "User.List" without it; removing the last user leaves no file.
void RemoveUser(qint32 n);

QString ScramblePassword(const QString& password);
QString UnscramblePassword(const QString& stored);
// 4 to 8 letters or digits once surrounding blanks are removed.
bool IsValidPassword(const QString& password);

// Kind 1 appends a log-in line to "User.Log", any other kind a log-out line.
void WriteUserLogEntry(qint16 kind);
// The log line for a moment (an automation date); what WriteUserLogEntry appends, without its CR LF.
QString UserLogLine(qint16 kind, double when, const QString& userName, qint16 accessLevel);
