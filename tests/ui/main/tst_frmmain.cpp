#include "MainWindowTestSupport.h"
#include "ScriptedDialogs.h"
#include "TempWorkDir.h"

#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/WindowGeometry.h"
#include "ui/backup/modBackupRestore.h"
#include "ui/controls/ZelButton.h"
#include "ui/main/EmployeeGrid.h"
#include "ui/main/frmMain.h"
#include "ui/common/Navigation.h"
#include "core/users/UserList.h"
#include "ui/users/frmAdmin.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The main window's shell: caption, user, commands by access level, tabs and the window's size, help, backup
// and restore, the way back to the administration window and quitting.
class tst_frmMain : public MainWindowTest {
    Q_OBJECT

private:
    int m_endCalls = 0;

    // Shown by the window itself, whatever the tab on show.
    static bool Shown(const QWidget* w) { return !w->isHidden(); }

    // Backs the data files up into the folder through the backup menu, answering its two messages.
    void BackUpTo(frmMain* w, const QString& folder) {
        m_dialogs->answerText(folder);
        m_dialogs->answer(MsgResult::OK); // the folder chosen
        m_dialogs->answer(MsgResult::OK); // backed up
        w->menuBackupRestore[1]->trigger();
    }

private slots:
    void initTestCase() {
        InitProgramValues();
        SetApplicationEndHook([this] { ++m_endCalls; });
    }

