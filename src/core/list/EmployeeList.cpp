#include "core/list/EmployeeList.h"

#include "core/base/Cp1252.h"
#include "core/base/DateRules.h"
#include "core/list/NameCollation.h"
#include "core/list/RecordTests.h"
#include "core/store/DataFile.h"
#include "core/store/ListScan.h"
#include "core/store/PersonnelStore.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>
#include <vector>

namespace L = PersonnelLayout;

namespace {

QString Text(const char* slot, int offset, int width) {
    return GetFixedText(slot + offset, width);
}

QString InBrackets(qint64 n) {
    return QStringLiteral(" (") + QString::number(n) + QLatin1Char(')');
}

QString DetailText(int listWith, const char* s, double today) {
    switch (listWith) {
    case 1:
        return Text(s, L::SocialSecurityNumber, L::SocialSecurityNumberWidth);
    case 2:
        return Text(s, L::Race, L::RaceWidth) + QLatin1Char('/') + Text(s, L::Sex, L::SexWidth);
    case 3: {
        const double born = GetDouble(s + L::DateOfBirth);
        return FormatMMDDYYYY(born) + InBrackets(WholeYears(born, today));
    }
    case 4:
        return Text(s, L::StreetAddress, L::StreetAddressWidth) + QLatin1Char(' ') +
               Text(s, L::CityStateZip, L::CityStateZipWidth);
    case 5:
        return Text(s, L::HomePhone, L::HomePhoneWidth);
    case 6:
        return Text(s, L::CellPhone, L::CellPhoneWidth);
    case 7:
        return Text(s, L::Email, L::EmailWidth);
    case 8: {
        // A previous employee's service ended on the inactivation date, as the record form counts it.
        const double hired = GetDouble(s + L::DateOfEmployment);
        const double left = GetDouble(s + L::InactivationDate);
        return FormatMMDDYYYY(hired) + InBrackets(WholeYears(hired, left != 0 ? left : today));
    }
    case 9:
        return Text(s, L::EmployeeNumber, L::EmployeeNumberWidth);
    default:
        return Text(s, L::JobTitle, L::JobTitleWidth);
    }
}

} // namespace

QString ListRow::Cell(int column) const {
    switch (column) {
    case 0:
        return Name;
    case 1:
        return Detail;
    case 2:
        return Extra;
    case 3:
        return QString::number(Slot);
    case 4:
        return Key;
    default:
        return QString();
    }
}

int ListColumns(int typeList) {
    return typeList == AlphabeticalListing ? 4 : 5;
}

QString ListFormatString(const ListOptions& options) {
    switch (options.TypeList) {
    case SeniorityByEmployment:
        return QStringLiteral("Name|<Title|<Date of Employment");
    case SeniorityByAge:
        return QStringLiteral("Name|<Date of Birth|<Current Age");
    case BirthdayList:
        return QStringLiteral("Name|<Birthday|<Age on this Birthday");
    default:
        return QStringLiteral("Name|<") + ListWithEntries().value(options.ListWith);
    }
}

QStringList HeaderTexts(const QString& formatString) {
    QStringList texts = formatString.split(QLatin1Char('|'));
    for (QString& text : texts)
        if (text.startsWith(QLatin1Char('<')) || text.startsWith(QLatin1Char('^')) || text.startsWith(QLatin1Char('>')))
            text.remove(0, 1);
    return texts;
}

int ListColumnWidth(int typeList, int column) {
    if (column == 0)
        return ListNameWidth;
    static const int widths[5][2] = {{0, 0}, {4500, 1}, {3200, 2200}, {3400, 2200}, {3200, 2200}};
    if (typeList < 1 || typeList > 4 || column < 1 || column > 2)
        return 0;
    return widths[typeList][column - 1];
}

int ListShownColumns(int typeList) {
    // Narrower than a pixel at any screen's resolution is not shown.
    constexpr int seen = 15;
    return ListColumnWidth(typeList, 2) >= seen ? 3 : 2;
}

int ListKeyColumn(int typeList) {
    return typeList == AlphabeticalListing ? 0 : 4;
}

