#include "FileTestSupport.h"
#include "TempWorkDir.h"
#include "print/PdfPrinterDevice.h"
#include "print/PrintHelpers.h"
#include "print/Printouts.h"
#include "store/DateRules.h"
#include "store/FileError.h"

#include <QFontMetricsF>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {

// One word as pdftotext -bbox places it, in points from the page's top-left corner.
struct Word {
    int page;
    double xMin;
    double yMin;
    QString text;
};

QList<Word> WordsOf(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    QList<Word> words;
    int page = 0;
    static const QRegularExpression tag(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        words.append({page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
    }
    return words;
}

const Word* Find(const QList<Word>& words, int page, const QString& text, int occurrence = 1) {
    for (const Word& w : words)
        if (w.page == page && w.text == text && --occurrence == 0)
            return &w;
    return nullptr;
}

// Within a fiftieth of an inch of the layout's position, given in inches.
void ExpectAt(const Word* word, double xInches, double yInches, const char* what) {
    QVERIFY2(word, what);
    QVERIFY2(std::abs(word->xMin / 72 - xInches) < 0.02,
             qPrintable(QStringLiteral("%1 across at %2 in").arg(QLatin1String(what)).arg(word->xMin / 72)));
    QVERIFY2(std::abs(word->yMin / 72 - yInches) < 0.02,
             qPrintable(QStringLiteral("%1 down at %2 in").arg(QLatin1String(what)).arg(word->yMin / 72)));
}

} // namespace

class TestPdfPrinter : public QObject {
    Q_OBJECT

private slots:
    void arialHasArialsWidths_data();
    void arialHasArialsWidths();
    void listAndLabelLandWhereTheLayoutSays();
    void fileIsWrittenOnlyWhenSomethingWasPrinted();
    void anExistingFileIsNeverOverwritten();
    void printoutNames();
};

void TestPdfPrinter::arialHasArialsWidths_data() {
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("glyph");
    QTest::addColumn<int>("advance"); // in Arial's 2048 units to the em
    QTest::newRow("a") << false << QStringLiteral("a") << 1139;
    QTest::newRow("i") << false << QStringLiteral("i") << 455;
    QTest::newRow("W") << false << QStringLiteral("W") << 1933;
    QTest::newRow("blank") << false << QStringLiteral(" ") << 569;
    QTest::newRow("underscore") << false << QStringLiteral("_") << 1139;
    QTest::newRow("bold i") << true << QStringLiteral("i") << 569;
    QTest::newRow("bold m") << true << QStringLiteral("m") << 1821;
}

void TestPdfPrinter::arialHasArialsWidths() {
    QFETCH(bool, bold);
    QFETCH(QString, glyph);
    QFETCH(int, advance);
    QVERIFY(PreparePrinter());
    QVERIFY2(IsArialCompatibleFamily(ResolvedArialFamily()), qPrintable(ResolvedArialFamily()));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(2048);
    arial.setBold(bold);
    arial.setKerning(false);
    arial.setHintingPreference(QFont::PreferNoHinting);
    QCOMPARE(qRound(QFontMetricsF(arial).horizontalAdvance(glyph)), advance);
}

void TestPdfPrinter::listAndLabelLandWhereTheLayoutSays() {
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(), "pdftotext (poppler-utils)");
    TempWorkDir dir;
    const QString path = dir.file(QStringLiteral("list.pdf"));
    QList<QStringList> rows;
    for (int i = 1; i <= 60; ++i)
        rows << QStringList{QStringLiteral("Person%1, Test").arg(i, 2, 10, QLatin1Char('0')),
                            QStringLiteral("Detail%1").arg(i), QStringLiteral("01/02/2003"), QString::number(i)};
    {
        PdfPrinterDevice pdf(path, QStringLiteral("Employee List"));
        PrintEmployeeList(pdf, {QStringLiteral("Vardel - Test Agency"),
                                QStringLiteral("Current Employees"),
                                {QStringLiteral("Name"), QStringLiteral("Job"), QStringLiteral("Since")},
                                rows,
                                ToOADate(QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)))});
        PrintAddressLabel(pdf, {QStringLiteral("John Smith"), QStringLiteral("12 Elm Street"), QString(), QString()},
                          10, 3);
        pdf.close();
        QCOMPARE(pdf.outputFile(), path);
    }
    QCOMPARE(modeOf(path), mode_t(0600));

    const QList<Word> words = WordsOf(path);
    QVERIFY(!words.isEmpty());
    // Arial's line is 2355/2048 of its size (ascent, descent and line gap); one of 9 points, in inches.
    const double em = 2355.0 / 2048;
    const double line = 9 * em / 72;

    ExpectAt(Find(words, 1, QStringLiteral("Vardel")), 0.5, 1.0, "page heading");
    ExpectAt(Find(words, 1, QStringLiteral("Printout")), 0.5, 1.0 + line, "list heading");
    ExpectAt(Find(words, 1, QStringLiteral("Name")), 0.5, 1.0 + 3 * line, "column heading 0");
    ExpectAt(Find(words, 1, QStringLiteral("Job")), 4.0, 1.0 + 3 * line, "column heading 1");
    ExpectAt(Find(words, 1, QStringLiteral("Since")), 6.2, 1.0 + 3 * line, "column heading 2");
    ExpectAt(Find(words, 1, QStringLiteral("Person01,")), 0.5, 1.0 + 4 * line, "first row");
    ExpectAt(Find(words, 1, QStringLiteral("Detail1")), 4.0, 1.0 + 4 * line, "first row, column 1");
    ExpectAt(Find(words, 1, QStringLiteral("01/02/2003")), 6.2, 1.0 + 4 * line, "first row, column 2");

    // Page 2 repeats the heading with its number; the list ends there.
    const Word* secondHeading = Find(words, 2, QStringLiteral("Vardel"));
    ExpectAt(secondHeading, 0.5, 1.0, "second page heading");
    QVERIFY(Find(words, 2, QStringLiteral("2,")));
    QVERIFY(Find(words, 2, QStringLiteral("Person60,")));
    QVERIFY(!Find(words, 1, QStringLiteral("Person60,")));
    QVERIFY(Find(words, 2, QStringLiteral("Printout"), 2));
    // Rows stop once a row lies below 8.8 inches.
    double lowest = 0;
    for (const Word& w : words)
        if (w.page == 1 && w.text.startsWith(QStringLiteral("Person")))
            lowest = std::max(lowest, w.yMin / 72);
    QVERIFY2(lowest > 8.8 - 0.05 && lowest < 8.8 + line + 0.05, qPrintable(QString::number(lowest)));

    // The label is a document of its own: row 10, column 3, one line below 9.5 inches.
    const double labelLine = 10 * em / 72;
    ExpectAt(Find(words, 3, QStringLiteral("John")), 5.8, 9.5 + labelLine, "label line 1");
    ExpectAt(Find(words, 3, QStringLiteral("12")), 5.8, 9.5 + 2 * labelLine, "label line 2");
}

