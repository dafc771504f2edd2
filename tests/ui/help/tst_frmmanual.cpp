#include "ScriptedDialogs.h"
#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/controls/ZelButton.h"
#include "core/help/HelpTexts.h"
#include "ui/help/frmManual.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// Opens the window as its callers do: HelpTopicIndex first, then the window is shown.
std::unique_ptr<frmManual> OpenManual(int topicIndex) {
    HelpTopicIndex = static_cast<qint16>(topicIndex);
    auto w = std::make_unique<frmManual>();
    w->show();
    if (!QTest::qWaitFor([&] { return w->WasActivated; }))
        return nullptr;
    return w;
}

QList<int> CheckedIndexes(const frmManual& w) {
    QList<int> checked;
    for (size_t i = 1; i < w.menuHelpTopic.size(); ++i) {
        if (w.menuHelpTopic[i]->isChecked())
            checked << static_cast<int>(i);
    }
    return checked;
}

QString Plain(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

class TestFrmManual : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuHoldsTheSystemsTopicsOnly();
    void opensWithTheCallersTopic_data();
    void opensWithTheCallersTopic();
    void startIndexWithoutTopicShowsNothing();
    void choosingAnotherTopicMovesTheCheckMark();
    void choosingAboutShowsVersionAndKeepsTopic();
    void choicesThatChangeNothing_data();
    void choicesThatChangeNothing();
    void f1AndTopicButtonPopTheMenuAtTheButton();
    void closing_data();
    void closing();
    void execReturnsWhenClosed();

private:
    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

void TestFrmManual::init() {
    m_dialogs = std::make_unique<ScriptedDialogs>();
    SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("0"));
    SetFadeSupport(FadeSupport::Auto);
}

void TestFrmManual::cleanup() {
    if (m_dialogs)
        QCOMPARE(m_dialogs->pending(), 0);
    m_dialogs.reset();
    SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("0"));
    SetFadeSupport(FadeSupport::Auto);
}

void TestFrmManual::menuHoldsTheSystemsTopicsOnly() {
    frmManual w;
    QCOMPARE(w.menuHelpMenu->title(), QStringLiteral("Help Topics"));
    const QStringList expected = QStringLiteral("Overview|-|The Admin Window|The Employee List|List Display Options|-|"
                                                "Important Program Notes|-|About Vardel|-|Exit this Menu")
                                     .split(QLatin1Char('|'));
    QStringList shown;
    for (QAction* action : w.menuHelpMenu->actions())
        shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(shown, expected);

    const QList<int> numbers{1000, 0, 1500, 2000, 3000, 0, 4000, 0, 7777, 0, 0};
    for (int i = 1; i <= frmManual::ExitIndex; ++i) {
        QAction* item = w.menuHelpTopic[static_cast<size_t>(i)];
        QCOMPARE(item, w.menuHelpMenu->actions().at(i - 1));
        QCOMPARE(item->data().toInt(), numbers.at(i - 1));
    }
}

void TestFrmManual::opensWithTheCallersTopic_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<int>("number");
    QTest::newRow("overview") << 1 << QStringLiteral("Overview") << 1000;
    QTest::newRow("admin window") << 3 << QStringLiteral("The Admin Window") << 1500;
    QTest::newRow("employee list tab") << 4 << QStringLiteral("The Employee List") << 2000;
    QTest::newRow("display options tab") << 5 << QStringLiteral("List Display Options") << 3000;
    QTest::newRow("program notes") << 7 << QStringLiteral("Important Program Notes") << 4000;
}

