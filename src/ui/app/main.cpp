#include "core/app/CommandLine.h"
#include "ui/app/basVardel.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // The command line is read before Qt opens a display, so that --help, --version and a mistyped option answer
    // on a text console as well.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLineVerdict verdict = ReadCommandLine(arguments);
    if (!verdict.start) {
        std::fputs(verdict.standardOutput.toLocal8Bit().constData(), stdout);
        std::fputs(verdict.standardError.toLocal8Bit().constData(), stderr);
        if (std::fflush(stdout) != 0) {
            std::perror("vardel: cannot write the output");
            return ExitFailure;
        }
        return verdict.exitStatus;
    }
    // The menu entry's name: Wayland's app id, and how desktops match the windows to the entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vardel"));
    return basVardel_Main(argc, argv);
}
