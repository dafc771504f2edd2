#include "core/button/ButtonColours.h"
#include "core/button/ButtonPainter.h"
#include "ui/controls/ZelButton.h"

#include <QCursor>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

// A window with a background picture whose every pixel differs from its neighbours, and one button on it.
struct Backdrop {
    QWidget widget;
    ZelButton* button;
    QImage picture;
    explicit Backdrop(int style) : button(new ZelButton(&widget)) {
        widget.resize(200, 120);
        picture = QImage(200, 120, QImage::Format_RGB32);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 200; ++x)
                picture.setPixel(x, y, qRgb(x, y * 2, (x + y) % 256));
        QPalette pal = widget.palette();
        pal.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(picture)));
        widget.setPalette(pal);
        widget.setAutoFillBackground(true);
        button->setButtonType(style);
        button->setBackColor(QColor(0, 128, 128));
        button->setForeColor(QColor(0, 0, 0));
        button->setGeometry(40, 30, 80, 24);
        widget.show();
    }
    QImage Button() const { return button->grab().toImage(); }
    QColor Beneath(int x, int y) const { return picture.pixelColor(button->x() + x, button->y() + y); }
    void PointAt(QWidget* w, QPoint at) { QTest::mouseMove(w, at); }
};

// Counts the paint events of a widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class TestZelButton : public QObject {
    Q_OBJECT

    struct Window {
        QWidget widget;
        QLineEdit* edit;
        ZelButton* ok;
        ZelButton* cancel;
        ZelButton* other;
        Window() {
            auto* layout = new QVBoxLayout(&widget);
            edit = new QLineEdit;
            ok = new ZelButton;
            cancel = new ZelButton;
            other = new ZelButton;
            layout->addWidget(edit);
            layout->addWidget(ok);
            layout->addWidget(cancel);
            layout->addWidget(other);
            ok->setCaption(QStringLiteral("&OK"));
            cancel->setCaption(QStringLiteral("Cancel"));
            other->setCaption(QStringLiteral("&Help"));
            ok->setDefault(true);
            cancel->setCancel(true);
            widget.show();
            widget.activateWindow();
        }
    };

