#pragma once

#include <QString>
#include <QStringList>

// The program's command line, read before any window (or display) is needed, so that --help and --version work
// on a machine without a desktop and a mistyped option never opens the program.

// Exit statuses of the command-line programs.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// What the arguments ask for: either start the program, or print and end with an exit status.
struct CommandLineVerdict {
    bool start = true;
    int exitStatus = ExitSuccess;
    QString standardOutput;
    QString standardError;
};

// Reads vardel's arguments (the first one is the program's own name). Accepted: --data-dir DIR and
// --data-dir=DIR, --server URL and --server=URL, -h and --help, --version, and the options Qt itself takes (-platform NAME, -display DISPLAY,
// -style NAME, ...; with one or two dashes, as Qt reads them). Anything else ends with ExitUsage and a message
// on standard error. --help and --version end at once with ExitSuccess.
CommandLineVerdict ReadCommandLine(const QStringList& arguments);

// "3.12.1": the version of this build.
QString ProgramVersion();

// The one line --version prints: the program's name, a blank and its version.
QString VersionText(const QString& programName);

// The text --help prints.
QString VardelHelpText();
