#include "store/Cp1252.h"

#include <QList>

#include <array>
#include <cstring>

namespace {

// Code points of bytes 0x80-0x9F; 0 marks the five bytes that Windows-1252 leaves undefined.
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char encodeChar(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] != 0 && kHigh[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QByteArray EncodeCp1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (char32_t cp : text.toUcs4())
        out.append(encodeChar(cp));
    return out;
}

QString DecodeCp1252(const char* data, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        // Undefined bytes map to the C1 control of the same value, as Windows' own conversion does.
        dst[i] = (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0) ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return out;
}

void PutFixedText(char* dest, int width, const QString& text) {
    const QByteArray bytes = EncodeCp1252(text);
    const int n = static_cast<int>(std::min<qsizetype>(bytes.size(), width));
    std::memcpy(dest, bytes.constData(), n);
    std::memset(dest + n, ' ', width - n);
}

QString GetFixedText(const char* src, int width) {
    int begin = 0;
    int end = width;
    while (begin < end && src[begin] == ' ')
        ++begin;
    while (end > begin && src[end - 1] == ' ')
        --end;
    return DecodeCp1252(src + begin, end - begin);
}
