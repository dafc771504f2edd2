// "export" and "import": the employee list into a spreadsheet, and new employees from one.

#include "Commands.h"

#include "core/base/DateRules.h"
#include "core/base/FileError.h"
#include "core/exchange/EmployeeExport.h"
#include "core/exchange/EmployeeImport.h"
#include "core/history/RecordHistory.h"
#include "core/list/ListOptions.h"

#include <QDate>
#include <QFileInfo>

#include <cstdio>

namespace {

const char kExportUsage[] = "export --format xlsx|csv|json --fields list|all [list options] --out FILE|- [--replace]";
const char kImportUsage[] = "import FILE.csv [--dry-run]";

} // namespace

int ExportCommand(const QStringList& arguments) {
    const ReadArguments args = ReadOptions(arguments, {kExportOptions, kListOptions});
    const QString format = args.has("--format") ? args.value("--format") : QStringLiteral("csv");
    const QString fields = args.has("--fields") ? args.value("--fields") : QStringLiteral("list");
    QString out = args.value("--out");
    const QStringList formats = {QStringLiteral("xlsx"), QStringLiteral("csv"), QStringLiteral("json")};
    if (out.isEmpty() || !formats.contains(format) ||
        (fields != QLatin1String("list") && fields != QLatin1String("all")) ||
        (out == QLatin1String("-") && format == QLatin1String("xlsx")))
        return UsageError(kExportUsage);
    ListOptions options;
    QString error;
    if (!ParseListArguments(args, &options, &error)) {
        PrintError(error, "vardel-data export");
        return 2;
    }
    const bool replace = args.has("--replace");
    if (out != QLatin1String("-")) {
        // Refused before the list is built, as print refuses its file, so that nothing is read for nothing.
        out = FromCallerFolder(out);
        QString problem = ExportTargetProblem(out);
        if (problem.isEmpty() && !replace && (QFileInfo::exists(out) || QFileInfo(out).isSymLink()))
            problem = QStringLiteral("%1 exists; add --replace to write over it").arg(out);
        if (!problem.isEmpty()) {
            PrintError(problem, "vardel-data export");
            return 1;
        }
    }
    const ExportFormat kind = format == QLatin1String("xlsx")  ? ExportFormat::Xlsx
                              : format == QLatin1String("csv") ? ExportFormat::Csv
                                                               : ExportFormat::Json;
    // The command line has whoever may read the folder: its exports carry the numbers whole, as a level-4 user's.
    const ExportTable table = MakeExportTable(
        options, QDate::currentDate(), fields == QLatin1String("all") ? ExportFields::All : ExportFields::List, 4);
    if (out == QLatin1String("-"))
        return WriteOutput(kind == ExportFormat::Csv ? CsvExport(table) : JsonExport(table)) && FinishOutput() ? 0 : 1;
    error = WriteExport(table, kind, out, replace ? ExistingFile::Replace : ExistingFile::Refuse);
    if (!error.isEmpty()) {
        PrintError(out + QStringLiteral(": ") + error, "vardel-data export");
        return 1;
    }
    return WriteOutput(TerminalText(QStringLiteral("wrote %1 employees to %2").arg(table.rows.size()).arg(out)) +
                       '\n') &&
                   FinishOutput()
               ? 0
               : 1;
}

int ImportCommand(const QStringList& arguments) {
    const ReadArguments args = ReadOptions(arguments, {kImportOptions});
    QString path;
    bool dryRun = false;
    for (const ReadArguments::Item& item : args.items) {
        if (item.option == QLatin1String("--dry-run"))
            dryRun = true;
        else if (path.isEmpty() && item.option.isEmpty())
            path = item.value;
        else
            return UsageError(kImportUsage);
    }
    if (path.isEmpty() || args.mistake != ReadArguments::Mistake::None)
        return UsageError(kImportUsage);
    QByteArray csv;
    try {
        csv = ReadImportFile(FromCallerFolder(path));
    } catch (const FileError& e) {
        PrintError(e.text(), "vardel-data import");
        return 1;
    }
    ImportPlan plan = PlanImport(csv, ReadAllRecords(), NowOADate());
    if (!plan.error.isEmpty()) {
        PrintError(path + QStringLiteral(": ") + plan.error, "vardel-data import");
        return 1;
    }
    // The verdicts printed are the final ones: the write decides the duplicates again under the folder's lock.
    qint64 added = 0;
    if (!dryRun)
        added = ApplyImportWithHistory(plan);
    QByteArray text;
    if (!plan.ignoredColumns.isEmpty())
        text += "ignored columns: " + TerminalText(plan.ignoredColumns.join(QStringLiteral(", "))) + '\n';
    for (const ImportRow& row : plan.rows)
        text += QByteArray::number(row.line) + '\t' + TerminalText(row.name) + '\t' +
                TerminalText(ImportVerdictText(row)) + '\n';
    if (!dryRun)
        text += QStringLiteral("added %1 employees\n").arg(added).toUtf8();
    if (!WriteOutput(text) || !FinishOutput())
        return 1;
    return plan.accepted() == plan.rows.size() ? 0 : 1;
}
