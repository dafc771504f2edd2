#include "core/app/CommandLine.h"

#include "core/base/AppGlobals.h"

#include <QDir>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QString kProgram = QStringLiteral("vardel");

const OptionSpec kDataPlaceOptions[] = {
    {DataDirOption, "DIR", "keep the data files in DIR; without it, in $VARDEL_DATA_DIR", true},
    {ServerOption, "URL", "keep the records on a PostgreSQL server; without it, $VARDEL_SERVER", true},
};

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
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return printAndEnd(VardelHelpText());
        if (argument == QLatin1String("--version"))
            return printAndEnd(VersionText(kProgram) + QLatin1Char('\n'));

        ReadArguments place;
        if (ReadOption(arguments, i, {DataPlaceOptions()}, place)) {
            const bool missing = place.mistake != ReadArguments::Mistake::None || place.items.last().value.isEmpty();
            const QString option = place.items.isEmpty() ? place.mistaken : place.items.last().option;
            if (missing && option == QLatin1String(DataDirOption))
                return usageError(QStringLiteral("option '--data-dir' needs a folder"));
            if (missing)
                return usageError(QStringLiteral("option '--server' needs a connection text"));
            continue;
        }

        const QString name = qtOptionName(argument);
        if (kQtFlags.contains(name))
            continue;
        if (kQtOptionsWithValue.contains(name)) {
            if (i + 1 >= arguments.size())
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

bool ReadArguments::has(const char* option) const {
    return timesGiven(option) > 0;
}

QString ReadArguments::value(const char* option) const {
    for (qsizetype i = items.size() - 1; i >= 0; --i)
        if (items.at(i).option == QLatin1String(option))
            return items.at(i).value;
    return QString();
}

qsizetype ReadArguments::timesGiven(const char* option) const {
    return std::count_if(items.begin(), items.end(),
                         [option](const Item& item) { return item.option == QLatin1String(option); });
}

QStringList ReadArguments::plain() const {
    QStringList arguments;
    for (const Item& item : items)
        if (item.option.isEmpty())
            arguments << item.value;
    return arguments;
}

QString ReadArguments::mistakeText() const {
    switch (mistake) {
    case Mistake::None:
        break;
    case Mistake::UnknownOption:
        return QStringLiteral("unknown option %1").arg(mistaken);
    case Mistake::MissingValue:
        return QStringLiteral("%1 needs a value").arg(mistaken);
    }
    return QString();
}

bool ReadOption(const QStringList& args, qsizetype& i, std::initializer_list<OptionTable> tables, ReadArguments& read) {
    const QString& argument = args.at(i);
    for (const OptionTable& table : tables) {
        for (const OptionSpec& spec : table) {
            const QLatin1String name(spec.name);
            if (argument == name) {
                if (!spec.value) {
                    read.items.append({argument, QString()});
                } else if (i + 1 < args.size()) {
                    read.items.append({argument, args.at(i + 1)});
                    ++i;
                } else {
                    read.mistake = ReadArguments::Mistake::MissingValue;
                    read.mistaken = argument;
                }
                return true;
            }
            if (spec.value && spec.joinedValue && argument.startsWith(name) && argument.size() > name.size() &&
                argument.at(name.size()) == QLatin1Char('=')) {
                read.items.append({QString(name), argument.mid(name.size() + 1)});
                return true;
            }
        }
    }
    return false;
}

ReadArguments ReadOptions(const QStringList& args, std::initializer_list<OptionTable> tables, OtherOptions others) {
    ReadArguments read;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (ReadOption(args, i, tables, read)) {
            if (read.mistake != ReadArguments::Mistake::None)
                break;
            continue;
        }
        const QString& argument = args.at(i);
        if (others == OtherOptions::Mistake && argument.startsWith(QLatin1String("--"))) {
            read.mistake = ReadArguments::Mistake::UnknownOption;
            read.mistaken = argument;
            break;
        }
        read.items.append({QString(), argument});
    }
    return read;
}

QString OptionsHelp(std::initializer_list<OptionTable> tables) {
    QList<std::pair<QString, QString>> lines;
    qsizetype width = 0;
    for (const OptionTable& table : tables) {
        for (const OptionSpec& spec : table) {
            const QString label =
                QLatin1String(spec.name) + (spec.value ? QLatin1Char(' ') + QLatin1String(spec.value) : QString());
            width = std::max(width, label.size());
            lines.append({label, QLatin1String(spec.help)});
        }
    }
    QString text;
    for (const auto& [label, help] : std::as_const(lines))
        text += QStringLiteral("  ") + label.leftJustified(width + 2) + help + QLatin1Char('\n');
    return text;
}

OptionTable DataPlaceOptions() {
    return kDataPlaceOptions;
}

ReadArguments ReadDataPlace(const QStringList& args) {
    return ReadOptions(args, {DataPlaceOptions()}, OtherOptions::Plain);
}

QString ResolveDataFolder(const QString& given, const QString& environmentValue) {
    QString chosen = given;
    if (chosen.isEmpty())
        chosen = environmentValue;
    if (chosen.isEmpty())
        chosen = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir::cleanPath(QDir(chosen).absolutePath());
}

QString ChooseDataFolder(const QStringList& arguments, const QString& environmentValue) {
    return ResolveDataFolder(ReadDataPlace(arguments.mid(1)).value(DataDirOption), environmentValue);
}

QString ServerArgument(const QStringList& arguments) {
    return ReadDataPlace(arguments.mid(1)).value(ServerOption);
}
