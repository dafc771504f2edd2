#include "core/record/PersonnelRecord.h"

#include "core/base/Cp1252.h"
#include "core/record/RecordFields.h"

#include <QtEndian>

#include <cstring>

namespace L = PersonnelLayout;

double GetDouble(const char* src) {
    return qFromLittleEndian<double>(src);
}

void PutDouble(char* dest, double value) {
    qToLittleEndian<double>(value, dest);
}

qint16 GetInt16(const char* src) {
    return qFromLittleEndian<qint16>(src);
}

void PutInt16(char* dest, qint16 value) {
    qToLittleEndian<qint16>(value, dest);
}

void EncodePersonnelRecord(const PersonnelRecord& r, char* d) {
    for (const RecordField& f : RecordFields) {
        if (f.Text)
            PutFixedText(d + f.Offset, f.Width, r.*f.Text);
        else if (f.Day)
            PutDouble(d + f.Offset, r.*f.Day);
        else
            PutInt16(d + f.Offset, r.*f.Whole);
    }
}

QByteArray EncodePersonnelRecord(const PersonnelRecord& record) {
    QByteArray bytes(L::RecordSize, ' ');
    EncodePersonnelRecord(record, bytes.data());
    return bytes;
}

PersonnelRecord DecodePersonnelRecord(const char* s) {
    PersonnelRecord r;
    for (const RecordField& f : RecordFields) {
        if (f.Text)
            r.*f.Text = GetFixedText(s + f.Offset, f.Width);
        else if (f.Day)
            r.*f.Day = GetDouble(s + f.Offset);
        else
            r.*f.Whole = GetInt16(s + f.Offset);
    }
    return r;
}

double DecodeInactivationDate(const char* src) {
    return GetDouble(src + L::InactivationDate);
}

bool IsKilledSlot(const char* slot) {
    // The same test as IsKilled on a decoded record, without decoding the other 26 fields of every slot; a removal
    // asks it of every slot, and a first name without a "$" cannot be the marker.
    const char* field = slot + PersonnelLayout::FirstName;
    if (!std::memchr(field, '$', PersonnelLayout::FirstNameWidth))
        return false;
    return GetFixedText(field, PersonnelLayout::FirstNameWidth).trimmed() == KilledMarker;
}
