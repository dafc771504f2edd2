#include "core/exchange/EmployeeExport.h"

#include "core/record/RecordIdentity.h"

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
#include <fcntl.h>
#include <sys/stat.h>
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
            fields << PlainText(cell);
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
    lxw_worksheet* sheet = x->workbook_add_worksheet(workbook, "Employees");
    lxw_format* bold = x->workbook_add_format(workbook);
    x->format_set_bold(bold);
    lxw_format* dateFormat = x->workbook_add_format(workbook);
    x->format_set_num_format(dateFormat, "mm/dd/yyyy");
    lxw_format* stampFormat = x->workbook_add_format(workbook);
    x->format_set_num_format(stampFormat, "mm/dd/yyyy hh:mm:ss");
    lxw_format* wrap = x->workbook_add_format(workbook);
    x->format_set_text_wrap(wrap);

    // The list's heading above its columns, as the window shows it; both stay in view while the rows scroll.
    x->worksheet_write_string(sheet, 0, 0, table.heading.toUtf8().constData(), bold);
    QList<int> widths;
    for (qsizetype c = 0; c < table.columns.size(); ++c) {
        x->worksheet_write_string(sheet, 1, lxw_col_t(c), table.columns[c].toUtf8().constData(), bold);
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
                x->worksheet_write_number(sheet, at, lxw_col_t(c), cell.date, stamp ? stampFormat : dateFormat);
                widths[c] = std::max(widths[c], stamp ? 19 : 10);
            } else if (!cell.text.isEmpty()) {
                const bool lines = cell.text.contains(QLatin1Char('\n'));
                x->worksheet_write_string(sheet, at, lxw_col_t(c), cell.text.toUtf8().constData(),
                                          lines ? wrap : nullptr);
                widths[c] = std::max(widths[c],
                                     int(std::min<qsizetype>(cell.text.section(QLatin1Char('\n'), 0, 0).size(), 60)));
            }
        }
    }
    for (qsizetype c = 0; c < widths.size(); ++c)
        x->worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), widths[c] + 2, nullptr);
    const lxw_error closed = x->workbook_close(workbook);
    return closed == LXW_NO_ERROR ? QString() : QString::fromUtf8(x->lxw_strerror(closed));
}

QString WriteExport(const ExportTable& table, ExportFormat format, const QString& path) {
    // Owner-only from the first byte: the file is made (or narrowed) before anything is written into it.
    const QByteArray name = QFile::encodeName(path);
    UniqueFd fd(::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd)
        return qt_error_string(errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || ::fchmod(fd.get(), 0600) != 0)
        return QStringLiteral("not a regular file");
    if (format == ExportFormat::Xlsx) {
        // The spreadsheet library writes the file by its name, through a descriptor of its own.
        fd.reset();
        return WriteXlsxExport(table, path);
    }
    const QByteArray bytes = format == ExportFormat::Csv ? CsvExport(table) : JsonExport(table);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return qt_error_string(errno);
        }
        done += n;
    }
    // The export is reported written only when the close, too, says nothing was lost.
    if (::fsync(fd.get()) != 0 || ::close(fd.release()) != 0)
        return qt_error_string(errno);
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
