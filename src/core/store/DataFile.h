#pragma once

#include "core/record/PersonnelRecord.h"

#include <QtGlobal>

#include <QString>

#include <functional>
#include <vector>

// The personnel data file module: one open handle, one record buffer, three counts, over the active store
// (PersonnelStore.h): the data folder's file, or a server's table. A slot is the store's key of an employee.
// Callers always open, read or write the slots they need, and close, within one user action.

extern QString DataFileName;
extern qint16 DataFileNumber;
extern qint32 RecordCount;
extern qint32 CurrentCount;
extern qint32 PreviousCount;
extern PersonnelRecord CurrentRecord;

// Opens DataFileName (creating it empty when missing; closing it first when open), recounts RecordCount,
// CurrentCount and PreviousCount, and leaves the last slot in CurrentRecord. The file stays open. On a server, the
// counts as they are now.
void OpenDataFile();
// Closes the file if it is open.
void CloseDataFile();
// Reads slot n (from 1) into CurrentRecord and its version into CurrentVersion; false, with CurrentRecord a blank
// record, when nobody is there (beyond the end of the file).
bool ReadSlot(qint32 slot);
// Writes CurrentRecord over slot n, provided the stored version is still CurrentVersion (StoreConflict otherwise,
// nothing written). In the folder n = RecordCount + 1 still appends, for the callers that add by slot.
void WriteSlot(qint32 slot);
// Adds CurrentRecord after every other employee and returns its key (in the folder, RecordCount + 1); the counts
// take it in.
qint32 AppendRecord();

// The counts of a personnel data file, read without opening it for writing and without the program's module state:
// for tools that inspect a file they must not change. Counts are 64-bit, so any file length is counted right.
struct DataFileCounts {
    qint64 records = 0;
    qint64 current = 0;
    qint64 previous = 0;
};
DataFileCounts CountDataFileReadOnly(const QString& fileName);
// The counts of the active store's employees as they are now, without opening anything for writing (in the folder,
// none for a missing file).
DataFileCounts DataFileCountsNow();
// Every record of a personnel data file, read-only, a cut-off last slot completed blank; none for a missing file.
// For the tools that look at the whole file at once (the data-quality check, the import's duplicate checks).
std::vector<PersonnelRecord> ReadAllRecordsReadOnly(const QString& fileName);
// Whether there are records to look at: in the folder, whether the data file is there (looking must not create
// it); a server always has its table.
bool DataFilePresent();
// Whether slot holds an employee, looked at without opening anything for writing (in the folder, from the count).
bool HoldsSlot(qint32 slot);
// Every employee of the active store, in key order (the data file read as ReadAllRecordsReadOnly reads it), and
// into keys, when given, each one's key.
std::vector<PersonnelRecord> ReadAllRecords(std::vector<qint32>* keys = nullptr);

// Rewrites the data file with only the records for which keep holds, in their order, through "TempFile.$$$".
// Closes the data file first and leaves it closed; the counts stay as they were until the next open. A rewrite
// that keeps nothing leaves no data file. Returns the number of records kept.
qint32 RewriteDataFile(const std::function<bool(const PersonnelRecord&)>& keep);
