#include "core/record/OldPersonnelRecord.h"

#include "core/base/Cp1252.h"

#include <cstring>

namespace O = OldPersonnelLayout;
namespace P = PersonnelLayout;

QByteArray EncodeOldPersonnelRecord(const OldPersonnelRecord& r) {
    QByteArray bytes(O::RecordSize, ' ');
    char* d = bytes.data();
    PutFixedText(d + O::FirstName, O::FirstNameWidth, r.FirstName);
    PutFixedText(d + O::MiddleName, O::MiddleNameWidth, r.MiddleName);
    PutFixedText(d + O::LastName, O::LastNameWidth, r.LastName);
    PutFixedText(d + O::Suffix, O::SuffixWidth, r.Suffix);
    PutFixedText(d + O::EmergencyName, O::EmergencyNameWidth, r.EmergencyName);
    PutFixedText(d + O::EmergencyRelationship, O::EmergencyRelationshipWidth, r.EmergencyRelationship);
    PutFixedText(d + O::EmergencyPhone, O::EmergencyPhoneWidth, r.EmergencyPhone);
    PutFixedText(d + O::StreetAddress, O::StreetAddressWidth, r.StreetAddress);
    PutFixedText(d + O::CityStateZip, O::CityStateZipWidth, r.CityStateZip);
    PutFixedText(d + O::HomePhone, O::HomePhoneWidth, r.HomePhone);
    PutFixedText(d + O::Race, O::RaceWidth, r.Race);
    PutFixedText(d + O::Sex, O::SexWidth, r.Sex);
    PutFixedText(d + O::SocialSecurityNumber, O::SocialSecurityNumberWidth, r.SocialSecurityNumber);
    PutDouble(d + O::DateOfBirth, r.DateOfBirth);
    PutDouble(d + O::DateOfEmployment, r.DateOfEmployment);
    PutDouble(d + O::DateOfJobTitle, r.DateOfJobTitle);
    PutDouble(d + O::InactivationDate, r.InactivationDate);
    PutFixedText(d + O::EmployeeNumber, O::EmployeeNumberWidth, r.EmployeeNumber);
    PutFixedText(d + O::JobTitle, O::JobTitleWidth, r.JobTitle);
    d[O::SwornCode] = static_cast<char>(r.SwornCode);
    PutFixedText(d + O::Unused40, O::Unused40Width, r.Unused40);
    PutFixedText(d + O::Unused20, O::Unused20Width, r.Unused20);
    PutFixedText(d + O::Notes, O::NotesWidth, r.Notes);
    PutInt16(d + O::UnusedNumber, r.UnusedNumber);
    d[O::UnusedByte] = static_cast<char>(r.UnusedByte);
    return bytes;
}

OldPersonnelRecord DecodeOldPersonnelRecord(const char* s) {
    OldPersonnelRecord r;
    r.FirstName = GetFixedText(s + O::FirstName, O::FirstNameWidth);
    r.MiddleName = GetFixedText(s + O::MiddleName, O::MiddleNameWidth);
    r.LastName = GetFixedText(s + O::LastName, O::LastNameWidth);
    r.Suffix = GetFixedText(s + O::Suffix, O::SuffixWidth);
    r.EmergencyName = GetFixedText(s + O::EmergencyName, O::EmergencyNameWidth);
    r.EmergencyRelationship = GetFixedText(s + O::EmergencyRelationship, O::EmergencyRelationshipWidth);
    r.EmergencyPhone = GetFixedText(s + O::EmergencyPhone, O::EmergencyPhoneWidth);
    r.StreetAddress = GetFixedText(s + O::StreetAddress, O::StreetAddressWidth);
    r.CityStateZip = GetFixedText(s + O::CityStateZip, O::CityStateZipWidth);
    r.HomePhone = GetFixedText(s + O::HomePhone, O::HomePhoneWidth);
    r.Race = GetFixedText(s + O::Race, O::RaceWidth);
    r.Sex = GetFixedText(s + O::Sex, O::SexWidth);
    r.SocialSecurityNumber = GetFixedText(s + O::SocialSecurityNumber, O::SocialSecurityNumberWidth);
    r.DateOfBirth = GetDouble(s + O::DateOfBirth);
    r.DateOfEmployment = GetDouble(s + O::DateOfEmployment);
    r.DateOfJobTitle = GetDouble(s + O::DateOfJobTitle);
    r.InactivationDate = GetDouble(s + O::InactivationDate);
    r.EmployeeNumber = GetFixedText(s + O::EmployeeNumber, O::EmployeeNumberWidth);
    r.JobTitle = GetFixedText(s + O::JobTitle, O::JobTitleWidth);
    r.SwornCode = static_cast<quint8>(s[O::SwornCode]);
    r.Unused40 = GetFixedText(s + O::Unused40, O::Unused40Width);
    r.Unused20 = GetFixedText(s + O::Unused20, O::Unused20Width);
    r.Notes = GetFixedText(s + O::Notes, O::NotesWidth);
    r.UnusedNumber = GetInt16(s + O::UnusedNumber);
    r.UnusedByte = static_cast<quint8>(s[O::UnusedByte]);
    return r;
}

