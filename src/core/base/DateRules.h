#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

// Automation dates: whole days since 30 December 1899 (day 0), fraction = time of day. 0 is the empty date.

// Whether a value is a date the formats can show: from 1 January 100 to 31 December 9999. Any other value
// (NaN, an infinity, a corrupt stamp) converts to an invalid date and formats as an empty text.
bool IsShowableOADate(double value);

// A showable value taken apart by arithmetic alone: no time zone is consulted, so a list may convert every date of
// every record. Nothing for a value that is not showable.
struct OADateParts {
    qint64 days = 0; // whole days, after a time of day rounded to the next day
    int year = 0;
    int month = 0;
    int day = 0;
    int msOfDay = 0;
};
std::optional<OADateParts> SplitOADate(double value);

double ToOADate(const QDateTime& dateTime);
double ToOADate(const QDate& date);
QDateTime FromOADate(double value);
// The calendar date of a value; the time of day is dropped.
QDate OADateToDate(double value);
// The current local date and time.
double NowOADate();
// Today's date at midnight.
double TodayOADate();

// Date texts, always in English whatever the machine's locale; empty for a value that is not a showable date.
QString FormatMMDDYYYY(double value);  // "03/07/2010"
QString FormatHHNNSS(double value);    // "14:05:09", 24-hour clock
QString FormatStamp(double value);     // "03/07/2010 14:05:09 ", created and last-modified stamps
QString FormatYYYYMMDD(double value);  // "20100307", sort keys
QString FormatMMDD(double value);      // "0307"
QString FormatMMM(double value);       // "Mar"
QString FormatMMMDD(double value);     // "Mar 07"
QString FormatMMMMDYYYY(double value); // "March 7, 2010"
QString FormatDDDD(double value);      // "Sunday"
QString FormatStampAmPm(double value); // "03/07/2010 02:05pm ", 12-hour clock
// The general date of US English: "3/7/2010 2:05:09 PM"; no time part shows the date alone ("3/7/2010"), no
// date part (whole days 0) the time alone ("2:05:09 PM", "12:00:00 AM" for 0).
QString FormatGeneralDate(double value);

// English month and weekday names, index 1-12 and 1 (Monday) - 7 (Sunday).
QString MonthName(int month);
QString DayName(int dayOfWeek);

// Whole years from FromDate to AsOfDate (0 = today): the year difference, less one when the month-and-day of
// FromDate lies after that of AsOfDate. Times of day play no part; a later FromDate gives 0 or less, and a date that is
// not showable gives 0.
qint16 WholeYears(double FromDate, double AsOfDate = 0);

// A date as a clerk in the United States types it: 3/7/2010, 03-07-2010, 3/7/10 (00-29 is 20xx, 30-99 19xx),
// March 7, 2010, Mar 7 2010, 7-Mar-2010, 7 March 2010, 2010-03-07; blanks around it are allowed. Nothing for
// an empty text, an impossible day, a year before 100 (which the file cannot keep) or anything else.
std::optional<QDate> ParseDateEntry(const QString& text);
bool IsValidDate(const QString& text);
// A date of birth as typed: as ParseDateEntry, but never after today. A two-digit year that would land after
// today belongs to the century before ("1/2/29" in 2026 is 1929); any other date after today is nothing.
std::optional<QDate> ParseBirthDateEntry(const QString& text, const QDate& today = QDate::currentDate());
