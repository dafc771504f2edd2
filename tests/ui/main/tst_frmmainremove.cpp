#include "MainWindowTestSupport.h"
#include "ScriptedDialogs.h"
#include "TempWorkDir.h"

#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/WindowGeometry.h"
#include "ui/controls/ZelButton.h"
#include "core/base/FixedRecordFile.h"
#include "ui/main/EmployeeGrid.h"
#include "ui/main/EntryField.h"
#include "core/record/PictureFile.h"
#include "ui/main/frmLargePic.h"
#include "ui/main/frmMain.h"
#include "ui/common/Navigation.h"

#include <QDir>
#include <QGroupBox>
#include <QPointer>
#include <QtTest>
#include <memory>

// The main window's removal of an employee, the picture on the "Photo" page with the picture window, and e-mail,
// on real data files through the scripted dialogs service.
class tst_frmMainRemove : public MainWindowTest {
    Q_OBJECT

private:
    // Listed as Able, Al (slot 3); Baker, Bo (slot 1); davis, Dee (slot 4). Gone, Cy (slot 2) has left.
    static QList<PersonnelRecord> Staff() {
        return {Employee(QStringLiteral("Bo"), QStringLiteral("Baker")), GoneEmployee(),
                Employee(QStringLiteral("Al"), QStringLiteral("Able")),
                Employee(QStringLiteral("Dee"), QStringLiteral("davis"))};
    }

    // Able, Al (the first row) with a landscape picture of 600 x 400 pixels.
    QString StaffWithPicture() {
        const QString path = Picture(QStringLiteral("able.png"), 600, 400);
        QList<PersonnelRecord> staff = Staff();
        staff[2].PicturePath = path;
        WriteEmployees(staff);
        return path;
    }

    RecordingPrinter& LastPrinter() { return *m_printers.last(); }

    static void CheckQuestion(const ScriptedDialogs::Call& call, const QString& text, const QString& title) {
        QCOMPARE(call.kind, ScriptedDialogs::Kind::Message);
        CheckMessage(call, text, title, MsgIcon::Question, MsgButtons::YesNo);
        QCOMPARE(call.defaultButton, MsgResult::No);
    }

private slots:
    void initTestCase() {
        InitProgramValues();
        SetApplicationEndHook([] {});
    }

    void init() {
        StartMainWindowTest(4);
        PrintPictureOnOpen = false;
        WriteEmployees(Staff());
        RecordPrinters();
    }

    void cleanup() {
        PrintPictureOnOpen = false;
        EndMainWindowTest();
    }

    // --- Removing an employee ---

