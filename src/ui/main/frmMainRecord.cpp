// Showing the highlighted employee's record on the five pages of the record form, and the form's commands.

#include "ui/main/frmMain.h"

#include "core/base/AppGlobals.h"
#include "ui/common/Dialogs.h"
#include "ui/common/modStandard.h"
#include "ui/controls/ZelButton.h"
#include "ui/history/HistoryPage.h"
#include "ui/print/PrintCommands.h"
#include "core/print/Printouts.h"
#include "ui/print/frmPrintLabel.h"
#include "core/store/DataFile.h"
#include "core/store/ListScan.h"
#include "core/store/PersonnelStore.h"
#include "ui/main/EmployeeGrid.h"
#include "ui/main/EntryField.h"
#include "core/record/RecordView.h"
#include "core/users/UserList.h"

#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

void frmMain::ShowEmployeeRecord() {
    const qint32 slot = HighlightedSlot();
    if (slot < 1)
        return;
    ReadOneSlot(slot);
    m_shownIdentity = IdentityOf(CurrentRecord);
    m_shownVersion = CurrentVersion;
    const RecordView v = ViewRecord(CurrentRecord, QDate::currentDate());

    frame[2]->setTitle(v.FrameCaption);
    lblDataInfo[1]->setText(v.Created);
    lblDataInfo[1]->show();
    lblDataInfo[2]->setText(v.Modified);
    lblDataInfo[2]->setVisible(!v.Modified.isEmpty());

    for (int i = 1; i <= FieldCount; ++i)
        txtField[i]->setText(v.Field[i]);

    lblYearsDOB->setText(v.YearsDOB);
    lblYearsDOE->setText(v.YearsDOE);
    lblYearsDOT->setText(v.YearsDOT);
    lblYearsDOT->setVisible(!v.YearsDOT.isEmpty());
    lblYearsDOI->setText(v.YearsDOI);

    // Only the employee's own status and kind show while viewing.
    optSworn[1]->setVisible(v.Sworn);
    optSworn[2]->setVisible(!v.Sworn);
    optSworn[v.Sworn ? 1 : 2]->setChecked(true);
    optStatus[1]->setVisible(!v.Previous);
    optStatus[2]->setVisible(v.Previous);
    optStatus[v.Previous ? 2 : 1]->setChecked(true);
    lblField[21]->setVisible(v.Previous);
    txtField[21]->setVisible(v.Previous);
    lblYearsDOI->setVisible(v.Previous);

    cmdPrintLabel->show();
    cmdPrintLabel->setEnabled(v.LabelEnabled);
    cmdEmail->show();
    cmdEmail->setEnabled(v.EmailEnabled);
    cmdEmail->setToolTip(QStringLiteral(" Send email... "));

    ShowRecordPicture(v.PicturePath);
    ShowRecordHistory(tabNameInfo, slot, grid->TextMatrix(grid->Row(), 0));
    const bool stored = !TrimBlanks(CurrentRecord.PicturePath).isEmpty();
    cmdPicAddEdit[1]->setVisible(!stored);
    cmdPicAddEdit[1]->setEnabled(CurrentAccessLevel == 3 || CurrentAccessLevel == 4);
    cmdPicAddEdit[2]->setVisible(stored);
    cmdPicAddEdit[2]->setEnabled(CurrentAccessLevel >= 2);
    cmdPicPrint->setVisible(stored);
    cmdPicDelete->setVisible(stored);
    cmdPicDelete->setEnabled(CurrentAccessLevel == 4);
    lblPicture->setVisible(!stored);
}

void frmMain::tabNameInfo_Click(int) {
    if (txtField[1]->isLocked())
        return;
    static constexpr int kFirstField[] = {1, 12, 17, 22};
    const int page = tabNameInfo->currentIndex();
    if (page >= 0 && page <= 3)
        txtField[kFirstField[page]]->setFocus();
}

void frmMain::txtField_MouseMove(int index) {
    if (Adding || Editing)
        return;
    EntryField* field = txtField[index];
    if (!field->isLocked()) {
        field->setToolTip(QString());
        return;
    }
    if (index == 7 || (index >= 19 && index <= 21)) {
        // A field without a date must not keep the weekday of the record shown before.
        field->setToolTip(WeekdayTip(field->text()));
    }
}

void frmMain::cmdPrintEntry_Click() {
    const qint32 slot = HighlightedSlot();
    if (slot < 1)
        return;
    // The report is of the record shown, read again: counting the file on the way leaves another slot behind.
    ReadOneSlot(slot);
    // The photograph is printed by the picture window, which prints and closes by itself on this request.
    PrintInformationReportCommand(this, CurrentRecord, grid->TextMatrix(grid->Row(), 0),
                                  [this] { cmdPicPrint_Click(); });
}

void frmMain::cmdPrintLabel_Click() {
    frmPrintLabel dialog(
        AddressLabelLines(txtField[1]->text(), txtField[3]->text(), txtField[12]->text(), txtField[13]->text()), this);
    if (FadeOn)
        FadeWindow(255, 204, 2, false);
    dialog.exec();
    if (FadeOn)
        FadeWindow(204, 255, 2, false);
}

void frmMain::cmdEmail_Click() {
    OpenShellTarget(1, this, TrimBlanks(txtField[16]->text()));
}
