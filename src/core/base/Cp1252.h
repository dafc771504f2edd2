#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Single-byte Windows-1252 text, as stored in the fixed-width fields of the data files.

// Encodes text; characters the code page lacks become '?'. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) decode to the C1 controls of the same value and encode back to the same bytes, so a
// record carrying them is unchanged by a later save.
QByteArray EncodeCp1252(const QString& text);
QString DecodeCp1252(const char* data, qsizetype size);
inline QString DecodeCp1252(const QByteArray& bytes) {
    return DecodeCp1252(bytes.constData(), bytes.size());
}

// Whether the code page holds a byte for the code point.
bool IsCp1252Char(char32_t codePoint);
// Whether every character of text can be stored as it is.
bool IsCp1252Text(const QString& text);
// text made storable, for pasted or dropped input: a character the code page lacks becomes its plain form where it
// has one ("Ł" to "L", "ő" to "o", "ﬁ" to "fi", "−" to "-"), else "?" as the file would hold it. Decomposed
// accents are joined first ("e" and a combining acute become "é"). Storable text comes back unchanged.
QString CleanCp1252Text(const QString& text);

// What CleanCp1252Text replaces in text: each character the code page lacks, once, in order of appearance, with
// what it becomes.
struct Cp1252Replacement {
    QString Original;
    QString Replacement;
    bool operator==(const Cp1252Replacement&) const = default;
};
QList<Cp1252Replacement> Cp1252Replacements(const QString& text);

// Writes text left-aligned into width bytes at dest, blank-padded, cut at the width.
void PutFixedText(char* dest, int width, const QString& text);
// Reads width bytes at src with leading and trailing blanks removed.
QString GetFixedText(const char* src, int width);
// The bytes of a fixed-width field without its leading and trailing blanks, in place.
struct FixedTextSpan {
    const char* data;
    int size;
};
FixedTextSpan TrimmedField(const char* src, int width);
// Decodes size bytes into dest (room for size characters); returns the end of what was written.
QChar* DecodeCp1252Into(const char* data, qsizetype size, QChar* dest);
