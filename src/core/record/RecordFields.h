#pragma once

#include "core/record/PersonnelRecord.h"

#include <QList>

#include <array>

// The employee record's 27 fields in one table, so that whoever reads, writes, shows, compares or exports a record
// walks the same list instead of naming each field again.

// The fields in the order of the 5000-byte image.
enum class FieldId {
    RecordCreated,
    LastModified,
    FirstName,
    MiddleName,
    LastName,
    Suffix,
    EmergencyName,
    EmergencyRelationship,
    EmergencyPhone,
    StreetAddress,
    CityStateZip,
    HomePhone,
    CellPhone,
    Race,
    Sex,
    SocialSecurityNumber,
    DateOfBirth,
    DateOfEmployment,
    DateOfJobTitle,
    InactivationDate,
    EmployeeNumber,
    JobTitle,
    Notepad,
    Sworn,
    Email,
    PicturePath,
    DataVersion,
};

enum class FieldKind {
    Text,   // QString, blank-padded Windows-1252 of its width
    Stamp,  // double: an automation date with its time of day
    Date,   // double: an automation date, 0 for none
    Flag,   // qint16: -1 for yes, 0 for no
    Number, // qint16
};

struct RecordField {
    FieldId Id;
    const char* Name;    // the member of PersonnelRecord, also the key of the dump and of the export
    const char* Caption; // as the record form shows it; empty when the form does not show the field
    FieldKind Kind;
    int Offset; // in the image
    int Width;  // bytes in the image; for text also the characters it holds
    // Where the field sits among the form's entry fields (txtField): 1-22, 0 when it has no entry field.
    int FormIndex = 0;
    int Page = -1;       // the page of tabNameInfo its entry field is on
    int EntryLength = 0; // characters its entry field accepts
    // Exactly one of these is set, by the kind.
    QString PersonnelRecord::*Text = nullptr;
    double PersonnelRecord::*Day = nullptr;
    qint16 PersonnelRecord::*Whole = nullptr;
};

