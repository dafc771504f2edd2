#include "FileSizeLimit.h"
#include "MainWindowTestSupport.h"
#include "ScriptedDialogs.h"
#include "TempWorkDir.h"

#include "core/base/AppGlobals.h"
#include "core/base/FileError.h"
#include "core/store/FolderStore.h"
#include "core/store/PersonnelStore.h"
#include "core/users/UserList.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/Navigation.h"
#include "ui/common/WindowGeometry.h"
#include "ui/controls/ZelButton.h"
#include "ui/main/EmployeeGrid.h"
#include "ui/main/EntryField.h"
#include "ui/main/frmMain.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <memory>

namespace {

// The folder, as a store shared with another desk finds it: whoever saves or removes, somebody else was first
// (and, with removedThere, removed the employee). Nothing is written.
class OvertakenFolder : public FolderStore {
public:
    explicit OvertakenFolder(bool removedThere) : m_removedThere(removedThere) {}
    void Update(RecordKey, const PersonnelRecord&, qint64) override { overtaken(); }
    RemovalResult Remove(RecordKey, const QString&, qint64) override { overtaken(); }
    static QString Text() { return QStringLiteral("Kim Osei changed this employee at 10:42 at another desk."); }

private:
    [[noreturn]] void overtaken() {
        if (m_removedThere)
            WriteEmployees({Employee(QStringLiteral("Bo"), QStringLiteral("Baker")), GoneEmployee()});
        throw StoreConflict(Text(), QStringLiteral("Kim Osei"), QDateTime::currentDateTime(), m_removedThere);
    }
    bool m_removedThere;
};

} // namespace

// Adding and editing employees in the main window, on real data files and through the scripted dialogs.
class tst_frmMainEntry : public MainWindowTest {
    Q_OBJECT

private:
    int m_endCalls = 0;

    static void Type(frmMain* w, int field, const QString& text) { w->txtField[field]->setText(text); }

    // The required fields of a new employee, as a clerk types them.
    static void TypeNewEmployee(frmMain* w) {
        Type(w, 1, QStringLiteral("Maria"));
        Type(w, 3, QStringLiteral("Zamora"));
        Type(w, 5, QStringLiteral("h"));
        Type(w, 6, QStringLiteral("f"));
        Type(w, 7, QStringLiteral("4/15/1988"));
        Type(w, 19, QStringLiteral("6/1/2015"));
    }

    // A new entry with its required fields typed, or an edit of the shown record with one field changed.
    static void StartEntry(frmMain* w, bool adding, int field, const QString& text) {
        if (adding) {
            w->cmdAddEmployee_Click();
            TypeNewEmployee(w);
        } else {
            w->cmdEditEntry_Click();
            Type(w, field, text);
        }
    }

    static QString GridName(const frmMain* w) { return w->grid->TextMatrix(w->grid->Row(), 0); }

    static QColor CaptionColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

private slots:
    void initTestCase() {
        InitProgramValues();
        SetApplicationEndHook([this] { ++m_endCalls; });
    }

    void init() {
        StartMainWindowTest(4);
        m_endCalls = 0;
        WriteEmployees({Employee(QStringLiteral("Bo"), QStringLiteral("Baker")), GoneEmployee(),
                        Employee(QStringLiteral("Al"), QStringLiteral("Able"))});
    }

    void cleanup() { EndMainWindowTest(); }

