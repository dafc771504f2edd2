// Building the employee list into the grid, and the list's commands.

#include "ui/main/frmMain.h"

#include "core/base/AppGlobals.h"
#include "ui/common/BusyWindow.h"
#include "ui/common/Dialogs.h"
#include "ui/controls/ZelButton.h"
#include "ui/print/PrintCommands.h"
#include "core/store/DataFile.h"
#include "ui/main/EmployeeGrid.h"
#include "core/list/EmployeeList.h"
#include "core/users/UserList.h"

#include <QApplication>
#include <QDate>
#include <QGroupBox>
#include <QLineEdit>
#include <QTabWidget>

void frmMain::ShowEmployeeList() {
    tabMain->setTabEnabled(1, RecordCount > 0);
    tabNameInfo->setCurrentIndex(0);
    BuildEmployeeList();
    const bool rows = grid->Rows() > 1;
    if (rows) {
        ShowEmployeeRecord();
        grid->setFocus();
    }
    cmdEditEntry->setVisible(rows);
    cmdEditEntry->setEnabled(CurrentAccessLevel >= 2);
    cmdPrintEntry->setVisible(rows);
}

void frmMain::BuildEmployeeList() {
    grid->hide();
    grid->Clear();

    ListOptions options = ReadListOptions();
    EmployeeList list;
    {
        const BusyWindow busy(this);
        if (options.TypeList == AlphabeticalListing) {
            // The user sees the search text as it was searched for.
            const QString trimmed = TrimBlanks(txtOther->text());
            if (trimmed != txtOther->text())
                txtOther->setText(trimmed);
            options.OtherText = trimmed;
        }
        list = BuildEmployeeRows(options, QDate::currentDate());
        if (!list.Rows.isEmpty())
            grid->SetList(ListFormatString(options), std::move(list.Rows), ListColumns(options.TypeList));
        // A just-added employee is brought into view.
        if (options.TypeList == AlphabeticalListing && grid->Rows() > 2 && NewRecordNumber >= 1) {
            const int row = RowOfSlot(grid->ListRows(), NewRecordNumber);
            if (row > 0)
                KeepRow = KeepTopRow = row;
        }
    }

    const int rows = grid->Rows() - 1;
    if (rows >= 1) {
        grid->SetColWidth(0, ListNameWidth);
        grid->SetColWidth(1, ListColumnWidth(options.TypeList, 1));
        grid->SetColWidth(2, ListColumnWidth(options.TypeList, 2));
        const int last = grid->Rows() - 1;
        const int topRow = KeepRow < 1 ? 1 : std::min(KeepTopRow, last);
        grid->SetRow(KeepRow < 1 ? 1 : std::min(KeepRow, last));
        grid->SetTopRow(topRow);
        // The slot number and the sort key lie beyond the grid's right edge.
        while (grid->ColIsVisible(3))
            grid->SetColWidth(0, grid->ColWidth(0) + 18);
        frame[1]->setTitle(ListHeading(options));
        frame[1]->show();
        grid->show();
        // Showing the grid brings its current row into view; the first visible row is the one chosen above.
        grid->SetTopRow(topRow);
    } else if (list.RecordCount > 0) {
        // The options tab is where the user can change what matched nothing.
        tabMain->setCurrentIndex(1);
        QCoreApplication::processEvents();
        dialogs().MessageBox(this, QStringLiteral("No one matches these\r\nindicated parameter(s)"),
                             QStringLiteral("No match(es)"), MsgIcon::Critical, MsgButtons::OK);
    } else {
        frame[2]->hide();
        tabMain->setTabEnabled(1, false);
        // At the first showing the window is still faded out; the message must not stand over nothing.
        if (m_activating && FadeOn && !m_fadedIn) {
            FadeAndWait(0, 255);
            m_fadedIn = true;
        }
        dialogs().MessageBox(this,
                             QStringLiteral("There are currently no personnel records on file.\r\n\r\n"
                                            "Click the 'Add Employee to the List' button\r\n"
                                            "when you're ready to add a personnel record."),
                             QStringLiteral("Database is empty"), MsgIcon::Information, MsgButtons::OK);
        if (!EmptyListHelpShown) {
            EmptyListHelpShown = true;
            cmdHelp_Click();
        }
    }

    cmdAddEmployee->show();
    cmdAddEmployee->setEnabled(CurrentAccessLevel >= 3);
    cmdPrintList->setVisible(rows >= 2);
    cmdExportList->setVisible(rows >= 1);
    cmdPrintUpdateForms->setVisible(rows >= 1);
    cmdRemoveEmployee->setVisible(rows >= 1);
    cmdRemoveEmployee->setEnabled(CurrentAccessLevel == 4);
    frame[2]->setVisible(rows >= 1);
}

void frmMain::grid_RowColChange() {
    if (grid->isVisible())
        ShowEmployeeRecord();
}

qint32 frmMain::HighlightedSlot() const {
    return grid->TextMatrix(grid->Row(), 3).toInt();
}

void frmMain::cmdPrintList_Click() {
    QStringList headings;
    for (int column = 0; column <= 2; ++column)
        headings << grid->TextMatrix(0, column);
    QList<QStringList> rows;
    rows.reserve(grid->Rows() - 1);
    for (int row = 1; row < grid->Rows(); ++row)
        rows.append({grid->TextMatrix(row, 0), grid->TextMatrix(row, 1), grid->TextMatrix(row, 2)});
    // The list type buttons rebuild the list at once: they tell the list on show.
    PrintEmployeeListCommand(this, frame[1]->title(), headings, rows, ListShownColumns(ReadListOptions().TypeList));
}

void frmMain::cmdPrintUpdateForms_Click() {
    QList<qint32> listed;
    listed.reserve(grid->Rows() - 1);
    for (const ListRow& row : grid->ListRows())
        listed.append(row.Slot);
    PrintUpdateFormsMenu(cmdPrintUpdateForms, listed, HighlightedSlot());
}
