// Every window in each of its states, read as a screen reader reads it: through Qt's accessibility interface.

#include "MainWindowTestSupport.h"

#include "app/QtDialogs.h"
#include "app/frmNewUser.h"
#include "app/frmTitlePage.h"
#include "controls/ZelButton.h"
#include "print/frmPrintLabel.h"
#include "ui/main/frmLargePic.h"
#include "users/AccessCode.h"
#include "users/frmAddEditUser.h"
#include "users/frmAdmin.h"

#include <QAccessible>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>

class tst_Accessibility : public MainWindowTest {
    Q_OBJECT

    QList<QPointer<QWidget>> m_windows;

    template <class T> T* Keep(T* window) {
        m_windows.append(window);
        window->show();
        return window;
    }

    // The window of a state, shown and in that state.
    QWidget* Open(const QString& state) {
        if (state == QLatin1String("title window")) {
            auto* title = Keep(new frmTitlePage);
            [&] { QTRY_VERIFY(title->Activated); }();
            return title;
        }
        if (state == QLatin1String("first-run overview")) {
            auto* overview = Keep(new frmNewUser);
            [&] { QTRY_VERIFY(overview->Activated); }();
            return overview;
        }
        if (state.startsWith(QLatin1String("administration"))) {
            auto* admin = Keep(new frmAdmin);
            admin->Form_Activate();
            if (state.endsWith(QLatin1String("password step"))) {
                admin->cmdUserSelected_Click();
            } else if (state.endsWith(QLatin1String("user list"))) {
                m_dialogs->answerText(QStringLiteral("1234"));
                admin->cmdAdmin_Click();
            } else if (state.endsWith(QLatin1String("user log"))) {
                m_dialogs->answerText(QStringLiteral("1234"));
                admin->cmdAdmin_Click();
                admin->cmdReviewUserLog_Click();
            }
            return admin;
        }
        if (state == QLatin1String("add/edit user")) {
            auto* dialog = Keep(new frmAddEditUser(Keep(new frmAdmin)));
            dialog->Tag = QStringLiteral("Add a User");
            dialog->Form_Activate();
            return dialog;
        }
        if (state.startsWith(QLatin1String("main window"))) {
            if (state.endsWith(QLatin1String("picture"))) {
                PersonnelRecord al = Employee(QStringLiteral("Al"), QStringLiteral("Able"));
                al.PicturePath = Picture(QStringLiteral("al.png"), 40, 30);
                WriteEmployees({al});
            }
            frmMain* w = OpenWindow();
            if (state.endsWith(QLatin1String("add mode")))
                w->cmdAddEmployee_Click();
            return w;
        }
        if (state == QLatin1String("large picture")) {
            auto* large = Keep(new frmLargePic);
            large->LoadPicture(Picture(QStringLiteral("al.png"), 40, 30));
            large->lblPicHeading->setText(QStringLiteral("Able, Al"));
            large->Form_Activate();
            return large;
        }
        if (state == QLatin1String("address label")) {
            auto* label = Keep(new frmPrintLabel({QStringLiteral("Al Able"), QStringLiteral("1 Elm St")}));
            label->Form_Activate();
            return label;
        }
        if (state == QLatin1String("help"))
            return Keep(new frmManual);
        return nullptr;
    }

    // A page of a tab control counts as shown: a user reaches it by choosing its tab.
    static bool Reachable(const QWidget* w, const QWidget* window) {
        for (const QWidget* p = w; p && p != window; p = p->parentWidget()) {
            const bool tabPage = qobject_cast<const QStackedWidget*>(p->parentWidget()) &&
                                 qobject_cast<const QTabWidget*>(p->parentWidget()->parentWidget());
            if (p->isHidden() && !tabPage)
                return false;
        }
        return true;
    }

    // Access keys that two commands in reach at the same time share: neither would run.
    static QStringList SharedAccessKeys(QWidget* window) {
        QMap<QString, QStringList> owners;
        for (ZelButton* b : window->findChildren<ZelButton*>())
            if (!b->shortcut().isEmpty() && Reachable(b, window))
                owners[b->shortcut().toString()] << b->objectName();
        QStringList shared;
        for (auto it = owners.cbegin(); it != owners.cend(); ++it)
            if (it.value().size() > 1)
                shared << it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
        return shared;
    }

    // Grids whose reader's table holds more columns than a person sees.
    static QStringList GridsWithHiddenColumns(QWidget* window) {
        QStringList wrong;
        for (QTableView* grid : window->findChildren<QTableView*>()) {
            int shown = 0;
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                shown += grid->isColumnHidden(c) ? 0 : 1;
            QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(grid)->tableInterface();
            if (!table || table->columnCount() != shown)
                wrong << grid->objectName() +
                             QStringLiteral(" %1/%2").arg(table ? table->columnCount() : -1).arg(shown);
        }
        return wrong;
    }

