#include "DataCommands.h"

#include "JsonLine.h"
#include "store/DataFile.h"
#include "store/FileError.h"
#include "store/FixedRecordFile.h"

#include <QFile>

#include <cstdio>

namespace {

bool WriteOut(const QByteArray& text) {
    if (std::fwrite(text.constData(), 1, text.size(), stdout) != static_cast<size_t>(text.size())) {
        std::fprintf(stderr, "vardel-data: cannot write the output\n");
        return false;
    }
    return true;
}

int Usage(const char* text) {
    std::fprintf(stderr, "usage: vardel-data %s\n", text);
    return 2;
}

} // namespace

QByteArray PersonnelJsonLine(qint32 slot, const PersonnelRecord& r) {
    QByteArray line = "{";
    AddMember(line, "slot", slot);
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
        return Usage("info");
    RecordCount = CurrentCount = PreviousCount = 0;
    // Looking must not create the file.
    if (QFile::exists(DataFileName)) {
        OpenDataFile();
        CloseDataFile();
    }
    const QByteArray text = "records " + QByteArray::number(RecordCount) + "\ncurrent " +
                            QByteArray::number(CurrentCount) + "\nprevious " + QByteArray::number(PreviousCount) + "\n";
    return WriteOut(text) && std::fflush(stdout) == 0 ? 0 : 1;
}

int DumpCommand(const QStringList& args) {
    if (!args.isEmpty())
        return Usage("dump");
    if (!QFile::exists(DataFileName))
        return 0;
    OpenDataFile();
    for (qint32 slot = 1; slot <= RecordCount; ++slot) {
        ReadSlot(slot);
        if (!WriteOut(PersonnelJsonLine(slot, CurrentRecord))) {
            CloseDataFile();
            return 1;
        }
    }
    CloseDataFile();
    return std::fflush(stdout) == 0 ? 0 : 1;
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
                return Usage(usage);
        } else if (args[i] == QLatin1String("--replace")) {
            replace = true;
        } else if (!countOk) {
            count = args[i].toInt(&countOk);
            if (!countOk || count < 1 || count > 1000000)
                return Usage(usage);
        } else {
            return Usage(usage);
        }
    }
    if (!countOk || !seedOk)
        return Usage(usage);

    if (QFile::exists(DataFileName)) {
        OpenDataFile();
        CloseDataFile();
        if (RecordCount > 0 && !replace) {
            std::fprintf(stderr, "vardel-data: %s already holds %d records; add --replace to write over them\n",
                         qPrintable(DataFileName), RecordCount);
            return 1;
        }
    }

    // The new file is written whole beside the old one and then takes its place in one step.
    RemoveFileIfPresent(TempFileName);
    FixedRecordFile temp(TempFileName, PersonnelLayout::RecordSize);
    temp.open();
    qint32 slot = 0;
    for (const PersonnelRecord& record : MakeDemoRecords(count, seed))
        temp.writeRecord(++slot, EncodePersonnelRecord(record));
    temp.sync();
    temp.close();
    ReplaceFileAtomically(TempFileName, DataFileName);
    std::printf("wrote %d records to %s\n", slot, qPrintable(DataFileName));
    return std::fflush(stdout) == 0 ? 0 : 1;
}
