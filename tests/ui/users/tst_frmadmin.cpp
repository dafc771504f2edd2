#include "ScriptedDialogs.h"
#include "TempWorkDir.h"
#include "WindowTestSupport.h"

#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/Navigation.h"
#include "ui/controls/ZelButton.h"
#include "ui/help/frmManual.h"
#include "core/store/DataFile.h"
#include "ui/main/frmMain.h"
#include "core/users/AccessCode.h"
#include "core/users/UserList.h"
#include "ui/users/frmAddEditUser.h"
#include "ui/users/frmAdmin.h"

#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <functional>
#include <memory>

namespace {

const QString kEmptyText = QStringLiteral("There are currently no 'Users'\r\nentered in the 'User List'");
const QString kCodePrompt =
    QStringLiteral("\r\nPlease enter the access code\r\nneeded to add/edit/delete\r\nusers in this 'User List'");

// Calls back when a main window is shown, before anything else happens to it.
class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(std::function<void()> onShow) : m_onShow(std::move(onShow)) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<frmMain*>(watched))
            m_onShow();
        return false;
    }

private:
    std::function<void()> m_onShow;
};

} // namespace

class tst_frmAdmin : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QPointer<frmAdmin> m_window;
    int m_endCalls = 0;

    // Shows a fresh window and runs its first activation; answer the messages it brings up beforehand.
    frmAdmin* OpenWindow() {
        m_window = new frmAdmin;
        m_window->show();
        m_window->Form_Activate();
        return m_window;
    }

    static void AddAnn() { AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 2); }

    // The usual start: one user, Ann Lee, with read/edit rights.
    frmAdmin* OpenWithAnn() {
        AddAnn();
        return OpenWindow();
    }

    void EnterAdminMode() {
        m_dialogs->answerText(QStringLiteral("1234"));
        m_window->cmdAdmin_Click();
        QVERIFY(m_window->AdminMode);
    }

    static bool Shown(const QWidget* w) { return !w->isHidden(); }

    static void Touch(const QString& name) {
        QFile file(name);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(name));
    }

    static void CompareMessage(const ScriptedDialogs::Call& call, const QString& text, const QString& title,
                               MsgIcon icon) {
        QCOMPARE(call.text, text);
        QCOMPARE(call.title, title);
        QCOMPARE(call.icon, icon);
    }

