// vardel-data: inspects and fills the program's data files from the command line.

#include "Commands.h"
#include "DataCommands.h"
#include "OlderDataCommands.h"
#include "ToolApplication.h"

#include "app/AppGlobals.h"
#include "app/CommandLine.h"
#include "store/DataFile.h"
#include "store/DataFolder.h"
#include "store/FileError.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const char* const kUsage = "usage: vardel-data [--data-dir DIR] <command> [arguments]\n"
                           "commands:\n"
                           "  info                          record counts of the data file\n"
                           "  dump                          every slot of the data file as one JSON line\n"
                           "  demo N --seed S [--replace]   write N sample employees as the data file\n"
                           "  users                         every user of the user list as one JSON line\n"
                           "  make-old N --seed S [--dat] [--replace]\n"
                           "                                write N sample employees as an older 2000-byte\n"
                           "                                data file (as Vardel.Dat with --dat)\n"
                           "  convert                       convert an older data file, keeping it as Vardel.Old\n"
                           "  list [options]                the employee list as the main window shows it\n"
                           "                                (vardel-data list --help names the options)\n"
                           "  print list|report|forms|label [options] --out FILE.pdf\n"
                           "                                a printout as a PDF file (vardel-data print --help)\n"
                           "DIR defaults to $VARDEL_DATA_DIR, else the program's data folder.\n"
                           "--help prints this text, --version the version.\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    HandOverPrinting(argc, argv);
    const std::unique_ptr<QCoreApplication> app = CreateToolApplication(argv[0]);
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(QStringLiteral("Vardel"));

    QStringList args = ToolArguments(argc, argv);
    QString dataDir;
    bool dirGiven = false;
    for (qsizetype i = 0; i < args.size();) {
        if (args[i] == QLatin1String("--data-dir")) {
            if (i + 1 >= args.size())
                return usage();
            dataDir = args[i + 1];
            dirGiven = true;
            args.remove(i, 2);
        } else if (args[i].startsWith(QLatin1String("--data-dir="))) {
            dataDir = args[i].mid(11);
            dirGiven = true;
            args.remove(i);
        } else {
            ++i;
        }
    }
    if (args.isEmpty() || (dirGiven && dataDir.isEmpty()))
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == QLatin1String("--version")) {
        std::printf("%s\n", qPrintable(VersionText(QStringLiteral("vardel-data"))));
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    if (!dirGiven)
        dataDir = qEnvironmentVariable("VARDEL_DATA_DIR");
    if (dataDir.isEmpty())
        dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);

    int (*run)(const QStringList&) = nullptr;
    if (command == QLatin1String("info"))
        run = InfoCommand;
    else if (command == QLatin1String("dump"))
        run = DumpCommand;
    else if (command == QLatin1String("demo"))
        run = DemoCommand;
    else if (command == QLatin1String("users")) {
        run = UsersCommand;
    } else if (command == QLatin1String("make-old")) {
        run = MakeOldCommand;
    } else if (command == QLatin1String("convert")) {
        run = ConvertCommand;
    } else if (command == QLatin1String("list")) {
        run = ListCommand;
    } else if (command == QLatin1String("print")) {
        run = PrintCommand;
    } else {
        std::fprintf(stderr, "vardel-data: unknown command \"%s\"\n", qPrintable(command));
        return usage();
    }

    InitProgramValues();
    DataFileName = AppTitle + QStringLiteral(".Data");
    QTemporaryDir emptyPlace;
    try {
        if (!QDir(dataDir).exists()) {
            if (command == QLatin1String("demo") || command == QLatin1String("make-old")) {
                EnsurePrivateFolder(dataDir);
            } else if (command == QLatin1String("print")) {
                // An empty printout would pass a mistyped folder off as one without employees.
                std::fprintf(stderr, "vardel-data: the data folder %s does not exist\n", qPrintable(dataDir));
                return 1;
            } else {
                // Nothing to read: the reading commands run in an empty place, which holds none of the files.
                if (!emptyPlace.isValid())
                    throw FileError(emptyPlace.errorString());
                dataDir = emptyPlace.path();
            }
        }
        if (!QDir::setCurrent(dataDir)) {
            std::fprintf(stderr, "vardel-data: cannot enter the folder %s\n", qPrintable(dataDir));
            return 1;
        }
        return run(args);
    } catch (const FileError& error) {
        CloseDataFile();
        std::fprintf(stderr, "vardel-data: %s\n", qPrintable(error.text()));
        return 1;
    }
}
