#include "PrintTestSupport.h"
#include "core/print/PrintHelpers.h"
#include "core/print/Printouts.h"
#include "core/print/RecordingPrinter.h"
#include "core/base/DateRules.h"

#include <QTest>

namespace {

// Built on first use: the date routines' own constants are not ready while globals are made.
double PrintedAt() {
    return ToOADate(QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)));
}

// An employee with only the fields the record form requires.
PersonnelRecord RequiredOnly() {
    PersonnelRecord r;
    r.FirstName = QStringLiteral("John");
    r.LastName = QStringLiteral("Smith");
    r.Race = QStringLiteral("W");
    r.Sex = QStringLiteral("M");
    r.DateOfBirth = ToOADate(QDate(1970, 12, 31));
    r.DateOfEmployment = ToOADate(QDate(1995, 3, 7));
    return r;
}

PersonnelRecord Complete() {
    PersonnelRecord r = RequiredOnly();
    r.MiddleName = QStringLiteral("Quincy");
    r.Suffix = QStringLiteral("Jr");
    r.SocialSecurityNumber = QStringLiteral("123-45-6789");
    r.EmergencyName = QStringLiteral("Mary Smith");
    r.EmergencyRelationship = QStringLiteral("Spouse");
    r.EmergencyPhone = QStringLiteral("555-0100");
    r.StreetAddress = QStringLiteral("12 Elm Street");
    r.CityStateZip = QStringLiteral("Springfield, IL 62701");
    r.HomePhone = QStringLiteral("555-0101");
    r.CellPhone = QStringLiteral("555-0102");
    r.Email = QStringLiteral("jsmith@example.org");
    r.EmployeeNumber = QStringLiteral("E-1001");
    r.JobTitle = QStringLiteral("Sergeant");
    r.DateOfJobTitle = ToOADate(QDate(2005, 6, 1));
    r.Sworn = -1;
    return r;
}

// A caption ending at 3.0 inches, followed directly by its separator and value.
ExpectedText Field(const QString& caption, const QString& rest, double y) {
    return {caption + rest, 3.0 - Chars(caption.size()), y};
}

QList<QStringList> Rows(int count) {
    QList<QStringList> rows;
    for (int i = 1; i <= count; ++i)
        rows << QStringList{QStringLiteral("Employee %1, Test").arg(i, 2, 10, QLatin1Char('0')),
                            QStringLiteral("Patrol Officer"), QStringLiteral("*"), QString::number(i)};
    return rows;
}

EmployeeListPrintout List(const QList<QStringList>& rows) {
    return {QStringLiteral("Vardel - Springfield Police Department"),
            QStringLiteral("Current Employees"),
            {QStringLiteral("Name"), QStringLiteral("Job Title"), QString()},
            rows,
            PrintedAt()};
}

QString Rule(double points) {
    const auto n = static_cast<qsizetype>(std::ceil((7.6 - 0.5) / Chars(1, points)));
    return QString(n, QLatin1Char('_'));
}

} // namespace

class TestPrintouts : public QObject {
    Q_OBJECT

private slots:
    void listOfTwoOnOnePage() {
        RecordingPrinter p;
        PrintEmployeeList(p, List(Rows(2)));
        const double h = Lines(1, 9);
        const double rows = 1.0 + 4 * h;
        const ExpectedTexts expected{
            {QStringLiteral("Vardel - Springfield Police Department -- Page 1, 3/7/2026 2:05:09 PM"), 0.5, 1.0},
            {QStringLiteral("Printout of Current Employees"), 0.5, 1.0 + h},
            {Rule(9), 0.5, 1.0 + 2 * h},
            {QStringLiteral("Name"), 0.5, 1.0 + 3 * h},
            {QStringLiteral("Job Title"), 4.0, 1.0 + 3 * h},
            {Rule(9), 0.5, 1.0 + 3 * h},
            {QStringLiteral("Employee 01, Test"), 0.5, rows},
            {QStringLiteral("Patrol Officer"), 4.0, rows},
            {QStringLiteral("*"), 6.2, rows},
            {QStringLiteral("Employee 02, Test"), 0.5, rows + h},
            {QStringLiteral("Patrol Officer"), 4.0, rows + h},
            {QStringLiteral("*"), 6.2, rows + h},
            {Rule(9), 0.5, rows + h},
            {QStringLiteral("End of Printout"), 0.5, rows + 2 * h}};
        COMPARE_TEXTS(p.texts, expected);
        QCOMPARE(p.pagesPerDocument, QList<int>{1});
        for (const RecordingPrinter::Text& t : std::as_const(p.texts))
            QCOMPARE(t.font, (PrinterFont{QStringLiteral("Arial"), 9, false, false, false, false}));
    }

