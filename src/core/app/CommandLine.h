#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <span>

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
// --data-dir=DIR, --server URL and --server=URL, -h and --help, --version, and the options Qt itself takes (-platform
// NAME, -display DISPLAY, -style NAME, ...; with one or two dashes, as Qt reads them). Anything else ends with
// ExitUsage and a message on standard error. --help and --version end at once with ExitSuccess.
CommandLineVerdict ReadCommandLine(const QStringList& arguments);

// "3.12.1": the version of this build.
QString ProgramVersion();

// The one line --version prints: the program's name, a blank and its version.
QString VersionText(const QString& programName);

// The text --help prints.
QString VardelHelpText();

// One option a command line takes, as its table states it: the parser reads by it and the help shows it.
struct OptionSpec {
    const char* name;         // with its dashes: "--slot"
    const char* value;        // what the help calls its value ("N"); nullptr for a switch, which takes none
    const char* help;         // one line for the help
    bool joinedValue = false; // "--name=VALUE" is read as well as "--name VALUE"
};
using OptionTable = std::span<const OptionSpec>;

// Arguments as option tables read them, in the order given.
struct ReadArguments {
    struct Item {
        QString option; // empty for a plain argument
        QString value;  // the option's value (empty for a switch), or the plain argument itself
    };
    enum class Mistake { None, UnknownOption, MissingValue };

    QList<Item> items;
    // Reading stops at the first mistake, so items holds what came before it: a caller that checks the items in
    // order and then the mistake reports the first wrong argument, whichever kind of wrong it is.
    Mistake mistake = Mistake::None;
    QString mistaken; // the argument that is wrong

    bool has(const char* option) const;
    // The value of the last one given; null when the option was not.
    QString value(const char* option) const;
    qsizetype timesGiven(const char* option) const;
    QStringList plain() const;
    // "unknown option --x", "--x needs a value".
    QString mistakeText() const;
};

// What reading does with an argument of two dashes that no table names: a mistake (the commands of vardel-data),
// or a plain argument left for someone else (the options both programs take wherever they stand).
enum class OtherOptions { Mistake, Plain };

// Reads args (without the program's name). An option is an argument that starts with "--"; its value is the next
// argument, whatever that reads, or what follows "=" for an option with joinedValue.
ReadArguments ReadOptions(const QStringList& args, std::initializer_list<OptionTable> tables,
                          OtherOptions others = OtherOptions::Mistake);

// Reads the option at args[i] when the tables name it: adds it to read, or notes its missing value, and moves i to
// its last argument. False, with nothing read, for any other argument.
bool ReadOption(const QStringList& args, qsizetype& i, std::initializer_list<OptionTable> tables, ReadArguments& read);

// The lines of the help that name the options, two blanks in and the help text in one column.
QString OptionsHelp(std::initializer_list<OptionTable> tables);

// --data-dir DIR and --server URL: where the records are, for vardel and vardel-data alike.
OptionTable DataPlaceOptions();
inline constexpr const char* DataDirOption = "--data-dir";
inline constexpr const char* ServerOption = "--server";

// The data place options among args (without the program's name), wherever they stand; everything else is left
// plain, in order. The last of each counts.
ReadArguments ReadDataPlace(const QStringList& args);

// The folder that holds the data files: given (the value of --data-dir), else environmentValue (VARDEL_DATA_DIR),
// else the platform's application data folder. Always an absolute, cleaned path.
QString ResolveDataFolder(const QString& given, const QString& environmentValue);

// DataFolder for arguments whose first is the program's name; a --data-dir without its value counts as none.
QString ChooseDataFolder(const QStringList& arguments, const QString& environmentValue);

// The value of "--server URL" (or "--server=URL") among the arguments, the first being the program's name; empty
// when none is given.
QString ServerArgument(const QStringList& arguments);
