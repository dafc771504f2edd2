// The date-entry rule on any text a clerk could type or paste.

#include "FuzzSupport.h"

#include "core/base/DateRules.h"

#include <QDate>
#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Both readings of the bytes: as typed through the keyboard (UTF-8) and as stored in a file (one byte each).
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& text : {QString::fromUtf8(bytes), QString::fromLatin1(bytes)}) {
        const std::optional<QDate> date = ParseDateEntry(text);
        FUZZ_CHECK(IsValidDate(text) == date.has_value());
        if (!date)
            continue;
        FUZZ_CHECK(date->isValid());
        // A date that was accepted is shown and read back as itself.
        const double stored = ToOADate(*date);
        FUZZ_CHECK(OADateToDate(stored) == *date);
        const std::optional<QDate> again = ParseDateEntry(FormatMMDDYYYY(stored));
        FUZZ_CHECK(again && *again == *date);
    }
    return 0;
}
