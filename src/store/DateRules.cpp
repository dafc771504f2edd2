#include "store/DateRules.h"

#include <cmath>

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr qint64 kMsPerDay = 86400000;
} // namespace

double ToOADate(const QDate& date) { return static_cast<double>(kEpoch.daysTo(date)); }

double ToOADate(const QDateTime& dateTime) {
    const double days = ToOADate(dateTime.date());
    const double fraction = dateTime.time().msecsSinceStartOfDay() / static_cast<double>(kMsPerDay);
    // Before day 0 the fraction counts away from zero, as automation dates do (-1.25 is 29 Dec 1899, 06:00).
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime FromOADate(double value) {
    double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    qint64 ms = std::llround(fraction * kMsPerDay);
    if (ms >= kMsPerDay) { // rounding carried into the next day
        ms -= kMsPerDay;
        whole += value >= 0 ? 1 : -1;
    }
    return QDateTime(kEpoch.addDays(static_cast<qint64>(whole)), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

QDate OADateToDate(double value) { return FromOADate(value).date(); }

double NowOADate() { return ToOADate(QDateTime::currentDateTime()); }

QString FormatMMDDYYYY(double value) {
    const QDate d = OADateToDate(value);
    return QStringLiteral("%1/%2/%3")
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString FormatHHNNSS(double value) {
    const QTime t = FromOADate(value).time();
    return QStringLiteral("%1:%2:%3")
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}
