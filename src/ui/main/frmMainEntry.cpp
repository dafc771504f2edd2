// Add and edit mode of the record form: switching into them and out again, and the entry events.

#include "ui/main/frmMain.h"

#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/controls/Accessibility.h"
#include "ui/controls/ZelButton.h"
#include "ui/history/HistoryPage.h"
#include "core/store/DataFile.h"
#include "ui/main/EmployeeGrid.h"
#include "ui/main/EntryField.h"
#include "core/users/UserList.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>

namespace {

const QColor kFocusColour(255, 255, 0);
const QColor kVisitedColour(0, 255, 255);
const QColor kRequiredColour(192, 0, 0);

void SetCaptionColour(QLabel* label, const QColor& colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

} // namespace

void frmMain::ConnectEntryControls() {
    connect(cmdAddEditSave, &ZelButton::clicked, this, &frmMain::cmdAddEditSave_Click);
    connect(cmdAddEditCancel, &ZelButton::clicked, this, &frmMain::cmdAddEditCancel_Click);
    for (int i = 1; i <= FieldCount; ++i) {
        connect(txtField[i], &EntryField::GotFocus, this, [this, i] { txtField_GotFocus(i); });
        connect(txtField[i], &EntryField::LostFocus, this, [this, i] { txtField_LostFocus(i); });
        connect(txtField[i], &EntryField::Change, this, [this, i] { txtField_Change(i); });
    }
    for (int i = 1; i <= 2; ++i) {
        connect(optSworn[i], &QRadioButton::clicked, this, [this, i] { optSworn_Click(i); });
        connect(optStatus[i], &QRadioButton::clicked, this, [this, i] { optStatus_Click(i); });
    }
}

void frmMain::FadeAndWait(quint8 fadeFrom, quint8 fadeTo) {
    if (!FadeOn)
        return;
    FadeWindow(fadeFrom, fadeTo, 20, false);
    m_fade->WaitForFade();
}

void frmMain::cmdAddEmployee_Click() {
    if (Adding || Editing)
        return;
    Adding = true;
    BeginRecordEntry();
}

void frmMain::cmdEditEntry_Click() {
    if (Adding || Editing || HighlightedSlot() < 1)
        return;
    Editing = true;
    BeginRecordEntry();
}

void frmMain::BeginRecordEntry() {
    FadeAndWait(255, 0);

    if (Adding) {
        // The list makes way for the form: the window shortens by the list frame and is centred again.
        const int listHeight = frame[1]->height();
        frame[1]->hide();
        m_beforeAdd = {y(), height(), tabMain->height(), frame[2]->y()};
        frame[2]->move(frame[2]->x(), frame[1]->y());
        tabMain->resize(tabMain->width(), tabMain->height() - listHeight);
        setFixedSize(width(), height() - listHeight);
        if (const QScreen* s = screen())
            move(x(), s->geometry().y() + (s->geometry().height() - height()) / 2);
        // With no employee on file the details frame is hidden; the first one is entered in it.
        frame[2]->show();

        cmdAddEditSave->setCaption(QStringLiteral("&Save this\r\nnew entry"));
        cmdAddEditSave->setEnabled(false);
        cmdAddEditSave->show();
        cmdAddEditCancel->setCaption(QStringLiteral("&Cancel this\r\nnew entry"));
        cmdAddEditCancel->show();
        lblDataInfo[1]->hide();
        lblDataInfo[2]->hide();
        cmdPrintLabel->hide();
        cmdEmail->hide();

        // A new employee is always current and starts as sworn.
        optSworn[1]->show();
        optSworn[1]->setChecked(true);
        optSworn[2]->show();
        optStatus[1]->show();
        optStatus[1]->setChecked(true);
        optStatus[2]->hide();
        lblField[21]->hide();
        txtField[21]->hide();

        // A new entry has no picture until one is chosen.
        CurrentRecord.PicturePath.clear();
        imgPicture->clear();
        imgPicture->setToolTip(QString());
        imgPicture->resize(Twips(PictureFrameWidth), Twips(PictureFrameHeight));
        imgPicture->setScaledContents(true);
        imgPicture->show();
        lblPicture->show();
        // A new entry has no history yet.
        ShowRecordHistory(tabNameInfo, 0, QString());
        cmdPicAddEdit[1]->show();
        cmdPicAddEdit[1]->setEnabled(CurrentAccessLevel >= 3);
        cmdPicAddEdit[2]->hide();
        cmdPicPrint->hide();
        cmdPicDelete->hide();
    } else {
        // The list stays in view, but the highlighted row cannot change while the edit lasts.
        frame[1]->setEnabled(false);
        WasSworn = optSworn[1]->isChecked();
        PreviousStatus = optStatus[1]->isChecked() ? 1 : 2;
        cmdAddEditSave->setCaption(QStringLiteral("&Save\r\nchanges"));
        cmdAddEditSave->setEnabled(false);
        cmdAddEditSave->show();
        cmdAddEditCancel->setCaption(QStringLiteral("&Cancel\r\nthis edit"));
        cmdAddEditCancel->show();
        for (QRadioButton* option : {optSworn[1], optSworn[2], optStatus[1], optStatus[2]})
            option->show();
    }

    // Esc abandons the entry rather than the program; the close box still asks the quit question.
    cmdQuit->setCancel(false);
    cmdAddEditCancel->setCancel(true);

    tabMain->setTabEnabled(1, false);
    if (Adding) {
        tabMain->setTabText(0, QStringLiteral("New Entry"));
        frame[2]->setTitle(QString());
    }
    SetTag(lblField[1], lblField[1]->text());
    lblField[1]->setText(lblField[1]->text() + QStringLiteral("            (red = required entry)"));
    // The longer caption takes the free line above its row, across the page.
    m_firstCaptionPlace = lblField[1]->geometry();
    lblField[1]->setGeometry(m_firstCaptionPlace.x(), m_firstCaptionPlace.y() - m_firstCaptionPlace.height(),
                             lblField[1]->parentWidget()->width() - 2 * m_firstCaptionPlace.x(),
                             m_firstCaptionPlace.height());
    for (int i = 1; i <= FieldCount; ++i) {
        txtField[i]->Tag = txtField[i]->text();
        if (Adding)
            txtField[i]->setText(QString());
        txtField[i]->setLocked(false);
    }
    for (int index : RequiredFields) {
        SetCaptionColour(lblField[index], kRequiredColour);
        SetRequired(txtField[index], true);
    }
    // An edit shows at once how full the notepad already is.
    ShowNotepadGauge();
    lblYearsDOB->hide();
    lblYearsDOE->hide();
    lblYearsDOT->hide();
    lblYearsDOI->hide();
    cmdEditEntry->hide();
    cmdPrintEntry->hide();
    if (cmdBackupRestore->isVisibleTo(this))
        cmdBackupRestore->setEnabled(false);
    cmdAdminWindow->setEnabled(false);
    cmdCheckData->setEnabled(false);
    cmdExportList->setEnabled(false);
    cmdImportEmployees->setEnabled(false);

    FadeAndWait(0, 255);

    if (Adding) {
        tabNameInfo->setCurrentIndex(0);
        txtField[1]->setFocus();
        return;
    }
    static constexpr int kFirstField[] = {1, 12, 19, 22};
    const int page = tabNameInfo->currentIndex();
    if (page >= 0 && page <= 3)
        txtField[kFirstField[page]]->setFocus();
}

bool frmMain::focusNextPrevChild(bool next) {
    const int page = tabNameInfo->currentIndex();
    if ((Adding || Editing) && next && page >= 0 && page <= 2) {
        // The last control in view on the page: on "Job Info" the chosen sworn option, else the last field (the
        // inactivation date shows only for a previous employee).
        QWidget* last = nullptr;
        for (int i = 1; i <= FieldCount; ++i)
            if (FieldPage(i) == page && !txtField[i]->isHidden())
                last = txtField[i]->focusProxy();
        if (page == 2)
            last = optSworn[2]->isChecked() ? optSworn[2] : optSworn[1];
        if (last && last->hasFocus()) {
            // Choosing the page puts the focus on its first field.
            tabNameInfo->setCurrentIndex(page + 1);
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

void frmMain::txtField_GotFocus(int index) {
    if (Adding || Editing)
        txtField[index]->setBackColor(kFocusColour);
}

void frmMain::txtField_LostFocus(int index) {
    if (Adding || Editing)
        txtField[index]->setBackColor(kVisitedColour);
}

void frmMain::txtField_Change(int index) {
    if (!Adding && !Editing)
        return;
    UpdateSaveButton();
    if (index == NotepadField)
        ShowNotepadGauge();
}

void frmMain::ShowNotepadGauge() {
    const QString gauge = NotepadGauge(txtField[NotepadField]->text());
    lblSpaceFull->setText(gauge);
    lblSpaceFull->setVisible(!gauge.isEmpty());
}

void frmMain::optSworn_Click(int) {
    if (Editing)
        UpdateSaveButton();
}

void frmMain::optStatus_Click(int) {
    if (Editing)
        UpdateSaveButton();
}

void frmMain::UpdateSaveButton() {
    if (Editing)
        cmdAddEditCancel->setCaption(QStringLiteral("&Cancel Changes"));
    cmdAddEditSave->setEnabled(RequiredFieldsFilled(ReadEntryFields()));
}

EntryFields frmMain::ReadEntryFields() const {
    EntryFields fields;
    for (int i = 1; i <= FieldCount; ++i)
        fields[i] = txtField[i]->text();
    return fields;
}

void frmMain::cmdAddEditCancel_Click() {
    FadeAndWait(255, 0);
    tabMain->setTabEnabled(1, true);
    for (int i = 1; i <= FieldCount; ++i) {
        txtField[i]->setLocked(true);
        // A locked field shows no trace of the entry that went before.
        txtField[i]->ResetBackColor();
    }
    lblField[1]->setText(Tag(lblField[1]));
    lblField[1]->setGeometry(m_firstCaptionPlace);
    lblYearsDOB->show();
    lblYearsDOE->show();
    for (int index : RequiredFields) {
        SetCaptionColour(lblField[index], palette().color(QPalette::ButtonText));
        SetRequired(txtField[index], false);
    }
    cmdAddEditSave->hide();
    cmdAddEditCancel->hide();
    cmdAddEditCancel->setCancel(false);
    cmdQuit->setCancel(true);
    lblSpaceFull->hide();

    if (Adding) {
        tabMain->resize(tabMain->width(), m_beforeAdd.tabHeight);
        setFixedSize(width(), m_beforeAdd.windowHeight);
        move(x(), m_beforeAdd.windowTop);
        frame[2]->move(frame[2]->x(), m_beforeAdd.detailsTop);
        frame[1]->show();
        tabMain->setTabText(0, QStringLiteral("Employee List"));
        FadeAndWait(0, 255);
        Adding = false;
    } else if (Editing) {
        KeepRow = grid->Row();
        KeepTopRow = grid->TopRow();
        frame[1]->setEnabled(true);
        Editing = false;
        FadeAndWait(0, 255);
    }

    if (cmdBackupRestore->isVisibleTo(this))
        cmdBackupRestore->setEnabled(true);
    cmdAdminWindow->setEnabled(true);
    cmdCheckData->setEnabled(CurrentAccessLevel >= 2);
    cmdExportList->setEnabled(true);
    cmdImportEmployees->setEnabled(CurrentAccessLevel >= 3);
    RefreshListOptions();
    ShowEmployeeList();
    KeepRow = 0;
    KeepTopRow = 0;
    NewRecordNumber = 0;
}