    // Add mode takes the list away and shortens the window; cancelling puts everything back and writes nothing.
    void addModeAndItsCancel() {
        frmMain* w = OpenWindow();
        const QByteArray before = readFile(DataFileName);
        const int height = w->height();
        const int listHeight = w->frame[1]->height();
        const int tabHeight = w->tabMain->height();
        const QRect details = w->frame[2]->geometry();
        w->cmdAddEmployee->click();

        QVERIFY(w->Adding);
        QVERIFY(w->frame[1]->isHidden());
        QCOMPARE(w->height(), height - listHeight);
        QCOMPARE(w->tabMain->height(), tabHeight - listHeight);
        QCOMPARE(w->frame[2]->y(), w->frame[1]->y());
        QCOMPARE(w->y(), w->screen()->geometry().y() + (w->screen()->geometry().height() - w->height()) / 2);
        QCOMPARE(w->tabMain->tabText(0), QStringLiteral("New Entry"));
        QVERIFY(!w->tabMain->isTabEnabled(1));
        QCOMPARE(w->frame[2]->title(), QString());
        QCOMPARE(w->cmdAddEditSave->Caption(), QStringLiteral("&Save this\r\nnew entry"));
        QVERIFY(!w->cmdAddEditSave->isEnabled() && !w->cmdAddEditSave->isHidden());
        QCOMPARE(w->cmdAddEditCancel->Caption(), QStringLiteral("&Cancel this\r\nnew entry"));
        QCOMPARE(w->lblField[1]->text(), QStringLiteral("First Name            (red = required entry)"));
        for (int i = 1; i <= FieldCount; ++i) {
            QVERIFY(!w->txtField[i]->isLocked());
            QCOMPARE(w->txtField[i]->text(), QString());
            QCOMPARE(CaptionColour(w->lblField[i]) == QColor(192, 0, 0), IsRequiredField(i));
        }
        QCOMPARE(w->txtField[1]->Tag, QStringLiteral("Al")); // the text shown before the add
        QVERIFY(w->optSworn[1]->isChecked() && !w->optSworn[2]->isHidden());
        QVERIFY(w->optStatus[1]->isChecked() && w->optStatus[2]->isHidden());
        QVERIFY(w->txtField[21]->isHidden() && w->lblField[21]->isHidden());
        for (QWidget* hidden : {static_cast<QWidget*>(w->lblDataInfo[1]), static_cast<QWidget*>(w->cmdPrintLabel),
                                static_cast<QWidget*>(w->cmdEmail), static_cast<QWidget*>(w->cmdEditEntry),
                                static_cast<QWidget*>(w->cmdPrintEntry), static_cast<QWidget*>(w->lblYearsDOB)})
            QVERIFY(hidden->isHidden());
        QVERIFY(!w->cmdAdminWindow->isEnabled() && !w->cmdBackupRestore->isEnabled());
        QVERIFY(!w->cmdPicAddEdit[1]->isHidden() && w->cmdPicDelete->isHidden());
        QCOMPARE(w->HeldPicturePath(), QString());
        QCOMPARE(w->tabNameInfo->currentIndex(), 0);

        Type(w, 1, QStringLiteral("Maria"));
        w->cmdAddEditCancel->click();
        QVERIFY(!w->Adding);
        QCOMPARE(w->height(), height);
        QCOMPARE(w->tabMain->height(), tabHeight);
        QCOMPARE(w->frame[2]->geometry(), details);
        QVERIFY(!w->frame[1]->isHidden());
        QCOMPARE(w->tabMain->tabText(0), QStringLiteral("Employee List"));
        QVERIFY(w->tabMain->isTabEnabled(1));
        QCOMPARE(w->lblField[1]->text(), QStringLiteral("First Name"));
        QCOMPARE(CaptionColour(w->lblField[1]), w->palette().color(QPalette::ButtonText));
        QVERIFY(w->txtField[1]->isLocked());
        QVERIFY(w->cmdAddEditSave->isHidden() && w->cmdAddEditCancel->isHidden());
        QVERIFY(w->cmdAdminWindow->isEnabled() && w->cmdBackupRestore->isEnabled());
        QVERIFY(!w->cmdEditEntry->isHidden());
        // The record is shown again from the file; nothing typed was kept or written.
        QCOMPARE(w->txtField[1]->text(), QStringLiteral("Al"));
        QCOMPARE(readFile(DataFileName), before);
        QVERIFY(m_dialogs->calls().isEmpty());
    }

