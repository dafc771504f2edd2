#include "core/exchange/EmployeeExport.h"

#include "core/record/RecordIdentity.h"

#include "core/base/DateRules.h"
#include "core/base/FixedRecordFile.h"
#include "core/exchange/CsvFormat.h"
#include "core/exchange/XlsxLibrary.h"
#include "core/list/EmployeeList.h"
#include "core/record/PersonnelRecord.h"
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

// The form's fields in its order, the three of the emergency contact named with their frame, then what the form
// shows beside its fields.
struct RecordColumn {
    const char* heading;
    const char* name; // the record's field name
};
const RecordColumn kRecordColumns[] = {
    {"First Name", "FirstName"},
    {"Middle Name", "MiddleName"},
    {"Last Name", "LastName"},
    {"Suffix", "Suffix"},
    {"Race", "Race"},
    {"Sex", "Sex"},
    {"Date of Birth", "DateOfBirth"},
    {"Social Security #", "SocialSecurityNumber"},
    {"Emergency Contact Name", "EmergencyName"},
    {"Emergency Contact Relationship", "EmergencyRelationship"},
    {"Emergency Contact Number", "EmergencyPhone"},
    {"Street Address", "StreetAddress"},
    {"City/State/Zip", "CityStateZip"},
    {"Home Phone", "HomePhone"},
    {"Cell Phone", "CellPhone"},
    {"Email", "Email"},
    {"Employee #", "EmployeeNumber"},
    {"Job Title", "JobTitle"},
    {"Date of Employment", "DateOfEmployment"},
    {"Date of Job Title", "DateOfJobTitle"},
    {"Inactivation Date", "InactivationDate"},
    {"Notepad", "Notepad"},
    {"Sworn", "Sworn"},
    {"Picture", "PicturePath"},
    {"Record Created", "RecordCreated"},
    {"Last Modified", "LastModified"},
};

QList<ExportCell> RecordCells(const PersonnelRecord& r, bool mask) {
    QString notepad = r.Notepad;
    notepad.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return {Text(r.FirstName),
            Text(r.MiddleName),
            Text(r.LastName),
            Text(r.Suffix),
            Text(r.Race),
            Text(r.Sex),
            Date(r.DateOfBirth),
            Text(mask ? MaskSocialSecurityNumber(r.SocialSecurityNumber) : r.SocialSecurityNumber),
            Text(r.EmergencyName),
            Text(r.EmergencyRelationship),
            Text(r.EmergencyPhone),
            Text(r.StreetAddress),
            Text(r.CityStateZip),
            Text(r.HomePhone),
            Text(r.CellPhone),
            Text(r.Email),
            Text(r.EmployeeNumber),
            Text(r.JobTitle),
            Date(r.DateOfEmployment),
            Date(r.DateOfJobTitle),
            Date(r.InactivationDate),
            Text(notepad),
            Text(r.Sworn == -1 ? QStringLiteral("Sworn") : QStringLiteral("Non-sworn")),
            Text(r.PicturePath),
            {FormatMMDDYYYY(r.RecordCreated) + QLatin1Char(' ') + FormatHHNNSS(r.RecordCreated), r.RecordCreated,
             IsShowableOADate(r.RecordCreated) && r.RecordCreated != 0},
            {r.LastModified != 0 ? FormatMMDDYYYY(r.LastModified) + QLatin1Char(' ') + FormatHHNNSS(r.LastModified)
                                 : QString(),
             r.LastModified, IsShowableOADate(r.LastModified) && r.LastModified != 0}};
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
    for (const RecordColumn& c : kRecordColumns)
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
    for (const RecordColumn& c : kRecordColumns) {
        table.columns << QString::fromLatin1(c.heading);
        table.jsonKeys << QByteArray(c.name);
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
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return qt_error_string(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fchmod(fd, 0600) != 0) {
        ::close(fd);
        return QStringLiteral("not a regular file");
    }
    if (format == ExportFormat::Xlsx) {
        ::close(fd);
        return WriteXlsxExport(table, path);
    }
    const QByteArray bytes = format == ExportFormat::Csv ? CsvExport(table) : JsonExport(table);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const QString error = qt_error_string(errno);
            ::close(fd);
            return error;
        }
        done += n;
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0)
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
