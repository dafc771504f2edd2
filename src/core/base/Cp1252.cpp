#include "core/base/Cp1252.h"

#include <QList>

#include <array>
#include <cstring>

namespace {

// Code points of bytes 0x80-0x9F; 0 marks the five bytes that Windows-1252 leaves undefined.
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte of a code point, or -1 when the code page has none.
int byteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    // The undefined bytes came in as the C1 control of the same value and go back out as that byte.
    if (cp >= 0x80 && cp < 0xA0 && kHigh[cp - 0x80] == 0)
        return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] != 0 && kHigh[i] == cp)
            return 0x80 + i;
    return -1;
}

char encodeChar(char32_t cp) {
    const int b = byteOf(cp);
    return b < 0 ? '?' : static_cast<char>(b);
}

// Letters with a stroke or bar have no decomposition; their plain letter is what a clerk would type instead.
struct Fold {
    char32_t from;
    const char* to;
};
constexpr Fold kFolds[] = {
    {0x0110, "D"}, {0x0111, "d"},  {0x0126, "H"}, {0x0127, "h"},  {0x0131, "i"},    {0x0141, "L"},    {0x0142, "l"},
    {0x0166, "T"}, {0x0167, "t"},  {0x0180, "b"}, {0x0197, "I"},  {0x019A, "l"},    {0x01B5, "Z"},    {0x01B6, "z"},
    {0x01E4, "G"}, {0x01E5, "g"},  {0x0138, "k"}, {0x0149, "'n"}, {0x2010, "-"},    {0x2011, "-"},    {0x2012, "-"},
    {0x2015, "-"}, {0x2212, "-"},  {0x2032, "'"}, {0x2033, "\""}, {0x2028, "\r\n"}, {0x2029, "\r\n"}, {0x02BC, "'"},
    {0x201B, "'"}, {0x201F, "\""}, {0x2043, "-"},
};

// The storable form of one code point that the code page lacks, or an empty text when there is none.
QString foldChar(char32_t cp) {
    for (const Fold& f : kFolds)
        if (f.from == cp)
            return QString::fromLatin1(f.to);
    const QString decomposed = QString::fromUcs4(&cp, 1).normalized(QString::NormalizationForm_KD);
    QString plain;
    for (char32_t part : decomposed.toUcs4()) {
        // Accents the code page cannot place on the letter are left off.
        if (QChar::category(part) == QChar::Mark_NonSpacing)
            continue;
        const int b = byteOf(part);
        if (b < 0)
            return QString();
        plain += QChar(static_cast<char16_t>(part));
    }
    return plain;
}

} // namespace

bool IsCp1252Char(char32_t codePoint) {
    return byteOf(codePoint) >= 0;
}

bool IsCp1252Text(const QString& text) {
    for (QChar c : text)
        if (c.isSurrogate() || byteOf(c.unicode()) < 0)
            return false;
    return true;
}

QString CleanCp1252Text(const QString& text) {
    if (IsCp1252Text(text))
        return text;
    const QString composed = text.normalized(QString::NormalizationForm_C);
    QString out;
    out.reserve(composed.size());
    for (char32_t cp : composed.toUcs4()) {
        if (IsCp1252Char(cp)) {
            out += QChar(static_cast<char16_t>(cp));
            continue;
        }
        const QString plain = foldChar(cp);
        out += plain.isEmpty() ? QStringLiteral("?") : plain;
    }
    return out;
}

QList<Cp1252Replacement> Cp1252Replacements(const QString& text) {
    QList<Cp1252Replacement> found;
    if (IsCp1252Text(text))
        return found;
    for (char32_t cp : text.normalized(QString::NormalizationForm_C).toUcs4()) {
        if (IsCp1252Char(cp))
            continue;
        const QString plain = foldChar(cp);
        const Cp1252Replacement r{QString::fromUcs4(&cp, 1), plain.isEmpty() ? QStringLiteral("?") : plain};
        if (!found.contains(r))
            found.append(r);
    }
    return found;
}

QByteArray EncodeCp1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (char32_t cp : text.toUcs4())
        out.append(encodeChar(cp));
    return out;
}

QChar* DecodeCp1252Into(const char* data, qsizetype size, QChar* dst) {
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        // Undefined bytes map to the C1 control of the same value, as Windows' own conversion does.
        dst[i] = (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0) ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return dst + size;
}

QString DecodeCp1252(const char* data, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    DecodeCp1252Into(data, size, out.data());
    return out;
}

void PutFixedText(char* dest, int width, const QString& text) {
    const QByteArray bytes = EncodeCp1252(text);
    const int n = static_cast<int>(std::min<qsizetype>(bytes.size(), width));
    std::memcpy(dest, bytes.constData(), n);
    std::memset(dest + n, ' ', width - n);
}

FixedTextSpan TrimmedField(const char* src, int width) {
    int begin = 0;
    int end = width;
    while (begin < end && src[begin] == ' ')
        ++begin;
    while (end > begin && src[end - 1] == ' ')
        --end;
    return {src + begin, end - begin};
}

QString GetFixedText(const char* src, int width) {
    const FixedTextSpan span = TrimmedField(src, width);
    return DecodeCp1252(span.data, span.size);
}
