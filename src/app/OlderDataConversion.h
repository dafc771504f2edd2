#pragma once

#include <QString>

// The data file of an earlier release (2000-byte records, under the data file's name or as "Vardel.Dat") and
// its conversion to the present format. The steps run in the data folder; every file failure throws FileError.

// The name under which the older file is kept after a conversion or a fresh start: "Vardel.Old".
QString OldFileName();
// The older release's other name for its data file: "Vardel.Dat".
QString DatFileName();

// Takes over a "Vardel.Dat" file: an empty one is deleted; one with data becomes the data file, but only when
// there is no data file with records yet. It is moved, not copied, so it can never later overwrite data that
// has been converted or edited since. Says whether one with data was left beside a data file with records.
enum class DatFileOutcome { None, TakenOver, LeftBeside };
DatFileOutcome TakeOverDatFile();

enum class DataFileFormat { None, Present, Older };

// True for a slot-1 DataVersion of an older file: below 0, 1 to 310, or above 400. 0 and 311 to 400 are the
// present format.
bool IsOlderDataVersion(qint16 dataVersion);

// None when there is no data file (an empty one is deleted); Older for a file shorter than one present record
// (one or two older records) or whose slot 1 holds an older DataVersion; else Present.
DataFileFormat CheckDataFileFormat();

// Converts the older data file slot by slot, in order, stamping each record as created at createdAt, and keeps
// the older file as "Vardel.Old" (replacing an earlier one). Returns the number of records converted: the older
// file's length / 2000, halves rounded to the even number. At no instant is the older data under neither name:
// it stays the data file until the converted file, complete, takes its place in one rename.
qint32 ConvertOlderDataFile(double createdAt);

// Renames the older data file to "Vardel.Old" (replacing an earlier one) so that the program starts with no
// employees.
void SetAsideOlderDataFile();
