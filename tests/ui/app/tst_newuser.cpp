#include "StartWindowSupport.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/TileBackground.h"
#include "ui/app/frmNewUser.h"
#include "ui/controls/ZelButton.h"
#include "core/help/HelpTexts.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QTest>

using Points = QList<QPoint>;

class TestNewUser : public QObject {
    Q_OBJECT

    static frmNewUser* openOverview() { return ShowActivated(new frmNewUser); }

private slots:
    void init() { ResetStartSettings(); }
    void cleanup() { CloseStartWindows(); }

    void captionSizeAndText() {
        QPointer<frmNewUser> overview(openOverview());
        QCOMPARE(overview->windowTitle(), QStringLiteral(" Vardel - New User Overview"));
        const int dpi = overview->logicalDpiX();
        QCOMPARE(overview->size(), QSize(6915 * dpi / 1440, 5745 * dpi / 1440));
        QVERIFY(overview->isModal());
        QCOMPARE(overview->chk->text(), QStringLiteral("Don't show this Welcome screen again"));
        QVERIFY(!overview->chk->isChecked());
        QCOMPARE(overview->cmdContinue->Caption(), QStringLiteral("&Continue"));
        const QString overviewText = HelpTopicText(1000);
        QVERIFY(!overviewText.isEmpty());
        QCOMPARE(overview->lbl->text(), QStringLiteral("Welcome! Are you a new user? If so, then let's take a moment "
                                                       "for a quick overview.\r\n\r\n") +
                                            overviewText);
        QVERIFY(overview->findChild<QFrame*>(QStringLiteral("Shape1")));
    }

    void continueStoresTheChoice_data() {
        QTest::addColumn<QString>("before"); // "-" for absent
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("after");
        QTest::newRow("unticked, absent") << "-" << false << "";
        QTest::newRow("unticked keeps a value") << "Show" << false << "Show";
        QTest::newRow("ticked") << "-" << true << "NoShow";
        QTest::newRow("ticked again") << "NoShow" << true << "NoShow";
    }
    void continueStoresTheChoice() {
        QFETCH(QString, before);
        QFETCH(bool, ticked);
        QFETCH(QString, after);
        if (before != QLatin1String("-"))
            SaveSetting(QStringLiteral("NewUser"), before);
        QPointer<frmNewUser> overview(openOverview());
        overview->chk->setChecked(ticked);
        QTest::mouseClick(overview->cmdContinue, Qt::LeftButton);
        QCOMPARE(GetSetting(QStringLiteral("NewUser")), after);
        QVERIFY(!overview->isVisible());
        RunDeferredDeletes();
        QVERIFY(overview.isNull());
    }

    void fadesInAndOutWhenFadingIsOn() {
        SetFadeSupport(FadeSupport::Always);
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("1"));
        QPointer<frmNewUser> overview(openOverview());
        QCOMPARE(FadeOn, qint16(-1));
        overview->fadeEngine->WaitForFade();
        QCOMPARE(overview->fadeEngine->Opacity, qint16(255));
        QVERIFY(overview->isEnabled());
        QTest::mouseClick(overview->cmdContinue, Qt::LeftButton);
        QVERIFY(overview->isVisible()); // still fading out
        QTRY_VERIFY(!overview || !overview->isVisible());
        RunDeferredDeletes();
        QVERIFY(overview.isNull());
    }

    void tilePositions_data() {
        QTest::addColumn<QSize>("tile");
        QTest::addColumn<QSize>("area");
        QTest::addColumn<Points>("expected");
        QTest::newRow("exact multiple includes the far edge")
            << QSize(64, 64) << QSize(128, 64) << Points{{0, 0}, {0, 64}, {64, 0}, {64, 64}, {128, 0}, {128, 64}};
        QTest::newRow("partial tiles") << QSize(50, 40) << QSize(120, 50)
                                       << Points{{0, 0}, {0, 40}, {50, 0}, {50, 40}, {100, 0}, {100, 40}};
        QTest::newRow("tile larger than area") << QSize(64, 64) << QSize(30, 20) << Points{{0, 0}};
        QTest::newRow("empty tile") << QSize(0, 64) << QSize(100, 100) << Points{};
    }
    void tilePositions() {
        QFETCH(QSize, tile);
        QFETCH(QSize, area);
        QFETCH(Points, expected);
        QCOMPARE(TilePositions(tile, area), expected);
    }

    void tilingCoversTheWindow() {
        // A tile whose halves differ shows whether each copy sits at its own origin.
        QPixmap tile(10, 10);
        tile.fill(Qt::red);
        {
            QPainter p(&tile);
            p.fillRect(5, 0, 5, 10, Qt::blue);
        }
        QWidget window;
        window.resize(37, 23);
        TileBackground(tile, &window);
        QVERIFY(window.autoFillBackground());
        const QBrush brush = window.palette().brush(QPalette::Window);
        const QImage face = brush.texture().toImage();
        QCOMPARE(face.size(), QSize(37, 23));
        for (int x : {0, 4, 10, 14, 30, 34})
            for (int y : {0, 9, 10, 22})
                QCOMPARE(face.pixelColor(x, y), QColor(Qt::red));
        for (int x : {5, 9, 15, 25, 35})
            QCOMPARE(face.pixelColor(x, 12), QColor(Qt::blue));
    }

    void nullPictureLeavesTheWindowAlone() {
        QWidget window;
        window.resize(50, 50);
        const QPalette before = window.palette();
        TileBackground(QPixmap(), &window);
        QCOMPARE(window.palette(), before);
    }
};

QTEST_MAIN(TestNewUser)
#include "tst_newuser.moc"
