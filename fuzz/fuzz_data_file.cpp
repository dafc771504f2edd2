// The data file module on a file of any bytes: open and count, read every slot, append one record, and check that
// the counts add up and that the append leaves no gap (the cut-off last slot is completed from blank).

#include "FuzzSupport.h"

#include "core/store/DataFile.h"
#include "core/base/FixedRecordFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstring>
#include <unistd.h>

namespace {

QString g_workFolder;

void removeWorkFolder() {
    QDir(g_workFolder).removeRecursively();
}

// A private folder under $TMPDIR (a memory file system makes the runs faster), removed at exit.
void enterWorkFolder() {
    if (!g_workFolder.isEmpty())
        return;
    QByteArray pattern = QDir(QDir::tempPath()).filePath(QStringLiteral("vardel-fuzz-XXXXXX")).toLocal8Bit();
    FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
    g_workFolder = QString::fromLocal8Bit(pattern);
    std::atexit(removeWorkFolder);
    // An absolute name: libFuzzer keeps working with paths relative to the folder it was started in.
    DataFileName = g_workFolder + QStringLiteral("/Vardel.Data");
}

QByteArray fileBytes() {
    QFile file(DataFileName);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enterWorkFolder();
    // Slots beyond a few are alike; keep each run short.
    size = std::min<size_t>(size, 4 * PersonnelLayout::RecordSize);
    const QByteArray original(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile file(DataFileName);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(original) == original.size());
    }

    OpenDataFile();
    const qint64 count = RecordCountForLength(original.size(), PersonnelLayout::RecordSize);
    FUZZ_CHECK(RecordCount == count);
    FUZZ_CHECK(CurrentCount + PreviousCount == RecordCount);
    qint32 previous = 0;
    for (qint32 slot = 1; slot <= RecordCount; ++slot) {
        ReadSlot(slot);
        previous += CurrentRecord.InactivationDate != 0;
    }
    FUZZ_CHECK(previous == PreviousCount);

    // Append: the file grows to whole slots, and every byte that was there stays.
    CurrentRecord = PersonnelRecord();
    CurrentRecord.FirstName = QStringLiteral("Appended");
    WriteSlot(RecordCount + 1);
    CloseDataFile();
    const QByteArray after = fileBytes();
    // A leftover shorter than half a slot is not counted and lies inside the appended slot.
    FUZZ_CHECK(after.size() == (count + 1) * PersonnelLayout::RecordSize);
    FUZZ_CHECK(std::memcmp(after.constData(), original.constData(),
                           std::min<size_t>(original.size(), count * PersonnelLayout::RecordSize)) == 0);
    const QByteArray appended = after.mid(count * PersonnelLayout::RecordSize, PersonnelLayout::RecordSize);
    FUZZ_CHECK(DecodePersonnelRecord(appended.constData()).FirstName == QStringLiteral("Appended"));
    if (original.size() < count * PersonnelLayout::RecordSize) {
        // The cut-off slot was completed with the blank record's bytes, never with zeros.
        const QByteArray blank = EncodePersonnelRecord(PersonnelRecord());
        const qsizetype from = original.size() % PersonnelLayout::RecordSize;
        FUZZ_CHECK(after.mid(original.size(), PersonnelLayout::RecordSize - from) == blank.mid(from));
    }
    return 0;
}
