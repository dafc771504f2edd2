// The update forms of many employees printed to a PDF file (what "vardel-data print forms" draws), beside a bare
// QPdfWriter writing the same texts in the same fonts at the same places on as many pages: the texts are taken
// from one printing of the forms before the timing starts. Target: at most 1.2 times the bare writer. CPU time,
// 200 forms by default (the argument).

#include "BenchRatios.h"

#include "DataCommands.h"
#include "core/print/PdfPrinterDevice.h"
#include "core/print/Printouts.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir& WorkDir() {
    static QTemporaryDir dir;
    return dir;
}

const QList<PersonnelRecord>& Records(int n) {
    static QHash<int, QList<PersonnelRecord>> made;
    QList<PersonnelRecord>& records = made[n];
    if (records.isEmpty()) {
        DemoRecords demo(1);
        for (int i = 0; i < n; ++i) {
            PersonnelRecord record = demo.next();
            // As vardel-data print forms reads them: the form has no room for these.
            record.Notepad.clear();
            record.PicturePath.clear();
            records.append(record);
        }
    }
    return records;
}

constexpr double kPrintedAt = 46000.5;

struct PlacedText {
    int page;
    QPointF at; // device pixels, the baseline's start
    QString text;
    QFont font;
};

// The forms' PDF printer, noting each text where it lands; the notes are the anchor's script.
class NotingPdfPrinter : public PdfPrinterDevice {
public:
    using PdfPrinterDevice::PdfPrinterDevice;
    QList<PlacedText> texts;

protected:
    void drawText(double x, double y, const QString& text, const PrinterFont& font) override {
        const QFont f = qtFont(font);
        const double ascent = QFontMetricsF(f, paintTarget()).ascent();
        texts.append({m_page, QPointF(x * dpiX(), y * dpiY() + ascent), text, f});
        PdfPrinterDevice::drawText(x, y, text, font);
    }
    void beginDocument() override {
        ++m_page;
        PdfPrinterDevice::beginDocument();
    }
    void startPage() override {
        ++m_page;
        PdfPrinterDevice::startPage();
    }

private:
    int m_page = 0;
};

const QList<PlacedText>& Script(int n) {
    static QHash<int, QList<PlacedText>> made;
    QList<PlacedText>& texts = made[n];
    if (texts.isEmpty()) {
        NotingPdfPrinter pdf(WorkDir().filePath(QStringLiteral("script.pdf")), QStringLiteral("forms"),
                             PdfPrinterDevice::Existing::Replace);
        for (const PersonnelRecord& record : Records(n))
            PrintUpdateForm(pdf, record, kPrintedAt);
        pdf.close();
        texts = pdf.texts;
        // One QFont for each font used, as a program writing these texts by hand would keep them.
        QList<QFont> fonts;
        for (PlacedText& text : texts) {
            const qsizetype known = fonts.indexOf(text.font);
            if (known < 0)
                fonts.append(text.font);
            else
                text.font = fonts.at(known);
        }
    }
    return texts;
}

void Forms_Vardel(benchmark::State& state) {
    const QList<PersonnelRecord>& records = Records(static_cast<int>(state.range(0)));
    const QString path = WorkDir().filePath(QStringLiteral("vardel.pdf"));
    for (auto _ : state) {
        PdfPrinterDevice pdf(path, QStringLiteral("forms"), PdfPrinterDevice::Existing::Replace);
        for (const PersonnelRecord& record : records)
            PrintUpdateForm(pdf, record, kPrintedAt);
        pdf.close();
    }
}

void Forms_QPdfWriter(benchmark::State& state) {
    const QList<PlacedText>& script = Script(static_cast<int>(state.range(0)));
    const QString path = WorkDir().filePath(QStringLiteral("bare.pdf"));
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            state.SkipWithError("cannot write the PDF file");
        QPdfWriter writer(&file);
        writer.setResolution(PdfPrinterDevice::Resolution);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Inch));
        QPainter painter(&writer);
        painter.setPen(Qt::black);
        int page = 1;
        for (const PlacedText& text : script) {
            for (; page < text.page; ++page)
                writer.newPage();
            painter.setFont(text.font);
            painter.drawText(text.at, text.text);
        }
        painter.end();
    }
}

} // namespace

BENCHMARK(Forms_QPdfWriter)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(Forms_Vardel)->Arg(200)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return RunBenchmarksWithRatios(argc, argv, {{"Forms_Vardel", "Forms_QPdfWriter", 1.2}});
}
