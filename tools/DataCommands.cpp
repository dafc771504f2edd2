#include "DataCommands.h"

#include "Commands.h"
#include "JsonLine.h"
#include "store/DataFile.h"
#include "store/DataFolder.h"
#include "store/FileError.h"
#include "store/FixedRecordFile.h"

#include <QFile>

#include <cstdio>

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
    DataFileCounts counts;
    if (QFile::exists(DataFileName))
        counts = CountDataFileReadOnly(DataFileName);
    const QByteArray text = "records " + QByteArray::number(counts.records) + "\ncurrent " +
                            QByteArray::number(counts.current) + "\nprevious " + QByteArray::number(counts.previous) +
                            "\n";
    return WriteOutput(text) && FinishOutput() ? 0 : 1;
}

int DumpCommand(const QStringList& args) {
    if (!args.isEmpty())
        return UsageError("dump");
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

int DemoCommand(const QStringList& args) {
    const char* usage = "demo N --seed S [--replace]";
    bool replace = false;
    bool countOk = false;
    bool seedOk = false;
    int count = 0;
    quint32 seed = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--seed") && i + 1 < args.size() && !seedOk) {
            seed = args[++i].toUInt(&seedOk);
            if (!seedOk)
                return UsageError(usage);
        } else if (args[i] == QLatin1String("--replace")) {
            replace = true;
        } else if (!countOk) {
            count = args[i].toInt(&countOk);
            if (!countOk || count < 1 || count > 1000000)
                return UsageError(usage);
        } else {
            return UsageError(usage);
        }
    }
    if (!countOk || !seedOk)
        return UsageError(usage);

    // From the look at the old file until the new one is in its place, no other writer may come between.
    DataFolderLock lock;
    if (QFile::exists(DataFileName)) {
        const qint64 existing = CountDataFileReadOnly(DataFileName).records;
        if (existing > 0 && !replace) {
            std::fprintf(stderr, "vardel-data: %s already holds %lld records; add --replace to write over them\n",
                         qPrintable(DataFileName), static_cast<long long>(existing));
            return 1;
        }
    }

    // The new file is written whole beside the old one and then takes its place in one step. The records are
    // made and written one at a time, so a large sample takes no more memory than a small one.
    RemoveFileIfPresent(TempFileName);
    FixedRecordFile temp(TempFileName, PersonnelLayout::RecordSize);
    temp.createExclusive();
    try {
        DemoRecords demo(seed);
        QByteArray slot(PersonnelLayout::RecordSize, Qt::Uninitialized);
        for (qint64 n = 1; n <= count; ++n) {
            EncodePersonnelRecord(demo.next(), slot.data());
            temp.writeRecord(n, slot);
        }
        temp.sync();
        temp.close();
        ReplaceFileAtomically(TempFileName, DataFileName);
    } catch (...) {
        temp.close();
        QFile::remove(TempFileName);
        throw;
    }
    return WriteOutput(QStringLiteral("wrote %1 records to %2\n").arg(count).arg(DataFileName).toUtf8()) &&
                   FinishOutput()
               ? 0
               : 1;
}
