#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>

using Steps = QList<int>;

class TestFadeEngine : public QObject {
    Q_OBJECT

    // Runs the fade tick by tick, without the timer, and returns each opacity applied.
    static Steps run(FadeEngine& engine, int limit = 1000) {
        Steps applied;
        QObject::connect(&engine, &FadeEngine::opacityApplied, &engine, [&applied](int o) { applied.append(o); });
        while (engine.IsFading() && limit-- > 0)
            engine.timerFadeInOut_Timer();
        QObject::disconnect(&engine, &FadeEngine::opacityApplied, &engine, nullptr);
        return applied;
    }

    static Steps range(int from, int to, int step) {
        Steps s;
        for (int v = from; step > 0 ? v <= to : v >= to; v += step)
            s.append(v);
        return s;
    }

private slots:
    void init() { SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("0")); }
    void cleanup() {
        SetFadeSupport(FadeSupport::Auto);
        FadeOn = 0;
    }

    void steps_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("step");
        QTest::addColumn<Steps>("expected");
        QTest::newRow("title opens 0-255 by 10") << 0 << 255 << 10 << (range(10, 250, 10) << 255);
        QTest::newRow("dim 255-204 by 2") << 255 << 204 << 2 << (range(253, 205, -2) << 204);
        QTest::newRow("undim 204-255 by 2") << 204 << 255 << 2 << (range(206, 254, 2) << 255);
        QTest::newRow("close dimmed 204-0 by 20") << 204 << 0 << 20 << (range(184, 4, -20) << 0);
        QTest::newRow("close 255-0 by 20") << 255 << 0 << 20 << (range(235, 15, -20) << 0);
        QTest::newRow("open 0-255 by 20") << 0 << 255 << 20 << (range(20, 240, 20) << 255);
        QTest::newRow("no distance") << 128 << 128 << 5 << Steps{128};
        QTest::newRow("step larger than distance") << 10 << 0 << 200 << Steps{0};
        QTest::newRow("step 0 lands at once") << 0 << 255 << 0 << Steps{255};
    }
    void steps() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, step);
        QFETCH(Steps, expected);
        QWidget window;
        FadeEngine engine(&window);
        engine.FadeWindow(quint8(from), quint8(to), quint8(step), false);
        QVERIFY(engine.IsFading());
        QCOMPARE(run(engine), expected);
        QVERIFY(!engine.IsFading());
        QCOMPARE(engine.Opacity, qint16(to));
    }

    void windowTakesNoInputWhileFading() {
        QWidget window;
        auto* button = new QPushButton(QStringLiteral("&Go"), &window);
        button->setGeometry(0, 0, 80, 30);
        auto* box = new QLineEdit(&window);
        box->setGeometry(0, 40, 80, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QSignalSpy clicked(button, &QPushButton::clicked);
        FadeEngine engine(&window);
        engine.FadeWindow(255, 204, 2, false);
        QVERIFY(!engine.IsBlockingInput()); // nothing happens before the first tick
        engine.timerFadeInOut_Timer();
        QVERIFY(engine.IsBlockingInput());
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_G, Qt::AltModifier); // the button's access key
        QTest::keyClicks(box, QStringLiteral("abc"));
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(box->text(), QString());
        run(engine);
        QVERIFY(!engine.IsBlockingInput());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QTest::keyClicks(box, QStringLiteral("abc"));
        QCOMPARE(box->text(), QStringLiteral("abc"));
    }

    void otherWindowsTakeInputDuringAFade() {
        QWidget fading;
        QLineEdit other;
        fading.show();
        other.show();
        FadeEngine engine(&fading);
        engine.FadeWindow(255, 204, 2, false);
        engine.timerFadeInOut_Timer();
        QTest::keyClicks(&other, QStringLiteral("abc"));
        QCOMPARE(other.text(), QStringLiteral("abc"));
    }

    void focusIsKeptThroughAFade_data() {
        QTest::addColumn<bool>("moveDuringFade");
        QTest::newRow("focus it had") << false;
        QTest::newRow("focus set during the fade") << true;
    }
    void focusIsKeptThroughAFade() {
        QFETCH(bool, moveDuringFade);
        QWidget window;
        auto* first = new QLineEdit(&window);
        auto* second = new QLineEdit(&window);
        second->move(0, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        second->setFocus();
        FadeEngine engine(&window);
        engine.FadeWindow(0, 255, 20, false);
        engine.timerFadeInOut_Timer();
        if (moveDuringFade)
            first->setFocus();
        run(engine);
        QLineEdit* expected = moveDuringFade ? first : second;
        QCOMPARE(QApplication::focusWidget(), expected);
        // Typing goes straight into the box, nothing is lost.
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Ann"));
        QCOMPARE(expected->text(), QStringLiteral("Ann"));
    }

    void aWindowDisabledByItsCodeStaysDisabled() {
        QWidget window;
        FadeEngine engine(&window);
        engine.FadeWindow(255, 204, 2, false);
        engine.timerFadeInOut_Timer();
        window.setEnabled(false);
        run(engine);
        QVERIFY(!window.isEnabled());
    }

    void fadesTakeTheTimeOfASystemTick() {
        // 0 to 255 in steps of 20 is 13 steps: at a tick of 10 ms or more, a fade a person can see.
        QWidget window;
        FadeEngine engine(&window);
        QVERIFY(engine.timerFadeInOut->interval() >= 10);
        QVERIFY(engine.timerFadeInOut->interval() <= 20);
    }

    void closingActionRunsOnceAtTheEnd() {
        QWidget window;
        int closings = 0;
        int opacityAtClosing = -1;
        FadeEngine engine(&window);
        engine.setClosingAction([&] {
            ++closings;
            opacityAtClosing = engine.Opacity;
        });
        engine.FadeWindow(255, 0, 20, true);
        for (int i = 0; i < 5; ++i)
            engine.timerFadeInOut_Timer();
        QCOMPARE(closings, 0);
        run(engine);
        QCOMPARE(closings, 1);
        QCOMPARE(opacityAtClosing, 0);
        // A closing window stays closed to input until it is hidden.
        QVERIFY(engine.IsBlockingInput());
        engine.timerFadeInOut_Timer(); // a stray tick after the end
        QCOMPARE(closings, 1);
        window.show();
        window.hide();
        QVERIFY(!engine.IsBlockingInput());
    }

    // Leaving a window: its closing action at once with fading off, at the end of a fade out with fading on.
    void fadeOutAndClose_data() {
        QTest::addColumn<qint16>("fadeOn");
        QTest::addColumn<Steps>("steps");
        QTest::newRow("fading off") << qint16(0) << Steps{};
        QTest::newRow("fading on") << qint16(-1) << (range(235, 15, -20) << 0);
    }

    void fadeOutAndClose() {
        QFETCH(qint16, fadeOn);
        QFETCH(Steps, steps);
        FadeOn = fadeOn;
        QWidget window;
        int closings = 0;
        FadeEngine engine(&window, [&] { ++closings; });
        engine.FadeOutAndClose();
        QCOMPARE(closings, fadeOn ? 0 : 1);
        QCOMPARE(run(engine), steps);
        QCOMPARE(closings, 1);
    }

    void nonClosingFadeRunsNoClosingAction() {
        QWidget window;
        int closings = 0;
        FadeEngine engine(&window, [&] { ++closings; });
        engine.FadeWindow(0, 255, 10, false);
        run(engine);
        QCOMPARE(closings, 0);
    }

    void restartJumpsToTheNewStart() {
        QWidget window;
        FadeEngine engine(&window);
        engine.FadeWindow(204, 255, 2, false);
        engine.timerFadeInOut_Timer();
        engine.timerFadeInOut_Timer();
        QCOMPARE(engine.Opacity, qint16(208));
        engine.FadeWindow(255, 0, 20, false);
        const Steps applied = run(engine);
        QCOMPARE(applied.first(), 235);
        QCOMPARE(applied.last(), 0);
    }

    void waitForFadeLetsTheTimerFinish() {
        QWidget window;
        window.show();
        FadeEngine engine(&window);
        QSignalSpy applied(&engine, &FadeEngine::opacityApplied);
        engine.FadeWindow(0, 255, 51, false);
        engine.WaitForFade();
        QVERIFY(!engine.IsFading());
        QCOMPARE(applied.count(), 5);
        QCOMPARE(applied.last().first().toInt(), 255);
        QVERIFY(!engine.IsBlockingInput());
    }

    void waitForFadeSurvivesAClosingActionThatReleasesTheWindow() {
        auto* window = new QWidget;
        window->show();
        auto* engine = new FadeEngine(window);
        engine->setClosingAction([window] { delete window; });
        QPointer<QWidget> guard(window);
        engine->FadeWindow(255, 0, 85, true);
        engine->WaitForFade();
        QVERIFY(guard.isNull());
    }

    void prepareFade_data() {
        QTest::addColumn<QString>("status"); // "-" for absent
        QTest::addColumn<bool>("force");
        QTest::addColumn<FadeSupport>("platform");
        QTest::addColumn<int>("expected");
        const FadeSupport can = FadeSupport::Always;
        QTest::newRow("absent") << "-" << false << can << 0;
        QTest::newRow("0") << "0" << false << can << 0;
        QTest::newRow("1") << "1" << false << can << -1;
        QTest::newRow("0 forced") << "0" << true << can << -1;
        QTest::newRow("absent forced") << "-" << true << can << -1;
        QTest::newRow("1 without platform support") << "1" << false << FadeSupport::Never << 0;
        QTest::newRow("forced without platform support") << "0" << true << FadeSupport::Never << 0;
        QTest::newRow("not a number") << "on" << false << can << 0;
        QTest::newRow("offscreen cannot fade, forced") << "1" << true << FadeSupport::Auto << 0;
    }
    void prepareFade() {
        QFETCH(QString, status);
        QFETCH(bool, force);
        QFETCH(FadeSupport, platform);
        QFETCH(int, expected);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, AppTitle, AppTitle).remove(QStringLiteral("Defaults"));
        if (status != QLatin1String("-"))
            SaveSetting(QStringLiteral("FadeStatus"), status);
        else
            QVERIFY(GetSetting(QStringLiteral("FadeStatus")).isEmpty());
        SetFadeSupport(platform);
        QWidget window;
        QCOMPARE(PrepareFade(&window, 0, force), qint16(expected));
        // A window that does not fade is never made translucent.
        QCOMPARE(window.windowOpacity(), expected ? 0.0 : 1.0);
    }
};

QTEST_MAIN(TestFadeEngine)
#include "tst_fadeengine.moc"
