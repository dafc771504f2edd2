#pragma once

#include "core/record/PersonnelRecord.h"
#include "core/store/DataFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// Importing new employees from a CSV file: its heading row names fields by the form's captions or the record's field
// names (letter case and blanks ignored), each field once. Every row goes through the record form's checks, with their
// messages, and through what a file of employees adds: a social security number already on file or twice in the import,
// a name and date of birth already there, text the record cannot hold. Nothing is written until the import is applied,
// and then every accepted row at once.

struct ImportRow {
    int line = 0; // the row's record number in the file, the heading being 1
    QString name; // "Last, First" as the row gives it
    bool accepted = false;
    QString reason; // why the row will not be added
    PersonnelRecord record;
};

struct ImportPlan {
    QString error; // the file as a whole cannot be taken (no heading, an open quote, no name columns)
    QStringList ignoredColumns;
    QList<ImportRow> rows;
    qsizetype accepted() const;
};

// The whole CSV file at path, opened as every file named by a user is: a folder, a named pipe or a device is
// refused at once, never waited on or read without end. Throws FileError whose text names the file.
QByteArray ReadImportFile(const QString& path);

// The verdict on every row of csv against the employees on file, as if added at now (an automation date).
ImportPlan PlanImport(const QByteArray& csv, const std::vector<PersonnelRecord>& onFile, double now);

// Appends the accepted records to the active store; in the folder, to DataFileName in one write under the folder lock:
// all of them or, when the write fails, none. Returns how many were added. Throws FileError.
qint64 ApplyImport(const ImportPlan& plan);

// "will add" / "will not add: reason", one line per row, as the preview and vardel-data show it.
QString ImportVerdictText(const ImportRow& row);

// ApplyImport with an "import" line for each filled field of each accepted record, both or neither. The accepted
// rows are checked again for duplicates against the records as they are when the write begins, under the same
// hold of the store's writer lock as the write: a row that somebody else added meanwhile is refused in plan, with
// the same reason, and not added.
qint64 ApplyImportWithHistory(ImportPlan& plan);
