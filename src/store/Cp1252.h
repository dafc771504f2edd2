#pragma once

#include <QByteArray>
#include <QString>

// Single-byte Windows-1252 text, as stored in the fixed-width fields of the data files.

// Encodes text; characters the code page lacks become '?'.
QByteArray EncodeCp1252(const QString& text);
QString DecodeCp1252(const char* data, qsizetype size);
inline QString DecodeCp1252(const QByteArray& bytes) {
    return DecodeCp1252(bytes.constData(), bytes.size());
}

// Writes text left-aligned into width bytes at dest, blank-padded, cut at the width.
void PutFixedText(char* dest, int width, const QString& text);
// Reads width bytes at src with leading and trailing blanks removed.
QString GetFixedText(const char* src, int width);
