#include "ui/app/VardelApplication.h"

#include "core/base/AppGlobals.h"
#include "ui/common/Dialogs.h"
#include "core/base/FileError.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

static FatalExitHook& fatalExitHook() {
    static FatalExitHook hook;
    return hook;
}

FatalExitHook SetFatalExitHook(FatalExitHook hook) {
    FatalExitHook previous = std::move(fatalExitHook());
    fatalExitHook() = std::move(hook);
    return previous;
}

void ReportFatalError(const QString& text) {
    dialogs().MessageBox(nullptr, text, AppTitle, MsgIcon::Critical, MsgButtons::OK);
    constexpr int exitCode = 1;
    if (fatalExitHook())
        fatalExitHook()(exitCode);
    // Open files are left to the system: every write the program makes is complete or goes through an atomic
    // rename, so nothing half-written remains for a clean-up to finish.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

static QString describe(const std::exception& error) {
    if (const auto* fileError = dynamic_cast<const FileError*>(&error))
        return FileErrorReport(*fileError);
    return QString::fromLocal8Bit(error.what());
}

void RunGuarded(const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& error) {
        ReportFatalError(describe(error));
    }
}

VardelApplication::VardelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VardelApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportFatalError(describe(error));
    }
}

#include "moc_VardelApplication.cpp"