    void init() {
        StartMainWindowTest(3);
        SaveSetting(QStringLiteral("AgencyName"), QString());
        m_endCalls = 0;
        // The administration window that a return opens finds one user and asks nothing.
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 3);
        WriteEmployees({Employee(QStringLiteral("Bo"), QStringLiteral("Baker")),
                        Employee(QStringLiteral("Al"), QStringLiteral("Able"))});
    }

    void cleanup() {
        DeleteWindows<frmAdmin>();
        EndMainWindowTest();
    }

    void captionNamesTheAgency_data() {
        QTest::addColumn<QString>("agency");
        QTest::addColumn<QString>("caption");
        QTest::newRow("none") << QString() << QStringLiteral("Vardel - Personnel Records");
        QTest::newRow("blank") << QStringLiteral("   ") << QStringLiteral("Vardel - Personnel Records");
        QTest::newRow("set") << QStringLiteral("Metro Police") << QStringLiteral("Vardel - Metro Police");
    }

    void captionNamesTheAgency() {
        QFETCH(QString, agency);
        QFETCH(QString, caption);
        SetAgencyName(agency);
        QCOMPARE(OpenWindow()->windowTitle(), caption);
    }

    void firstActivationShowsTheUserAndTheList() {
        frmMain* w = OpenWindow();
        QCOMPARE(w->lblUserInfo->text(), QStringLiteral("User: Ann Lee\nAccess: Read/Edit/Add"));
        QVERIFY(w->cmdQuit->isCancel());
        QCOMPARE(w->grid->Rows(), 3);
        QCOMPARE(w->grid->TextMatrix(1, 0), QStringLiteral("Able, Al"));
        QCOMPARE(w->frame[1]->title(), QStringLiteral("Current Employees"));
    }

    // The commands each access level sees, for lists of none, one and two employees.
    void commandsByAccessLevel_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("employees");
        for (int level = 1; level <= 4; ++level)
            for (int employees : {1, 2})
                QTest::newRow(qPrintable(QStringLiteral("level %1, %2 employee(s)").arg(level).arg(employees)))
                    << level << employees;
    }

    void commandsByAccessLevel() {
        QFETCH(int, level);
        QFETCH(int, employees);
        CurrentAccessLevel = static_cast<qint16>(level);
        if (employees == 1)
            WriteEmployees({Employee(QStringLiteral("Al"), QStringLiteral("Able"))});
        frmMain* w = OpenWindow();
        QVERIFY(Shown(w->cmdAddEmployee));
        QCOMPARE(w->cmdAddEmployee->isEnabled(), level >= 3);
        QVERIFY(Shown(w->cmdEditEntry));
        QCOMPARE(w->cmdEditEntry->isEnabled(), level >= 2);
        QVERIFY(Shown(w->cmdRemoveEmployee));
        QCOMPARE(w->cmdRemoveEmployee->isEnabled(), level == 4);
        QVERIFY(Shown(w->cmdPrintEntry) && w->cmdPrintEntry->isEnabled());
        QVERIFY(Shown(w->cmdPrintUpdateForms) && w->cmdPrintUpdateForms->isEnabled());
        QCOMPARE(Shown(w->cmdPrintList), employees >= 2);
        QVERIFY(Shown(w->cmdBackupRestore) && w->cmdBackupRestore->isEnabled());
        for (ZelButton* always : {w->cmdAdminWindow, w->cmdHelp, w->cmdQuit})
            QVERIFY(Shown(always) && always->isEnabled());
        // The picture commands of a record without a picture.
        QVERIFY(Shown(w->cmdPicAddEdit[1]));
        QCOMPARE(w->cmdPicAddEdit[1]->isEnabled(), level >= 3);
        QVERIFY(!Shown(w->cmdPicAddEdit[2]) && !Shown(w->cmdPicPrint) && !Shown(w->cmdPicDelete));
    }

    void backupAndRestoreEntry_data() {
        QTest::addColumn<int>("level");
        for (int level = 1; level <= 4; ++level)
            QTest::newRow(qPrintable(QString::number(level))) << level;
    }

    void backupAndRestoreEntry() {
        QFETCH(int, level);
        CurrentAccessLevel = static_cast<qint16>(level);
        frmMain* w = OpenWindow();
        if (level < 4)
            m_dialogs->answer(MsgResult::OK);
        w->cmdBackupRestore_Click();
        if (level < 4) {
            QCOMPARE(m_dialogs->calls().size(), 1);
            CheckMessage(m_dialogs->last(),
                         QStringLiteral("Full access level privileges\r\nare required to use this feature."),
                         QStringLiteral("Current Access Level Inadequate"), MsgIcon::Critical);
            QVERIFY(!w->menuBackupRestoremenu->isVisible());
            return;
        }
        QVERIFY(m_dialogs->calls().isEmpty());
        QTRY_VERIFY(w->menuBackupRestoremenu->isVisible());
        QCOMPARE(w->menuBackupRestore[1]->text(), QStringLiteral("Backup the Vardel data files"));
        QCOMPARE(w->menuBackupRestore[2]->text(), QStringLiteral("Restore the Vardel data files"));
        QVERIFY(w->menuBackupRestore[3]->isSeparator());
        QCOMPARE(w->menuBackupRestore[4]->text(), QStringLiteral("Exit this Menu"));
        w->menuBackupRestoremenu->hide();
        w->menuBackupRestore[4]->trigger();
        QVERIFY(m_dialogs->calls().isEmpty());
    }

    // The backup menu opens where the user is looking: at the pointer for a click of the mouse, under the button
    // when a key presses it, though the pointer rests on the button.
    void backupMenuPopsUpWhereTheUserIs_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("atTheMouse");
        QTest::newRow("mouse click") << "mouse" << true;
        QTest::newRow("Enter") << "enter" << false;
        QTest::newRow("space") << "space" << false;
        QTest::newRow("access key") << "alt" << false;
    }

    void backupMenuPopsUpWhereTheUserIs() {
        QFETCH(QString, how);
        QFETCH(bool, atTheMouse);
        CurrentAccessLevel = 4;
        frmMain* w = OpenWindow();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        ZelButton* button = w->cmdBackupRestore;
        const QPoint clickedAt(button->width() - 10, button->height() - 10);
        QCursor::setPos(button->mapToGlobal(QPoint(10, 10)));
        PressButton(button, how, clickedAt, Qt::Key_B);
        QTRY_VERIFY(w->menuBackupRestoremenu->isVisible());
        QCOMPARE(w->menuBackupRestoremenu->pos(),
                 button->mapToGlobal(atTheMouse ? clickedAt : QPoint(0, button->height())));
        w->menuBackupRestoremenu->hide();
        QVERIFY(m_dialogs->calls().isEmpty());
    }

    // A restore replaces the data file under the list: the counts and the list come from the restored file.
    void restoreRebuildsTheList() {
        CurrentAccessLevel = 4;
        WriteUserLogEntry(1);
        frmMain* w = OpenWindow();
        QTemporaryDir backup;
        BackUpTo(w, backup.path());
        QVERIFY(QFile::exists(backup.filePath(QStringLiteral("Vardel.Data"))));

        WriteEmployees({Employee(QStringLiteral("Cy"), QStringLiteral("Cole"))});
        m_dialogs->answerText(backup.path());
        m_dialogs->answer(MsgResult::Yes); // replace the current files
        m_dialogs->answer(MsgResult::OK);  // restored
        w->menuBackupRestore[2]->trigger();
        QCOMPARE(m_dialogs->last().text, QStringLiteral("Your previously backed up \r\nVardel data files\r\nhas been "
                                                        "successfully restored!"));
        QVERIFY(!DataRestored);
        QCOMPARE(w->grid->Rows(), 3);
        QCOMPARE(w->grid->TextMatrix(1, 0), QStringLiteral("Able, Al"));
        QCOMPARE(w->optEmpStatus[1]->text(), QStringLiteral("Current (2)"));
    }

    // A restore that stops at a file missing from the backup has still replaced the data file before it: the list
    // must come from the restored file, or its slot numbers would reach other employees than it names.
    void restoreStoppedHalfWayRebuildsTheList() {
        CurrentAccessLevel = 4;
        QFile::remove(QStringLiteral("User.Log"));
        frmMain* w = OpenWindow();
        QTemporaryDir backup;
        BackUpTo(w, backup.path());
        QVERIFY(!QFile::exists(backup.filePath(QStringLiteral("User.Log"))));
        // A backup of an earlier version, without a manifest, is restored file by file until one is missing.
        QVERIFY(QFile::remove(backup.filePath(QStringLiteral("Backup.Manifest"))));

        WriteEmployees({Employee(QStringLiteral("Cy"), QStringLiteral("Cole"))});
        WriteUserLogEntry(1);
        m_dialogs->answerText(backup.path());
        m_dialogs->answer(MsgResult::Yes); // restore it although it cannot be verified
        m_dialogs->answer(MsgResult::Yes); // replace the current files
        m_dialogs->answer(MsgResult::OK);  // the failed file
        m_dialogs->answer(MsgResult::OK);  // cancelled
        w->menuBackupRestore[2]->trigger();
        QCOMPARE(m_dialogs->last().text, QStringLiteral("The restore process has been cancelled"));
        QVERIFY(!DataRestored);
        QCOMPARE(w->grid->Rows(), 3);
        QCOMPARE(w->grid->TextMatrix(1, 0), QStringLiteral("Able, Al"));
    }

    void noDataFileHidesBackupAndRestoreUntilNextLoad() {
        frmMain* w = OpenOnEmptyDatabase();
        QVERIFY(!Shown(w->cmdBackupRestore));
        QCOMPARE(m_helpTopic, QStringLiteral("The Employee List"));
    }

    void helpTopicFollowsTheTab_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("topic");
        QTest::newRow("list") << 0 << QStringLiteral("The Employee List");
        QTest::newRow("options") << 1 << QStringLiteral("List Display Options");
    }

    void helpTopicFollowsTheTab() {
        QFETCH(int, tab);
        QFETCH(QString, topic);
        frmMain* w = OpenWindow();
        w->tabMain->setCurrentIndex(tab);
        QString shown;
        std::unique_ptr<QTimer> help(CloseHelpWhenShown(&shown));
        QVERIFY(w->Form_KeyDown(Qt::Key_F1, Qt::NoModifier));
        QCOMPARE(shown, topic);
        QCOMPARE(HelpTopicIndex, qint16(4 + tab));
        QVERIFY(!w->Form_KeyDown(Qt::Key_F2, Qt::NoModifier));
    }

    void windowHeightFollowsTheScreen_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("height");
        QTest::newRow("12000") << 12000 << 9230;
        QTest::newRow("1024 pixels") << 15360 << 11815;
        QTest::newRow("9000") << 9000 << 9000;
        QTest::newRow("smaller") << 7200 << 9000;
    }

    void windowHeightFollowsTheScreen() {
        QFETCH(int, screen);
        QFETCH(int, height);
        QCOMPARE(frmMain::ListTabHeight(screen), height);
    }

    // The offscreen screen is 800 pixels (12000 twips) high: the list tab takes 9230 twips, 230 of them for the
    // list, and the options tab returns to the design height.
    void tabsFitTheWindowToTheScreen() {
        frmMain* w = OpenWindow();
        QCOMPARE(w->screen()->geometry().height() * 1440 / w->logicalDpiY(), 12000);
        const auto twips = [w](int twips) { return TwipsToPixels(twips, w); };
        QCOMPARE(w->height(), twips(9230));
        QCOMPARE(w->grid->height(), twips(frmMain::Tag(w->grid).toInt() + 230));
        QCOMPARE(w->frame[2]->y(), w->frame[1]->y() + w->frame[1]->height() + twips(150));
        QCOMPARE(w->cmdRemoveEmployee->y(), w->frame[1]->height() - twips(850));
        QCOMPARE(w->y(), w->screen()->geometry().y() + twips((12000 - 9230) / 2));
        const int top = w->y();
        w->tabMain->setCurrentIndex(1);
        QCOMPARE(w->height(), twips(9000));
        QCOMPARE(w->tabMain->height(), twips(frmMain::Tag(w->tabMain).toInt()));
        QCOMPARE(w->y(), top);
        w->tabMain->setCurrentIndex(0);
        QCOMPARE(w->height(), twips(9230));
    }

    void tabSwitchEnablesTheFrames() {
        frmMain* w = OpenWindow();
        QVERIFY(w->frame[1]->isEnabled() && w->frame[2]->isEnabled());
        QVERIFY(!w->frame[4]->isEnabled());
        w->tabMain->setCurrentIndex(1);
        QVERIFY(!w->frame[1]->isEnabled() && !w->frame[2]->isEnabled());
        for (int i = 4; i <= 9; ++i)
            QVERIFY(w->frame[i]->isEnabled());
        QVERIFY(!w->cmdBackupRestore->isEnabled());
        w->tabMain->setCurrentIndex(0);
        QVERIFY(w->frame[1]->isEnabled() && w->frame[2]->isEnabled());
        QVERIFY(!w->frame[9]->isEnabled());
        QVERIFY(w->cmdBackupRestore->isEnabled());
    }

    // With fading on, the return goes through the fade and still ends the same way.
    void returningLogsOutOnceAndOpensTheAdminWindow_data() {
        QTest::addColumn<bool>("fading");
        QTest::newRow("plain") << false;
        QTest::newRow("fading") << true;
    }

    void returningLogsOutOnceAndOpensTheAdminWindow() {
        QFETCH(bool, fading);
        frmMain* w = fading ? OpenFadingWindow() : OpenWindow();
        QCOMPARE(FadeOn, qint16(fading ? -1 : 0));
        w->cmdAdminWindow_Click();
        if (fading)
            QCOMPARE(w->cmdAdminWindow->Tag, w->windowTitle());
        const QStringList lines = UserLogLines();
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.first().endsWith(QStringLiteral(" - Ann Lee logged out.")));
        w->fade()->WaitForFade();
        QVERIFY(!w->isVisible());
        QCOMPARE(OpenWindows<frmAdmin>().size(), 1);
        QCOMPARE(m_endCalls, 0);
    }

    void quitting_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<int>("logLines");
        QTest::addColumn<bool>("reminded"); // a full-access user with no backup made yet
        QTest::newRow("yes") << MsgResult::Yes << 1 << false;
        QTest::newRow("no") << MsgResult::No << 0 << false;
        QTest::newRow("yes, offered a backup") << MsgResult::Yes << 1 << true;
    }

    void quitting() {
        QFETCH(MsgResult, answer);
        QFETCH(int, logLines);
        QFETCH(bool, reminded);
        if (reminded) {
            CurrentAccessLevel = 4;
            SaveSetting(QStringLiteral("BackupReminderDays"), QStringLiteral("7"));
        }
        frmMain* w = OpenWindow();
        m_dialogs->answer(answer);
        if (reminded)
            m_dialogs->answer(MsgResult::No);
        w->cmdQuit_Click();
        if (reminded) {
            CheckMessage(m_dialogs->last(),
                         QStringLiteral("No backup of the Vardel data files has been made yet.\r\n\r\nWould you like "
                                        "to make a backup now?"),
                         QStringLiteral("Backup Reminder"), MsgIcon::Question, MsgButtons::YesNo);
        }
        CheckMessage(m_dialogs->calls().at(0), QStringLiteral("This will close Vardel.\r\n\r\nIs this what you want to do?"),
                     QStringLiteral("Exit Vardel?"), MsgIcon::Question, MsgButtons::YesNo);
        QCOMPARE(UserLogLines().size(), logLines);
        QCOMPARE(m_endCalls, logLines);
        QCOMPARE(w->isVisible(), logLines == 0);
        QVERIFY(OpenWindows<frmAdmin>().isEmpty());
    }

    // Esc and the title bar's close button ask the quit question too; No keeps the window and logs nothing.
    void escapeOrCloseAsksToQuit_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Esc") << true;
        QTest::newRow("title bar") << false;
    }

    void escapeOrCloseAsksToQuit() {
        QFETCH(bool, escape);
        frmMain* w = OpenWindow();
        m_dialogs->answer(MsgResult::No);
        if (escape)
            QTest::keyClick(w, Qt::Key_Escape);
        else
            w->close();
        QTRY_COMPARE(m_dialogs->calls().size(), 1);
        QCOMPARE(m_dialogs->last().title, QStringLiteral("Exit Vardel?"));
        QVERIFY(w->isVisible());
        QVERIFY(UserLogLines().isEmpty());
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
