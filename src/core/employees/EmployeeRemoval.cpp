#include "core/employees/EmployeeRemoval.h"

#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"

RemovalResult RemoveEmployee(qint32 slot, const QString& listedName, qint64 version) {
    CloseDataFile();
    CurrentRecord = PersonnelRecord();
    return ActiveStore().Remove(slot, listedName, version);
}
