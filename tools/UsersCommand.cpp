#include "Commands.h"

#include "JsonLine.h"
#include "core/base/FixedRecordFile.h"
#include "core/base/RegularFile.h"
#include "core/store/PersonnelStore.h"
#include "core/users/UserList.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

QByteArray UserListJsonLines(const QByteArray& fileImage) {
    QByteArray out;
    const qint64 count = RecordCountForLength(fileImage.size(), UserRecordLength);
    const QByteArray blank = EncodeUserRecord(UserRecord());
    for (qint64 n = 1; n <= count; ++n) {
        // A cut-off last record is completed from a blank one, as the program reads it.
        QByteArray image = blank;
        const QByteArray stored = fileImage.mid(static_cast<qsizetype>(n - 1) * UserRecordLength, UserRecordLength);
        image.replace(0, stored.size(), stored);
        const UserRecord user = DecodeUserRecord(image.constData());

        // Members in the order of the record's fields; the password never leaves the file.
        QByteArray line = "{";
        AddMember(line, "record", static_cast<double>(n));
        AddMember(line, "DateCreated", user.DateCreated);
        AddMember(line, "FirstName", user.FirstName);
        AddMember(line, "LastName", user.LastName);
        AddMember(line, "AccessLevel", user.AccessLevel);
        AddMember(line, "Comments", user.Comments);
        line += "}\n";
        out += line;
    }
    return out;
}

int UsersCommand(const QStringList& args) {
    if (!args.isEmpty())
        return UsageError("users");
    // Read-only on purpose: a missing list means no users, and looking must not create the file.
    QByteArray image;
    for (const UserRecord& user : ActiveStore().Users())
        image += EncodeUserRecord(user);
    return WriteOutput(UserListJsonLines(image)) && FinishOutput() ? 0 : 1;
}
