#pragma once

#include "core/record/PersonnelRecord.h"

#include <QString>

#include <vector>

// The data-quality check: problems in the stored records that a supervisor would want fixed. The check reads; it
// never changes a record.

struct QualityFinding {
    qint64 slot = 0;
    // The employee as a clerk finds him in the list, and the record's creation stamp, which tells apart two
    // employees of one name.
    QString employee;
    double recordCreated = 0;
    bool previous = false; // listed among the previous employees
    QString field; // the form's caption of the field at fault
    QString rule;  // what is wrong, in a clerk's words
};

// Checks records (slot n is records[n - 1]) as of today (an automation date at midnight). Findings come in slot
// order, each record's in the order of the form's fields.
std::vector<QualityFinding> CheckRecords(const std::vector<PersonnelRecord>& records, double today);

// Whether text is a social security number of the form 999-99-9999 that could have been issued: not area 000,
// 666 or 900-999, not group 00, not serial 0000.
bool IsIssuableSocialSecurityNumber(const QString& text);

// Reads every slot of a data file read-only (a cut-off last slot completed blank) and checks it. A missing file
// holds no records. Throws FileError.
std::vector<QualityFinding> CheckDataFile(const QString& fileName, double today);

// Checks every employee of the active store; a finding's slot is the employee's key. records, when given, takes
// the number of employees checked. Throws FileError.
std::vector<QualityFinding> CheckActiveStore(double today, qint64* records = nullptr);
