#include "core/exchange/EmployeeExport.h"
#include "core/base/DataFolder.h"

#include "core/record/RecordIdentity.h"

#include "core/backup/BackupCopy.h"
#include "core/base/DateRules.h"
#include "core/base/FixedRecordFile.h"
#include "core/base/UniqueFd.h"
#include "core/exchange/CsvFormat.h"
#include "core/exchange/XlsxLibrary.h"
#include "core/list/EmployeeList.h"
#include "core/record/PersonnelRecord.h"
#include "core/record/RecordFields.h"
#include "core/record/RecordView.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

ExportCell Text(const QString& text) {
    return {text, 0, false};
}

ExportCell Date(double value) {
    if (value == 0 || !IsShowableOADate(value))
        return Text(QString());
    return {FormatMMDDYYYY(value), value, true};
}

struct RecordColumn {
    const RecordField* field;
    const char* heading;
};

// A column's heading is the form's caption, except where the caption leans on the form: the emergency contact's
// three are named with their frame, sworn and the stamps as a heading reads.
const char* Heading(const RecordField& field) {
    constexpr std::pair<FieldId, const char*> own[] = {
        {FieldId::EmergencyName, "Emergency Contact Name"},
        {FieldId::EmergencyRelationship, "Emergency Contact Relationship"},
        {FieldId::EmergencyPhone, "Emergency Contact Number"},
        {FieldId::Sworn, "Sworn"},
        {FieldId::RecordCreated, "Record Created"},
        {FieldId::LastModified, "Last Modified"},
    };
    for (const auto& [id, heading] : own)
        if (id == field.Id)
            return heading;
    return field.Caption;
}

// The form's fields in its order, then what the form shows beside its fields.
const QList<RecordColumn>& RecordColumns() {
    static const QList<RecordColumn> columns = [] {
        QList<RecordColumn> list;
        for (const RecordField* field : FormFields())
            list << RecordColumn{field, Heading(*field)};
        for (FieldId id : {FieldId::Sworn, FieldId::PicturePath, FieldId::RecordCreated, FieldId::LastModified})
            list << RecordColumn{&Field(id), Heading(Field(id))};
        return list;
    }();
    return columns;
}

ExportCell Cell(const RecordField& field, const PersonnelRecord& r, bool mask) {
    switch (field.Kind) {
    case FieldKind::Text: {
        QString text = r.*field.Text;
        // A spreadsheet's line break within a cell is LF alone.
        if (field.Id == FieldId::Notepad)
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (field.Id == FieldId::SocialSecurityNumber && mask)
            text = MaskSocialSecurityNumber(text);
        return Text(text);
    }
    case FieldKind::Date:
        return Date(r.*field.Day);
    case FieldKind::Stamp: {
        const double value = r.*field.Day;
        // Never modified is no stamp; a record is always created.
        const bool none = field.Id == FieldId::LastModified && value == 0;
        return {none ? QString() : FormatMMDDYYYY(value) + QLatin1Char(' ') + FormatHHNNSS(value), value,
                IsShowableOADate(value) && value != 0};
    }
    case FieldKind::Flag:
        return Text(r.*field.Whole == -1 ? QStringLiteral("Sworn") : QStringLiteral("Non-sworn"));
    case FieldKind::Number:
        break;
    }
    return Text(QString::number(r.*field.Whole));
}

QList<ExportCell> RecordCells(const PersonnelRecord& r, bool mask) {
    QList<ExportCell> cells;
    for (const RecordColumn& c : RecordColumns())
        cells << Cell(*c.field, r, mask);
    return cells;
}

