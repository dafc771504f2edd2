#include "store/ListScan.h"

#include "store/DataFile.h"
#include "store/DataFolder.h"
#include "store/FileError.h"
#include "store/FixedRecordFile.h"
#include "store/MappedFile.h"
#include "store/PersonnelRecord.h"

#include <QFileInfo>

#include <cstring>

namespace {

constexpr int kSlotSize = PersonnelLayout::RecordSize;

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
    const qint64 length = data.length();
    const qint32 count = static_cast<qint32>(std::min<qint64>(RecordCountForLength(length, kSlotSize), INT32_MAX));
    const qint32 whole = static_cast<qint32>(std::min<qint64>(count, length / kSlotSize));

    // The slots are read where the file's pages lie, not copied into the process: a list looks at a few fields of
    // each 5000-byte slot.
    const MappedFile map(data.handle(), std::min<qint64>(length, static_cast<qint64>(count) * kSlotSize), DataFileName);
    qint32 current = 0;
    qint32 previous = 0;
    const auto one = [&](qint32 slot, const char* bytes) {
        if (DecodeInactivationDate(bytes) == 0)
            ++current;
        else
            ++previous;
        visit(slot, bytes);
    };
    map.read([&] {
        const char* at = map.data();
        for (qint32 slot = 1; slot <= whole; ++slot, at += kSlotSize)
            one(slot, at);
    });
    if (count > whole) {
        // The rounding of the record count admits a last slot that is more than half there.
        QByteArray partial = blankSlot();
        map.read([&] {
            std::memcpy(partial.data(), map.data() + static_cast<qint64>(whole) * kSlotSize,
                        static_cast<size_t>(length - static_cast<qint64>(whole) * kSlotSize));
        });
        one(count, partial.constData());
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