    // The save button waits for every required field; blanks alone do not count. The notepad shows its gauge.
    void entryEvents() {
        frmMain* w = OpenWindow();
        w->cmdAddEmployee_Click();
        TypeNewEmployee(w);
        QVERIFY(w->cmdAddEditSave->isEnabled());
        for (int field : RequiredFields) {
            const QString text = w->txtField[field]->text();
            Type(w, field, QStringLiteral("   "));
            QVERIFY2(!w->cmdAddEditSave->isEnabled(), qPrintable(QString::number(field)));
            Type(w, field, text);
            QVERIFY(w->cmdAddEditSave->isEnabled());
        }
        // The add caption of the cancel button stays.
        QCOMPARE(w->cmdAddEditCancel->Caption(), QStringLiteral("&Cancel this\r\nnew entry"));

        Type(w, 22, QStringLiteral("x"));
        QVERIFY(!w->lblSpaceFull->isHidden());
        QCOMPARE(w->lblSpaceFull->text(), QStringLiteral(" 1% full "));
        Type(w, 22, QString());
        QVERIFY(w->lblSpaceFull->isHidden());

        w->txtField_GotFocus(3);
        QCOMPARE(w->txtField[3]->backColor(), QColor(255, 255, 0));
        w->txtField_LostFocus(3);
        QCOMPARE(w->txtField[3]->backColor(), QColor(0, 255, 255));
        w->cmdAddEditCancel_Click();
        // Viewing again: the fields lose the entry colours and the gauge, and the events do nothing.
        QVERIFY(w->txtField[3]->backColor() != QColor(0, 255, 255));
        w->txtField_GotFocus(3);
        QVERIFY(w->txtField[3]->backColor() != QColor(255, 255, 0));
        QVERIFY(w->lblSpaceFull->isHidden());
    }

    // A new employee is written after the last slot, stamped, and becomes the highlighted row of a list whose
    // options went back to their defaults.
    void addingWritesANewSlotAndHighlightsIt() {
        frmMain* w = OpenWindow();
        w->tabMain->setCurrentIndex(1);
        w->optRace[2]->setChecked(true);
        w->optEmpSworn[2]->setChecked(true);
        w->comboMonth->setCurrentIndex(7); // Jul, when Bo Baker was employed
        w->txtOther->setText(QStringLiteral("Baker"));
        w->tabMain->setCurrentIndex(0);
        QCOMPARE(w->grid->Rows(), 2);

        w->cmdAddEmployee_Click();
        TypeNewEmployee(w);
        Type(w, 2, QStringLiteral("Luisa"));
        Type(w, 22, QStringLiteral("Academy class of 2015."));
        w->optSworn[2]->setChecked(true);
        const double before = NowOADate();
        w->cmdAddEditSave->click();
        const double after = NowOADate();

        QVERIFY(m_dialogs->calls().isEmpty());
        QVERIFY(!w->Adding);
        const PersonnelRecord r = ReadEmployee(4);
        QCOMPARE(RecordCount, 4);
        QCOMPARE(r.FirstName, QStringLiteral("Maria"));
        QCOMPARE(r.MiddleName, QStringLiteral("Luisa"));
        QCOMPARE(r.Race, QStringLiteral("H"));
        QCOMPARE(r.Sex, QStringLiteral("F"));
        QCOMPARE(r.DateOfBirth, Day(1988, 4, 15));
        QCOMPARE(r.DateOfEmployment, Day(2015, 6, 1));
        QCOMPARE(r.Notepad, QStringLiteral("Academy class of 2015."));
        QCOMPARE(r.Sworn, qint16(0));
        QCOMPARE(r.InactivationDate, 0.0);
        QVERIFY(r.RecordCreated >= before && r.RecordCreated <= after);
        QCOMPARE(r.LastModified, 0.0);
        QCOMPARE(r.DataVersion, qint16(312));
        QCOMPARE(ReadEmployee(1).FirstName, QStringLiteral("Bo")); // the others are untouched

        QVERIFY(w->optRace[1]->isChecked() && w->optEmpSworn[1]->isChecked() && w->optEmpStatus[1]->isChecked());
        QCOMPARE(w->comboMonth->currentIndex(), 0);
        QCOMPARE(w->txtOther->text(), QString());
        QCOMPARE(w->grid->Rows(), 4);
        QCOMPARE(GridName(w), QStringLiteral("Zamora, Maria"));
        QCOMPARE(w->lblDataInfo[1]->text().left(16), QStringLiteral(" Record created "));
        QVERIFY(w->lblDataInfo[2]->isHidden());
        QCOMPARE(w->NewRecordNumber, 0);
        QCOMPARE(w->KeepRow, 0);
    }

