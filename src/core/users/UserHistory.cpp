#include "core/users/UserHistory.h"

#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/history/RecordHistory.h"
#include "core/store/PersonnelStore.h"

#include <QFileInfo>

#include <optional>

namespace {

QString userName(const UserRecord& user) {
    return user.LastName.trimmed() + QStringLiteral(", ") + user.FirstName.trimmed();
}

ChangeEvent userEvent(const QString& event, const UserRecord& user) {
    ChangeEvent e = NewEvent(event);
    e.Employee = userName(user);
    e.Identity = StampIdentity(user.DateCreated);
    return e;
}

} // namespace

QList<ChangeEvent> UserEvents(const QString& event, const UserRecord& before, const UserRecord& after) {
    const bool adding = event == HistoryEvent::UserAdded;
    const QList<std::array<QString, 3>> fields = {
        {QStringLiteral("First Name"), before.FirstName.trimmed(), after.FirstName.trimmed()},
        {QStringLiteral("Last Name"), before.LastName.trimmed(), after.LastName.trimmed()},
        {QStringLiteral("Access Level"), adding ? QString() : AccessLevelName(before.AccessLevel),
         AccessLevelName(after.AccessLevel)},
        {QStringLiteral("Comments"), before.Comments.trimmed(), after.Comments.trimmed()}};
    QList<ChangeEvent> events;
    for (const auto& [field, old, now] : fields) {
        if (adding ? now.isEmpty() : old == now)
            continue;
        ChangeEvent e = userEvent(event, after);
        e.Field = field;
        e.OldValue = adding ? QString() : old;
        e.NewValue = now;
        events << e;
    }
    // Only that it changed: a password's scrambled form is as good as the password itself.
    if (adding || before.Password != after.Password) {
        ChangeEvent e = userEvent(event, after);
        e.Field = QStringLiteral("Password");
        e.NewValue = adding ? QStringLiteral("(set)") : QStringLiteral("(changed)");
        events << e;
    }
    return events;
}

void WriteUserRecordWithHistory(qint32 n, const UserRecord& before) {
    const QString event = n > UserListCount ? HistoryEvent::UserAdded : HistoryEvent::UserEdited;
    try {
        CommitWithHistory(UserEvents(event, before, CurrentUser), [n] { WriteUserRecord(n); });
    } catch (const ChangeLogError&) {
        CloseUserList();
        throw;
    }
}

void RemoveUserWithHistory(qint32 n) {
    // From the look at the user until he or she is gone, no other writer comes in between.
    ActiveStore().Exclusive([n] {
        OpenUserList();
        ReadUserRecord(n);
        const UserRecord user = CurrentUser;
        CloseUserList();
        CommitWithHistory({userEvent(HistoryEvent::UserDeleted, user)}, [n] { RemoveUser(n); });
    });
}