    static QStringList UnnamedControls(QWidget* window) {
        QStringList unnamed;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!(w->focusPolicy() & Qt::TabFocus) || !Reachable(w, window))
                continue;
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
            if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << QStringLiteral("%1 %2").arg(QLatin1String(w->metaObject()->className()), w->objectName());
        }
        return unnamed;
    }

private slots:
    void initTestCase() { InitProgramValues(); }

    void init() {
        StartMainWindowTest(4);
        SetAccessCode(QStringLiteral("1234"));
        AddTestUser(QStringLiteral("Ann"), QStringLiteral("Lee"), QStringLiteral("pass1"), 4);
        WriteEmployees({Employee(QStringLiteral("Al"), QStringLiteral("Able"))});
        writeFile(UserLogFileName, QByteArrayLiteral("Ann Lee logged in\r\n"));
    }

    void cleanup() {
        for (const QPointer<QWidget>& w : std::as_const(m_windows))
            delete w.data();
        m_windows.clear();
        EndMainWindowTest();
    }

    void everyControlIsNamed_data() {
        QTest::addColumn<QString>("state");
        for (const char* state :
             {"title window", "first-run overview", "administration", "administration password step",
              "administration user list", "administration user log", "add/edit user", "main window",
              "main window with picture", "main window add mode", "large picture", "address label", "help"})
            QTest::newRow(state) << QString::fromLatin1(state);
    }

    // Each window is a frame or a dialog named by its caption, and every control that takes the focus has a name.
    void everyControlIsNamed() {
        QFETCH(QString, state);
        QWidget* window = Open(state);
        QVERIFY(window);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window);
        QVERIFY(face->role() == QAccessible::Window || face->role() == QAccessible::Dialog);
        QCOMPARE(face->text(QAccessible::Name), window->windowTitle());
        for (const QStringList& faults :
             {UnnamedControls(window), SharedAccessKeys(window), GridsWithHiddenColumns(window)})
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    // What a reader says beyond a control's name: a required entry is announced as required, not by its red
    // caption alone; a photograph by whom it shows, not by its file; an instruction as text, not as a button.
    void announces_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("description");
        QTest::newRow("required entry") << "main window add mode"
                                        << "txtField(1)"
                                        << "Required entry";
        QTest::newRow("optional entry") << "main window add mode"
                                        << "txtField(2)"
                                        << "";
        QTest::newRow("required user field") << "add/edit user"
                                             << "txtField(3)"
                                             << "Required entry";
        QTest::newRow("photograph") << "main window with picture"
                                    << "imgPicture"
                                    << "Photograph of Able, Al";
        QTest::newRow("enlarged photograph") << "large picture"
                                             << "imgPicture"
                                             << "Photograph of Able, Al";
    }

    void announces() {
        QFETCH(QString, state);
        QFETCH(QString, control);
        QFETCH(QString, description);
        QWidget* window = Open(state);
        auto* w = window->findChild<QWidget*>(control);
        QVERIFY(w);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w->focusProxy() ? w->focusProxy() : w);
        QCOMPARE(face->text(QAccessible::Description).trimmed(), description);
    }

    void instructionIsText() {
        auto* admin = qobject_cast<frmAdmin*>(Open(QStringLiteral("administration password step")));
        QCOMPARE(QAccessible::queryAccessibleInterface(admin->cmdUserSelected)->role(), QAccessible::StaticText);
        admin->cmdCancel_Click();
        QCOMPARE(QAccessible::queryAccessibleInterface(admin->cmdUserSelected)->role(), QAccessible::Button);
    }

    // The access code is typed masked, and what a reader can get of the box holds none of its digits.
    void accessCodeIsMasked() {
        bool masked = false;
        QString heard;
        WhenModal<QInputDialog>([&](QInputDialog* box) {
            auto* edit = box->findChild<QLineEdit*>();
            masked = edit->echoMode() == QLineEdit::Password;
            QTest::keyClicks(edit, QStringLiteral("246810"));
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(edit);
            heard = face->text(QAccessible::Value) + face->textInterface()->text(0, 6);
            box->accept();
        });
        QtDialogs qt;
        QCOMPARE(qt.SecretBox(nullptr, QStringLiteral("Code"), QStringLiteral("Access Code Required"), QString()),
                 QStringLiteral("246810"));
        QVERIFY(masked);
        QVERIFY2(!heard.contains(QRegularExpression(QStringLiteral("[0-9]"))), qPrintable(heard));
    }
};

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