    // The first employee of an empty database is entered in the details frame, which was hidden.
    void firstEmployeeOfAnEmptyDatabase() {
        frmMain* w = OpenOnEmptyDatabase();
        QVERIFY(w->frame[2]->isHidden());
        w->cmdAddEmployee_Click();
        QVERIFY(!w->frame[2]->isHidden());
        TypeNewEmployee(w);
        w->cmdAddEditSave_Click();
        QCOMPARE(w->grid->Rows(), 2);
        QCOMPARE(GridName(w), QStringLiteral("Zamora, Maria"));
        QCOMPARE(ReadEmployee(1).Sworn, qint16(-1));
    }

    // A failed check shows its message, rewrites what it checked, keeps the mode and writes nothing.
    void failedCheckStaysInAddMode() {
        frmMain* w = OpenWindow();
        const QByteArray before = readFile(DataFileName);
        w->cmdAddEmployee_Click();
        TypeNewEmployee(w);
        Type(w, 8, QStringLiteral(" 123-45 "));
        m_dialogs->answer(MsgResult::OK);
        w->cmdAddEditSave_Click();
        QCOMPARE(m_dialogs->calls().size(), 1);
        CheckMessage(m_dialogs->last(),
                     QStringLiteral("Check the Social Security entry\r\n\r\n(Use a '123-45-6789' format)"),
                     QStringLiteral("Error"), MsgIcon::Critical);
        QVERIFY(w->Adding);
        QCOMPARE(w->txtField[5]->text(), QStringLiteral("H"));
        QCOMPARE(w->txtField[8]->text(), QStringLiteral("123-45"));
        QCOMPARE(readFile(DataFileName), before);
        w->cmdAddEditCancel_Click();
    }

    // Each status question with its answers: what is asked, in which words, and what the edit stores.
    void editStatusQuestions_data() {
        QTest::addColumn<int>("slot");            // 1 current and sworn, 2 previous
        QTest::addColumn<int>("option");          // the option button clicked: 1-2 sworn, 3-4 status
        QTest::addColumn<QStringList>("answers"); // "Yes", "No", or text for the inactivation box ("" cancels)
        QTest::addColumn<int>("inputs");          // inactivation boxes shown
        QTest::addColumn<int>("sworn");
        QTest::addColumn<double>("inactivation");
        const double left = Day(2004, 6, 30);
        QTest::newRow("sworn drop, yes") << 1 << 2 << QStringList{"Yes"} << 0 << 0 << 0.0;
        QTest::newRow("sworn drop, no") << 1 << 2 << QStringList{"No"} << 0 << -1 << 0.0;
        QTest::newRow("inactivation, yes, a date")
            << 1 << 4 << QStringList{"Yes", "11/30/2026"} << 1 << -1 << Day(2026, 11, 30);
        QTest::newRow("inactivation, yes, asked again")
            << 1 << 4 << QStringList{"Yes", "banana", "13/45/2026", "11/30/2026"} << 3 << -1 << Day(2026, 11, 30);
        QTest::newRow("inactivation, yes, cancelled") << 1 << 4 << QStringList{"Yes", ""} << 1 << -1 << 0.0;
        QTest::newRow("inactivation, no") << 1 << 4 << QStringList{"No"} << 0 << -1 << 0.0;
        QTest::newRow("reactivation, yes") << 2 << 3 << QStringList{"Yes"} << 0 << -1 << 0.0;
        QTest::newRow("reactivation, no") << 2 << 3 << QStringList{"No"} << 0 << -1 << left;
    }

