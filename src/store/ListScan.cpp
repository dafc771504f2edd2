#include "store/ListScan.h"

#include "store/DataFile.h"
#include "store/PersonnelStore.h"

void ScanDataFile(const SlotVisitor& visit) {
    CloseDataFile();
    const DataFileCounts counts = ActiveStore().Scan(visit);
    RecordCount = static_cast<qint32>(counts.records);
    CurrentCount = static_cast<qint32>(counts.current);
    PreviousCount = static_cast<qint32>(counts.previous);
}

void ReadOneSlot(qint32 slot) {
    CloseDataFile();
    ActiveStore().Read(slot, CurrentRecord, CurrentVersion);
}
