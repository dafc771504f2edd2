#include "store/DataFile.h"

#include "store/FileError.h"
#include "store/FixedRecordFile.h"

#include <memory>

QString DataFileName;
qint16 DataFileNumber = 0;
qint32 RecordCount = 0;
qint32 CurrentCount = 0;
qint32 PreviousCount = 0;
PersonnelRecord CurrentRecord;

namespace {

constexpr int kSlotSize = PersonnelLayout::RecordSize;
// Slots read at a time by the counting pass (about 1 MB).
constexpr qint64 kSlotsPerBlock = 200;

std::unique_ptr<FixedRecordFile> openFile;

const QByteArray& blankSlot() {
    static const QByteArray blank = EncodePersonnelRecord(PersonnelRecord());
    return blank;
}

FixedRecordFile& requireOpen() {
    if (DataFileNumber <= 0 || !openFile)
        throw FileError(QStringLiteral("Bad file name or number"));
    return *openFile;
}

// Counts current and previous employees from InactivationDate alone, reading the file in large blocks: the
// count runs on every open, so it must stay close to the cost of reading the file.
void countSlots(FixedRecordFile& data) {
    QFile& file = data.file();
    if (!file.seek(0))
        throw FileError(file.errorString());
    const qint64 length = file.size();
    QByteArray block(kSlotsPerBlock * kSlotSize, Qt::Uninitialized);
    constexpr int dateEnd = PersonnelLayout::InactivationDate + 8;
    qint32 slot = 0;
    qint64 offset = 0;
    while (slot < RecordCount) {
        const qint64 wanted = std::min<qint64>(block.size(), length - offset);
        qint64 got = 0;
        while (got < wanted) {
            const qint64 n = file.read(block.data() + got, wanted - got);
            if (n < 0)
                throw FileError(file.errorString());
            if (n == 0)
                break;
            got += n;
        }
        if (got == 0)
            break;
        for (qint64 at = 0; at < got && slot < RecordCount; at += kSlotSize) {
            ++slot;
            // A cut-off last slot without the whole date reads as blank, which is a current employee.
            const double inactivation = at + dateEnd <= got ? DecodeInactivationDate(block.constData() + at) : 0;
            if (inactivation == 0)
                ++CurrentCount;
            else
                ++PreviousCount;
        }
        offset += got;
    }
}

} // namespace

void OpenDataFile() {
    if (DataFileNumber > 0)
        CloseDataFile();
    auto file = std::make_unique<FixedRecordFile>(DataFileName, kSlotSize);
    file->open();
    // One program writes the file at a time; another holder gets a few seconds to finish.
    file->lockExclusive();
    openFile = std::move(file);
    DataFileNumber = 1;
    RecordCount = openFile->recordCount();
    CurrentCount = 0;
    PreviousCount = 0;
    countSlots(*openFile);
    if (RecordCount > 0)
        ReadSlot(RecordCount);
}

void CloseDataFile() {
    if (DataFileNumber <= 0)
        return;
    DataFileNumber = 0;
    if (openFile) {
        openFile->close();
        openFile.reset();
    }
}

void ReadSlot(qint32 slot) {
    FixedRecordFile& file = requireOpen();
    QByteArray bytes = blankSlot();
    file.readRecord(slot, bytes.data());
    CurrentRecord = DecodePersonnelRecord(bytes.constData());
}

void WriteSlot(qint32 slot) {
    requireOpen().writeRecord(slot, EncodePersonnelRecord(CurrentRecord));
}

// The copy replaces the data file by one atomic rename instead of deleting the data file and then renaming the
// copy: a crash at any instant leaves either the old file or the new one whole, never neither.
qint32 RewriteDataFile(const std::function<bool(const PersonnelRecord&)>& keep) {
    CloseDataFile();
    return RewriteRecordFile(
        DataFileName, kSlotSize,
        [&keep](qint32, const QByteArray& record) { return keep(DecodePersonnelRecord(record.constData())); },
        blankSlot());
}
