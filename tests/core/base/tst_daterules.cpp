#include "core/base/DateRules.h"
#include "core/base/NumberRoutines.h"

#include <QTest>

#include <cmath>

namespace {
// 7 March 2010, 14:05:09
constexpr double kSunday = 40244 + (14 * 3600 + 5 * 60 + 9) / 86400.0;

double day(int y, int m, int d) {
    return ToOADate(QDate(y, m, d));
}
} // namespace

class TestDateRules : public QObject {
    Q_OBJECT

private slots:
    void automationDates_data() {
        QTest::addColumn<QDateTime>("dateTime");
        QTest::addColumn<double>("value");
        QTest::newRow("day 0") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << 0.0;
        QTest::newRow("noon of day 0") << QDateTime(QDate(1899, 12, 30), QTime(12, 0)) << 0.5;
        QTest::newRow("1 Jan 1900") << QDateTime(QDate(1900, 1, 1), QTime(0, 0)) << 2.0;
        QTest::newRow("leap day") << QDateTime(QDate(2000, 2, 29), QTime(0, 0)) << 36585.0;
        QTest::newRow("with time") << QDateTime(QDate(2010, 3, 7), QTime(14, 5, 9)) << kSunday;
        QTest::newRow("6am the day before") << QDateTime(QDate(1899, 12, 29), QTime(6, 0)) << -1.25;
        QTest::newRow("two days before") << QDateTime(QDate(1899, 12, 28), QTime(0, 0)) << -2.0;
        QTest::newRow("1800") << QDateTime(QDate(1800, 1, 1), QTime(18, 0)) << -36522.75;
    }
    void automationDates() {
        QFETCH(QDateTime, dateTime);
        QFETCH(double, value);
        QVERIFY(std::fabs(ToOADate(dateTime) - value) < 1e-9);
        QCOMPARE(FromOADate(value), dateTime);
        QCOMPARE(OADateToDate(value), dateTime.date());
    }

    void timeRoundsToTheSecondWithoutLosingTheDay() {
        // A hair before midnight rounds into the next day rather than showing 24:00:00.
        QCOMPARE(FromOADate(40244.9999999999), QDateTime(QDate(2010, 3, 8), QTime(0, 0)));
        QCOMPARE(TodayOADate(), ToOADate(QDate::currentDate()));
    }

