#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

struct UCollator;

// The order of names in every list and printout: the locale's collation at its first level, so that letter case
// and accents play no part ("Ávila" files under A, "smith" beside "Smith"), while punctuation still sorts before
// letters ("Smith, John" before "Smithers, Al"). The C and POSIX locales name no language; for them the
// language-neutral root collation stands in, rather than the code-point order a collator falls back to there, so
// that a name files in the same place on every machine.
class NameCollator {
public:
    // The collation of locale's collation locale (by default the program's locale, LC_COLLATE on this system).
    explicit NameCollator(const QLocale& locale = QLocale());
    ~NameCollator();
    NameCollator(const NameCollator&) = delete;
    NameCollator& operator=(const NameCollator&) = delete;

    // Bytes whose plain byte order is the collation's order of the texts: made once per name, compared many times.
    // Texts the collation counts as equal get equal keys.
    QByteArray sortKey(const QString& text) const;

    // The collation's locale id as ICU names it; empty for the root collation.
    QString localeId() const { return m_localeId; }

private:
    UCollator* m_collator = nullptr;
    QString m_localeId;
};
