#pragma once

#include "core/list/ListOptions.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Exports of the employee list: exactly the list the main window shows (its heading, rows and order), either as
// its visible columns or as the whole records of the listed employees, to XLSX, CSV or JSON.

enum class ExportFormat { Xlsx, Csv, Json };
enum class ExportFields { List, All };

struct ExportCell {
    QString text;
    double date = 0; // an automation date, for a cell that holds a date (text is then its form)
    bool isDate = false;
};

struct ExportTable {
    QString heading;
    QStringList columns;        // headings: the grid's, or the form's captions
    QList<QByteArray> jsonKeys; // the record's field names, or the headings
    QList<QList<ExportCell>> rows;
};

// The employees the options list, in the list's order, from DataFileName. Social security numbers are masked
// below access level 4. Throws FileError.
ExportTable MakeExportTable(const ListOptions& options, const QDate& today, ExportFields fields, int accessLevel);

// The column headings of a whole-record export, which an import also takes.
QStringList RecordColumnHeadings();

QByteArray CsvExport(const ExportTable& table);
QByteArray JsonExport(const ExportTable& table);
// Writes the workbook into the existing file path; an empty text on success, else the reason of the first write
// the library refused.
QString WriteXlsxExport(const ExportTable& table, const QString& path);

// Whether an export may write over a file already at its path.
enum class ExistingFile { Refuse, Replace };

// Why path cannot take an export, or empty when it can: it is in the data folder (the data file, the history, the
// user list, any file there, however the path reaches it), it is a folder, or its folder is missing.
QString ExportTargetProblem(const QString& path);

// Writes the table to path, owner-only from its first byte (it may hold social security numbers): completely into a
// new file beside it, which then takes path's place in one rename, so that a failed export leaves whatever was at
// path as it was. Refuses what ExportTargetProblem refuses, and an existing file unless existing says Replace. An
// empty text on success, else the reason.
QString WriteExport(const ExportTable& table, ExportFormat format, const QString& path, ExistingFile existing);

// "Employee List 2026-12-07.xlsx"
QString DefaultExportFileName(const QDate& today, ExportFormat format);
// The format a file name's ending names; Xlsx for any other.
ExportFormat ExportFormatOfName(const QString& path);
