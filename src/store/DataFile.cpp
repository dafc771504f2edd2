#include "store/DataFile.h"

QString DataFileName;
qint16 DataFileNumber = 0;
qint32 RecordCount = 0;
qint32 CurrentCount = 0;
qint32 PreviousCount = 0;
PersonnelRecord CurrentRecord;
