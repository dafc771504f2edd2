#include "MainWindowTestSupport.h"
#include "ScriptedDialogs.h"
#include "TempWorkDir.h"

#include "core/base/AppGlobals.h"
#include "ui/common/WindowGeometry.h"
#include "ui/controls/ZelButton.h"
#include "ui/print/frmPrintLabel.h"
#include "ui/main/EmployeeGrid.h"
#include "ui/main/EntryField.h"
#include "ui/main/frmMain.h"
#include "ui/common/Navigation.h"
#include "core/users/UserList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <memory>

// The main window's list, its options and the record shown beneath it, on real data files.
class tst_frmMainList : public MainWindowTest {
    Q_OBJECT

private:
    // The options tab, a change there, and back to the list, as the user does it.
    template <typename Change> void WithOptions(frmMain* w, Change change) {
        w->tabMain->setCurrentIndex(1);
        change();
        w->tabMain->setCurrentIndex(0);
    }

    static QList<PersonnelRecord> Staff() {
        PersonnelRecord dee =
            Employee(QStringLiteral("Dee"), QStringLiteral("davis"), QStringLiteral("B"), QStringLiteral("F"));
        dee.Sworn = 0;
        dee.DateOfBirth = Day(1961, 1, 2);
        dee.Notepad = QStringLiteral("Commendation for bravery.");
        return {Employee(QStringLiteral("Bo"), QStringLiteral("Baker")), GoneEmployee(),
                Employee(QStringLiteral("Al"), QStringLiteral("Able"), QStringLiteral("H")), dee};
    }

private slots:
    void initTestCase() {
        InitProgramValues();
        SetApplicationEndHook([] {});
    }

    void init() {
        StartMainWindowTest(4);
        WriteEmployees(Staff());
    }

    void cleanup() { EndMainWindowTest(); }

    void firstListIsAlphabeticalOfCurrentEmployees() {
        frmMain* w = OpenWindow();
        QCOMPARE(GridColumn(w, 0), (QStringList{"Able, Al", "Baker, Bo", "davis, Dee"}));
        QCOMPARE(GridColumn(w, 3), (QStringList{"3", "1", "4"}));
        QCOMPARE(w->grid->TextMatrix(0, 0), QStringLiteral("Name"));
        QCOMPARE(w->grid->TextMatrix(0, 1), QStringLiteral("Job Title"));
        QCOMPARE(w->grid->Row(), 1);
        QCOMPARE(w->grid->CellBackColor(1, 0), w->grid->palette().color(QPalette::Base));
        QCOMPARE(w->grid->CellBackColor(2, 0), QColor(240, 240, 240));
        QCOMPARE(w->grid->CellBackColor(2, 3), QColor(240, 240, 240));
        QCOMPARE(w->grid->CellBackColor(3, 1), w->grid->palette().color(QPalette::Base));
        // Column 0 was widened until the slot number lies beyond the grid's edge.
        QVERIFY(!w->grid->ColIsVisible(3));
        QVERIFY(w->grid->ColWidth(0) > ListNameWidth);
        QCOMPARE((w->grid->ColWidth(0) - ListNameWidth) % 18, 0);
        QCOMPARE(w->optEmpStatus[1]->text(), QStringLiteral("Current (3)"));
        QCOMPARE(w->optEmpStatus[2]->text(), QStringLiteral("Previous (1)"));
        QVERIFY(w->tabMain->isTabEnabled(1));
    }

