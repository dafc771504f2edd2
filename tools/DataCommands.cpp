#include "DataCommands.h"

#include "Commands.h"
#include "JsonLine.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"
#include "core/history/ChangeLog.h"
#include "core/store/DataFile.h"
#include "core/store/FolderStore.h"

#include <QFile>

#include <cstdio>
#include <optional>

QByteArray PersonnelJsonLine(qint64 slot, const PersonnelRecord& r) {
    QByteArray line = "{";
    AddMember(line, "slot", static_cast<double>(slot));
    AddMember(line, "RecordCreated", r.RecordCreated);
    AddMember(line, "LastModified", r.LastModified);
    AddMember(line, "FirstName", r.FirstName);
    AddMember(line, "MiddleName", r.MiddleName);
    AddMember(line, "LastName", r.LastName);
    AddMember(line, "Suffix", r.Suffix);
    AddMember(line, "EmergencyName", r.EmergencyName);
    AddMember(line, "EmergencyRelationship", r.EmergencyRelationship);
    AddMember(line, "EmergencyPhone", r.EmergencyPhone);
    AddMember(line, "StreetAddress", r.StreetAddress);
    AddMember(line, "CityStateZip", r.CityStateZip);
    AddMember(line, "HomePhone", r.HomePhone);
    AddMember(line, "CellPhone", r.CellPhone);
    AddMember(line, "Race", r.Race);
    AddMember(line, "Sex", r.Sex);
    AddMember(line, "SocialSecurityNumber", r.SocialSecurityNumber);
    AddMember(line, "DateOfBirth", r.DateOfBirth);
    AddMember(line, "DateOfEmployment", r.DateOfEmployment);
    AddMember(line, "DateOfJobTitle", r.DateOfJobTitle);
    AddMember(line, "InactivationDate", r.InactivationDate);
    AddMember(line, "EmployeeNumber", r.EmployeeNumber);
    AddMember(line, "JobTitle", r.JobTitle);
    AddMember(line, "Notepad", r.Notepad);
    AddMember(line, "Sworn", r.Sworn);
    AddMember(line, "Email", r.Email);
    AddMember(line, "PicturePath", r.PicturePath);
    AddMember(line, "DataVersion", r.DataVersion);
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

int DemoCommand(const QStringList& arguments) {
    const ReadArguments args = ReadOptions(arguments, {kSampleOptions});
    SampleArguments a;
    if (!ParseSampleArguments(args, 1, &a))
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
