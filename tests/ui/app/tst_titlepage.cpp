#include "ScriptedDialogs.h"
#include "StartWindowSupport.h"
#include "TempWorkDir.h"
#include "ui/common/FadeEngine.h"
#include "ui/app/frmNewUser.h"
#include "ui/app/frmTitlePage.h"
#include "ui/controls/ZelButton.h"

#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QScopedPointer>
#include <QTest>

using Opacities = QList<int>;

class TestTitlePage : public QObject {
    Q_OBJECT

    TitlePageCounts m_title;

    static void enableFading() {
        SetFadeSupport(FadeSupport::Always);
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("1"));
    }

private slots:
    void init() {
        ResetStartSettings();
        m_title = TitlePageCounts();
    }
    void cleanup() { CloseStartWindows(); }

    void firstActivationShowsNameDescriptionVersionAndBackground() {
        QScopedPointer<frmTitlePage> page(m_title.open());
        QCOMPARE(page->windowTitle(), QStringLiteral("Title Window"));
        QCOMPARE(page->labelAppTitle->text(), QStringLiteral("Vardel"));
        QCOMPARE(page->labelAppDescription->text(), QStringLiteral("Personnel  Management Software"));
        QCOMPARE(page->labelVersion->text(), QStringLiteral("Version w3.12.1"));
        QCOMPARE(page->cmdContinue->Caption(), QStringLiteral("&Continue"));
        QCOMPARE(page->cmdContinue->objectName(), QStringLiteral("cmdContinue"));
        QVERIFY(page->findChild<QTimer*>(QStringLiteral("timerFadeInOut")));
        const int dpi = page->logicalDpiX();
        QCOMPARE(page->size(), QSize(8745 * dpi / 1440, 4815 * dpi / 1440));
        QCOMPARE(page->imgBackground->geometry(), QRect(-10, -10, page->width() + 20, page->height() + 20));
        QVERIFY(!page->imgBackground->pixmap().isNull());
    }

    void screenCheck_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("warns");
        QTest::newRow("1024x768") << QSize(1024, 768) << false;
        QTest::newRow("1024x600") << QSize(1024, 600) << false;
        QTest::newRow("800x480") << QSize(800, 480) << false;
        QTest::newRow("640x480") << QSize(640, 480) << true;
        QTest::newRow("799x1200") << QSize(799, 1200) << true;
    }
    // Without fading the window is opaque and goes at once; on a small screen a warning comes first.
    void screenCheck() {
        QFETCH(QSize, screen);
        QFETCH(bool, warns);
        ScriptedDialogs scripted;
        SaveSetting(QStringLiteral("NewUser"), QStringLiteral("NoShow"));
        m_title.screen = screen;
        QPointer<frmTitlePage> page(m_title.open());
        QCOMPARE(FadeOn, qint16(0));
        QCOMPARE(page->windowOpacity(), 1.0);
        if (warns)
            scripted.answer(MsgResult::OK);
        page->cmdContinue_Click();
        QCOMPARE(scripted.calls().size(), warns ? 1 : 0);
        if (warns) {
            const QString size = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
            const QString expected =
                QStringList{
                    "Vardel is designed for use on a",
                    "screen resolution of at least 800x600. ",
                    "",
                    "Vardel will not display correctly on",
                    "your current screen resolution (" + size + ").",
                    "",
                    "You can adjust your screen resolution by",
                    "right-clicking anywhere on your desktop,",
                    "select <Properties>, then <Settings>,",
                    "and then select and accept at least",
                    "800x600 as your 'Screen Area'.",
                }
                    .join(QStringLiteral("\r\n"));
            QCOMPARE(scripted.last().text, expected);
            QCOMPARE(scripted.last().title, QStringLiteral("Screen Resolution Issue"));
            QCOMPARE(scripted.last().icon, MsgIcon::None);
            QCOMPARE(scripted.last().buttons, MsgButtons::OK);
        }
        // The warning does not stop the way to the log-in.
        QCOMPARE(m_title.handOvers, 1);
        QVERIFY(!page->isVisible());
        RunDeferredDeletes();
        QVERIFY(page.isNull());
        QCOMPARE(m_title.ends, 0);
    }

    void overviewIsShownUntilSuppressed() {
        ScriptedDialogs scripted;
        QPointer<frmTitlePage> page(m_title.open());
        QString shown;
        QScopedPointer<QTimer> watch(whenModalAppears([&shown](QWidget* modal) {
            shown = modal->objectName();
            auto* overview = qobject_cast<frmNewUser*>(modal);
            overview->chk->setChecked(true);
            overview->cmdContinue_Click();
        }));
        page->cmdContinue_Click();
        QCOMPARE(shown, QStringLiteral("frmNewUser"));
        QCOMPARE(m_title.handOvers, 1);
        QCOMPARE(GetSetting(QStringLiteral("NewUser")), QStringLiteral("NoShow"));

        // The next start goes straight on.
        shown.clear();
        QPointer<frmTitlePage> next(m_title.open());
        QScopedPointer<QTimer> watch2(whenModalAppears([&shown](QWidget* modal) {
            shown = modal->objectName();
            modal->close();
        }));
        next->cmdContinue_Click();
        QCOMPARE(shown, QString());
        QCOMPARE(m_title.handOvers, 2);
    }

    void fadingDimsBehindTheOverviewAndFadesOutToTheLogIn() {
        ScriptedDialogs scripted;
        enableFading();
        QPointer<frmTitlePage> page(m_title.open());
        QCOMPARE(FadeOn, qint16(-1));
        page->fadeEngine->WaitForFade();
        QCOMPARE(page->fadeEngine->Opacity, qint16(255));
        QVERIFY(page->isEnabled());

        Opacities applied;
        connect(page->fadeEngine, &FadeEngine::opacityApplied, this, [&applied](int o) { applied.append(o); });
        int opacityBehindOverview = -1;
        QScopedPointer<QTimer> watch(whenModalAppears([&](QWidget* modal) {
            auto* overview = qobject_cast<frmNewUser*>(modal);
            overview->fadeEngine->WaitForFade();
            page->fadeEngine->WaitForFade();
            opacityBehindOverview = page->fadeEngine->Opacity;
            QTest::mouseClick(overview->cmdContinue, Qt::LeftButton);
        }));
        page->cmdContinue_Click();
        QCOMPARE(opacityBehindOverview, 204);
        QCOMPARE(applied.mid(0, 3), (Opacities{253, 251, 249}));
        QTRY_COMPARE(m_title.handOvers, 1);
        QCOMPARE(applied.last(), 0);
        QCOMPARE(m_title.ends, 0);
        RunDeferredDeletes();
        QVERIFY(page.isNull());
    }

    // With the overview suppressed the window fades straight out, without dimming first: to the log-in, or, with
    // the stop mark on its button, to the end of the program.
    void fadingOutWithoutTheOverview_data() {
        QTest::addColumn<bool>("stopMark");
        QTest::newRow("to the log-in") << false;
        QTest::newRow("stop mark ends the program") << true;
    }
    void fadingOutWithoutTheOverview() {
        QFETCH(bool, stopMark);
        ScriptedDialogs scripted;
        enableFading();
        SaveSetting(QStringLiteral("NewUser"), QStringLiteral("NoShow"));
        QPointer<frmTitlePage> page(m_title.open());
        page->fadeEngine->WaitForFade();
        Opacities applied;
        connect(page->fadeEngine, &FadeEngine::opacityApplied, this, [&applied](int o) { applied.append(o); });
        if (stopMark)
            page->cmdContinue->Tag = page->windowTitle();
        page->cmdContinue_Click();
        QTRY_COMPARE(stopMark ? m_title.ends : m_title.handOvers, 1);
        QCOMPARE(stopMark ? m_title.handOvers : m_title.ends, 0);
        QCOMPARE(applied.first(), 235);
        QVERIFY(!applied.contains(204));
        RunDeferredDeletes();
        QVERIFY(page.isNull());
    }

    void enterContinues() {
        ScriptedDialogs scripted;
        SaveSetting(QStringLiteral("NewUser"), QStringLiteral("NoShow"));
        QPointer<frmTitlePage> page(m_title.open());
        QTest::keyClick(page.data(), Qt::Key_Return);
        QTRY_COMPARE(m_title.handOvers, 1);
    }
};

QTEST_MAIN(TestTitlePage)
#include "tst_titlepage.moc"