private slots:
    // Each test starts with the pointer far from its window.
    void init() { QCursor::setPos(QPoint(3000, 3000)); }

    void captionLinesAndAccessKey() {
        ZelButton button;
        button.setCaption(QStringLiteral("&Print\r\nList"));
        QCOMPARE(button.Caption(), QStringLiteral("&Print\r\nList"));
        QCOMPARE(button.text(), QStringLiteral("&Print\nList"));
        ZelButton single;
        single.setCaption(QStringLiteral("&Print List"));
        QVERIFY(button.sizeHint().height() > single.sizeHint().height());
    }

    void accessKeyClicks() {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.widget));
        QSignalSpy help(w.other, &ZelButton::clicked);
        QSignalSpy ok(w.ok, &ZelButton::clicked);
        w.edit->setFocus();
        QTest::keyClick(w.edit, Qt::Key_H, Qt::AltModifier);
        QTRY_COMPARE(help.count(), 1);
        QCOMPARE(ok.count(), 0);
    }

    void keys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("fromOther"); // focus on the other button instead of the line edit
        QTest::addColumn<int>("okClicks");
        QTest::addColumn<int>("cancelClicks");
        QTest::addColumn<int>("otherClicks");
        QTest::newRow("Enter in a field presses the default") << int(Qt::Key_Return) << false << 1 << 0 << 0;
        QTest::newRow("keypad Enter too") << int(Qt::Key_Enter) << false << 1 << 0 << 0;
        QTest::newRow("Esc presses the cancel button") << int(Qt::Key_Escape) << false << 0 << 1 << 0;
        QTest::newRow("Enter on a focused button presses it") << int(Qt::Key_Return) << true << 0 << 0 << 1;
        QTest::newRow("other keys press nothing") << int(Qt::Key_A) << false << 0 << 0 << 0;
    }
    void keys() {
        QFETCH(int, key);
        QFETCH(bool, fromOther);
        QFETCH(int, okClicks);
        QFETCH(int, cancelClicks);
        QFETCH(int, otherClicks);
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.widget));
        QSignalSpy ok(w.ok, &ZelButton::clicked);
        QSignalSpy cancel(w.cancel, &ZelButton::clicked);
        QSignalSpy other(w.other, &ZelButton::clicked);
        QWidget* target = fromOther ? static_cast<QWidget*>(w.other) : w.edit;
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        // A pressed button releases after a short animation.
        if (okClicks + cancelClicks + otherClicks > 0)
            QTRY_COMPARE(ok.count() + cancel.count() + other.count(), okClicks + cancelClicks + otherClicks);
        else
            QTest::qWait(200);
        QCOMPARE(ok.count(), okClicks);
        QCOMPARE(cancel.count(), cancelClicks);
        QCOMPARE(other.count(), otherClicks);
    }

    void disabledOrHiddenButtonsTakeNoInput() {
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.widget));
        QSignalSpy ok(w.ok, &ZelButton::clicked);
        QSignalSpy cancel(w.cancel, &ZelButton::clicked);
        w.ok->setEnabled(false);
        w.cancel->hide();
        QTest::mouseClick(w.ok, Qt::LeftButton);
        QTest::keyClick(w.edit, Qt::Key_Return);
        QTest::keyClick(w.edit, Qt::Key_Escape);
        QTest::qWait(250);
        QCOMPARE(ok.count(), 0);
        QCOMPARE(cancel.count(), 0);
        w.ok->setEnabled(true);
        QTest::mouseClick(w.ok, Qt::LeftButton);
        QCOMPARE(ok.count(), 1);
    }

    void hoverSignalsAndLook() {
        Backdrop w(14);
        QVERIFY(QTest::qWaitForWindowExposed(&w.widget));
        QSignalSpy in(w.button, &ZelButton::MouseIn);
        QSignalSpy over(w.button, &ZelButton::MouseOver);
        QSignalSpy out(w.button, &ZelButton::MouseOut);
        const ButtonColours normal = w.button->Colours();
        QCOMPARE(w.Button().pixelColor(40, 12), Shade(normal.highlight, Style14RowStep(12, 24)));

        w.PointAt(w.button, QPoint(40, 12));
        QTRY_VERIFY(w.button->isOver());
        QCOMPARE(in.count(), 1);
        QCOMPARE(over.count(), 1);
        QVERIFY(w.button->OverTimer->isActive());
        QCOMPARE(w.Button().pixelColor(40, 12), w.button->Colours().light);
        w.PointAt(w.button, QPoint(50, 14));
        QCOMPARE(over.count(), 1); // said once per visit
        QCOMPARE(out.count(), 0);

        w.PointAt(&w.widget, QPoint(5, 5));
        QTRY_COMPARE(out.count(), 1);
        QVERIFY(!w.button->isOver());
        QVERIFY(!w.button->OverTimer->isActive());
        QCOMPARE(w.Button().pixelColor(40, 12), Shade(normal.highlight, Style14RowStep(12, 24)));
    }

    void hoveredFaceOfItsOwn() {
        // Scheme 2 draws a hovered button from BackOver: the teal face turns yellow.
        Backdrop w(14);
        w.button->setBackOver(QColor(255, 255, 0));
        QVERIFY(QTest::qWaitForWindowExposed(&w.widget));
        w.PointAt(w.button, QPoint(40, 12));
        QTRY_VERIFY(w.button->isOver());
        QCOMPARE(w.Button().pixelColor(40, 12), Shade(QColor(255, 255, 0), 31));
    }

    void disabledButtonIsNeverHovered() {
        Backdrop w(14);
        QVERIFY(QTest::qWaitForWindowExposed(&w.widget));
        QSignalSpy out(w.button, &ZelButton::MouseOut);
        w.PointAt(w.button, QPoint(40, 12));
        QTRY_VERIFY(w.button->isOver());
        w.button->setEnabled(false);
        QVERIFY(!w.button->isOver());
        QCOMPARE(out.count(), 1);
        w.PointAt(w.button, QPoint(41, 12));
        QVERIFY(!w.button->isOver());
    }

    void transparentStyleShowsNoEdgeUntilHovered() {
        Backdrop w(11);
        QVERIFY(QTest::qWaitForWindowExposed(&w.widget));
        QTRY_VERIFY(!w.button->grab().isNull());
        QImage image = w.Button();
        for (const QPoint p : {QPoint(0, 0), QPoint(0, 12), QPoint(79, 12), QPoint(40, 0), QPoint(40, 23),
                               QPoint(40, 12), QPoint(79, 23)})
            QCOMPARE(image.pixelColor(p), w.Beneath(p.x(), p.y()));

        w.PointAt(w.button, QPoint(40, 12));
        QTRY_VERIFY(w.button->isOver());
        image = w.Button();
        const ButtonColours c = w.button->Colours();
        QCOMPARE(image.pixelColor(0, 12), c.highlight);
        QCOMPARE(image.pixelColor(40, 0), c.highlight);
        QCOMPARE(image.pixelColor(79, 12), c.shadow);
        QCOMPARE(image.pixelColor(40, 23), c.shadow);
        QCOMPARE(image.pixelColor(40, 12), w.Beneath(40, 12));

        QTest::mousePress(w.button, Qt::LeftButton, {}, QPoint(40, 12));
        image = w.Button();
        QCOMPARE(image.pixelColor(0, 12), c.shadow);
        QCOMPARE(image.pixelColor(79, 12), c.highlight);
        QTest::mouseRelease(w.button, Qt::LeftButton, {}, QPoint(40, 12));

        w.PointAt(&w.widget, QPoint(5, 5));
        QTRY_VERIFY(!w.button->isOver());
        QCOMPARE(w.Button().pixelColor(0, 12), w.Beneath(0, 12));
    }

    void transparentStyleFollowsItsPlace() {
        // Moved elsewhere, the button shows what now lies beneath it.
        Backdrop w(11);
        QVERIFY(QTest::qWaitForWindowExposed(&w.widget));
        w.button->move(100, 80);
        QTRY_COMPARE(w.Button().pixelColor(1, 1), w.Beneath(1, 1));
        QCOMPARE(w.Button().pixelColor(70, 12), w.Beneath(70, 12));
    }

    void greyPictureTurnsToColourWhileHovered() {
        Backdrop w(14);
        QImage picture(16, 16, QImage::Format_RGB32);
        picture.fill(QColor(255, 0, 0));
        w.button->setPictureNormal(QPixmap::fromImage(picture));
        w.button->setUseGreyscale(true);
        QVERIFY(QTest::qWaitForWindowExposed(&w.widget));
        const QPoint middle = w.button->Layout().pictureRect.center();
        QCOMPARE(w.Button().pixelColor(middle), QColor(76, 76, 76));
        w.PointAt(w.button, QPoint(60, 12));
        QTRY_VERIFY(w.button->isOver());
        QCOMPARE(w.Button().pixelColor(middle), QColor(255, 0, 0));
        w.PointAt(&w.widget, QPoint(5, 5));
        QTRY_VERIFY(!w.button->isOver());
        QCOMPARE(w.Button().pixelColor(middle), QColor(76, 76, 76));
    }

    void nothingRedrawnWhenNothingChanged() {
        Backdrop w(14);
        QVERIFY(QTest::qWaitForWindowExposed(&w.widget));
        w.PointAt(w.button, QPoint(40, 12));
        QTRY_VERIFY(w.button->isOver());
        QCoreApplication::processEvents();
        PaintCounter counter;
        w.button->installEventFilter(&counter);
        for (int x = 41; x < 60; ++x)
            w.PointAt(w.button, QPoint(x, 12));
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 0);
        w.button->setCaption(QStringLiteral("Other"));
        QTRY_VERIFY(counter.paints > 0);
    }

    void clicks_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("checkBox");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("value");
        QTest::addColumn<int>("drawnAfter");
        QTest::newRow("left button") << "left" << false << 1 << false << 0;
        QTest::newRow("right button does nothing") << "right" << false << 0 << false << 0;
        QTest::newRow("middle button does not click") << "middle" << false << 0 << false << 0;
        QTest::newRow("space bar") << "space" << false << 1 << false << 0;
        QTest::newRow("double click counts twice") << "double" << false << 2 << false << 0;
        QTest::newRow("check: one click checks") << "left" << true << 1 << true << 2;
        QTest::newRow("check: space checks") << "space" << true << 1 << true << 2;
        QTest::newRow("check: two clicks uncheck") << "double" << true << 2 << false << 0;
    }
    void clicks() {
        QFETCH(QString, how);
        QFETCH(bool, checkBox);
        QFETCH(int, clicks);
        QFETCH(bool, value);
        QFETCH(int, drawnAfter);
        Backdrop w(14);
        w.button->setCheckBoxBehaviour(checkBox);
        QVERIFY(QTest::qWaitForWindowExposed(&w.widget));
        QSignalSpy click(w.button, &ZelButton::Click);
        QSignalSpy clicked(w.button, &ZelButton::clicked);
        QSignalSpy down(w.button, &ZelButton::MouseDown);
        const QPoint at(40, 12);
        if (how == QLatin1String("left")) {
            QTest::mouseClick(w.button, Qt::LeftButton, {}, at);
        } else if (how == QLatin1String("right")) {
            QTest::mousePress(w.button, Qt::RightButton, {}, at);
            QCOMPARE(w.button->DrawnState(), 0);
            QTest::mouseRelease(w.button, Qt::RightButton, {}, at);
        } else if (how == QLatin1String("middle")) {
            QTest::mousePress(w.button, Qt::MiddleButton, {}, at);
            QCOMPARE(w.button->DrawnState(), 2);
            QTest::mouseRelease(w.button, Qt::MiddleButton, {}, at);
        } else if (how == QLatin1String("space")) {
            w.button->setFocus();
            QTest::keyPress(w.button, Qt::Key_Space);
            QCOMPARE(w.button->DrawnState(), 2);
            QTest::keyRelease(w.button, Qt::Key_Space);
        } else {
            QTest::mouseClick(w.button, Qt::LeftButton, {}, at);
            QTest::mouseDClick(w.button, Qt::LeftButton, {}, at);
            QTest::mouseRelease(w.button, Qt::LeftButton, {}, at);
        }
        QCOMPARE(click.count(), clicks);
        QCOMPARE(clicked.count(), clicks);
        QCOMPARE(w.button->Value(), value);
        QCOMPARE(w.button->DrawnState(), drawnAfter);
        if (how != QLatin1String("space"))
            QVERIFY(down.count() >= 1);
    }

    void configurationAsData() {
        QWidget holder;
        auto* button = new ZelButton(&holder);
        QCOMPARE(button->ButtonType(), 14);
        QCOMPARE(button->ColorScheme(), 2);
        QCOMPARE(button->MaskColor(), QColor(0xC0, 0xC0, 0xC0));
        QVERIFY(button->ShowFocusRect());
        QVERIFY(button->UseMaskColor());
        QCOMPARE(button->Version(), QStringLiteral("w2005.08.15"));

        button->ReadProperties({{"BTYPE", 11},
                                {"COLTYPE", 2},
                                {"BCOL", 0x808000},
                                {"FCOL", 0xFFFFFF},
                                {"FCOLO", 0x80FFFF},
                                {"TX", "&Quit"},
                                {"FOCUSR", false}});
        QCOMPARE(button->ButtonType(), 11);
        QCOMPARE(button->BackColor(), QColor(0, 128, 128));
        QCOMPARE(button->BackOver(), QColor(0, 128, 128));
        QCOMPARE(button->ForeColor(), QColor(255, 255, 255));
        QCOMPARE(button->ForeOver(), QColor(255, 255, 128));
        QCOMPARE(button->Caption(), QStringLiteral("&Quit"));
        QCOMPARE(button->shortcut(), QKeySequence(QStringLiteral("Alt+Q")));
        QVERIFY(!button->ShowFocusRect());

        const QVariantMap bag = button->WriteProperties();
        QCOMPARE(bag.value("BCOL").toLongLong(), 0x808000);
        QCOMPARE(bag.value("TX").toString(), QStringLiteral("&Quit"));
        auto* copy = new ZelButton(&holder);
        copy->ReadProperties(bag);
        QCOMPARE(copy->WriteProperties(), bag);

        // Missing keys take the stored defaults, not those of a new button.
        copy->ReadProperties({});
        QCOMPARE(copy->ButtonType(), 2);
        QCOMPARE(copy->ColorScheme(), 1);
        QCOMPARE(copy->Caption(), QString());
    }

    void defaultFollowsTheButtonIntoALaterWindow() {
        // The button is made default before its container joins the window.
        auto* panel = new QWidget;
        auto* button = new ZelButton(panel);
        button->setCaption(QStringLiteral("Go"));
        button->setDefault(true);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* edit = new QLineEdit;
        layout->addWidget(edit);
        layout->addWidget(panel);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy clicked(button, &ZelButton::clicked);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_COMPARE(clicked.count(), 1);
    }
};

QTEST_MAIN(TestZelButton)
#include "tst_zelbutton.moc"
