// Spreadsheets in and out of the main window: the list as shown saved as XLSX or CSV, and new employees added
// from a CSV file after a preview.

#include "ui/main/frmMain.h"

#include "ui/common/BusyWindow.h"
#include "ui/common/Dialogs.h"
#include "core/exchange/EmployeeExport.h"
#include "core/exchange/EmployeeImport.h"
#include "ui/exchange/frmImportPreview.h"
#include "core/history/RecordHistory.h"
#include "core/store/DataFile.h"
#include "core/base/DateRules.h"
#include "core/base/FileError.h"
#include "core/users/UserList.h"

#include <QStandardPaths>

void frmMain::cmdExportList_Click() {
    if (Adding || Editing)
        return;
    const MsgResult which = dialogs().MessageBox(
        this,
        QStringLiteral("Export the whole records of the listed employees,\r\nevery field in a column of its "
                       "own?\r\n\r\nYes: every field\r\nNo: the list's three columns, as shown"),
        QStringLiteral("Export this List"), MsgIcon::Question, MsgButtons::YesNoCancel, MsgResult::No);
    if (which == MsgResult::Cancel)
        return;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = dialogs().SaveFile(
        this, QStringLiteral("Export this List"),
        documents + QLatin1Char('/') + DefaultExportFileName(QDate::currentDate(), ExportFormat::Xlsx),
        QStringLiteral("Excel workbook (*.xlsx);;CSV, comma-separated (*.csv)"));
    if (path.isEmpty())
        return;
    // The file dialog has asked before a file is replaced; what it cannot know is which folder holds the records.
    if (const QString problem = ExportTargetProblem(path); !problem.isEmpty()) {
        dialogs().MessageBox(this, QStringLiteral("The list was not exported:\r\n") + problem,
                             QStringLiteral("Export this List"), MsgIcon::Exclamation, MsgButtons::OK);
        return;
    }
    QString error;
    qsizetype rows = 0;
    try {
        const BusyWindow busy(this);
        const ExportTable table =
            MakeExportTable(ReadListOptions(), QDate::currentDate(),
                            which == MsgResult::Yes ? ExportFields::All : ExportFields::List, CurrentAccessLevel);
        rows = table.rows.size();
        error = WriteExport(table, ExportFormatOfName(path), path, ExistingFile::Replace);
    } catch (const FileError& e) {
        error = e.text();
    }
    // A failed export has left whatever was at path as it was.
    if (!error.isEmpty()) {
        dialogs().MessageBox(this, QStringLiteral("The list could not be exported:\r\n") + error,
                             QStringLiteral("Export Failed"), MsgIcon::Exclamation, MsgButtons::OK);
        return;
    }
    dialogs().MessageBox(this, QStringLiteral("%1 employees were exported to\r\n%2").arg(rows).arg(path),
                         QStringLiteral("Export this List"), MsgIcon::Information, MsgButtons::OK);
}

void frmMain::cmdImportEmployees_Click() {
    if (Adding || Editing || CurrentAccessLevel < 3)
        return;
    const QString path =
        dialogs().OpenFile(this, QStringLiteral("Import Employees"),
                           QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                           QStringLiteral("CSV, comma-separated (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    QByteArray csv;
    try {
        csv = ReadImportFile(path);
    } catch (const FileError& e) {
        dialogs().MessageBox(this, e.text(), QStringLiteral("Import Employees"), MsgIcon::Exclamation, MsgButtons::OK);
        return;
    }
    ImportPlan plan;
    try {
        const BusyWindow busy(this);
        plan = PlanImport(csv, ReadAllRecords(), NowOADate());
    } catch (const FileError& e) {
        plan.error = e.text();
    }
    if (!plan.error.isEmpty()) {
        dialogs().MessageBox(this, path + QStringLiteral("\r\n\r\ncannot be imported: ") + plan.error,
                             QStringLiteral("Import Employees"), MsgIcon::Exclamation, MsgButtons::OK);
        return;
    }
    frmImportPreview preview(plan, path, this);
    if (preview.exec() != QDialog::Accepted)
        return;
    const qsizetype previewed = plan.accepted();
    qint64 added = 0;
    try {
        added = ApplyImportWithHistory(plan);
    } catch (const FileError& e) {
        dialogs().MessageBox(this, QStringLiteral("No employee was added:\r\n") + e.text(),
                             QStringLiteral("Import Employees"), MsgIcon::Exclamation, MsgButtons::OK);
        return;
    }
    RefreshListOptions();
    ShowEmployeeList();
    // Somebody else may have added some of the previewed employees in the meantime: they were not added twice.
    QString text = QStringLiteral("%1 employees were added.").arg(added);
    if (added < previewed)
        text += QStringLiteral("\r\n\r\n%1 of the rows the preview would add were added by somebody else meanwhile "
                               "and were left out.")
                    .arg(previewed - added);
    dialogs().MessageBox(this, text, QStringLiteral("Import Employees"), MsgIcon::Information, MsgButtons::OK);
}
