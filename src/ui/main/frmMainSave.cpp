// Checking and saving an entry of the record form: a new employee into a new slot at the end of the data file, an
// edited one back into its own slot.

#include "ui/main/frmMain.h"

#include "core/base/DateRules.h"
#include "core/employees/EmployeeChanges.h"
#include "core/history/RecordHistory.h"
#include "core/record/RecordIdentity.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"
#include "ui/common/Dialogs.h"
#include "ui/history/HistoryRefusal.h"
#include "ui/main/EmployeeGrid.h"
#include "ui/main/EntryField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

bool frmMain::ValidateEntry() {
    EntryFields fields = ReadEntryFields();
    const EntryCheck check = CheckEntry(fields, Editing);
    for (int i = 1; i <= FieldCount; ++i)
        if (fields[i] != txtField[i]->text())
            txtField[i]->setText(fields[i]);
    if (check.Passed())
        return true;
    dialogs().MessageBox(this, check.Message, EntryErrorTitle, MsgIcon::Critical, MsgButtons::OK);
    // The clerk is taken to the entry to correct.
    tabNameInfo->setCurrentIndex(FieldPage(check.Field));
    txtField[check.Field]->setFocus();
    return false;
}

void frmMain::cmdAddEditSave_Click() {
    if (!(Adding || Editing) || !ValidateEntry())
        return;
    if (Adding)
        ResetListOptionsAfterAdd();

    SaveChoices choices;
    choices.Adding = Adding;
    choices.SwornSelected = optSworn[1]->isChecked();
    choices.WasSworn = WasSworn;
    if (Editing) {
        const QList<StatusQuestion> questions =
            StatusQuestions(WasSworn, PreviousStatus, optSworn[1]->isChecked(), optStatus[2]->isChecked());
        for (const StatusQuestion& question : questions) {
            if (dialogs().MessageBox(this, question.Text, question.Title, MsgIcon::Question, MsgButtons::YesNo) !=
                MsgResult::Yes)
                continue;
            switch (question.Change) {
            case StatusChange::SwornDrop:
                choices.SwornDropConfirmed = true;
                break;
            case StatusChange::SwornRaise:
                choices.SwornRaiseConfirmed = true;
                break;
            case StatusChange::Inactivation:
                AskInactivationDate(choices);
                break;
            case StatusChange::Reactivation:
                choices.ReactivationConfirmed = true;
                break;
            }
        }
    }
    choices.PicturePath = HeldPicturePath();
    const EntryFields fields = ReadEntryFields();

    // The slot is read whole and written whole: what the form does not show (the creation stamp, the version)
    // stays as it was.
    OpenDataFile();
    CurrentRecord = PersonnelRecord();
    if (Adding) {
        const PersonnelRecord before = CurrentRecord;
        CopyEntryToRecord(CurrentRecord, fields, choices, NowOADate());
        // The form stays as typed when the history refuses the change.
        if (!ChangeOrExplain(this, [&] { NewRecordNumber = AppendRecordWithHistory(before, HistoryEvent::Added); })) {
            NewRecordNumber = 0;
            return;
        }
        CloseDataFile();
        cmdAddEditCancel_Click();
        return;
    }
    const qint32 slot = HighlightedSlot();
    if (slot < 1) {
        CloseDataFile();
        return;
    }
    ReadSlot(slot);
    // The file may have changed under the form (a restore, vardel-data): the entry goes nowhere but to the
    // employee it was typed for.
    if (!CheckShownEmployee())
        return;
    const PersonnelRecord before = CurrentRecord;
    CopyEntryToRecord(CurrentRecord, fields, choices, NowOADate());
    // The save carries the version the form showed: a store shared with other desks refuses it when somebody
    // saved the employee in between.
    CurrentVersion = m_shownVersion;
    try {
        // The form stays as typed when the history refuses the change.
        if (!ChangeOrExplain(this, [&] { WriteSlotWithHistory(slot, before, HistoryEvent::Edited); }))
            return;
    } catch (const StoreConflict& conflict) {
        ShowConflict(conflict, QStringLiteral("Employee Not Saved"));
        return;
    }
    CloseDataFile();
    grid_RowColChange();
    cmdAddEditCancel_Click();
}

void frmMain::ShowConflict(const StoreConflict& conflict, const QString& title) {
    CloseDataFile();
    dialogs().MessageBox(this, conflict.text(), title, MsgIcon::Critical, MsgButtons::OK);
    // The record as it is now, read again; an employee removed at another desk leaves the list, which is built
    // again around the row the clerk was on.
    KeepRow = grid->Row();
    KeepTopRow = grid->TopRow();
    if (Editing) {
        cmdAddEditCancel_Click();
    } else {
        BuildEmployeeList();
        KeepRow = 0;
        KeepTopRow = 0;
        if (grid->Rows() > 1)
            ShowEmployeeRecord();
    }
}

QString frmMain::NotSavedText(const QString& listedName, bool editing) {
    QString text = listedName + QStringLiteral(" was not saved: the record was changed by another program after it "
                                               "was shown on this form, and nothing was written.\r\n\r\nThe list "
                                               "now shows the personnel database as it is.");
    if (editing)
        text += QStringLiteral("\r\n\r\nYour entry is still on the form: copy what you need, cancel this edit and "
                               "edit the employee again.");
    return text;
}

bool frmMain::CheckShownEmployee() {
    const qint32 slot = HighlightedSlot();
    if (slot >= 1 && IdentityOf(CurrentRecord) == m_shownIdentity)
        return true;
    // A server's keys are never given to anybody else: the version the save carries decides, and its refusal
    // names who changed or removed the employee.
    if (slot >= 1 && ActiveStore().KeysNeverMove())
        return true;
    CloseDataFile();
    dialogs().MessageBox(this, NotSavedText(m_shownIdentity.ListedName(), Editing),
                         QStringLiteral("Employee Not Saved"), MsgIcon::Critical, MsgButtons::OK);
    KeepRow = grid->Row();
    KeepTopRow = grid->TopRow();
    BuildEmployeeList();
    KeepRow = 0;
    KeepTopRow = 0;
    if (Editing) {
        // The entry stays in view whatever the list found: it is the only copy of what the clerk typed.
        tabMain->setCurrentIndex(0);
        frame[2]->show();
    } else if (grid->Rows() > 1) {
        ShowEmployeeRecord();
    }
    return false;
}

void frmMain::AskInactivationDate(SaveChoices& choices) {
    for (;;) {
        const QString answer =
            dialogs().InputBox(this, InactivationPrompt, InactivationTitle, FormatMMDDYYYY(TodayOADate()));
        if (TrimBlanks(answer).isEmpty())
            return;
        if (IsValidDate(answer)) {
            choices.InactivationGiven = true;
            choices.EnteredInactivation = answer;
            return;
        }
    }
}

void frmMain::ResetListOptionsAfterAdd() {
    optEmpStatus[1]->setChecked(true);
    // A new employee may be either; a sworn-status filter left in place could hide the one just added.
    optEmpSworn[1]->setChecked(true);
    optRace[1]->setChecked(true);
    optSex[1]->setChecked(true);
    optTypeList[1]->setChecked(true);
    optTypeList_Click(1);
    comboMonth->setCurrentIndex(0);
    comboYear->setCurrentIndex(0);
    comboAgeGroup->setCurrentIndex(0);
    txtOther->clear();
}
