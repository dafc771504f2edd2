#include "store/DateRules.h"

#include <QRegularExpression>

#include <array>
#include <cmath>

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr qint64 kMsPerDay = 86400000;

const std::array<const char*, 12> kMonths = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
const std::array<const char*, 7> kDays = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

QString two(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
QString four(int n) {
    return QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
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

// The date and time of a value, or nothing for a value outside 1 January 100 to 31 December 9999. A corrupt stamp
// in a file may hold anything (NaN, an infinity, 1e300); it never reaches the conversion to whole days.
std::optional<QDateTime> Convert(double value) {
    // Day -657434 is 1 January 100 and day 2958465 31 December 9999; before day 0 the fraction counts away from
    // zero, so the whole part decides. NaN fails both comparisons.
    if (!(value > -657435.0 && value < 2958466.0))
        return std::nullopt;
    double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    qint64 ms = std::llround(fraction * kMsPerDay);
    if (ms >= kMsPerDay) { // rounding carried into the next day
        ms -= kMsPerDay;
        whole += value >= 0 ? 1 : -1;
    }
    const QDate date = kEpoch.addDays(static_cast<qint64>(whole));
    // The carry may leave the range at either end.
    if (date.year() < 100 || date.year() > 9999)
        return std::nullopt;
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

} // namespace

bool IsShowableOADate(double value) {
    return Convert(value).has_value();
}

QDateTime FromOADate(double value) {
    return Convert(value).value_or(QDateTime());
}

QDate OADateToDate(double value) {
    return FromOADate(value).date();
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
    if (!IsShowableOADate(value))
        return QString();
    const QDate d = OADateToDate(value);
    return two(d.month()) + QLatin1Char('/') + two(d.day()) + QLatin1Char('/') + four(d.year());
}

QString FormatHHNNSS(double value) {
    if (!IsShowableOADate(value))
        return QString();
    const QTime t = FromOADate(value).time();
    return two(t.hour()) + QLatin1Char(':') + two(t.minute()) + QLatin1Char(':') + two(t.second());
}

QString FormatStamp(double value) {
    if (!IsShowableOADate(value))
        return QString();
    return FormatMMDDYYYY(value) + QLatin1Char(' ') + FormatHHNNSS(value) + QLatin1Char(' ');
}

QString FormatYYYYMMDD(double value) {
    if (!IsShowableOADate(value))
        return QString();
    const QDate d = OADateToDate(value);
    return four(d.year()) + two(d.month()) + two(d.day());
}

QString FormatMMDD(double value) {
    if (!IsShowableOADate(value))
        return QString();
    const QDate d = OADateToDate(value);
    return two(d.month()) + two(d.day());
}

QString FormatMMM(double value) {
    if (!IsShowableOADate(value))
        return QString();
    return MonthName(OADateToDate(value).month()).left(3);
}

QString FormatMMMDD(double value) {
    if (!IsShowableOADate(value))
        return QString();
    return FormatMMM(value) + QLatin1Char(' ') + two(OADateToDate(value).day());
}

QString FormatMMMMDYYYY(double value) {
    if (!IsShowableOADate(value))
        return QString();
    const QDate d = OADateToDate(value);
    return MonthName(d.month()) + QLatin1Char(' ') + QString::number(d.day()) + QStringLiteral(", ") +
           QString::number(d.year());
}

QString FormatDDDD(double value) {
    if (!IsShowableOADate(value))
        return QString();
    return DayName(OADateToDate(value).dayOfWeek());
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
    const QDate from = OADateToDate(FromDate);
    const QDate asOf = AsOfDate == 0 ? QDate::currentDate() : OADateToDate(AsOfDate);
    // A date that cannot be shown has no age either.
    if (!from.isValid() || !asOf.isValid())
        return 0;
    int years = asOf.year() - from.year();
    if (from.month() * 100 + from.day() > asOf.month() * 100 + asOf.day())
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
