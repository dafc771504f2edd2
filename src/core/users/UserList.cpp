#include "core/users/UserList.h"

#include "core/base/AppGlobals.h"
#include "core/base/Cp1252.h"
#include "core/base/DateRules.h"
#include "core/base/FileError.h"
#include "core/store/FolderStore.h"
#include "core/base/NumberRoutines.h"
#include "core/base/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QtEndian>

qint16 UserListCount = 0;
UserRecord CurrentUser;

namespace {

// Field offsets and widths of the file image.
constexpr int kDateCreatedAt = 0;
constexpr int kFirstNameAt = 8, kFirstNameWidth = 15;
constexpr int kLastNameAt = 23, kLastNameWidth = 20;
constexpr int kPasswordAt = 43, kPasswordWidth = 16;
constexpr int kAccessLevelAt = 59;
constexpr int kCommentsAt = 61, kCommentsWidth = 439;
static_assert(kCommentsAt + kCommentsWidth == UserRecordLength);

// On a server the list is read whole at the open: it holds a few dozen users at most.
QList<UserRecord> serverUsers;
bool serverListOpen = false;

bool IsPasswordCharacter(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

} // namespace

QByteArray EncodeUserRecord(const UserRecord& record) {
    QByteArray image(UserRecordLength, ' ');
    char* p = image.data();
    qToLittleEndian(record.DateCreated, p + kDateCreatedAt);
    PutFixedText(p + kFirstNameAt, kFirstNameWidth, record.FirstName);
    PutFixedText(p + kLastNameAt, kLastNameWidth, record.LastName);
    PutFixedText(p + kPasswordAt, kPasswordWidth, record.Password);
    qToLittleEndian(record.AccessLevel, p + kAccessLevelAt);
    PutFixedText(p + kCommentsAt, kCommentsWidth, record.Comments);
    return image;
}

UserRecord DecodeUserRecord(const char* data) {
    UserRecord record;
    record.DateCreated = qFromLittleEndian<double>(data + kDateCreatedAt);
    record.FirstName = GetFixedText(data + kFirstNameAt, kFirstNameWidth);
    record.LastName = GetFixedText(data + kLastNameAt, kLastNameWidth);
    record.Password = GetFixedText(data + kPasswordAt, kPasswordWidth);
    record.AccessLevel = qFromLittleEndian<qint16>(data + kAccessLevelAt);
    record.Comments = GetFixedText(data + kCommentsAt, kCommentsWidth);
    return record;
}

// ---- The user list ----

bool UserListPresent() {
    if (ActiveFolder())
        return QFileInfo::exists(UserListFileName);
    return !ActiveStore().Users().isEmpty();
}

bool UserLogPresent(bool nonEmpty) {
    if (!ActiveFolder())
        return !ActiveStore().UserLog().isEmpty();
    const QFileInfo info(UserLogFileName);
    return info.exists() && !(nonEmpty && info.size() == 0);
}

QByteArray ReadUserLog() {
    if (!ActiveFolder())
        return ActiveStore().UserLog();
    QString problem;
    const std::unique_ptr<QFile> log = OpenRegularFileForReading(UserLogFileName, &problem, true);
    if (!log)
        throw FileError(problem);
    return log->readAll();
}

void OpenUserList() {
    if (FolderStore* folder = ActiveFolder()) {
        UserListCount = static_cast<qint16>(folder->OpenUserList());
        return;
    }
    serverUsers = ActiveStore().Users();
    serverListOpen = true;
    UserListCount = static_cast<qint16>(serverUsers.size());
}

void CloseUserList() {
    if (FolderStore* folder = ActiveFolder())
        folder->CloseUserList();
    serverListOpen = false;
    serverUsers.clear();
}

bool UserListIsOpen() {
    if (FolderStore* folder = ActiveFolder())
        return folder->UserListIsOpen();
    return serverListOpen;
}

void ReadUserRecord(qint32 n) {
    if (FolderStore* folder = ActiveFolder()) {
        folder->ReadUser(n, CurrentUser);
        return;
    }
    if (!serverListOpen)
        throw FileError(QStringLiteral("Bad file name or number"));
    CurrentUser = n >= 1 && n <= serverUsers.size() ? serverUsers.at(n - 1) : UserRecord();
}

void WriteUserRecord(qint32 n) {
    if (!UserListIsOpen())
        throw FileError(QStringLiteral("Bad file name or number"));
    ActiveStore().WriteUser(n, CurrentUser);
    if (!ActiveFolder()) {
        if (n > serverUsers.size())
            serverUsers.append(CurrentUser);
        else
            serverUsers[n - 1] = CurrentUser;
    }
}

void RemoveUser(qint32 n) {
    ActiveStore().RemoveUser(n);
}

// ---- Passwords ----

QString ScramblePassword(const QString& password) {
    const QString plain = password.trimmed();
    QString stored;
    stored.reserve(plain.size() * 2);
    for (QChar c : plain) {
        QChar filler;
        do {
            // RandomInteger seeds afresh from the clock on every draw.
            filler = QChar(RandomInteger(48, 122));
        } while (!IsPasswordCharacter(filler));
        stored += filler;
        stored += c;
    }
    return stored;
}

QString UnscramblePassword(const QString& stored) {
    const QString text = stored.trimmed();
    QString plain;
    plain.reserve(text.size() / 2);
    for (qsizetype i = 1; i < text.size(); i += 2)
        plain += text.at(i);
    return plain;
}

bool IsValidPassword(const QString& password) {
    const QString text = password.trimmed();
    if (text.size() < 4 || text.size() > 8)
        return false;
    for (QChar c : text)
        if (!IsPasswordCharacter(c))
            return false;
    return true;
}

// ---- The user log ----

QString UserLogLine(qint16 kind, double when, const QString& userName, qint16 accessLevel) {
    QString line =
        FormatMMDDYYYY(when) + QStringLiteral(" at ") + FormatHHNNSS(when) + QStringLiteral(" - ") + userName;
    if (kind == 1)
        line += QStringLiteral(" logged in w/ ") + AccessLevelName(accessLevel) + QStringLiteral(" privileges.");
    else
        line += QStringLiteral(" logged out.");
    return line;
}

void WriteUserLogEntry(qint16 kind) {
    const QByteArray bytes =
        EncodeCp1252(UserLogLine(kind, NowOADate(), CurrentUserName, CurrentAccessLevel) + QStringLiteral("\r\n"));
    ActiveStore().AppendUserLog(bytes);
}