void TestFrmManual::opensWithTheCallersTopic() {
    QFETCH(int, index);
    QFETCH(QString, heading);
    QFETCH(int, number);
    auto w = OpenManual(index);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Vardel - Help Window"));
    QCOMPARE(w->CurrentTopic, index);
    QCOMPARE(w->labelHelpTopic->text(), heading);
    QCOMPARE(w->txtManual->toPlainText(), Plain(HelpTopicText(number)));
    QCOMPARE(CheckedIndexes(*w), QList<int>{index});
    QVERIFY(w->txtManual->isReadOnly());
    QVERIFY(w->cmdPrintHelp->isEnabled());
    QVERIFY(m_dialogs->calls().isEmpty());

    // A later activation repeats nothing: a topic chosen meanwhile stays.
    w->menuHelpTopic_Click(index == 7 ? 1 : 7);
    const int chosen = w->CurrentTopic;
    w->Form_Activate();
    QCOMPARE(w->CurrentTopic, chosen);
}

void TestFrmManual::startIndexWithoutTopicShowsNothing() {
    for (int index : {0, 2, frmManual::ExitIndex, 40}) {
        auto w = OpenManual(index);
        QVERIFY(w);
        QCOMPARE(w->CurrentTopic, 0);
        QVERIFY(w->labelHelpTopic->text().isEmpty());
        QVERIFY(CheckedIndexes(*w).isEmpty());
    }
}

void TestFrmManual::choosingAnotherTopicMovesTheCheckMark() {
    auto w = OpenManual(3);
    QVERIFY(w);
    // Through the menu item itself, as a click in the pop-up menu does.
    w->menuHelpTopic[7]->trigger();
    QCOMPARE(w->CurrentTopic, 7);
    QCOMPARE(w->labelHelpTopic->text(), QStringLiteral("Important Program Notes"));
    QCOMPARE(w->txtManual->toPlainText(), Plain(HelpTopicText(4000)));
    QCOMPARE(CheckedIndexes(*w), QList<int>{7});
}

void TestFrmManual::choosingAboutShowsVersionAndKeepsTopic() {
    auto w = OpenManual(5);
    QVERIFY(w);
    m_dialogs->answer(MsgResult::OK);
    w->menuHelpTopic[frmManual::AboutIndex]->trigger();

    QCOMPARE(m_dialogs->calls().size(), 1);
    const ScriptedDialogs::Call& call = m_dialogs->last();
    const QString expected = QStringLiteral("Vardel\r\nVersion w%1.%2.%3\r\n\r\nPersonnel  Management Software\r\n©")
                                 .arg(VersionMajor())
                                 .arg(VersionMinor())
                                 .arg(VersionRevision()) +
                             AppLegalNotice + QStringLiteral("\r\n\r\n");
    QCOMPARE(call.text, expected);
    QCOMPARE(w->AboutText, expected);
    QCOMPARE(call.title, QStringLiteral("About Vardel"));
    QCOMPARE(call.icon, MsgIcon::Information);
    QCOMPARE(call.buttons, MsgButtons::OK);

    QCOMPARE(w->CurrentTopic, 5);
    QCOMPARE(w->labelHelpTopic->text(), QStringLiteral("List Display Options"));
    QCOMPARE(w->txtManual->toPlainText(), Plain(HelpTopicText(3000)));
    QCOMPARE(CheckedIndexes(*w), QList<int>{5});
    QVERIFY(!w->menuHelpTopic[frmManual::AboutIndex]->isChecked());
}

void TestFrmManual::choicesThatChangeNothing_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("topic on show") << 3;
    QTest::newRow("first separator") << 2;
    QTest::newRow("separator before about") << 8;
    QTest::newRow("separator before exit") << 10;
    QTest::newRow("exit this menu") << frmManual::ExitIndex;
    QTest::newRow("out of range") << 12;
}

void TestFrmManual::choicesThatChangeNothing() {
    QFETCH(int, index);
    auto w = OpenManual(3);
    QVERIFY(w);
    // Leave the reader somewhere in the text: re-showing the same topic must not lose the place.
    w->resize(w->width(), 200);
    QApplication::processEvents();
    QTextCursor cursor = w->txtManual->textCursor();
    cursor.setPosition(40);
    w->txtManual->setTextCursor(cursor);

    w->menuHelpTopic_Click(index);

    QCOMPARE(w->CurrentTopic, 3);
    QCOMPARE(w->labelHelpTopic->text(), QStringLiteral("The Admin Window"));
    QCOMPARE(w->txtManual->toPlainText(), Plain(HelpTopicText(1500)));
    QCOMPARE(w->txtManual->textCursor().position(), 40);
    QCOMPARE(CheckedIndexes(*w), QList<int>{3});
    QVERIFY(m_dialogs->calls().isEmpty());
    QVERIFY(w->isVisible());
}

