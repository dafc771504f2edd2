#include "ui/main/frmMain.h"

#include "core/base/AppGlobals.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"
#include "core/users/UserList.h"
#include "ui/backup/modBackupRestore.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/Navigation.h"
#include "ui/common/WindowGeometry.h"
#include "ui/controls/Accessibility.h"
#include "ui/controls/ZelButton.h"
#include "ui/help/frmManual.h"
#include "ui/main/EmployeeGrid.h"

#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QVariant>

frmMain::frmMain(QWidget* parent) : QWidget(parent), m_fade(new FadeEngine(this, [this] { ClosingAction(); })) {
    setObjectName(QStringLiteral("frmMain"));
    ShowAsFrame(this);
    BuildControls();
    ConnectControls();
    Form_Load();
}

int frmMain::Twips(int twips) const {
    return TwipsToPixels(twips, this);
}

int frmMain::ToTwips(int pixels) const {
    return pixels * 1440 / std::max(1, logicalDpiY());
}

int frmMain::ScreenHeight() const {
    const QScreen* s = screen();
    return s ? ToTwips(s->geometry().height()) : DesignHeight;
}

QString frmMain::Tag(const QObject* control) {
    return control->property("Tag").toString();
}

void frmMain::SetTag(QObject* control, const QString& text) {
    control->setProperty("Tag", text);
}

int frmMain::ListTabHeight(int screenHeightTwips) {
    if (screenHeightTwips <= DesignHeight)
        return DesignHeight;
    return static_cast<int>(screenHeightTwips / 1.3);
}

void frmMain::Form_Load() {
    FadeOn = PrepareFade(this, 0, false);
    setWindowTitle(MainWindowCaption());
    setFixedSize(Twips(DesignWidth), Twips(DesignHeight));
    tabMain->setTabText(0, QStringLiteral("Employee List"));
    // The design sizes that fitting the window to a tab starts from.
    SetTag(tabMain, QString::number(ToTwips(tabMain->height())));
    SetTag(frame[1], QString::number(ToTwips(frame[1]->height())));
    SetTag(grid, QString::number(ToTwips(grid->height())));
    SetTag(frame[2], QString::number(ToTwips(frame[2]->y())));
    {
        const QSignalBlocker quiet(tabMain);
        tabMain->setCurrentIndex(0);
    }
    m_shownTab = 0;
    FitWindowToTab();
    lblListDisplayHeading->setText(
        QStringLiteral("Filter the 'Employee List' by selecting the various display options below..."));
}

void frmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!WasActivated)
        QTimer::singleShot(0, this, &frmMain::Form_Activate);
}

void frmMain::Form_Activate() {
    // The help window that an empty database opens reactivates this window before the first activation is over.
    if (WasActivated || m_activating)
        return;
    m_activating = true;
    // The level name is looked up on the fly: a stored level outside 1-4 shows as no name rather than failing.
    lblUserInfo->setText(QStringLiteral("User: ") + CurrentUserName + QLatin1Char('\n') + QStringLiteral("Access: ") +
                         AccessLevelName(CurrentAccessLevel));
    cmdBackupRestore->setToolTip(
        QStringLiteral(" Backup and Restore Options (Full access level privileges required) "));
    // A server's records are backed up as the folder's files; there is no local data file to look for.
    cmdBackupRestore->setVisible(ActiveStore().HasData());
    cmdBackupRestore->setEnabled(true);
    cmdAdminWindow->setToolTip(QStringLiteral(" Return to the Admin Window "));
    cmdAdminWindow->show();
    cmdAdminWindow->setEnabled(true);
    cmdHelp->setToolTip(QStringLiteral(" Click here for information "));
    cmdQuit->setToolTip(QStringLiteral(" ") + AppTitle + QStringLiteral(" Click here to exit "));
    cmdQuit->show();
    cmdQuit->setCancel(true);

    cmdAddEmployee->setCaption(QStringLiteral("&Add Employee\r\nto the List"));
    cmdPrintList->setCaption(QStringLiteral("Print\r\nthis &List"));
    cmdPrintUpdateForms->setCaption(QStringLiteral("Print Annual\r\n&Update form(s)"));
    cmdRemoveEmployee->setCaption(QStringLiteral("&Remove\r\nthis Employee"));
    cmdCheckData->setCaption(QStringLiteral("Chec&k the Data..."));
    cmdCheckData->setEnabled(CurrentAccessLevel >= 2);
    cmdExportList->setCaption(QStringLiteral("E&xport this List..."));
    cmdImportEmployees->setCaption(QStringLiteral("Import Emplo&yees..."));
    cmdImportEmployees->setEnabled(CurrentAccessLevel >= 3);
    cmdEditEntry->setCaption(QStringLiteral("&Edit this\r\nInformation"));
    cmdAddEditSave->setCaption(QStringLiteral("&Save\r\nChanges"));
    cmdAddEditCancel->setCaption(QStringLiteral("&Cancel\r\nthis Edit"));
    cmdPrintEntry->setCaption(QStringLiteral("&Print\r\nthis Info"));
    cmdPrintLabel->setCaption(QStringLiteral("Print a&n\r\nAddress Label..."));
    cmdPicAddEdit[1]->setCaption(QStringLiteral("Add a P&icture"));
    cmdPicAddEdit[2]->setCaption(QStringLiteral("Edit this P&icture"));
    cmdPicPrint->setCaption(QStringLiteral("&View/Print this Picture"));
    cmdPicDelete->setCaption(QStringLiteral("Dele&te this Picture"));

    RefreshListOptions();
    ShowEmployeeList();
    if (FadeOn && !m_fadedIn)
        FadeWindow(0, 255, 20, false);
    WasActivated = true;
    m_activating = false;
}

