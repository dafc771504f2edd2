#include "core/list/RecordTests.h"

#include "core/base/Cp1252.h"
#include "core/base/DateRules.h"

#include <QStringList>
#include <QVarLengthArray>

#include <cstring>

namespace L = PersonnelLayout;

namespace {

// Lower case of each Windows-1252 byte, where the lower-case letter is in the code page too.
std::array<quint8, 256> MakeFoldTable() {
    std::array<quint8, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const QString lower = DecodeCp1252(&byte, 1).toLower();
        const QByteArray back = EncodeCp1252(lower);
        table[b] =
            back.size() == 1 && DecodeCp1252(back) == lower ? static_cast<quint8>(back.at(0)) : static_cast<quint8>(b);
    }
    return table;
}

const std::array<quint8, 256>& FoldTable() {
    static const std::array<quint8, 256> table = MakeFoldTable();
    return table;
}

// Start and length of a fixed-width field without its leading and trailing blanks.
struct Span {
    const char* text;
    int size;
};

Span Trimmed(const char* field, int width) {
    int begin = 0;
    int end = width;
    while (begin < end && field[begin] == ' ')
        ++begin;
    while (end > begin && field[end - 1] == ' ')
        --end;
    return {field + begin, end - begin};
}

// The notepad is mostly blank padding: its end is found a word at a time.
Span TrimmedNotepad(const char* slot) {
    const char* field = slot + L::Notepad;
    int end = L::NotepadWidth;
    constexpr quint64 kBlanks = 0x2020202020202020ULL;
    while (end >= 8) {
        quint64 word;
        std::memcpy(&word, field + end - 8, 8);
        if (word != kBlanks)
            break;
        end -= 8;
    }
    while (end > 0 && field[end - 1] == ' ')
        --end;
    int begin = 0;
    while (begin < end && field[begin] == ' ')
        ++begin;
    return {field + begin, end - begin};
}

struct SearchField {
    int offset;
    int width;
    bool trim;
};

// In the order the search text joins them.
constexpr SearchField kSearchFields[] = {
    {L::FirstName, L::FirstNameWidth, true},
    {L::MiddleName, L::MiddleNameWidth, true},
    {L::LastName, L::LastNameWidth, true},
    {L::Suffix, L::SuffixWidth, true},
    {L::SocialSecurityNumber, L::SocialSecurityNumberWidth, false},
    {L::EmergencyName, L::EmergencyNameWidth, true},
    {L::EmergencyRelationship, L::EmergencyRelationshipWidth, true},
    {L::EmergencyPhone, L::EmergencyPhoneWidth, true},
    {L::StreetAddress, L::StreetAddressWidth, true},
    {L::CityStateZip, L::CityStateZipWidth, true},
    {L::HomePhone, L::HomePhoneWidth, true},
    {L::CellPhone, L::CellPhoneWidth, true},
    {L::JobTitle, L::JobTitleWidth, true},
    {L::EmployeeNumber, L::EmployeeNumberWidth, true},
};

// The search text's bytes without the notepad; with withBlank, the blank that leads to the notepad.
qsizetype JoinSearchFields(const char* slot, char* out, bool withBlank) {
    qsizetype n = 0;
    bool first = true;
    for (const SearchField& f : kSearchFields) {
        if (!first)
            out[n++] = ' ';
        first = false;
        const Span s = f.trim ? Trimmed(slot + f.offset, f.width) : Span{slot + f.offset, f.width};
        std::memcpy(out + n, s.text, s.size);
        n += s.size;
    }
    if (withBlank)
        out[n++] = ' ';
    return n;
}

constexpr qsizetype kJoinedFieldsMax = [] {
    qsizetype n = 0;
    for (const SearchField& f : kSearchFields)
        n += f.width + 1;
    return n;
}();

char FieldChar(const char* slot, int offset) {
    return slot[offset];
}

} // namespace

quint8 TextFinder::Fold(quint8 b) {
    return FoldTable()[b];
}