void TestFrmManual::f1AndTopicButtonPopTheMenuAtTheButton() {
    auto w = OpenManual(1);
    QVERIFY(w);
    QSignalSpy popping(w.get(), &frmManual::helpMenuPopping);
    const QPoint corner = w->cmdHelpTopic->mapToGlobal(QPoint(0, 0));

    QTest::keyClick(w->txtManual, Qt::Key_F1);
    QCOMPARE(popping.size(), 1);
    QCOMPARE(popping.at(0).at(0).toPoint(), corner);
    QVERIFY(w->menuHelpMenu->isVisible());
    w->menuHelpMenu->hide();

    QTest::mouseClick(w->cmdHelpTopic, Qt::LeftButton);
    QCOMPARE(popping.size(), 2);
    QCOMPARE(popping.at(1).at(0).toPoint(), corner);
    QVERIFY(w->menuHelpMenu->isVisible());
    w->menuHelpMenu->hide();

    // Popping the menu alone chooses nothing.
    QCOMPARE(w->CurrentTopic, 1);
    QVERIFY(w->isVisible());
}

void TestFrmManual::closing_data() {
    QTest::addColumn<bool>("fading");
    QTest::addColumn<bool>("escape");
    QTest::newRow("close button") << false << false;
    QTest::newRow("Esc") << false << true;
    QTest::newRow("close button, fading") << true << false;
    QTest::newRow("Esc, fading") << true << true;
}

void TestFrmManual::closing() {
    QFETCH(bool, fading);
    QFETCH(bool, escape);
    if (fading) {
        SetFadeSupport(FadeSupport::Always);
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("-1"));
    }
    auto w = OpenManual(1);
    QVERIFY(w);
    QCOMPARE(FadeOn, qint16(fading ? -1 : 0));
    w->fade()->WaitForFade();
    QVERIFY(w->isEnabled());
    QSignalSpy opacities(w->fade(), &FadeEngine::opacityApplied);
    QSignalSpy clicked(w->cmdReturn, &ZelButton::clicked);

    if (escape)
        QTest::keyClick(w->txtManual, Qt::Key_Escape);
    else
        QTest::mouseClick(w->cmdReturn, Qt::LeftButton);
    // Esc is the close button: with fading on, the window fades out instead of vanishing.
    QTRY_COMPARE(clicked.size(), 1);
    QCOMPARE(w->isVisible(), fading);
    w->fade()->WaitForFade();
    QVERIFY(!w->isVisible());
    QCOMPARE(w->result(), int(QDialog::Accepted));

    QList<int> seen;
    for (const QList<QVariant>& args : opacities)
        seen << args.at(0).toInt();
    QList<int> expected;
    for (int o = 235; fading && o > 0; o -= 20)
        expected << o;
    if (fading)
        expected << 0;
    QCOMPARE(seen, expected);
}

void TestFrmManual::execReturnsWhenClosed() {
    HelpTopicIndex = 4;
    frmManual w;
    QString shownHeading;
    std::function<void()> closeWhenReady = [&] {
        if (!w.WasActivated) {
            QTimer::singleShot(5, &w, closeWhenReady);
            return;
        }
        shownHeading = w.labelHelpTopic->text();
        w.cmdReturn->click();
    };
    QTimer::singleShot(0, &w, closeWhenReady);
    QCOMPARE(w.exec(), int(QDialog::Accepted));
    QCOMPARE(shownHeading, QStringLiteral("The Employee List"));
}

QTEST_MAIN(TestFrmManual)
#include "tst_frmmanual.moc"