// A date cell's text for a file without date cells: ISO, which every spreadsheet program reads as a date.
QString PlainText(const ExportCell& cell) {
    if (!cell.isDate)
        return cell.text;
    const QDateTime when = FromOADate(cell.date);
    return when.time() == QTime(0, 0) ? when.date().toString(Qt::ISODate)
                                      : when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

QStringList RecordColumnHeadings() {
    QStringList headings;
    for (const RecordColumn& c : RecordColumns())
        headings << QString::fromLatin1(c.heading);
    return headings;
}

ExportTable MakeExportTable(const ListOptions& options, const QDate& today, ExportFields fields, int accessLevel) {
    ExportTable table;
    table.heading = ListHeading(options);
    const bool mask = accessLevel < 4;
    const EmployeeList list = BuildEmployeeRows(options, today);
    if (fields == ExportFields::List) {
        const QStringList headers = HeaderTexts(ListFormatString(options));
        for (int c = 0; c < 3; ++c) {
            table.columns << headers.value(c);
            table.jsonKeys << headers.value(c).toUtf8();
        }
        const bool ssnColumn = options.TypeList == AlphabeticalListing && options.ListWith == 1;
        for (const ListRow& row : list.Rows)
            table.rows.append({Text(row.Name),
                               Text(mask && ssnColumn ? MaskSocialSecurityNumber(row.Detail) : row.Detail),
                               Text(row.Extra)});
        return table;
    }
    for (const RecordColumn& c : RecordColumns()) {
        table.columns << QString::fromLatin1(c.heading);
        table.jsonKeys << QByteArray(c.field->Name);
    }
    if (list.Rows.isEmpty())
        return table;
    QList<RecordKey> keys;
    keys.reserve(list.Rows.size());
    for (const ListRow& row : list.Rows)
        keys << row.Slot;
    table.rows.resize(keys.size());
    ActiveStore().ReadMany(keys, [&](qsizetype index, const char* bytes) {
        table.rows[index] = RecordCells(DecodePersonnelRecord(bytes), mask);
    });
    return table;
}

QByteArray CsvExport(const ExportTable& table) {
    QByteArray text = Utf8ByteOrderMark + CsvRecord(table.columns);
    for (const QList<ExportCell>& row : table.rows) {
        QStringList fields;
        for (const ExportCell& cell : row)
            fields << GuardedCell(PlainText(cell));
        text += CsvRecord(fields);
    }
    return text;
}

QByteArray JsonExport(const ExportTable& table) {
    QJsonArray employees;
    for (const QList<ExportCell>& row : table.rows) {
        QJsonObject object;
        for (qsizetype c = 0; c < row.size(); ++c)
            object.insert(QString::fromUtf8(table.jsonKeys.value(c)), PlainText(row[c]));
        employees.append(object);
    }
    QJsonObject document;
    document.insert(QStringLiteral("heading"), table.heading);
    document.insert(QStringLiteral("employees"), employees);
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

QString WriteXlsxExport(const ExportTable& table, const QString& path) {
    QString error;
    const XlsxLibrary* x = OpenXlsxLibrary(&error);
    if (!x)
        return error;
    const QByteArray name = QFile::encodeName(path);
    lxw_workbook* workbook = x->workbook_new(name.constData());
    if (!workbook)
        return QStringLiteral("the workbook cannot be created");
    // The library keeps going after a refused cell; the first refusal is the reason, and the workbook is still
    // closed so that its memory and temporary files go.
    lxw_error failed = LXW_NO_ERROR;
    const auto check = [&failed](lxw_error result) {
        if (failed == LXW_NO_ERROR)
            failed = result;
    };
    lxw_worksheet* sheet = x->workbook_add_worksheet(workbook, "Employees");
    lxw_format* bold = x->workbook_add_format(workbook);
    lxw_format* dateFormat = x->workbook_add_format(workbook);
    lxw_format* stampFormat = x->workbook_add_format(workbook);
    lxw_format* wrap = x->workbook_add_format(workbook);
    if (!sheet || !bold || !dateFormat || !stampFormat || !wrap) {
        x->workbook_close(workbook);
        return QStringLiteral("the workbook cannot be created");
    }
    x->format_set_bold(bold);
    x->format_set_num_format(dateFormat, "mm/dd/yyyy");
    x->format_set_num_format(stampFormat, "mm/dd/yyyy hh:mm:ss");
    x->format_set_text_wrap(wrap);

    // The list's heading above its columns, as the window shows it; both stay in view while the rows scroll.
    check(x->worksheet_write_string(sheet, 0, 0, table.heading.toUtf8().constData(), bold));
    QList<int> widths;
    for (qsizetype c = 0; c < table.columns.size(); ++c) {
        check(x->worksheet_write_string(sheet, 1, lxw_col_t(c), table.columns[c].toUtf8().constData(), bold));
        widths << int(table.columns[c].size());
    }
    x->worksheet_freeze_panes(sheet, 2, 0);
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        const QList<ExportCell>& row = table.rows[r];
        for (qsizetype c = 0; c < row.size(); ++c) {
            const ExportCell& cell = row[c];
            const lxw_row_t at = lxw_row_t(r + 2);
            // The spreadsheet's day numbers are automation dates from 1 March 1900 on.
            if (cell.isDate && cell.date >= 61) {
                const bool stamp = cell.date != std::floor(cell.date);
                check(x->worksheet_write_number(sheet, at, lxw_col_t(c), cell.date, stamp ? stampFormat : dateFormat));
                widths[c] = std::max(widths[c], stamp ? 19 : 10);
            } else if (!cell.text.isEmpty()) {
                const bool lines = cell.text.contains(QLatin1Char('\n'));
                check(x->worksheet_write_string(sheet, at, lxw_col_t(c), cell.text.toUtf8().constData(),
                                                lines ? wrap : nullptr));
                widths[c] = std::max(widths[c],
                                     int(std::min<qsizetype>(cell.text.section(QLatin1Char('\n'), 0, 0).size(), 60)));
            }
        }
    }
    for (qsizetype c = 0; c < widths.size(); ++c)
        check(x->worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), widths[c] + 2, nullptr));
    check(x->workbook_close(workbook));
    return failed == LXW_NO_ERROR ? QString() : QString::fromUtf8(x->lxw_strerror(failed));
}