namespace {

// Copies count bytes from the older record's offset to the present record's offset.
void carry(char* dest, int destOffset, const char* src, int srcOffset, int count) {
    std::memcpy(dest + destOffset, src + srcOffset, static_cast<size_t>(count));
}

} // namespace

QByteArray ConvertOldRecord(const char* s, double createdAt, qint16 dataVersion) {
    // The bytes go over unchanged, without a round trip through the program's text type: whatever the older
    // release stored, including bytes the code page leaves undefined, reaches the present file as it was.
    QByteArray bytes(P::RecordSize, ' ');
    char* d = bytes.data();
    PutDouble(d + P::RecordCreated, createdAt);
    PutDouble(d + P::LastModified, 0);
    carry(d, P::FirstName, s, O::FirstName, O::FirstNameWidth);
    carry(d, P::MiddleName, s, O::MiddleName, O::MiddleNameWidth);
    carry(d, P::LastName, s, O::LastName, O::LastNameWidth);
    carry(d, P::Suffix, s, O::Suffix, O::SuffixWidth);
    carry(d, P::EmergencyName, s, O::EmergencyName, O::EmergencyNameWidth);
    carry(d, P::EmergencyRelationship, s, O::EmergencyRelationship, O::EmergencyRelationshipWidth);
    carry(d, P::EmergencyPhone, s, O::EmergencyPhone, O::EmergencyPhoneWidth);
    carry(d, P::StreetAddress, s, O::StreetAddress, O::StreetAddressWidth);
    carry(d, P::CityStateZip, s, O::CityStateZip, O::CityStateZipWidth);
    carry(d, P::HomePhone, s, O::HomePhone, O::HomePhoneWidth);
    carry(d, P::Race, s, O::Race, O::RaceWidth);
    carry(d, P::Sex, s, O::Sex, O::SexWidth);
    carry(d, P::SocialSecurityNumber, s, O::SocialSecurityNumber, O::SocialSecurityNumberWidth);
    carry(d, P::DateOfBirth, s, O::DateOfBirth, 8);
    carry(d, P::DateOfEmployment, s, O::DateOfEmployment, 8);
    carry(d, P::DateOfJobTitle, s, O::DateOfJobTitle, 8);
    carry(d, P::InactivationDate, s, O::InactivationDate, 8);
    carry(d, P::EmployeeNumber, s, O::EmployeeNumber, P::EmployeeNumberWidth);
    carry(d, P::JobTitle, s, O::JobTitle, O::JobTitleWidth);
    // The older notes fill the start of the notepad; the rest of it stays blank.
    carry(d, P::Notepad, s, O::Notes, O::NotesWidth);
    PutInt16(d + P::Sworn, static_cast<quint8>(s[O::SwornCode]) == 2 ? qint16(-1) : qint16(0));
    PutInt16(d + P::DataVersion, dataVersion);
    return bytes;
}
