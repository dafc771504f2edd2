#include "core/record/PersonnelRecord.h"

#include "core/base/Cp1252.h"

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
    PutDouble(d + L::RecordCreated, r.RecordCreated);
    PutDouble(d + L::LastModified, r.LastModified);
    PutFixedText(d + L::FirstName, L::FirstNameWidth, r.FirstName);
    PutFixedText(d + L::MiddleName, L::MiddleNameWidth, r.MiddleName);
    PutFixedText(d + L::LastName, L::LastNameWidth, r.LastName);
    PutFixedText(d + L::Suffix, L::SuffixWidth, r.Suffix);
    PutFixedText(d + L::EmergencyName, L::EmergencyNameWidth, r.EmergencyName);
    PutFixedText(d + L::EmergencyRelationship, L::EmergencyRelationshipWidth, r.EmergencyRelationship);
    PutFixedText(d + L::EmergencyPhone, L::EmergencyPhoneWidth, r.EmergencyPhone);
    PutFixedText(d + L::StreetAddress, L::StreetAddressWidth, r.StreetAddress);
    PutFixedText(d + L::CityStateZip, L::CityStateZipWidth, r.CityStateZip);
    PutFixedText(d + L::HomePhone, L::HomePhoneWidth, r.HomePhone);
    PutFixedText(d + L::CellPhone, L::CellPhoneWidth, r.CellPhone);
    PutFixedText(d + L::Race, L::RaceWidth, r.Race);
    PutFixedText(d + L::Sex, L::SexWidth, r.Sex);
    PutFixedText(d + L::SocialSecurityNumber, L::SocialSecurityNumberWidth, r.SocialSecurityNumber);
    PutDouble(d + L::DateOfBirth, r.DateOfBirth);
    PutDouble(d + L::DateOfEmployment, r.DateOfEmployment);
    PutDouble(d + L::DateOfJobTitle, r.DateOfJobTitle);
    PutDouble(d + L::InactivationDate, r.InactivationDate);
    PutFixedText(d + L::EmployeeNumber, L::EmployeeNumberWidth, r.EmployeeNumber);
    PutFixedText(d + L::JobTitle, L::JobTitleWidth, r.JobTitle);
    PutFixedText(d + L::Notepad, L::NotepadWidth, r.Notepad);
    PutInt16(d + L::Sworn, r.Sworn);
    PutFixedText(d + L::Email, L::EmailWidth, r.Email);
    PutFixedText(d + L::PicturePath, L::PicturePathWidth, r.PicturePath);
    PutInt16(d + L::DataVersion, r.DataVersion);
}

QByteArray EncodePersonnelRecord(const PersonnelRecord& record) {
    QByteArray bytes(L::RecordSize, ' ');
    EncodePersonnelRecord(record, bytes.data());
    return bytes;
}

PersonnelRecord DecodePersonnelRecord(const char* s) {
    PersonnelRecord r;
    r.RecordCreated = GetDouble(s + L::RecordCreated);
    r.LastModified = GetDouble(s + L::LastModified);
    r.FirstName = GetFixedText(s + L::FirstName, L::FirstNameWidth);
    r.MiddleName = GetFixedText(s + L::MiddleName, L::MiddleNameWidth);
    r.LastName = GetFixedText(s + L::LastName, L::LastNameWidth);
    r.Suffix = GetFixedText(s + L::Suffix, L::SuffixWidth);
    r.EmergencyName = GetFixedText(s + L::EmergencyName, L::EmergencyNameWidth);
    r.EmergencyRelationship = GetFixedText(s + L::EmergencyRelationship, L::EmergencyRelationshipWidth);
    r.EmergencyPhone = GetFixedText(s + L::EmergencyPhone, L::EmergencyPhoneWidth);
    r.StreetAddress = GetFixedText(s + L::StreetAddress, L::StreetAddressWidth);
    r.CityStateZip = GetFixedText(s + L::CityStateZip, L::CityStateZipWidth);
    r.HomePhone = GetFixedText(s + L::HomePhone, L::HomePhoneWidth);
    r.CellPhone = GetFixedText(s + L::CellPhone, L::CellPhoneWidth);
    r.Race = GetFixedText(s + L::Race, L::RaceWidth);
    r.Sex = GetFixedText(s + L::Sex, L::SexWidth);
    r.SocialSecurityNumber = GetFixedText(s + L::SocialSecurityNumber, L::SocialSecurityNumberWidth);
    r.DateOfBirth = GetDouble(s + L::DateOfBirth);
    r.DateOfEmployment = GetDouble(s + L::DateOfEmployment);
    r.DateOfJobTitle = GetDouble(s + L::DateOfJobTitle);
    r.InactivationDate = GetDouble(s + L::InactivationDate);
    r.EmployeeNumber = GetFixedText(s + L::EmployeeNumber, L::EmployeeNumberWidth);
    r.JobTitle = GetFixedText(s + L::JobTitle, L::JobTitleWidth);
    r.Notepad = GetFixedText(s + L::Notepad, L::NotepadWidth);
    r.Sworn = GetInt16(s + L::Sworn);
    r.Email = GetFixedText(s + L::Email, L::EmailWidth);
    r.PicturePath = GetFixedText(s + L::PicturePath, L::PicturePathWidth);
    r.DataVersion = GetInt16(s + L::DataVersion);
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
