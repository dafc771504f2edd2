// The older 2000-byte record decoder and its conversion to the present record, on any bytes: the conversion
// always gives a whole present-format record that reads back the same way from then on.

#include "FuzzSupport.h"

#include "core/record/OldPersonnelRecord.h"
#include "core/record/PersonnelRecord.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A short input is a cut-off last record, completed from a blank older record as the conversion does.
    QByteArray old = EncodeOldPersonnelRecord(OldPersonnelRecord());
    FUZZ_CHECK(old.size() == OldPersonnelLayout::RecordSize);
    const auto used = static_cast<qsizetype>(std::min<size_t>(size, OldPersonnelLayout::RecordSize));
    old.replace(qsizetype(0), used, reinterpret_cast<const char*>(data), used);

    const OldPersonnelRecord record = DecodeOldPersonnelRecord(old.constData());
    const QByteArray reencoded = EncodeOldPersonnelRecord(record);
    FUZZ_CHECK(reencoded.size() == OldPersonnelLayout::RecordSize);
    FUZZ_CHECK(EncodeOldPersonnelRecord(DecodeOldPersonnelRecord(reencoded.constData())) == reencoded);

    const QByteArray converted = ConvertOldRecord(old.constData(), 45000.5, 312);
    FUZZ_CHECK(converted.size() == PersonnelLayout::RecordSize);
    const PersonnelRecord present = DecodePersonnelRecord(converted.constData());
    FUZZ_CHECK(present.DataVersion == 312);
    // Carried-over fields keep their bytes; the name fields stand for them here.
    FUZZ_CHECK(converted.mid(PersonnelLayout::FirstName, 15) == old.mid(OldPersonnelLayout::FirstName, 15));
    FUZZ_CHECK(converted.mid(PersonnelLayout::LastName, 20) == old.mid(OldPersonnelLayout::LastName, 20));
    const QByteArray stored = EncodePersonnelRecord(present);
    FUZZ_CHECK(EncodePersonnelRecord(DecodePersonnelRecord(stored.constData())) == stored);
    return 0;
}
