// vardel-data print, through the command line: the printouts it writes, read back with pdftotext, and the
// values, files and folders it refuses.

#include "FileTestSupport.h"
#include "PdfWords.h"
#include "ProcessRun.h"

#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/DateRules.h"
#include "core/record/PersonnelRecord.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Runs the tool in workDir, where a relative --out lands.
Run vardelData(const QString& dataDir, const QString& workDir, const QStringList& args) {
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(QStringLiteral(VARDEL_DATA_TOOL), QStringList{QStringLiteral("--data-dir"), dataDir} + args);
    return FinishRun(process);
}

PersonnelRecord Person(const QString& first, const QString& last, const QString& race, const QString& sex) {
    PersonnelRecord r;
    r.FirstName = first;
    r.LastName = last;
    r.Race = race;
    r.Sex = sex;
    r.Sworn = -1;
    r.SocialSecurityNumber = QStringLiteral("123-45-6789");
    r.DateOfBirth = ToOADate(QDate(1980, 3, 7));
    r.DateOfEmployment = ToOADate(QDate(2004, 9, 1));
    r.JobTitle = QStringLiteral("Sergeant");
    return r;
}

const QString kNote = QStringLiteral("Joined the records unit in 2004; trains the new clerks every spring.");

} // namespace

class TestVardelDataPrint : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_data;
    std::unique_ptr<QTemporaryDir> m_out;

    Run print(const QStringList& args) { return vardelData(m_data.path(), m_out->path(), args); }
    QStringList outFiles() const { return QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden); }

