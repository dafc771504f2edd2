#include "FileTestSupport.h"
#include "PdfWords.h"
#include "ScriptedDialogs.h"
#include "TempWorkDir.h"
#include "core/print/Printouts.h"
#include "core/print/RecordingPrinter.h"
#include "ui/print/PreviewPrinterDevice.h"

#include <QPrintPreviewWidget>
#include <QTest>

// A previewed printout is the printout: every text the printout code draws reaches the preview's printer in order,
// and the documents of one command follow each other as pages of one preview.
class TestPrintPreview : public QObject {
    Q_OBJECT

    static void printTwoTopics(PrinterDevice& device) {
        const QString longText = QStringLiteral("A line of the topic.\r\n").repeated(120);
        PrintHelpTopic(device, nullptr, QStringLiteral("First Topic"), longText);
        device.endDoc();
        PrintHelpTopic(device, nullptr, QStringLiteral("Second Topic"), QStringLiteral("Short."));
        device.endDoc();
    }

    static QStringList words(const RecordingPrinter& printer) {
        QStringList all;
        for (const RecordingPrinter::Text& t : printer.texts)
            all << t.text;
        return all;
    }

private slots:
    void theReplayDrawsWhatThePrintoutDrew() {
        PreviewPrinterDevice preview(nullptr, QStringLiteral("Help Topic"));
        printTwoTopics(preview);
        RecordingPrinter direct;
        printTwoTopics(direct);

        RecordingPrinter replayed;
        preview.replay(replayed);
        replayed.close();
        // Page breaks (and so the page headings) come from the preview printer's own measures: the topic's lines
        // are compared, in order.
        auto body = [](const RecordingPrinter& printer) {
            QStringList lines = words(printer);
            lines.removeIf([](const QString& w) {
                return !w.startsWith(QLatin1String("A line")) && !w.contains(QLatin1String("Topic")) &&
                       w != QLatin1String("Short.");
            });
            return lines;
        };
        QCOMPARE(body(replayed), body(direct));
        QCOMPARE(body(replayed).count(QStringLiteral("A line of the topic.")), 120);
        QCOMPARE(replayed.pagesPerDocument.size(), 1);
        int pages = 0;
        for (int n : direct.pagesPerDocument)
            pages += n;
        QVERIFY(direct.pagesPerDocument.size() == 2 && pages >= 3);
        // Page breaks come from the preview printer's own measures, so only their existence is compared.
        QVERIFY(replayed.pagesPerDocument.first() >= 3);
    }

    // The preview's print dialog can send the printout to a file ("Print to File (PDF)"). The report holds social
    // security numbers: the file is its owner's alone, and a file already there is replaced only when the clerk
    // says so. The preview widget prints as the preview dialog does once its print dialog is accepted.
    void printingToAFileKeepsTheReportPrivate_data() {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("answer"); // to the question before a replacement; -1 when none is asked
        QTest::newRow("new file") << false << -1;
        QTest::newRow("existing file, replaced") << true << int(MsgResult::Yes);
        QTest::newRow("existing file, kept") << true << int(MsgResult::No);
    }
    void printingToAFileKeepsTheReportPrivate() {
        QFETCH(bool, existing);
        QFETCH(int, answer);
        TempWorkDir dir;
        const QString name = QStringLiteral("Vardel - Help Topic.pdf");
        const QString path = dir.file(name);
        const QByteArray theirs("somebody's own file");
        if (existing)
            writeFile(path, theirs);
        PreviewPrinterDevice preview(nullptr, QStringLiteral("Help Topic"));
        printTwoTopics(preview);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        QPrintPreviewWidget widget(&printer);
        connect(&widget, &QPrintPreviewWidget::paintRequested, [&](QPrinter* target) { preview.paint(target); });
        ScriptedDialogs dialogs;
        // Showing the pages writes nothing, whatever file the printer names.
        widget.updatePreview();
        QVERIFY(widget.pageCount() >= 3);
        QCOMPARE(readFile(path), existing ? theirs : QByteArray("<missing>"));

        if (answer >= 0)
            dialogs.answer(MsgResult(answer));
        widget.print();
        QCOMPARE(dialogs.calls().size(), answer >= 0 ? 1 : 0);
        if (answer >= 0)
            QCOMPARE(dialogs.last().text, ReplacePrintFileText(path));
        // Nothing half-written is left beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
        if (answer == int(MsgResult::No)) {
            QCOMPARE(readFile(path), theirs);
            return;
        }
        QCOMPARE(modeOf(path), mode_t(0600));
        const PdfText pdf = ReadPdfText(path);
        if (pdf.pages == 0)
            QSKIP("pdftotext cannot read the printout");
        QCOMPARE(pdf.pages, widget.pageCount());
        QVERIFY(pdf.find(pdf.pages, QStringLiteral("Short.")));
    }
};

QTEST_MAIN(TestPrintPreview)
#include "tst_printpreview.moc"
