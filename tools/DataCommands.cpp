#include "DataCommands.h"

#include "Commands.h"
#include "JsonLine.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"
#include "core/history/ChangeLog.h"
#include "core/record/RecordFields.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"

#include <QFile>

#include <cstdio>
#include <optional>

QByteArray PersonnelJsonLine(qint64 slot, const PersonnelRecord& r) {
    QByteArray line = "{";
    AddMember(line, "slot", static_cast<double>(slot));
    for (const RecordField& field : RecordFields) {
        if (field.Text)
            AddMember(line, field.Name, r.*field.Text);
        else if (field.Day)
            AddMember(line, field.Name, r.*field.Day);
        else
            AddMember(line, field.Name, int(r.*field.Whole));
    }
    line += "}\n";
    return line;
}

int InfoCommand(const QStringList& args) {
    if (!args.isEmpty())
        return UsageError("info");
    // Looking must not create or change anything: the file is opened for reading only.
    const DataFileCounts counts = DataFileCountsNow();
    const QByteArray text = "records " + QByteArray::number(counts.records) + "\ncurrent " +
                            QByteArray::number(counts.current) + "\nprevious " + QByteArray::number(counts.previous) +
                            "\n" + HistoryInfoLines();
    return WriteOutput(text) && FinishOutput() ? 0 : 1;
}

int DumpCommand(const QStringList& args) {
    if (!args.isEmpty())
        return UsageError("dump");
    // Looking must not create the file.
    if (!ActiveStore().HasData())
        return FinishOutput() ? 0 : 1;
    bool written = true;
    ActiveStore().Scan([&](RecordKey key, const char* bytes) {
        written = written && WriteOutput(PersonnelJsonLine(key, DecodePersonnelRecord(bytes)));
    });
    return written && FinishOutput() ? 0 : 1;
}

bool ParseSampleArguments(const ReadArguments& args, int minimumCount, SampleArguments* parsed) {
    if (args.mistake != ReadArguments::Mistake::None)
        return false;
    bool countOk = false;
    bool seedOk = false;
    for (const ReadArguments::Item& item : args.items) {
        if (item.option == QLatin1String("--seed")) {
            if (seedOk)
                return false;
            parsed->seed = item.value.toUInt(&seedOk);
            if (!seedOk)
                return false;
        } else if (item.option == QLatin1String("--replace")) {
            parsed->replace = true;
        } else if (item.option.isEmpty()) {
            if (countOk)
                return false;
            parsed->count = item.value.toInt(&countOk);
            if (!countOk || parsed->count < minimumCount || parsed->count > 1000000)
                return false;
        }
    }
    return countOk && seedOk;
}

int DemoCommand(const QStringList& arguments) {
    const ReadArguments args = ReadOptions(arguments, {kSampleOptions});
    SampleArguments a;
    if (!ParseSampleArguments(args, 1, &a))
        return UsageError("demo N --seed S [--replace]");
    if (const QString refusal = ActiveStore().FolderToolRefusal(QStringLiteral("demo --replace"));
        a.replace && !refusal.isEmpty()) {
        PrintError(refusal);
        return 1;
    }

    // From the look at the old records until the new ones are in their place, no other writer may come between.
    int status = 0;
    ActiveStore().Exclusive([&] {
        const qint64 existing = ActiveStore().HasData() ? DataFileCountsNow().records : 0;
        if (existing > 0 && !a.replace) {
            PrintError(QStringLiteral("%1 already holds %2 records; add --replace to write over them")
                           .arg(ActiveStore().RecordsName())
                           .arg(existing));
            status = 1;
            return;
        }
        DemoRecords demo(a.seed);
        ChangeEvent import = NewEvent(HistoryEvent::Import);
        import.NewValue = QStringLiteral("%1 sample employees").arg(a.count);
        // Made as they are written: a million samples are never held at once.
        CommitWithHistory({import},
                          [&] { ActiveStore().ReplaceAll(a.count, [&demo](qint64) { return demo.next(); }); });
    });
    if (status != 0)
        return status;
    return WriteOutput(
               TerminalText(QStringLiteral("wrote %1 records to %2").arg(a.count).arg(ActiveStore().RecordsName())) +
               '\n') &&
                   FinishOutput()
               ? 0
               : 1;
}
