#pragma once

#include <QByteArray>
#include <QString>

// One employee: 27 fields, 5000 bytes in the data file.
struct PersonnelRecord {
    double RecordCreated = 0;
    double LastModified = 0;
    QString FirstName;
    QString MiddleName;
    QString LastName;
    QString Suffix;
    QString EmergencyName;
    QString EmergencyRelationship;
    QString EmergencyPhone;
    QString StreetAddress;
    QString CityStateZip;
    QString HomePhone;
    QString CellPhone;
    QString Race;
    QString Sex;
    QString SocialSecurityNumber;
    double DateOfBirth = 0;
    double DateOfEmployment = 0;
    double DateOfJobTitle = 0;
    double InactivationDate = 0;
    QString EmployeeNumber;
    QString JobTitle;
    QString Notepad;
    qint16 Sworn = 0;
    QString Email;
    QString PicturePath;
    qint16 DataVersion = 0;

    bool operator==(const PersonnelRecord&) const = default;
};

// Byte layout of a record in the data file.
namespace PersonnelLayout {
constexpr int RecordSize = 5000;

constexpr int RecordCreated = 0;
constexpr int LastModified = 8;
constexpr int FirstName = 16, FirstNameWidth = 15;
constexpr int MiddleName = 31, MiddleNameWidth = 15;
constexpr int LastName = 46, LastNameWidth = 20;
constexpr int Suffix = 66, SuffixWidth = 3;
constexpr int EmergencyName = 69, EmergencyNameWidth = 25;
constexpr int EmergencyRelationship = 94, EmergencyRelationshipWidth = 15;
constexpr int EmergencyPhone = 109, EmergencyPhoneWidth = 20;
constexpr int StreetAddress = 129, StreetAddressWidth = 50;
constexpr int CityStateZip = 179, CityStateZipWidth = 50;
constexpr int HomePhone = 229, HomePhoneWidth = 20;
constexpr int CellPhone = 249, CellPhoneWidth = 20;
constexpr int Race = 269, RaceWidth = 1;
constexpr int Sex = 270, SexWidth = 1;
constexpr int SocialSecurityNumber = 271, SocialSecurityNumberWidth = 11;
constexpr int DateOfBirth = 282;
constexpr int DateOfEmployment = 290;
constexpr int DateOfJobTitle = 298;
constexpr int InactivationDate = 306;
constexpr int EmployeeNumber = 314, EmployeeNumberWidth = 15;
constexpr int JobTitle = 329, JobTitleWidth = 25;
constexpr int Notepad = 354, NotepadWidth = 4517;
constexpr int Sworn = 4871;
constexpr int Email = 4873, EmailWidth = 25;
constexpr int PicturePath = 4898, PicturePathWidth = 100;
constexpr int DataVersion = 4998;

static_assert(DataVersion + 2 == RecordSize);
static_assert(Notepad + NotepadWidth == Sworn);
} // namespace PersonnelLayout

// The FirstName of a record that is being removed.
inline const QString KilledMarker = QStringLiteral("$Killed$");

// True when the record carries the removal marker (trimmed FirstName equal to it, nothing more).
inline bool IsKilled(const PersonnelRecord& record) {
    return record.FirstName.trimmed() == KilledMarker;
}

// Whether a 5000-byte slot as stored carries the removal marker (its FirstName, trimmed, is "$Killed$"); reads the
// one field only.
bool IsKilledSlot(const char* slot);

// Exactly 5000 bytes. Text is blank-padded and cut at each field's width.
QByteArray EncodePersonnelRecord(const PersonnelRecord& record);
void EncodePersonnelRecord(const PersonnelRecord& record, char* dest);
// Reads 5000 bytes; text comes back trimmed.
PersonnelRecord DecodePersonnelRecord(const char* src);
// Only the InactivationDate of an encoded record, for counting without decoding the text.
double DecodeInactivationDate(const char* src);

// Little-endian numbers at a byte position.
double GetDouble(const char* src);
void PutDouble(char* dest, double value);
qint16 GetInt16(const char* src);
void PutInt16(char* dest, qint16 value);
