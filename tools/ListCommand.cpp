// "vardel-data list": the employee list as the main window's grid holds it, for scripts and for checking the list
// without a display.

#include "Commands.h"

#include "core/base/TextEscape.h"
#include "core/list/EmployeeList.h"
#include "core/store/DataFile.h"

#include <QDate>
#include <QFile>
#include <QStringEncoder>

#include <algorithm>
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

QByteArray ListHelp() {
    return kListUsage;
}

bool IsListOption(const QString& option) {
    return std::any_of(std::begin(kListOptions), std::end(kListOptions),
                       [&option](const OptionSpec& spec) { return option == QLatin1String(spec.name); });
}

bool ParseListArguments(const ReadArguments& args, ListOptions* options, QString* error, bool* statusGiven) {
    ListOptions o;
    QStringList given;
    for (const ReadArguments::Item& item : args.items) {
        const QString& name = item.option;
        const QString& value = item.value;
        if (name.isEmpty())
            return Fail(error, QStringLiteral("unexpected argument \"%1\"").arg(value));
        if (!IsListOption(name))
            continue; // the caller's own
        if (name == QLatin1String("--notepad")) {
            o.SearchNotepad = true;
            given << name;
            continue;
        }
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
        }
    }
    if (args.mistake != ReadArguments::Mistake::None)
        return Fail(error, args.mistakeText());
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

int ListCommand(const QStringList& arguments) {
    const ReadArguments args = ReadOptions(arguments, {kListOptions});
    ListOptions options;
    QString error;
    bool statusGiven = false;
    if (!ParseListArguments(args, &options, &error, &statusGiven)) {
        PrintError(error, "vardel-data list");
        std::fputs(kListUsage, stderr);
        return 2;
    }
    // Looking must not create the file.
    CompactEmployeeList list;
    if (DataFilePresent())
        list = statusGiven ? BuildCompactEmployeeList(options, QDate::currentDate())
                           : BuildCompactEmployeeListForFileStatus(options, QDate::currentDate());
    options.OtherText = TrimBlanks(options.OtherText);
    // Each cell escaped on its own, so a TAB or line break stored in a record cannot split a row. The rows go out
    // a block at a time, made from the list's bytes as they are written: the output is never held whole.
    constexpr qsizetype kBlock = 64 * 1024;
    QByteArray out = TerminalText(ListHeading(options)) + '\n';
    out.reserve(kBlock + 1024);
    bool written = true;
    const auto flush = [&out, &written] {
        if (!out.isEmpty() && std::fwrite(out.constData(), 1, out.size(), stdout) != static_cast<size_t>(out.size()))
            written = false;
        out.clear();
    };
    QStringEncoder utf8(QStringEncoder::Utf8);
    const auto put = [&out, &utf8](const QString& text) {
        const QString plain = EscapeControlCharacters(text);
        const qsizetype at = out.size();
        out.resize(at + utf8.requiredSpace(plain.size()));
        out.truncate(utf8.appendToBuffer(out.data() + at, plain) - out.constData());
    };
    // Printable ASCII reads the same in the code page and in UTF-8 and needs no escape: such bytes go out as they
    // are, anything else through the text.
    const auto putBytes = [&](QByteArrayView bytes, qsizetype row, int column) {
        if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
            out.append(bytes);
        else
            put(list.cell(row, column));
    };
    const bool detailAsStored = list.TypeList == AlphabeticalListing || list.TypeList == SeniorityByEmployment;
    for (qsizetype row = 0; row < list.size(); ++row) {
        putBytes(list.nameBytes(row), row, 0);
        out += '\t';
        if (detailAsStored)
            putBytes(list.detailBytes(row), row, 1);
        else
            put(list.cell(row, 1));
        out += '\t';
        put(list.cell(row, 2));
        out += '\t';
        out += QByteArray::number(list.slot(row));
        out += '\n';
        if (out.size() >= kBlock)
            flush();
    }
    flush();
    if (!written || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "vardel-data: cannot write the output\n");
        return 1;
    }
    return 0;
}
