#pragma once

#include "core/record/PersonnelRecord.h"

#include <QByteArray>
#include <QString>

// The 2000-byte employee record of the program's earlier releases, kept only to convert such files.
struct OldPersonnelRecord {
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
    QString Race;
    QString Sex;
    QString SocialSecurityNumber;
    double DateOfBirth = 0;
    double DateOfEmployment = 0;
    double DateOfJobTitle = 0;
    double InactivationDate = 0;
    QString EmployeeNumber; // 20 characters here, 15 in the present record
    QString JobTitle;
    quint8 SwornCode = 0; // 2 = sworn
    // Fields the present record has no place for; they are dropped by the conversion.
    QString Unused40;
    QString Unused20;
    QString Notes;
    qint16 UnusedNumber = 0;
    quint8 UnusedByte = 0;
};

// Byte layout of an older record.
namespace OldPersonnelLayout {
constexpr int RecordSize = 2000;

constexpr int FirstName = 0, FirstNameWidth = 15;
constexpr int MiddleName = 15, MiddleNameWidth = 15;
constexpr int LastName = 30, LastNameWidth = 20;
constexpr int Suffix = 50, SuffixWidth = 3;
constexpr int EmergencyName = 53, EmergencyNameWidth = 25;
constexpr int EmergencyRelationship = 78, EmergencyRelationshipWidth = 15;
constexpr int EmergencyPhone = 93, EmergencyPhoneWidth = 20;
constexpr int StreetAddress = 113, StreetAddressWidth = 50;
constexpr int CityStateZip = 163, CityStateZipWidth = 50;
constexpr int HomePhone = 213, HomePhoneWidth = 20;
constexpr int Race = 233, RaceWidth = 1;
constexpr int Sex = 234, SexWidth = 1;
constexpr int SocialSecurityNumber = 235, SocialSecurityNumberWidth = 11;
constexpr int DateOfBirth = 246;
constexpr int DateOfEmployment = 254;
constexpr int DateOfJobTitle = 262;
constexpr int InactivationDate = 270;
constexpr int EmployeeNumber = 278, EmployeeNumberWidth = 20;
constexpr int JobTitle = 298, JobTitleWidth = 25;
constexpr int SwornCode = 323;
constexpr int Unused40 = 324, Unused40Width = 40;
constexpr int Unused20 = 364, Unused20Width = 20;
constexpr int Notes = 384, NotesWidth = 1613;
constexpr int UnusedNumber = 1997;
constexpr int UnusedByte = 1999;

static_assert(UnusedByte + 1 == RecordSize);
static_assert(Notes + NotesWidth == UnusedNumber);
} // namespace OldPersonnelLayout

// Exactly 2000 bytes, text blank-padded and cut at each field's width.
QByteArray EncodeOldPersonnelRecord(const OldPersonnelRecord& record);
// Reads 2000 bytes; text comes back trimmed.
OldPersonnelRecord DecodeOldPersonnelRecord(const char* src);

// The present record (5000 bytes) made from an older one (2000 bytes). Every carried-over field keeps its bytes
// as they are; the employee number keeps its first 15 characters, the sworn code 2 becomes the flag -1 and any
// other code 0; RecordCreated is createdAt, LastModified 0, CellPhone, Email and PicturePath blank, and
// DataVersion the given version.
QByteArray ConvertOldRecord(const char* oldRecord, double createdAt, qint16 dataVersion);
