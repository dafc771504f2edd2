#pragma once

#include <QCoreApplication>
#include <QStringList>

#include <memory>

// How vardel-data starts. Printing needs Qt's fonts and PDF writer, and loading their libraries (Qt Gui and some
// thirty more) would double the start-up time of every other command. So "vardel-data print" runs in a second
// program, vardel-data-print: the same commands built from the same sources, with the printouts linked in.
// vardel-data hands a print command over to it before it does anything else; each program links its own
// version of the functions below.

// vardel-data: when the command is "print", replaces this process with vardel-data-print, which gets the same
// arguments; a failure to start it is told and ends the process with exit code 1. For any other command it
// returns. vardel-data-print: returns.
void HandOverPrinting(int argc, char* argv[]);

// The application object: Qt Core's for vardel-data, a Gui application on the offscreen platform (no display
// needed) for vardel-data-print. Qt is shown none of the arguments, so that a value such as "-reverse" or
// "-platform" stays the command's; take them from ToolArguments.
std::unique_ptr<QCoreApplication> CreateToolApplication(char* argv0);

// The arguments after the program's name, as given.
inline QStringList ToolArguments(int argc, char* argv[]) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}
