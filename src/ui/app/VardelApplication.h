#pragma once

#include <QApplication>
#include <functional>

// The program's application object. An exception that escapes an event handler (above all a FileError from
// the data modules, which never catch their own) ends here: its text is shown and the program ends.
class VardelApplication : public QApplication {
    Q_OBJECT
public:
    VardelApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows text in a critical message box titled with the application title, then ends the program with a
// non-zero exit code. Nothing after the box runs: data in an unknown state must not be worked on further.
[[noreturn]] void ReportFatalError(const QString& text);

// How ReportFatalError ends the program; the default leaves the process at once with the code. Tests install
// a hook that throws, so that control does not come back to the failed work. Returns the previous hook.
using FatalExitHook = std::function<void(int exitCode)>;
FatalExitHook SetFatalExitHook(FatalExitHook hook);

// Runs work and turns an escaping exception into ReportFatalError, for work done outside the event loop.
void RunGuarded(const std::function<void()>& work);
