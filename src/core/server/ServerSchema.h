#pragma once

#include <QByteArray>
#include <QList>

class PgConnection;
struct RecordField;

// The steps of schema.sql: steps[0] takes an empty database to version 1, steps[1] version 1 to 2, and so on.
QList<QByteArray> SchemaSteps();
inline int LatestSchemaVersion() {
    return static_cast<int>(SchemaSteps().size());
}

// The version of the program's tables in the database; 0 when it has none yet.
int SchemaVersion(PgConnection& connection);

// Brings the database to version upTo (the latest by default), running the steps it lacks in one transaction, so
// that two desks starting at once never both create the tables. A database whose version is newer than this
// program knows is refused with FileError, and nothing is changed.
void PrepareSchema(PgConnection& connection, int upTo = LatestSchemaVersion());

// The employee table's column of a record field: its name in lower case, words joined by "_" ("city_state_zip").
QByteArray EmployeeColumn(const RecordField& field);
