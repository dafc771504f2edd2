#include "core/store/ListScan.h"

#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"

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