namespace RecordFieldTable {
namespace L = PersonnelLayout;
using P = PersonnelRecord;
using K = FieldKind;
using I = FieldId;

constexpr RecordField text(I id, const char* name, const char* caption, int offset, int width, QString P::*member,
                           int formIndex = 0, int page = -1, int entryLength = 0) {
    return {id, name, caption, K::Text, offset, width, formIndex, page, entryLength, member, nullptr, nullptr};
}

constexpr RecordField day(I id, const char* name, const char* caption, K kind, int offset, double P::*member,
                          int formIndex = 0, int page = -1) {
    return {id, name, caption, kind, offset, 8, formIndex, page, formIndex ? 17 : 0, nullptr, member, nullptr};
}

constexpr RecordField whole(I id, const char* name, const char* caption, K kind, int offset, qint16 P::*member) {
    return {id, name, caption, kind, offset, 2, 0, -1, 0, nullptr, nullptr, member};
}

// The two address lines take 40 characters on the form although the record holds 50.
inline constexpr std::array<RecordField, 27> kFields = {{
    day(I::RecordCreated, "RecordCreated", "Record created", K::Stamp, L::RecordCreated, &P::RecordCreated),
    day(I::LastModified, "LastModified", "Last modified", K::Stamp, L::LastModified, &P::LastModified),
    text(I::FirstName, "FirstName", "First Name", L::FirstName, L::FirstNameWidth, &P::FirstName, 1, 0, 15),
    text(I::MiddleName, "MiddleName", "Middle Name", L::MiddleName, L::MiddleNameWidth, &P::MiddleName, 2, 0, 15),
    text(I::LastName, "LastName", "Last Name", L::LastName, L::LastNameWidth, &P::LastName, 3, 0, 20),
    text(I::Suffix, "Suffix", "Suffix", L::Suffix, L::SuffixWidth, &P::Suffix, 4, 0, 3),
    text(I::EmergencyName, "EmergencyName", "Name", L::EmergencyName, L::EmergencyNameWidth, &P::EmergencyName, 9, 0,
         25),
    text(I::EmergencyRelationship, "EmergencyRelationship", "Relationship", L::EmergencyRelationship,
         L::EmergencyRelationshipWidth, &P::EmergencyRelationship, 10, 0, 15),
    text(I::EmergencyPhone, "EmergencyPhone", "Contact Number", L::EmergencyPhone, L::EmergencyPhoneWidth,
         &P::EmergencyPhone, 11, 0, 20),
    text(I::StreetAddress, "StreetAddress", "Street Address", L::StreetAddress, L::StreetAddressWidth,
         &P::StreetAddress, 12, 1, 40),
    text(I::CityStateZip, "CityStateZip", "City/State/Zip", L::CityStateZip, L::CityStateZipWidth, &P::CityStateZip, 13,
         1, 40),
    text(I::HomePhone, "HomePhone", "Home Phone", L::HomePhone, L::HomePhoneWidth, &P::HomePhone, 14, 1, 20),
    text(I::CellPhone, "CellPhone", "Cell Phone", L::CellPhone, L::CellPhoneWidth, &P::CellPhone, 15, 1, 20),
    text(I::Race, "Race", "Race", L::Race, L::RaceWidth, &P::Race, 5, 0, 1),
    text(I::Sex, "Sex", "Sex", L::Sex, L::SexWidth, &P::Sex, 6, 0, 1),
    text(I::SocialSecurityNumber, "SocialSecurityNumber", "Social Security #", L::SocialSecurityNumber,
         L::SocialSecurityNumberWidth, &P::SocialSecurityNumber, 8, 0, 11),
    day(I::DateOfBirth, "DateOfBirth", "Date of Birth", K::Date, L::DateOfBirth, &P::DateOfBirth, 7, 0),
    day(I::DateOfEmployment, "DateOfEmployment", "Date of Employment", K::Date, L::DateOfEmployment,
        &P::DateOfEmployment, 19, 2),
    day(I::DateOfJobTitle, "DateOfJobTitle", "Date of Job Title", K::Date, L::DateOfJobTitle, &P::DateOfJobTitle, 20,
        2),
    day(I::InactivationDate, "InactivationDate", "Inactivation Date", K::Date, L::InactivationDate,
        &P::InactivationDate, 21, 2),
    text(I::EmployeeNumber, "EmployeeNumber", "Employee #", L::EmployeeNumber, L::EmployeeNumberWidth,
         &P::EmployeeNumber, 17, 2, 15),
    text(I::JobTitle, "JobTitle", "Job Title", L::JobTitle, L::JobTitleWidth, &P::JobTitle, 18, 2, 25),
    text(I::Notepad, "Notepad", "Notepad", L::Notepad, L::NotepadWidth, &P::Notepad, 22, 3, L::NotepadWidth),
    whole(I::Sworn, "Sworn", "Sworn Employee", K::Flag, L::Sworn, &P::Sworn),
    text(I::Email, "Email", "Email", L::Email, L::EmailWidth, &P::Email, 16, 1, 25),
    text(I::PicturePath, "PicturePath", "Picture", L::PicturePath, L::PicturePathWidth, &P::PicturePath),
    whole(I::DataVersion, "DataVersion", "", K::Number, L::DataVersion, &P::DataVersion),
}};
} // namespace RecordFieldTable

// Every field, in the order of the image.
inline constexpr const std::array<RecordField, 27>& RecordFields = RecordFieldTable::kFields;

constexpr const RecordField& Field(FieldId id) {
    return RecordFields[static_cast<size_t>(id)];
}

// The form index of a field, for code that holds the entry fields by index.
constexpr int FormIndex(FieldId id) {
    return Field(id).FormIndex;
}

// The field of entry field index (1-22), or nullptr.
const RecordField* FormField(int index);

// The fields that have an entry field, in the form's order (1 to 22).
const QList<const RecordField*>& FormFields();
