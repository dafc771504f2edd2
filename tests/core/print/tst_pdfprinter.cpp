#include "FileTestSupport.h"
#include "PdfWords.h"
#include "TempWorkDir.h"
#include "core/print/PdfPrinterDevice.h"
#include "core/print/PrintHelpers.h"
#include "core/print/Printouts.h"
#include "core/base/DateRules.h"
#include "core/base/FileError.h"

#include <QFontMetricsF>
#include <QStandardPaths>
#include <QTest>

namespace {

// Within a fiftieth of an inch of the layout's position, given in inches.
void ExpectAt(const PdfWord* word, double xInches, double yInches, const char* what) {
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
    void arialHasArialsWidths_data() {
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

    void arialHasArialsWidths() {
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

    // A device keeps each font's metrics and the widths measured in it: going back and forth between fonts,
    // and past the number of fonts and texts it keeps, every answer is the one a fresh device gives.
    void measuresAnswerForTheirOwnFont_data() {
        QTest::addColumn<int>("fonts");
        QTest::addColumn<int>("texts");
        QTest::newRow("two fonts in turn") << 2 << 3;
        QTest::newRow("more fonts than it keeps") << 20 << 2;
        QTest::newRow("more texts than it keeps") << 1 << 5000;
    }

    void measuresAnswerForTheirOwnFont() {
        QFETCH(int, fonts);
        QFETCH(int, texts);
        TempWorkDir dir;
        PdfPrinterDevice kept(QStringLiteral("kept.pdf"), QStringLiteral("t"));
        const auto fontOf = [](int f) {
            PrinterFont font;
            font.Size = 8 + f;
            font.Bold = f % 2 == 1;
            return font;
        };
        for (int round = 0; round < 2; ++round) {
            for (int t = 0; t < texts; ++t) {
                const int f = t % fonts;
                const QString text = QStringLiteral("Wide %1").arg(t / fonts); // each text in every font
                PdfPrinterDevice fresh(QStringLiteral("fresh.pdf"), QStringLiteral("t"));
                kept.setFont(fontOf(f));
                fresh.setFont(fontOf(f));
                if (t < 50 || t % 500 == 0) {
                    QCOMPARE(kept.textWidth(text), fresh.textWidth(text));
                    QCOMPARE(kept.textHeight(), fresh.textHeight());
                } else {
                    kept.textWidth(text);
                }
            }
        }
    }

    void listAndLabelLandWhereTheLayoutSays() {
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
            PrintAddressLabel(
                pdf, {QStringLiteral("John Smith"), QStringLiteral("12 Elm Street"), QString(), QString()}, 10, 3);
            pdf.close();
            QCOMPARE(pdf.outputFile(), path);
        }
        QCOMPARE(modeOf(path), mode_t(0600));

        const PdfText text = ReadPdfText(path);
        QVERIFY(!text.words.isEmpty());
        // Arial's line is 2355/2048 of its size (ascent, descent and line gap); one of 9 points, in inches.
        const double em = 2355.0 / 2048;
        const double line = 9 * em / 72;

        ExpectAt(text.find(1, QStringLiteral("Vardel")), 0.5, 1.0, "page heading");
        ExpectAt(text.find(1, QStringLiteral("Printout")), 0.5, 1.0 + line, "list heading");
        ExpectAt(text.find(1, QStringLiteral("Name")), 0.5, 1.0 + 3 * line, "column heading 0");
        ExpectAt(text.find(1, QStringLiteral("Job")), 4.0, 1.0 + 3 * line, "column heading 1");
        ExpectAt(text.find(1, QStringLiteral("Since")), 6.2, 1.0 + 3 * line, "column heading 2");
        ExpectAt(text.find(1, QStringLiteral("Person01,")), 0.5, 1.0 + 4 * line, "first row");
        ExpectAt(text.find(1, QStringLiteral("Detail1")), 4.0, 1.0 + 4 * line, "first row, column 1");
        ExpectAt(text.find(1, QStringLiteral("01/02/2003")), 6.2, 1.0 + 4 * line, "first row, column 2");

        // Page 2 repeats the heading with its number; the list ends there.
        const PdfWord* secondHeading = text.find(2, QStringLiteral("Vardel"));
        ExpectAt(secondHeading, 0.5, 1.0, "second page heading");
        QVERIFY(text.find(2, QStringLiteral("2,")));
        QVERIFY(text.find(2, QStringLiteral("Person60,")));
        QVERIFY(!text.find(1, QStringLiteral("Person60,")));
        QVERIFY(text.find(2, QStringLiteral("Printout"), 2));
        // Rows stop once a row lies below 8.8 inches.
        double lowest = 0;
        for (const PdfWord& w : text.words)
            if (w.page == 1 && w.text.startsWith(QStringLiteral("Person")))
                lowest = std::max(lowest, w.yMin / 72);
        QVERIFY2(lowest > 8.8 - 0.05 && lowest < 8.8 + line + 0.05, qPrintable(QString::number(lowest)));

        // The label is a document of its own: row 10, column 3, one line below 9.5 inches.
        const double labelLine = 10 * em / 72;
        ExpectAt(text.find(3, QStringLiteral("John")), 5.8, 9.5 + labelLine, "label line 1");
        ExpectAt(text.find(3, QStringLiteral("12")), 5.8, 9.5 + 2 * labelLine, "label line 2");
    }

    void fileIsWrittenOnlyWhenSomethingWasPrinted() {
        TempWorkDir dir;
        const QString path = dir.file(QStringLiteral("empty.pdf"));
        PdfPrinterDevice pdf(path, QStringLiteral("Nothing"));
        pdf.endDoc();
        pdf.close();
        QVERIFY(pdf.outputFile().isEmpty());
        QVERIFY(!QFile::exists(path));
    }

    void anExistingFileIsNeverOverwritten() {
        TempWorkDir dir;
        const QString path = dir.file(QStringLiteral("taken.pdf"));
        writeFile(path, "someone else's");
        PdfPrinterDevice pdf(path, QStringLiteral("Label"));
        pdf.print(QStringLiteral("text"));
        QVERIFY_THROWS_EXCEPTION(FileError, pdf.close());
        QCOMPARE(readFile(path), QByteArray("someone else's"));
    }

    void anExistingFileIsReplacedWholeWhenAsked() {
        TempWorkDir dir;
        const QString path = dir.file(QStringLiteral("forms.pdf"));
        writeFile(path, "%PDF-1.4 last year's forms");
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        PdfPrinterDevice pdf(path, QStringLiteral("Forms"), PdfPrinterDevice::Existing::Replace);
        pdf.print(QStringLiteral("this year's"));
        pdf.close();
        QCOMPARE(pdf.outputFile(), path);
        QVERIFY(ReadPdfText(path).pageText(1).contains(QStringLiteral("this year's")));
        // The printout carries social security numbers, whoever could read the earlier file.
        QCOMPARE(modeOf(path), mode_t(0600));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("forms.pdf")});
    }

    void printoutNames() {
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
};

QTEST_MAIN(TestPdfPrinter)
#include "tst_pdfprinter.moc"
