#pragma once

#include <QByteArray>
#include <QString>

// "User.List": fixed 500-byte user records. Every operation opens the file, works and closes it again
// before control returns to the user.

struct UserRecord {
    double DateCreated = 0; // automation date and time, set once when the user is added
    QString FirstName;      // 15
    QString LastName;       // 20
    QString Password;       // 16, the scrambled form
    qint16 AccessLevel = 0; // 1 to 4
    QString Comments;       // 439
};

inline constexpr int UserRecordLength = 500;

// The file image of one record (exactly UserRecordLength bytes) and back; text is trimmed on reading.
QByteArray EncodeUserRecord(const UserRecord& record);
UserRecord DecodeUserRecord(const char* data);

inline const QString UserListFileName = QStringLiteral("User.List");
inline const QString UserLogFileName = QStringLiteral("User.Log");
