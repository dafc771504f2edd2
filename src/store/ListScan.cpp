#include "store/ListScan.h"

#include "store/DataFile.h"
#include "store/DataFolder.h"
#include "store/FileError.h"
#include "store/FixedRecordFile.h"
#include "store/PersonnelRecord.h"

#include <QFileInfo>

#include <cstring>

namespace {

constexpr int kSlotSize = PersonnelLayout::RecordSize;
// About 640 KB a read: large enough that the system calls cost nothing, small enough to stay in the cache.
constexpr qint64 kSlotsPerBlock = 128;

const QByteArray& blankSlot() {
    static const QByteArray blank = EncodePersonnelRecord(PersonnelRecord());
    return blank;
}

} // namespace

void ScanDataFile(const SlotVisitor& visit) {
    CloseDataFile();
    // No other program writes the folder while the scan reads it.
    DataFolderLock lock(QFileInfo(DataFileName).path());
    FixedRecordFile data(DataFileName, kSlotSize);
    data.open();
    const qint32 count = static_cast<qint32>(std::min<qint64>(data.recordCount(), INT32_MAX));

    qint32 current = 0;
    qint32 previous = 0;
    QByteArray block(kSlotsPerBlock * kSlotSize, Qt::Uninitialized);
    QByteArray partial;
    qint32 slot = 0;
    while (slot < count) {
        const qint64 wanted = std::min<qint64>(kSlotsPerBlock, count - slot) * kSlotSize;
        const qint64 got = data.readAt(static_cast<qint64>(slot) * kSlotSize, block.data(), wanted);
        for (qint64 at = 0; at < wanted && slot < count; at += kSlotSize) {
            const char* bytes = block.constData() + at;
            if (at + kSlotSize > got) {
                // The rounding of the record count admits a last slot that is more than half there.
                partial = blankSlot();
                if (got > at)
                    std::memcpy(partial.data(), bytes, got - at);
                bytes = partial.constData();
            }
            ++slot;
            if (DecodeInactivationDate(bytes) == 0)
                ++current;
            else
                ++previous;
            visit(slot, bytes);
        }
        if (got < wanted)
            slot = count;
    }
    data.close();
    RecordCount = count;
    CurrentCount = current;
    PreviousCount = previous;
}

void ReadOneSlot(qint32 slot) {
    CloseDataFile();
    DataFolderLock lock(QFileInfo(DataFileName).path());
    FixedRecordFile data(DataFileName, kSlotSize);
    data.open();
    QByteArray bytes = blankSlot();
    data.readRecord(slot, bytes.data());
    data.close();
    CurrentRecord = DecodePersonnelRecord(bytes.constData());
}
