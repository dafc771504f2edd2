#include "FileTestSupport.h"
#include "ScriptedDialogs.h"
#include "TempWorkDir.h"
#include "WindowTestSupport.h"

#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/controls/ZelButton.h"
#include "core/store/DataFile.h"
#include "core/record/PersonnelRecord.h"
#include "ui/main/frmMain.h"
#include "core/users/AccessCode.h"
#include "core/users/UserList.h"
#include "ui/users/frmAddEditUser.h"
#include "ui/users/frmAdmin.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableWidget>
#include <QtTest>
#include <memory>

// The administration window and the add/edit dialog used by keyboard alone, with fading on and off.
class tst_UserKeyboard : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QPointer<frmAdmin> m_admin;
    QPointer<frmAddEditUser> m_dialog;

    static void SetFading(bool on) {
        SetFadeSupport(on ? FadeSupport::Always : FadeSupport::Auto);
        SaveSetting(QStringLiteral("FadeStatus"), on ? QStringLiteral("1") : QStringLiteral("0"));
    }

    static void AddFadingColumn() {
        QTest::addColumn<bool>("fading");
        QTest::newRow("fading off") << false;
        QTest::newRow("fading on") << true;
    }

    frmAdmin* OpenAdmin() {
        m_admin = new frmAdmin;
        m_admin->show();
        m_admin->Form_Activate();
        m_admin->fade()->WaitForFade();
        return m_admin;
    }

    // The dialog shown (not modally) and activated, its fade-in over.
    frmAddEditUser* OpenDialog(const QString& mode) {
        m_dialog = new frmAddEditUser(m_admin);
        m_dialog->Tag = mode;
        m_dialog->show();
        m_dialog->Form_Activate();
        m_dialog->fade()->WaitForFade();
        return m_dialog;
    }

    static void Paste(QWidget* box, const QString& text) {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }

    // Keys reach whatever has the focus, as they do for a person at the keyboard.
    static void Keys(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    static void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, mods);
    }

