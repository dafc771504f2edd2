#include "PrintTestSupport.h"
#include "core/print/PrintHelpers.h"
#include "core/print/RecordingPrinter.h"

#include <QTest>
#include <cmath>

namespace {

// Notes busy and usable into the printer's log, so that their order with the drawing shows.
class LoggingOwner : public PrintOwner {
public:
    explicit LoggingOwner(RecordingPrinter& printer) : m_printer(printer) {}
    void MakeBusy() override { m_printer.log << QStringLiteral("busy"); }
    void MakeUsable() override { m_printer.log << QStringLiteral("usable"); }

private:
    RecordingPrinter& m_printer;
};

QString Numbered(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("Line %1").arg(i, 2, 10, QLatin1Char('0'));
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

class TestPrintLayout : public QObject {
    Q_OBJECT

private slots:
    void printingMovesThePosition() {
        RecordingPrinter p;
        p.setCurrentX(1.0);
        p.setCurrentY(2.0);
        p.printInline(QStringLiteral("abcd"));
        QCOMPARE(p.currentX(), 1.0 + Chars(4));
        QCOMPARE(p.currentY(), 2.0);
        p.print(QStringLiteral("ef"));
        QCOMPARE(p.currentX(), 0.0);
        QCOMPARE(p.currentY(), 2.0 + Lines(1));
        p.endLine();
        QCOMPARE(p.currentY(), 2.0 + Lines(2));

        // A line break inside a text ends the line there; what follows starts at the left edge.
        p.setCurrentX(1.0);
        p.print(QStringLiteral("one\r\ntwo"));
        p.endDoc();
        const ExpectedTexts expected{{QStringLiteral("abcdef"), 1.0, 2.0},
                                     {QStringLiteral("one"), 1.0, 2.0 + Lines(2)},
                                     {QStringLiteral("two"), 0.0, 2.0 + Lines(3)}};
        COMPARE_TEXTS(p.texts, expected);
    }

    void textsOnALineJoinIntoOneRun() {
        RecordingPrinter p;
        p.setCurrentX(1.0);
        p.setCurrentY(1.0);
        for (QChar c : QStringLiteral("word by word"))
            p.printInline(QString(c));
        // A new position, or a new font, starts a new run.
        p.setCurrentX(5.0);
        p.printInline(QStringLiteral("apart"));
        p.setFontBold(true);
        p.printInline(QStringLiteral("bold"));
        p.endDoc();
        QCOMPARE(p.texts.size(), 3);
        QCOMPARE(p.texts.at(0).text, QStringLiteral("word by word"));
        QCOMPARE(p.texts.at(1).text, QStringLiteral("apart"));
        QCOMPARE(p.texts.at(2).text, QStringLiteral("bold"));
        QVERIFY(p.texts.at(2).font.Bold);
        QCOMPARE(p.texts.at(2).x, 5.0 + Chars(5));
    }

    void documentsAndPages() {
        RecordingPrinter p;
        // Ending a document that was never begun prints nothing.
        p.endDoc();
        QCOMPARE(p.documentCount(), 0);

        p.setCurrentX(2);
        p.setCurrentY(3);
        p.print(QStringLiteral("first"));
        QCOMPARE(p.page(), 1);
        p.newPage();
        QCOMPARE(p.page(), 2);
        QCOMPARE(p.currentX(), 0.0);
        QCOMPARE(p.currentY(), 0.0);
        p.print(QStringLiteral("second"));
        p.endDoc();
        QCOMPARE(p.page(), 1);
        p.print(QStringLiteral("next document"));
        p.close();

        QCOMPARE(p.documentCount(), 2);
        QCOMPARE(p.pagesPerDocument, (QList<int>{2, 1}));
        QVERIFY(p.closed);
        QCOMPARE(p.texts.at(1).page, 2);
        QCOMPARE(p.texts.at(2).document, 2);
        QCOMPARE(p.texts.at(2).page, 1);
        QVERIFY_THROWS_EXCEPTION(PrinterError, p.print(QStringLiteral("after the end")));
    }

    void tabColumnsCountFromThePrintableEdge() {
        RecordingPrinter p;
        p.tab(10);
        QCOMPARE(p.currentX(), Chars(9));
        p.setScaleLeft(0.25);
        p.tab(1);
        QCOMPARE(p.currentX(), 0.25);
    }

    void rule_data() {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<double>("points");
        QTest::newRow("list width, 9 points") << 0.5 << 7.6 << 9.0;
        QTest::newRow("report width, 10 points") << 1.0 << 7.5 << 10.0;
        QTest::newRow("one underscore reaches the end") << 1.0 << 1.1 << 10.0;
        QTest::newRow("start at the end") << 3.0 << 3.0 << 10.0;
        QTest::newRow("start beyond the end") << 4.0 << 3.0 << 10.0;
    }

    void rule() {
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(double, points);
        RecordingPrinter p;
        p.setFontSize(points);
        p.setCurrentY(2.0);
        PrintRule(p, start, end);
        QCOMPARE(p.currentY(), 2.0 + Lines(1, points));
        QCOMPARE(p.currentX(), 0.0);
        p.endDoc();

        const qsizetype expected =
            start >= end ? 0 : static_cast<qsizetype>(std::ceil((end - start) / Chars(1, points)));
        if (expected == 0) {
            QVERIFY(p.texts.isEmpty());
            return;
        }
        QCOMPARE(p.texts.size(), 1);
        QCOMPARE(p.texts.at(0).text, QString(expected, QLatin1Char('_')));
        QCOMPARE(p.texts.at(0).x, start);
        // The last underscore reaches the end and may pass it; one fewer would stop short.
        QVERIFY(start + Chars(expected, points) >= end);
        QVERIFY(start + Chars(expected - 1, points) < end);
    }

    void ruleUnderlinesTheLineItIsPrintedOn() {
        RecordingPrinter p;
        p.setCurrentX(0.5);
        p.setCurrentY(1.0);
        p.printInline(QStringLiteral("Name"));
        PrintRule(p, 0.5, 7.6);
        PrintRule(p, 0.5, 7.6);
        p.endDoc();
        QCOMPARE(p.texts.size(), 3);
        QCOMPARE(p.texts.at(1).y, 1.0);
        QCOMPARE(p.texts.at(1).x, 0.5);
        QCOMPARE(p.texts.at(2).y, 1.0 + Lines(1));
    }

    void pageOrigin_data() {
        QTest::addColumn<double>("offsetX"); // device pixels at 600 dpi
        QTest::addColumn<double>("offsetY");
        QTest::addColumn<double>("adjustX");
        QTest::addColumn<double>("adjustY");
        QTest::addColumn<double>("sheetX"); // where x = 1.0, y = 2.0 lands
        QTest::addColumn<double>("sheetY");
        QTest::newRow("no margin") << 0.0 << 0.0 << 0.0 << 0.0 << 1.0 << 2.0;
        QTest::newRow("laser printer margin") << 150.0 << 120.0 << 0.0 << 0.0 << 1.0 << 2.0;
        QTest::newRow("moved right and up") << 150.0 << 120.0 << 0.125 << -0.25 << 1.125 << 1.75;
    }

    void pageOrigin() {
        QFETCH(double, offsetX);
        QFETCH(double, offsetY);
        QFETCH(double, adjustX);
        QFETCH(double, adjustY);
        QFETCH(double, sheetX);
        QFETCH(double, sheetY);
        RecordingPrinter p(offsetX, offsetY);
        // Without the correction a position counts from the printable area's edge.
        p.setCurrentX(1.0);
        p.setCurrentY(2.0);
        p.print(QStringLiteral("before"));
        SetPageOrigin(p, adjustX, adjustY);
        QCOMPARE(p.scaleLeft(), offsetX / 600 - adjustX);
        QCOMPARE(p.scaleTop(), offsetY / 600 - adjustY);
        p.setCurrentX(1.0);
        p.setCurrentY(2.0);
        p.print(QStringLiteral("after"));
        p.endDoc();
        QCOMPARE(p.texts.at(0).x, 1.0 + offsetX / 600);
        QCOMPARE(p.texts.at(0).y, 2.0 + offsetY / 600);
        QCOMPARE(p.texts.at(1).x, sheetX);
        QCOMPARE(p.texts.at(1).y, sheetY);
    }

    void wrappedText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("centreTitle");
        QTest::addColumn<bool>("titleEveryPage");
        QTest::addColumn<ExpectedTexts>("expected");
        QTest::addColumn<QList<int>>("pages");

        const double top = 1.0;
        const double line = Lines(1);

        QTest::newRow("shorter than a line")
            << QStringLiteral("Hello world") << QString() << false << false
            << ExpectedTexts{{QStringLiteral("Hello world"), 1.0, top}} << QList<int>{1};

        QTest::newRow("CR LF starts the next line at the margin")
            << QStringLiteral("one\r\ntwo") << QString() << false << false
            << ExpectedTexts{{QStringLiteral("one"), 1.0, top}, {QStringLiteral("two"), 1.0, top + line}}
            << QList<int>{1};

        // 36 characters pass 6.5 inches (the last inch before the margin); the blank after them breaks the line.
        const QString a36(36, QLatin1Char('a'));
        QTest::newRow("break at the first blank in the last inch")
            << a36 + QStringLiteral(" ccc") << QString() << false << false
            << ExpectedTexts{{a36 + QStringLiteral(" "), 1.0, top}, {QStringLiteral("ccc"), 1.0, top + line}}
            << QList<int>{1};

        // A word without blanks runs on to half an inch past the margin (8.0 inches): 45 characters.
        QTest::newRow("long word cut half an inch past the margin")
            << QString(60, QLatin1Char('x')) << QString() << false << false
            << ExpectedTexts{{QString(45, QLatin1Char('x')), 1.0, top},
                             {QString(15, QLatin1Char('x')), 1.0, top + line}}
            << QList<int>{1};

        // 25 lines fill a page (the 25th line's end lies below 8.8 inches).
        ExpectedTexts threePages;
        for (int i = 1; i <= 60; ++i) {
            const int page = (i - 1) / 25 + 1;
            const int onPage = (i - 1) % 25;
            threePages.append(
                {QStringLiteral("Line %1").arg(i, 2, 10, QLatin1Char('0')), 1.0, top + onPage * line, page});
            if (i == 50)
                threePages.append({QStringLiteral("(page 2)"), 6.0, 9.2, 2});
        }
        threePages.append({QStringLiteral("(page 3)"), 6.0, 9.2, 3});
        QTest::newRow("three pages, numbers on the second and third")
            << Numbered(60) << QString() << false << false << threePages << QList<int>{3};

        QTest::newRow("title on the first page")
            << QStringLiteral("Body") << QStringLiteral("Heading") << false << false
            << ExpectedTexts{{QStringLiteral("Heading"), 1.0, top}, {QStringLiteral("Body"), 1.0, top + 2 * line}}
            << QList<int>{1};

        // Centred on the sheet's width (8.5 inches), whatever the margins.
        QTest::newRow("title centred") << QStringLiteral("Body") << QStringLiteral("Heading") << true << false
                                       << ExpectedTexts{{QStringLiteral("Heading"), 4.25 - Chars(7) / 2, top},
                                                        {QStringLiteral("Body"), 1.0, top + 2 * line}}
                                       << QList<int>{1};

        ExpectedTexts everyPage{{QStringLiteral("Heading"), 1.0, top},
                                {QStringLiteral("Line 01"), 1.0, top + 2 * line},
                                {QStringLiteral("Line 23"), 1.0, top + 24 * line},
                                {QStringLiteral("Heading"), 1.0, top, 2},
                                {QStringLiteral("Line 24"), 1.0, top + 2 * line, 2},
                                {QStringLiteral("(page 2)"), 6.0, 9.2, 2}};
        QTest::newRow("title on every page")
            << Numbered(30) << QStringLiteral("Heading") << false << true << everyPage << QList<int>{2};
        ExpectedTexts firstPageOnly = everyPage;
        firstPageOnly.removeAt(3);
        firstPageOnly[3] = {QStringLiteral("Line 24"), 1.0, top, 2};
        QTest::newRow("title on the first page only")
            << Numbered(30) << QStringLiteral("Heading") << false << false << firstPageOnly << QList<int>{2};
    }

    void wrappedText() {
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(bool, centreTitle);
        QFETCH(bool, titleEveryPage);
        QFETCH(ExpectedTexts, expected);
        QFETCH(QList<int>, pages);
        RecordingPrinter p;
        PrintWrappedText(p, nullptr, text, title, true, centreTitle, titleEveryPage, false, false, 1.0, 7.5);
        COMPARE_TEXTS_IN_ORDER(p.texts, expected);
        QCOMPARE(p.pagesPerDocument, pages);
        // Only the title is underlined.
        for (const RecordingPrinter::Text& t : std::as_const(p.texts))
            QCOMPARE(t.font.Underline, t.text == title);
        QVERIFY(!p.font().Underline);
        // The first page never carries a number.
        for (const RecordingPrinter::Text& t : std::as_const(p.texts))
            QVERIFY(t.page > 1 || !t.text.startsWith(QStringLiteral("(page")));
    }

    void wrappedTextBusyAndDocument_data() {
        QTest::addColumn<bool>("leaveWindowAlone");
        QTest::addColumn<bool>("leaveDocumentOpen");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("busy window, document ended")
            << false << false << QStringList{"busy", "begin", "text Some text", "end", "usable"};
        QTest::newRow("window left alone") << true << false << QStringList{"begin", "text Some text", "end"};
        QTest::newRow("document left open") << false << true << QStringList{"busy", "begin", "usable"};
    }

    void wrappedTextBusyAndDocument() {
        QFETCH(bool, leaveWindowAlone);
        QFETCH(bool, leaveDocumentOpen);
        QFETCH(QStringList, log);
        RecordingPrinter p;
        LoggingOwner owner(p);
        PrintWrappedText(p, &owner, QStringLiteral("Some text"), QString(), false, false, false, leaveWindowAlone,
                         leaveDocumentOpen, 1.0, 7.5);
        QCOMPARE(p.log, log);
        QCOMPARE(p.documentCount(), leaveDocumentOpen ? 0 : 1);
    }

    void wrappedTextContinuesOnAPageBegunElsewhere() {
        // The information report hands over mid-page: the text goes on below, and the page count starts there.
        RecordingPrinter p;
        p.setCurrentY(7.0);
        p.print(QStringLiteral("caption line"));
        PrintWrappedText(p, nullptr, Numbered(10), QString(), false, false, false, true, false, 1.0, 7.5);
        const ExpectedTexts expected{{QStringLiteral("Line 01"), 1.0, 7.0 + Lines(1)},
                                     {QStringLiteral("Line 05"), 1.0, 7.0 + Lines(5)},
                                     {QStringLiteral("Line 06"), 1.0, 1.0, 2},
                                     {QStringLiteral("(page 2)"), 6.0, 9.2, 2}};
        COMPARE_TEXTS_IN_ORDER(p.texts, expected);
    }
};

QTEST_GUILESS_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"
