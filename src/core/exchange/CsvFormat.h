#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// Comma-separated values as RFC 4180 writes them: fields with a comma, a quote or a line break in quotes, quotes
// doubled, CR LF after each record. The text is UTF-8; a byte-order mark at the start of a file makes spreadsheet
// programs read accents right.

QByteArray CsvRecord(const QStringList& fields);
inline const QByteArray Utf8ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

// The records of a CSV text (a byte-order mark skipped; CR LF, LF or CR between records; line breaks inside quotes
// kept as LF). Nothing, with the line, for a quote left open.
struct CsvParse {
    QList<QStringList> records;
    QString error;
};
CsvParse ParseCsv(const QByteArray& text);

// A spreadsheet program opening a CSV file runs a cell that begins with =, +, -, @, TAB or CR as a formula (which
// can start programs or send the sheet's data away). An export writes such a cell behind an apostrophe, which the
// spreadsheet shows as text; so does one that already begins with apostrophes before such a character, so that
// UnguardedCell, which takes one apostrophe off exactly those cells, gives back every cell as it was.
QString GuardedCell(const QString& text);
QString UnguardedCell(const QString& text);
