// "remove --slot N [--name "Last, First"]": one employee removed exactly as the main window removes one.

#include "Commands.h"

#include "core/base/DataFolder.h"
#include "core/base/MappedFile.h"
#include "core/employees/EmployeeChanges.h"
#include "core/record/RecordIdentity.h"
#include "core/store/PersonnelStore.h"

#include <QFile>

namespace {

constexpr const char* kSynopsis = "remove --slot N [--name \"Last, First\"]";

// The name reported and the removal see the same record: no other writer comes in between (a server checks the
// version read in the removal's transaction instead).
int removeKey(qint32 key, const QString& name) {
    PersonnelStore& store = ActiveStore();
    PersonnelRecord record;
    qint64 version = 0;
    if (!store.Read(key, record, version)) {
        PrintError(store.NoEmployeeText(key) + QStringLiteral("; nothing was removed"));
        return 1;
    }
    const QString listed = ListedName(record);
    if (!name.isNull() && name != listed) {
        PrintError(QStringLiteral("slot %1 holds \"%2\", not \"%3\"; nothing was removed").arg(key).arg(listed, name));
        return 1;
    }
    // The removal and its "removed" line in the change history succeed together, as in the window. In the folder
    // it passes over the file three times (counts, stamps, records to drop): one mapping serves all.
    const RemovalResult result = [&] {
        const MappedFileSharing sharing;
        return RemoveEmployeeWithHistory(key, listed, version);
    }();
    if (!result.Removed) {
        PrintError(QStringLiteral("slot %1 changed while it was being removed; nothing was removed").arg(key));
        return 1;
    }
    return WriteOutput("removed slot " + QByteArray::number(key) + " (" + TerminalText(listed) + "); " +
                       QByteArray::number(result.RecordsLeft) + " records left\n") &&
                   FinishOutput()
               ? 0
               : 1;
}

} // namespace

int RemoveCommand(const QStringList& arguments) {
    const ReadArguments args = ReadOptions(arguments, {kRemoveOptions});
    qint64 slot = 0;
    QString name;
    for (const ReadArguments::Item& item : args.items) {
        if (item.option == QLatin1String("--slot") && slot == 0) {
            bool ok = false;
            slot = item.value.toLongLong(&ok);
            if (!ok || slot < 1)
                return UsageError(kSynopsis);
        } else if (item.option == QLatin1String("--name") && name.isNull()) {
            name = item.value;
        } else {
            return UsageError(kSynopsis);
        }
    }
    if (slot == 0 || args.mistake != ReadArguments::Mistake::None)
        return UsageError(kSynopsis);

    // The program's list and form point at slots by number: removing one under it would shift them. A key that
    // never moves leaves the program's windows at other desks pointing at the right people.
    if (!ActiveStore().KeysNeverMove())
        RequireNoProgramOnFolder();
    int status = 1;
    ActiveStore().Exclusive([&] { status = removeKey(static_cast<qint32>(slot), name); });
    return status;
}
