#include "core/list/NameCollation.h"

#include <unicode/ucol.h>

#include <QVarLengthArray>

namespace {

QString LocaleIdOf(const QLocale& locale) {
    const QLocale collation = locale.collation();
    if (collation.language() == QLocale::C)
        return QString();
    return collation.name();
}

} // namespace

NameCollator::NameCollator(const QLocale& locale) : m_localeId(LocaleIdOf(locale)) {
    UErrorCode status = U_ZERO_ERROR;
    m_collator = ucol_open(m_localeId.toLatin1().constData(), &status);
    if (U_FAILURE(status)) {
        // A locale ICU cannot load at all still gets a language-neutral order.
        status = U_ZERO_ERROR;
        m_localeId.clear();
        m_collator = ucol_open("", &status);
    }
    if (m_collator)
        ucol_setStrength(m_collator, UCOL_PRIMARY);
}

NameCollator::~NameCollator() {
    if (m_collator)
        ucol_close(m_collator);
}

QByteArray NameCollator::sortKey(const QString& text) const {
    if (!m_collator)
        return text.toCaseFolded().toUtf8();
    const auto* chars = reinterpret_cast<const UChar*>(text.utf16());
    const auto length = static_cast<int32_t>(text.size());
    QVarLengthArray<uint8_t, 128> key(128);
    int32_t size = ucol_getSortKey(m_collator, chars, length, key.data(), static_cast<int32_t>(key.size()));
    if (size > key.size()) {
        key.resize(size);
        size = ucol_getSortKey(m_collator, chars, length, key.data(), static_cast<int32_t>(key.size()));
    }
    // The key's closing zero byte adds nothing to the order.
    return QByteArray(reinterpret_cast<const char*>(key.constData()), size > 0 ? size - 1 : 0);
}
