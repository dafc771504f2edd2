#include "ui/main/EmployeeList.h"

#include "store/Cp1252.h"
#include "store/DataFile.h"
#include "store/DateRules.h"
#include "store/ListScan.h"
#include "ui/main/NameCollation.h"
#include "ui/main/RecordTests.h"

#include <algorithm>
#include <numeric>

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
    const double now = ToOADate(today);
    ListRow row;
    row.Name = Text(s, L::LastName, L::LastNameWidth) + QStringLiteral(", ") + Text(s, L::FirstName, L::FirstNameWidth);
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
    // One key per row, made before sorting and compared as plain bytes.
    QList<QByteArray> keys;
    keys.reserve(rows.size());
    if (ListKeyColumn(typeList) == 0) {
        const NameCollator collator;
        for (const ListRow& row : std::as_const(rows))
            keys.append(collator.sortKey(row.Name));
    } else {
        // Fixed-width digits: their text order is date order.
        for (const ListRow& row : std::as_const(rows))
            keys.append(row.Key.toLatin1());
    }
    QList<qsizetype> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) { return keys[a] < keys[b]; });
    QList<ListRow> sorted;
    sorted.reserve(rows.size());
    for (qsizetype i : std::as_const(order))
        sorted.append(std::move(rows[i]));
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
