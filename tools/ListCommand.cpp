// "vardel-data list": the employee list as the main window's grid holds it, for scripts and for checking the list
// without a display.

#include "Commands.h"

#include "store/DataFile.h"
#include "store/TextEscape.h"
#include "ui/main/EmployeeList.h"

#include <QDate>
#include <QFile>
#include <QStringEncoder>

#include <cstdio>

namespace {

const char* const kListUsage =
    "usage: vardel-data list [--type alpha|seniority|age|birthday] [--with ENTRY] [--status current|previous]\n"
    "                        [--sworn all|sworn|non-sworn] [--race W|B|H|A|O] [--sex M|F] [--month Jan]\n"
    "                        [--year 1999] [--age-group \"30's\"] [--search TEXT] [--notepad]\n"
    "ENTRY is one of: \"Job Title\", \"SS#\", \"Race/Sex\", \"Date of Birth\", \"Address\", \"Home Phone\",\n"
    "\"Cell Phone\", \"Email Address\", \"Date of Employment\", \"Employee#\".\n"
    "Prints the list heading, then per row: name, column 1, column 2 and the slot number, tab-separated.\n";

// The 1-based position of value among choices, 0 when it is none of them.
int Choice(const QString& value, const QStringList& choices, Qt::CaseSensitivity cs = Qt::CaseInsensitive) {
    for (qsizetype i = 0; i < choices.size(); ++i)
        if (value.compare(choices.at(i), cs) == 0)
            return static_cast<int>(i + 1);
    return 0;
}

bool Fail(QString* error, const QString& text) {
    *error = text;
    return false;
}

} // namespace

bool ParseListArguments(const QStringList& args, ListOptions* options, QString* error, bool* statusGiven) {
    ListOptions o;
    QStringList given;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& name = args.at(i);
        if (name == QLatin1String("--notepad")) {
            o.SearchNotepad = true;
            given << name;
            continue;
        }
        if (!name.startsWith(QLatin1String("--")))
            return Fail(error, QStringLiteral("unexpected argument \"%1\"").arg(name));
        if (i + 1 >= args.size())
            return Fail(error, QStringLiteral("%1 needs a value").arg(name));
        const QString value = args.at(++i);
        const auto bad = [&](const QString& allowed) {
            return Fail(error, QStringLiteral("bad value \"%1\" for %2 (use %3)").arg(value, name, allowed));
        };
        given << name;
        if (name == QLatin1String("--type")) {
            o.TypeList = Choice(value, {"alpha", "seniority", "age", "birthday"});
            if (o.TypeList == 0)
                return bad(QStringLiteral("alpha, seniority, age or birthday"));
        } else if (name == QLatin1String("--with")) {
            o.ListWith = Choice(value, ListWithEntries()) - 1;
            if (o.ListWith < 0)
                return bad(QStringLiteral("one of the entries listed in --help"));
        } else if (name == QLatin1String("--status")) {
            o.EmpStatus = Choice(value, {"current", "previous"});
            if (o.EmpStatus == 0)
                return bad(QStringLiteral("current or previous"));
        } else if (name == QLatin1String("--sworn")) {
            o.EmpSworn = Choice(value, {"all", "sworn", "non-sworn"});
            if (o.EmpSworn == 0)
                return bad(QStringLiteral("all, sworn or non-sworn"));
        } else if (name == QLatin1String("--race")) {
            const int code = Choice(value, {"W", "B", "H", "A", "O"}, Qt::CaseSensitive);
            if (code == 0)
                return bad(QStringLiteral("W, B, H, A or O"));
            o.Race = code + 1;
        } else if (name == QLatin1String("--sex")) {
            const int code = Choice(value, {"M", "F"}, Qt::CaseSensitive);
            if (code == 0)
                return bad(QStringLiteral("M or F"));
            o.Sex = code + 1;
        } else if (name == QLatin1String("--month")) {
            if (Choice(value, MonthEntries().mid(1), Qt::CaseSensitive) == 0)
                return bad(QStringLiteral("Jan, Feb, ... Dec"));
            o.Month = value;
        } else if (name == QLatin1String("--year")) {
            bool number = false;
            const int year = value.toInt(&number);
            if (!number || year < 1000 || year > 9999 || QString::number(year) != value)
                return bad(QStringLiteral("a year of four digits"));
            o.Year = value;
        } else if (name == QLatin1String("--age-group")) {
            if (Choice(value, AgeGroupEntries().mid(1), Qt::CaseSensitive) == 0)
                return bad(QStringLiteral("10's, 20's, ... 80's"));
            o.AgeGroup = value;
        } else if (name == QLatin1String("--search")) {
            o.OtherText = value;
        } else {
            return Fail(error, QStringLiteral("unknown option %1").arg(name));
        }
    }
    if (o.TypeList != AlphabeticalListing) {
        // Only the alphabetical listing has these; the other lists take current employees by sworn status alone.
        for (const char* alphabeticalOnly :
             {"--with", "--status", "--race", "--sex", "--month", "--year", "--age-group", "--search", "--notepad"})
            if (given.contains(QLatin1String(alphabeticalOnly)))
                return Fail(error, QStringLiteral("%1 applies to --type alpha only").arg(alphabeticalOnly));
    }
    *options = o;
    if (statusGiven)
        *statusGiven = given.contains(QLatin1String("--status"));
    return true;
}

int ListCommand(const QStringList& args) {
    if (args.contains(QLatin1String("--help"))) {
        std::fputs(kListUsage, stdout);
        return 0;
    }
    ListOptions options;
    QString error;
    bool statusGiven = false;
    if (!ParseListArguments(args, &options, &error, &statusGiven)) {
        PrintError(error, "vardel-data list");
        std::fputs(kListUsage, stderr);
        return 2;
    }
    // Looking must not create the file.
    EmployeeList list;
    if (DataFilePresent())
        list = statusGiven ? BuildEmployeeRows(options, QDate::currentDate())
                           : BuildEmployeeRowsForFileStatus(options, QDate::currentDate());
    options.OtherText = TrimBlanks(options.OtherText);
    // Each cell escaped on its own, so a TAB or line break stored in a record cannot split a row; the texts go
    // straight into the one output buffer.
    QByteArray out = TerminalText(ListHeading(options)) + '\n';
    out.reserve(out.size() + list.Rows.size() * 64);
    QStringEncoder utf8(QStringEncoder::Utf8);
    const auto put = [&out, &utf8](const QString& text) {
        const QString plain = EscapeControlCharacters(text);
        const qsizetype at = out.size();
        out.resize(at + utf8.requiredSpace(plain.size()));
        out.truncate(utf8.appendToBuffer(out.data() + at, plain) - out.constData());
    };
    for (const ListRow& row : std::as_const(list.Rows)) {
        put(row.Name);
        out += '\t';
        put(row.Detail);
        out += '\t';
        put(row.Extra);
        out += '\t';
        out += QByteArray::number(row.Slot);
        out += '\n';
    }
    if (std::fwrite(out.constData(), 1, out.size(), stdout) != static_cast<size_t>(out.size()) ||
        std::fflush(stdout) != 0) {
        std::fprintf(stderr, "vardel-data: cannot write the output\n");
        return 1;
    }
    return 0;
}
