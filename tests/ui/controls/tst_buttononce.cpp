// Every way of pressing a button from the keyboard runs it exactly once, whatever platform theme and style the
// desktop gives: CTest runs this under the default theme, under Fusion and under GTK's platform theme, which counts
// Enter among the keys that press a button.

#include "ui/controls/ZelButton.h"

#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class tst_ButtonOnce : public QObject {
    Q_OBJECT

private slots:
    // The run meant for GTK's theme fails when the theme did not load, rather than pass under another.
    void initTestCase() {
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(qgetenv("QT_QPA_PLATFORMTHEME") != "gtk3" ||
                (maps.open(QFile::ReadOnly) && maps.readAll().contains("qgtk3")));
    }

    void runsOnce_data() {
        QTest::addColumn<bool>("inField");
        QTest::addColumn<QKeyCombination>("key");
        QTest::newRow("Enter on the button") << false << QKeyCombination(Qt::Key_Return);
        QTest::newRow("space on the button") << false << QKeyCombination(Qt::Key_Space);
        QTest::newRow("access key") << true << QKeyCombination(Qt::ALT, Qt::Key_S);
        QTest::newRow("Enter in a field: the default button") << true << QKeyCombination(Qt::Key_Return);
        QTest::newRow("Esc: the cancel button") << true << QKeyCombination(Qt::Key_Escape);
    }

    void runsOnce() {
        QFETCH(bool, inField);
        QFETCH(QKeyCombination, key);
        QWidget window;
        auto* edit = new QLineEdit(&window);
        auto* save = new ZelButton(&window);
        auto* cancel = new ZelButton(&window);
        cancel->move(0, 60);
        save->setCaption(QStringLiteral("&Save"));
        save->setDefault(true);
        cancel->setCancel(true);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy saves(save, &ZelButton::clicked);
        QSignalSpy cancels(cancel, &ZelButton::clicked);
        QWidget* to = inField ? static_cast<QWidget*>(edit) : save;
        to->setFocus();
        QTest::keyClick(to, key.key(), key.keyboardModifiers());
        QCoreApplication::processEvents();
        QCOMPARE(saves.count() + cancels.count(), 1);
        QCOMPARE(cancels.count(), key.key() == Qt::Key_Escape ? 1 : 0);
    }
};

QTEST_MAIN(tst_ButtonOnce)
#include "tst_buttononce.moc"
