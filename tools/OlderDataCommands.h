#pragma once

#include "core/record/OldPersonnelRecord.h"

#include <QList>
#include <QStringList>

// The older-format commands of vardel-data. Each runs in the data folder with the arguments that follow its name
// and returns the process exit code.

// "make-old N --seed S [--dat] [--replace]": writes N sample employees as a data file of an earlier release
// (2000-byte records), as "Vardel.Data" or, with --dat, as "Vardel.Dat".
int MakeOldCommand(const QStringList& args);
// "convert": the start-up conversion of an older data file without a window, answering "Yes".
int ConvertCommand(const QStringList& args);

// N varied older records; the same seed always gives the same records. Every third has an employee number of
// the older width (20 characters), sworn employees carry the code 2 and the others 1.
QList<OldPersonnelRecord> MakeOldRecords(int count, quint32 seed);
