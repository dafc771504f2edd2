#include "controls/ZelButton.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

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
