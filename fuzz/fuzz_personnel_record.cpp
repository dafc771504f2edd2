// The personnel record decoder on any 5000 bytes: it never fails, and what it reads is stored and read back the
// same way from then on (decoding normalises once: blanks trimmed, bytes outside the code page replaced).

#include "FuzzSupport.h"

#include "core/base/DateRules.h"
#include "core/record/PersonnelRecord.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A short input is a cut-off slot: the rest reads as a blank record, as the data file module reads it.
    QByteArray slot = EncodePersonnelRecord(PersonnelRecord());
    const auto used = static_cast<qsizetype>(std::min<size_t>(size, PersonnelLayout::RecordSize));
    slot.replace(qsizetype(0), used, reinterpret_cast<const char*>(data), used);
    FUZZ_CHECK(slot.size() == PersonnelLayout::RecordSize);

    const PersonnelRecord record = DecodePersonnelRecord(slot.constData());
    const QByteArray once = EncodePersonnelRecord(record);
    FUZZ_CHECK(once.size() == PersonnelLayout::RecordSize);
    const QByteArray twice = EncodePersonnelRecord(DecodePersonnelRecord(once.constData()));
    FUZZ_CHECK(once == twice);

    // Numbers are copied as they are, NaN and all.
    FUZZ_CHECK(once.mid(0, 16) == slot.mid(0, 16));
    FUZZ_CHECK(once.mid(PersonnelLayout::DateOfBirth, 32) == slot.mid(PersonnelLayout::DateOfBirth, 32));
    FUZZ_CHECK(DecodeInactivationDate(slot.constData()) == record.InactivationDate ||
               record.InactivationDate != record.InactivationDate);
    FUZZ_CHECK(record.FirstName.size() <= PersonnelLayout::FirstNameWidth);
    FUZZ_CHECK(record.Notepad.size() <= PersonnelLayout::NotepadWidth);

    // The removal marker test, the age rule and the date texts take whatever a file holds, NaN and all.
    (void)IsKilled(record);
    (void)WholeYears(record.DateOfBirth, record.DateOfEmployment);
    (void)FormatStamp(record.RecordCreated);
    (void)FormatMMDDYYYY(record.InactivationDate);
    return 0;
}
