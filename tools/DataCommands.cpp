#include "DataCommands.h"

#include "Commands.h"
#include "JsonLine.h"
#include "core/history/ChangeLog.h"
#include "core/store/DataFile.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"
#include "core/store/FolderStore.h"
#include "core/record/RecordFields.h"

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
    if (!ActiveFolder()) {
        bool written = true;
        ActiveStore().Scan([&](RecordKey key, const char* bytes) {
            written = written && WriteOutput(PersonnelJsonLine(key, DecodePersonnelRecord(bytes)));
        });
        return written && FinishOutput() ? 0 : 1;
    }
    if (!QFile::exists(DataFileName))
        return FinishOutput() ? 0 : 1;
    const QByteArray blank = EncodePersonnelRecord(PersonnelRecord());
    FixedRecordFile file(DataFileName, PersonnelLayout::RecordSize, blank);
    file.open(FixedRecordFile::Access::ReadOnly);
    const qint64 count = file.recordCount();
    QByteArray slot;
    for (qint64 n = 1; n <= count; ++n) {
        // A cut-off last slot reads with the rest blank, as the program reads it.
        slot = blank;
        file.readRecord(n, slot.data());
        if (!WriteOutput(PersonnelJsonLine(n, DecodePersonnelRecord(slot.constData()))))
            return 1;
    }
    return FinishOutput() ? 0 : 1;
}

bool ParseSampleArguments(const QStringList& args, int minimumCount, const QStringList& ownSwitches,
                          SampleArguments* parsed) {
    bool countOk = false;
    bool seedOk = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--seed") && i + 1 < args.size() && !seedOk) {
            parsed->seed = args[++i].toUInt(&seedOk);
            if (!seedOk)
                return false;
        } else if (args[i] == QLatin1String("--replace")) {
            parsed->replace = true;
        } else if (ownSwitches.contains(args[i])) {
            parsed->switches << args[i];
        } else if (!countOk) {
            parsed->count = args[i].toInt(&countOk);
            if (!countOk || parsed->count < minimumCount || parsed->count > 1000000)
                return false;
        } else {
            return false;
        }
    }
    return countOk && seedOk;
}

void WriteNewRecordFile(const QString& target, int recordSize, qint64 count,
                        const std::function<void(qint64 n, QByteArray& slot)>& fill) {
    RemoveFileIfPresent(TempFileName);
    FixedRecordFile temp(TempFileName, recordSize);
    temp.createExclusive();
    try {
        QByteArray slot(recordSize, Qt::Uninitialized);
        for (qint64 n = 1; n <= count; ++n) {
            fill(n, slot);
            temp.writeRecord(n, slot);
        }
        temp.sync();
        temp.close();
        ReplaceFileAtomically(TempFileName, target);
    } catch (...) {
        temp.close();
        QFile::remove(TempFileName);
        throw;
    }
}

int DemoCommand(const QStringList& args) {
    SampleArguments a;
    if (!ParseSampleArguments(args, 1, {}, &a))
        return UsageError("demo N --seed S [--replace]");

    // From the look at the old file until the new one is in its place, no other writer may come between.
    std::optional<DataFolderLock> lock;
    if (ActiveFolder())
        lock.emplace();
    if (!ActiveFolder() || QFile::exists(DataFileName)) {
        const qint64 existing = DataFileCountsNow().records;
        if (existing > 0 && !a.replace) {
            PrintError(QStringLiteral("%1 already holds %2 records; add --replace to write over them")
                           .arg(ActiveFolder() ? DataFileName : ActiveStore().Where())
                           .arg(existing));
            return 1;
        }
    }

    DemoRecords demo(a.seed);
    ChangeEvent import = NewEvent(HistoryEvent::Import);
    import.NewValue = QStringLiteral("%1 sample employees").arg(a.count);
    CommitWithHistory({import}, [&] {
        if (!ActiveFolder()) {
            std::vector<PersonnelRecord> records;
            records.reserve(size_t(a.count));
            for (int n = 0; n < a.count; ++n)
                records.push_back(demo.next());
            ActiveStore().ReplaceAll(records);
            return;
        }
        WriteNewRecordFile(DataFileName, PersonnelLayout::RecordSize, a.count,
                           [&demo](qint64, QByteArray& slot) { EncodePersonnelRecord(demo.next(), slot.data()); });
    });
    return WriteOutput(TerminalText(QStringLiteral("wrote %1 records to %2")
                                        .arg(a.count)
                                        .arg(ActiveFolder() ? DataFileName : ActiveStore().Where())) +
                       '\n') &&
                   FinishOutput()
               ? 0
               : 1;
}