private slots:
    void initTestCase() {
        QVERIFY(m_data.isValid());
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(), "pdftotext (poppler-utils)");
        const QString photo = m_data.filePath(QStringLiteral("zoe.png"));
        QImage picture(30, 40, QImage::Format_RGB32);
        picture.fill(Qt::darkBlue);
        QVERIFY(picture.save(photo));

        PersonnelRecord zoe = Person(QStringLiteral("Zoë"), QStringLiteral("Young"), QStringLiteral("W"), "F");
        zoe.StreetAddress = QStringLiteral("12 Elm Street");
        zoe.CityStateZip = QStringLiteral("Springfield, IL 62701");
        zoe.EmergencyName = QStringLiteral("Ann Young");
        zoe.EmergencyPhone = QStringLiteral("(217) 555-0101");
        zoe.EmergencyRelationship = QStringLiteral("Mother");
        zoe.Notepad = kNote;
        zoe.PicturePath = photo;
        PersonnelRecord al = Person(QStringLiteral("Al"), QStringLiteral("adams"), QStringLiteral("B"), "M");
        PersonnelRecord bo = Person(QStringLiteral("Bo"), QStringLiteral("Gone"), QStringLiteral("W"), "M");
        bo.InactivationDate = ToOADate(QDate(2011, 1, 1));
        bo.StreetAddress = QStringLiteral("3 Pine Road");
        PersonnelRecord cy = Person(QStringLiteral("Cy"), QStringLiteral("Brown"), QStringLiteral("W"), "M");
        cy.PicturePath = QStringLiteral("/nonexistent/cy.png");
        QByteArray bytes;
        for (const PersonnelRecord& r : {zoe, al, bo, cy})
            bytes += EncodePersonnelRecord(r);
        writeFile(m_data.filePath(QStringLiteral("Vardel.Data")), bytes);
        SetAgencyName(QStringLiteral("Springfield Police Department"));
    }

    void init() {
        m_out = std::make_unique<QTemporaryDir>();
        QVERIFY(m_out->isValid());
    }

    // Expected texts are "page:text", each found on its page after the one before it on that page.
    void printsThePrintout_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("absent");

        QTest::newRow("list") << QStringList{"list"} << 1
                              << QStringList{"1:Vardel - Springfield Police Department -- Page 1,",
                                             "1:Printout of Current Employees",
                                             "1:Name",
                                             "1:Job Title",
                                             "1:adams, Al Sergeant",
                                             "1:Brown, Cy Sergeant",
                                             "1:Young, Zoë Sergeant",
                                             "1:End of Printout"}
                              << QStringList{"Gone", "Sergeant *"};
        QTest::newRow("list with options") << QStringList{"list", "--race", "W", "--with", "Race/Sex"} << 1
                                           << QStringList{"1:Printout of Current Employees - Race: White", "1:Race/Sex",
                                                          "1:Brown, Cy W/M", "1:Young, Zoë W/F"}
                                           << QStringList{"adams"};
        QTest::newRow("forms for the list, in list order")
            << QStringList{"forms"} << 3
            << QStringList{"1:Annual Employee Information Update",
                           "1:Al",
                           "1:adams",
                           "2:Cy",
                           "2:Brown",
                           "3:Zoë",
                           "3:Young",
                           "3:In case of emergency, contact Ann Young at (217) 555-0101",
                           "3:(Mother)"}
            << QStringList{"Gone"};
        QTest::newRow("forms for previous employees")
            << QStringList{"forms", "--status", "previous"} << 1 << QStringList{"1:Bo", "1:Gone"} << QStringList{};
        QTest::newRow("one form") << QStringList{"forms", "--slot", "2"} << 1
                                  << QStringList{"1:Al", "1:adams", "1:Date of Birth: March 7, 1980"}
                                  << QStringList{"Young"};
        QTest::newRow("report") << QStringList{"report", "--slot", "1"} << 1
                                << QStringList{"1:Vardel information report,",         "1:First Name: Zoë",
                                               "1:In case of emergency, contact--",    "1:Name: Ann Young",
                                               "1:Street Address: 12 Elm Street",      "1:Sworn Status: Sworn Employee",
                                               "1:Employment Status: Current Employee"}
                                << QStringList{"Notepad", "Joined"};
        QTest::newRow("report with comments and photograph")
            << QStringList{"report", "--slot", "1", "--comments", "--photo"} << 2
            << QStringList{"1:First Name: Zoë", "1:Notepad comments:", "1:Joined the records unit", "2:Young, Zoë"}
            << QStringList{};
        QTest::newRow("report asks for what the record lacks")
            << QStringList{"report", "--slot", "2", "--comments", "--photo"} << 1
            << QStringList{"1:First Name: Al", "1:Race: B"} << QStringList{"Notepad"};
        // A value that looks like one of Qt's own options stays the command's.
        QTest::newRow("label") << QStringList{"label",   "--slot",   "1",       "--row",        "2",
                                              "--line3", "-reverse", "--line4", "attn: Records"}
                               << 1 << QStringList{"1:Zoë Young", "1:12 Elm Street", "1:-reverse", "1:attn: Records"}
                               << QStringList{"Springfield"};
    }

    void printsThePrintout() {
        QFETCH(QStringList, args);
        QFETCH(int, pages);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, absent);
        const Run run = print(QStringList{QStringLiteral("print")} + args +
                              QStringList{QStringLiteral("--out"), QStringLiteral("out.pdf")});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray());
        // A relative --out counts from where the tool was started, not from the data folder.
        QCOMPARE(outFiles(), QStringList{QStringLiteral("out.pdf")});
        const QString path = m_out->filePath(QStringLiteral("out.pdf"));
        QCOMPARE(modeOf(path), mode_t(0600));

        const PdfText pdf = ReadPdfText(path);
        QCOMPARE(pdf.pages, pages);
        QList<qsizetype> from(pages + 1, 0);
        for (const QString& item : std::as_const(expected)) {
            const int page = item.section(QLatin1Char(':'), 0, 0).toInt();
            const QString text = item.section(QLatin1Char(':'), 1);
            const QString onPage = pdf.pageText(page);
            const qsizetype at = onPage.indexOf(text, from[page]);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("\"%1\" on page %2: %3").arg(text).arg(page).arg(onPage)));
            from[page] = at + text.size();
        }
        for (int page = 1; page <= pages; ++page)
            for (const QString& text : std::as_const(absent))
                QVERIFY2(!pdf.pageText(page).contains(text), qPrintable(text));
    }

    void labelLandsAtItsRowAndColumn() {
        const Run run = print({"print", "label", "--slot", "1", "--row", "10", "--col", "3", "--out", "label.pdf"});
        QCOMPARE(run.exitCode, 0);
        const PdfText pdf = ReadPdfText(m_out->filePath(QStringLiteral("label.pdf")));
        QCOMPARE(pdf.pages, 1);
        // One line of Arial 10 (2355/2048 of its size) below 9.5 inches, 5.8 inches across.
        const double line = 10 * 2355.0 / 2048 / 72;
        const PdfWord* first = pdf.find(1, QStringLiteral("Zoë"));
        QVERIFY(first);
        QVERIFY2(std::abs(first->xMin / 72 - 5.8) < 0.02, qPrintable(QString::number(first->xMin / 72)));
        QVERIFY2(std::abs(first->yMin / 72 - (9.5 + line)) < 0.02, qPrintable(QString::number(first->yMin / 72)));
        const PdfWord* street = pdf.find(1, QStringLiteral("Elm"));
        QVERIFY(street && std::abs(street->yMin / 72 - (9.5 + 2 * line)) < 0.02);
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("reason");
        const QStringList out{"--out", "out.pdf"};
        const auto row = [](const char* name, const QStringList& args, int exitCode, const QByteArray& reason) {
            QTest::newRow(name) << args << exitCode << reason;
        };
        row("no printout", QStringList{}, 2, "which printout?");
        row("unknown printout", QStringList{"roster"} + out, 2, "unknown printout \"roster\"");
        row("no --out", QStringList{"list"}, 2, "print needs --out FILE.pdf");
        row("report without slot", QStringList{"report"} + out, 2, "print report needs --slot N");
        row("slot 0", QStringList{"label", "--slot", "0"} + out, 2, "bad value \"0\" for --slot");
        row("row 11", QStringList{"label", "--slot", "1", "--row", "11"} + out, 2,
            "bad value \"11\" for --row (use 1 to 10)");
        row("line too long", QStringList{"label", "--slot", "1", "--line2", QString(36, 'x')} + out, 2,
            "--line2 is longer than 35 characters");
        row("option of another printout", QStringList{"list", "--comments"} + out, 2,
            "--comments is not an option of print list");
        row("list option for a report", QStringList{"report", "--slot", "1", "--race", "W"} + out, 2,
            "--race is not an option of print report");
        row("bad list value", QStringList{"forms", "--race", "w"} + out, 2, "bad value \"w\" for --race");
        row("one form with list options", QStringList{"forms", "--slot", "1", "--race", "W"} + out, 2,
            "--slot prints one employee's form");
        row("no such slot", QStringList{"report", "--slot", "5"} + out, 1,
            "there is no employee in slot 5: the data file holds 4 records");
        row("empty list", QStringList{"forms", "--search", "nobody"} + out, 1,
            "no employee is in this list; nothing was printed");
        row("label without address", QStringList{"label", "--slot", "2"} + out, 1,
            "the employee in slot 2 has no street address");
        row("unreadable photograph", QStringList{"report", "--slot", "4", "--photo"} + out, 1,
            "cannot read the photograph /nonexistent/cy.png");
        row("missing folder", QStringList{"list", "--out", "no/such/folder/out.pdf"}, 1,
            "/no/such/folder does not exist");
        row("folder as --out", QStringList{"list", "--out", "."}, 1, "is a folder");
        row("unwritable place", QStringList{"list", "--out", "/proc/vardel-test.pdf"}, 1, "/proc");
    }

    void refusals() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, reason);
        const Run run = print(QStringList{QStringLiteral("print")} + args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(reason), run.err.constData());
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(outFiles(), QStringList());
        QVERIFY(!QFile::exists(QStringLiteral("/proc/vardel-test.pdf")));
    }

    void anExistingFileIsWrittenOverOnlyWhenAsked() {
        const QString path = m_out->filePath(QStringLiteral("list.pdf"));
        writeFile(path, "%PDF-1.4 an earlier list");
        const QStringList args{"print", "list", "--out", "list.pdf"};
        Run run = print(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("list.pdf exists; add --replace to write over it"), run.err.constData());
        QCOMPARE(readFile(path), QByteArray("%PDF-1.4 an earlier list"));

        run = print(args + QStringList{QStringLiteral("--replace")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(ReadPdfText(path).pageText(1).contains(QStringLiteral("Young, Zoë")));
        QCOMPARE(outFiles(), QStringList{QStringLiteral("list.pdf")});

        // Not even --replace writes over a file that is not a printout.
        const QString letter = m_out->filePath(QStringLiteral("letter.pdf"));
        writeFile(letter, "Dear Chief,");
        run = print({"print", "list", "--out", letter, "--replace"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("letter.pdf is not a PDF file; it is left as it is"), run.err.constData());
        QCOMPARE(readFile(letter), QByteArray("Dear Chief,"));
    }

    // The list and its records come from one state of the file: the tool reads only while no writer holds the
    // folder.
    void waitsForAWriterToFinish() {
        auto writer = std::make_unique<DataFolderLock>(m_data.path());
        QProcess process;
        process.setWorkingDirectory(m_out->path());
        process.start(QStringLiteral(VARDEL_DATA_TOOL),
                      {"--data-dir", m_data.path(), "print", "forms", "--out", "forms.pdf"});
        QVERIFY(process.waitForStarted());
        QVERIFY(!process.waitForFinished(700));
        QCOMPARE(outFiles(), QStringList());
        writer.reset();
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(ReadPdfText(m_out->filePath(QStringLiteral("forms.pdf"))).pages, 3);
    }

    // As the main window selects "Previous" by itself when no current employee is on file.
    void aFileOfPreviousEmployeesPrintsThem() {
        QTemporaryDir data;
        PersonnelRecord bo = Person(QStringLiteral("Bo"), QStringLiteral("Gone"), QStringLiteral("W"), "M");
        bo.InactivationDate = ToOADate(QDate(2011, 1, 1));
        writeFile(data.filePath(QStringLiteral("Vardel.Data")), EncodePersonnelRecord(bo));
        const Run run = vardelData(data.path(), m_out->path(), {"print", "list", "--out", "out.pdf"});
        QCOMPARE(run.err, QByteArray());
        const QString page = ReadPdfText(m_out->filePath(QStringLiteral("out.pdf"))).pageText(1);
        QVERIFY2(page.contains(QStringLiteral("Printout of Previous Employees")) && page.contains("Gone, Bo"),
                 qPrintable(page));
    }

    void aMissingDataFolderIsAnError() {
        const Run run = vardelData(m_out->filePath(QStringLiteral("missing")), m_out->path(),
                                   {"print", "list", "--out", "out.pdf"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("missing does not exist"), run.err.constData());
        QCOMPARE(outFiles(), QStringList());
        QVERIFY(!QFile::exists(m_out->filePath(QStringLiteral("missing"))));
    }

    // The other commands answer at once because vardel-data leaves Qt Gui and its libraries to
    // vardel-data-print.
    void vardelDataStartsWithoutQtGui() {
        QProcess ldd;
        ldd.start(QStringLiteral("ldd"), {QStringLiteral(VARDEL_DATA_TOOL)});
        QVERIFY(ldd.waitForFinished(30000));
        const QByteArray libraries = ldd.readAllStandardOutput();
        QVERIFY2(libraries.contains("libQt6Core"), libraries.constData());
        QVERIFY2(!libraries.contains("libQt6Gui"), libraries.constData());
    }
};

QTEST_GUILESS_MAIN(TestVardelDataPrint)
#include "tst_vardeldataprint.moc"
