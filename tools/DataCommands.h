#pragma once

#include "core/record/PersonnelRecord.h"

#include "core/app/CommandLine.h"
#include <QByteArray>

#include <QList>
#include <QStringList>

#include <functional>

// The personnel data commands of vardel-data. Each runs in the data folder with the arguments that follow its
// name and returns the process exit code.

// "info": the lines "records N", "current N", "previous N". A missing data file counts 0 and is not created.
int InfoCommand(const QStringList& args);
// "dump": one JSON object per slot and line.
int DumpCommand(const QStringList& args);
// "demo N --seed S [--replace]": writes N sample employees as the whole data file.
int DemoCommand(const QStringList& args);

// The arguments of the commands that write sample employees, in any order: the count, "--seed S" and "--replace";
// the command's other switches (make-old's "--dat") are its own to read.
struct SampleArguments {
    int count = 0;
    quint32 seed = 0;
    bool replace = false;
};
// False for a second count or seed, a missing one, a mistake, or a count outside minimumCount to 1,000,000.
bool ParseSampleArguments(const ReadArguments& args, int minimumCount, SampleArguments* parsed);

// The "dump" line of one slot: "slot", then every field in record order.
QByteArray PersonnelJsonLine(qint64 slot, const PersonnelRecord& record);

// Varied sample employees, one at a time; the same seed always gives the same records in the same order.
class DemoRecords {
public:
    explicit DemoRecords(quint32 seed);
    ~DemoRecords();
    DemoRecords(const DemoRecords&) = delete;
    DemoRecords& operator=(const DemoRecords&) = delete;
    PersonnelRecord next();

private:
    struct State;
    State* m_state;
};

// The first count records of DemoRecords(seed).
QList<PersonnelRecord> MakeDemoRecords(int count, quint32 seed);
