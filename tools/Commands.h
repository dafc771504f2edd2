#pragma once

#include "core/app/CommandLine.h"

#include <QByteArray>
#include <QStringList>

struct ListOptions;

// Sub-commands of vardel-data. Each runs in the data folder with the arguments that follow its name, reads them by
// its table of options below and returns the process exit code; a mistake in them is the command's to tell, after
// whatever it finds wrong in the arguments before it. A new command is a function here (in a file of its own), its
// options, and one line in the table of vardel-data.cpp.

// What a command does with the data folder. Readers need an existing one and never create anything. Writers of
// the whole data file create a missing folder; an import, which adds to what is there, needs it to exist, so that a
// mistyped folder never becomes a new one holding only the file's employees.
enum class FolderUse { Reads, Creates, AddsTo };

struct Command {
    const char* name;
    const char* synopsis; // the arguments, as the usage shows them
    const char* summary;
    int (*run)(const QStringList& args);
    FolderUse folder;
    OptionTable options = {};
    // Takes the list's options (kListOptions) as well.
    bool listOptions = false;
    // A help text of its own; without one, --help shows the synopsis, the summary and the options.
    QByteArray (*help)() = nullptr;
};

// The options of the commands, which each reads its arguments by and --help shows; --help itself, which every
// command takes, is the dispatch's.

// The list's options, which export and print take as well.
inline constexpr OptionSpec kListOptions[] = {
    {"--type", "alpha|seniority|age|birthday", "the kind of list"},
    {"--with", "ENTRY", "the entry the alphabetical list shows beside the name"},
    {"--status", "current|previous", "current or previous employees"},
    {"--sworn", "all|sworn|non-sworn", "sworn employees, the others, or all"},
    {"--race", "W|B|H|A|O", "employees of one race"},
    {"--sex", "M|F", "employees of one sex"},
    {"--month", "Jan", "employees born in one month"},
    {"--year", "1999", "employees born in one year"},
    {"--age-group", "\"30's\"", "employees of one age group"},
    {"--search", "TEXT", "employees whose entries hold TEXT"},
    {"--notepad", nullptr, "search the notepad as well"},
};
inline constexpr OptionSpec kSampleOptions[] = {
    {"--seed", "S", "the seed: the same seed writes the same employees"},
    {"--replace", nullptr, "write over a data file that holds records"},
};
inline constexpr OptionSpec kMakeOldOptions[] = {
    {"--seed", "S", "the seed: the same seed writes the same employees"},
    {"--dat", nullptr, "write Vardel.Dat, as the oldest releases named the file"},
    {"--replace", nullptr, "write over a data file that holds records"},
};
inline constexpr OptionSpec kRemoveOptions[] = {
    {"--slot", "N", "the employee's slot, as vardel-data list prints it"},
    {"--name", "\"Last, First\"", "remove only when the slot holds this name"},
};
inline constexpr OptionSpec kHistoryOptions[] = {
    {"--employee", "NAME", "the events of employees whose name holds NAME, in any case"},
    {"--slot", "N", "the events of the employee in slot N"},
    {"--since", "DATE", "from this day on"},
    {"--until", "DATE", "up to this day"},
    {"--verify", nullptr, "check the chain of the history instead (alone)"},
};
inline constexpr OptionSpec kBackupOptions[] = {
    {"--keep", "N", "keep the newest N dated backups that verify (the BackupKeep setting when none)"},
};
inline constexpr OptionSpec kExportOptions[] = {
    {"--format", "xlsx|csv|json", "the kind of file (csv when none)"},
    {"--fields", "list|all", "the list's columns or every field (list when none)"},
    {"--out", "FILE", "the file to write; - for standard output (not for xlsx)"},
    {"--replace", nullptr, "write over an existing file (never one in the data folder)"},
};
inline constexpr OptionSpec kImportOptions[] = {
    {"--dry-run", nullptr, "tell each row's verdict and add nothing"},
};
inline constexpr OptionSpec kPrintOptions[] = {
    {"--out", "FILE.pdf", "the PDF file to write"},
    {"--replace", nullptr, "write over an existing PDF file"},
    {"--slot", "N", "the employee of report, forms and label"},
    {"--comments", nullptr, "report: with the notepad"},
    {"--photo", nullptr, "report: with the photograph"},
    {"--row", "R", "label: the row on the sheet"},
    {"--col", "C", "label: the column on the sheet"},
    {"--line1", "TEXT", "label: its first line"},
    {"--line2", "TEXT", "label: its second line"},
    {"--line3", "TEXT", "label: its third line"},
    {"--line4", "TEXT", "label: its fourth line"},
};

// "users": one JSON object per line for every record of "User.List", passwords left out.
int UsersCommand(const QStringList& args);

// The lines "users" prints for a user list file's contents.
QByteArray UserListJsonLines(const QByteArray& fileImage);

// "list [options]": the list heading, then name, column 1, column 2 and slot number per row, tab-separated.
int ListCommand(const QStringList& args);
// Its --help.
QByteArray ListHelp();
bool IsListOption(const QString& option);
// The list options among the arguments, the other options left to the caller; false with a reason for a bad one,
// a plain argument or the arguments' mistake. statusGiven, when not null, tells whether the arguments chose the
// employment status.
bool ParseListArguments(const ReadArguments& args, ListOptions* options, QString* error, bool* statusGiven = nullptr);

// "remove --slot N [--name "Last, First"]": removes one employee as the main window does, the name (when given)
// checked against the slot's. Refused while the program runs on the folder.
int RemoveCommand(const QStringList& args);
// "history [--employee NAME|--slot N] [--since DATE] [--until DATE]": the events of the change history, oldest
// first, one tab-separated line each as the log holds them; "history --verify" checks its chain (exit 0 intact,
// 1 with the first bad line, 3 for a cut-off last line).
int HistoryCommand(const QStringList& args);
// The "info" lines of the change history: its line count and the state of its chain.
QByteArray HistoryInfoLines();

// "print list|report|forms|label ... --out FILE.pdf": a printout into a PDF file. Runs in vardel-data-print
// (ToolApplication.h), which has the fonts.
int PrintCommand(const QStringList& args);
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

// "backup [DIR] [--keep N]": a verified backup into DIR/<date>T<time>, DIR defaulting to the BackupFolder setting,
// built in a hidden folder and renamed into place when whole; clears what killed backups left and keeps the newest
// N dated backups that verify. "verify DIR": exit 0 for a backup that verifies, else 1 with the reason.
int BackupCommand(const QStringList& args);
int VerifyCommand(const QStringList& args);
// "check": one tab-separated line per data-quality finding (slot, employee, field, rule); exit 1 when any.
int CheckCommand(const QStringList& args);
// "export --format xlsx|csv|json --fields list|all [list options] --out FILE|- [--replace]": the list as the main
// window shows it; "import FILE.csv [--dry-run]": each row's verdict, then (without --dry-run) the accepted rows added
// at once; exit 1 when a row was refused.
int ExportCommand(const QStringList& args);
int ImportCommand(const QStringList& args);

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
int ServerImportCommand(const QStringList& args);
int ServerExportCommand(const QStringList& args);