TextFinder::TextFinder(const QString& needle) {
    const QByteArray bytes = EncodeCp1252(needle);
    // A character the code page lacks comes back as "?", and "?" is all it could ever match.
    m_possible = DecodeCp1252(bytes) == needle;
    m_needle.resize(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        m_needle[i] = static_cast<char>(Fold(static_cast<quint8>(bytes.at(i))));
    const qint32 m = static_cast<qint32>(m_needle.size());
    m_skip.fill(m);
    for (qint32 i = 0; i + 1 < m; ++i)
        m_skip[static_cast<quint8>(m_needle.at(i))] = m - 1 - i;
}

bool TextFinder::FoundIn(const char* text, qsizetype size) const {
    if (!m_possible)
        return false;
    const qsizetype m = m_needle.size();
    if (m == 0)
        return true;
    if (size < m)
        return false;
    const auto& fold = FoldTable();
    const auto* hay = reinterpret_cast<const quint8*>(text);
    const auto* needle = reinterpret_cast<const quint8*>(m_needle.constData());
    const quint8 lastNeedle = needle[m - 1];
    // Horspool's search on the folded bytes: the last byte of the window decides how far to move.
    for (qsizetype pos = 0; pos + m <= size;) {
        const quint8 last = fold[hay[pos + m - 1]];
        if (last == lastNeedle) {
            qsizetype i = m - 1;
            while (i > 0 && fold[hay[pos + i - 1]] == needle[i - 1])
                --i;
            if (i == 0)
                return true;
        }
        pos += m_skip[last];
    }
    return false;
}

QString SearchText(const PersonnelRecord& r, bool withNotepad) {
    QString text =
        QStringList{r.FirstName,
                    r.MiddleName,
                    r.LastName,
                    r.Suffix,
                    r.SocialSecurityNumber.leftJustified(L::SocialSecurityNumberWidth, QLatin1Char(' '), true),
                    r.EmergencyName,
                    r.EmergencyRelationship,
                    r.EmergencyPhone,
                    r.StreetAddress,
                    r.CityStateZip,
                    r.HomePhone,
                    r.CellPhone,
                    r.JobTitle,
                    r.EmployeeNumber}
            .join(QLatin1Char(' '));
    if (withNotepad)
        text += QLatin1Char(' ') + r.Notepad;
    return text;
}

RecordTests::RecordTests(const ListOptions& options, const QDate& today)
    : m_options(options), m_today(ToOADate(today)), m_finder(TrimBlanks(options.OtherText)) {
    const QString race = RaceCode(options.Race);
    m_race = race.isEmpty() ? 0 : race.at(0).toLatin1();
    const QString sex = SexCode(options.Sex);
    m_sex = sex.isEmpty() ? 0 : sex.at(0).toLatin1();
    if (!options.Month.isEmpty()) {
        m_month = -1;
        for (int month = 1; month <= 12; ++month)
            if (MonthName(month).left(3) == options.Month)
                m_month = month;
    }
    if (!options.Year.isEmpty()) {
        bool number = false;
        const int year = options.Year.toInt(&number);
        // The year as "yyyy" writes it: a text such as "01999" or "+1999" names no year.
        m_year = number && year > 0 && QString::number(year) == options.Year ? year : -1;
    }
    if (!options.AgeGroup.isEmpty())
        m_ageDigit = options.AgeGroup.at(0);
    m_search = !TrimBlanks(options.OtherText).isEmpty();
}

bool RecordTests::RaceTest(const char* slot) const {
    return m_race == 0 || FieldChar(slot, L::Race) == m_race;
}

bool RecordTests::SexTest(const char* slot) const {
    return m_sex == 0 || FieldChar(slot, L::Sex) == m_sex;
}

bool RecordTests::SwornTest(const char* slot) const {
    switch (m_options.EmpSworn) {
    case 2:
        return GetInt16(slot + L::Sworn) == -1;
    case 3:
        // As the record form and the report read the flag: anything but -1 (a foreign or damaged file's value
        // too) is a non-sworn employee, so that every record lists under one of the two choices.
        return GetInt16(slot + L::Sworn) != -1;
    default:
        return true;
    }
}

bool RecordTests::StatusTest(const char* slot) const {
    // Any date other than 0 makes a previous employee, as the counts have it; so every record is in one list.
    const bool current = GetDouble(slot + L::InactivationDate) == 0;
    return m_options.EmpStatus == 1 ? current : !current;
}

bool RecordTests::MonthTest(const char* slot) const {
    if (m_month == 0)
        return true;
    return m_month > 0 && OADateToDate(GetDouble(slot + L::DateOfEmployment)).month() == m_month;
}

bool RecordTests::YearTest(const char* slot) const {
    if (m_year == 0)
        return true;
    return m_year > 0 && OADateToDate(GetDouble(slot + L::DateOfEmployment)).year() == m_year;
}

bool RecordTests::AgeGroupTest(const char* slot) const {
    if (m_ageDigit.isNull())
        return true;
    const qint16 age = WholeYears(GetDouble(slot + L::DateOfBirth), m_today);
    return QString::number(age).at(0) == m_ageDigit;
}

bool RecordTests::OtherTextTest(const char* slot) const {
    if (!m_search)
        return true;
    const bool notepad = m_options.SearchNotepad;
    const qsizetype bridge = notepad ? m_finder.Length() : 0;
    QVarLengthArray<char, kJoinedFieldsMax + 64> joined(kJoinedFieldsMax + bridge);
    qsizetype n = JoinSearchFields(slot, joined.data(), notepad);
    if (!notepad)
        return m_finder.FoundIn(joined.constData(), n);
    const Span pad = TrimmedNotepad(slot);
    // The notepad is searched where it lies; the joined fields carry its first bytes so that a match across
    // the blank before it is found too.
    const qsizetype carried = std::min<qsizetype>(pad.size, bridge);
    std::memcpy(joined.data() + n, pad.text, carried);
    n += carried;
    return m_finder.FoundIn(joined.constData(), n) || m_finder.FoundIn(pad.text, pad.size);
}

bool RecordTests::Lists(const char* slot) const {
    if (m_options.TypeList != AlphabeticalListing)
        return GetDouble(slot + L::InactivationDate) == 0 && SwornTest(slot);
    return RaceTest(slot) && SexTest(slot) && SwornTest(slot) && StatusTest(slot) && MonthTest(slot) &&
           YearTest(slot) && AgeGroupTest(slot) && OtherTextTest(slot);
}

bool RecordTests::Lists(const PersonnelRecord& record) const {
    return Lists(EncodePersonnelRecord(record).constData());
}
