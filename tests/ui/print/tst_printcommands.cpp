#include "FileTestSupport.h"
#include "PrintTestSupport.h"
#include "ScriptedDialogs.h"
#include "TempWorkDir.h"
#include "WindowTestSupport.h"

#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/controls/ZelButton.h"
#include "ui/help/frmManual.h"
#include "ui/print/PrintCommands.h"
#include "core/print/PrintHelpers.h"
#include "ui/print/PrintJob.h"
#include "core/print/Printouts.h"
#include "core/print/RecordingPrinter.h"
#include "ui/print/frmPrintLabel.h"
#include "core/store/DataFile.h"
#include "core/base/DateRules.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <optional>

namespace {

// A recording printer that notes, at the start of each document, whether the window was busy.
class WatchingPrinter : public RecordingPrinter {
public:
    explicit WatchingPrinter(QWidget* window) : m_window(window) {}

protected:
    void beginDocument() override {
        RecordingPrinter::beginDocument();
        const QCursor* cursor = QApplication::overrideCursor();
        const bool hourglass = cursor && cursor->shape() == Qt::WaitCursor;
        const bool enabled = m_window && m_window->isEnabled();
        log << QStringLiteral("window %1%2")
                   .arg(enabled ? QStringLiteral("usable") : QStringLiteral("busy"),
                        hourglass ? QStringLiteral(", hourglass") : QString());
    }

private:
    QPointer<QWidget> m_window;
};

PersonnelRecord Employee(const QString& first, const QString& last) {
    PersonnelRecord r;
    r.FirstName = first;
    r.LastName = last;
    r.Race = QStringLiteral("W");
    r.Sex = QStringLiteral("F");
    r.DateOfBirth = ToOADate(QDate(1980, 2, 29));
    r.DateOfEmployment = ToOADate(QDate(2004, 9, 1));
    return r;
}

void WriteEmployees(const QList<PersonnelRecord>& records) {
    OpenDataFile();
    for (qsizetype i = 0; i < records.size(); ++i) {
        CurrentRecord = records.at(i);
        WriteSlot(static_cast<qint32>(i + 1));
    }
    CloseDataFile();
}

} // namespace

class TestPrintCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitProgramValues(); }

    void init() {
        m_dir = std::make_unique<TempWorkDir>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_window = std::make_unique<QWidget>();
        m_window->setWindowTitle(QStringLiteral("Vardel - Springfield Police Department"));
        m_printers.clear();
        m_printoutNames.clear();
        PrinterReadyConfirmed = false;
        PrintPictureOnOpen = false;
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("0"));
        SetFadeSupport(FadeSupport::Auto);
        FadeOn = 0;
        SetPrinterFactory([this](const QString& name) {
            m_printoutNames << name;
            auto device = std::make_shared<WatchingPrinter>(m_window.get());
            m_printers << device;
            return device;
        });
    }

    void cleanup() {
        SetPrinterFactory({});
        QCOMPARE(m_dialogs->pending(), 0);
        m_dialogs.reset();
        // Every command gives the window back usable, with the normal pointer, and leaves no file open.
        QVERIFY(m_window->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(DataFileNumber, qint16(0));
        m_window.reset();
        m_dir.reset();
    }

    void printerReadyQuestion_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("printed");
        QTest::newRow("Yes") << MsgResult::Yes << true;
        QTest::newRow("No") << MsgResult::No << false;
        QTest::newRow("Cancel") << MsgResult::Cancel << false;
    }

    void printerReadyQuestion() {
        QFETCH(MsgResult, answer);
        QFETCH(bool, printed);
        const QList<QStringList> rows{{QStringLiteral("Doe, Jane"), QStringLiteral("Clerk"), QStringLiteral("*")},
                                      {QStringLiteral("Roe, Rich"), QStringLiteral("Chief"), QStringLiteral("*")}};
        m_dialogs->answer(answer);
        PrintEmployeeListCommand(m_window.get(), QStringLiteral("Current Employees"), {}, rows);
        QCOMPARE(m_dialogs->calls().size(), 1);
        const ScriptedDialogs::Call& call = m_dialogs->last();
        QCOMPARE(call.text, QStringLiteral("Is your printer ready?"));
        QCOMPARE(call.title, QStringLiteral("Printer Status..."));
        QCOMPARE(call.icon, MsgIcon::Question);
        QCOMPARE(call.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(m_printers.size(), printed ? 1 : 0);
        QCOMPARE(PrinterReadyConfirmed, printed);

        // After a Yes the question is not asked again in this run; otherwise it is.
        if (!printed)
            m_dialogs->answer(MsgResult::Yes);
        PrintInformationReportCommand(m_window.get(), Employee(QStringLiteral("Jane"), QStringLiteral("Doe")),
                                      QStringLiteral("Doe, Jane"));
        QCOMPARE(m_dialogs->calls().size(), printed ? 1 : 2);
        QCOMPARE(m_printers.size(), printed ? 2 : 1);
    }

    // A printout that becomes a PDF file asks nothing about a printer.
    void noPrinterQuestionForAFile() {
        SetPrinterFactory([this](const QString&) { return std::make_shared<WatchingPrinter>(m_window.get()); }, true);
        PrintEmployeeListCommand(m_window.get(), QStringLiteral("Current Employees"), {}, {{}, {}});
        QVERIFY(m_dialogs->calls().isEmpty());
    }

    void listPrintsTheWindowCaptionWithTheWindowBusy() {
        PrinterReadyConfirmed = true;
        PrintEmployeeListCommand(m_window.get(), QStringLiteral("Current Employees"),
                                 {QStringLiteral("Name"), QStringLiteral("Job Title"), QString()},
                                 {{QStringLiteral("Doe, Jane"), QStringLiteral("Clerk"), QStringLiteral("*")},
                                  {QStringLiteral("Roe, Rich"), QStringLiteral("Chief"), QStringLiteral("*")}});
        QVERIFY(m_dialogs->calls().isEmpty());
        QCOMPARE(m_printoutNames, QStringList{QStringLiteral("Employee List")});
        QVERIFY(printer().texts.first().text.startsWith(
            QStringLiteral("Vardel - Springfield Police Department -- Page 1, ")));
        QCOMPARE(printer().texts.at(1).text, QStringLiteral("Printout of Current Employees"));
        QCOMPARE(printer().log.at(1), QStringLiteral("window busy, hourglass"));
        QVERIFY(printer().closed);
    }

    void reportQuestions_data() {
        QTest::addColumn<bool>("notepad");
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QList<MsgResult>>("answers");
        QTest::addColumn<bool>("printed");
        QTest::addColumn<bool>("comments");
        QTest::addColumn<bool>("photo");
        using A = QList<MsgResult>;
        QTest::newRow("no notepad, no picture: no question") << false << false << A{} << true << false << false;
        QTest::newRow("comments Yes") << true << false << A{MsgResult::Yes} << true << true << false;
        QTest::newRow("comments No") << true << false << A{MsgResult::No} << true << false << false;
        QTest::newRow("comments Cancel") << true << true << A{MsgResult::Cancel} << false << false << false;
        QTest::newRow("photo Yes") << false << true << A{MsgResult::Yes} << true << false << true;
        QTest::newRow("both Yes") << true << true << A{MsgResult::Yes, MsgResult::Yes} << true << true << true;
        QTest::newRow("both No") << true << true << A{MsgResult::No, MsgResult::No} << true << false << false;
        QTest::newRow("photo Cancel") << true << true << A{MsgResult::Yes, MsgResult::Cancel} << false << false
                                      << false;
    }

    void reportQuestions() {
        QFETCH(bool, notepad);
        QFETCH(bool, picture);
        QFETCH(QList<MsgResult>, answers);
        QFETCH(bool, printed);
        QFETCH(bool, comments);
        QFETCH(bool, photo);
        PrinterReadyConfirmed = true;
        PersonnelRecord r = Employee(QStringLiteral("Jane"), QStringLiteral("Doe"));
        if (notepad)
            r.Notepad = QStringLiteral("Commended 2019.");
        if (picture)
            r.PicturePath = QStringLiteral("/photos/jane.png");
        for (MsgResult a : std::as_const(answers))
            m_dialogs->answer(a);
        int pictureWindows = 0;
        PrintInformationReportCommand(m_window.get(), r, QStringLiteral("Doe, Jane"), [&] {
            QVERIFY(PrintPictureOnOpen);
            ++pictureWindows;
        });

        QStringList asked;
        for (const ScriptedDialogs::Call& call : m_dialogs->calls()) {
            QCOMPARE(call.title, QStringLiteral("Vardel"));
            QCOMPARE(call.icon, MsgIcon::Question);
            QCOMPARE(call.buttons, MsgButtons::YesNoCancel);
            asked << call.text;
        }
        QStringList expected;
        if (notepad)
            expected << QStringLiteral("Print the 'Comments' section also?");
        if (picture && !(notepad && answers.first() == MsgResult::Cancel))
            expected << QStringLiteral("Print the photograph?");
        QCOMPARE(asked, expected);

        QCOMPARE(m_printers.size(), printed ? 1 : 0);
        QCOMPARE(pictureWindows, photo ? 1 : 0);
        if (!printed)
            return;
        QCOMPARE(m_printoutNames, QStringList{QStringLiteral("Information Report")});
        bool notesPrinted = false;
        for (const RecordingPrinter::Text& t : std::as_const(printer().texts))
            notesPrinted |= t.text.startsWith(QStringLiteral("Notepad comments: "));
        QCOMPARE(notesPrinted, comments);
        QCOMPARE(printer().log.at(1), QStringLiteral("window busy, hourglass"));
    }

    void reportPhotoGoesThroughThePictureWindow() {
        // The picture window prints on opening into the same output as the report, as a second document.
        PrinterReadyConfirmed = true;
        PersonnelRecord r = Employee(QStringLiteral("Jane"), QStringLiteral("Doe"));
        r.PicturePath = QStringLiteral("/photos/jane.png");
        m_dialogs->answer(MsgResult::Yes);
        QImage photo(300, 400, QImage::Format_RGB32);
        photo.fill(Qt::darkGray);
        PrintInformationReportCommand(m_window.get(), r, QStringLiteral("Doe, Jane"), [&] {
            QWidget pictureWindow;
            PrintPictureOnOpen = false;
            PrintPictureCommand(&pictureWindow, QStringLiteral("Doe, Jane"), photo);
        });
        QCOMPARE(m_printers.size(), 1);
        QCOMPARE(printer().documentCount(), 2);
        QCOMPARE(printer().pictures.size(), 1);
        QCOMPARE(printer().pictures.first().document, 2);
        QCOMPARE(printer().textsOn(2, 1).first().text, QStringLiteral("Doe, Jane"));
    }

    void reportPhotoWithoutPictureWindow() {
        PrinterReadyConfirmed = true;
        const QString path = m_dir->file(QStringLiteral("jane.png"));
        QImage photo(200, 100, QImage::Format_RGB32);
        photo.fill(Qt::blue);
        QVERIFY(photo.save(path));
        PersonnelRecord r = Employee(QStringLiteral("Jane"), QStringLiteral("Doe"));
        r.PicturePath = path;
        m_dialogs->answer(MsgResult::Yes);
        PrintInformationReportCommand(m_window.get(), r, QStringLiteral("Doe, Jane"));
        QCOMPARE(printer().pictures.size(), 1);
        QCOMPARE(printer().pictures.first().size, QSizeF(200, 100));
        QCOMPARE(printer().pictures.first().height, 6.25 / 2);
    }

    void updateMenuItems_data() {
        QTest::addColumn<int>("listed");
        QTest::addColumn<bool>("everyone");
        QTest::newRow("one employee") << 1 << false;
        QTest::newRow("two employees") << 2 << true;
    }

    void updateMenuItems() {
        QFETCH(int, listed);
        QFETCH(bool, everyone);
        std::unique_ptr<QMenu> menu(CreatePrintUpdateMenu(m_window.get(), listed));
        QCOMPARE(menu->objectName(), QStringLiteral("menuPrintUpdatemenu"));
        const QList<QAction*> items = menu->actions();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items.at(0)->text(), QStringLiteral("Print an update form for every person in this list"));
        QCOMPARE(items.at(1)->text(), QStringLiteral("Print an update form only for the highlighted person"));
        QVERIFY(items.at(2)->isSeparator());
        QCOMPARE(items.at(3)->text(), QStringLiteral("E&xit this Menu"));
        QCOMPARE(items.at(0)->isEnabled(), everyone);
        QVERIFY(items.at(1)->isEnabled());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(items.at(i)->objectName(), QStringLiteral("PrintUpdatemenu_%1").arg(i + 1));
    }

    void updateMenuChoices_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<QList<MsgResult>>("answers");
        QTest::addColumn<QStringList>("printedNames");
        using A = QList<MsgResult>;
        // The list shows slots 3, 1, 2 in this order; slot 1 is highlighted.
        QTest::newRow("everyone, Yes") << 1 << A{MsgResult::Yes}
                                       << QStringList{QStringLiteral("Carol"), QStringLiteral("Alice"),
                                                      QStringLiteral("Bea")};
        QTest::newRow("everyone, No") << 1 << A{MsgResult::No} << QStringList{};
        QTest::newRow("everyone, Cancel") << 1 << A{MsgResult::Cancel} << QStringList{};
        QTest::newRow("highlighted, no question") << 2 << A{} << QStringList{QStringLiteral("Alice")};
        QTest::newRow("separator") << 3 << A{} << QStringList{};
        QTest::newRow("exit this menu") << 4 << A{} << QStringList{};
    }

    void updateMenuChoices() {
        QFETCH(int, item);
        QFETCH(QList<MsgResult>, answers);
        QFETCH(QStringList, printedNames);
        WriteEmployees({Employee(QStringLiteral("Alice"), QStringLiteral("Ames")),
                        Employee(QStringLiteral("Bea"), QStringLiteral("Baker")),
                        Employee(QStringLiteral("Carol"), QStringLiteral("Cole"))});
        for (MsgResult a : std::as_const(answers))
            m_dialogs->answer(a);
        PrintUpdatemenu_Click(m_window.get(), item, {3, 1, 2}, 1);

        if (item == 1) {
            QCOMPARE(m_dialogs->calls().size(), 1);
            const ScriptedDialogs::Call& call = m_dialogs->last();
            QCOMPARE(call.text,
                     QStringLiteral("This printout will be\r\n3 pages long.\r\n\r\nAre you ready to continue?"));
            QCOMPARE(call.title, QStringLiteral("'Annual Update' forms..."));
            QCOMPARE(call.icon, MsgIcon::Question);
            QCOMPARE(call.buttons, MsgButtons::YesNoCancel);
        } else {
            QVERIFY(m_dialogs->calls().isEmpty());
        }
        if (printedNames.isEmpty()) {
            QVERIFY(m_printers.isEmpty());
            return;
        }
        QCOMPARE(m_printoutNames, QStringList{QStringLiteral("Annual Update Forms")});
        // One document per form, in list order, each with the first name as stored (padded to 15).
        QCOMPARE(printer().documentCount(), printedNames.size());
        for (qsizetype d = 0; d < printedNames.size(); ++d) {
            const QList<RecordingPrinter::Text> texts = printer().textsOn(static_cast<int>(d + 1), 1);
            QCOMPARE(texts.at(6).text, printedNames.at(d).leftJustified(15));
        }
        QCOMPARE(printer().log.at(1), QStringLiteral("window busy, hourglass"));
    }

    void updateMenuPopsUpWhereTheUserIs_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("atTheMouse");
        QTest::newRow("mouse click") << "mouse" << true;
        QTest::newRow("Enter") << "enter" << false;
        QTest::newRow("space") << "space" << false;
        QTest::newRow("access key") << "alt" << false;
        QTest::newRow("called by code") << "code" << false;
    }

    void updateMenuPopsUpWhereTheUserIs() {
        QFETCH(QString, how);
        QFETCH(bool, atTheMouse);
        WriteEmployees({Employee(QStringLiteral("Alice"), QStringLiteral("Ames")),
                        Employee(QStringLiteral("Bea"), QStringLiteral("Baker"))});
        m_window->resize(400, 300);
        auto* button = new ZelButton(m_window.get());
        button->setCaption(QStringLiteral("Print &Annual\r\nUpdate form(s)"));
        button->setGeometry(20, 30, 120, 40);
        connect(button, &QAbstractButton::clicked, this, [button] { PrintUpdateFormsMenu(button, {2, 1}, 2); });
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        // The pointer rests on the button while a key presses it: the menu must still open under the button.
        const QPoint clickedAt(90, 25);
        QCursor::setPos(button->mapToGlobal(QPoint(60, 12)));

        std::optional<QPoint> shownAt;
        QTimer watch;
        watch.setInterval(5);
        connect(&watch, &QTimer::timeout, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            watch.stop();
            shownAt = menu->pos();
            menu->setActiveAction(menu->findChild<QAction*>(QStringLiteral("PrintUpdatemenu_2")));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        watch.start();
        if (how == QLatin1String("code"))
            PrintUpdateFormsMenu(button, {2, 1}, 2);
        else
            PressButton(button, how, clickedAt, Qt::Key_A);
        QTRY_VERIFY(shownAt.has_value());
        QCOMPARE(*shownAt, button->mapToGlobal(atTheMouse ? clickedAt : QPoint(0, button->height())));
        // Either way the menu is the same and its choice prints.
        QTRY_COMPARE(m_printers.size(), 1);
        QCOMPARE(printer().documentCount(), 1);
        QCOMPARE(printer().texts.at(6).text, QStringLiteral("Bea").leftJustified(15));
        QVERIFY(!button->MouseClickPosition());
    }

    void pdfWhenNoPrinterIsInstalled_data() {
        QTest::addColumn<MsgResult>("open");
        QTest::addColumn<bool>("viewerStarts");
        QTest::newRow("open it, the viewer starts") << MsgResult::Yes << true;
        QTest::newRow("open it, no viewer") << MsgResult::Yes << false;
        QTest::newRow("leave it") << MsgResult::No << true;
    }

    void pdfWhenNoPrinterIsInstalled() {
        QFETCH(MsgResult, open);
        QFETCH(bool, viewerStarts);
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed here");
        SetPrinterFactory({});
        PrinterReadyConfirmed = true;
        PersonnelRecord r = Employee(QStringLiteral("Jane"), QStringLiteral("Doe"));
        r.PicturePath = QStringLiteral("/photos/jane.png");
        m_dialogs->answer(MsgResult::Yes); // the photograph
        m_dialogs->answer(open);
        if (open == MsgResult::Yes)
            m_dialogs->answer(viewerStarts ? MsgResult::OK : MsgResult::Cancel);
        if (!viewerStarts)
            m_dialogs->answer(MsgResult::OK);
        QImage photo(40, 30, QImage::Format_RGB32);
        photo.fill(Qt::red);
        // The report and the picture printed with it make one file and one message.
        PrintInformationReportCommand(m_window.get(), r, QStringLiteral("Doe, Jane"),
                                      [&] { PrintPictureCommand(m_window.get(), QStringLiteral("Doe, Jane"), photo); });

        const QDir printouts(m_dir->file(QStringLiteral("Printouts")));
        QCOMPARE(modeOf(printouts.path()), mode_t(0700));
        const QStringList files = printouts.entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY2(files.first().startsWith(QStringLiteral("Information Report 20")), qPrintable(files.first()));
        const QString path = printouts.absoluteFilePath(files.first());
        QCOMPARE(modeOf(path), mode_t(0600));
        QVERIFY(readFile(path).startsWith("%PDF"));

        const QList<ScriptedDialogs::Call>& calls = m_dialogs->calls();
        const ScriptedDialogs::Call& saved = calls.at(1);
        QCOMPARE(saved.text,
                 QStringLiteral("No printer is installed, so the printout was saved as a PDF file:\r\n\r\n") + path +
                     QStringLiteral("\r\n\r\nWould you like to open it now?"));
        QCOMPARE(saved.title, QStringLiteral("Printout Saved"));
        QCOMPARE(saved.icon, MsgIcon::Information);
        QCOMPARE(saved.buttons, MsgButtons::YesNo);
        QCOMPARE(saved.defaultButton, MsgResult::Yes);
        if (open == MsgResult::No) {
            QCOMPARE(calls.size(), 2);
            return;
        }
        QCOMPARE(calls.at(2).kind, ScriptedDialogs::Kind::Url);
        QCOMPARE(calls.at(2).text, QUrl::fromLocalFile(path).toString());
        QCOMPARE(calls.size(), viewerStarts ? 3 : 4);
        if (!viewerStarts) {
            QCOMPARE(calls.at(3).text, QStringLiteral("No program on this computer could open the PDF file.\r\n\r\n"
                                                      "You will find it in the folder\r\n") +
                                           printouts.absolutePath());
            QCOMPARE(calls.at(3).icon, MsgIcon::Information);
        }
    }

    void labelDialogOpens() {
        const QStringList lines =
            AddressLabelLines(QStringLiteral("Jane"), QStringLiteral("Doe"), QStringLiteral("12 Elm Street"),
                              QStringLiteral("Springfield, IL 62701"));
        frmPrintLabel dialog(lines);
        dialog.show();
        QTRY_VERIFY(dialog.Activated);
        QCOMPARE(dialog.windowTitle(), QStringLiteral(" Print a 1\" x 2 5/8\" Label"));
        QCOMPARE(dialog.LabelLines(), lines);
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(dialog.txtPrintLabel[static_cast<size_t>(i)]->maxLength(), 35);
        QCOMPARE(dialog.lblPosition[1]->text(), QStringLiteral("Row 1"));
        QCOMPARE(dialog.lblPosition[2]->text(), QStringLiteral("Col 1"));
        QCOMPARE(dialog.lblIndicate->text(), QStringLiteral("Indicate which 'row & column' label to print..."));
        QCOMPARE(dialog.cmdPrintLabel->Caption(), QStringLiteral("&Print\r\n<Enter>"));
        QCOMPARE(dialog.cmdPrintLabel->toolTip(),
                 QStringLiteral(" Place an Avery 5160 label sheet (or equivalent) in the printer "));
        QCOMPARE(dialog.cmdCancel->Caption(), QStringLiteral("&Return\r\n<Esc>"));
        QCOMPARE(dialog.size(), QSize(434, 351));
    }

    void labelDialogScrollBars() {
        frmPrintLabel dialog({});
        dialog.scroll[1]->setValue(7);
        QCOMPARE(dialog.lblPosition[1]->text(), QStringLiteral("Row 7"));
        dialog.scroll[1]->setValue(11);
        QCOMPARE(dialog.LabelRow(), 10);
        QCOMPARE(dialog.lblPosition[1]->text(), QStringLiteral("Row 10"));
        dialog.scroll[2]->setValue(4);
        QCOMPARE(dialog.LabelColumn(), 3);
        QCOMPARE(dialog.lblPosition[2]->text(), QStringLiteral("Col 3"));
        dialog.scroll[2]->setValue(0);
        QCOMPARE(dialog.LabelColumn(), 1);
        // The arrow keys move a scroll bar that has the focus.
        dialog.show();
        QTest::keyClick(dialog.scroll[2], Qt::Key_Right);
        QCOMPARE(dialog.lblPosition[2]->text(), QStringLiteral("Col 2"));
    }

    void labelDialogPrints() {
        frmPrintLabel dialog({QStringLiteral("Jane Doe"), QStringLiteral("12 Elm Street"), QString(), QString()},
                             m_window.get());
        dialog.show();
        QTRY_VERIFY(dialog.Activated);
        dialog.txtPrintLabel[4]->setText(QStringLiteral("attn: Payroll"));
        dialog.scroll[1]->setValue(10);
        dialog.scroll[2]->setValue(3);
        QTest::mouseClick(dialog.cmdPrintLabel, Qt::LeftButton);

        QCOMPARE(m_printoutNames, QStringList{QStringLiteral("Address Label")});
        const double h = Lines(1);
        COMPARE_TEXTS(printer().texts, (ExpectedTexts{{QStringLiteral("Jane Doe  "), 5.8, 9.5 + h},
                                                      {QStringLiteral("12 Elm Street  "), 5.8, 9.5 + 2 * h},
                                                      {QStringLiteral("  "), 5.8, 9.5 + 3 * h},
                                                      {QStringLiteral("attn: Payroll  "), 5.8, 9.5 + 4 * h}}));
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.isEnabled());
        QCOMPARE(dialog.cmdPrintLabel->Caption(), QStringLiteral("&Print\r\nAgain"));
        QCOMPARE(dialog.cmdCancel->Caption(), QStringLiteral("&Finished\r\n<Esc>"));
        QCOMPARE(dialog.cmdCancel->toolTip(), QStringLiteral(" No more printing "));

        // Again, unchanged: the same spot on a new sheet.
        dialog.cmdPrintLabel->click();
        QCOMPARE(m_printers.size(), 2);
        QCOMPARE(printer(1).texts.first().x, 5.8);
        QCOMPARE(printer(1).texts.first().y, 9.5 + h);
    }

    void labelDialogKeys() {
        frmPrintLabel dialog({QStringLiteral("Jane Doe"), QString(), QString(), QString()}, m_window.get());
        dialog.show();
        QTRY_VERIFY(dialog.Activated);
        QTest::keyClick(dialog.txtPrintLabel[1], Qt::Key_Return);
        QTRY_COMPARE(m_printers.size(), 1);
        QCOMPARE(printer().texts.first().text, QStringLiteral("Jane Doe  "));
        QTest::keyClick(dialog.txtPrintLabel[1], Qt::Key_Escape);
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(m_printers.size(), 1);
    }

    void labelDialogLineColours() {
        frmPrintLabel dialog({});
        QLineEdit* first = dialog.txtPrintLabel[1];
        QLineEdit* second = dialog.txtPrintLabel[2];
        QFocusEvent in(QEvent::FocusIn);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(first, &in);
        QCOMPARE(first->palette().color(QPalette::Base), QColor(255, 255, 0));
        QApplication::sendEvent(first, &out);
        QApplication::sendEvent(second, &in);
        QCOMPARE(first->palette().color(QPalette::Base), QColor(0, 255, 255));
        QCOMPARE(second->palette().color(QPalette::Base), QColor(255, 255, 0));
    }

    void helpWindowPrintsItsTopic() {
        HelpTopicIndex = 1;
        frmManual help;
        help.show();
        QTRY_VERIFY(help.WasActivated);
        SetPrinterFactory([this, &help](const QString& name) {
            m_printoutNames << name;
            auto device = std::make_shared<WatchingPrinter>(&help);
            m_printers << device;
            return device;
        });
        QVERIFY(help.cmdPrintHelp->isEnabled());
        QTest::mouseClick(help.cmdPrintHelp, Qt::LeftButton);
        QCOMPARE(m_printoutNames, QStringList{QStringLiteral("Help Topic")});
        const RecordingPrinter::Text& heading = printer().texts.first();
        QCOMPARE(heading.text, QStringLiteral("Vardel, Help Section: Overview"));
        QVERIFY(heading.font.Underline);
        QCOMPARE(heading.x, 1.0);
        QCOMPARE(heading.y, 1.0);
        QCOMPARE(printer().texts.at(1).font, (PrinterFont{QStringLiteral("Arial"), 10, false, false, false, false}));
        QCOMPARE(printer().texts.at(1).y, 1.0 + Lines(2));
        QCOMPARE(printer().log.at(1), QStringLiteral("window busy, hourglass"));
        QVERIFY(help.isEnabled());
        QCOMPARE(printer().documentCount(), 1);
    }

private:
    WatchingPrinter& printer(qsizetype i = 0) { return *m_printers.at(i); }

    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<QWidget> m_window;
    QList<std::shared_ptr<WatchingPrinter>> m_printers;
    QStringList m_printoutNames;
};

QTEST_MAIN(TestPrintCommands)
#include "tst_printcommands.moc"
