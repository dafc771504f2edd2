#include "ScriptedDialogs.h"
#include "app/AppGlobals.h"
#include "app/VardelApplication.h"
#include "store/FileError.h"

#include <QEvent>
#include <QTest>

namespace {

// Stands for the end of the program: thrown by the exit hook so that control never returns to the failed work.
struct ProgramEnded {
    int exitCode;
};

class Thrower : public QObject {
public:
    std::function<void()> onEvent;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User && onEvent)
            onEvent();
        return QObject::event(e);
    }
};

} // namespace

class TestFatalError : public QObject {
    Q_OBJECT

    FatalExitHook m_previous;

private slots:
    void init() {
        m_previous = SetFatalExitHook([](int code) { throw ProgramEnded{code}; });
    }
    void cleanup() { SetFatalExitHook(m_previous); }

    void reportShowsTheTextAndEndsTheProgram() {
        ScriptedDialogs scripted;
        scripted.answer(MsgResult::OK);
        const QString text = QStringLiteral("Permission denied");
        try {
            ReportFatalError(text);
            QFAIL("the program went on after a fatal error");
        } catch (const ProgramEnded& end) {
            QVERIFY(end.exitCode != 0);
        }
        QCOMPARE(scripted.calls().size(), 1);
        QCOMPARE(scripted.last().text, text);
        QCOMPARE(scripted.last().title, AppTitle);
        QCOMPARE(scripted.last().icon, MsgIcon::Critical);
        QCOMPARE(scripted.last().buttons, MsgButtons::OK);
    }

    void errorsEscapingAnEventHandler_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file error") << 0 << QStringLiteral("No space left on device");
        QTest::newRow("other exception") << 1 << QStringLiteral("bad record length");
    }
    void errorsEscapingAnEventHandler() {
        QFETCH(int, kind);
        QFETCH(QString, expected);
        ScriptedDialogs scripted;
        scripted.answer(MsgResult::OK);
        Thrower receiver;
        receiver.onEvent = [&] {
            if (kind == 0)
                throw FileError(expected);
            throw std::runtime_error(expected.toStdString());
        };
        QEvent event(QEvent::User);
        bool ended = false;
        try {
            QCoreApplication::sendEvent(&receiver, &event);
        } catch (const ProgramEnded&) {
            ended = true;
        }
        QVERIFY(ended);
        QCOMPARE(scripted.calls().size(), 1);
        QCOMPARE(scripted.last().text, expected);
        QCOMPARE(scripted.last().title, AppTitle);
    }

    void quietHandlersPassThrough() {
        ScriptedDialogs scripted;
        Thrower receiver;
        int runs = 0;
        receiver.onEvent = [&] { ++runs; };
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&receiver, &event);
        QCOMPARE(runs, 1);
        QCOMPARE(scripted.calls().size(), 0);
    }

    void guardedStartUpWork() {
        ScriptedDialogs scripted;
        scripted.answer(MsgResult::OK);
        bool ended = false;
        try {
            RunGuarded([] { throw FileError(QStringLiteral("Path not found")); });
        } catch (const ProgramEnded&) {
            ended = true;
        }
        QVERIFY(ended);
        QCOMPARE(scripted.last().text, QStringLiteral("Path not found"));

        int runs = 0;
        RunGuarded([&runs] { ++runs; });
        QCOMPARE(runs, 1);
        QCOMPARE(scripted.calls().size(), 1);
    }
};

int main(int argc, char** argv) {
    VardelApplication app(argc, argv);
    TestFatalError test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_fatalerror.moc"
