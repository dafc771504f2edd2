#include "ScriptedDialogs.h"
#include "core/base/AppGlobals.h"
#include "ui/app/VardelApplication.h"
#include "core/base/FileError.h"

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

    // However the error arises, the clerk sees its text in one critical message and the program ends with a failure
    // code: control never comes back to the failed work.
    void fatalErrorIsShownAndEndsTheProgram_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("expected");
        QTest::newRow("reported") << "report" << QStringLiteral("Permission denied");
        QTest::newRow("file error in a handler") << "file error" << QStringLiteral("No space left on device");
        QTest::newRow("other exception in a handler") << "exception" << QStringLiteral("bad record length");
        QTest::newRow("guarded start-up work") << "guarded" << QStringLiteral("Path not found");
    }
    void fatalErrorIsShownAndEndsTheProgram() {
        QFETCH(QString, where);
        QFETCH(QString, expected);
        ScriptedDialogs scripted;
        scripted.answer(MsgResult::OK);
        Thrower receiver;
        receiver.onEvent = [&] {
            if (where == QLatin1String("file error"))
                throw FileError(expected);
            throw std::runtime_error(expected.toStdString());
        };
        QEvent event(QEvent::User);
        int exitCode = 0;
        try {
            if (where == QLatin1String("report"))
                ReportFatalError(expected);
            else if (where == QLatin1String("guarded"))
                RunGuarded([&expected] { throw FileError(expected); });
            else
                QCoreApplication::sendEvent(&receiver, &event);
            QFAIL("the program went on after a fatal error");
        } catch (const ProgramEnded& end) {
            exitCode = end.exitCode;
        }
        QVERIFY(exitCode != 0);
        QCOMPARE(scripted.calls().size(), 1);
        QCOMPARE(scripted.last().text, expected);
        QCOMPARE(scripted.last().title, AppTitle);
        QCOMPARE(scripted.last().icon, MsgIcon::Critical);
        QCOMPARE(scripted.last().buttons, MsgButtons::OK);
    }

    // Work that raises nothing runs once and shows nothing, in a handler or guarded.
    void quietWorkPassesThrough() {
        ScriptedDialogs scripted;
        Thrower receiver;
        int runs = 0;
        receiver.onEvent = [&] { ++runs; };
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&receiver, &event);
        QCOMPARE(runs, 1);
        RunGuarded([&runs] { ++runs; });
        QCOMPARE(runs, 2);
        QCOMPARE(scripted.calls().size(), 0);
    }
};

int main(int argc, char** argv) {
    VardelApplication app(argc, argv);
    TestFatalError test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_fatalerror.moc"
