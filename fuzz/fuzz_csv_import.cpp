// The CSV import's plan on any bytes: it never crashes, and every row it would add is a record the data file can
// hold unchanged (its image decodes to itself).

#include "FuzzSupport.h"

#include "core/exchange/EmployeeImport.h"
#include "core/record/PersonnelRecord.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray csv(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ImportPlan plan = PlanImport(csv, {}, 46000.5);
    for (const ImportRow& row : plan.rows) {
        if (!row.accepted)
            continue;
        const QByteArray image = EncodePersonnelRecord(row.record);
        FUZZ_CHECK(image.size() == PersonnelLayout::RecordSize);
        FUZZ_CHECK(EncodePersonnelRecord(DecodePersonnelRecord(image.constData())) == image);
        FUZZ_CHECK(!IsKilled(row.record));
    }
    return 0;
}
