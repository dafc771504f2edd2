#include "users/UserList.h"

#include "app/AppGlobals.h"
#include "store/Cp1252.h"
#include "store/DataFolder.h"
#include "store/DateRules.h"
#include "store/FileError.h"
#include "store/FixedRecordFile.h"
#include "store/NumberRoutines.h"

#include <QFileInfo>
#include <QtEndian>

#include <memory>

qint16 UserListCount = 0;
UserRecord CurrentUser;
QString CurrentUserName;
qint16 CurrentAccessLevel = 0;

namespace {

// Field offsets and widths of the file image.
constexpr int kDateCreatedAt = 0;
constexpr int kFirstNameAt = 8, kFirstNameWidth = 15;
constexpr int kLastNameAt = 23, kLastNameWidth = 20;
constexpr int kPasswordAt = 43, kPasswordWidth = 16;
constexpr int kAccessLevelAt = 59;
constexpr int kCommentsAt = 61, kCommentsWidth = 439;
static_assert(kCommentsAt + kCommentsWidth == UserRecordLength);

const QString kKilledMark = QStringLiteral("$Killed$");

const QByteArray& BlankUserImage() {
    static const QByteArray image = EncodeUserRecord(UserRecord());
    return image;
}

FixedRecordFile& UserListFile() {
    static FixedRecordFile file(UserListFileName, UserRecordLength, BlankUserImage());
    return file;
}

// Held from OpenUserList to CloseUserList, since records are written in place while the list is open.
std::unique_ptr<DataFolderLock>& UserListLock() {
    static std::unique_ptr<DataFolderLock> lock;
    return lock;
}

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

// ---- The user list file ----

void OpenUserList() {
    FixedRecordFile& file = UserListFile();
    file.close();
    UserListLock().reset();
    // One writer per data folder: another program's write gets a few seconds to finish first.
    auto lock = std::make_unique<DataFolderLock>(QFileInfo(UserListFileName).path());
    file.open();
    const qint64 count = file.recordCount();
    // Record numbers are 16-bit throughout; a longer file cannot be worked with safely.
    if (count > 32767) {
        file.close();
        throw FileError(QStringLiteral("Overflow: \"%1\" holds more than 32767 records").arg(UserListFileName));
    }
    UserListLock() = std::move(lock);
    UserListCount = static_cast<qint16>(count);
}

void CloseUserList() {
    UserListFile().close();
    UserListLock().reset();
}

bool UserListIsOpen() {
    return UserListFile().isOpen();
}

void ReadUserRecord(qint32 n) {
    FixedRecordFile& file = UserListFile();
    if (!file.isOpen())
        throw FileError(QStringLiteral("Bad file name or number"));
    // Past the end, or the missing tail of a cut-off record, reads as blank.
    QByteArray image = BlankUserImage();
    file.readRecord(n, image.data());
    CurrentUser = DecodeUserRecord(image.constData());
}

void WriteUserRecord(qint32 n) {
    FixedRecordFile& file = UserListFile();
    if (!file.isOpen())
        throw FileError(QStringLiteral("Bad file name or number"));
    file.writeRecord(n, EncodeUserRecord(CurrentUser));
}

void RemoveUser(qint32 n) {
    // The mark and the rewrite form one change: no other writer comes between them.
    DataFolderLock lock(QFileInfo(UserListFileName).path());
    OpenUserList();
    ReadUserRecord(n);
    CurrentUser.FirstName = kKilledMark;
    WriteUserRecord(n);
    CloseUserList();
    // Every marked record goes, including one left marked by a removal that was cut short. The rewrite swaps the
    // new file in with one rename rather than deleting the old one first, so a crash at any moment leaves either
    // the old list or the new one whole; when nobody is left, no list file remains.
    RewriteRecordFile(
        UserListFileName, UserRecordLength,
        [](qint64, const QByteArray& image) {
            return GetFixedText(image.constData() + kFirstNameAt, kFirstNameWidth) != kKilledMark;
        },
        BlankUserImage());
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
    DataFolderLock lock(QFileInfo(UserLogFileName).path());
    // The log names every user who signed in and when: a new one is readable by its owner only. A line that does
    // not fit on the disk leaves no part of itself behind.
    AppendWhole(UserLogFileName, bytes);
}
