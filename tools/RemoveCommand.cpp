// "remove --slot N [--name "Last, First"]": one employee removed exactly as the main window removes one.

#include "Commands.h"

#include "core/base/DataFolder.h"
#include "core/base/FixedRecordFile.h"
#include "core/base/MappedFile.h"
#include "core/employees/EmployeeRemoval.h"
#include "core/history/RecordHistory.h"
#include "core/record/PersonnelRecord.h"
#include "core/store/DataFile.h"
#include "core/store/FolderStore.h"

#include <QFile>

namespace {

constexpr const char* kSynopsis = "remove --slot N [--name \"Last, First\"]";

// A server's key never moves, so the program's windows at other desks need not be closed: the name is checked
// and the removal made in one transaction, with its "removed" line.
int RemoveFromServer(qint32 key, const QString& name) {
    PersonnelRecord record;
    qint64 version = 0;
    if (!ActiveStore().Read(key, record, version)) {
        PrintError(QStringLiteral("%1 holds no employee with key %2; nothing was removed")
                       .arg(ActiveStore().Where())
                       .arg(key));
        return 1;
    }
    const QString listed = ListedName(record);
    if (!name.isNull() && name != listed) {
        PrintError(QStringLiteral("slot %1 holds \"%2\", not \"%3\"; nothing was removed").arg(key).arg(listed, name));
        return 1;
    }
    const RemovalResult result = RemoveEmployeeWithHistory(key, listed, version);
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

    if (!ActiveFolder())
        return RemoveFromServer(static_cast<qint32>(slot), name);
    // The program's list and form point at slots by number: removing one under it would shift them.
    RequireNoProgramOnFolder();
    // The name reported and the removal see the same file: no other writer comes in between.
    const DataFolderLock lock;
    qint64 records = 0;
    QString listed;
    if (QFile::exists(DataFileName)) {
        static const QByteArray blank = EncodePersonnelRecord(PersonnelRecord());
        FixedRecordFile file(DataFileName, PersonnelLayout::RecordSize, blank);
        file.open(FixedRecordFile::Access::ReadOnly);
        records = file.recordCount();
        if (slot <= records) {
            QByteArray bytes = blank;
            file.readRecord(slot, bytes.data());
            listed = ListedName(DecodePersonnelRecord(bytes.constData()));
        }
    }
    if (slot > records) {
        PrintError(QStringLiteral("%1 holds %2 records, so there is no slot %3; nothing was removed")
                       .arg(DataFileName)
                       .arg(records)
                       .arg(slot));
        return 1;
    }
    if (!name.isNull() && name != listed) {
        PrintError(QStringLiteral("slot %1 holds \"%2\", not \"%3\"; nothing was removed").arg(slot).arg(listed, name));
        return 1;
    }
    // The removal and its "removed" line in the change history succeed together, as in the window. It passes over
    // the file three times under one hold of the lock (counts, stamps, records to drop): one mapping serves all.
    const RemovalResult result = [&] {
        const MappedFileSharing sharing;
        return RemoveEmployeeWithHistory(static_cast<qint32>(slot), listed);
    }();
    if (!result.Removed) {
        PrintError(QStringLiteral("slot %1 changed while it was being removed; nothing was removed").arg(slot));
        return 1;
    }
    return WriteOutput("removed slot " + QByteArray::number(slot) + " (" + TerminalText(listed) + "); " +
                       QByteArray::number(result.RecordsLeft) + " records left\n") &&
                   FinishOutput()
               ? 0
               : 1;
}
