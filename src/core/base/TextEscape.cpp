#include "core/base/TextEscape.h"

#include <algorithm>

namespace {

bool isControl(char16_t u) {
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

} // namespace

QString EscapeControlCharacters(const QString& text) {
    // Most texts hold no control character: they are handed back as they are, without a copy.
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return isControl(c.unicode()); }))
        return text;
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!isControl(u)) {
            out += c;
            continue;
        }
        out += QLatin1Char('\\');
        switch (u) {
        case u'\b':
            out += QLatin1Char('b');
            break;
        case u'\t':
            out += QLatin1Char('t');
            break;
        case u'\n':
            out += QLatin1Char('n');
            break;
        case u'\f':
            out += QLatin1Char('f');
            break;
        case u'\r':
            out += QLatin1Char('r');
            break;
        default:
            out += QStringLiteral("u%1").arg(static_cast<int>(u), 4, 16, QLatin1Char('0'));
            break;
        }
    }
    return out;
}