    void removalAsksThenTheListFollows_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("slotTexts");
        QTest::addColumn<int>("highlighted");
        QTest::addColumn<QStringList>("stored"); // last names, slot 1 first
        QTest::newRow("no") << 2 << int(MsgResult::No) << QStringList{"Able, Al", "Baker, Bo", "davis, Dee"}
                            << QStringList{"3", "1", "4"} << 2 << QStringList{"Baker", "Gone", "Able", "davis"};
        QTest::newRow("yes, a middle row") << 2 << int(MsgResult::Yes) << QStringList{"Able, Al", "davis, Dee"}
                                           << QStringList{"2", "3"} << 2 << QStringList{"Gone", "Able", "davis"};
        QTest::newRow("yes, the last row") << 3 << int(MsgResult::Yes) << QStringList{"Able, Al", "Baker, Bo"}
                                           << QStringList{"3", "1"} << 2 << QStringList{"Baker", "Gone", "Able"};
        QTest::newRow("yes, the first row") << 1 << int(MsgResult::Yes) << QStringList{"Baker, Bo", "davis, Dee"}
                                            << QStringList{"1", "3"} << 1 << QStringList{"Baker", "Gone", "davis"};
    }

    void removalAsksThenTheListFollows() {
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(QStringList, names);
        QFETCH(QStringList, slotTexts);
        QFETCH(int, highlighted);
        QFETCH(QStringList, stored);
        frmMain* w = OpenWindow();
        w->grid->SetRow(row);
        const QString listed = w->grid->TextMatrix(row, 0);
        m_dialogs->answer(static_cast<MsgResult>(answer));
        w->cmdRemoveEmployee->click();

        QCOMPARE(m_dialogs->calls().size(), 1);
        CheckQuestion(m_dialogs->last(),
                      QStringLiteral("Are your SURE you want to permanently remove\r\n\r\n") + listed +
                          QStringLiteral("\r\n\r\nfrom this personnel database?"),
                      QStringLiteral("Confirm"));
        QCOMPARE(GridColumn(w, 0), names);
        QCOMPARE(GridColumn(w, 3), slotTexts);
        QCOMPARE(w->grid->Row(), highlighted);
        QCOMPARE(w->grid->TopRow(), 1);
        // The record form shows the highlighted employee.
        QCOMPARE(w->frame[2]->title(),
                 QLatin1Char(' ') + names[highlighted - 1].section(QStringLiteral(", "), 1) + QLatin1Char(' ') +
                     names[highlighted - 1].section(QStringLiteral(", "), 0, 0) + QLatin1Char(' '));
        QStringList lastNames;
        OpenDataFile();
        for (qint32 slot = 1; slot <= RecordCount; ++slot) {
            ReadSlot(slot);
            lastNames << CurrentRecord.LastName;
        }
        CloseDataFile();
        QCOMPARE(lastNames, stored);
        QVERIFY(w->isEnabled());
        QVERIFY(!QFile::exists(TempFileName));
    }

    void removingTheOnlyEmployeeLeavesNoDataFile() {
        WriteEmployees({Employee(QStringLiteral("Al"), QStringLiteral("Able"))});
        frmMain* w = OpenWindow();
        QCOMPARE(w->grid->Rows(), 2);
        m_dialogs->answer(MsgResult::Yes);
        m_dialogs->answer(MsgResult::OK); // the database is empty
        QString topic;
        std::unique_ptr<QTimer> closer(CloseHelpWhenShown(&topic));
        w->cmdRemoveEmployee_Click();
        QCOMPARE(m_dialogs->last().title, QStringLiteral("Database is empty"));
        QCOMPARE(topic, QStringLiteral("The Employee List"));
        // The removal deleted the file; building the list opens it again, which leaves it empty, as every open
        // of a missing data file does.
        QCOMPARE(QFileInfo(DataFileName).size(), 0);
        QVERIFY(!QFile::exists(TempFileName));
        QCOMPARE(w->grid->Rows(), 1);
        QVERIFY(w->frame[2]->isHidden());
        QVERIFY(w->cmdRemoveEmployee->isHidden());
        QVERIFY(!w->tabMain->isTabEnabled(1));
    }

    // The window dims while the question is asked and is whole again afterwards, whatever the answer.
    void fadingDimsForTheQuestion() {
        frmMain* w = OpenFadingWindow();
        QCOMPARE(FadeOn, qint16(-1));
        int opacityAsked = -1;
        m_dialogs->answerWith([&] { opacityAsked = w->fade()->Opacity; }, MsgResult::No);
        w->cmdRemoveEmployee_Click();
        QCOMPARE(opacityAsked, 204);
        QCOMPARE(w->fade()->Opacity, qint16(255));
        QVERIFY(!w->fade()->IsFading());
        QCOMPARE(GridColumn(w, 0).size(), 3);
    }

    // Another program rewrote the file after the list was built: the row's slot now holds someone else.
    void aStaleRowRemovesNobody() {
        frmMain* w = OpenWindow();
        QList<PersonnelRecord> moved = Staff();
        std::swap(moved[0], moved[2]);
        WriteEmployees(moved);
        const QByteArray before = readFile(DataFileName);
        w->grid->SetRow(2); // Baker, Bo, listed in slot 1, which Able, Al holds now
        m_dialogs->answer(MsgResult::Yes);
        m_dialogs->answer(MsgResult::OK);
        w->cmdRemoveEmployee_Click();
        QCOMPARE(m_dialogs->last().title, QStringLiteral("Employee Not Removed"));
        QCOMPARE(m_dialogs->last().icon, MsgIcon::Critical);
        QVERIFY(m_dialogs->last().text.startsWith(QStringLiteral("Baker, Bo was not removed")));
        QCOMPARE(readFile(DataFileName), before);
        QCOMPARE(GridColumn(w, 3), (QStringList{"1", "3", "4"}));
    }

    // --- The picture ---

    // A picture that could be read only in part is kept only when the clerk says so.
    void partialPictureAsksFirst() {
        const QString path = m_dir->file(QStringLiteral("cut.jpg"));
        writeFile(path, readFile(Picture(QStringLiteral("photo.jpg"), 300, 600)).chopped(2));
        frmMain* w = OpenWindow();
        m_dialogs->answerText(path);
        m_dialogs->answer(MsgResult::No);
        w->cmdPicAddEdit_Click(1);
        QCOMPARE(m_dialogs->last().text, PicturePartialText());
        QCOMPARE(ReadEmployee(3).PicturePath, QString());
    }

    void choosingAPictureStoresIt_data() {
        QTest::addColumn<QString>("mode");
        QTest::newRow("viewing") << "view";
        QTest::newRow("editing") << "edit";
        QTest::newRow("adding") << "add";
    }

    void choosingAPictureStoresIt() {
        QFETCH(QString, mode);
        const QString path = Picture(QStringLiteral("portrait.png"), 300, 600);
        frmMain* w = OpenWindow();
        w->Editing = mode == QLatin1String("edit");
        w->Adding = mode == QLatin1String("add");
        const QByteArray before = readFile(DataFileName);
        const QString folder = QDir::currentPath();
        QVERIFY(!w->cmdPicAddEdit[1]->isHidden());
        m_dialogs->answerText(path);
        w->cmdPicAddEdit_Click(1);

        const ScriptedDialogs::Call& dialog = m_dialogs->last();
        QCOMPARE(dialog.kind, ScriptedDialogs::Kind::OpenFile);
        QCOMPARE(dialog.text, QString()); // no file type filter
        QCOMPARE(QDir::currentPath(), folder);
        QCOMPARE(w->HeldPicturePath(), path);
        QCOMPARE(w->imgPicture->size(), QSize(TwipsToPixels(1267, w), TwipsToPixels(2535, w)));
        QVERIFY(w->cmdPicAddEdit[1]->isHidden());
        QVERIFY(!w->cmdPicAddEdit[2]->isHidden() && !w->cmdPicPrint->isHidden() && !w->cmdPicDelete->isHidden());
        QVERIFY(w->lblPicture->isHidden());
        if (mode == QLatin1String("add")) {
            QCOMPARE(CurrentRecord.PicturePath, path);
            QCOMPARE(readFile(DataFileName), before);
            return;
        }
        const PersonnelRecord stored = ReadEmployee(3);
        QCOMPARE(stored.PicturePath, path);
        QVERIFY(qAbs(stored.LastModified - NowOADate()) < 1.0 / 24 / 60);
        QVERIFY(w->lblDataInfo[2]->text().startsWith(QStringLiteral(" Last modified ")));
        QVERIFY(!w->lblDataInfo[2]->isHidden());
        // Nothing else of the record changed.
        PersonnelRecord expected = Staff()[2];
        expected.PicturePath = path;
        expected.LastModified = stored.LastModified;
        QCOMPARE(stored, expected);
    }

    void aChoiceThatCannotBeStoredChangesNothing_data() {
        QTest::addColumn<QString>("chosen"); // empty: the dialog is cancelled
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::newRow("cancelled") << "" << QString() << 0;
        QTest::newRow("not a picture") << "notes.png" << QStringLiteral("File Access Error") << int(MsgIcon::None);
        QTest::newRow("path too long") << QString(90, QLatin1Char('n')) + ".png"
                                       << "Picture Not Stored" << int(MsgIcon::Critical);
        QTest::newRow("characters the record cannot keep")
            << QStringLiteral("Łukasz.png") << "Picture Not Stored" << int(MsgIcon::Critical);
    }

    void aChoiceThatCannotBeStoredChangesNothing() {
        QFETCH(QString, chosen);
        QFETCH(QString, title);
        QFETCH(int, icon);
        const QString held = StaffWithPicture();
        QString path;
        if (!chosen.isEmpty()) {
            path = m_dir->file(chosen);
            if (chosen == QLatin1String("notes.png"))
                writeFile(path, "not a picture");
            else
                QVERIFY(!Picture(chosen, 40, 30).isEmpty());
        }
        frmMain* w = OpenWindow();
        const QByteArray before = readFile(DataFileName);
        const QSize shown = w->imgPicture->size();
        m_dialogs->answerText(path);
        if (!title.isEmpty())
            m_dialogs->answer(MsgResult::OK);
        w->cmdPicAddEdit_Click(2);

        QCOMPARE(readFile(DataFileName), before);
        QCOMPARE(w->HeldPicturePath(), held);
        QCOMPARE(w->imgPicture->size(), shown);
        QVERIFY(w->lblPicture->isHidden());
        QCOMPARE(m_dialogs->calls().size(), title.isEmpty() ? 1 : 2);
        if (title.isEmpty())
            return;
        QCOMPARE(m_dialogs->last().title, title);
        QCOMPARE(int(m_dialogs->last().icon), icon);
        if (title == QLatin1String("File Access Error"))
            QCOMPARE(m_dialogs->last().text,
                     QStringLiteral("There is some kind of problem\r\nin trying to access that picture file..."));
    }

    void deletingAPicture_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("answer"); // -1: no question
        QTest::addColumn<bool>("deleted");
        QTest::newRow("viewing, yes") << "view" << int(MsgResult::Yes) << true;
        QTest::newRow("viewing, no") << "view" << int(MsgResult::No) << false;
        QTest::newRow("editing, yes") << "edit" << int(MsgResult::Yes) << true;
        QTest::newRow("adding asks nothing") << "add" << -1 << true;
    }

    void deletingAPicture() {
        QFETCH(QString, mode);
        QFETCH(int, answer);
        QFETCH(bool, deleted);
        const QString path = StaffWithPicture();
        frmMain* w = OpenWindow();
        if (mode == QLatin1String("add")) {
            // A picture chosen for the new entry.
            w->Adding = true;
            CurrentRecord = PersonnelRecord();
            m_dialogs->answerText(path);
            w->cmdPicAddEdit_Click(1);
            m_dialogs->clear();
        }
        w->Editing = mode == QLatin1String("edit");
        const QByteArray before = readFile(DataFileName);
        if (answer >= 0)
            m_dialogs->answer(static_cast<MsgResult>(answer));
        w->cmdPicDelete_Click();

        if (answer >= 0) {
            QCOMPARE(m_dialogs->calls().size(), 1);
            CheckQuestion(m_dialogs->last(), QStringLiteral("Are you SURE that you want\r\nto delete this picture?"),
                          QStringLiteral("Confirm Picture Delete"));
        } else {
            QVERIFY(m_dialogs->calls().isEmpty());
            QCOMPARE(readFile(DataFileName), before);
            QVERIFY(CurrentRecord.PicturePath.isEmpty());
        }
        QCOMPARE(w->HeldPicturePath().isEmpty(), deleted);
        QCOMPARE(w->lblPicture->isHidden(), !deleted);
        QCOMPARE(w->cmdPicAddEdit[1]->isHidden(), !deleted);
        QCOMPARE(w->cmdPicAddEdit[2]->isHidden(), deleted);
        QCOMPARE(w->cmdPicPrint->isHidden(), deleted);
        QCOMPARE(w->cmdPicDelete->isHidden(), deleted);
        if (mode == QLatin1String("add"))
            return;
        const PersonnelRecord stored = ReadEmployee(3);
        QCOMPARE(stored.PicturePath.isEmpty(), deleted);
        // Deleting does not count as a modification.
        QCOMPARE(stored.LastModified, 0.0);
        if (deleted)
            QCOMPARE(w->imgPicture->size(), QSize(TwipsToPixels(3480, w), TwipsToPixels(2535, w)));
    }

    // --- The picture window ---

    void viewingOpensThePictureWindow() {
        const QString path = StaffWithPicture();
        frmMain* w = OpenWindow();
        QString caption, heading, held, tips;
        QSize size, picture;
        int printed = -1;
        std::unique_ptr<QTimer> watcher(whenModalAppears([&](QWidget* modal) {
            auto* large = qobject_cast<frmLargePic*>(modal);
            if (!large) {
                modal->close();
                return;
            }
            large->Form_Activate();
            caption = large->windowTitle();
            heading = large->lblPicHeading->text();
            held = large->HeldPicturePath();
            tips = large->cmdPrintPic->toolTip() + QLatin1Char('|') + large->cmdReturn->toolTip();
            size = large->size();
            picture = large->imgPicture->size();
            printed = m_printers.size();
            QTest::keyClick(large, Qt::Key_Escape);
        }));
        w->cmdPicPrint->click();
        QCOMPARE(caption, QStringLiteral("Picture:  Able, Al"));
        QCOMPARE(heading, QStringLiteral("Able, Al"));
        QCOMPARE(held, path);
        QCOMPARE(tips, QStringLiteral(" Print this Picture | Close this Window "));
        QCOMPARE(size, QSize(TwipsToPixels(8505, w), TwipsToPixels(7530, w)));
        QCOMPARE(picture, QSize(TwipsToPixels(8000, w), TwipsToPixels(5333, w)));
        QCOMPARE(printed, 0);
        QVERIFY(OpenWindows<frmLargePic>().isEmpty());
    }

    // The report prints the photograph once, through the picture window, which closes by itself; the next view
    // opens the window as usual and waits for the user.
    void theReportPrintsThePhotoOnce() {
        StaffWithPicture();
        PrinterReadyConfirmed = true;
        frmMain* w = OpenWindow();
        m_dialogs->answer(MsgResult::Yes); // "Print the photograph?"
        w->cmdPrintEntry_Click();
        QCOMPARE(m_dialogs->last().text, QStringLiteral("Print the photograph?"));
        QCOMPARE(m_printers.size(), 1);
        QCOMPARE(LastPrinter().pagesPerDocument.size(), 2);
        QCOMPARE(LastPrinter().pictures.size(), 1);
        QCOMPARE(LastPrinter().pictures[0].document, 2);
        QCOMPARE(LastPrinter().textsOn(2, 1).first().text, QStringLiteral("Able, Al"));
        QVERIFY(!PrintPictureOnOpen);
        QVERIFY(OpenWindows<frmLargePic>().isEmpty());

        bool waited = false;
        std::unique_ptr<QTimer> watcher(whenModalAppears([&](QWidget* modal) {
            QTimer::singleShot(50, modal, [&, modal] {
                waited = modal->isVisible();
                modal->close();
            });
        }));
        w->cmdPicPrint_Click();
        QVERIFY(waited);
        QCOMPARE(m_printers.size(), 1);
    }

    void aPictureGoneBeforeTheWindowOpensIsReported() {
        const QString path = StaffWithPicture();
        PrinterReadyConfirmed = true;
        frmMain* w = OpenWindow();
        QVERIFY(QFile::remove(path));
        m_dialogs->answer(MsgResult::Yes); // "Print the photograph?"
        m_dialogs->answer(MsgResult::OK);
        w->cmdPrintEntry_Click();
        QCOMPARE(m_dialogs->last().title, QStringLiteral("Error loading picture"));
        QCOMPARE(m_dialogs->last().text,
                 QStringLiteral("Can't find the picture file\r\nat the indicated location--\r\n\r\n(") + path +
                     QLatin1Char(')'));
        QVERIFY(!PrintPictureOnOpen);
        QCOMPARE(LastPrinter().pictures.size(), 0);
    }

    // While adding, the picture goes only with the entry, headed by the name being entered (the highlighted row is
    // somebody else), and the save stores it.
    void aPictureChosenWhileAddingIsSavedWithTheEntry() {
        const QString path = Picture(QStringLiteral("new.png"), 30, 40);
        frmMain* w = OpenWindow();
        w->cmdAddEmployee_Click();
        QVERIFY(w->Adding);
        const QStringList typed{"Zoe", "", "Young", "", "W", "F", "4/15/1988"};
        for (int i = 1; i <= 7; ++i)
            w->txtField[i]->setText(typed[i - 1]);
        w->txtField[19]->setText(QStringLiteral("6/1/2015"));
        const QByteArray before = readFile(DataFileName);
        m_dialogs->answerText(path);
        w->cmdPicAddEdit_Click(1);
        QCOMPARE(readFile(DataFileName), before);
        QCOMPARE(w->PictureHeading(), QStringLiteral("Young, Zoe"));
        w->cmdAddEditSave->click();
        QVERIFY(!w->Adding);
        QCOMPARE(ReadEmployee(5).PicturePath, path);
        QCOMPARE(w->HeldPicturePath(), path);
    }

    // --- E-mail ---

    void emailHandsTheAddressToTheLauncher_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("launched");
        QTest::addColumn<QString>("url");
        QTest::newRow("taken") << "jdoe@agency.gov" << true << "mailto:jdoe@agency.gov";
        QTest::newRow("trailing blanks") << "jdoe@agency.gov    " << true << "mailto:jdoe@agency.gov";
        QTest::newRow("no mail program") << "jdoe@agency.gov" << false << "mailto:jdoe@agency.gov";
        QTest::newRow("stays one address") << "jdoe@x.gov?attach=/etc" << true << "mailto:jdoe@x.gov%3Fattach=/etc";
    }

    void emailHandsTheAddressToTheLauncher() {
        QFETCH(QString, stored);
        QFETCH(bool, launched);
        QFETCH(QString, url);
        QList<PersonnelRecord> staff = Staff();
        staff[2].Email = stored;
        WriteEmployees(staff);
        frmMain* w = OpenWindow();
        QVERIFY(w->cmdEmail->isEnabled());
        QCOMPARE(w->cmdEmail->toolTip(), QStringLiteral(" Send email... "));
        m_dialogs->answer(launched ? MsgResult::OK : MsgResult::Cancel);
        if (!launched)
            m_dialogs->answer(MsgResult::OK);
        w->cmdEmail->click();
        QCOMPARE(m_dialogs->calls().first().kind, ScriptedDialogs::Kind::Url);
        QCOMPARE(m_dialogs->calls().first().text, url);
        QCOMPARE(m_dialogs->calls().size(), launched ? 1 : 2);
        if (!launched)
            CheckMessage(m_dialogs->last(), QStringLiteral("Could not establish an internet connection!"),
                         QStringLiteral("Error"), MsgIcon::Critical);
    }
};

QTEST_MAIN(tst_frmMainRemove)
#include "tst_frmmainremove.moc"
