// The list display options: their lists, counts and enabling rules, and the options value the list is built from.

#include "ui/main/frmMain.h"

#include "core/store/DataFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

void SetBackground(QComboBox* box, const QColor& colour) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Button, colour);
    // The fixed face takes a fixed dark text, whatever the desktop's theme.
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::ButtonText, Qt::black);
    box->setPalette(p);
}

// The index of the selected button of a group, 0 when none is.
template <std::size_t N> int Selected(const std::array<QRadioButton*, N>& buttons) {
    for (std::size_t i = 1; i < N; ++i)
        if (buttons[i] && buttons[i]->isChecked())
            return static_cast<int>(i);
    return 0;
}

} // namespace

void frmMain::RefreshListOptions() {
    if (!WasActivated) {
        comboListWith->setCurrentIndex(0);
        SetBackground(comboListWith, QColor(255, 255, 0));
        comboMonth->clear();
        comboMonth->addItems(MonthEntries());
        comboYear->clear();
        comboYear->addItems(YearEntries(QDate::currentDate().year()));
        comboAgeGroup->clear();
        comboAgeGroup->addItems(AgeGroupEntries());
    }
    OpenDataFile();
    CloseDataFile();
    const StatusButtons b =
        RefreshStatusButtons(CurrentCount, PreviousCount, optTypeList[1]->isChecked(), Selected(optEmpStatus));
    optEmpStatus[1]->setEnabled(b.CurrentEnabled);
    optEmpStatus[1]->setText(b.CurrentCaption);
    optEmpStatus[2]->setEnabled(b.PreviousEnabled);
    optEmpStatus[2]->setText(b.PreviousCaption);
    if (b.Selected >= 1 && b.Selected <= 2)
        optEmpStatus[b.Selected]->setChecked(true);
}

void frmMain::optTypeList_Click(int index) {
    // This rule does not look at the count: returning to the alphabetical listing makes "Previous" usable again.
    const bool alphabetical = optTypeList[1]->isChecked();
    optEmpStatus[2]->setEnabled(alphabetical);
    if (!alphabetical)
        optEmpStatus[1]->setChecked(true);
    if (index == 1) {
        SetBackground(comboListWith, QColor(255, 255, 0));
        comboListWith->setEnabled(true);
        frame[6]->show();
        for (int i = 2; i <= 3; ++i)
            optSex[i]->setEnabled(true);
        frame[7]->show();
        for (int i = 2; i <= 6; ++i)
            optRace[i]->setEnabled(true);
        frame[9]->show();
        return;
    }
    SetBackground(comboListWith, QColor(192, 192, 192));
    comboListWith->setEnabled(false);
    optSex[1]->setChecked(true);
    for (int i = 2; i <= 3; ++i)
        optSex[i]->setEnabled(false);
    optRace[1]->setChecked(true);
    for (int i = 2; i <= 6; ++i)
        optRace[i]->setEnabled(false);
    frame[9]->hide();
}

void frmMain::txtOther_Change() {
    if (!TrimBlanks(txtOther->text()).isEmpty()) {
        chkSearchNotepad->setEnabled(true);
        return;
    }
    chkSearchNotepad->setChecked(false);
    chkSearchNotepad->setEnabled(false);
}

ListOptions frmMain::ReadListOptions() const {
    ListOptions o;
    o.TypeList = std::max(1, Selected(optTypeList));
    o.ListWith = std::max(0, comboListWith->currentIndex());
    o.EmpStatus = std::max(1, Selected(optEmpStatus));
    o.EmpSworn = std::max(1, Selected(optEmpSworn));
    o.Race = std::max(1, Selected(optRace));
    o.Sex = std::max(1, Selected(optSex));
    o.Month = comboMonth->currentText();
    o.Year = comboYear->currentText();
    o.AgeGroup = comboAgeGroup->currentText();
    o.OtherText = txtOther->text();
    o.SearchNotepad = chkSearchNotepad->isChecked();
    return o;
}
