#include "core/store/UserRecord.h"

#include "core/base/Cp1252.h"

#include <QtEndian>

namespace {

// Field offsets and widths of the file image.
constexpr int kDateCreatedAt = 0;
constexpr int kFirstNameAt = 8, kFirstNameWidth = 15;
constexpr int kLastNameAt = 23, kLastNameWidth = 20;
constexpr int kPasswordAt = 43, kPasswordWidth = 16;
constexpr int kAccessLevelAt = 59;
constexpr int kCommentsAt = 61, kCommentsWidth = 439;
static_assert(kCommentsAt + kCommentsWidth == UserRecordLength);

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
