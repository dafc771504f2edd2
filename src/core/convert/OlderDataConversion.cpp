#include "core/convert/OlderDataConversion.h"

#include "core/base/FixedRecordFile.h"
#include "core/history/RecordHistory.h"
#include "core/record/OldPersonnelRecord.h"
#include "core/store/PersonnelStore.h"

qint32 ConvertOlderDataFileWithHistory(double createdAt) {
    qint32 count = 0;
    // The length the line names is the one converted: no other writer comes in between.
    ActiveStore().Exclusive([&] {
        const qint64 length = OlderDataFileLength();
        ChangeEvent e = NewEvent(HistoryEvent::Converted);
        e.Identity = StampIdentity(createdAt);
        e.OldValue = QStringLiteral("%1 bytes in the older format").arg(length);
        e.NewValue = QStringLiteral("%1 records").arg(RecordCountForLength(length, OldPersonnelLayout::RecordSize));
        CommitWithHistory({e}, [&] { count = ConvertOlderDataFile(createdAt); });
    });
    return count;
}
