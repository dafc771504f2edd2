// Every window in each of its states, read as a screen reader reads it: through Qt's accessibility interface.

#include "MainWindowTestSupport.h"

#include "ui/app/frmNewUser.h"
#include "ui/app/frmTitlePage.h"
#include "ui/controls/ZelButton.h"
#include "ui/print/frmPrintLabel.h"
#include "ui/main/frmLargePic.h"
#include "core/users/AccessCode.h"
#include "ui/users/frmAddEditUser.h"
#include "ui/users/frmAdmin.h"

#include <QAccessible>
#include <QHeaderView>
#include <QStackedWidget>
#include <QTableView>

class tst_Accessibility;
using Opener = std::function<QWidget*(tst_Accessibility*)>;
Q_DECLARE_METATYPE(Opener)

class tst_Accessibility : public MainWindowTest {
    Q_OBJECT

public:
    QList<QPointer<QWidget>> windows;

    template <class T> T* Shown(T* window) {
        windows.append(window);
        window->show();
        return window;
    }

    // What a reader would meet wrongly among the controls in reach (a tab page counts as in reach): one that takes
    // the focus without a name, a picture without a description, an access key that two commands share (neither
    // would run), a grid that announces columns nobody sees.
    static QStringList Faults(QWidget* window) {
        QStringList faults;
        QMap<QString, QStringList> keys;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            for (const QWidget* p = w; p != window; p = p->parentWidget())
                if (p->isHidden() && !qobject_cast<const QStackedWidget*>(p->parentWidget()))
                    w = nullptr;
            if (!w)
                continue;
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
            const auto* label = qobject_cast<QLabel*>(w);
            if ((w->focusPolicy() & Qt::TabFocus || (label && !label->pixmap().isNull())) &&
                face->text(QAccessible::Name).trimmed().isEmpty())
                faults << QStringLiteral("unnamed ") + QLatin1String(w->metaObject()->className()) + w->objectName();
            if (auto* button = qobject_cast<ZelButton*>(w); button && !button->shortcut().isEmpty())
                keys[button->shortcut().toString()] << button->objectName();
            const auto* grid = qobject_cast<QTableView*>(w);
            if (grid && face->tableInterface()->columnCount() !=
                            grid->horizontalHeader()->count() - grid->horizontalHeader()->hiddenSectionCount())
                faults << QStringLiteral("hidden columns announced in ") + grid->objectName();
        }
        for (const QStringList& owners : std::as_const(keys))
            if (owners.size() > 1)
                faults << QStringLiteral("one access key for ") + owners.join(QStringLiteral(", "));
        return faults;
    }

private slots:
    void initTestCase() { InitProgramValues(); }

    void init() {
        StartMainWindowTest(4);
        SetAccessCode(QStringLiteral("1234"));
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 4);
        PersonnelRecord al = Employee(QStringLiteral("Al"), QStringLiteral("Able"));
        al.PicturePath = Picture(QStringLiteral("al.png"), 40, 30);
        WriteEmployees({al});
    }

    void cleanup() {
        qDeleteAll(windows);
        windows.clear();
        EndMainWindowTest();
    }

    void everyWindowReads_data() {
        QTest::addColumn<Opener>("open");
        const auto activated = [](auto* w) { return QTest::qWaitFor([w] { return w->Activated; }) ? w : nullptr; };
        QTest::newRow("title") << Opener([=](auto* t) { return activated(t->Shown(new frmTitlePage)); });
        QTest::newRow("overview") << Opener([=](auto* t) { return activated(t->Shown(new frmNewUser)); });
        QTest::newRow("admin, user list") << Opener([](auto* t) {
            frmAdmin* admin = t->Shown(new frmAdmin);
            admin->Form_Activate();
            t->m_dialogs->answerText(QStringLiteral("1234"));
            admin->cmdAdmin_Click();
            return admin;
        });
        QTest::newRow("user dialog") << Opener([](auto* t) {
            auto* dialog = t->Shown(new frmAddEditUser(t->Shown(new frmAdmin)));
            dialog->Tag = QStringLiteral("Add a User");
            dialog->Form_Activate();
            return dialog;
        });
        QTest::newRow("main") << Opener([](auto* t) { return t->OpenWindow(); });
        QTest::newRow("add mode") << Opener([](auto* t) {
            frmMain* w = t->OpenWindow();
            w->cmdAddEmployee_Click();
            return w;
        });
        QTest::newRow("large picture") << Opener([](auto* t) { return t->Shown(new frmLargePic); });
        QTest::newRow("label") << Opener([=](auto* t) { return activated(t->Shown(new frmPrintLabel({}))); });
        QTest::newRow("help") << Opener([](auto* t) { return t->Shown(new frmManual); });
    }

    // Each window is a frame or a dialog named by its caption, and nothing in it reads wrongly.
    void everyWindowReads() {
        QFETCH(Opener, open);
        QWidget* window = open(this);
        QVERIFY(window);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window);
        QVERIFY(face->role() == QAccessible::Window || face->role() == QAccessible::Dialog);
        QCOMPARE(face->text(QAccessible::Name), window->windowTitle());
        const QStringList faults = Faults(window);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
