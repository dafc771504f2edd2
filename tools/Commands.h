#pragma once

#include <QByteArray>
#include <QStringList>

struct ListOptions;

// Sub-commands of vardel-data. Each runs in the data folder with the arguments that follow its name and returns
// the process exit code. A new command is a function here (in a file of its own) and one line in the table of
// vardel-data.cpp.

struct Command {
    const char* name;
    const char* synopsis; // the arguments, as the usage shows them
    const char* summary;
    int (*run)(const QStringList& args);
    // Writers create a missing data folder; readers need an existing one and never create anything.
    bool writes;
};

// "users": one JSON object per line for every record of "User.List", passwords left out.
int UsersCommand(const QStringList& args);

// The lines "users" prints for a user list file's contents.
QByteArray UserListJsonLines(const QByteArray& fileImage);

// "list [options]": the list heading, then name, column 1, column 2 and slot number per row, tab-separated.
int ListCommand(const QStringList& args);
// The list options of the arguments; false with a reason for a bad one.
bool ParseListArguments(const QStringList& args, ListOptions* options, QString* error);

// "history [--employee NAME|--slot N] [--since DATE] [--until DATE]": the events of the change history, oldest
// first, one tab-separated line each as the log holds them; "history --verify" checks its chain (exit 0 intact,
// 1 with the first bad line, 3 for a cut-off last line).
int HistoryCommand(const QStringList& args);
// The "info" lines of the change history: its line count and the state of its chain.
QByteArray HistoryInfoLines();

// "print list|report|forms|label ... --out FILE.pdf": a printout into a PDF file. Runs in vardel-data-print
// (ToolApplication.h), which has the fonts.
int PrintCommand(const QStringList& args);

// Standard output of the commands. WriteOutput and FinishOutput say on standard error when the output cannot be
// written (a full disk, a closed pipe) and return false; a command then ends with exit code 1.
bool WriteOutput(const QByteArray& text);
bool FinishOutput();
// Prints "usage: vardel-data SYNOPSIS" on standard error and returns exit code 2.
int UsageError(const char* synopsis);

// Every text that vardel-data writes passes through these, so that a control character from a record, a file name
// or an argument shows as an escape instead of acting on the terminal (EscapeControlCharacters of the core).
QByteArray TerminalText(const QString& text);
// Prints "PREFIX: TEXT" and a line end on standard error. The CR LF that join the lines of the program's own
// messages become line ends; any other control character is escaped.
void PrintError(const QString& text, const char* prefix = "vardel-data");