    void formats_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const double morning = 40182 + (9 * 3600 + 3 * 60 + 4) / 86400.0; // Monday 4 Jan 2010 09:03:04
        const double midnight = 40543;                                    // Friday 31 Dec 2010
        const double noon = 40543.5;
        QTest::newRow("mm/dd/yyyy") << "MMDDYYYY" << morning << "01/04/2010";
        QTest::newRow("hh:nn:ss") << "HHNNSS" << kSunday << "14:05:09";
        QTest::newRow("stamp") << "Stamp" << morning << "01/04/2010 09:03:04 ";
        QTest::newRow("stamp midnight") << "Stamp" << midnight << "12/31/2010 00:00:00 ";
        QTest::newRow("yyyymmdd") << "YYYYMMDD" << morning << "20100104";
        QTest::newRow("mmdd") << "MMDD" << kSunday << "0307";
        QTest::newRow("MMM") << "MMM" << morning << "Jan";
        QTest::newRow("MMM dd") << "MMMDD" << morning << "Jan 04";
        QTest::newRow("MMMM d, yyyy") << "MMMMDYYYY" << morning << "January 4, 2010";
        QTest::newRow("MMMM d, yyyy Sept") << "MMMMDYYYY" << day(2010, 9, 30) << "September 30, 2010";
        QTest::newRow("DDDD Monday") << "DDDD" << morning << "Monday";
        QTest::newRow("DDDD Sunday") << "DDDD" << kSunday << "Sunday";
        QTest::newRow("am/pm afternoon") << "AmPm" << kSunday << "03/07/2010 02:05pm ";
        QTest::newRow("am/pm morning") << "AmPm" << morning << "01/04/2010 09:03am ";
        QTest::newRow("am/pm midnight") << "AmPm" << midnight << "12/31/2010 12:00am ";
        QTest::newRow("am/pm noon") << "AmPm" << noon << "12/31/2010 12:00pm ";
        QTest::newRow("general") << "General" << kSunday << "3/7/2010 2:05:09 PM";
        QTest::newRow("general morning") << "General" << morning << "1/4/2010 9:03:04 AM";
        QTest::newRow("general date only") << "General" << midnight << "12/31/2010";
        QTest::newRow("general noon") << "General" << noon << "12/31/2010 12:00:00 PM";
        QTest::newRow("general time only") << "General" << 0.75 << "6:00:00 PM";
        QTest::newRow("general zero") << "General" << 0.0 << "12:00:00 AM";
        QTest::newRow("general before day 0") << "General" << -1.25 << "12/29/1899 6:00:00 AM";
    }
    void formats() {
        QFETCH(QString, format);
        QFETCH(double, value);
        QFETCH(QString, text);
        const QHash<QString, QString (*)(double)> formats = {
            {"MMDDYYYY", FormatMMDDYYYY}, {"HHNNSS", FormatHHNNSS},       {"Stamp", FormatStamp},
            {"YYYYMMDD", FormatYYYYMMDD}, {"MMDD", FormatMMDD},           {"MMM", FormatMMM},
            {"MMMDD", FormatMMMDD},       {"MMMMDYYYY", FormatMMMMDYYYY}, {"DDDD", FormatDDDD},
            {"AmPm", FormatStampAmPm},    {"General", FormatGeneralDate}};
        QCOMPARE(formats.value(format)(value), text);
    }

    void valuesBeyondTheFormatsShowEmpty_data() {
        QTest::addColumn<double>("value");
        QTest::newRow("NaN") << std::nan("");
        QTest::newRow("infinity") << HUGE_VAL;
        QTest::newRow("minus infinity") << -HUGE_VAL;
        QTest::newRow("huge") << 1e300;
        QTest::newRow("huge negative") << -1e300;
        QTest::newRow("1 Jan 10000") << 2958466.0;
        QTest::newRow("rounds into 10000") << 2958465.9999999999;
        QTest::newRow("31 Dec 99") << -657435.0;
        QTest::newRow("rounds into year 99") << -657434.9999999999;
    }
    void valuesBeyondTheFormatsShowEmpty() {
        QFETCH(double, value);
        QVERIFY(!IsShowableOADate(value));
        QVERIFY(!FromOADate(value).isValid());
        QVERIFY(!OADateToDate(value).isValid());
        for (auto format : {FormatMMDDYYYY, FormatHHNNSS, FormatStamp, FormatYYYYMMDD, FormatMMDD, FormatMMM,
                            FormatMMMDD, FormatMMMMDYYYY, FormatDDDD, FormatStampAmPm, FormatGeneralDate})
            QCOMPARE(format(value), QString());
        QCOMPARE(WholeYears(value, day(2010, 1, 1)), qint16(0));
        QCOMPARE(WholeYears(day(2010, 1, 1), value), qint16(0));
    }

    void theEndsOfTheRangeShow_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("1 Jan 100") << -657434.0 << "01/01/0100";
        QTest::newRow("noon of 1 Jan 100") << -657434.5 << "01/01/0100";
        QTest::newRow("31 Dec 9999") << 2958465.0 << "12/31/9999";
        QTest::newRow("evening of 31 Dec 9999") << 2958465.75 << "12/31/9999";
    }
    void theEndsOfTheRangeShow() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QVERIFY(IsShowableOADate(value));
        QCOMPARE(FormatMMDDYYYY(value), text);
    }

    // Dates are taken apart by arithmetic; every showable day must agree with the calendar of QDate.
    void everyShowableDayMatchesTheCalendar() {
        const QDate epoch(1899, 12, 30);
        for (qint64 day = -657434; day <= 2958465; ++day) {
            const auto parts = SplitOADate(static_cast<double>(day) + (day < 0 ? -0.5 : 0.5));
            const QDate expected = epoch.addDays(day);
            if (!parts || parts->year != expected.year() || parts->month != expected.month() ||
                parts->day != expected.day() || parts->msOfDay != 43200000)
                QFAIL(qPrintable(QStringLiteral("day %1").arg(day)));
        }
    }

    void formatsIgnoreTheMachineLocale() {
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString month = FormatMMMMDYYYY(kSunday);
        const QString weekday = FormatDDDD(kSunday);
        QLocale::setDefault(previous);
        QCOMPARE(month, QStringLiteral("March 7, 2010"));
        QCOMPARE(weekday, QStringLiteral("Sunday"));
    }

    void wholeYears_data() {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("asOf");
        QTest::addColumn<int>("years");
        QTest::newRow("day before anniversary") << day(1970, 12, 31) << day(2010, 12, 30) << 39;
        QTest::newRow("anniversary") << day(1970, 12, 31) << day(2010, 12, 31) << 40;
        QTest::newRow("leap birthday, 28 Feb") << day(1972, 2, 29) << day(2010, 2, 28) << 37;
        QTest::newRow("leap birthday, 1 Mar") << day(1972, 2, 29) << day(2010, 3, 1) << 38;
        QTest::newRow("later from") << day(2011, 6, 15) << day(2010, 6, 14) << -2;
        QTest::newRow("same day") << day(2010, 6, 14) << day(2010, 6, 14) << 0;
        QTest::newRow("times ignored") << day(1970, 12, 31) + 0.99 << day(2010, 12, 31) + 0.01 << 40;
        QTest::newRow("times ignored, early") << day(1970, 12, 31) + 0.01 << day(2010, 12, 30) + 0.99 << 39;
        QTest::newRow("month decides before day") << day(1980, 10, 1) << day(2010, 9, 30) << 29;
    }
    void wholeYears() {
        QFETCH(double, from);
        QFETCH(double, asOf);
        QFETCH(int, years);
        QCOMPARE(WholeYears(from, asOf), qint16(years));
    }

    void wholeYearsToTodayWhenAsOfIsZero() {
        const QDate today = QDate::currentDate();
        const double tenYearsAgo = ToOADate(today.addYears(-10));
        const double dayAfter = ToOADate(today.addYears(-10).addDays(1)) + 0.75;
        if (QDate::currentDate() != today)
            QSKIP("the date changed during the test");
        QCOMPARE(WholeYears(tenYearsAgo, 0), qint16(10));
        QCOMPARE(WholeYears(dayAfter, 0), qint16(9));
    }

    void minMaxTakeTheFirstOnATie() {
        QCOMPARE(MinValue(2, 3), 2.0);
        QCOMPARE(MinValue(3, 2), 2.0);
        QCOMPARE(MaxValue(2, 3), 3.0);
        QCOMPARE(MaxValue(3, 2), 3.0);
        // -0 and +0 compare equal, so the sign shows which one came back.
        QVERIFY(std::signbit(MinValue(-0.0, 0.0)));
        QVERIFY(!std::signbit(MinValue(0.0, -0.0)));
        QVERIFY(std::signbit(MaxValue(-0.0, 0.0)));
        QVERIFY(!std::signbit(MaxValue(0.0, -0.0)));
    }

    void randomIntegerStaysInRange() {
        bool sawLow = false;
        bool sawHigh = false;
        for (int i = 0; i < 3000; ++i) {
            const qint16 n = RandomInteger(65, 90);
            QVERIFY2(n >= 65 && n <= 90, qPrintable(QString::number(n)));
            sawLow |= n == 65;
            sawHigh |= n == 90;
        }
        QVERIFY(sawLow);
        QVERIFY(sawHigh);
        QCOMPARE(RandomInteger(7, 7), qint16(7));
    }

    void dateEntry_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date"); // invalid: refused
        const QDate march7(2010, 3, 7);
        QTest::newRow("m/d/yyyy") << "3/7/2010" << march7;
        QTest::newRow("mm/dd/yyyy") << "03/07/2010" << march7;
        QTest::newRow("hyphens") << "03-07-2010" << march7;
        QTest::newRow("blanks around") << "  3/7/2010 " << march7;
        QTest::newRow("yy 10") << "3/7/10" << march7;
        QTest::newRow("yy 29") << "1/1/29" << QDate(2029, 1, 1);
        QTest::newRow("yy 30") << "1/1/30" << QDate(1930, 1, 1);
        QTest::newRow("yy 99") << "12/31/99" << QDate(1999, 12, 31);
        QTest::newRow("yy 00") << "02/29/00" << QDate(2000, 2, 29);
        QTest::newRow("full month") << "March 7, 2010" << march7;
        QTest::newRow("short month") << "Mar 7 2010" << march7;
        QTest::newRow("short month comma") << "Mar 7, 2010" << march7;
        QTest::newRow("any case") << "MARCH 7, 2010" << march7;
        QTest::newRow("lower case") << "mar 07 2010" << march7;
        QTest::newRow("day-Mon-year") << "7-Mar-2010" << march7;
        QTest::newRow("day Month year") << "7 March 2010" << march7;
        QTest::newRow("Sept") << "Sept 30, 2010" << QDate(2010, 9, 30);
        QTest::newRow("iso") << "2010-03-07" << march7;
        QTest::newRow("leap day") << "2/29/2008" << QDate(2008, 2, 29);
        QTest::newRow("no such day") << "02/30/2010" << QDate();
        QTest::newRow("not a leap year") << "2/29/2010" << QDate();
        QTest::newRow("month 13") << "13/01/2010" << QDate();
        QTest::newRow("day 0") << "3/0/2010" << QDate();
        QTest::newRow("day 32") << "Jan 32, 2010" << QDate();
        QTest::newRow("empty") << "" << QDate();
        QTest::newRow("blanks") << "   " << QDate();
        QTest::newRow("garbage") << "soon" << QDate();
        QTest::newRow("unknown month") << "Smarch 7, 2010" << QDate();
        QTest::newRow("trailing junk") << "3/7/2010x" << QDate();
        QTest::newRow("trailing number") << "3/7/2010 5" << QDate();
        QTest::newRow("mixed separators") << "3/7-2010" << QDate();
        QTest::newRow("three-digit year") << "3/7/201" << QDate();
        QTest::newRow("no year") << "3/7" << QDate();
        QTest::newRow("negative") << "-3/7/2010" << QDate();
        QTest::newRow("year 0010: the file keeps 100-9999") << "3/7/0010" << QDate();
        QTest::newRow("year 0099 iso") << "0099-12-31" << QDate();
        QTest::newRow("year 0100") << "1/1/0100" << QDate(100, 1, 1);
        QTest::newRow("year 9999") << "Dec 31, 9999" << QDate(9999, 12, 31);
    }
    void dateEntry() {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        const std::optional<QDate> parsed = ParseDateEntry(text);
        QCOMPARE(parsed.has_value(), date.isValid());
        if (parsed)
            QCOMPARE(*parsed, date);
        QCOMPARE(IsValidDate(text), date.isValid());
    }

    // A date of birth is never after today (7 March 2026 here): a two-digit year goes back a century instead.
    void birthDateEntry_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date"); // invalid: refused
        QTest::newRow("yy tomorrow") << "Mar 8, 26" << QDate(1926, 3, 8);
        QTest::newRow("yyyy tomorrow") << "3/8/2026" << QDate();
    }
    void birthDateEntry() {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(ParseBirthDateEntry(text, QDate(2026, 3, 7)).value_or(QDate()), date);
    }
};

QTEST_GUILESS_MAIN(TestDateRules)
#include "tst_daterules.moc"
