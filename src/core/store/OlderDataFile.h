#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The data file of an earlier release (2000-byte records, under the data file's name or as "Vardel.Dat") and
// its conversion to the present format: the folder store's own format, worked on in the data folder only (a
// server's records never had an older file). Every file failure throws FileError.

// The name under which the older file is kept after a conversion or a fresh start: "Vardel.Old".
QString OldFileName();
// The older release's other name for its data file: "Vardel.Dat".
QString DatFileName();

// Takes over a "Vardel.Dat" file: an empty one is deleted; one with data becomes the data file, but only when
// there is no data file with records yet. It is moved, not copied, so it can never later overwrite data that
// has been converted or edited since. Says whether one with data was left beside a data file with records.
enum class DatFileOutcome { None, TakenOver, LeftBeside };
DatFileOutcome TakeOverDatFile();

enum class DataFileFormat { None, Present, Older, Unrecognized };

// True for a slot-1 DataVersion of an older file: below 0, 1 to 310, or above 400. 0 and 311 to 400 are the
// present format.
bool IsOlderDataVersion(qint16 dataVersion);

// None when there is no data file (an empty one is deleted). Present when slot 1 is a whole record with a present
// DataVersion. Otherwise Older when every slot has the older record's shape, field by field (text in the text
// fields, or zero bytes in one never filled; 0 or a date in the date fields; not all zero bytes), a cut-off last
// slot completed from a blank older record. Otherwise Present when slot 1 has the present record's shape, whatever
// its DataVersion; a file
// shorter than one record then has its record completed from a blank one, as a cut-off slot. Else Unrecognized,
// and nothing changes. Runs under the data folder's write lock.
DataFileFormat CheckDataFileFormat();

// The message for an Unrecognized data file, naming it with its folder, and its title.
QString UnrecognizedDataFileText();
QString UnrecognizedDataFileTitle();

// Converts the older data file slot by slot, in order, stamping each record as created at createdAt, and keeps
// the older file as "Vardel.Old" (replacing an earlier one). Returns the number of records converted: the older
// file's length / 2000, halves rounded to the even number. At no instant is the older data under neither name:
// it stays the data file until the converted file, complete, takes its place in one rename. A file that has lost
// the older shape since the check throws FileError with UnrecognizedDataFileText, having changed nothing.
qint32 ConvertOlderDataFile(double createdAt);
// The length of the data file in the older format, in bytes, before its conversion.
qint64 OlderDataFileLength();

// Renames the older data file to "Vardel.Old" (replacing an earlier one) so that the program starts with no
// employees.
void SetAsideOlderDataFile();

// What make-old writes an older release's sample data file as: "Vardel.Dat" with asDat, else the data file's name.
QString OlderSampleFileName(bool asDat);

// Writes count records as the whole of target: into "TempFile.$$$" beside it, which then takes its place in one
// rename. fill(n, slot) makes record n in a slot of recordSize bytes, one record at a time, so that a large file
// takes no more memory than a small one. A failure removes the temporary file and leaves target as it was.
void WriteNewRecordFile(const QString& target, int recordSize, qint64 count,
                        const std::function<void(qint64 n, QByteArray& slot)>& fill);