ListRow MakeListRow(const ListOptions& options, const char* s, qint32 slot, const QDate& today) {
    CompactEmployeeList one;
    one.Begin(options, today);
    one.Add(s, slot);
    return one.row(0);
}

ListRow MakeListRow(const ListOptions& options, const PersonnelRecord& record, qint32 slot, const QDate& today) {
    return MakeListRow(options, EncodePersonnelRecord(record).constData(), slot, today);
}

void SortListRows(QList<ListRow>& rows, int typeList) {
    if (rows.size() < 2)
        return;
    // Each row's key is made once, all in one buffer: names by the locale's collation, the date keys as their digits.
    // A sort compares the first eight bytes as one number and the rest only on a tie.
    const bool names = ListKeyColumn(typeList) == 0;
    std::optional<NameCollator> collator;
    if (names)
        collator.emplace();
    struct Entry {
        quint64 prefix;
        quint32 offset;
        quint32 size;
        qint32 row;
    };
    QByteArray keys;
    std::vector<Entry> entries;
    entries.reserve(static_cast<size_t>(rows.size()));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ListRow& row = rows.at(i);
        const qsizetype offset = keys.size();
        keys.append(names ? collator->sortKey(row.Name) : row.Key.toLatin1());
        Entry entry{0, static_cast<quint32>(offset), static_cast<quint32>(keys.size() - offset),
                    static_cast<qint32>(i)};
        for (quint32 b = 0; b < 8; ++b)
            entry.prefix =
                (entry.prefix << 8) | (b < entry.size ? static_cast<unsigned char>(keys.at(entry.offset + b)) : 0u);
        entries.push_back(entry);
    }
    const char* bytes = keys.constData();
    // Rows with equal keys keep their order: the row number breaks every tie.
    std::sort(entries.begin(), entries.end(), [bytes](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        if (a.size > 8 || b.size > 8) {
            const quint32 common = std::min(a.size, b.size);
            if (common > 8) {
                const int c = std::memcmp(bytes + a.offset + 8, bytes + b.offset + 8, common - 8);
                if (c != 0)
                    return c < 0;
            }
            if (a.size != b.size)
                return a.size < b.size;
        }
        return a.row < b.row;
    });
    QList<ListRow> sorted;
    sorted.reserve(rows.size());
    for (const Entry& entry : entries)
        sorted.append(std::move(rows[entry.row]));
    rows = std::move(sorted);
}

int RowOfSlot(const QList<ListRow>& rows, qint32 slot) {
    for (qsizetype i = 0; i < rows.size(); ++i)
        if (rows.at(i).Slot == slot)
            return static_cast<int>(i + 1);
    return 0;
}

namespace {

bool DatedList(int typeList) {
    return typeList == SeniorityByEmployment || typeList == SeniorityByAge || typeList == BirthdayList;
}

QString Decoded(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    DecodeCp1252Into(bytes.data(), bytes.size(), text.data());
    return text;
}

} // namespace

quint32 ByteBlocks::start(qsizetype size) {
    if (m_blocks.empty() || m_blocks.back().size() + size > BlockSize) {
        if (m_blocks.size() >= std::numeric_limits<quint32>::max() / BlockSize)
            throw std::length_error("employee list too large");
        m_blocks.emplace_back();
        m_blocks.back().reserve(BlockSize);
    }
    return static_cast<quint32>((m_blocks.size() - 1) * BlockSize + m_blocks.back().size());
}

void CompactEmployeeList::Begin(const ListOptions& options, const QDate& today) {
    TypeList = options.TypeList;
    m_listWith = options.ListWith;
    m_today = today;
    m_now = ToOADate(today);
}

