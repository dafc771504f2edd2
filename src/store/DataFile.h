#pragma once

#include "store/PersonnelRecord.h"

#include <QString>

// The personnel data file module: one open handle, one record buffer, three counts.
// Callers always open, read or write the slots they need, and close, within one user action.

extern QString DataFileName;
extern qint16 DataFileNumber;
extern qint32 RecordCount;
extern qint32 CurrentCount;
extern qint32 PreviousCount;
extern PersonnelRecord CurrentRecord;

void OpenDataFile();
void CloseDataFile();
void ReadSlot(qint32 slot);
void WriteSlot(qint32 slot);
