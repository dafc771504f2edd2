#include "ScriptedDialogs.h"
#include "TempWorkDir.h"
#include "WindowTestSupport.h"
#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/app/frmTitlePage.h"
#include "ui/controls/ZelButton.h"
#include "core/store/DataFile.h"
#include "ui/main/frmMain.h"
#include "ui/common/Navigation.h"
#include "ui/users/frmAdmin.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <memory>

// The whole way through the program's windows with the real hand-overs: title window, administration window,
// log-in, main window, back to the administration window, and out through the exit routine.
class TestHandOver : public QObject {
    Q_OBJECT

    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    int m_endCalls = 0;

    static frmAdmin* TheAdminWindow() {
        const QList<frmAdmin*> windows = OpenWindows<frmAdmin>();
        return windows.size() == 1 ? windows.first() : nullptr;
    }

    static frmMain* TheMainWindow() {
        const QList<frmMain*> windows = OpenWindows<frmMain>();
        return windows.size() == 1 ? windows.first() : nullptr;
    }

private slots:
    void initTestCase() {
        SetApplicationEndHook([this] { ++m_endCalls; });
    }

    void init() {
        m_dir = std::make_unique<TempWorkDir>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        ClearSettings();
        InitProgramValues();
        SaveSetting(QStringLiteral("NewUser"), QStringLiteral("NoShow"));
        m_endCalls = 0;
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 2);
    }

    void cleanup() {
        DeleteWindows<frmTitlePage>();
        DeleteWindows<frmMain>();
        DeleteWindows<frmAdmin>();
        QCOMPARE(m_dialogs->pending(), 0);
        m_dialogs.reset();
        m_dir.reset();
        SetFadeSupport(FadeSupport::Auto);
        FadeOn = 0;
    }

    void throughEveryWindow_data() {
        QTest::addColumn<bool>("fading");
        QTest::newRow("fading off") << false;
        QTest::newRow("fading on") << true;
    }

    void throughEveryWindow() {
        QFETCH(bool, fading);
        SetFadeSupport(fading ? FadeSupport::Always : FadeSupport::Never);
        SaveSetting(QStringLiteral("FadeStatus"), fading ? QStringLiteral("1") : QStringLiteral("0"));
        // An empty data file left by an earlier run is cleared away at the end; the user files are kept.
        OpenDataFile();
        CloseDataFile();
        QVERIFY(QFileInfo::exists(DataFileName));

        auto* title = new frmTitlePage;
        title->screenPixels = [] { return QSize(1280, 1024); };
        title->show();
        title->Form_Activate();
        title->fadeEngine->WaitForFade();
        title->cmdContinue_Click();
        QTRY_VERIFY(TheAdminWindow() != nullptr);
        QTRY_VERIFY(OpenWindows<frmTitlePage>().isEmpty());

        frmAdmin* admin = TheAdminWindow();
        admin->Form_Activate();
        QVERIFY(!admin->cmdUserSelected->isHidden());
        admin->cmdUserSelected_Click();
        admin->txtPassword->setText(QStringLiteral("pass1"));
        // The main window finds the database empty: it says so and opens help on the employee list.
        m_dialogs->answer(MsgResult::OK);
        std::unique_ptr<QTimer> closeHelp(whenModalAppears([](QWidget* help) { help->close(); }));
        admin->cmdContinue_Click();
        QTRY_VERIFY(TheMainWindow() != nullptr);
        QTRY_COMPARE(m_dialogs->calls().size(), 1);
        QCOMPARE(m_dialogs->last().title, QStringLiteral("Database is empty"));
        QTRY_VERIFY(TheAdminWindow() == nullptr);
        QCOMPARE(CurrentUserName, QStringLiteral("Ann Lee"));
        QCOMPARE(CurrentAccessLevel, qint16(2));

        frmMain* main = TheMainWindow();
        main->Form_Activate();
        main->cmdAdminWindow_Click();
        QTRY_VERIFY(TheAdminWindow() != nullptr);
        QTRY_VERIFY(TheMainWindow() == nullptr);
        QStringList log = UserLogLines();
        QCOMPARE(log.size(), 2);
        QVERIFY(log.at(0).endsWith(QStringLiteral(" - Ann Lee logged in w/ Read/Edit privileges.")));
        QVERIFY(log.at(1).endsWith(QStringLiteral(" - Ann Lee logged out.")));

        // A fresh administration window starts in the selecting state.
        admin = TheAdminWindow();
        admin->Form_Activate();
        QVERIFY(!admin->cmdUserSelected->isHidden());
        QVERIFY(admin->txtPassword->isHidden());
        m_dialogs->answer(MsgResult::Yes);
        admin->cmdQuit_Click();
        QTRY_COMPARE(m_endCalls, 1);
        QVERIFY(TheAdminWindow() == nullptr);
        QVERIFY(!QFileInfo::exists(DataFileName));
        QVERIFY(QFileInfo::exists(UserListFileName));
        QCOMPARE(UserLogLines().size(), 2);
    }
};

QTEST_MAIN(TestHandOver)
#include "tst_handover.moc"