void CompactEmployeeList::Add(const char* s, qint32 slot) {
    const FixedTextSpan last = TrimmedField(s + L::LastName, L::LastNameWidth);
    const FixedTextSpan first = TrimmedField(s + L::FirstName, L::FirstNameWidth);
    // Column 1 as stored, or as made for the detail entries that compute or join their text.
    FixedTextSpan detail{nullptr, 0};
    QByteArray made;
    double date = 0;
    switch (TypeList) {
    case SeniorityByEmployment:
        detail = TrimmedField(s + L::JobTitle, L::JobTitleWidth);
        date = GetDouble(s + L::DateOfEmployment);
        break;
    case SeniorityByAge:
    case BirthdayList:
        date = GetDouble(s + L::DateOfBirth);
        break;
    default:
        if (m_listWith >= 1 && m_listWith <= 9) {
            made = EncodeCp1252(DetailText(m_listWith, s, m_now));
            // Every column-1 text fits in a byte's count: the widest, the address, is 101 bytes.
            detail = {made.constData(), static_cast<int>(std::min<qsizetype>(made.size(), 255))};
        } else {
            detail = TrimmedField(s + L::JobTitle, L::JobTitleWidth);
        }
        break;
    }
    const bool dated = DatedList(TypeList);
    const quint32 at = m_text.start(2 + last.size + 2 + first.size + detail.size + (dated ? sizeof date : 0));
    m_text.append(static_cast<char>(last.size + 2 + first.size));
    m_text.append(last.data, last.size);
    m_text.append(", ", 2);
    m_text.append(first.data, first.size);
    m_text.append(static_cast<char>(detail.size));
    m_text.append(detail.data, detail.size);
    if (dated)
        m_text.append(reinterpret_cast<const char*>(&date), sizeof date);
    m_rows.push_back({at, slot});
}

QByteArrayView CompactEmployeeList::field(qsizetype row, int index) const {
    const char* at = m_text.bytesAt(m_rows[static_cast<size_t>(row)].text);
    for (int i = 0; i < index; ++i)
        at += 1 + static_cast<unsigned char>(*at);
    return QByteArrayView(at + 1, static_cast<unsigned char>(*at));
}

double CompactEmployeeList::rowDate(qsizetype row) const {
    const QByteArrayView detail = field(row, 1);
    double date = 0;
    std::memcpy(&date, detail.data() + detail.size(), sizeof date);
    return date;
}

QByteArrayView CompactEmployeeList::nameBytes(qsizetype row) const {
    return field(row, 0);
}

QByteArrayView CompactEmployeeList::detailBytes(qsizetype row) const {
    return field(row, 1);
}

QString CompactEmployeeList::cell(qsizetype row, int column) const {
    switch (column) {
    case 0:
        return Decoded(field(row, 0));
    case 1:
        if (TypeList == SeniorityByAge)
            return FormatMMDDYYYY(rowDate(row));
        if (TypeList == BirthdayList)
            return FormatMMMDD(rowDate(row));
        return Decoded(field(row, 1));
    case 2:
        switch (TypeList) {
        case SeniorityByEmployment: {
            const double hired = rowDate(row);
            return FormatMMDDYYYY(hired) + InBrackets(WholeYears(hired, m_now));
        }
        case SeniorityByAge:
            return QString::number(WholeYears(rowDate(row), m_now));
        case BirthdayList:
            return InBrackets(m_today.year() - OADateToDate(rowDate(row)).year());
        default:
            return QStringLiteral("*");
        }
    case 3:
        return QString::number(slot(row));
    case 4:
        if (TypeList == BirthdayList)
            return FormatMMDD(rowDate(row));
        return DatedList(TypeList) ? FormatYYYYMMDD(rowDate(row)) : QString();
    default:
        return QString();
    }
}

ListRow CompactEmployeeList::row(qsizetype row) const {
    return ListRow{cell(row, 0), cell(row, 1), cell(row, 2), slot(row), cell(row, 4)};
}

