#include "core/base/DateRules.h"

#include <QRegularExpression>

#include <array>
#include <cmath>
#include <cstring>

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr qint64 kMsPerDay = 86400000;

const std::array<const char*, 12> kMonths = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
const std::array<const char*, 7> kDays = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

QString two(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// 1-12 for a full or three-letter English month name in any case; 0 otherwise.
int monthFromName(const QString& name) {
    for (int i = 0; i < 12; ++i) {
        const QString full = QString::fromLatin1(kMonths[i]);
        if (name.compare(full, Qt::CaseInsensitive) == 0 || name.compare(full.left(3), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    // "Sept" is common enough in typed dates.
    if (name.compare(QLatin1String("Sept"), Qt::CaseInsensitive) == 0)
        return 9;
    return 0;
}

int fullYear(const QString& digits) {
    const int year = digits.toInt();
    if (digits.size() == 2)
        return year < 30 ? 2000 + year : 1900 + year;
    return year;
}

std::optional<QDate> makeDate(int year, int month, int day) {
    // The file keeps the years 100 to 9999 only (a year of four digits cannot pass the top): "3/7/0010" would
    // be stored as no date at all.
    if (year < 100 || !QDate::isValid(year, month, day))
        return std::nullopt;
    return QDate(year, month, day);
}

QString time12(const QTime& t, bool seconds) {
    const int hour = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
    QString text = QString::number(hour) + QLatin1Char(':') + two(t.minute());
    if (seconds)
        text += QLatin1Char(':') + two(t.second());
    return text;
}

} // namespace

double ToOADate(const QDate& date) {
    return static_cast<double>(kEpoch.daysTo(date));
}

double ToOADate(const QDateTime& dateTime) {
    const double days = ToOADate(dateTime.date());
    const double fraction = dateTime.time().msecsSinceStartOfDay() / static_cast<double>(kMsPerDay);
    // Before day 0 the fraction counts away from zero, as automation dates do (-1.25 is 29 Dec 1899, 06:00).
    return days >= 0 ? days + fraction : days - fraction;
}

namespace {

// Day 0 (30 December 1899) counted from 1 March of year 0 of the proleptic Gregorian calendar, which QDate uses.
constexpr qint64 kEpochFromMarch0 = 693899;

// The calendar date of a day number by arithmetic (the proleptic Gregorian calendar in 400-year eras): lists
// convert thousands of dates, and a QDateTime would consult the time zone for every one.
void civilFromDays(qint64 days, int* year, int* month, int* day) {
    const qint64 z = days + kEpochFromMarch0;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 dayOfEra = z - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 mp = (5 * dayOfYear + 2) / 153;
    *day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    *month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *year = static_cast<int>(yearOfEra + era * 400 + (*month <= 2 ? 1 : 0));
}

// Exactly width digits of n (0 <= n < 10^width, as every part of a date in range is) into a small buffer,
// zero-padded. A fixed count of bytes also lets the compiler see that the buffers are large enough.
char* putNumber(char* at, int n, int width) {
    for (int i = width - 1; i >= 0; --i) {
        at[i] = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    return at + width;
}

QString fromBuffer(const char* begin, const char* end) {
    return QString::fromLatin1(begin, end - begin);
}

} // namespace

std::optional<OADateParts> SplitOADate(double value) {
    // Day -657434 is 1 January 100 and day 2958465 31 December 9999; before day 0 the fraction counts away from
    // zero, so the whole part decides. NaN fails both comparisons; a corrupt stamp in a file may hold anything
    // (an infinity, 1e300) and never reaches the conversion to whole days.
    if (!(value > -657435.0 && value < 2958466.0))
        return std::nullopt;
    double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    qint64 ms = std::llround(fraction * kMsPerDay);
    if (ms >= kMsPerDay) { // rounding carried into the next day
        ms -= kMsPerDay;
        whole += value >= 0 ? 1 : -1;
    }
    OADateParts parts;
    parts.days = static_cast<qint64>(whole);
    parts.msOfDay = static_cast<int>(ms);
    civilFromDays(parts.days, &parts.year, &parts.month, &parts.day);
    // The carry may leave the range at either end.
    if (parts.year < 100 || parts.year > 9999)
        return std::nullopt;
    return parts;
}

bool IsShowableOADate(double value) {
    return SplitOADate(value).has_value();
}

QDateTime FromOADate(double value) {
    const auto parts = SplitOADate(value);
    if (!parts)
        return QDateTime();
    return QDateTime(QDate(parts->year, parts->month, parts->day), QTime::fromMSecsSinceStartOfDay(parts->msOfDay));
}

QDate OADateToDate(double value) {
    const auto parts = SplitOADate(value);
    return parts ? QDate(parts->year, parts->month, parts->day) : QDate();
}

double NowOADate() {
    return ToOADate(QDateTime::currentDateTime());
}

double TodayOADate() {
    return ToOADate(QDate::currentDate());
}

QString MonthName(int month) {
    return month >= 1 && month <= 12 ? QString::fromLatin1(kMonths[month - 1]) : QString();
}

QString DayName(int dayOfWeek) {
    return dayOfWeek >= 1 && dayOfWeek <= 7 ? QString::fromLatin1(kDays[dayOfWeek - 1]) : QString();
}

QString FormatMMDDYYYY(double value) {
    const auto d = SplitOADate(value);
    if (!d)
        return QString();
    char text[10];
    char* at = putNumber(text, d->month, 2);
    *at++ = '/';
    at = putNumber(at, d->day, 2);
    *at++ = '/';
    return fromBuffer(text, putNumber(at, d->year, 4));
}

QString FormatHHNNSS(double value) {
    const auto d = SplitOADate(value);
    if (!d)
        return QString();
    const int seconds = d->msOfDay / 1000;
    char text[8];
    char* at = putNumber(text, seconds / 3600, 2);
    *at++ = ':';
    at = putNumber(at, seconds / 60 % 60, 2);
    *at++ = ':';
    return fromBuffer(text, putNumber(at, seconds % 60, 2));
}

QString FormatStamp(double value) {
    if (!IsShowableOADate(value))
        return QString();
    return FormatMMDDYYYY(value) + QLatin1Char(' ') + FormatHHNNSS(value) + QLatin1Char(' ');
}

QString FormatYYYYMMDD(double value) {
    const auto d = SplitOADate(value);
    if (!d)
        return QString();
    char text[8];
    char* at = putNumber(text, d->year, 4);
    at = putNumber(at, d->month, 2);
    return fromBuffer(text, putNumber(at, d->day, 2));
}

QString FormatMMDD(double value) {
    const auto d = SplitOADate(value);
    if (!d)
        return QString();
    char text[4];
    return fromBuffer(text, putNumber(putNumber(text, d->month, 2), d->day, 2));
}

QString FormatMMM(double value) {
    const auto d = SplitOADate(value);
    if (!d)
        return QString();
    return QString::fromLatin1(kMonths[d->month - 1], 3);
}

QString FormatMMMDD(double value) {
    const auto d = SplitOADate(value);
    if (!d)
        return QString();
    char text[6];
    std::memcpy(text, kMonths[d->month - 1], 3);
    text[3] = ' ';
    return fromBuffer(text, putNumber(text + 4, d->day, 2));
}

QString FormatMMMMDYYYY(double value) {
    const QDate d = OADateToDate(value);
    if (!d.isValid())
        return QString();
    return MonthName(d.month()) + QLatin1Char(' ') + QString::number(d.day()) + QStringLiteral(", ") +
           QString::number(d.year());
}

QString FormatDDDD(double value) {
    const QDate d = OADateToDate(value);
    if (!d.isValid())
        return QString();
    return DayName(d.dayOfWeek());
}

QString FormatStampAmPm(double value) {
    if (!IsShowableOADate(value))
        return QString();
    const QTime t = FromOADate(value).time();
    const int hour = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
    return FormatMMDDYYYY(value) + QLatin1Char(' ') + two(hour) + QLatin1Char(':') + two(t.minute()) +
           (t.hour() < 12 ? QStringLiteral("am ") : QStringLiteral("pm "));
}

QString FormatGeneralDate(double value) {
    if (!IsShowableOADate(value))
        return QString();
    const QDateTime dt = FromOADate(value);
    const QTime t = dt.time();
    const QString time = time12(t, true) + (t.hour() < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM"));
    if (std::trunc(value) == 0)
        return time;
    const QDate d = dt.date();
    const QString date = QString::number(d.month()) + QLatin1Char('/') + QString::number(d.day()) + QLatin1Char('/') +
                         QString::number(d.year());
    if (t.msecsSinceStartOfDay() == 0)
        return date;
    return date + QLatin1Char(' ') + time;
}

qint16 WholeYears(double FromDate, double AsOfDate) {
    const auto from = SplitOADate(FromDate);
    const auto asOf = SplitOADate(AsOfDate == 0 ? TodayOADate() : AsOfDate);
    // A date that cannot be shown has no age either.
    if (!from || !asOf)
        return 0;
    int years = asOf->year - from->year;
    if (from->month * 100 + from->day > asOf->month * 100 + asOf->day)
        --years;
    return static_cast<qint16>(years);
}

namespace {

struct TypedDate {
    QDate date;
    bool twoDigitYear = false;
};

std::optional<TypedDate> parseTyped(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;

    // 3/7/2010, 03-07-2010, 3/7/10: month first; one separator kind throughout.
    static const QRegularExpression numeric(QStringLiteral(R"(^([0-9]{1,2})([/-])([0-9]{1,2})\2([0-9]{2}|[0-9]{4})$)"));
    // 2010-03-07
    static const QRegularExpression iso(QStringLiteral(R"(^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})$)"));
    // March 7, 2010 / Mar 7 2010 / mar. 7, 10
    static const QRegularExpression monthFirst(
        QStringLiteral(R"(^([A-Za-z]{3,9})\.?\s+([0-9]{1,2}),?\s+([0-9]{2}|[0-9]{4})$)"));
    // 7-Mar-2010 / 7 March 2010 / 7 Mar, 2010
    static const QRegularExpression dayFirst(
        QStringLiteral(R"(^([0-9]{1,2})(?:\s+|-)([A-Za-z]{3,9})\.?(?:,?\s+|-)([0-9]{2}|[0-9]{4})$)"));

    const auto typed = [](const QString& year, int month, int day) -> std::optional<TypedDate> {
        const std::optional<QDate> date = makeDate(fullYear(year), month, day);
        if (!date)
            return std::nullopt;
        return TypedDate{*date, year.size() == 2};
    };
    QRegularExpressionMatch m = numeric.match(t);
    if (m.hasMatch())
        return typed(m.captured(4), m.captured(1).toInt(), m.captured(3).toInt());
    m = iso.match(t);
    if (m.hasMatch())
        return typed(m.captured(1), m.captured(2).toInt(), m.captured(3).toInt());
    m = monthFirst.match(t);
    if (m.hasMatch()) {
        const int month = monthFromName(m.captured(1));
        if (month == 0)
            return std::nullopt;
        return typed(m.captured(3), month, m.captured(2).toInt());
    }
    m = dayFirst.match(t);
    if (m.hasMatch()) {
        const int month = monthFromName(m.captured(2));
        if (month == 0)
            return std::nullopt;
        return typed(m.captured(3), month, m.captured(1).toInt());
    }
    return std::nullopt;
}

} // namespace

std::optional<QDate> ParseDateEntry(const QString& text) {
    const std::optional<TypedDate> typed = parseTyped(text);
    return typed ? std::optional<QDate>(typed->date) : std::nullopt;
}

std::optional<QDate> ParseBirthDateEntry(const QString& text, const QDate& today) {
    const std::optional<TypedDate> typed = parseTyped(text);
    if (!typed)
        return std::nullopt;
    QDate date = typed->date;
    // Nobody on the staff is born yet: "1/2/29" typed in 2026 means 1929.
    if (typed->twoDigitYear && date > today) {
        const std::optional<QDate> earlier = makeDate(date.year() - 100, date.month(), date.day());
        if (!earlier)
            return std::nullopt;
        date = *earlier;
    }
    if (date > today)
        return std::nullopt;
    return date;
}

bool IsValidDate(const QString& text) {
    return ParseDateEntry(text).has_value();
}
