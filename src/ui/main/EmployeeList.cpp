#include "ui/main/EmployeeList.h"

#include "store/Cp1252.h"
#include "store/DataFile.h"
#include "store/DateRules.h"
#include "store/ListScan.h"
#include "ui/main/NameCollation.h"
#include "ui/main/RecordTests.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace L = PersonnelLayout;

namespace {

QString Text(const char* slot, int offset, int width) {
    return GetFixedText(slot + offset, width);
}

// "Last, First" made in one piece: every row has one.
QString NameText(const char* s) {
    const FixedTextSpan last = TrimmedField(s + L::LastName, L::LastNameWidth);
    const FixedTextSpan first = TrimmedField(s + L::FirstName, L::FirstNameWidth);
    QString name(last.size + 2 + first.size, Qt::Uninitialized);
    QChar* at = DecodeCp1252Into(last.data, last.size, name.data());
    *at++ = QLatin1Char(',');
    *at++ = QLatin1Char(' ');
    DecodeCp1252Into(first.data, first.size, at);
    return name;
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
    const double now = ToOADate(today);
    ListRow row;
    row.Name = NameText(s);
    row.Slot = slot;
    const double born = GetDouble(s + L::DateOfBirth);
    const double hired = GetDouble(s + L::DateOfEmployment);
    switch (options.TypeList) {
    case SeniorityByEmployment:
        row.Detail = Text(s, L::JobTitle, L::JobTitleWidth);
        row.Extra = FormatMMDDYYYY(hired) + InBrackets(WholeYears(hired, now));
        row.Key = FormatYYYYMMDD(hired);
        break;
    case SeniorityByAge:
        row.Detail = FormatMMDDYYYY(born);
        row.Extra = QString::number(WholeYears(born, now));
        row.Key = FormatYYYYMMDD(born);
        break;
    case BirthdayList:
        row.Detail = FormatMMMDD(born);
        row.Extra = InBrackets(today.year() - OADateToDate(born).year());
        row.Key = FormatMMDD(born);
        break;
    default:
        row.Detail = DetailText(options.ListWith, s, now);
        row.Extra = QStringLiteral("*");
        break;
    }
    return row;
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

EmployeeList BuildEmployeeRows(const ListOptions& options, const QDate& today) {
    EmployeeList list;
    list.TypeList = options.TypeList;
    const RecordTests tests(options, today);
    // Room for every slot, so the rows are never moved while the list grows.
    list.Rows.reserve(
        static_cast<qsizetype>(std::min<qint64>(QFileInfo(DataFileName).size() / L::RecordSize, INT32_MAX)));
    ScanDataFile([&](qint32 slot, const char* bytes) {
        if (tests.Lists(bytes))
            list.Rows.append(MakeListRow(options, bytes, slot, today));
    });
    SortListRows(list.Rows, options.TypeList);
    list.RecordCount = RecordCount;
    list.CurrentCount = CurrentCount;
    list.PreviousCount = PreviousCount;
    return list;
}

EmployeeList BuildEmployeeRowsForFileStatus(ListOptions& options, const QDate& today) {
    EmployeeList list = BuildEmployeeRows(options, today);
    const int status = RefreshStatusButtons(list.CurrentCount, list.PreviousCount,
                                            options.TypeList == AlphabeticalListing, options.EmpStatus)
                           .Selected;
    if (status == options.EmpStatus)
        return list;
    // The rare file whose employees all share one status reads twice; the common one once.
    options.EmpStatus = status;
    return BuildEmployeeRows(options, today);
}
