#include "ScriptedDialogs.h"
#include "TempWorkDir.h"
#include "WindowTestSupport.h"

#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/controls/ZelButton.h"
#include "core/base/DateRules.h"
#include "core/users/UserList.h"
#include "ui/users/frmAddEditUser.h"
#include "ui/users/frmAdmin.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QtTest>
#include <memory>

class tst_frmAddEditUser : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QPointer<frmAdmin> m_admin;
    QPointer<frmAddEditUser> m_dialog;

    // A dialog in the given mode, shown (not modally) and activated; an edit takes the record highlighted in the
    // administration window's grid.
    frmAddEditUser* Open(const QString& mode, qint32 editRecord = 0) {
        m_admin = new frmAdmin;
        if (editRecord > 0) {
            m_admin->FillUserGrid();
            for (int row = 1; row <= m_admin->UserRowCount(); ++row)
                if (m_admin->GridText(row, frmAdmin::ColRecNum).toInt() == editRecord)
                    m_admin->SetGridRow(row);
        }
        m_dialog = new frmAddEditUser(m_admin);
        m_dialog->Tag = mode;
        m_dialog->show();
        m_dialog->Form_Activate();
        return m_dialog;
    }

    static bool Shown(const QWidget* w) { return !w->isHidden(); }

private slots:
    void initTestCase() { InitProgramValues(); }

    void init() {
        m_dir = std::make_unique<TempWorkDir>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("0"));
        SetFadeSupport(FadeSupport::Auto);
        FadeOn = 0;
    }

    void cleanup() {
        delete m_dialog.data();
        delete m_admin.data();
        QCOMPARE(m_dialogs->pending(), 0);
        m_dialogs.reset();
        m_dir.reset();
        SetFadeSupport(FadeSupport::Auto);
    }

    void addModeStartsEmpty() {
        frmAddEditUser* d = Open(QStringLiteral("Add a User"));
        QCOMPARE(d->windowTitle(), QStringLiteral("Vardel - Add a User"));
        // Opening in add mode leaves an empty list file behind; the first user becomes record 1.
        QVERIFY(QFile::exists(UserListFileName));
        QCOMPARE(d->RecordNumber, 1);
        QVERIFY(Shown(d->cmdSave));
        QVERIFY(!d->cmdSave->isEnabled());
        QVERIFY(d->optAccessLevel[1]->isChecked());
        QCOMPARE(d->SelectedLevel, qint16(1));
        QVERIFY(d->lblDateCreated->isHidden());
        QVERIFY(d->lblSpaceFull->isHidden());
    }

    void saveNeedsTheMandatoryFields() {
        frmAddEditUser* d = Open(QStringLiteral("Add a User"));
        d->SetFieldText(1, QStringLiteral("Ann"));
        d->SetFieldText(2, QStringLiteral("Lee"));
        QVERIFY(!d->cmdSave->isEnabled());
        d->SetFieldText(3, QStringLiteral("pass1"));
        QVERIFY(d->cmdSave->isEnabled());
        d->SetFieldText(2, QStringLiteral("   "));
        QVERIFY(!d->cmdSave->isEnabled());
        QVERIFY(Shown(d->cmdSave));
        // The cancel caption of the add mode stays.
        QCOMPARE(d->cmdCancel->Caption(), QStringLiteral("&Cancel\r\nNew Entry"));
    }

    void passwordRule_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("saved");
        QTest::newRow("placeholder") << QStringLiteral("<4 to 8 chars only>") << false;
        QTest::newRow("three") << QStringLiteral("abc") << false;
        QTest::newRow("nine") << QStringLiteral("abcd12345") << false;
        QTest::newRow("hyphen") << QStringLiteral("ab-12") << false;
        QTest::newRow("four") << QStringLiteral("ab12") << true;
        QTest::newRow("blanks around") << QStringLiteral("  Ab12cd  ") << true;
    }

    void passwordRule() {
        QFETCH(QString, password);
        QFETCH(bool, saved);
        frmAddEditUser* d = Open(QStringLiteral("Add a User"));
        d->SetFieldText(1, QStringLiteral("Ann"));
        d->SetFieldText(2, QStringLiteral("Lee"));
        d->SetFieldText(3, password);
        if (!saved)
            m_dialogs->answer(MsgResult::OK);
        d->cmdSave_Click();
        if (!saved) {
            QCOMPARE(m_dialogs->last().text,
                     QStringLiteral("The password must be\r\n4 to 8 characters, using\r\nletters and numbers only."));
            QCOMPARE(m_dialogs->last().title, QStringLiteral("Invalid Password Entry"));
            QCOMPARE(m_dialogs->last().icon, MsgIcon::Exclamation);
            QVERIFY(d->isVisible());
            QCOMPARE(QFileInfo(UserListFileName).size(), qint64(0));
            QVERIFY(m_admin->cmdAddUser->Tag.isEmpty());
        } else {
            QVERIFY(!d->isVisible());
            QCOMPARE(UnscramblePassword(ReadTestUser(1).Password), password.trimmed());
        }
    }

    void passwordPlaceholderOnEnteringAnEmptyBox() {
        frmAddEditUser* d = Open(QStringLiteral("Add a User"));
        d->SetFieldText(1, QStringLiteral("Ann"));
        d->SetFieldText(2, QStringLiteral("Lee"));
        d->txtField_GotFocus(3);
        QCOMPARE(d->FieldText(3), QStringLiteral("<4 to 8 chars only>"));
        QCOMPARE(d->lineField(3)->selectedText(), QStringLiteral("<4 to 8 chars only>"));
        // The placeholder completes the entry but fails the password rule on saving.
        QVERIFY(d->cmdSave->isEnabled());
        m_dialogs->answer(MsgResult::OK);
        d->cmdSave_Click();
        QCOMPARE(m_dialogs->last().title, QStringLiteral("Invalid Password Entry"));
        // A box that holds text keeps it.
        d->SetFieldText(3, QStringLiteral("ab12"));
        d->txtField_GotFocus(3);
        QCOMPARE(d->FieldText(3), QStringLiteral("ab12"));
    }

    void focusColours_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QColor>("focus");
        QTest::newRow("adding") << QStringLiteral("Add a User") << QColor(255, 255, 0);
        QTest::newRow("editing") << QStringLiteral("View/Edit this User") << QColor(255, 192, 255);
    }

    void focusColours() {
        QFETCH(QString, mode);
        QFETCH(QColor, focus);
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 2);
        frmAddEditUser* d = Open(mode, 1);
        for (int i = 1; i <= 4; ++i) {
            d->txtField_GotFocus(i);
            QCOMPARE(d->FieldFace(i), focus);
            d->txtField_LostFocus(i);
            QCOMPARE(d->FieldFace(i), QColor(0, 255, 255));
        }
    }

    void addingWritesRecordOneWithNoListPresent() {
        QVERIFY(!QFile::exists(UserListFileName));
        frmAddEditUser* d = Open(QStringLiteral("Add a User"));
        d->SetFieldText(1, QStringLiteral("  Ann "));
        d->SetFieldText(2, QStringLiteral("Lee"));
        d->SetFieldText(3, QStringLiteral("pass1"));
        d->SetFieldText(4, QStringLiteral("Night shift\nsupervisor  "));
        d->optAccessLevel[4]->setChecked(true);
        const double before = NowOADate();
        d->cmdSave_Click();
        const double after = NowOADate();
        QVERIFY(!d->isVisible());
        QCOMPARE(QFileInfo(UserListFileName).size(), qint64(UserRecordLength));
        const UserRecord r = ReadTestUser(1);
        QCOMPARE(r.FirstName, QStringLiteral("Ann"));
        QCOMPARE(r.LastName, QStringLiteral("Lee"));
        QCOMPARE(UnscramblePassword(r.Password), QStringLiteral("pass1"));
        QCOMPARE(r.AccessLevel, qint16(4));
        QCOMPARE(r.Comments, QStringLiteral("Night shift\r\nsupervisor"));
        QVERIFY(r.DateCreated >= before - 1e-6 && r.DateCreated <= after + 1e-6);
        QCOMPARE(m_admin->cmdAddUser->Tag, QStringLiteral("Update"));
        QVERIFY(m_admin->cmdEditUser->Tag.isEmpty());
        // The saved record stays in the shared buffer for the re-selection.
        QCOMPARE(CurrentUser.LastName, QStringLiteral("Lee"));
    }

    void addingAppendsAfterExistingUsers() {
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 2);
        frmAddEditUser* d = Open(QStringLiteral("Add a User"));
        QCOMPARE(d->RecordNumber, 2);
        d->SetFieldText(1, QStringLiteral("Bo"));
        d->SetFieldText(2, QStringLiteral("Dahl"));
        d->SetFieldText(3, QStringLiteral("bo99"));
        d->cmdSave_Click();
        QCOMPARE(ReadTestUser(1).FirstName, QStringLiteral("Ann"));
        QCOMPARE(ReadTestUser(2).FirstName, QStringLiteral("Bo"));
    }

    void viewingWithoutChangesWritesNothing() {
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 2);
        AddTestUser(QStringLiteral("Bo"), QStringLiteral("Dahl"), QStringLiteral("bo99"), 3);
        QFile list(UserListFileName);
        QVERIFY(list.open(QIODevice::ReadOnly));
        const QByteArray before = list.readAll();
        list.close();
        frmAddEditUser* d = Open(QStringLiteral("View/Edit this User"), 2);
        QCOMPARE(d->windowTitle(), QStringLiteral("Vardel - View/Edit this User"));
        QCOMPARE(d->FieldText(1), QStringLiteral("Bo"));
        QCOMPARE(d->FieldText(2), QStringLiteral("Dahl"));
        QCOMPARE(d->FieldText(3), QStringLiteral("bo99"));
        QVERIFY(d->optAccessLevel[3]->isChecked());
        QCOMPARE(d->lblDateCreated->text(), QStringLiteral(" Record Created 03/07/2010 02:05pm "));
        QVERIFY(Shown(d->lblDateCreated));
        QVERIFY(d->cmdSave->isHidden());
        QCOMPARE(d->cmdSave->Caption(), QStringLiteral("&Save\r\nChanges"));
        QCOMPARE(d->cmdCancel->Caption(), QStringLiteral("&Finished\r\nViewing"));
        // Entering and leaving boxes is no change.
        d->txtField_GotFocus(2);
        d->txtField_LostFocus(2);
        QVERIFY(d->cmdSave->isHidden());
        d->cmdCancel_Click();
        QVERIFY(!d->isVisible());
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(), before);
        QVERIFY(m_admin->cmdEditUser->Tag.isEmpty());
    }

    void changingOnlyTheLevelOffersSave() {
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 2);
        frmAddEditUser* d = Open(QStringLiteral("View/Edit this User"), 1);
        d->optAccessLevel[4]->setChecked(true);
        QVERIFY(Shown(d->cmdSave));
        QVERIFY(d->cmdSave->isEnabled());
        QCOMPARE(d->cmdCancel->Caption(), QStringLiteral("&Cancel\r\nChanges"));
        // Once shown, the button stays and follows completeness.
        d->SetFieldText(1, QString());
        QVERIFY(Shown(d->cmdSave));
        QVERIFY(!d->cmdSave->isEnabled());
        d->SetFieldText(1, QStringLiteral("Ann"));
        d->cmdSave_Click();
        const UserRecord r = ReadTestUser(1);
        QCOMPARE(r.AccessLevel, qint16(4));
        QCOMPARE(r.DateCreated, 40244 + 845.0 / 1440);
        QCOMPARE(UnscramblePassword(r.Password), QStringLiteral("pass1"));
        QCOMPARE(m_admin->cmdEditUser->Tag, QStringLiteral("Update"));
        QVERIFY(m_admin->cmdAddUser->Tag.isEmpty());
    }

    void editWithAnIncompleteChangeKeepsSaveHidden() {
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 2);
        frmAddEditUser* d = Open(QStringLiteral("View/Edit this User"), 1);
        d->SetFieldText(2, QString());
        QVERIFY(d->cmdSave->isHidden());
        QCOMPARE(d->cmdCancel->Caption(), QStringLiteral("&Cancel\r\nChanges"));
    }

    void commentsGauge_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("caption");
        QTest::newRow("empty") << 0 << QString();
        QTest::newRow("one") << 1 << QStringLiteral(" 1% full ");
        QTest::newRow("four") << 4 << QStringLiteral(" 1% full ");
        QTest::newRow("half") << 220 << QStringLiteral(" 50% full ");
        QTest::newRow("full") << 439 << QStringLiteral(" 100% full ");
        QTest::newRow("beyond") << 500 << QStringLiteral(" 100% full ");
    }

    void commentsGauge() {
        QFETCH(int, length);
        QFETCH(QString, caption);
        frmAddEditUser* d = Open(QStringLiteral("Add a User"));
        d->SetFieldText(4, QString(length, QLatin1Char('x')));
        QCOMPARE(d->FieldText(4).size(), std::min(length, 439));
        QCOMPARE(d->lblSpaceFull->isHidden(), length == 0);
        if (length > 0)
            QCOMPARE(d->lblSpaceFull->text(), caption);
    }

    void commentLineBreaksAreStoredAsCrLf() {
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 2);
        OpenUserList();
        ReadUserRecord(1);
        CurrentUser.Comments = QStringLiteral("Line one\r\nLine two");
        WriteUserRecord(1);
        CloseUserList();
        frmAddEditUser* d = Open(QStringLiteral("View/Edit this User"), 1);
        QCOMPARE(d->commentsField()->toPlainText(), QStringLiteral("Line one\nLine two"));
        // A line break takes two of the 439 places, as it does in the file.
        QCOMPARE(d->lblSpaceFull->text(), QStringLiteral(" 4% full "));
        d->SetFieldText(4, QString(437, QLatin1Char('x')) + QStringLiteral("\r\nyz"));
        QCOMPARE(d->FieldText(4), QString(437, QLatin1Char('x')) + QStringLiteral("\r\n"));
        d->SetFieldText(4, QString(438, QLatin1Char('x')) + QStringLiteral("\r\ny"));
        QCOMPARE(d->FieldText(4), QString(438, QLatin1Char('x')));
        d->SetFieldText(4, QStringLiteral("Line one\r\nLine three"));
        d->cmdSave_Click();
        QCOMPARE(ReadTestUser(1).Comments, QStringLiteral("Line one\r\nLine three"));
    }

    void fadingDialogClosesThroughTheFade() {
        SetFadeSupport(FadeSupport::Always);
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("1"));
        frmAddEditUser* d = Open(QStringLiteral("Add a User"));
        QCOMPARE(FadeOn, qint16(-1));
        d->fade()->WaitForFade();
        QCOMPARE(d->fade()->Opacity, qint16(255));
        d->cmdCancel_Click();
        QVERIFY(d->isVisible());
        d->fade()->WaitForFade();
        QCOMPARE(d->fade()->Opacity, qint16(0));
        QVERIFY(!d->isVisible());
    }
};

QTEST_MAIN(tst_frmAddEditUser)
#include "tst_frmaddedituser.moc"
