// vardel-data: inspects and fills the program's data files from the command line.

#include "Commands.h"
#include "DataCommands.h"
#include "OlderDataCommands.h"
#include "ToolApplication.h"

#include "core/app/CommandLine.h"
#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/history/ChangeLog.h"
#include "core/server/ServerStore.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

namespace {

const OptionSpec kHelpOption[] = {{"--help", nullptr, "print this help and exit"}};

using enum FolderUse;

// Every command of the tool. A new one is a line here.
const Command kCommands[] = {
    {"info", "info", "record counts of the data file", InfoCommand, Reads},
    {"dump", "dump", "every slot of the data file as one JSON line", DumpCommand, Reads},
    {"users", "users", "every user of the user list as one JSON line", UsersCommand, Reads},
    {"demo", "demo N --seed S [--replace]", "write N sample employees as the data file", DemoCommand, Creates,
     kSampleOptions},
    {"make-old", "make-old N --seed S [--dat] [--replace]",
     "write N sample employees as an older 2000-byte data file (as Vardel.Dat with --dat)", MakeOldCommand, Creates,
     kMakeOldOptions},
    {"convert", "convert", "convert an older data file, keeping it as Vardel.Old", ConvertCommand, Creates},
    {"list",
     "list [options]",
     "the employee list as the main window shows it (vardel-data list --help names the options)",
     ListCommand,
     Reads,
     {},
     true,
     ListHelp},
    {"remove", "remove --slot N [--name \"Last, First\"]",
     "remove the employee in slot N as the main window does, checking the name when given", RemoveCommand, Reads,
     kRemoveOptions},
    {"history", "history [--employee NAME|--slot N] [--since DATE] [--until DATE]",
     "the change history, one tab-separated event a line; history --verify checks its chain", HistoryCommand, Reads,
     kHistoryOptions},
    {"backup", "backup [DIR] [--keep N]",
     "a verified backup into a dated folder of DIR (the BackupFolder setting when none)", BackupCommand, Reads,
     kBackupOptions},
    {"verify", "verify DIR", "verify a backup folder against its manifest", VerifyCommand, Reads},
    {"check", "check", "the data-quality check: every record with a problem, tab-separated", CheckCommand, Reads},
    {"export", "export --format F --fields list|all [list options] --out FILE [--replace]",
     "the list as the main window shows it, as XLSX, CSV or JSON (--out - for standard output)", ExportCommand, Reads,
     kExportOptions, true},
    {"import", "import FILE.csv [--dry-run]", "add the employees of a CSV file that pass every check", ImportCommand,
     AddsTo, kImportOptions},
    {"server-import", "server-import --server URL --data-dir DIR",
     "move the data folder's files into an empty PostgreSQL database", ServerImportCommand, Reads},
    {"server-export", "server-export --server URL --data-dir DIR",
     "write a PostgreSQL database's data as the files of a data folder without any", ServerExportCommand, Creates},
    {"print", "print list|report|forms|label [options] --out FILE.pdf",
     "a printout of the main window as a PDF file (vardel-data print --help names the options)", PrintCommand, Reads,
     kPrintOptions, true, PrintHelp},
};

// A command's --help: its own text, else its synopsis, its summary and its options.
QByteArray commandHelp(const Command& command) {
    if (command.help)
        return command.help();
    return QByteArray("usage: vardel-data ") + command.synopsis + '\n' + command.summary + '\n' +
           OptionsHelp({command.options, command.listOptions ? OptionTable(kListOptions) : OptionTable(), kHelpOption})
               .toUtf8();
}

QByteArray usageText() {
    QByteArray text = "usage: vardel-data [--data-dir DIR | --server URL] <command> [arguments]\ncommands:\n";
    for (const Command& command : kCommands) {
        const QByteArray synopsis(command.synopsis);
        // A long synopsis gets a line of its own, the summary below it in the column.
        text += "  " +
                (synopsis.size() < 30 ? synopsis.leftJustified(30, ' ') : synopsis + '\n' + QByteArray(32, ' ')) +
                command.summary + '\n';
    }
    text += "DIR defaults to $VARDEL_DATA_DIR, else the program's data folder.\n"
            "--server URL (else $VARDEL_SERVER) names a PostgreSQL database by anything libpq takes\n"
            "(postgresql://user@host/db, postgresql:///db?host=/socket/folder); passwords come from\n"
            "~/.pgpass or PGPASSWORD, never from the command line.\n"
            "--help prints this text, --version the version.\n";
    return text;
}

int usage() {
    std::fputs(usageText().constData(), stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    HandOverPrinting(argc, argv);
    const std::unique_ptr<QCoreApplication> app = CreateToolApplication(argv[0]);
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(QStringLiteral("Vardel"));

    CallerFolder() = QDir::currentPath();
    const ReadArguments place = ReadDataPlace(ToolArguments(argc, argv));
    // An empty --data-dir would quietly be the folder vardel-data was started in.
    if (place.mistake != ReadArguments::Mistake::None ||
        (place.has(DataDirOption) && place.value(DataDirOption).isEmpty()))
        return usage();
    QStringList args = place.plain();
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        std::fputs(usageText().constData(), stdout);
        return FinishOutput() ? 0 : 1;
    }
    if (name == QLatin1String("--version")) {
        std::printf("%s\n", qPrintable(VersionText(QStringLiteral("vardel-data"))));
        return FinishOutput() ? 0 : 1;
    }
    const Command* command = nullptr;
    for (const Command& candidate : kCommands)
        if (name == QLatin1String(candidate.name))
            command = &candidate;
    if (!command) {
        PrintError(QStringLiteral("unknown command \"%1\"").arg(name));
        return usage();
    }

    // Help is the same text wherever it is asked for, even before the data folder exists, and whatever else the
    // arguments hold.
    if (args.contains(QLatin1String("--help")))
        return WriteOutput(commandHelp(*command)) && FinishOutput() ? 0 : 1;

    const QString dataDir = ResolveDataFolder(place.value(DataDirOption), qEnvironmentVariable("VARDEL_DATA_DIR"));
    ChosenToolServer() = ChosenServer(place.value(ServerOption), QString());
    const bool serverCommand = QByteArray(command->name).startsWith("server-");

    InitProgramValues();
    try {
        // On a server every command reads and writes the server through the store; only server-import and
        // server-export also use a folder, and the folder's lock and claim matter to the folder alone.
        if (!ChosenToolServer().isEmpty() && !serverCommand) {
            SetActiveStore(std::make_unique<ServerStore>(ChosenToolServer()));
            // What stays local (the access code a backup takes along) lives in the data folder, made private when
            // missing, as the program makes it for a desk on a server.
            UseDataFolder(dataDir);
            return command->run(args);
        }
        // A missing folder is refused rather than made: saying "records 0" would pass a mistyped folder off as an
        // empty database.
        UseDataFolder(dataDir, command->folder == FolderUse::Creates);
        // The running program's windows hold slot numbers into the files: a write under them would land their
        // next save on somebody else.
        if (command->folder != FolderUse::Reads)
            RequireNoProgramOnFolder();
        return command->run(args);
    } catch (const FileError& error) {
        CloseDataFile();
        PrintError(FileErrorReport(error));
        return 1;
    }
}