    void everyListTypeFromTheOptions_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("heading");
        QTest::newRow("by employment") << 2 << QStringList{"Baker, Bo", "Able, Al", "davis, Dee"} << "Title"
                                       << "Current Employees - Seniority (by Date of Employment)";
        QTest::newRow("by age") << 3 << QStringList{"davis, Dee", "Baker, Bo", "Able, Al"} << "Date of Birth"
                                << "Current Employees - Seniority (by Age)";
        QTest::newRow("birthdays") << 4 << QStringList{"davis, Dee", "Baker, Bo", "Able, Al"} << "Birthday"
                                   << "Current Employees - Birthday List (by Month/Day)";
    }

    void everyListTypeFromTheOptions() {
        QFETCH(int, type);
        QFETCH(QStringList, names);
        QFETCH(QString, header);
        QFETCH(QString, heading);
        frmMain* w = OpenWindow();
        WithOptions(w, [&] { w->optTypeList[type]->click(); });
        QCOMPARE(GridColumn(w, 0), names);
        QCOMPARE(w->grid->TextMatrix(0, 1), header);
        QCOMPARE(w->grid->Cols(), 5);
        QCOMPARE(w->frame[1]->title(), heading);
        QCOMPARE(w->grid->ColWidth(1), ListColumnWidth(type, 1));
        QVERIFY(!w->grid->ColIsVisible(3));
    }

    void filtersApplyWhenTheListTabReturns() {
        frmMain* w = OpenWindow();
        WithOptions(w, [&] {
            w->optRace[3]->click(); // Black
            w->optEmpSworn[3]->click();
            w->txtOther->setText(QStringLiteral("  BRAVERY  "));
            w->chkSearchNotepad->setChecked(true);
            // An option change alone rebuilds nothing.
            QCOMPARE(w->grid->Rows(), 4);
        });
        QCOMPARE(GridColumn(w, 0), QStringList{"davis, Dee"});
        QCOMPARE(w->txtOther->text(), QStringLiteral("BRAVERY"));
        QCOMPARE(w->frame[1]->title(), QStringLiteral("Current Non-Sworn Employees - Race: Black - 'BRAVERY'"));
        QVERIFY(!w->cmdPrintList->isVisibleTo(w));
        QVERIFY(w->cmdPrintUpdateForms->isVisibleTo(w));
    }

    void noMatchShowsTheOptionsAgain() {
        frmMain* w = OpenWindow();
        const QString heading = w->frame[1]->title();
        m_dialogs->answer(MsgResult::OK);
        WithOptions(w, [&] { w->txtOther->setText(QStringLiteral("%' OR 1=1 \\ .*")); });
        QCOMPARE(m_dialogs->calls().size(), 1);
        CheckMessage(m_dialogs->last(), QStringLiteral("No one matches these\r\nindicated parameter(s)"),
                     QStringLiteral("No match(es)"), MsgIcon::Critical);
        QCOMPARE(w->tabMain->currentIndex(), 1);
        QVERIFY(w->grid->isHidden());
        QCOMPARE(w->frame[1]->title(), heading);
        QVERIFY(w->frame[9]->isEnabled());
        // Previous employees are listed by the alphabetical listing only.
        w->txtOther->clear();
        w->optEmpStatus[2]->click();
        w->optTypeList[3]->click();
        QVERIFY(w->optEmpStatus[1]->isChecked());
        w->tabMain->setCurrentIndex(0);
        QCOMPARE(m_dialogs->calls().size(), 1);
        QCOMPARE(w->grid->Rows(), 4);
    }

    // With fading on, the window has faded in by the time the message stands over it.
    void emptyDatabaseMessageOverAVisibleWindow() {
        SetFadeSupport(FadeSupport::Always);
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("1"));
        QFile::remove(DataFileName);
        m_helpCloser.reset(CloseHelpWhenShown(&m_helpTopic));
        m_dialogs->answerWith([this] { QCOMPARE(m_window->windowOpacity(), 1.0); }, MsgResult::OK);
        OpenWindow();
    }

    // The Year Emp. list shows about fifteen years and opens at the year chosen.
    void yearListIsShortAndOpensAtTheYear() {
        QComboBox* years = OpenWindow()->comboYear;
        years->setCurrentIndex(years->count() - 40);
        years->showPopup();
        QVERIFY(years->view()->viewport()->height() <= 16 * years->view()->sizeHintForRow(0));
        QVERIFY(years->view()->viewport()->rect().contains(years->view()->visualRect(years->view()->currentIndex())));
    }

    void emptyDatabaseOpensHelpTheFirstTimeOnly() {
        frmMain* w = OpenOnEmptyDatabase();
        CheckMessage(m_dialogs->last(),
                     QStringLiteral("There are currently no personnel records on file.\r\n\r\nClick the 'Add Employee "
                                    "to the List' button\r\nwhen you're ready to add a personnel record."),
                     QStringLiteral("Database is empty"), MsgIcon::Information);
        QCOMPARE(m_helpTopic, QStringLiteral("The Employee List"));
        QVERIFY(w->EmptyListHelpShown);
        QVERIFY(!w->tabMain->isTabEnabled(1));
        QVERIFY(w->frame[2]->isHidden());
        QVERIFY(w->grid->isHidden());
        QVERIFY(!w->cmdAddEmployee->isHidden());
        for (ZelButton* b :
             {w->cmdEditEntry, w->cmdPrintEntry, w->cmdPrintList, w->cmdPrintUpdateForms, w->cmdRemoveEmployee})
            QVERIFY(b->isHidden());

        m_helpTopic.clear();
        m_dialogs->answer(MsgResult::OK);
        w->ShowEmployeeList();
        QCOMPARE(m_dialogs->calls().size(), 2);
        QTest::qWait(20);
        QVERIFY(m_helpTopic.isEmpty());
    }

    void onlyPreviousEmployeesSelectPreviousByThemselves() {
        WriteEmployees({GoneEmployee()});
        frmMain* w = OpenWindow();
        QVERIFY(w->optEmpStatus[2]->isChecked());
        QVERIFY(!w->optEmpStatus[1]->isEnabled());
        QCOMPARE(GridColumn(w, 0), QStringList{"Gone, Cy"});
        QCOMPARE(w->frame[1]->title(), QStringLiteral("Previous Employees"));
    }

    void listTypeClicksSetTheOtherOptions() {
        frmMain* w = OpenWindow();
        w->tabMain->setCurrentIndex(1);
        w->optRace[2]->click();
        w->optSex[3]->click();
        w->optEmpStatus[2]->click();
        w->optTypeList[4]->click();
        QVERIFY(w->optEmpStatus[1]->isChecked());
        QVERIFY(!w->optEmpStatus[2]->isEnabled());
        QVERIFY(w->optRace[1]->isChecked() && !w->optRace[2]->isEnabled());
        QVERIFY(w->optSex[1]->isChecked() && !w->optSex[3]->isEnabled());
        QVERIFY(!w->comboListWith->isEnabled());
        QCOMPARE(w->comboListWith->palette().color(QPalette::Base), QColor(192, 192, 192));
        QVERIFY(w->frame[9]->isHidden());
        w->optTypeList[1]->click();
        QVERIFY(w->optEmpStatus[2]->isEnabled());
        QVERIFY(w->optRace[2]->isEnabled());
        QCOMPARE(w->comboListWith->palette().color(QPalette::Base), QColor(255, 255, 0));
        QVERIFY(!w->frame[9]->isHidden());
        QCOMPARE(w->comboYear->count(), 62);
        QCOMPARE(w->comboYear->itemText(62 - 1), QString::number(QDate::currentDate().year() + 1));
        QCOMPARE(w->comboMonth->itemText(1), QStringLiteral("Jan"));
        QCOMPARE(w->comboAgeGroup->itemText(8), QStringLiteral("80's"));
        QCOMPARE(w->optTypeList[1]->text(), QStringLiteral("Alphabetical Listing,  with"));
    }

    void clearingTheSearchTextUnticksTheNotepad() {
        frmMain* w = OpenWindow();
        w->tabMain->setCurrentIndex(1);
        w->txtOther->setText(QStringLiteral("x"));
        QVERIFY(w->chkSearchNotepad->isEnabled());
        w->chkSearchNotepad->setChecked(true);
        w->txtOther->setText(QStringLiteral("   "));
        QVERIFY(!w->chkSearchNotepad->isChecked());
        QVERIFY(!w->chkSearchNotepad->isEnabled());
    }

    void highlightedRowShowsItsRecord() {
        frmMain* w = OpenWindow();
        w->grid->SetRow(3); // davis, Dee in slot 4
        QCOMPARE(w->frame[2]->title(), QStringLiteral(" Dee davis "));
        QCOMPARE(w->txtField[1]->text(), QStringLiteral("Dee"));
        QCOMPARE(w->txtField[7]->text(), QStringLiteral("01/02/1961"));
        QCOMPARE(w->txtField[22]->text(), QStringLiteral("Commendation for bravery."));
        QCOMPARE(w->lblDataInfo[1]->text(), QStringLiteral(" Record created 03/07/2010 12:00:00 "));
        QVERIFY(w->lblDataInfo[2]->isHidden());
        QVERIFY(w->optSworn[2]->isChecked() && w->optSworn[1]->isHidden());
        QVERIFY(w->optStatus[1]->isChecked() && w->optStatus[2]->isHidden());
        QVERIFY(w->txtField[21]->isHidden() && w->lblField[21]->isHidden());
        QVERIFY(!w->cmdPrintLabel->isEnabled() && !w->cmdEmail->isEnabled());
        QCOMPARE(w->cmdEmail->toolTip(), QStringLiteral(" Send email... "));
        for (int i = 1; i <= 22; ++i)
            QVERIFY(w->txtField[i]->isLocked());
        QCOMPARE(w->txtField[12]->maxLength(), 40);
        QCOMPARE(w->lblField[19]->text(), QStringLiteral("Date of Employment"));

        w->tabNameInfo->setCurrentIndex(2);
        w->txtField_MouseMove(7);
        QCOMPARE(w->txtField[7]->toolTip(), QStringLiteral("Monday"));
        w->txtField_MouseMove(20);
        QCOMPARE(w->txtField[20]->toolTip(), QString());
    }

    void previousEmployeeShowsTheInactivation() {
        frmMain* w = OpenWindow();
        WithOptions(w, [&] { w->optEmpStatus[2]->click(); });
        QCOMPARE(w->txtField[21]->text(), QStringLiteral("06/30/2004"));
        QVERIFY(!w->txtField[21]->isHidden());
        QVERIFY(w->optStatus[2]->isChecked() && !w->optStatus[2]->isHidden() && w->optStatus[1]->isHidden());
        QCOMPARE(w->lblYearsDOE->text(), QStringLiteral("(4)"));
        QVERIFY(!w->lblYearsDOI->isHidden());
    }

    // Showing never writes: a picture out of reach (a share down for a moment) is reported once, and the record,
    // even for a Read Only user, keeps its reference byte for byte; a save of an edit keeps it too.
    void missingPictureIsReportedOnceAndKept() {
        QList<PersonnelRecord> staff = Staff();
        staff[2].PicturePath = m_dir->file(QStringLiteral("gone.jpg")); // Able, Al: the first row
        staff[2].LastModified = 0;
        WriteEmployees(staff);
        const QByteArray before = readFile(DataFileName);
        CurrentAccessLevel = 1;
        m_dialogs->answer(MsgResult::OK);
        frmMain* w = OpenWindow();
        QCOMPARE(m_dialogs->calls().size(), 1);
        CheckMessage(m_dialogs->last(),
                     QStringLiteral("Can't find the picture file\r\nat the indicated location--\r\n\r\n(") +
                         m_dir->file(QStringLiteral("gone.jpg")) + QLatin1Char(')'),
                     QStringLiteral("Error loading picture"), MsgIcon::Critical);
        w->grid->SetRow(2);
        w->grid->SetRow(1);
        QCOMPARE(m_dialogs->calls().size(), 1);
        QCOMPARE(readFile(DataFileName), before);
        QCOMPARE(w->HeldPicturePath(), m_dir->file(QStringLiteral("gone.jpg")));

        CurrentAccessLevel = 2;
        w->cmdEditEntry_Click();
        w->txtField[18]->setText(QStringLiteral("Captain"));
        w->cmdAddEditSave_Click();
        QCOMPARE(ReadEmployee(3).JobTitle, QStringLiteral("Captain"));
        QCOMPARE(ReadEmployee(3).PicturePath, m_dir->file(QStringLiteral("gone.jpg")));
    }

    void pictureFitsTheFrame() {
        const QString path = Picture(QStringLiteral("wide.png"), 40, 20);
        QVERIFY(!path.isEmpty());
        QList<PersonnelRecord> staff = Staff();
        staff[2].PicturePath = path;
        WriteEmployees(staff);
        CurrentAccessLevel = 2;
        frmMain* w = OpenWindow();
        QCOMPARE(w->HeldPicturePath(), path);
        QCOMPARE(w->imgPicture->width(), TwipsToPixels(3480, w));
        QCOMPARE(w->imgPicture->height(), TwipsToPixels(1740, w));
        QVERIFY(w->cmdPicAddEdit[1]->isHidden());
        QVERIFY(!w->cmdPicAddEdit[2]->isHidden() && w->cmdPicAddEdit[2]->isEnabled());
        QVERIFY(!w->cmdPicPrint->isHidden());
        QVERIFY(!w->cmdPicDelete->isHidden() && !w->cmdPicDelete->isEnabled());
        QVERIFY(w->lblPicture->isHidden());
    }

    // The print commands hand over what the window shows: the list as the grid holds it under its heading, and
    // the highlighted employee.
    void printCommandsPrintWhatIsShown() {
        RecordPrinters();
        const auto printed = [this] {
            QStringList texts;
            for (const RecordingPrinter::Text& t : m_printers.last()->texts)
                texts << t.text;
            return texts;
        };
        PrinterReadyConfirmed = true;
        frmMain* w = OpenWindow();
        w->cmdPrintList_Click();
        QCOMPARE(m_printers.size(), 1);
        for (const QString& expected : {QStringLiteral("Printout of Current Employees"), QStringLiteral("Able, Al"),
                                        QStringLiteral("davis, Dee"), QStringLiteral("Job Title")})
            QVERIFY2(printed().contains(expected), qPrintable(expected));
        QVERIFY(!printed().contains(QStringLiteral("*"))); // the alphabetical list's hidden filler

        w->grid->SetRow(3);
        m_dialogs->answer(MsgResult::No); // the notepad's comments
        w->cmdPrintEntry_Click();
        QCOMPARE(m_dialogs->last().text, QStringLiteral("Print the 'Comments' section also?"));
        QCOMPARE(m_printers.size(), 2);
        QVERIFY(printed().join(QLatin1Char('|')).contains(QStringLiteral("davis")));
        QVERIFY(!printed().join(QLatin1Char('|')).contains(QStringLiteral("Able")));
    }

    void addressLabelStartsFromTheShownRecord() {
        QList<PersonnelRecord> staff = Staff();
        staff[2].StreetAddress = QStringLiteral("12 Elm Street");
        staff[2].CityStateZip = QStringLiteral("Springfield, IL 62704");
        WriteEmployees(staff);
        frmMain* w = OpenWindow();
        QVERIFY(w->cmdPrintLabel->isEnabled());
        QStringList lines;
        std::unique_ptr<QTimer> closer(whenModalAppears([&lines](QWidget* modal) {
            if (auto* label = qobject_cast<frmPrintLabel*>(modal))
                lines = label->LabelLines();
            modal->close();
        }));
        w->cmdPrintLabel_Click();
        QCOMPARE(lines, (QStringList{"Al Able", "12 Elm Street", "Springfield, IL 62704", ""}));
    }

    void aRebuildKeepsTheRowAndTheTop() {
        QList<PersonnelRecord> many;
        for (int i = 0; i < 60; ++i)
            many << Employee(QStringLiteral("N%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("Name"));
        WriteEmployees(many);
        frmMain* w = OpenWindow();
        w->KeepRow = 40;
        w->KeepTopRow = 30;
        w->ShowEmployeeList();
        QTest::qWait(20);
        QCOMPARE(w->grid->Row(), 40);
        QCOMPARE(w->grid->TopRow(), 30);
        QCOMPARE(w->txtField[1]->text(), QStringLiteral("N39"));
        w->KeepRow = 99;
        w->KeepTopRow = 99;
        w->ShowEmployeeList();
        QCOMPARE(w->grid->Row(), 60);
        // A just-added employee is highlighted wherever the sort puts it.
        w->KeepRow = w->KeepTopRow = 0;
        w->NewRecordNumber = 7;
        w->ShowEmployeeList();
        QCOMPARE(w->grid->TextMatrix(w->grid->Row(), 3), QStringLiteral("7"));
    }
};

QTEST_MAIN(tst_frmMainList)
#include "tst_frmmainlist.moc"
