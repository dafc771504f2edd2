// The data-quality check from the main window, and the way back from a finding to its employee's record.

#include "ui/main/frmMain.h"

#include "ui/common/BusyWindow.h"
#include "ui/quality/frmDataCheck.h"
#include "core/store/DataFile.h"
#include "core/base/DateRules.h"
#include "ui/main/EmployeeGrid.h"
#include "core/list/EmployeeList.h"

#include <QRadioButton>
#include <QTabWidget>

void frmMain::cmdCheckData_Click() {
    if (Adding || Editing)
        return;
    std::vector<QualityFinding> findings;
    qint64 records = 0;
    {
        const BusyWindow busy(this);
        findings = CheckActiveStore(TodayOADate(), &records);
    }
    frmDataCheck window(std::move(findings), records, this);
    if (window.exec() == QDialog::Accepted && window.ChosenSlot() > 0)
        ShowCheckedEmployee(qint32(window.ChosenSlot()), window.ChosenIsPrevious());
}

void frmMain::ShowCheckedEmployee(qint32 slot, bool previous) {
    int row = RowOfSlot(grid->ListRows(), slot);
    if (row < 1) {
        // The employee is not in the list as it is filtered: the plain alphabetical list of his status holds him.
        ResetListOptionsAfterAdd();
        optEmpStatus[previous ? 2 : 1]->setChecked(true);
        ShowEmployeeList();
        row = RowOfSlot(grid->ListRows(), slot);
    }
    tabMain->setCurrentIndex(0);
    if (row >= 1) {
        KeepRow = KeepTopRow = row;
        grid->SetRow(row);
        ShowEmployeeRecord();
        grid->setFocus();
    }
}
