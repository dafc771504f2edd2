#pragma once

#include "core/record/PersonnelRecord.h"

#include <QString>

// Who a record is, apart from where it lies. A slot number says only where an employee was when the list was
// built: another program (vardel-data, a restore, a conversion) may have put somebody else there since. Whatever
// writes a shown record back into its slot first checks that the slot still holds that employee: the same
// creation stamp, to the bit, and the same name.
struct RecordIdentity {
    quint64 CreatedBits = 0;
    QString FirstName;
    QString MiddleName;
    QString LastName;
    QString Suffix;

    bool operator==(const RecordIdentity&) const = default;
    // "Last, First", as the list names the employee.
    QString ListedName() const;
};

RecordIdentity IdentityOf(const PersonnelRecord& record);

// The employee as the list names him or her in column 0: "Last, First", each trimmed.
QString ListedName(const PersonnelRecord& record);

// "***-**-" and the last four characters; empty stays empty.
QString MaskSocialSecurityNumber(const QString& number);
