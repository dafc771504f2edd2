#include "OlderDataCommands.h"

#include "Commands.h"
#include "DataCommands.h"

#include "core/backup/BackupCopy.h"
#include "core/base/DataFolder.h"
#include "core/base/DateRules.h"
#include "core/convert/OlderDataConversion.h"
#include "core/history/RecordHistory.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"

#include <QFileInfo>

#include <cstdio>

QList<OldPersonnelRecord> MakeOldRecords(int count, quint32 seed) {
    QList<OldPersonnelRecord> records;
    records.reserve(count);
    int n = 0;
    for (const PersonnelRecord& r : MakeDemoRecords(count, seed)) {
        ++n;
        OldPersonnelRecord old;
        old.FirstName = r.FirstName;
        old.MiddleName = r.MiddleName;
        old.LastName = r.LastName;
        old.Suffix = r.Suffix;
        old.EmergencyName = r.EmergencyName;
        old.EmergencyRelationship = r.EmergencyRelationship;
        old.EmergencyPhone = r.EmergencyPhone;
        old.StreetAddress = r.StreetAddress;
        old.CityStateZip = r.CityStateZip;
        old.HomePhone = r.HomePhone;
        old.Race = r.Race;
        old.Sex = r.Sex;
        old.SocialSecurityNumber = r.SocialSecurityNumber;
        old.DateOfBirth = r.DateOfBirth;
        old.DateOfEmployment = r.DateOfEmployment;
        old.DateOfJobTitle = r.DateOfJobTitle;
        old.InactivationDate = r.InactivationDate;
        // The older release allowed 20 characters; the conversion keeps 15.
        old.EmployeeNumber =
            n % 3 == 1 ? (r.EmployeeNumber + QStringLiteral("-DISTRICT-NORTH-%1").arg(n)).left(20) : r.EmployeeNumber;
        old.JobTitle = r.JobTitle;
        old.SwornCode = r.Sworn ? 2 : 1;
        old.Unused40 = QStringLiteral("Badge %1").arg(1000 + n);
        old.Unused20 = QStringLiteral("Locker %1").arg(n);
        old.Notes = r.Notepad.left(OldPersonnelLayout::NotesWidth);
        old.UnusedNumber = static_cast<qint16>(n);
        old.UnusedByte = 1;
        records.append(old);
    }
    return records;
}

int MakeOldCommand(const QStringList& arguments) {
    const ReadArguments args = ReadOptions(arguments, {kMakeOldOptions});
    SampleArguments a;
    if (!ParseSampleArguments(args, 0, &a))
        return UsageError("make-old N --seed S [--dat] [--replace]");
    if (const QString refusal = ActiveStore().FolderToolRefusal(QStringLiteral("make-old")); !refusal.isEmpty()) {
        PrintError(refusal);
        return 1;
    }

    const QString target = OlderSampleFileName(args.has("--dat"));
    // No other writer between the look at the old file and the new one in its place.
    DataFolderLock lock;
    const QFileInfo existing(DataFolderFile(target));
    if (existing.exists() && existing.size() > 0 && !a.replace) {
        PrintError(target + QStringLiteral(" already exists; add --replace to write over it"));
        return 1;
    }

    const QList<OldPersonnelRecord> records = MakeOldRecords(a.count, a.seed);
    WriteNewRecordFile(target, OldPersonnelLayout::RecordSize, records.size(),
                       [&records](qint64 n, QByteArray& slot) { slot = EncodeOldPersonnelRecord(records.at(n - 1)); });
    std::printf("wrote %d older records to %s\n", a.count, TerminalText(target).constData());
    return FinishOutput() ? 0 : 1;
}

int ConvertCommand(const QStringList& args) {
    if (!args.isEmpty())
        return UsageError("convert");
    if (const QString refusal = ActiveStore().FolderToolRefusal(QStringLiteral("convert")); !refusal.isEmpty()) {
        PrintError(refusal);
        return 1;
    }
    // The take-over, the check and the rewrite form one change of the folder.
    DataFolderLock lock;
    ClearDataFolderLeftovers();
    TakeOverDatFile();
    switch (CheckDataFileFormat()) {
    case DataFileFormat::None:
        std::printf("no data file to convert\n");
        break;
    case DataFileFormat::Present:
        std::printf("%s is in the present format; nothing to convert\n",
                    TerminalText(ActiveStore().RecordsName()).constData());
        break;
    case DataFileFormat::Older: {
        const qint32 count = ConvertOlderDataFileWithHistory(NowOADate());
        std::printf("converted %d records; the older file is kept as %s\n", count,
                    TerminalText(OldFileName()).constData());
        break;
    }
    case DataFileFormat::Unrecognized:
        PrintError(UnrecognizedDataFileText());
        return 1;
    }
    return FinishOutput() ? 0 : 1;
}
