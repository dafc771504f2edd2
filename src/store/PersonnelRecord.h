#pragma once

#include <QString>

// One employee: 27 fields, 5000 bytes in the data file.
struct PersonnelRecord {
    double RecordCreated = 0;
    double LastModified = 0;
    QString FirstName;
};
