#pragma once

#include "store/PersonnelRecord.h"

#include <QString>

#include <functional>
#include <vector>

// The personnel data file module: one open handle, one record buffer, three counts.
// Callers always open, read or write the slots they need, and close, within one user action.

extern QString DataFileName;
extern qint16 DataFileNumber;
extern qint32 RecordCount;
extern qint32 CurrentCount;
extern qint32 PreviousCount;
extern PersonnelRecord CurrentRecord;

// Opens DataFileName (creating it empty when missing; closing it first when open), recounts RecordCount,
// CurrentCount and PreviousCount, and leaves the last slot in CurrentRecord. The file stays open.
void OpenDataFile();
// Closes the file if it is open.
void CloseDataFile();
// Reads slot n (from 1) into CurrentRecord; beyond the end of the file CurrentRecord becomes a blank record.
void ReadSlot(qint32 slot);
// Writes CurrentRecord into slot n; n = RecordCount + 1 appends.
void WriteSlot(qint32 slot);

// The counts of a personnel data file, read without opening it for writing and without the program's module state:
// for tools that inspect a file they must not change. Counts are 64-bit, so any file length is counted right.
struct DataFileCounts {
    qint64 records = 0;
    qint64 current = 0;
    qint64 previous = 0;
};
DataFileCounts CountDataFileReadOnly(const QString& fileName);
// Every record of a personnel data file, read-only, a cut-off last slot completed blank; none for a missing file.
// For the tools that look at the whole file at once (the data-quality check, the import's duplicate checks).
std::vector<PersonnelRecord> ReadAllRecordsReadOnly(const QString& fileName);

// Rewrites the data file with only the records for which keep holds, in their order, through "TempFile.$$$".
// Closes the data file first and leaves it closed; the counts stay as they were until the next open. A rewrite
// that keeps nothing leaves no data file. Returns the number of records kept.
qint32 RewriteDataFile(const std::function<bool(const PersonnelRecord&)>& keep);
