// Draws each printout into a PDF from a data folder, for looking at them as a person would:
//     print_samples DATA-FOLDER OUT-FOLDER
// The list holds up to 60 current employees alphabetically with the job title; the report is the first employee with a
// notepad (given a drawn photograph); three update forms; an address label at row 10, column 3.
#include "core/base/AppGlobals.h"
#include "core/print/PdfPrinterDevice.h"
#include "core/print/PrintHelpers.h"
#include "core/print/Printouts.h"
#include "core/store/DataFile.h"
#include "core/base/DateRules.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cstdio>

namespace {

QImage DrawnPhoto() {
    QImage photo(600, 800, QImage::Format_RGB32);
    photo.fill(QColor(200, 214, 228));
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(40, 60, 100));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(300, 900), 260, 330);
    p.setBrush(QColor(224, 190, 160));
    p.drawEllipse(QPointF(300, 330), 130, 160);
    return photo;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: print_samples DATA-FOLDER OUT-FOLDER\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(out);
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    InitProgramValues();
    PreparePrinter();
    std::printf("Arial resolves to %s\n", qPrintable(ResolvedArialFamily()));

    QList<PersonnelRecord> records;
    QList<QStringList> rows;
    OpenDataFile();
    for (qint32 slot = 1; slot <= RecordCount; ++slot) {
        ReadSlot(slot);
        records << CurrentRecord;
        if (CurrentRecord.InactivationDate == 0)
            rows << QStringList{CurrentRecord.LastName + QStringLiteral(", ") + CurrentRecord.FirstName,
                                CurrentRecord.JobTitle, QStringLiteral("*"), QString::number(slot)};
    }
    CloseDataFile();
    std::sort(rows.begin(), rows.end(), [](const QStringList& a, const QStringList& b) {
        return a.first().compare(b.first(), Qt::CaseInsensitive) < 0;
    });

    // A list of at most 60, as the sample asks.
    rows = rows.mid(0, 60);
    const double now = NowOADate();
    {
        PdfPrinterDevice pdf(out + QStringLiteral("/list.pdf"), QStringLiteral("Employee List"));
        PrintEmployeeList(pdf, {AppTitle + QStringLiteral(" - Springfield Police Department"),
                                QStringLiteral("Current Employees"),
                                {QStringLiteral("Name"), QStringLiteral("Job Title"), QString()},
                                rows,
                                now});
        pdf.close();
    }
    {
        const auto withNotes = std::find_if(records.begin(), records.end(),
                                            [](const PersonnelRecord& r) { return r.Notepad.trimmed().size() > 200; });
        PersonnelRecord r = withNotes != records.end() ? *withNotes : records.first();
        PdfPrinterDevice pdf(out + QStringLiteral("/report.pdf"), QStringLiteral("Information Report"));
        PrintInformationReport(pdf, nullptr, r, true, now);
        PrintPicture(pdf, r.LastName + QStringLiteral(", ") + r.FirstName, DrawnPhoto());
        pdf.close();
    }
    {
        PdfPrinterDevice pdf(out + QStringLiteral("/forms.pdf"), QStringLiteral("Annual Update Forms"));
        for (int i = 0; i < 3 && i < records.size(); ++i)
            PrintUpdateForm(pdf, records.at(i), now);
        pdf.close();
    }
    {
        const PersonnelRecord& r = records.first();
        PdfPrinterDevice pdf(out + QStringLiteral("/label.pdf"), QStringLiteral("Address Label"));
        PrintAddressLabel(pdf, AddressLabelLines(r.FirstName, r.LastName, r.StreetAddress, r.CityStateZip), 10, 3);
        pdf.close();
    }
    std::printf("%lld employees, %lld listed; PDFs in %s\n", static_cast<long long>(records.size()),
                static_cast<long long>(rows.size()), qPrintable(out));
    return 0;
}