void CompactEmployeeList::Sort() {
    const size_t n = m_rows.size();
    if (n < 2)
        return;
    // Each row's key is made once, all in one buffer behind its length: names by the locale's collation, the date
    // keys as their digits. A sort compares the first eight bytes as one number and the rest only on a tie.
    const bool names = ListKeyColumn(TypeList) == 0;
    std::optional<NameCollator> collator;
    if (names)
        collator.emplace();
    struct Entry {
        quint64 prefix;
        quint32 key;
        qint32 row;
    };
    std::vector<Entry> entries;
    entries.reserve(n);
    ByteBlocks keys;
    QString name;
    for (size_t i = 0; i < n; ++i) {
        QByteArray key;
        if (names) {
            const QByteArrayView bytes = field(static_cast<qsizetype>(i), 0);
            name.resize(bytes.size());
            DecodeCp1252Into(bytes.data(), bytes.size(), name.data());
            key = collator->sortKey(name);
        } else {
            key = cell(static_cast<qsizetype>(i), 4).toLatin1();
        }
        const quint16 size = static_cast<quint16>(std::min<qsizetype>(key.size(), ByteBlocks::BlockSize - 2));
        Entry entry{0, keys.start(sizeof size + size), static_cast<qint32>(i)};
        keys.append(reinterpret_cast<const char*>(&size), sizeof size);
        keys.append(key.constData(), size);
        for (int b = 0; b < 8; ++b)
            entry.prefix = (entry.prefix << 8) | (b < size ? static_cast<unsigned char>(key.at(b)) : 0u);
        entries.push_back(entry);
    }
    const auto sizeOf = [&keys](const Entry& e) {
        quint16 size = 0;
        std::memcpy(&size, keys.bytesAt(e.key), sizeof size);
        return size;
    };
    // Rows with equal keys keep their order: the row number breaks every tie.
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        const quint16 aSize = sizeOf(a);
        const quint16 bSize = sizeOf(b);
        if (aSize > 8 || bSize > 8) {
            const quint16 common = std::min(aSize, bSize);
            if (common > 8) {
                const int c = std::memcmp(keys.bytesAt(a.key) + 2 + 8, keys.bytesAt(b.key) + 2 + 8, common - 8u);
                if (c != 0)
                    return c < 0;
            }
            if (aSize != bSize)
                return aSize < bSize;
        }
        return a.row < b.row;
    });
    keys.clear();
    std::vector<Row> sorted;
    sorted.reserve(n);
    for (const Entry& entry : entries)
        sorted.push_back(m_rows[static_cast<size_t>(entry.row)]);
    m_rows = std::move(sorted);
}

CompactEmployeeList BuildCompactEmployeeList(const ListOptions& options, const QDate& today) {
    CompactEmployeeList list;
    list.Begin(options, today);
    const RecordTests tests(options, today);
    list.Reserve(static_cast<qsizetype>(std::min<qint64>(ActiveStore().RecordCountHint(), INT32_MAX)));
    ScanDataFile([&](qint32 slot, const char* bytes) {
        if (tests.Lists(bytes))
            list.Add(bytes, slot);
    });
    list.Sort();
    list.RecordCount = RecordCount;
    list.CurrentCount = CurrentCount;
    list.PreviousCount = PreviousCount;
    return list;
}

CompactEmployeeList BuildCompactEmployeeListForFileStatus(ListOptions& options, const QDate& today) {
    CompactEmployeeList list = BuildCompactEmployeeList(options, today);
    const int status = RefreshStatusButtons(list.CurrentCount, list.PreviousCount,
                                            options.TypeList == AlphabeticalListing, options.EmpStatus)
                           .Selected;
    if (status == options.EmpStatus)
        return list;
    // The rare file whose employees all share one status reads twice; the common one once.
    options.EmpStatus = status;
    return BuildCompactEmployeeList(options, today);
}

namespace {

EmployeeList Expanded(const CompactEmployeeList& compact) {
    EmployeeList list;
    list.TypeList = compact.TypeList;
    list.Rows.reserve(compact.size());
    for (qsizetype i = 0; i < compact.size(); ++i)
        list.Rows.append(compact.row(i));
    list.RecordCount = compact.RecordCount;
    list.CurrentCount = compact.CurrentCount;
    list.PreviousCount = compact.PreviousCount;
    return list;
}

} // namespace

EmployeeList BuildEmployeeRows(const ListOptions& options, const QDate& today) {
    return Expanded(BuildCompactEmployeeList(options, today));
}

EmployeeList BuildEmployeeRowsForFileStatus(ListOptions& options, const QDate& today) {
    return Expanded(BuildCompactEmployeeListForFileStatus(options, today));
}