private slots:
    void initTestCase() {
        InitProgramValues();
        SetApplicationEndHook([this] { ++m_endCalls; });
    }

    void init() {
        m_dir = std::make_unique<TempWorkDir>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        SaveSetting(QStringLiteral("AccessCodeHash"), QString());
        SaveSetting(QStringLiteral("AccessCodeSalt"), QString());
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("0"));
        SaveSetting(QStringLiteral("AgencyName"), QString());
        SetAccessCode(QStringLiteral("1234"));
        SetFadeSupport(FadeSupport::Auto);
        FadeOn = 0;
        m_endCalls = 0;
        CurrentUserName.clear();
        CurrentAccessLevel = 0;
    }

    void cleanup() {
        delete m_window.data();
        DeleteWindows<frmMain>();
        DeleteWindows<frmAdmin>();
        QCOMPARE(m_dialogs->pending(), 0);
        m_dialogs.reset();
        m_dir.reset();
        SetFadeSupport(FadeSupport::Auto);
    }

    void platformWithoutFadingStoresFadingOff() {
        AddAnn();
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("1"));
        frmAdmin* w = OpenWindow();
        QCOMPARE(GetSetting(QStringLiteral("FadeStatus")), QStringLiteral("0"));
        QCOMPARE(FadeOn, qint16(0));
        QVERIFY(w->chkFadeStatus->isHidden());
        QVERIFY(w->shp->isHidden());
    }

    void missingUserListShowsEmptyMessageAndNoGrid() {
        m_dialogs->answer(MsgResult::OK);
        frmAdmin* w = OpenWindow();
        QCOMPARE(m_dialogs->calls().size(), 1);
        const auto& call = m_dialogs->last();
        CompareMessage(call, kEmptyText, QStringLiteral("'User List' Empty"), MsgIcon::Information);
        QCOMPARE(call.buttons, MsgButtons::OK);
        QVERIFY(w->grid->isHidden());
        QVERIFY(w->cmdUserSelected->isHidden());
        QVERIFY(Shown(w->cmdAdmin));
    }

    void accessCodeWithNoUsersOpensTheAddDialogAtOnce() {
        m_dialogs->answer(MsgResult::OK);
        frmAdmin* w = OpenWindow();
        m_dialogs->answerText(QStringLiteral("1234"));
        bool found = false;
        QString mode;
        WhenModal<frmAddEditUser>(
            [&mode](frmAddEditUser* d) {
                d->Form_Activate();
                mode = d->Tag;
                d->SetFieldText(1, QStringLiteral("Ann"));
                d->SetFieldText(2, QStringLiteral("Lee"));
                d->SetFieldText(3, QStringLiteral("pass1"));
                d->cmdSave_Click();
            },
            &found);
        w->cmdAdmin_Click();
        QVERIFY(found);
        QCOMPARE(mode, QStringLiteral("Add a User"));
        const auto& prompt = m_dialogs->calls().at(1);
        QCOMPARE(prompt.kind, ScriptedDialogs::Kind::Input);
        QCOMPARE(prompt.title, QStringLiteral("Access Code Required"));
        QCOMPARE(prompt.text, kCodePrompt);
        QCOMPARE(prompt.defaultText, QStringLiteral("<Enter Access Code Here>"));
        // The saved user is listed and selected, and the buttons follow.
        QVERIFY(w->AdminMode);
        QVERIFY(!w->grid->isHidden());
        QCOMPARE(w->UserRowCount(), 1);
        QCOMPARE(w->GridRow(), 1);
        QCOMPARE(w->GridText(1, 0), QStringLiteral("Ann Lee"));
        QVERIFY(w->cmdAddUser->Tag.isEmpty());
        QVERIFY(Shown(w->cmdEditUser));
        QVERIFY(Shown(w->cmdDeleteUser));
    }

    void accessCodeAnswers_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("refusals");
        QTest::addColumn<bool>("admin");
        QTest::newRow("right") << QStringList{QStringLiteral("1234")} << 0 << true;
        QTest::newRow("wrong then right") << QStringList{QStringLiteral("4321"), QStringLiteral("1234")} << 1 << true;
        QTest::newRow("cancel") << QStringList{QString()} << 0 << false;
        QTest::newRow("wrong then cancel") << QStringList{QStringLiteral("12345"), QString()} << 1 << false;
        QTest::newRow("default text") << QStringList{QStringLiteral("<Enter Access Code Here>"), QString()} << 1
                                      << false;
        QTest::newRow("code with a blank") << QStringList{QStringLiteral(" 1234"), QString()} << 1 << false;
    }

    void accessCodeAnswers() {
        QFETCH(QStringList, answers);
        QFETCH(int, refusals);
        QFETCH(bool, admin);
        frmAdmin* w = OpenWithAnn();
        for (const QString& a : answers) {
            m_dialogs->answerText(a);
            if (a != QStringLiteral("1234") && !a.isEmpty())
                m_dialogs->answer(MsgResult::OK);
        }
        w->cmdAdmin_Click();
        QCOMPARE(w->AdminMode, admin);
        int seen = 0;
        for (const auto& call : m_dialogs->calls()) {
            if (call.kind == ScriptedDialogs::Kind::Input) {
                QCOMPARE(call.text, kCodePrompt);
            } else {
                ++seen;
                CompareMessage(call, QStringLiteral("Sorry, but you have not entered\r\nthe correct Access Code."),
                               QStringLiteral("Incorrect Access Code"), MsgIcon::Critical);
            }
        }
        QCOMPARE(seen, refusals);
        QCOMPARE(Shown(w->cmdUserSelected), !admin);
        QCOMPARE(Shown(w->cmdEditUser), admin);
        QCOMPARE(w->timerFlashButton->isActive(), admin);
    }

    void firstUseChoosesAndStoresACode() {
        QFile::remove(AccessCodeFileName);
        frmAdmin* w = OpenWithAnn();
        // Too short, then two entries that differ, then the same code twice.
        m_dialogs->answerText(QStringLiteral("123"));
        m_dialogs->answer(MsgResult::OK);
        m_dialogs->answerText(QStringLiteral("246802"));
        m_dialogs->answerText(QStringLiteral("246813"));
        m_dialogs->answer(MsgResult::OK);
        m_dialogs->answerText(QStringLiteral("246802"));
        m_dialogs->answerText(QStringLiteral("246802"));
        w->cmdAdmin_Click();
        QVERIFY(w->AdminMode);
        QVERIFY(HasAccessCode());
        QVERIFY(AccessCodeMatches(QStringLiteral("246802")));
        QFile stored(AccessCodeFileName);
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QVERIFY(!stored.readAll().contains("246802"));
        const auto& calls = m_dialogs->calls();
        QCOMPARE(calls.size(), 7);
        QCOMPARE(calls.at(1).icon, MsgIcon::Critical);
        QCOMPARE(calls.at(4).icon, MsgIcon::Critical);
        QVERIFY(calls.at(1).title != calls.at(4).title);

        // From then on the ordinary prompt applies.
        w->cmdAdmin_Click();
        QVERIFY(!w->AdminMode);
        m_dialogs->answerText(QStringLiteral("246802"));
        w->cmdAdmin_Click();
        QVERIFY(w->AdminMode);
        QCOMPARE(m_dialogs->last().title, QStringLiteral("Access Code Required"));
    }

    void firstUseCancelledChangesNothing_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("cancel at once") << QStringList{QString()};
        QTest::newRow("cancel the confirmation") << QStringList{QStringLiteral("555555"), QString()};
    }

    void firstUseCancelledChangesNothing() {
        QFETCH(QStringList, answers);
        QFile::remove(AccessCodeFileName);
        frmAdmin* w = OpenWithAnn();
        for (const QString& a : answers)
            m_dialogs->answerText(a);
        w->cmdAdmin_Click();
        QVERIFY(!w->AdminMode);
        QVERIFY(!HasAccessCode());
        QVERIFY(Shown(w->cmdUserSelected));
    }

    void buttonsFollowTheMode() {
        frmAdmin* w = OpenWithAnn();
        QVERIFY(Shown(w->cmdUserSelected));
        QCOMPARE(w->cmdQuit->toolTip(), QStringLiteral(" Click here to exit Vardel "));
        for (QWidget* b : {static_cast<QWidget*>(w->cmdAddUser), static_cast<QWidget*>(w->cmdEditUser),
                           static_cast<QWidget*>(w->cmdDeleteUser), static_cast<QWidget*>(w->cmdReviewUserLog),
                           static_cast<QWidget*>(w->cmdAgencyName), static_cast<QWidget*>(w->cmdReviewChangeLog)})
            QVERIFY2(b->isHidden(), qPrintable(b->objectName()));

        EnterAdminMode();
        QCOMPARE(w->cmdAdmin->Caption(), QStringLiteral("Finished w/ '&User List' Admin"));
        QVERIFY(Shown(w->cmdAddUser));
        QVERIFY(Shown(w->cmdEditUser));
        QVERIFY(Shown(w->cmdDeleteUser));
        QVERIFY(Shown(w->cmdAgencyName));
        QVERIFY(Shown(w->cmdReviewChangeLog));
        QVERIFY(w->cmdUserSelected->isHidden());
        // No log yet: nothing to review.
        QVERIFY(w->cmdReviewUserLog->isHidden());
        Touch(UserLogFileName);
        w->UpdateAdminButtons();
        QVERIFY(Shown(w->cmdReviewUserLog));

        w->cmdAdmin_Click();
        QVERIFY(!w->AdminMode);
        QVERIFY(!w->timerFlashButton->isActive());
        QVERIFY(w->cmdAddUser->isHidden());
        QVERIFY(Shown(w->cmdUserSelected));
        QCOMPARE(w->cmdAdmin->BackColor(), QColor(0, 128, 128));
        QCOMPARE(w->cmdAdmin->ForeColor(), QColor(0, 0, 0));
    }

    void gridSortsWithoutCaseAndShadesEvenRows() {
        AddTestUser(QStringLiteral("bob"), QStringLiteral("Zed"), QStringLiteral("pass1"), 1);
        AddTestUser(QStringLiteral("Amy"), QStringLiteral("adams"), QStringLiteral("pass2"), 4);
        AddTestUser(QStringLiteral("Carl"), QStringLiteral("Baker"), QStringLiteral("pass3"), 3, 0);
        AddTestUser(QStringLiteral("Dee"), QStringLiteral("baker"), QStringLiteral("pass4"), 2);
        frmAdmin* w = OpenWindow();
        QCOMPARE(w->UserRowCount(), 4);
        const QStringList names = {w->GridText(1, 0), w->GridText(2, 0), w->GridText(3, 0), w->GridText(4, 0)};
        QCOMPARE(names, (QStringList{QStringLiteral("Amy adams"), QStringLiteral("Carl Baker"),
                                     QStringLiteral("Dee baker"), QStringLiteral("bob Zed")}));
        QCOMPARE(w->GridText(1, frmAdmin::ColNameSort), QStringLiteral("adams Amy"));
        QCOMPARE(w->GridText(1, frmAdmin::ColRecNum), QStringLiteral("2"));
        QCOMPARE(w->GridText(4, frmAdmin::ColRecNum), QStringLiteral("1"));
        QCOMPARE(w->GridText(1, frmAdmin::ColLevel), QStringLiteral("Read/Edit/Add/Delete"));
        QCOMPARE(w->GridText(1, frmAdmin::ColCreated), QStringLiteral("03/07/2010"));
        QCOMPARE(w->GridText(2, frmAdmin::ColCreated), QStringLiteral("12/30/1899"));
        QCOMPARE(w->GridRow(), 1);
        QCOMPARE(w->SelectedRecNum(), 2);
        // Grid rows 2 and 4 are shaded across the visible columns, rows 1 and 3 are not.
        const QColor shade(240, 240, 240);
        for (int row = 1; row <= 4; ++row)
            for (int col = 0; col <= 2; ++col) {
                const QBrush brush = w->grid->item(row - 1, col)->background();
                QCOMPARE(brush.style() != Qt::NoBrush && brush.color() == shade, row % 2 == 0);
            }
    }

    void passwordBoxDecidesTheDefaultButton() {
        frmAdmin* w = OpenWithAnn();
        w->cmdUserSelected_Click();
        QVERIFY(!w->grid->isEnabled());
        QVERIFY(!w->cmdContinue->isEnabled());
        QVERIFY(w->cmdCancel->isDefault());

        w->txtPassword->setText(QStringLiteral("p"));
        QVERIFY(w->cmdContinue->isEnabled());
        QVERIFY(w->cmdContinue->isDefault());
        QVERIFY(!w->cmdCancel->isDefault());
        w->txtPassword->clear();
        QVERIFY(!w->cmdContinue->isEnabled());
        QVERIFY(!w->cmdContinue->isDefault());
        QVERIFY(w->cmdCancel->isDefault());
        QVERIFY(w->cmdCancel->isEnabled());

        // A second click while asking changes nothing.
        w->cmdUserSelected_Click();
        QCOMPARE(w->cmdUserSelected->Tag, QStringLiteral("&Select the Highlighted User"));

        w->cmdCancel_Click();
        QVERIFY(w->txtPassword->isHidden());
        QVERIFY(w->grid->isEnabled());
        QCOMPARE(w->cmdUserSelected->Caption(), QStringLiteral("&Select the Highlighted User"));
        QVERIFY(w->cmdUserSelected->Tag.isEmpty());
    }

    void wrongPasswordWritesNothing_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("other") << QStringLiteral("pass2");
        QTest::newRow("other case") << QStringLiteral("PASS1");
        QTest::newRow("cut short") << QStringLiteral("pass");
        QTest::newRow("trailing blank") << QStringLiteral("pass1 ");
    }

    void wrongPasswordWritesNothing() {
        QFETCH(QString, typed);
        frmAdmin* w = OpenWithAnn();
        w->cmdUserSelected_Click();
        w->txtPassword->setText(typed);
        m_dialogs->answer(MsgResult::OK);
        w->cmdContinue_Click();
        CompareMessage(m_dialogs->last(),
                       QStringLiteral("That is not the correct password\r\nassociated with this name"),
                       QStringLiteral("Incorrect Password"), MsgIcon::Critical);
        QVERIFY(!QFile::exists(UserLogFileName));
        QVERIFY(w->txtPassword->text().isEmpty());
        QVERIFY(Shown(w->txtPassword));
        QVERIFY(w->isVisible());
        QVERIFY(OpenWindows<frmMain>().isEmpty());
        QVERIFY(CurrentUserName.isEmpty());
    }

    void rightPasswordLogsInOnceAndOpensTheMainWindow() {
        AddAnn();
        AddTestUser(QStringLiteral("Bo"), QStringLiteral("Dahl"), QStringLiteral("bo99"), 3);
        frmAdmin* w = OpenWindow();
        QCOMPARE(w->GridText(1, 0), QStringLiteral("Bo Dahl"));
        w->SetGridRow(2);
        w->cmdUserSelected_Click();
        w->txtPassword->setText(QStringLiteral("pass1"));
        w->cmdContinue_Click();
        QCOMPARE(CurrentUserName, QStringLiteral("Ann Lee"));
        QCOMPARE(CurrentAccessLevel, qint16(2));
        const QStringList lines = UserLogLines();
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.first().endsWith(QStringLiteral(" - Ann Lee logged in w/ Read/Edit privileges.")));
        QVERIFY(!w->isVisible());
        QCOMPARE(OpenWindows<frmMain>().size(), 1);
        QCOMPARE(m_endCalls, 0);
    }

    void logInLineIsWrittenBeforeTheMainWindowOpens_data() {
        QTest::addColumn<bool>("fading");
        QTest::newRow("fading off") << false;
        QTest::newRow("fading on") << true;
    }
    void logInLineIsWrittenBeforeTheMainWindowOpens() {
        QFETCH(bool, fading);
        if (fading) {
            SetFadeSupport(FadeSupport::Always);
            SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("1"));
        }
        frmAdmin* w = OpenWithAnn();
        w->fade()->WaitForFade();
        // The log as it stands at the moment the main window is shown.
        int linesAtShow = -1;
        ShowWatcher watcher([&linesAtShow] { linesAtShow = static_cast<int>(UserLogLines().size()); });
        w->cmdUserSelected_Click();
        w->txtPassword->setText(QStringLiteral("pass1"));
        w->cmdContinue_Click();
        if (fading)
            w->fade()->WaitForFade();
        QCOMPARE(OpenWindows<frmMain>().size(), 1);
        QCOMPARE(linesAtShow, 1);
    }

    void unreadableCreationDateShowsEmpty() {
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 2, std::nan(""));
        AddTestUser(QStringLiteral("Bo"), QStringLiteral("Dahl"), QStringLiteral("bo99"), 3, 1e300);
        frmAdmin* w = OpenWindow();
        QCOMPARE(w->UserRowCount(), 2);
        QCOMPARE(w->GridText(1, frmAdmin::ColCreated), QString());
        QCOMPARE(w->GridText(2, frmAdmin::ColCreated), QString());
    }

    void removingRowOneSelectsRowOneAgain() {
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Abel"), QStringLiteral("pass1"), 2);
        AddTestUser(QStringLiteral("Bo"), QStringLiteral("Boyd"), QStringLiteral("pass2"), 2);
        AddTestUser(QStringLiteral("Cy"), QStringLiteral("Cole"), QStringLiteral("pass3"), 2);
        frmAdmin* w = OpenWindow();
        EnterAdminMode();
        m_dialogs->answer(MsgResult::Yes);
        m_dialogs->answer(MsgResult::OK);
        w->cmdDeleteUser_Click();
        const auto& ask = m_dialogs->calls().at(1);
        CompareMessage(ask,
                       QStringLiteral("Are you sure you want to remove\r\n\r\nAnn Abel\r\n\r\nfrom the 'User List'?"),
                       QStringLiteral("Confirm Deletion"), MsgIcon::Question);
        QCOMPARE(ask.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(ask.defaultButton, MsgResult::No);
        CompareMessage(m_dialogs->last(), QStringLiteral("The name has been removed\r\nfrom the 'User List'."),
                       QStringLiteral("Name removed"), MsgIcon::Information);
        QCOMPARE(w->UserRowCount(), 2);
        QCOMPARE(w->GridRow(), 1);
        QCOMPARE(w->GridText(1, 0), QStringLiteral("Bo Boyd"));

        // Removing row 2 of 2 leaves row 1 current.
        w->SetGridRow(2);
        m_dialogs->answer(MsgResult::Yes);
        m_dialogs->answer(MsgResult::OK);
        w->cmdDeleteUser_Click();
        QCOMPARE(w->UserRowCount(), 1);
        QCOMPARE(w->GridRow(), 1);
        QCOMPARE(w->GridText(1, 0), QStringLiteral("Bo Boyd"));
        QCOMPARE(w->SelectedRecNum(), 1);
    }

    void removingRowThreeOfFourSelectsRowTwo() {
        for (const char* name : {"Abel", "Boyd", "Cole", "Dunn"})
            AddTestUser(QStringLiteral("Al"), QLatin1String(name), QStringLiteral("pass1"), 2);
        frmAdmin* w = OpenWindow();
        EnterAdminMode();
        w->SetGridRow(3);
        m_dialogs->answer(MsgResult::Yes);
        m_dialogs->answer(MsgResult::OK);
        w->cmdDeleteUser_Click();
        QCOMPARE(w->UserRowCount(), 3);
        // The row before the removed one, not the one that moved into its place.
        QCOMPARE(w->GridRow(), 2);
        QCOMPARE(w->GridText(2, 0), QStringLiteral("Al Boyd"));
    }

    void deletionNeedsYes_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::newRow("no") << MsgResult::No;
        QTest::newRow("cancel") << MsgResult::Cancel;
    }

    void deletionNeedsYes() {
        QFETCH(MsgResult, answer);
        frmAdmin* w = OpenWithAnn();
        EnterAdminMode();
        m_dialogs->answer(answer);
        w->cmdDeleteUser_Click();
        QCOMPARE(w->UserRowCount(), 1);
        QCOMPARE(QFileInfo(UserListFileName).size(), qint64(UserRecordLength));
    }

    void removingTheLastUserDeletesTheListAndHidesTheGrid() {
        frmAdmin* w = OpenWithAnn();
        EnterAdminMode();
        m_dialogs->answer(MsgResult::Yes);
        m_dialogs->answer(MsgResult::OK); // the list is empty now
        m_dialogs->answer(MsgResult::OK); // the name is removed
        w->cmdDeleteUser_Click();
        QVERIFY(!QFile::exists(UserListFileName));
        QVERIFY(w->grid->isHidden());
        QCOMPARE(m_dialogs->calls().at(2).title, QStringLiteral("'User List' Empty"));
        QCOMPARE(m_dialogs->last().title, QStringLiteral("Name removed"));
        QVERIFY(w->cmdEditUser->isHidden());
        QVERIFY(w->cmdDeleteUser->isHidden());
        QVERIFY(Shown(w->cmdAddUser));
    }

    void editingReselectsTheSavedUser() {
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Abel"), QStringLiteral("pass1"), 2);
        AddTestUser(QStringLiteral("Bo"), QStringLiteral("Boyd"), QStringLiteral("pass2"), 2);
        frmAdmin* w = OpenWindow();
        EnterAdminMode();
        w->SetGridRow(1);
        WhenModal<frmAddEditUser>([](frmAddEditUser* d) {
            d->Form_Activate();
            d->SetFieldText(2, QStringLiteral("Zorn"));
            d->cmdSave_Click();
        });
        w->cmdEditUser_Click();
        QCOMPARE(w->GridText(2, 0), QStringLiteral("Ann Zorn"));
        QCOMPARE(w->GridRow(), 2);
        QVERIFY(w->cmdEditUser->Tag.isEmpty());

        // A dialog closed without saving leaves the grid as it is.
        w->SetGridRow(1);
        WhenModal<frmAddEditUser>([](frmAddEditUser* d) {
            d->Form_Activate();
            d->cmdCancel_Click();
        });
        w->cmdEditUser_Click();
        QCOMPARE(w->GridRow(), 1);
    }

    void userLogReviewShowsAndHides() {
        AddAnn();
        Touch(UserLogFileName);
        frmAdmin* w = OpenWindow();
        EnterAdminMode();
        m_dialogs->answer(MsgResult::OK);
        w->cmdReviewUserLog_Click();
        CompareMessage(m_dialogs->last(), QStringLiteral("There is currently no data\r\nin the 'User Log'."),
                       QStringLiteral("Nothing to View"), MsgIcon::Information);
        QVERIFY(!w->ViewingLog);

        const QByteArray bytes("  01/02/2020 at 10:00:00 - Ren\xe9 Ort logged out.\r\n");
        QFile log(UserLogFileName);
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write(bytes);
        log.close();
        w->cmdReviewUserLog_Click();
        QVERIFY(w->ViewingLog);
        QCOMPARE(w->windowTitle(), QStringLiteral("Vardel - User Log"));
        QCOMPARE(w->cmdReviewUserLog->Caption(), QStringLiteral("Finished Viewing"));
        QVERIFY(w->grid->isHidden());
        QVERIFY(Shown(w->txtUserLog));
        QCOMPARE(w->txtUserLog->geometry().top(), w->grid->geometry().top());
        QCOMPARE(w->txtUserLog->toPlainText(), QStringLiteral("01/02/2020 at 10:00:00 - Ren\u00e9 Ort logged out."));
        for (QWidget* b : {static_cast<QWidget*>(w->cmdAdmin), static_cast<QWidget*>(w->cmdAddUser),
                           static_cast<QWidget*>(w->cmdEditUser), static_cast<QWidget*>(w->cmdDeleteUser)})
            QVERIFY(b->isHidden());
        // While the log shows, the review button flashes instead of the admin button.
        const QColor adminFace = w->cmdAdmin->BackColor();
        w->timerFlashButton_Timer();
        QCOMPARE(w->cmdAdmin->BackColor(), adminFace);

        w->cmdReviewUserLog_Click();
        QVERIFY(!w->ViewingLog);
        QCOMPARE(w->windowTitle(), QStringLiteral("Vardel - Admin Window"));
        QVERIFY(w->txtUserLog->isHidden());
        QVERIFY(w->txtUserLog->toPlainText().isEmpty());
        QVERIFY(Shown(w->grid));
        QVERIFY(Shown(w->cmdAdmin));
        QCOMPARE(w->cmdReviewUserLog->Caption(), QStringLiteral("&Review User Log"));
        QCOMPARE(w->cmdReviewUserLog->ForeColor(), QColor(0, 0, 0));
        // The text shown is never written back.
        QCOMPARE(QFileInfo(UserLogFileName).size(), qint64(bytes.size()));
    }

    void flashingSweepsWithinColourRange() {
        frmAdmin* w = OpenWithAnn();
        EnterAdminMode();
        w->timerFlashButton->stop();
        int lowest = 255, highest = 0;
        for (int tick = 0; tick < 300; ++tick) {
            w->timerFlashButton_Timer();
            const QColor face = w->cmdAdmin->BackColor();
            const QColor text = w->cmdAdmin->ForeColor();
            QVERIFY(face.isValid() && text.isValid());
            QCOMPARE(face.blue(), 0);
            lowest = std::min(lowest, text.red());
            highest = std::max(highest, text.red());
        }
        QCOMPARE(lowest, 4);
        QCOMPARE(highest, 252);
        QVERIFY(w->FlashBack >= -4 && w->FlashBack <= 252);
    }

    void gridToolTipsFollowTheButtons() {
        frmAdmin* w = OpenWithAnn();
        const QPoint onRow(10, w->grid->rowViewportPosition(0) + 2);
        w->grid_MouseMove(onRow);
        QCOMPARE(w->grid->toolTip(), QStringLiteral(" Double-click to select this User "));
        w->grid_MouseMove(QPoint(10, w->grid->viewport()->height() - 2));
        QVERIFY(w->grid->toolTip().isEmpty());
        EnterAdminMode();
        w->grid_MouseMove(onRow);
        QCOMPARE(w->grid->toolTip(), QStringLiteral(" Double-click to view/edit this User "));
    }

    void quitAnsweredNoChangesNothing() {
        frmAdmin* w = OpenWithAnn();
        m_dialogs->answer(MsgResult::No);
        w->cmdQuit_Click();
        CompareMessage(m_dialogs->last(), QStringLiteral("This will close Vardel.\r\n\r\nIs this what you want to do?"),
                       QStringLiteral("Exit Vardel?"), MsgIcon::Question);
        QCOMPARE(m_dialogs->last().buttons, MsgButtons::YesNo);
        QCOMPARE(m_endCalls, 0);
        QVERIFY(w->isVisible());
        QVERIFY(!QFile::exists(UserLogFileName));

        // Closing from the title bar asks the same question instead of ending at once.
        m_dialogs->answer(MsgResult::No);
        w->close();
        QVERIFY(w->isVisible());
        QTRY_COMPARE(m_dialogs->calls().size(), 2);
        QCOMPARE(m_dialogs->last().title, QStringLiteral("Exit Vardel?"));
        QVERIFY(w->isVisible());
        QCOMPARE(m_endCalls, 0);
    }

    void quitAnsweredYesShutsDown() {
        frmAdmin* w = OpenWithAnn();
        m_dialogs->answer(MsgResult::Yes);
        w->cmdQuit_Click();
        QCOMPARE(m_endCalls, 1);
        QVERIFY(!w->isVisible());
        QVERIFY(!QFile::exists(UserLogFileName));
    }

    void shutdownDeletesOnlyEmptyDataFiles() {
        Touch(DataFileName);
        AddAnn();
        Touch(UserLogFileName);
        Touch(QStringLiteral("Notes.txt"));
        frmAdmin* w = OpenWindow();
        ShutDownApplication();
        QVERIFY(!QFile::exists(DataFileName));
        QVERIFY(!QFile::exists(UserLogFileName));
        QCOMPARE(QFileInfo(UserListFileName).size(), qint64(UserRecordLength));
        QVERIFY(QFile::exists(QStringLiteral("Notes.txt")));
        QVERIFY(!w->isVisible());
        QVERIFY(!UserListIsOpen());
        QVERIFY(!ShutdownInProgress());
        QCOMPARE(m_endCalls, 1);
    }

    void fadeSwitchStoresTheSetting() {
        SetFadeSupport(FadeSupport::Always);
        frmAdmin* w = OpenWithAnn();
        // Fading possible but switched off: the window is opaque and the switch shows.
        QCOMPARE(FadeOn, qint16(0));
        QCOMPARE(w->windowOpacity(), 1.0);
        QVERIFY(Shown(w->chkFadeStatus));
        QVERIFY(!w->chkFadeStatus->isChecked());
        QCOMPARE(w->chkFadeStatus->toolTip(),
                 QStringLiteral(" Check this option if your forms fade in and out too slowly "));
        w->chkFadeStatus->click();
        QCOMPARE(GetSetting(QStringLiteral("FadeStatus")), QStringLiteral("1"));
        QCOMPARE(FadeOn, qint16(-1));
        w->chkFadeStatus->click();
        QCOMPARE(GetSetting(QStringLiteral("FadeStatus")), QStringLiteral("0"));
        QCOMPARE(FadeOn, qint16(0));
    }

    void fadingLogInClosesThroughTheFade() {
        SetFadeSupport(FadeSupport::Always);
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("1"));
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 4);
        frmAdmin* w = OpenWindow();
        QCOMPARE(FadeOn, qint16(-1));
        QVERIFY(w->chkFadeStatus->isChecked());
        w->fade()->WaitForFade();
        QCOMPARE(w->fade()->Opacity, qint16(255));
        QVERIFY(w->isEnabled());

        w->cmdUserSelected_Click();
        w->txtPassword->setText(QStringLiteral("pass1"));
        w->cmdContinue_Click();
        QCOMPARE(w->cmdContinue->Tag, w->windowTitle());
        QVERIFY(OpenWindows<frmMain>().isEmpty());
        QPointer<frmAdmin> guard(w);
        w->fade()->WaitForFade();
        QVERIFY(!guard || !guard->isVisible());
        QCOMPARE(OpenWindows<frmMain>().size(), 1);
        QCOMPARE(UserLogLines().size(), 1);
        QCOMPARE(m_endCalls, 0);
    }

    void agencyNameIsAskedInAdminMode() {
        frmAdmin* w = OpenWithAnn();
        EnterAdminMode();
        QCOMPARE(w->cmdAgencyName->Caption(), QStringLiteral("A&gency\r\nName..."));
        m_dialogs->answerText(QStringLiteral("  Metro Police  "));
        w->cmdAgencyName_Click();
        QCOMPARE(AgencyName(), QStringLiteral("Metro Police"));
        QVERIFY(m_dialogs->last().defaultText.isEmpty());
        m_dialogs->answerText(QString());
        w->cmdAgencyName_Click();
        QCOMPARE(m_dialogs->last().defaultText, QStringLiteral("Metro Police"));
        QCOMPARE(AgencyName(), QStringLiteral("Metro Police"));
    }
};

QTEST_MAIN(tst_frmAdmin)
#include "tst_frmadmin.moc"