private slots:
    void initTestCase() { InitProgramValues(); }

    void init() {
        m_dir = std::make_unique<TempWorkDir>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        SaveSetting(QStringLiteral("AccessCodeHash"), QString());
        SaveSetting(QStringLiteral("AccessCodeSalt"), QString());
        SetAccessCode(QStringLiteral("1234"));
        SetFading(false);
        FadeOn = 0;
    }

    void cleanup() {
        delete m_dialog.data();
        delete m_admin.data();
        DeleteWindows<frmMain>();
        QCOMPARE(m_dialogs->pending(), 0);
        m_dialogs.reset();
        m_dir.reset();
        SetFading(false);
    }

    void logInByKeyboard_data() { AddFadingColumn(); }
    void logInByKeyboard() {
        QFETCH(bool, fading);
        SetFading(fading);
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 2);
        // The main window that the log-in opens finds an employee to list and asks nothing.
        PersonnelRecord employee;
        employee.FirstName = QStringLiteral("Al");
        employee.LastName = QStringLiteral("Able");
        writeFile(DataFileName, EncodePersonnelRecord(employee));
        frmAdmin* w = OpenAdmin();
        QVERIFY(QTest::qWaitForWindowActive(w));
        // Enter presses the focused "Select" button; the password box takes the keys; Enter continues. A button
        // pressed by key shows itself down for a moment before it acts.
        QCOMPARE(QApplication::focusWidget(), w->cmdUserSelected);
        Key(Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), w->txtPassword);
        Keys(QStringLiteral("pass1"));
        Key(Qt::Key_Return);
        QTRY_COMPARE(OpenWindows<frmMain>().size(), 1);
        QCOMPARE(CurrentUserName, QStringLiteral("Ann Lee"));
    }

    void escapeBacksOutOfThePassword() {
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 2);
        frmAdmin* w = OpenAdmin();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->cmdUserSelected_Click();
        Keys(QStringLiteral("pa"));
        Key(Qt::Key_Escape);
        QTRY_VERIFY(w->txtPassword->isHidden());
        QVERIFY(w->cmdCancel->isHidden());
        QVERIFY(!w->cmdAdmin->isHidden());
        QVERIFY(w->grid->isEnabled());
        QCOMPARE(w->cmdUserSelected->Caption(), QStringLiteral("&Select the Highlighted User"));
        QCOMPARE(QApplication::focusWidget(), w->cmdUserSelected);
        QVERIFY(UserLogLines().isEmpty());
    }

    void tabLeavesTheUserGrid() {
        for (const char* name : {"Abel", "Boyd", "Cole"})
            AddTestUser(QStringLiteral("Al"), QLatin1String(name), QStringLiteral("pass1"), 2);
        frmAdmin* w = OpenAdmin();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->grid->setFocus();
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        QCOMPARE(w->GridRow(), 3);
        QCOMPARE(w->GridText(w->GridRow(), frmAdmin::ColUser), QStringLiteral("Al Cole"));
        Key(Qt::Key_Home);
        QCOMPARE(w->GridRow(), 1);
        Key(Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != w->grid);
        QVERIFY(qobject_cast<ZelButton*>(QApplication::focusWidget()));
        Key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), w->grid);
        QCOMPARE(w->GridRow(), 1);
    }

    void addUserByKeyboard_data() { AddFadingColumn(); }
    void addUserByKeyboard() {
        QFETCH(bool, fading);
        SetFading(fading);
        frmAddEditUser* d = OpenDialog(QStringLiteral("Add a User"));
        QVERIFY(QTest::qWaitForWindowActive(d));
        // The first name has the focus and takes the first key typed.
        QCOMPARE(QApplication::focusWidget(), d->txtField[1]);
        Keys(QStringLiteral("Ann"));
        Key(Qt::Key_Tab);
        Keys(QStringLiteral("Lee"));
        Key(Qt::Key_Tab);
        Keys(QStringLiteral("pass1"));
        Key(Qt::Key_Tab);
        Key(Qt::Key_Down); // the options: Read/Edit
        Key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d->txtField[4]);
        Keys(QStringLiteral("Day shift"));
        Key(Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(!d->isVisible());
        const UserRecord r = ReadTestUser(1);
        QCOMPARE(r.FirstName, QStringLiteral("Ann"));
        QCOMPARE(r.LastName, QStringLiteral("Lee"));
        QCOMPARE(UnscramblePassword(r.Password), QStringLiteral("pass1"));
        QCOMPARE(r.AccessLevel, qint16(2));
        QCOMPARE(r.Comments, QStringLiteral("Day shift"));
    }

    void escapeLeavesTheDialogAsCancelDoes_data() { AddFadingColumn(); }
    void escapeLeavesTheDialogAsCancelDoes() {
        QFETCH(bool, fading);
        SetFading(fading);
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 2);
        frmAddEditUser* d = OpenDialog(QStringLiteral("Add a User"));
        QVERIFY(QTest::qWaitForWindowActive(d));
        Keys(QStringLiteral("Bo"));
        Key(Qt::Key_Escape);
        // With fading on the dialog fades out first, like the Cancel button.
        QCOMPARE(d->isVisible(), fading);
        QCOMPARE(d->fade()->IsFading(), fading);
        d->fade()->WaitForFade();
        QVERIFY(!d->isVisible());
        QCOMPARE(QFileInfo(UserListFileName).size(), qint64(UserRecordLength));
    }

    void namesHoldOnlyWhatTheFileCanStore() {
        frmAddEditUser* d = OpenDialog(QStringLiteral("Add a User"));
        QVERIFY(QTest::qWaitForWindowActive(d));
        Paste(d->txtField[1], QStringLiteral("Łukasz"));
        QCOMPARE(d->FieldText(1), QStringLiteral("Lukasz"));
        d->lineField(2)->setFocus();
        QTest::sendKeyEvent(QTest::Click, d->txtField[2], Qt::Key(0x141), QStringLiteral("Ł"), Qt::NoModifier);
        Keys(QStringLiteral("Nowak"));
        QCOMPARE(d->FieldText(2), QStringLiteral("Nowak"));
        d->SetFieldText(3, QStringLiteral("pass1"));
        d->commentsField()->setFocus();
        Paste(d->txtField[4], QStringLiteral("Transferred from Łódź"));
        d->cmdSave_Click();
        const UserRecord r = ReadTestUser(1);
        QCOMPARE(r.FirstName, QStringLiteral("Lukasz"));
        QCOMPARE(r.Comments, QStringLiteral("Transferred from Lódz"));
    }

    void fullCommentsKeepTheirEnd_data() {
        QTest::addColumn<bool>("paste");
        QTest::newRow("typed") << false;
        QTest::newRow("pasted") << true;
    }
    void fullCommentsKeepTheirEnd() {
        QFETCH(bool, paste);
        frmAddEditUser* d = OpenDialog(QStringLiteral("Add a User"));
        const QString full = QString(200, QLatin1Char('a')) + QString(239, QLatin1Char('z'));
        d->SetFieldText(4, full);
        QPlainTextEdit* box = d->commentsField();
        box->setFocus();
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(100);
        box->setTextCursor(cursor);
        if (paste)
            Paste(box, QStringLiteral("XYZ"));
        else
            QTest::keyClicks(box, QStringLiteral("XYZ"));
        QCOMPARE(d->FieldText(4), full);
        QCOMPARE(d->lblSpaceFull->text(), QStringLiteral(" 100% full "));
    }
};

QTEST_MAIN(tst_UserKeyboard)
#include "tst_userkeyboard.moc"
