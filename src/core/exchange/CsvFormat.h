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
