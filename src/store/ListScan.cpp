#include "store/ListScan.h"

#include "store/DataFile.h"
#include "store/FileError.h"
#include "store/FixedRecordFile.h"
#include "store/PersonnelRecord.h"

#include <cstring>

namespace {

constexpr int kSlotSize = PersonnelLayout::RecordSize;
// About 640 KB a read: large enough that the system calls cost nothing, small enough to stay in the cache.
constexpr qint64 kSlotsPerBlock = 128;

const QByteArray& blankSlot() {
    static const QByteArray blank = EncodePersonnelRecord(PersonnelRecord());
    return blank;
}

// Reads up to size bytes; fewer only at the end of the file.
qint64 readFully(QFile& file, char* dest, qint64 size) {
    qint64 got = 0;
    while (got < size) {
        const qint64 n = file.read(dest + got, size - got);
        if (n < 0)
            throw FileError(file.errorString());
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

} // namespace

void ScanDataFile(const SlotVisitor& visit) {
    // The module's own handle holds the lock; a second handle of this program would wait for it in vain.
    CloseDataFile();
    FixedRecordFile data(DataFileName, kSlotSize);
    data.open();
    data.lockExclusive();
    const qint32 count = data.recordCount();
    QFile& file = data.file();
    if (!file.seek(0))
        throw FileError(file.errorString());

    qint32 current = 0;
    qint32 previous = 0;
    QByteArray block(kSlotsPerBlock * kSlotSize, Qt::Uninitialized);
    QByteArray partial;
    qint32 slot = 0;
    while (slot < count) {
        const qint64 wanted = std::min<qint64>(kSlotsPerBlock, count - slot) * kSlotSize;
        const qint64 got = readFully(file, block.data(), wanted);
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
    FixedRecordFile data(DataFileName, kSlotSize);
    data.open();
    data.lockExclusive();
    QByteArray bytes = blankSlot();
    data.readRecord(slot, bytes.data());
    data.close();
    CurrentRecord = DecodePersonnelRecord(bytes.constData());
}
