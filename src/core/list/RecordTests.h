#pragma once

#include "core/list/ListOptions.h"
#include "core/record/PersonnelRecord.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <array>

// The tests by which the list display options choose the employees of a list. They work on a slot's bytes as the
// data file holds them, so that a list pass decodes nothing of a record it does not list.

// Case-insensitive search for a text in single-byte Windows-1252 text: letters match in either case, accented
// ones included (É finds é).
class TextFinder {
public:
    // needle as the user typed it (already trimmed). A needle with characters that the code page lacks can
    // occur in no record: FoundIn is then always false.
    explicit TextFinder(const QString& needle);

    // Bytes of the needle in the code page.
    qsizetype Length() const { return m_needle.size(); }
    bool FoundIn(const char* text, qsizetype size) const;
    bool FoundIn(const QByteArray& text) const { return FoundIn(text.constData(), text.size()); }

    // The byte that b matches without regard to case.
    static quint8 Fold(quint8 b);

private:
    QByteArray m_needle; // folded
    bool m_possible = true;
    std::array<qint32, 256> m_skip{};
};

// The text that "Look for other text..." searches: first, middle and last name, suffix, social security number
// (untrimmed), emergency name, relationship and phone, street address, city/state/zip, home and cell phone, job
// title and employee number, trimmed and joined by one blank; with the notepad, a blank and the trimmed notepad.
QString SearchText(const PersonnelRecord& record, bool withNotepad);

class RecordTests {
public:
    // today is the date the ages of the age-group test count to.
    RecordTests(const ListOptions& options, const QDate& today);

    // Whether the list of the options' type takes the record: for the alphabetical listing every test below in
    // order; for the other lists a current employee who passes the sworn-status test.
    bool Lists(const char* slot) const;
    bool Lists(const PersonnelRecord& record) const;

    bool RaceTest(const char* slot) const;
    bool SexTest(const char* slot) const;
    bool SwornTest(const char* slot) const;
    bool StatusTest(const char* slot) const;
    bool MonthTest(const char* slot) const;
    bool YearTest(const char* slot) const;
    bool AgeGroupTest(const char* slot) const;
    bool OtherTextTest(const char* slot) const;

private:
    ListOptions m_options;
    double m_today;
    char m_race = 0;
    char m_sex = 0;
    int m_month = 0;  // 0: any, -1: none
    int m_year = 0;   // 0: any, -1: none
    QChar m_ageDigit; // null: any
    TextFinder m_finder;
    bool m_search = false;
};
