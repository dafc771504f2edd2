#include "ui/print/PreviewPrinterDevice.h"
#include "core/print/Printouts.h"
#include "core/print/RecordingPrinter.h"

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
};

QTEST_MAIN(TestPrintPreview)
#include "tst_printpreview.moc"