void TestPdfPrinter::fileIsWrittenOnlyWhenSomethingWasPrinted() {
    TempWorkDir dir;
    const QString path = dir.file(QStringLiteral("empty.pdf"));
    PdfPrinterDevice pdf(path, QStringLiteral("Nothing"));
    pdf.endDoc();
    pdf.close();
    QVERIFY(pdf.outputFile().isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestPdfPrinter::anExistingFileIsNeverOverwritten() {
    TempWorkDir dir;
    const QString path = dir.file(QStringLiteral("taken.pdf"));
    writeFile(path, "someone else's");
    PdfPrinterDevice pdf(path, QStringLiteral("Label"));
    pdf.print(QStringLiteral("text"));
    QVERIFY_THROWS_EXCEPTION(FileError, pdf.close());
    QCOMPARE(readFile(path), QByteArray("someone else's"));
}

void TestPdfPrinter::printoutNames() {
    TempWorkDir dir;
    const QDateTime when(QDate(2026, 3, 7), QTime(14, 5, 9));
    const QString first = PrintoutFilePath(dir.path(), QStringLiteral("Employee List"), when);
    QCOMPARE(first, dir.file(QStringLiteral("Employee List 2026-03-07 14-05-09.pdf")));
    writeFile(first, "x");
    const QString second = PrintoutFilePath(dir.path(), QStringLiteral("Employee List"), when);
    QCOMPARE(second, dir.file(QStringLiteral("Employee List 2026-03-07 14-05-09 (2).pdf")));
    writeFile(second, "x");
    QCOMPARE(PrintoutFilePath(dir.path(), QStringLiteral("Employee List"), when),
             dir.file(QStringLiteral("Employee List 2026-03-07 14-05-09 (3).pdf")));
}

QTEST_MAIN(TestPdfPrinter)
#include "tst_pdfprinter.moc"