    void editStatusQuestions() {
        QFETCH(int, slot);
        QFETCH(int, option);
        QFETCH(QStringList, answers);
        QFETCH(int, inputs);
        QFETCH(int, sworn);
        QFETCH(double, inactivation);
        frmMain* w = OpenWindow();
        if (slot == 2) {
            w->tabMain->setCurrentIndex(1);
            w->optEmpStatus[2]->setChecked(true);
            w->tabMain->setCurrentIndex(0);
        }
        QCOMPARE(w->HighlightedSlot(), slot == 1 ? 3 : 2);
        const PersonnelRecord stored = ReadEmployee(w->HighlightedSlot());
        w->cmdEditEntry->click();
        QVERIFY(w->Editing);
        QCOMPARE(w->cmdAddEditSave->Caption(), QStringLiteral("&Save\r\nchanges"));
        QCOMPARE(w->cmdAddEditCancel->Caption(), QStringLiteral("&Cancel\r\nthis edit"));
        QVERIFY(!w->frame[1]->isEnabled() && !w->frame[1]->isHidden());
        for (QRadioButton* b : {w->optSworn[1], w->optSworn[2], w->optStatus[1], w->optStatus[2]})
            QVERIFY(!b->isHidden());
        QVERIFY(!w->cmdAddEditSave->isEnabled());

        (option <= 2 ? w->optSworn[option] : w->optStatus[option - 2])->click();
        QCOMPARE(w->cmdAddEditCancel->Caption(), QStringLiteral("&Cancel Changes"));
        QVERIFY(w->cmdAddEditSave->isEnabled());
        for (const QString& answer : answers) {
            if (answer == QLatin1String("Yes"))
                m_dialogs->answer(MsgResult::Yes);
            else if (answer == QLatin1String("No"))
                m_dialogs->answer(MsgResult::No);
            else
                m_dialogs->answerText(answer);
        }
        const double before = NowOADate();
        w->cmdAddEditSave_Click();

        const QList<ScriptedDialogs::Call>& calls = m_dialogs->calls();
        QCOMPARE(calls.size(), 1 + inputs);
        QCOMPARE(calls[0].icon, MsgIcon::Question);
        QCOMPARE(calls[0].buttons, MsgButtons::YesNo);
        QVERIFY(calls[0].text.startsWith(QStringLiteral("You have changed this employee's status\r\nfrom a '")));
        QCOMPARE(calls[0].title, option <= 2 ? QStringLiteral("Confirm Employee's Sworn Status Change")
                                             : QStringLiteral("Confirm Employee Status Change"));
        for (int i = 1; i <= inputs; ++i) {
            QCOMPARE(calls[i].kind, ScriptedDialogs::Kind::Input);
            QCOMPARE(calls[i].title, QStringLiteral("Inactivation Date"));
            QCOMPARE(calls[i].text, QStringLiteral("Enter the date of\r\nINactivation for this employee..."));
            QCOMPARE(calls[i].defaultText, QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy")));
        }
        const PersonnelRecord r = ReadEmployee(slot == 1 ? 3 : 2);
        QCOMPARE(r.Sworn, qint16(sworn));
        QCOMPARE(r.InactivationDate, inactivation);
        QVERIFY(r.LastModified >= before);
        QCOMPARE(r.RecordCreated, stored.RecordCreated);
        QVERIFY(!w->Editing);
        QVERIFY(w->frame[1]->isEnabled());
    }

    // An edit keeps the highlighted row and the first visible row; cancelling writes nothing.
    void editKeepsTheRowAndCancelWritesNothing() {
        QList<PersonnelRecord> staff;
        for (int i = 1; i <= 60; ++i)
            staff << Employee(QStringLiteral("First"), QStringLiteral("Name%1").arg(i, 2, 10, QLatin1Char('0')));
        WriteEmployees(staff);
        frmMain* w = OpenWindow();
        w->grid->SetRow(40);
        w->grid->SetTopRow(30);
        QCOMPARE(w->grid->TopRow(), 30);
        const QByteArray before = readFile(DataFileName);

        w->cmdEditEntry_Click();
        Type(w, 18, QStringLiteral("Lieutenant"));
        w->cmdAddEditCancel_Click();
        QCOMPARE(readFile(DataFileName), before);
        QCOMPARE(w->grid->Row(), 40);
        QCOMPARE(w->grid->TopRow(), 30);
        QCOMPARE(w->txtField[18]->text(), QStringLiteral("Sergeant"));

        w->cmdEditEntry_Click();
        Type(w, 18, QStringLiteral("Lieutenant"));
        Type(w, 4, QStringLiteral(" Jr"));
        w->cmdAddEditSave_Click();
        QVERIFY(m_dialogs->calls().isEmpty());
        QCOMPARE(w->grid->Row(), 40);
        QCOMPARE(w->grid->TopRow(), 30);
        QCOMPARE(GridName(w), QStringLiteral("Name40, First"));
        QCOMPARE(w->grid->TextMatrix(40, 1), QStringLiteral("Lieutenant"));
        const PersonnelRecord r = ReadEmployee(40);
        QCOMPARE(r.JobTitle, QStringLiteral("Lieutenant"));
        QCOMPARE(r.Suffix, QStringLiteral("Jr"));
        QVERIFY(r.LastModified > 0);
        QVERIFY(!w->lblDataInfo[2]->isHidden());
        QCOMPARE(w->KeepRow, 0);
        QCOMPARE(w->KeepTopRow, 0);
    }

    // Another program rewrote the file under the form: the edit is not written into whoever holds the slot now;
    // the clerk is told, the list is rebuilt, and the typed entry stays on the form.
    void saveChecksTheSlotStillHoldsTheEmployeeShown_data() {
        QTest::addColumn<bool>("sameName"); // with another creation stamp
        QTest::newRow("another employee in the slot") << false;
        QTest::newRow("same name, another creation stamp") << true;
    }
    void saveChecksTheSlotStillHoldsTheEmployeeShown() {
        QFETCH(bool, sameName);
        frmMain* w = OpenWindow();
        QCOMPARE(GridName(w), QStringLiteral("Able, Al")); // slot 3
        PersonnelRecord third = Employee(sameName ? QStringLiteral("Al") : QStringLiteral("José"),
                                         sameName ? QStringLiteral("Able") : QStringLiteral("Jackson"));
        third.RecordCreated += 1;
        WriteEmployees({Employee(QStringLiteral("Bo"), QStringLiteral("Baker")), GoneEmployee(), third});
        const QByteArray before = readFile(DataFileName);
        w->cmdEditEntry_Click();
        Type(w, 18, QStringLiteral("Captain"));
        m_dialogs->answer(MsgResult::OK);
        w->cmdAddEditSave_Click();
        QCOMPARE(m_dialogs->calls().size(), 1);
        CheckMessage(m_dialogs->last(), frmMain::NotSavedText(QStringLiteral("Able, Al"), true),
                     QStringLiteral("Employee Not Saved"), MsgIcon::Critical);
        QCOMPARE(readFile(DataFileName), before);
        QVERIFY(w->Editing);
        QCOMPARE(w->txtField[18]->text(), QStringLiteral("Captain"));
        QCOMPARE(GridColumn(w, 0).contains(QStringLiteral("Jackson, José")), !sameName);
    }

    // A save or removal refused by the store because another desk got there first: the store's text is the whole
    // message, the form leaves the edit and shows the employee as now stored, and nothing is written.
    void overtakenSaveOrRemovalShowsTheStoredEmployee_data() {
        QTest::addColumn<bool>("removing");
        QTest::addColumn<bool>("removedThere");
        QTest::addColumn<QString>("title");
        QTest::newRow("save, changed there") << false << false << QStringLiteral("Employee Not Saved");
        QTest::newRow("save, removed there") << false << true << QStringLiteral("Employee Not Saved");
        QTest::newRow("removal, changed there") << true << false << QStringLiteral("Employee Not Removed");
    }
    void overtakenSaveOrRemovalShowsTheStoredEmployee() {
        QFETCH(bool, removing);
        QFETCH(bool, removedThere);
        QFETCH(QString, title);
        frmMain* w = OpenWindow();
        QCOMPARE(GridName(w), QStringLiteral("Able, Al"));
        SetActiveStore(std::make_unique<OvertakenFolder>(removedThere));
        const QString stored = w->txtField[18]->text();
        const QByteArray before = readFile(DataFileName);
        if (removing) {
            m_dialogs->answer(MsgResult::Yes);
            m_dialogs->answer(MsgResult::OK);
            w->cmdRemoveEmployee_Click();
        } else {
            w->cmdEditEntry_Click();
            Type(w, 18, QStringLiteral("Captain"));
            m_dialogs->answer(MsgResult::OK);
            w->cmdAddEditSave_Click();
        }
        SetActiveStore(nullptr);
        CheckMessage(m_dialogs->last(), OvertakenFolder::Text(), title, MsgIcon::Critical);
        QVERIFY(!w->Editing);
        QCOMPARE(GridColumn(w, 0).contains(QStringLiteral("Able, Al")), !removedThere);
        if (!removedThere) {
            QCOMPARE(readFile(DataFileName), before);
            QCOMPARE(GridName(w), QStringLiteral("Able, Al"));
            QCOMPARE(w->txtField[18]->text(), stored);
        }
        QVERIFY(ReadChangeLog(ChangeLogPath()).isEmpty());
    }

    // Closing from the title bar during an entry asks the quit question; Yes ends the program and writes no record.
    void closingDuringAnEntryDiscardsIt_data() {
        QTest::addColumn<bool>("adding");
        QTest::newRow("add") << true;
        QTest::newRow("edit") << false;
    }

    void closingDuringAnEntryDiscardsIt() {
        QFETCH(bool, adding);
        frmMain* w = OpenWindow();
        const QByteArray before = readFile(DataFileName);
        StartEntry(w, adding, 1, QStringLiteral("Alfred"));
        m_dialogs->answer(MsgResult::No);
        w->close();
        QTRY_COMPARE(m_dialogs->calls().size(), 1);
        QCOMPARE(m_dialogs->last().title, QStringLiteral("Exit Vardel?"));
        QVERIFY(adding ? w->Adding : w->Editing);
        QCOMPARE(m_endCalls, 0);

        m_dialogs->answer(MsgResult::Yes);
        w->close();
        QTRY_COMPARE(m_endCalls, 1);
        QCOMPARE(readFile(DataFileName), before);
    }

    // Esc during an entry runs its Cancel, without the quit question.
    void escapeCancelsAnEntry_data() { closingDuringAnEntryDiscardsIt_data(); }
    void escapeCancelsAnEntry() {
        QFETCH(bool, adding);
        frmMain* w = OpenWindow();
        const QByteArray before = readFile(DataFileName);
        StartEntry(w, adding, 1, QStringLiteral("Alfred"));
        QTest::keyClick(w->txtField[1], Qt::Key_Escape);
        QTRY_VERIFY(!w->Adding && !w->Editing);
        QCOMPARE(readFile(DataFileName), before);
    }

    // Keyboard: the edit command's access key, the first field of the page shown taking the focus, and Save by
    // its access key once something changed.
    void editByKeyboard() {
        frmMain* w = OpenWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->tabNameInfo->setCurrentIndex(2);
        QTest::keyClick(w, Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(w->Editing);
        QCOMPARE(QApplication::focusWidget(), w->txtField[19]->focusProxy());
        QCOMPARE(w->txtField[19]->backColor(), QColor(255, 255, 0));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QTest::keyClick(w, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(!w->Editing);
        QVERIFY(ReadEmployee(3).LastModified > 0);
    }

    // Keyboard alone: the add command's access key, Tab from the last field of a page on to the next page, and on
    // "Job Info" from the dates on to the status and sworn options, where an arrow key chooses "Non-sworn".
    void addByKeyboard() {
        frmMain* w = OpenWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(w->Adding);
        QCOMPARE(QApplication::focusWidget(), w->txtField[1]->focusProxy());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Maria"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->txtField[2]->focusProxy());
        QCOMPARE(w->txtField[1]->text(), QStringLiteral("Maria"));
        // 11 to 12 and 16 to 17 on the next page; 20 (21 is hidden) to the status option, then the sworn one.
        const QList<std::pair<QWidget*, QWidget*>> steps = {
            {w->txtField[11]->focusProxy(), w->txtField[12]->focusProxy()},
            {w->txtField[16]->focusProxy(), w->txtField[17]->focusProxy()},
            {w->txtField[20]->focusProxy(), w->optStatus[1]},
            {w->optStatus[1], w->optSworn[1]}};
        for (const auto& [from, to] : steps) {
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), to);
        }
        // An arrow key chooses "Non-sworn"; Tab goes on to the next page.
        QTest::keyClick(w->optSworn[1], Qt::Key_Down);
        QVERIFY(w->optSworn[2]->isChecked());
        QTest::keyClick(w->optSworn[2], Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->txtField[22]->focusProxy());
        w->cmdAddEditCancel_Click();
    }

    // With fading on, the mode changes still end in their layouts and the save still happens.
    void fadingAddAndCancel() {
        frmMain* w = OpenFadingWindow();
        QCOMPARE(FadeOn, qint16(-1));
        const int height = w->height();
        w->cmdAddEmployee_Click();
        QVERIFY(!w->fade()->IsFading());
        QVERIFY(w->frame[1]->isHidden());
        TypeNewEmployee(w);
        w->cmdAddEditSave_Click();
        QVERIFY(!w->fade()->IsFading());
        QCOMPARE(w->height(), height);
        QCOMPARE(GridName(w), QStringLiteral("Zamora, Maria"));
        QCOMPARE(w->windowOpacity(), 1.0);
    }

    // A save whose write fails ends with the system's reason, and the data file holds its old records whole.
    void failedWriteLeavesTheFileWhole_data() {
        QTest::addColumn<bool>("adding");
        QTest::newRow("new slot") << true;
        QTest::newRow("edited slot") << false;
    }

    void failedWriteLeavesTheFileWhole() {
        QFETCH(bool, adding);
        frmMain* w = OpenWindow();
        const QByteArray before = readFile(DataFileName);
        // An edit of the last slot, so that the limit falls inside it.
        StartEntry(w, adding, 18, QStringLiteral("Lieutenant"));
        QString reason;
        {
            // The file may not grow, and for the edit it cannot be written past the middle of the last slot.
            const FileSizeLimit limit(adding ? before.size() + 2000 : before.size() - 2000);
            try {
                w->cmdAddEditSave_Click();
            } catch (const FileError& error) {
                reason = error.text();
            }
        }
        CloseDataFile();
        QCOMPARE(reason, QStringLiteral("Vardel.Data: File too large"));
        QCOMPARE(readFile(DataFileName), before);
    }
};

QTEST_MAIN(tst_frmMainEntry)
#include "tst_frmmainentry.moc"
