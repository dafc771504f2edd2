#include "ScriptedDialogs.h"
#include "TempWorkDir.h"
#include "WindowTestSupport.h"

#include "app/AppGlobals.h"
#include "app/FadeEngine.h"
#include "controls/ZelButton.h"
#include "ui/main/frmMain.h"
#include "users/AccessCode.h"
#include "users/Shutdown.h"
#include "users/UserList.h"
#include "users/frmAdmin.h"

#include <QLabel>
#include <QPointer>
#include <QtTest>
#include <memory>

class tst_frmMain : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QPointer<frmMain> m_window;
    int m_endCalls = 0;

    frmMain* OpenWindow() {
        m_window = new frmMain;
        m_window->show();
        m_window->Form_Activate();
        return m_window;
    }

private slots:
    void initTestCase() {
        InitProgramValues();
        SetApplicationEndHook([this] { ++m_endCalls; });
    }

    void init() {
        m_dir = std::make_unique<TempWorkDir>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("0"));
        SaveSetting(QStringLiteral("AgencyName"), QString());
        SetFadeSupport(FadeSupport::Auto);
        FadeOn = 0;
        m_endCalls = 0;
        // The administration window that a return opens finds one user and asks nothing.
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 3);
        CurrentUserName = QStringLiteral("Ann Lee");
        CurrentAccessLevel = 3;
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

    void showsTheLoggedInUser() {
        frmMain* w = OpenWindow();
        QCOMPARE(w->lblUserInfo->text(), QStringLiteral("User: Ann Lee\nAccess: Read/Edit/Add"));
        QVERIFY(w->cmdQuit->isCancel());
    }

    void returningLogsOutOnceAndOpensTheAdminWindow() {
        frmMain* w = OpenWindow();
        w->cmdAdminWindow_Click();
        const QStringList lines = UserLogLines();
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.first().endsWith(QStringLiteral(" - Ann Lee logged out.")));
        QVERIFY(!w->isVisible());
        QCOMPARE(OpenWindows<frmAdmin>().size(), 1);
        QCOMPARE(m_endCalls, 0);
    }

    void quitting_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<int>("logLines");
        QTest::newRow("yes") << MsgResult::Yes << 1;
        QTest::newRow("no") << MsgResult::No << 0;
    }

    void quitting() {
        QFETCH(MsgResult, answer);
        QFETCH(int, logLines);
        frmMain* w = OpenWindow();
        m_dialogs->answer(answer);
        w->cmdQuit_Click();
        QCOMPARE(m_dialogs->last().text, QStringLiteral("This will close Vardel.\r\n\r\nIs this what you want to do?"));
        QCOMPARE(m_dialogs->last().title, QStringLiteral("Exit Vardel?"));
        QCOMPARE(m_dialogs->last().icon, MsgIcon::Question);
        QCOMPARE(m_dialogs->last().buttons, MsgButtons::YesNo);
        QCOMPARE(UserLogLines().size(), logLines);
        QCOMPARE(m_endCalls, logLines);
        QCOMPARE(w->isVisible(), logLines == 0);
        QVERIFY(OpenWindows<frmAdmin>().isEmpty());
    }

    void closingFromTheTitleBarAsksFirst() {
        frmMain* w = OpenWindow();
        m_dialogs->answer(MsgResult::No);
        w->close();
        QTRY_COMPARE(m_dialogs->calls().size(), 1);
        QCOMPARE(m_dialogs->last().title, QStringLiteral("Exit Vardel?"));
        QVERIFY(w->isVisible());
        QVERIFY(UserLogLines().isEmpty());
    }

    void fadingReturnGoesThroughTheFade() {
        SetFadeSupport(FadeSupport::Always);
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("1"));
        frmMain* w = OpenWindow();
        QCOMPARE(FadeOn, qint16(-1));
        w->fade()->WaitForFade();
        w->cmdAdminWindow_Click();
        QCOMPARE(w->cmdAdminWindow->Tag, w->windowTitle());
        QCOMPARE(UserLogLines().size(), 1);
        w->fade()->WaitForFade();
        QVERIFY(!w->isVisible());
        QCOMPARE(OpenWindows<frmAdmin>().size(), 1);
        QCOMPARE(m_endCalls, 0);
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
