#include "core/app/CommandLine.h"

#include "core/base/AppGlobals.h"

namespace {

const QString kProgram = QStringLiteral("vardel");
const QString kDataDir = QStringLiteral("--data-dir");
const QString kServer = QStringLiteral("--server");

// Qt's application and platform classes take these out of the arguments themselves (Qt 6 on Linux, X11 and
// Wayland). Qt reads each with one dash or two.
const QStringList kQtOptionsWithValue =
    QStringLiteral("platform platformpluginpath platformtheme plugin qwindowgeometry geometry qwindowicon icon "
                   "qwindowtitle title session style stylesheet display name visual qmljsdebugger")
        .split(QLatin1Char(' '));
const QStringList kQtOptionsWithJoinedValue = QStringLiteral("style stylesheet qmljsdebugger").split(QLatin1Char(' '));
const QStringList kQtFlags = QStringLiteral("reverse testability widgetcount nograb dograb").split(QLatin1Char(' '));

// The name of a Qt option as Qt compares it: without its dashes. Empty for anything that is not one.
QString qtOptionName(const QString& argument) {
    if (!argument.startsWith(QLatin1Char('-')))
        return QString();
    return argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
}

CommandLineVerdict usageError(const QString& message) {
    CommandLineVerdict verdict;
    verdict.start = false;
    verdict.exitStatus = ExitUsage;
    verdict.standardError = kProgram + QStringLiteral(": ") + message + QStringLiteral("\nTry '") + kProgram +
                            QStringLiteral(" --help' for more information.\n");
    return verdict;
}

CommandLineVerdict printAndEnd(const QString& text) {
    CommandLineVerdict verdict;
    verdict.start = false;
    verdict.standardOutput = text;
    return verdict;
}

} // namespace

QString ProgramVersion() {
    return QStringLiteral("%1.%2.%3").arg(VersionMajor()).arg(VersionMinor()).arg(VersionRevision());
}

QString VersionText(const QString& programName) {
    return programName + QLatin1Char(' ') + ProgramVersion();
}

QString VardelHelpText() {
    return QStringLiteral("Usage: vardel [--data-dir DIR] [--server URL] [Qt options]\n"
                          "Keeps the personnel records of a public-safety agency.\n"
                          "\n"
                          "  --data-dir DIR   keep the data files in DIR; without it, in $VARDEL_DATA_DIR,\n"
                          "                   else in ~/.local/share/Vardel\n"
                          "  --server URL     keep the records on a PostgreSQL server for several desks:\n"
                          "                   postgresql://user@host/database, or any connection\n"
                          "                   text libpq takes; without it, $VARDEL_SERVER, else the\n"
                          "                   setting Server=; passwords come from ~/.pgpass\n"
                          "  -h, --help       print this help and exit\n"
                          "      --version    print the version and exit\n"
                          "\n"
                          "Qt's own options, such as -platform NAME, -display DISPLAY and -style NAME,\n"
                          "are accepted as well.\n"
                          "\n"
                          "Exit status: 0 when the program ends normally, 1 when it cannot run or stops on\n"
                          "an error, 2 for a mistake on the command line.\n"
                          "The data folder, the files and the settings are described in vardel(1).\n");
}

CommandLineVerdict ReadCommandLine(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool hasNext = i + 1 < arguments.size();
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return printAndEnd(VardelHelpText());
        if (argument == QLatin1String("--version"))
            return printAndEnd(VersionText(kProgram) + QLatin1Char('\n'));

        if (argument == kDataDir || argument.startsWith(kDataDir + QLatin1Char('='))) {
            const bool joined = argument != kDataDir;
            if (!joined && !hasNext)
                return usageError(QStringLiteral("option '--data-dir' needs a folder"));
            const QString folder = joined ? argument.mid(kDataDir.size() + 1) : arguments.at(++i);
            if (folder.isEmpty())
                return usageError(QStringLiteral("option '--data-dir' needs a folder"));
            continue;
        }

        if (argument == kServer || argument.startsWith(kServer + QLatin1Char('='))) {
            const bool joined = argument != kServer;
            if (!joined && !hasNext)
                return usageError(QStringLiteral("option '--server' needs a connection text"));
            const QString server = joined ? argument.mid(kServer.size() + 1) : arguments.at(++i);
            if (server.isEmpty())
                return usageError(QStringLiteral("option '--server' needs a connection text"));
            continue;
        }

        const QString name = qtOptionName(argument);
        if (kQtFlags.contains(name))
            continue;
        if (kQtOptionsWithValue.contains(name)) {
            if (!hasNext)
                return usageError(QStringLiteral("option '%1' needs a value").arg(argument));
            ++i;
            continue;
        }
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        if (equals > 0 && kQtOptionsWithJoinedValue.contains(name.left(equals)))
            continue;

        if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1)
            return usageError(QStringLiteral("unknown option '%1'").arg(argument));
        return usageError(QStringLiteral("unexpected argument '%1'").arg(argument));
    }
    return CommandLineVerdict{};
}
