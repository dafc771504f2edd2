#include "core/users/UserList.h"

#include "core/base/AppGlobals.h"
#include "core/base/Cp1252.h"
#include "core/base/DateRules.h"
#include "core/base/FileError.h"
#include "core/base/NumberRoutines.h"
#include "core/base/RegularFile.h"
#include "core/store/PersonnelStore.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QtEndian>

qint16 UserListCount = 0;
UserRecord CurrentUser;

namespace {

bool IsPasswordCharacter(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

} // namespace

// ---- The user list ----

bool UserListPresent() {
    return ActiveStore().HasUsers();
}

bool UserLogPresent(bool nonEmpty) {
    return ActiveStore().HasUserLog(nonEmpty);
}

QByteArray ReadUserLog() {
    return ActiveStore().UserLog();
}

void OpenUserList() {
    UserListCount = static_cast<qint16>(ActiveStore().OpenUserList());
}

void CloseUserList() {
    ActiveStore().CloseUserList();
}

bool UserListIsOpen() {
    return ActiveStore().UserListIsOpen();
}

void ReadUserRecord(qint32 n) {
    ActiveStore().ReadUser(n, CurrentUser);
}

void WriteUserRecord(qint32 n) {
    if (!UserListIsOpen())
        throw FileError(QStringLiteral("Bad file name or number"));
    ActiveStore().WriteUser(n, CurrentUser);
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