    void listPages_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("lastRowOfPage");
        // Rows start 4 lines below 1.0 inch; the 25th row of a page lies below 8.8 inches and closes it.
        QTest::newRow("one page") << 24 << QList<int>{24};
        QTest::newRow("exactly one full page") << 25 << QList<int>{25};
        QTest::newRow("one row on the second page") << 26 << QList<int>{25, 26};
        QTest::newRow("sixty rows") << 60 << QList<int>{25, 50, 60};
    }

    void listPages() {
        QFETCH(int, rows);
        QFETCH(QList<int>, lastRowOfPage);
        RecordingPrinter p;
        PrintEmployeeList(p, List(Rows(rows)));
        QCOMPARE(p.pagesPerDocument, QList<int>{static_cast<int>(lastRowOfPage.size())});
        const double h = Lines(1, 9);
        for (int page = 1; page <= lastRowOfPage.size(); ++page) {
            const QList<RecordingPrinter::Text> texts = p.textsOn(1, page);
            QCOMPARE(
                texts.first().text,
                QStringLiteral("Vardel - Springfield Police Department -- Page %1, 3/7/2026 2:05:09 PM").arg(page));
            QCOMPARE(texts.first().y, 1.0);
            // The page's last row is underlined by the closing rule on its line.
            const int last = lastRowOfPage.at(page - 1);
            const int first = page == 1 ? 1 : lastRowOfPage.at(page - 2) + 1;
            const QString name = QStringLiteral("Employee %1, Test").arg(last, 2, 10, QLatin1Char('0'));
            const ExpectedText lastRow{name, 0.5, 1.0 + (4 + last - first) * h, page};
            const ExpectedText rule{Rule(9), 0.5, lastRow.y, page};
            COMPARE_TEXTS_IN_ORDER(texts, (ExpectedTexts{lastRow, rule}));
            const bool closing = texts.last().text == QStringLiteral("End of Printout");
            QCOMPARE(closing, page == lastRowOfPage.size());
        }
    }

    void listCutsColumnsZeroAndOne() {
        const QString longName = QString(55, QLatin1Char('N'));
        const QString longDetail = QString(42, QLatin1Char('d'));
        const QString longThird = QString(60, QLatin1Char('t'));
        RecordingPrinter p;
        PrintEmployeeList(p, List({{longName, longDetail, longThird, QStringLiteral("1")}, Rows(1).first()}));
        const double y = 1.0 + Lines(4, 9);
        // Each cell ends a blank (0.140625 inch) short of the next column, the last short of the rule's end.
        COMPARE_TEXTS_IN_ORDER(
            p.texts,
            (ExpectedTexts{{longName.left(23), 0.5, y}, {longDetail.left(14), 4.0, y}, {longThird.left(8), 6.2, y}}));
    }

    void reportLayout_data() {
        QTest::addColumn<PersonnelRecord>("record");
        QTest::addColumn<ExpectedTexts>("expected");

        const double h = Lines(1);
        const double f = 1.0 + 4 * h; // first field line
        ExpectedTexts required{
            {QStringLiteral("Vardel information report, "), 1.0, 1.0},
            {QStringLiteral("3/7/2026 2:05:09 PM"), 1.0, 1.0 + h},
            Field(QStringLiteral("First Name"), QStringLiteral(":  John"), f),
            Field(QStringLiteral("Last Name"), QStringLiteral(":  Smith"), f + h),
            Field(QStringLiteral("Race"), QStringLiteral(":  W"), f + 2 * h),
            Field(QStringLiteral("Sex"), QStringLiteral(":  M"), f + 3 * h),
            Field(QStringLiteral("Date of Birth"), QStringLiteral(":  12/31/1970"), f + 4 * h),
            {QStringLiteral("In case of emergency, contact--"), 3.0 - Chars(31), f + 6 * h},
            Field(QStringLiteral("Date of Employment"), QStringLiteral(":  03/07/1995"), f + 9 * h),
            Field(QStringLiteral("Sworn Status"), QStringLiteral(": Non-sworn Employee"), f + 11 * h),
            Field(QStringLiteral("Employment Status"), QStringLiteral(":  Current Employee"), f + 13 * h)};
        QTest::newRow("required fields only") << RequiredOnly() << required;

        PersonnelRecord previous = Complete();
        previous.InactivationDate = ToOADate(QDate(2011, 5, 31));
        ExpectedTexts full{
            Field(QStringLiteral("First Name"), QStringLiteral(":  John"), f),
            Field(QStringLiteral("Middle Name"), QStringLiteral(":  Quincy"), f + h),
            Field(QStringLiteral("Last Name"), QStringLiteral(":  Smith"), f + 2 * h),
            Field(QStringLiteral("Suffix"), QStringLiteral(":  Jr"), f + 3 * h),
            Field(QStringLiteral("Race"), QStringLiteral(":  W"), f + 4 * h),
            Field(QStringLiteral("Sex"), QStringLiteral(":  M"), f + 5 * h),
            Field(QStringLiteral("Date of Birth"), QStringLiteral(":  12/31/1970"), f + 6 * h),
            Field(QStringLiteral("Social Security #"), QStringLiteral(":  123-45-6789"), f + 7 * h),
            {QStringLiteral("In case of emergency, contact--"), 3.0 - Chars(31), f + 9 * h},
            Field(QStringLiteral("Name"), QStringLiteral(":  Mary Smith"), f + 10 * h),
            Field(QStringLiteral("Relationship"), QStringLiteral(":  Spouse"), f + 11 * h),
            Field(QStringLiteral("Contact Number"), QStringLiteral(":  555-0100"), f + 12 * h),
            Field(QStringLiteral("Street Address"), QStringLiteral(":  12 Elm Street"), f + 14 * h),
            Field(QStringLiteral("City/State/Zip"), QStringLiteral(":  Springfield, IL 62701"), f + 15 * h),
            Field(QStringLiteral("Home Phone"), QStringLiteral(":  555-0101"), f + 16 * h),
            Field(QStringLiteral("Cell Phone"), QStringLiteral(":  555-0102"), f + 17 * h),
            Field(QStringLiteral("Email"), QStringLiteral(":  jsmith@example.org"), f + 18 * h),
            Field(QStringLiteral("Employee #"), QStringLiteral(":  E-1001"), f + 19 * h),
            Field(QStringLiteral("Job Title"), QStringLiteral(":  Sergeant"), f + 20 * h),
            Field(QStringLiteral("Date of Employment"), QStringLiteral(":  03/07/1995"), f + 22 * h),
            Field(QStringLiteral("Date of Job Title"), QStringLiteral(":  06/01/2005"), f + 23 * h),
            Field(QStringLiteral("Sworn Status"), QStringLiteral(": Sworn Employee"), f + 25 * h),
            Field(QStringLiteral("Employment Status"),
                  QStringLiteral(":  Previous Employee, Inactivation Date: 05/31/2011"), f + 27 * h)};
        QTest::newRow("every field, previous employee") << previous << full;
    }

    void reportLayout() {
        QFETCH(PersonnelRecord, record);
        QFETCH(ExpectedTexts, expected);
        RecordingPrinter p;
        PrintInformationReport(p, nullptr, record, false, PrintedAt());
        if (expected.first().y == 1.0)
            COMPARE_TEXTS(p.texts, expected);
        else
            COMPARE_TEXTS_IN_ORDER(p.texts, expected);
        QCOMPARE(p.pagesPerDocument, QList<int>{1});
    }

    void reportNotepad_data() {
        QTest::addColumn<QString>("notepad");
        QTest::addColumn<ExpectedTexts>("expected");
        QTest::addColumn<QList<int>>("pages");
        // Below the required-only report: the status line is the 14th line under the first field.
        const double h = Lines(1);
        const double notes = 1.0 + 4 * h + 15 * h;

        const QString n49 = QStringLiteral("Promoted to sergeant in 2005 after the exam. ok.!");
        QTest::newRow("49 characters on the caption's line")
            << n49 << ExpectedTexts{{QStringLiteral("Notepad comments: ") + n49, 1.0, notes}} << QList<int>{1};

        const QString n50 = n49 + QLatin1Char('!');
        QTest::newRow("50 characters start on the next line")
            << n50
            << ExpectedTexts{{QStringLiteral("Notepad comments: "), 1.0, notes},
                             {QStringLiteral("Promoted to sergeant in 2005 after the "), 1.0, notes + h},
                             {QStringLiteral("exam. ok.!!"), 1.0, notes + 2 * h}}
            << QList<int>{1};

        QTest::newRow("a short note's second line keeps the left edge")
            << QStringLiteral("Transferred.\r\nPromoted.")
            << ExpectedTexts{{QStringLiteral("Notepad comments: Transferred."), 1.0, notes},
                             {QStringLiteral("Promoted."), 1.0, notes + h}}
            << QList<int>{1};

        QStringList many;
        for (int i = 1; i <= 40; ++i)
            many << QStringLiteral("Entry %1").arg(i, 2, 10, QLatin1Char('0'));
        // Page 1 holds entries down to 8.8 inches; the rest wraps on with a page number from page 2.
        QTest::newRow("long notepad continues on a numbered second page")
            << many.join(QStringLiteral("\r\n")) << ExpectedTexts{{QStringLiteral("Notepad comments: "), 1.0, notes},
                                                                  {QStringLiteral("Entry 01"), 1.0, notes + h},
                                                                  {QStringLiteral("Entry 05"), 1.0, notes + 5 * h},
                                                                  {QStringLiteral("Entry 06"), 1.0, 1.0, 2},
                                                                  {QStringLiteral("Entry 30"), 1.0, 1.0 + 24 * h, 2},
                                                                  {QStringLiteral("(page 2)"), 6.0, 9.2, 2},
                                                                  {QStringLiteral("Entry 31"), 1.0, 1.0, 3},
                                                                  {QStringLiteral("(page 3)"), 6.0, 9.2, 3}}
            << QList<int>{3};
    }

    void reportNotepad() {
        QFETCH(QString, notepad);
        QFETCH(ExpectedTexts, expected);
        QFETCH(QList<int>, pages);
        PersonnelRecord r = RequiredOnly();
        r.Notepad = notepad;
        RecordingPrinter p;
        PrintInformationReport(p, nullptr, r, true, PrintedAt());
        COMPARE_TEXTS_IN_ORDER(p.texts, expected);
        QCOMPARE(p.pagesPerDocument, pages);

        // Without the comments the report ends after the status lines.
        RecordingPrinter without;
        PrintInformationReport(without, nullptr, r, false, PrintedAt());
        QVERIFY(without.texts.last().text.startsWith(QStringLiteral("Employment Status")));
    }

    void updateForm_data() {
        QTest::addColumn<PersonnelRecord>("record");
        QTest::addColumn<QStringList>("emergency");
        QTest::newRow("with emergency contact")
            << Complete() << QStringList{QStringLiteral("Mary Smith at 555-0100"), QStringLiteral("(Spouse)")};
        QTest::newRow("no emergency contact")
            << RequiredOnly() << QStringList{QStringLiteral(" at "), QStringLiteral("()")};
    }

    void updateForm() {
        QFETCH(PersonnelRecord, record);
        QFETCH(QStringList, emergency);
        RecordingPrinter p;
        PrintUpdateForm(p, record, PrintedAt());
        QCOMPARE(p.pagesPerDocument, QList<int>{1});

        const double left = Chars(9);   // print column 10
        const double right = Chars(41); // print column 42
        const auto y = [](int line) { return 0.5 + Lines(line - 1); };
        const QString rule(79, QLatin1Char('_'));
        const ExpectedTexts expected{
            {QStringLiteral("2026 Annual Employee Information Update"), left, y(1)},
            {rule, left, y(2)},
            {QStringLiteral("*  Verify and update the below information"), left, y(4)},
            {QStringLiteral("*  Fill in the blanks as appropriate"), left, y(5)},
            {QStringLiteral("*  Forward this form as directed"), left, y(6)},
            {rule, left, y(7)},
            {record.FirstName.leftJustified(15), left, y(9)},
            {record.MiddleName.leftJustified(15), left, y(10)},
            {record.LastName.leftJustified(20), left, y(11)},
            {record.Suffix.leftJustified(3), left, y(12)},
            {record.StreetAddress.leftJustified(50), left, y(14)},
            {record.CityStateZip.leftJustified(50), left, y(15)},
            {QStringLiteral("Home Phone: ") + record.HomePhone.leftJustified(20), left, y(17)},
            {QStringLiteral("Cell Phone: ") + record.CellPhone.leftJustified(20), left, y(18)},
            {QStringLiteral("Email: ") + record.Email.leftJustified(25), left, y(20)},
            {QStringLiteral("W"), left, y(22)},
            {QStringLiteral("M"), left, y(23)},
            {record.SocialSecurityNumber.leftJustified(11), left, y(24)},
            {QStringLiteral("Date of Birth: December 31, 1970"), left, y(25)},
            {QStringLiteral("Date of Employment: March 7, 1995"), left, y(26)},
            {QStringLiteral("Employee #: ") + record.EmployeeNumber.leftJustified(15), left, y(27)},
            {QStringLiteral("Job Title: ") + record.JobTitle.leftJustified(25), left, y(28)},
            {QStringLiteral("Driver 's License State_________ Number_________________________ Exp._____________"), left,
             y(30)},
            {QStringLiteral("In case of emergency, contact "), left, y(32)},
            {emergency.at(0), right, y(32)},
            {emergency.at(1), right, y(33)},
            {QStringLiteral("Language(s) spoken_____________________________________________________________"), left,
             y(35)},
            {QStringLiteral("Blood Type_____________"), left, y(37)},
            {QStringLiteral("Any other information you wish to include in your personnel record"), left, y(39)},
            {QStringLiteral("(such as educational attainments, training received, medical conditions"), left, y(40)},
            {QStringLiteral(" or other special circumstances, etc.)"), left, y(41)},
            {QStringLiteral("Signature__________________________________________________ Date_______________"), left,
             y(52)}};
        COMPARE_TEXTS(p.texts, expected);
        for (const RecordingPrinter::Text& t : std::as_const(p.texts))
            QCOMPARE(t.font, (PrinterFont{QStringLiteral("Arial"), 10, true, false, false, false}));
    }

    void updateFormCountsFromTheSheetsEdges() {
        // On a printer that cannot print the outer quarter inch the form still starts half an inch from the top.
        RecordingPrinter p(150, 150);
        PrintUpdateForm(p, Complete(), PrintedAt());
        PrintUpdateForm(p, RequiredOnly(), PrintedAt());
        QCOMPARE(p.pagesPerDocument, (QList<int>{1, 1}));
        QCOMPARE(p.texts.first().y, 0.5);
        QCOMPARE(p.textsOn(2, 1).first().y, 0.5);
        // Columns count from the printable area's edge, the same on every line.
        QCOMPARE(p.texts.first().x, 0.25 + Chars(9));
    }

    void labelLines_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("street");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("short") << QStringLiteral("John") << QStringLiteral("Smith") << QStringLiteral("12 Elm Street")
                               << QStringList{QStringLiteral("John Smith"), QStringLiteral("12 Elm Street"),
                                              QStringLiteral("Springfield, IL"), QString()};
        const QString first(15, QLatin1Char('F'));
        const QString last(20, QLatin1Char('L'));
        const QString street = QString(36, QLatin1Char('s')) + QStringLiteral("XYZ");
        QTest::newRow("name and street over 35")
            << first << last << street
            << QStringList{(first + QLatin1Char(' ') + last).left(35), street.left(35),
                           QStringLiteral("Springfield, IL"), QString()};
    }

    void labelLines() {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, street);
        QFETCH(QStringList, lines);
        QCOMPARE(AddressLabelLines(first, last, street, QStringLiteral("Springfield, IL")), lines);
    }

    void label_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("top");
        QTest::newRow("row 1, column 1") << 1 << 1 << 0.2 << 0.5;
        QTest::newRow("row 4, column 2") << 4 << 2 << 3.0 << 3.5;
        QTest::newRow("row 10, column 3") << 10 << 3 << 5.8 << 9.5;
    }

    void label() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(double, x);
        QFETCH(double, top);
        // Offsets of a printer's unprintable margin change nothing: the label counts from the sheet's edges.
        for (const double offset : {0.0, 120.0}) {
            RecordingPrinter p(offset, offset);
            const QStringList lines{QStringLiteral("John Smith"), QStringLiteral("12 Elm Street"),
                                    QStringLiteral("Springfield, IL 62701"), QString()};
            PrintAddressLabel(p, lines, row, column);
            const double h = Lines(1);
            const ExpectedTexts expected{{QStringLiteral("John Smith  "), x, top + h},
                                         {QStringLiteral("12 Elm Street  "), x, top + 2 * h},
                                         {QStringLiteral("Springfield, IL 62701  "), x, top + 3 * h},
                                         {QStringLiteral("  "), x, top + 4 * h}};
            COMPARE_TEXTS(p.texts, expected);
            QCOMPARE(p.pagesPerDocument, QList<int>{1});
            QCOMPARE(p.texts.first().font, (PrinterFont{QStringLiteral("Arial"), 10, false, false, false, false}));

            // A second label without changes lands on the same spot, as a document of its own.
            PrintAddressLabel(p, lines, row, column);
            QCOMPARE(p.documentCount(), 2);
            QCOMPARE(p.textsOn(2, 1).first().x, x);
            QCOMPARE(p.textsOn(2, 1).first().y, top + h);
        }
    }

    void picture_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::newRow("landscape") << QSize(400, 300) << 6.25 << 4.6875;
        QTest::newRow("square") << QSize(300, 300) << 6.25 << 6.25;
        QTest::newRow("portrait 3:4") << QSize(300, 400) << 6.25 << 6.25 * 4 / 3;
        // 2:3 would reach 11.375 inches, past the sheet's foot; it is made smaller to end at 10.5.
        QTest::newRow("tall portrait 2:3") << QSize(200, 300) << 6.25 * 8.5 / 9.375 << 8.5;
    }

    void picture() {
        QFETCH(QSize, size);
        QFETCH(double, width);
        QFETCH(double, height);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::gray);
        RecordingPrinter p;
        PrintPicture(p, QStringLiteral("Smith, John"), image);
        COMPARE_TEXTS(p.texts, (ExpectedTexts{{QStringLiteral("Smith, John"), 0.75, 1.8}}));
        QCOMPARE(p.texts.first().font, (PrinterFont{QStringLiteral("Arial"), 9, false, false, false, false}));
        QCOMPARE(p.pictures.size(), 1);
        const RecordingPrinter::Picture& pic = p.pictures.first();
        QCOMPARE(pic.x, 0.75);
        QCOMPARE(pic.y, 2.0);
        QCOMPARE(pic.width, width);
        QCOMPARE(pic.height, height);
        QCOMPARE(p.pagesPerDocument, QList<int>{1});
    }

    void helpTopic() {
        RecordingPrinter p;
        p.setFontBold(true);
        PrintHelpTopic(p, nullptr, QStringLiteral("Overview"), QStringLiteral("First line.\r\nSecond line."));
        const ExpectedTexts expected{{QStringLiteral("Vardel, Help Section: Overview"), 1.0, 1.0},
                                     {QStringLiteral("First line."), 1.0, 1.0 + Lines(2)},
                                     {QStringLiteral("Second line."), 1.0, 1.0 + Lines(3)}};
        COMPARE_TEXTS(p.texts, expected);
        QVERIFY(p.texts.at(0).font.Underline);
        QVERIFY(!p.texts.at(1).font.Underline);
        QCOMPARE(p.texts.at(1).font, (PrinterFont{QStringLiteral("Arial"), 10, false, false, false, false}));
        QCOMPARE(p.documentCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPrintouts)
#include "tst_printouts.moc"
