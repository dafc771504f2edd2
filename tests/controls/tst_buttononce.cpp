// Every way of pressing a button from the keyboard runs it exactly once, whatever platform theme and style the
// desktop gives. CTest runs this file under the default theme, under Fusion and under GTK's platform theme, which
// counts Enter among the keys that press a button.

#include "controls/ZelButton.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>

class tst_ButtonOnce : public QObject {
    Q_OBJECT

    // Whether the process has loaded a shared library of that name: the one sure sign of which platform theme
    // Qt picked.
    static bool LibraryLoaded(const QByteArray& name) {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
    }

private slots:
    // A run meant for a theme fails when the theme did not load, rather than passing under another.
    void initTestCase() {
        const QByteArray expected = qgetenv("VARDEL_EXPECT_THEME");
        if (expected == "gtk3")
            QVERIFY2(LibraryLoaded("libqgtk3"), "GTK's platform theme did not load");
        else if (expected == "fusion")
            QCOMPARE(QApplication::style()->name(), QStringLiteral("fusion"));
    }

    void runsOnce_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Enter on the focused button") << "save" << int(Qt::Key_Return) << 0;
        QTest::newRow("keypad Enter on the focused button") << "save" << int(Qt::Key_Enter) << 0;
        QTest::newRow("space on the focused button") << "save" << int(Qt::Key_Space) << 0;
        QTest::newRow("access key") << "window" << int(Qt::Key_S) << int(Qt::AltModifier);
        QTest::newRow("Enter in a field presses the default button") << "edit" << int(Qt::Key_Return) << 0;
        QTest::newRow("Esc presses the cancel button") << "edit" << int(Qt::Key_Escape) << 0;
    }

    void runsOnce() {
        QFETCH(QString, target);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* edit = new QLineEdit(&window);
        auto* save = new ZelButton(&window);
        auto* cancel = new ZelButton(&window);
        save->setCaption(QStringLiteral("&Save"));
        cancel->setCaption(QStringLiteral("Cancel"));
        save->setDefault(true);
        cancel->setCancel(true);
        for (QWidget* w : {static_cast<QWidget*>(edit), static_cast<QWidget*>(save), static_cast<QWidget*>(cancel)})
            layout->addWidget(w);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy saves(save, &ZelButton::clicked);
        QSignalSpy cancels(cancel, &ZelButton::clicked);

        QWidget* to = target == QLatin1String("save") ? save : target == QLatin1String("edit") ? edit : &window;
        if (to != &window)
            to->setFocus();
        QTest::keyClick(to, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCoreApplication::processEvents();

        QCOMPARE(saves.count() + cancels.count(), 1);
        QCOMPARE(cancels.count(), key == Qt::Key_Escape ? 1 : 0);
    }
};

QTEST_MAIN(tst_ButtonOnce)
#include "tst_buttononce.moc"