namespace {

bool IsWithin(const QString& path, const QString& folder) {
    return !folder.isEmpty() && !path.isEmpty() &&
           (path == folder || path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')));
}

QString WriteWhole(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return qt_error_string(errno);
        }
        done += n;
    }
    return QString();
}

// The library writes through its own stream and only says whether closing it went well: the bytes are on the disk
// only once the file is synced.
QString SyncFile(const QByteArray& name) {
    const UniqueFd fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd)
        return qt_error_string(errno);
    return ::fsync(fd.get()) == 0 ? QString() : qt_error_string(errno);
}

// Puts the written file in the target's place. Without Replace, a file that appeared at the target since it was
// checked is not written over either.
QString MoveIntoPlace(const QByteArray& written, const QByteArray& target, ExistingFile existing) {
    if (existing == ExistingFile::Refuse) {
        if (::renameat2(AT_FDCWD, written.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
            return QString();
        if (errno != EINVAL && errno != ENOSYS)
            return qt_error_string(errno);
        // A file system without the exclusive rename: as close as a check can come.
        if (QFileInfo::exists(QFile::decodeName(target)) || QFileInfo(QFile::decodeName(target)).isSymLink())
            return qt_error_string(EEXIST);
    }
    return ::rename(written.constData(), target.constData()) == 0 ? QString() : qt_error_string(errno);
}

} // namespace

QString ExportTargetProblem(const QString& path) {
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists())
        return QStringLiteral("the folder %1 does not exist").arg(folder.filePath());
    if (!folder.isDir())
        return QStringLiteral("%1 is not a folder").arg(folder.filePath());
    if (target.isDir())
        return QStringLiteral("%1 is a folder").arg(path);
    // Real paths, so that no link, "..", or second name of the folder leads an export onto the program's files.
    const QString dataFolder = QFileInfo(DataFolder()).canonicalFilePath();
    if (IsWithin(folder.canonicalFilePath(), dataFolder) ||
        (target.exists() && IsWithin(target.canonicalFilePath(), dataFolder)))
        return QStringLiteral("%1 is in the data folder %2, whose files an export never writes over")
            .arg(path, dataFolder);
    return QString();
}

QString WriteExport(const ExportTable& table, ExportFormat format, const QString& path, ExistingFile existing) {
    if (const QString problem = ExportTargetProblem(path); !problem.isEmpty())
        return problem;
    const QFileInfo target(path);
    const QByteArray targetName = QFile::encodeName(target.absoluteFilePath());
    // Beside the target, so that the rename stays on one file system; hidden, so that nobody opens it half-written.
    // mkostemp makes it owner-only from the start.
    QByteArray written =
        QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(written.data(), O_CLOEXEC);
    if (fd < 0)
        return qt_error_string(errno);
    QString error;
    if (format == ExportFormat::Xlsx) {
        ::close(fd);
        error = WriteXlsxExport(table, QFile::decodeName(written));
        if (error.isEmpty())
            error = SyncFile(written);
    } else {
        error = WriteWhole(fd, format == ExportFormat::Csv ? CsvExport(table) : JsonExport(table));
        if (error.isEmpty() && ::fsync(fd) != 0)
            error = qt_error_string(errno);
        if (::close(fd) != 0 && error.isEmpty())
            error = qt_error_string(errno);
    }
    if (error.isEmpty())
        error = MoveIntoPlace(written, targetName, existing);
    if (!error.isEmpty()) {
        ::unlink(written.constData());
        return error;
    }
    // The rename itself lasts only once the folder is synced.
    if (const UniqueFd folder(
            ::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        folder)
        ::fsync(folder.get());
    return QString();
}

QString DefaultExportFileName(const QDate& today, ExportFormat format) {
    const char* ending = format == ExportFormat::Csv ? ".csv" : format == ExportFormat::Json ? ".json" : ".xlsx";
    return QStringLiteral("Employee List ") + today.toString(Qt::ISODate) + QLatin1String(ending);
}

ExportFormat ExportFormatOfName(const QString& path) {
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return ExportFormat::Csv;
    if (path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        return ExportFormat::Json;
    return ExportFormat::Xlsx;
}
