#include "core/record/RecordView.h"

#include "DayTestSupport.h"

#include <QTest>

namespace {

PersonnelRecord Employee() {
    PersonnelRecord r;
    r.RecordCreated = Day(2010, 3, 7) + (14 * 3600 + 5 * 60 + 9) / 86400.0;
    r.FirstName = QStringLiteral("John");
    r.LastName = QStringLiteral("Smith");
    r.Race = QStringLiteral("W");
    r.Sex = QStringLiteral("M");
    r.DateOfBirth = Day(1980, 3, 7);
    r.DateOfEmployment = Day(1999, 7, 1);
    r.Sworn = -1;
    r.Notepad = QStringLiteral("  line one\r\nline two  ");
    return r;
}

} // namespace

class TestRecordView : public QObject {
    Q_OBJECT

private slots:
    void currentEmployee() {
        const RecordView v = ViewRecord(Employee(), kToday);
        QCOMPARE(v.FrameCaption, QStringLiteral(" John Smith "));
        QCOMPARE(v.Created, QStringLiteral(" Record created 03/07/2010 14:05:09 "));
        QCOMPARE(v.Modified, QString());
        QCOMPARE(v.Field[7], QStringLiteral("03/07/1980"));
        QCOMPARE(v.Field[19], QStringLiteral("07/01/1999"));
        QCOMPARE(v.Field[20], QString());
        QCOMPARE(v.Field[21], QString());
        QCOMPARE(v.Field[22], QStringLiteral("line one\r\nline two"));
        QCOMPARE(v.YearsDOB, QStringLiteral("(46)"));
        QCOMPARE(v.YearsDOE, QStringLiteral("(27)"));
        QCOMPARE(v.YearsDOT, QString());
        QCOMPARE(v.YearsDOI, QString());
        QVERIFY(v.Sworn);
        QVERIFY(!v.Previous);
        QVERIFY(!v.LabelEnabled);
        QVERIFY(!v.EmailEnabled);
    }

    void previousEmployeeCountsServiceToTheInactivationDate() {
        PersonnelRecord r = Employee();
        r.LastModified = Day(2012, 1, 2) + 0.5;
        r.InactivationDate = Day(2004, 6, 30);
        r.DateOfJobTitle = Day(2001, 2, 3);
        r.Sworn = 0;
        r.StreetAddress = QStringLiteral("1 Elm St");
        r.Email = QStringLiteral("js@pd.gov  ");
        const RecordView v = ViewRecord(r, kToday);
        QCOMPARE(v.Modified, QStringLiteral(" Last modified 01/02/2012 12:00:00 "));
        QCOMPARE(v.Field[20], QStringLiteral("02/03/2001"));
        QCOMPARE(v.Field[21], QStringLiteral("06/30/2004"));
        QCOMPARE(v.YearsDOE, QStringLiteral("(4)"));
        QCOMPARE(v.YearsDOT, QStringLiteral("(25)"));
        QCOMPARE(v.YearsDOI, QStringLiteral("(22)"));
        QVERIFY(!v.Sworn);
        QVERIFY(v.Previous);
        QVERIFY(v.LabelEnabled);
        QVERIFY(v.EmailEnabled);
        QCOMPARE(v.Field[16], QStringLiteral("js@pd.gov"));
    }

    void damagedDatesShowWithoutFailing() {
        PersonnelRecord r;
        r.DateOfBirth = std::numeric_limits<double>::quiet_NaN();
        r.DateOfEmployment = 1e300;
        r.RecordCreated = -std::numeric_limits<double>::infinity();
        const RecordView v = ViewRecord(r, kToday);
        QCOMPARE(v.Field[7], QString());
        QCOMPARE(v.Field[19], QString());
        QCOMPARE(v.Created, QStringLiteral(" Record created "));
        QCOMPARE(v.FrameCaption, QStringLiteral("   "));
    }

    void fitPicture_data() {
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QSize>("fitted");
        QTest::newRow("landscape") << QSize(600, 400) << QSize(3480, 2320);
        QTest::newRow("square") << QSize(2535, 2535) << QSize(2535, 2535);
        QTest::newRow("portrait") << QSize(300, 600) << QSize(1267, 2535);
        QTest::newRow("wide overflows") << QSize(1000, 990) << QSize(3480, 3445);
        QTest::newRow("empty") << QSize(0, 0) << QSize(3480, 2535);
    }

    void fitPicture() {
        QFETCH(QSize, natural);
        QFETCH(QSize, fitted);
        QCOMPARE(FitPicture(natural, QSize(PictureFrameWidth, PictureFrameHeight)), fitted);
    }

    void weekdayTip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        QTest::newRow("monday") << "12/07/2026" << QStringLiteral("Monday");
        QTest::newRow("sunday") << "03/07/2010" << QStringLiteral("Sunday");
        QTest::newRow("empty") << "" << QString();
        QTest::newRow("not a date") << "13/45/2010" << QString();
    }

    void weekdayTip() {
        QFETCH(QString, text);
        QFETCH(QString, tip);
        QCOMPARE(WeekdayTip(text), tip);
    }
};

QTEST_GUILESS_MAIN(TestRecordView)
#include "tst_recordview.moc"
