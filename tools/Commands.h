#pragma once

#include "core/app/CommandLine.h"

#include <QByteArray>
#include <QStringList>

struct ListOptions;

// Sub-commands of vardel-data. Each runs in the data folder with the arguments that follow its name, read by its
// options, and returns the process exit code; a mistake in them is the command's to tell, after whatever it finds
// wrong in the arguments before it. A new command is a function here (in a file of its own) and one line, with its
// options, in the table of vardel-data.cpp.

struct Command {
    const char* name;
    const char* synopsis; // the arguments, as the usage shows them
    const char* summary;
    int (*run)(const ReadArguments& args);
    // Writers create a missing data folder; readers need an existing one and never create anything.
    bool writes;
    OptionTable options = {};
    // Takes the list's options (ListOptionTable) as well.
    bool listOptions = false;
    // A help text of its own; without one, --help shows the synopsis, the summary and the options.
    QByteArray (*help)() = nullptr;
};

// True when the command was given no argument at all.
inline bool NoArguments(const ReadArguments& args) {
    return args.items.isEmpty() && args.mistake == ReadArguments::Mistake::None;
}

// "users": one JSON object per line for every record of "User.List", passwords left out.
int UsersCommand(const ReadArguments& args);

// The lines "users" prints for a user list file's contents.
QByteArray UserListJsonLines(const QByteArray& fileImage);

// "list [options]": the list heading, then name, column 1, column 2 and slot number per row, tab-separated.
int ListCommand(const ReadArguments& args);
// Its --help.
QByteArray ListHelp();
// The options of the list, which export and print take as well.
OptionTable ListOptionTable();
bool IsListOption(const QString& option);
// The list options among the arguments, the other options left to the caller; false with a reason for a bad one,
// a plain argument or the arguments' mistake. statusGiven, when not null, tells whether the arguments chose the
// employment status.
bool ParseListArguments(const ReadArguments& args, ListOptions* options, QString* error, bool* statusGiven = nullptr);

// "remove --slot N [--name "Last, First"]": removes one employee as the main window does, the name (when given)
// checked against the slot's. Refused while the program runs on the folder.
int RemoveCommand(const ReadArguments& args);
// "history [--employee NAME|--slot N] [--since DATE] [--until DATE]": the events of the change history, oldest
// first, one tab-separated line each as the log holds them; "history --verify" checks its chain (exit 0 intact,
// 1 with the first bad line, 3 for a cut-off last line).
int HistoryCommand(const ReadArguments& args);
// The "info" lines of the change history: its line count and the state of its chain.
QByteArray HistoryInfoLines();

// "print list|report|forms|label ... --out FILE.pdf": a printout into a PDF file. Runs in vardel-data-print
// (ToolApplication.h), which has the fonts.
int PrintCommand(const ReadArguments& args);
// Its --help.
QByteArray PrintHelp();

// The folder vardel-data was started in: paths on its command line are taken from there, although the commands
// run in the data folder.
QString& CallerFolder();
QString FromCallerFolder(const QString& path);

// Standard output of the commands. WriteOutput and FinishOutput say on standard error when the output cannot be
// written (a full disk, a closed pipe) and return false; a command then ends with exit code 1.
bool WriteOutput(const QByteArray& text);
bool FinishOutput();
// Prints "usage: vardel-data SYNOPSIS" on standard error and returns exit code 2.
int UsageError(const char* synopsis);

// "backup [DIR] [--keep N]": a verified backup into DIR/<date>T<time>, DIR defaulting to the BackupFolder setting;
// keeps the newest N dated backups. "verify DIR": exit 0 for a backup that verifies, else 1 with the reason.
int BackupCommand(const ReadArguments& args);
int VerifyCommand(const ReadArguments& args);
// "check": one tab-separated line per data-quality finding (slot, employee, field, rule); exit 1 when any.
int CheckCommand(const ReadArguments& args);
// "export --format xlsx|csv|json --fields list|all [list options] --out FILE|-": the list as the main window shows
// it; "import FILE.csv [--dry-run]": each row's verdict, then (without --dry-run) the accepted rows added at once;
// exit 1 when a row was refused.
int ExportCommand(const ReadArguments& args);
int ImportCommand(const ReadArguments& args);

// Every text that vardel-data writes passes through these, so that a control character from a record, a file name
// or an argument shows as an escape instead of acting on the terminal (EscapeControlCharacters of the core).
QByteArray TerminalText(const QString& text);
// Prints "PREFIX: TEXT" and a line end on standard error. The CR LF that join the lines of the program's own
// messages become line ends; any other control character is escaped.
void PrintError(const QString& text, const char* prefix = "vardel-data");

// The server of --server URL, else VARDEL_SERVER; empty for the data folder.
QString& ChosenToolServer();
// "server-import": the data folder's files into the empty database of --server; "server-export": the database's
// data as those files into a data folder that holds none of them. The folder round-trips byte for byte.
int ServerImportCommand(const ReadArguments& args);
int ServerExportCommand(const ReadArguments& args);