void frmMain::FitWindowToTab() {
    const int screenHeight = ScreenHeight();
    if (tabMain->currentIndex() == 0) {
        const int height = ListTabHeight(screenHeight);
        if (screenHeight > DesignHeight) {
            // The list takes what a tall screen adds; the record form keeps its size beneath it.
            const int extra = height - DesignHeight;
            tabMain->resize(tabMain->width(), Twips(Tag(tabMain).toInt() + extra));
            frame[1]->resize(frame[1]->width(), Twips(Tag(frame[1]).toInt() + extra));
            grid->resize(grid->width(), Twips(Tag(grid).toInt() + extra));
            frame[2]->move(frame[2]->x(), frame[1]->y() + frame[1]->height() + Twips(150));
            cmdRemoveEmployee->move(cmdRemoveEmployee->x(), frame[1]->height() - Twips(850));
        }
        setFixedSize(Twips(DesignWidth), Twips(height));
        if (const QScreen* s = screen())
            move(x(), s->geometry().y() + Twips((screenHeight - height) / 2));
        return;
    }
    tabMain->resize(tabMain->width(), Twips(Tag(tabMain).toInt()));
    setFixedSize(Twips(DesignWidth), Twips(DesignHeight));
}

void frmMain::tabMain_Click(int previousTab) {
    FitWindowToTab();
    if (previousTab == 0) {
        frame[1]->setEnabled(false);
        frame[2]->setEnabled(false);
        for (int i = 4; i <= 9; ++i)
            frame[i]->setEnabled(true);
        if (cmdBackupRestore->isVisibleTo(this))
            cmdBackupRestore->setEnabled(false);
        RefreshListOptions();
    } else {
        frame[1]->setEnabled(true);
        frame[2]->setEnabled(true);
        for (int i = 4; i <= 9; ++i)
            frame[i]->setEnabled(false);
        if (cmdBackupRestore->isVisibleTo(this))
            cmdBackupRestore->setEnabled(true);
        ShowEmployeeList();
    }
}

void frmMain::cmdHelp_Click() {
    HelpTopicIndex = tabMain->currentIndex() == 0 ? 4 : 5;
    if (FadeOn)
        FadeWindow(255, 204, 2, false);
    {
        frmManual manual(this);
        manual.exec();
    }
    if (FadeOn)
        FadeWindow(204, 255, 2, false);
}

bool frmMain::Form_KeyDown(int keyCode, Qt::KeyboardModifiers) {
    if (keyCode != Qt::Key_F1)
        return false;
    cmdHelp_Click();
    return true;
}

void frmMain::cmdBackupRestore_Click() {
    if (CurrentAccessLevel == 4) {
        menuBackupRestoremenu->popup(MenuPosition(cmdBackupRestore));
        return;
    }
    dialogs().MessageBox(this, QStringLiteral("Full access level privileges\r\nare required to use this feature."),
                         QStringLiteral("Current Access Level Inadequate"), MsgIcon::Critical, MsgButtons::OK);
}

void frmMain::menuBackupRestore_Click(int index) {
    switch (index) {
    case 1:
        BackupDataFiles(this);
        break;
    case 2:
        // The data file under the list has been replaced, wholly or up to a file that failed.
        if (RestoreDataFiles(this) || DataRestored) {
            DataRestored = false;
            RefreshListOptions();
            ShowEmployeeList();
        }
        break;
    case 5:
        VerifyBackupCommand(this);
        break;
    default:
        break;
    }
}

void frmMain::cmdAdminWindow_Click() {
    WriteUserLogEntry(2);
    if (FadeOn) {
        cmdAdminWindow->Tag = windowTitle();
        FadeWindow(255, 0, 20, true);
        return;
    }
    // The next window opens first, so that the program never runs out of windows in between.
    ShowAdminWindow();
    CloseWindow();
}

void frmMain::cmdQuit_Click() {
    QuitProgram(this, *m_fade, [this] {
        WriteUserLogEntry(2);
        if (CurrentAccessLevel == 4)
            RemindOfBackup(this);
    });
}

void frmMain::FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade) {
    m_fade->FadeWindow(fadeFrom, fadeTo, fadeStep, closeAfterFade);
}

void frmMain::timerFadeInOut_Timer() {
    m_fade->timerFadeInOut_Timer();
}

void frmMain::ClosingAction() {
    if (windowTitle() != cmdAdminWindow->Tag) {
        ShutDownApplication();
        return;
    }
    ShowAdminWindow();
    CloseWindow();
}

void frmMain::CloseWindow() {
    m_closeAllowed = true;
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    AcceptWindowClose(this, event, m_closeAllowed, [this] { cmdQuit_Click(); });
}
