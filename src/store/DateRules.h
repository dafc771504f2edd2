#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

// Automation dates: whole days since 30 December 1899 (day 0), fraction = time of day. 0 is the empty date.

double ToOADate(const QDateTime& dateTime);
double ToOADate(const QDate& date);
QDateTime FromOADate(double value);
// The calendar date of a value; the time of day is dropped.
QDate OADateToDate(double value);
// The current local date and time.
double NowOADate();

// Date texts, always in English whatever the machine's locale.
QString FormatMMDDYYYY(double value);   // "mm/dd/yyyy"
QString FormatHHNNSS(double value);     // "hh:nn:ss", 24-hour clock
