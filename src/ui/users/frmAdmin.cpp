#include "ui/users/frmAdmin.h"

#include "core/base/AppGlobals.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/Navigation.h"
#include "ui/common/TileBackground.h"
#include "ui/common/WindowGeometry.h"
#include "core/backup/BackupManifest.h"
#include "ui/controls/Accessibility.h"
#include "ui/controls/GridKeys.h"
#include "ui/controls/ZelButton.h"
#include "ui/help/frmManual.h"
#include "ui/history/HistoryRefusal.h"
#include "core/users/UserHistory.h"
#include "ui/history/frmChangeLog.h"
#include "ui/print/PreviewPrinterDevice.h"
#include "core/base/Cp1252.h"
#include "core/base/DateRules.h"
#include "core/base/FileError.h"
#include "core/base/RegularFile.h"
#include "core/users/AccessCode.h"
#include "core/users/UserList.h"
#include "ui/users/frmAddEditUser.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>
#include <QToolTip>
#include <algorithm>

namespace {

const QString kUpdate = QStringLiteral("Update");
const QColor kShade(240, 240, 240);

// The flashing colours change the face and text only; the hover colours stay as they were.
void SetFace(ZelButton* button, const QColor& colour) {
    const QColor over = button->BackOver();
    button->setBackColor(colour);
    button->setBackOver(over);
}

void SetText(ZelButton* button, const QColor& colour) {
    const QColor over = button->ForeOver();
    button->setForeColor(colour);
    button->setForeOver(over);
}

int Level(int value) {
    return std::clamp(value, 0, 255);
}

} // namespace

frmAdmin::frmAdmin(QWidget* parent) : QWidget(parent), m_fade(new FadeEngine(this, [this] { ClosingAction(); })) {
    setObjectName(QStringLiteral("frmAdmin"));
    ShowAsFrame(this);
    BuildControls();
    Form_Load();
}

int frmAdmin::Twips(int twips) const {
    return TwipsToPixels(twips, this);
}

void frmAdmin::BuildControls() {
    imgBackground = new QLabel(this);
    imgBackground->setObjectName(QStringLiteral("imgBackground"));
    imgBackground->setPixmap(BackgroundTile());
    imgBackground->hide();

    const int rowHeight = Twips(300);
    grid = new QTableWidget(this);
    grid->setObjectName(QStringLiteral("grid"));
    SetAccessibleName(grid, QStringLiteral("User List"));
    // The grid's columns are the three a person sees; the sort key and record number ride on the row's first
    // cell (GridText), so that screen readers, which count hidden columns too, announce only what is shown.
    grid->setColumnCount(ColNameSort);
    const QStringList captions = {QStringLiteral("User List"), QStringLiteral("Access Level"),
                                  QStringLiteral("Date Created")};
    for (int c = 0; c < captions.size(); ++c) {
        auto* header = new QTableWidgetItem(captions.at(c));
        header->setTextAlignment((c == ColCreated ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        grid->setHorizontalHeaderItem(c, header);
    }
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setMinimumSectionSize(rowHeight);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->horizontalHeader()->setFixedHeight(rowHeight);
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setWordWrap(false);
    // The column widths are fixed in twips; a small face lets the longest level name fit.
    QFont gridFont = grid->font();
    gridFont.setPointSize(8);
    grid->setFont(gridFont);
    // Column 0 takes up whatever width the other two leave.
    grid->horizontalHeader()->setSectionResizeMode(ColUser, QHeaderView::Stretch);
    grid->horizontalHeader()->setSectionResizeMode(ColLevel, QHeaderView::Fixed);
    grid->horizontalHeader()->setSectionResizeMode(ColCreated, QHeaderView::Fixed);
    grid->setGeometry(Twips(120), Twips(120), Twips(8055), 8 * rowHeight + 2 * grid->frameWidth());
    SetUpGridKeys(grid);
    grid->viewport()->setMouseTracking(true);
    grid->viewport()->installEventFilter(this);
    grid->hide();
    connect(grid, &QTableWidget::cellDoubleClicked, this, [this] { grid_DblClick(); });

    txtUserLog = new QPlainTextEdit(this);
    txtUserLog->setObjectName(QStringLiteral("txtUserLog"));
    SetAccessibleName(txtUserLog, QStringLiteral("User Log"));
    txtUserLog->setReadOnly(true);
    txtUserLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette logPal = txtUserLog->palette();
    logPal.setColor(QPalette::Base, QColor(255, 224, 192));
    logPal.setColor(QPalette::Text, QColor(0, 0, 128));
    txtUserLog->setPalette(logPal);
    txtUserLog->setGeometry(Twips(120), Twips(2640), Twips(8055), Twips(600));
    txtUserLog->hide();

    const int row1 = Twips(2700), row1Height = Twips(600);
    const int row2 = Twips(3420), row2Height = Twips(570);
    auto button = [this](const char* name, int left, int top, int width, int height) {
        auto* b = new ZelButton(this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(Twips(left), top, Twips(width), height);
        return b;
    };
    cmdAdmin = button("cmdAdmin", 120, row1, 2880, row1Height);
    cmdUserSelected = button("cmdUserSelected", 3060, row1, 2640, row1Height);
    cmdAddUser = button("cmdAddUser", 3060, row1, 1230, row1Height);
    cmdEditUser = button("cmdEditUser", 4350, row1, 1230, row1Height);
    cmdDeleteUser = button("cmdDeleteUser", 5640, row1, 1230, row1Height);
    cmdReviewUserLog = button("cmdReviewUserLog", 6930, row1, 1245, row1Height);
    cmdContinue = button("cmdContinue", 3060, row2, 1290, row2Height);
    cmdCancel = button("cmdCancel", 4410, row2, 1290, row2Height);
    cmdAgencyName = button("cmdAgencyName", 3060, row2, 1290, row2Height);
    cmdBackupSettings = button("cmdBackupSettings", 4410, row2, 1290, row2Height);
    // Beside the printout setting, under the help and quit commands: the window is a row taller for it.
    cmdReviewChangeLog = button("cmdReviewChangeLog", 5760, Twips(4020), 2415, Twips(480));
    cmdReviewChangeLog->setCaption(QStringLiteral("Review the Change &Log"));
    cmdReviewChangeLog->setToolTip(QStringLiteral(" Review who changed which record, when, from what to what "));
    cmdHelp = button("cmdHelp", 5760, row2, 1170, row2Height);
    cmdQuit = button("cmdQuit", 6990, row2, 1185, row2Height);
    cmdHelp->setCaption(QStringLiteral("&Help"));
    cmdQuit->setCaption(QStringLiteral("&Quit"));
    cmdHelp->setButtonType(11);
    cmdQuit->setButtonType(11);
    cmdAgencyName->setCaption(QStringLiteral("A&gency\r\nName..."));
    cmdBackupSettings->setCaption(QStringLiteral("Bac&kup\r\nSettings..."));
    cmdBackupSettings->setToolTip(QStringLiteral(" The backup reminder and the folder of the daily backups "));
    cmdAgencyName->setToolTip(QStringLiteral(" Name the agency shown in the main window's caption "));
    // Shown only in the password state, where Esc backs out as the button does.
    cmdCancel->setCancel(true);
    for (ZelButton* b : {cmdAddUser, cmdEditUser, cmdDeleteUser, cmdReviewUserLog, cmdUserSelected, cmdContinue,
                         cmdCancel, cmdAgencyName, cmdBackupSettings, cmdReviewChangeLog})
        b->hide();

    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    SetAccessibleName(txtPassword, QStringLiteral("Password"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setMaxLength(8);
    txtPassword->setGeometry(Twips(5760), row1, Twips(2415), row1Height);
    txtPassword->hide();
    // A mask of "*" whatever the style's own password character.
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    shp = new QFrame(this);
    shp->setObjectName(QStringLiteral("shp"));
    shp->setFrameShape(QFrame::Box);
    shp->setGeometry(Twips(120), row2, Twips(2880), row2Height);
    chkFadeStatus = new QCheckBox(QStringLiteral("Enable form fade effects"), shp);
    chkFadeStatus->setObjectName(QStringLiteral("chkFadeStatus"));
    chkFadeStatus->setToolTip(QStringLiteral(" Check this option if your forms fade in and out too slowly "));
    chkFadeStatus->setGeometry(Twips(90), 0, Twips(2760), row2Height);

    // Where the administrator decides how printouts go out: straight to the printer, or through a preview first.
    chkPreviewPrintouts = new QCheckBox(QStringLiteral("Pre&view printouts before printing"), this);
    chkPreviewPrintouts->setObjectName(QStringLiteral("chkPreviewPrintouts"));
    chkPreviewPrintouts->setToolTip(
        QStringLiteral(" Show every printout in a preview, from which a printer, copies and pages can be chosen "));
    chkPreviewPrintouts->setGeometry(Twips(120), row2 + row2Height + Twips(45), Twips(4000), Twips(300));
    chkPreviewPrintouts->hide();

    timerFlashButton = new QTimer(this);
    timerFlashButton->setObjectName(QStringLiteral("timerFlashButton"));
    timerFlashButton->setInterval(2);

    connect(cmdAdmin, &ZelButton::clicked, this, &frmAdmin::cmdAdmin_Click);
    connect(cmdAddUser, &ZelButton::clicked, this, &frmAdmin::cmdAddUser_Click);
    connect(cmdEditUser, &ZelButton::clicked, this, &frmAdmin::cmdEditUser_Click);
    connect(cmdDeleteUser, &ZelButton::clicked, this, &frmAdmin::cmdDeleteUser_Click);
    connect(cmdReviewUserLog, &ZelButton::clicked, this, &frmAdmin::cmdReviewUserLog_Click);
    connect(cmdReviewChangeLog, &ZelButton::clicked, this, &frmAdmin::cmdReviewChangeLog_Click);
    connect(cmdUserSelected, &ZelButton::clicked, this, &frmAdmin::cmdUserSelected_Click);
    connect(cmdContinue, &ZelButton::clicked, this, &frmAdmin::cmdContinue_Click);
    connect(cmdCancel, &ZelButton::clicked, this, &frmAdmin::cmdCancel_Click);
    connect(cmdHelp, &ZelButton::clicked, this, &frmAdmin::cmdHelp_Click);
    connect(cmdQuit, &ZelButton::clicked, this, &frmAdmin::cmdQuit_Click);
    connect(cmdAgencyName, &ZelButton::clicked, this, &frmAdmin::cmdAgencyName_Click);
    connect(cmdBackupSettings, &ZelButton::clicked, this, &frmAdmin::cmdBackupSettings_Click);
    connect(chkFadeStatus, &QCheckBox::clicked, this, &frmAdmin::chkFadeStatus_Click);
    connect(chkPreviewPrintouts, &QCheckBox::clicked, this,
            [this] { SetPreviewPrintouts(chkPreviewPrintouts->isChecked()); });
    connect(txtPassword, &QLineEdit::textChanged, this, &frmAdmin::txtPassword_Change);
    connect(timerFlashButton, &QTimer::timeout, this, &frmAdmin::timerFlashButton_Timer);

    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, &frmAdmin::cmdHelp_Click);
    PressOnKeys(this, QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { return cmdQuit; });
}

void frmAdmin::Form_Load() {
    setWindowTitle(AppTitle + QStringLiteral(" - Admin Window"));
    setFixedSize(Twips(8295), Twips(4665));
    TileBackground(imgBackground->pixmap(), this);
    // This window is where fading is switched on and off, so it prepares itself even while fading is off.
    FadeOn = PrepareFade(this, 0, true);
    if (FadeOn) {
        if (GetSetting(QStringLiteral("FadeStatus"), QStringLiteral("0")).toInt() == 0) {
            setWindowOpacity(1.0);
            FadeOn = 0;
        }
    } else {
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("0"));
        chkFadeStatus->hide();
        shp->hide();
    }
    // The buttons carry their captions already while the first activation's messages are on the screen.
    UpdateAdminButtons();
}

void frmAdmin::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!Activated)
        QTimer::singleShot(0, this, &frmAdmin::Form_Activate);
}

void frmAdmin::Form_Activate() {
    if (Activated)
        return;
    FillUserGrid();
    UpdateAdminButtons();
    if (!cmdUserSelected->isHidden())
        cmdUserSelected->setFocus();
    chkFadeStatus->setChecked(GetSetting(QStringLiteral("FadeStatus"), QStringLiteral("0")).toInt() == 1);
    FadeOn = chkFadeStatus->isChecked() ? -1 : 0;
    if (FadeOn)
        FadeWindow(0, 255, 20, false);
    Activated = true;
}

// ---- The grid ----

int frmAdmin::UserRowCount() const {
    return grid->rowCount();
}

int frmAdmin::GridRow() const {
    const int row = grid->currentRow();
    return row < 0 ? 0 : row + 1;
}

void frmAdmin::SetGridRow(int row, bool scroll) {
    if (row < 1 || row > grid->rowCount())
        return;
    grid->setCurrentCell(row - 1, ColUser);
    grid->clearSelection();
    grid->setRangeSelected(QTableWidgetSelectionRange(row - 1, ColUser, row - 1, ColCreated), true);
    if (scroll)
        grid->scrollTo(grid->model()->index(row - 1, ColUser));
}

int frmAdmin::TopRow() const {
    const int row = grid->rowAt(0);
    return row < 0 ? 0 : row + 1;
}

void frmAdmin::SetTopRow(int row) {
    if (row < 1 || row > grid->rowCount())
        return;
    grid->scrollTo(grid->model()->index(row - 1, ColUser), QAbstractItemView::PositionAtTop);
}

bool frmAdmin::RowIsVisible(int row) const {
    if (row < 1 || row > grid->rowCount())
        return false;
    const QRect cell = grid->visualRect(grid->model()->index(row - 1, ColUser));
    return grid->viewport()->rect().contains(cell);
}

QString frmAdmin::GridText(int row, int column) const {
    if (column >= ColNameSort) {
        const QTableWidgetItem* first = row >= 1 ? grid->item(row - 1, ColUser) : nullptr;
        return first ? first->data(Qt::UserRole + column).toString() : QString();
    }
    const QTableWidgetItem* item = row >= 1 ? grid->item(row - 1, column) : nullptr;
    return item ? item->text() : QString();
}

qint32 frmAdmin::SelectedRecNum() const {
    return GridText(GridRow(), ColRecNum).toInt();
}

void frmAdmin::FillUserGrid() {
    grid->hide();
    grid->clearContents();
    grid->setRowCount(0);
    grid->setColumnWidth(ColUser, Twips(4000));
    grid->setColumnWidth(ColLevel, Twips(1900));
    grid->setColumnWidth(ColCreated, Twips(1250));

    if (!UserListPresent()) {
        dialogs().MessageBox(this, QStringLiteral("There are currently no 'Users'\r\nentered in the 'User List'"),
                             QStringLiteral("'User List' Empty"), MsgIcon::Information, MsgButtons::OK);
        return;
    }

    struct Row {
        QString user, level, created, nameSort;
        qint32 recNum;
    };
    QList<Row> rows;
    OpenUserList();
    for (qint32 n = 1; n <= UserListCount; ++n) {
        ReadUserRecord(n);
        const QString first = CurrentUser.FirstName.trimmed();
        const QString last = CurrentUser.LastName.trimmed();
        rows.append({first + QLatin1Char(' ') + last, AccessLevelName(CurrentUser.AccessLevel),
                     FormatMMDDYYYY(CurrentUser.DateCreated), last + QLatin1Char(' ') + first, n});
    }
    CloseUserList();

    if (rows.size() >= 2)
        std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
            return QString::compare(a.nameSort, b.nameSort, Qt::CaseInsensitive) < 0;
        });

    grid->setUpdatesEnabled(false);
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const Row& r = rows.at(i);
        const QStringList cells = {r.user, r.level, r.created};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells.at(c));
            item->setTextAlignment((c == ColCreated ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
            // Grid rows 2, 4, 6 ... are table rows 1, 3, 5 ... A shaded row is light under any theme: its text
            // is dark.
            if (i % 2 == 1) {
                item->setBackground(kShade);
                item->setForeground(QColor(Qt::black));
            }
            if (c == ColUser) {
                item->setData(Qt::UserRole + int(ColNameSort), r.nameSort);
                item->setData(Qt::UserRole + int(ColRecNum), QString::number(r.recNum));
            }
            grid->setItem(i, c, item);
        }
    }
    grid->setUpdatesEnabled(true);
    if (rows.isEmpty())
        return;
    grid->show();
    SetGridRow(1);
}

// ---- Buttons ----

void frmAdmin::UpdateAdminButtons() {
    const bool users = UserRowCount() > 0;

    cmdAdmin->setCaption(AdminMode ? QStringLiteral("Finished w/ '&User List' Admin")
                                   : QStringLiteral("'&Edit the 'User List'"));
    cmdAdmin->setToolTip(AdminMode ? QStringLiteral(" Click here when finished with the Admin functions ")
                                   : QStringLiteral(" Click here to Add, Edit/View, and/or Delete Users "));
    cmdAdmin->show();
    cmdAdmin->Refresh();

    cmdHelp->setToolTip(QStringLiteral("Click here for more information about the 'Admin Window'... "));
    cmdHelp->show();
    cmdHelp->Refresh();

    cmdQuit->setToolTip(QStringLiteral(" Click here to exit ") + AppTitle + QStringLiteral(" "));
    cmdQuit->show();
    cmdQuit->Refresh();

    cmdAddUser->setCaption(QStringLiteral("&Add User"));
    cmdAddUser->setToolTip(QStringLiteral(" Add a User to the 'User Name' list "));
    cmdAddUser->setVisible(AdminMode);
    cmdAddUser->Refresh();

    cmdEditUser->setCaption(QStringLiteral("&Edit User"));
    cmdEditUser->setToolTip(QStringLiteral(" Edit the highlighted User "));
    cmdEditUser->setVisible(AdminMode && users);
    cmdEditUser->Refresh();

    cmdDeleteUser->setCaption(QStringLiteral("&Delete User"));
    cmdDeleteUser->setToolTip(QStringLiteral(" Delete the highlighted User "));
    cmdDeleteUser->setVisible(AdminMode && users);
    cmdDeleteUser->Refresh();

    cmdUserSelected->setCaption(QStringLiteral("&Select the Highlighted User"));
    cmdUserSelected->setToolTip(QStringLiteral(" Proceed to the Program with the highlighted User "));
    cmdUserSelected->setVisible(!AdminMode && users);
    cmdUserSelected->Refresh();

    cmdReviewUserLog->setCaption(QStringLiteral("&Review User Log"));
    cmdReviewUserLog->setToolTip(QStringLiteral(" Review the logged history of Users "));
    cmdReviewUserLog->setVisible(AdminMode && UserLogPresent());
    cmdReviewUserLog->Refresh();

    cmdAgencyName->setVisible(AdminMode);
    cmdBackupSettings->setVisible(AdminMode);
    cmdReviewChangeLog->setVisible(AdminMode);
    chkPreviewPrintouts->setChecked(PreviewPrintouts());
    chkPreviewPrintouts->setVisible(AdminMode);

    if (AdminMode) {
        timerFlashButton->start();
    } else {
        cmdAdmin->setForeColor(QColor(0, 0, 0));
        cmdAdmin->setForeOver(QColor(255, 255, 128));
        cmdAdmin->setBackColor(QColor(0, 128, 128));
        cmdAdmin->setBackOver(QColor(0, 128, 128));
    }
}

bool frmAdmin::ChooseAccessCode() {
    for (;;) {
        const QString code = dialogs().SecretBox(
            this,
            QStringLiteral("\r\nNo access code has been chosen yet.\r\nPlease choose one of at least 6 digits\r\n"
                           "to protect the 'User List'"),
            QStringLiteral("Choose an Access Code"), QString());
        if (code.isEmpty())
            return false;
        if (!IsAcceptableAccessCode(code)) {
            dialogs().MessageBox(this, QStringLiteral("An access code must be made of\r\nat least 6 digits (0-9)."),
                                 QStringLiteral("Unacceptable Access Code"), MsgIcon::Critical, MsgButtons::OK);
            continue;
        }
        const QString again =
            dialogs().SecretBox(this, QStringLiteral("\r\nPlease type the new access code\r\nonce more to confirm it"),
                                QStringLiteral("Confirm the Access Code"), QString());
        if (again.isEmpty())
            return false;
        if (again != code) {
            dialogs().MessageBox(
                this, QStringLiteral("The two entries do not match.\r\nPlease choose the access code again."),
                QStringLiteral("Access Codes Differ"), MsgIcon::Critical, MsgButtons::OK);
            continue;
        }
        SetAccessCode(code);
        return true;
    }
}

bool frmAdmin::AskForAccessCode() {
    for (;;) {
        const QString answer = dialogs().SecretBox(
            this,
            QStringLiteral(
                "\r\nPlease enter the access code\r\nneeded to add/edit/delete\r\nusers in this 'User List'"),
            QStringLiteral("Access Code Required"), QStringLiteral("<Enter Access Code Here>"));
        if (answer.isEmpty())
            return false;
        if (AccessCodeMatches(answer))
            return true;
        dialogs().MessageBox(this, QStringLiteral("Sorry, but you have not entered\r\nthe correct Access Code."),
                             QStringLiteral("Incorrect Access Code"), MsgIcon::Critical, MsgButtons::OK);
    }
}

void frmAdmin::cmdAdmin_Click() {
    if (AdminMode) {
        AdminMode = false;
        timerFlashButton->stop();
    } else if (HasAccessCode() ? AskForAccessCode() : ChooseAccessCode()) {
        AdminMode = true;
    }
    // The grid, not a count left over from an earlier file operation, tells whether anybody is listed.
    if (AdminMode && UserRowCount() == 0)
        cmdAddUser_Click();
    UpdateAdminButtons();
}

void frmAdmin::cmdAddUser_Click() {
    ShowAddEditDialog(cmdAddUser, QStringLiteral("Add a User"));
}

void frmAdmin::cmdEditUser_Click() {
    ShowAddEditDialog(cmdEditUser, QStringLiteral("View/Edit this User"));
}

void frmAdmin::ShowAddEditDialog(ZelButton* button, const QString& mode) {
    if (FadeOn)
        FadeWindow(255, 204, 2, false);
    {
        frmAddEditUser dialog(this);
        dialog.Tag = mode;
        dialog.exec();
    }
    if (FadeOn)
        FadeWindow(204, 255, 2, false);
    if (button->Tag != kUpdate)
        return;
    // The key as the file holds it (cut to the field widths, in the file's code page).
    const UserRecord saved = DecodeUserRecord(EncodeUserRecord(CurrentUser).constData());
    const QString key = saved.LastName.trimmed() + QLatin1Char(' ') + saved.FirstName.trimmed();
    FillUserGrid();
    QCoreApplication::processEvents();
    if (UserRowCount() >= 2) {
        for (int row = 1; row <= UserRowCount(); ++row) {
            if (GridText(row, ColNameSort) == key) {
                SetGridRow(row);
                SetTopRow(row);
                break;
            }
        }
    }
    UpdateAdminButtons();
    button->Tag.clear();
}

void frmAdmin::cmdDeleteUser_Click() {
    const int row = GridRow();
    if (row == 0)
        return;
    const MsgResult answer = dialogs().MessageBox(
        this,
        QStringLiteral("Are you sure you want to remove\r\n\r\n") + GridText(row, ColUser) +
            QStringLiteral("\r\n\r\nfrom the 'User List'?"),
        QStringLiteral("Confirm Deletion"), MsgIcon::Question, MsgButtons::YesNoCancel, MsgResult::No);
    if (answer != MsgResult::Yes)
        return;
    if (!ChangeOrExplain(this, [this] { RemoveUserWithHistory(SelectedRecNum()); }))
        return;
    int keepRow = 1;
    int keepTop = 1;
    if (UserListPresent()) {
        keepRow = std::max(1, row - 1);
        keepTop = TopRow();
    }
    FillUserGrid();
    QCoreApplication::processEvents();
    if (!grid->isHidden()) {
        SetGridRow(keepRow, false);
        if (!RowIsVisible(keepRow))
            SetTopRow(keepRow);
        else
            SetTopRow(keepTop);
    }
    UpdateAdminButtons();
    dialogs().MessageBox(this, QStringLiteral("The name has been removed\r\nfrom the 'User List'."),
                         QStringLiteral("Name removed"), MsgIcon::Information, MsgButtons::OK);
}

void frmAdmin::cmdReviewUserLog_Click() {
    if (ViewingLog) {
        ViewingLog = false;
        txtUserLog->hide();
        txtUserLog->move(txtUserLog->x(), m_logTop);
        txtUserLog->clear();
        SetText(cmdReviewUserLog, QColor(0, 0, 0));
        SetFace(cmdReviewUserLog, cmdReviewUserLog->BackOver());
        setWindowTitle(Tag);
        grid->setVisible(UserRowCount() > 0);
        UpdateAdminButtons();
        return;
    }
    if (!UserLogPresent(true)) {
        dialogs().MessageBox(this, QStringLiteral("There is currently no data\r\nin the 'User Log'."),
                             QStringLiteral("Nothing to View"), MsgIcon::Information, MsgButtons::OK);
        return;
    }
    ViewingLog = true;
    for (ZelButton* b :
         {cmdAdmin, cmdAddUser, cmdEditUser, cmdDeleteUser, cmdAgencyName, cmdBackupSettings, cmdReviewChangeLog})
        b->hide();
    cmdReviewUserLog->setCaption(QStringLiteral("Finished Viewing"));
    Tag = windowTitle();
    setWindowTitle(AppTitle + QStringLiteral(" - User Log"));
    const QByteArray bytes = ReadUserLog();
    grid->hide();
    m_logTop = txtUserLog->y();
    txtUserLog->setGeometry(txtUserLog->x(), grid->y(), txtUserLog->width(), grid->height());
    QString text = DecodeCp1252(bytes).trimmed();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtUserLog->setPlainText(text);
    txtUserLog->show();
}

void frmAdmin::cmdReviewChangeLog_Click() {
    frmChangeLog review(this);
    review.exec();
}

void frmAdmin::cmdUserSelected_Click() {
    if (!cmdUserSelected->Tag.isEmpty())
        return;
    cmdAdmin->hide();
    grid->setEnabled(false);
    cmdUserSelected->Tag = cmdUserSelected->Caption();
    QFont bold = cmdUserSelected->font();
    bold.setBold(true);
    cmdUserSelected->setFont(bold);
    cmdUserSelected->setCaption(QStringLiteral("Enter Password at right"));
    cmdUserSelected->setEnabled(false);
    ShowAsInstruction(cmdUserSelected, true);
    QFont large = txtPassword->font();
    large.setPointSize(20);
    txtPassword->setFont(large);
    txtPassword->clear();
    txtPassword->show();
    txtPassword->setFocus();
    cmdContinue->setCaption(QStringLiteral("&Continue"));
    cmdContinue->show();
    cmdContinue->setEnabled(false);
    cmdCancel->setCaption(QStringLiteral("Ca&ncel"));
    cmdCancel->show();
    txtPassword_Change();
}

void frmAdmin::txtPassword_Change() {
    // Enter continues once something is typed and backs out while the box is empty.
    const bool typed = !txtPassword->text().isEmpty();
    cmdContinue->setEnabled(typed);
    cmdContinue->setDefault(typed);
    if (!typed)
        cmdCancel->setEnabled(true);
    cmdCancel->setDefault(!typed);
}

void frmAdmin::cmdContinue_Click() {
    OpenUserList();
    ReadUserRecord(SelectedRecNum());
    CloseUserList();
    if (UnscramblePassword(CurrentUser.Password) != txtPassword->text()) {
        dialogs().MessageBox(this, QStringLiteral("That is not the correct password\r\nassociated with this name"),
                             QStringLiteral("Incorrect Password"), MsgIcon::Critical, MsgButtons::OK);
        txtPassword->clear();
        txtPassword->setFocus();
        return;
    }
    CurrentUserName = GridText(GridRow(), ColUser);
    CurrentAccessLevel = CurrentUser.AccessLevel;
    WriteUserLogEntry(1);
    if (FadeOn) {
        cmdContinue->Tag = windowTitle();
        FadeWindow(255, 0, 20, true);
        return;
    }
    ShowMainWindow();
    CloseWindow();
}

void frmAdmin::cmdCancel_Click() {
    txtPassword->hide();
    txtPassword->clear();
    cmdContinue->hide();
    cmdContinue->setDefault(false);
    cmdCancel->hide();
    cmdCancel->setDefault(false);
    cmdAdmin->show();
    grid->setEnabled(true);
    QFont normal = cmdUserSelected->font();
    normal.setBold(false);
    cmdUserSelected->setFont(normal);
    cmdUserSelected->setCaption(cmdUserSelected->Tag);
    cmdUserSelected->Tag.clear();
    cmdUserSelected->setEnabled(true);
    ShowAsInstruction(cmdUserSelected, false);
    // Back where the user came from, rather than wherever the hidden password box passed the focus.
    cmdUserSelected->setFocus();
}

void frmAdmin::cmdHelp_Click() {
    if (FadeOn)
        FadeWindow(255, 204, 2, false);
    HelpTopicIndex = 3;
    {
        frmManual manual(this);
        manual.exec();
    }
    if (FadeOn)
        FadeWindow(204, 255, 2, false);
}

void frmAdmin::cmdQuit_Click() {
    QuitProgram(this, *m_fade);
}

void frmAdmin::cmdAgencyName_Click() {
    const QString answer =
        dialogs().InputBox(this, QStringLiteral("\r\nPlease enter the name of the agency\r\nthat uses this program"),
                           QStringLiteral("Agency Name"), AgencyName());
    if (answer.trimmed().isEmpty())
        return;
    SetAgencyName(answer.trimmed());
}

void frmAdmin::cmdBackupSettings_Click() {
    const QString days = dialogs().InputBox(
        this,
        QStringLiteral("\r\nRemind a full-access user who leaves when the last\r\nbackup is at least this many days "
                       "old (0 = never):"),
        QStringLiteral("Backup Reminder"), QString::number(BackupReminderDays()));
    if (days.trimmed().isEmpty())
        return;
    bool ok = false;
    const int value = days.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > 3650) {
        dialogs().MessageBox(this, QStringLiteral("Please enter a number of days from 0 to 3650."),
                             QStringLiteral("Backup Reminder"), MsgIcon::Exclamation, MsgButtons::OK);
        return;
    }
    SaveSetting(QStringLiteral("BackupReminderDays"), QString::number(value));
    const QString folder = dialogs().InputBox(
        this,
        QStringLiteral(
            "\r\nThe folder of the daily backups that the vardel-backup\r\ntimer makes (see its manual page):"),
        QStringLiteral("Daily Backups"), GetSetting(QStringLiteral("BackupFolder")));
    if (!folder.trimmed().isEmpty())
        SaveSetting(QStringLiteral("BackupFolder"), folder.trimmed());
}

void frmAdmin::chkFadeStatus_Click() {
    const bool on = chkFadeStatus->isChecked();
    SaveSetting(QStringLiteral("FadeStatus"), on ? QStringLiteral("1") : QStringLiteral("0"));
    FadeOn = on ? -1 : 0;
}

void frmAdmin::grid_DblClick() {
    if (!cmdEditUser->isHidden())
        cmdEditUser_Click();
    else if (!cmdUserSelected->isHidden())
        cmdUserSelected_Click();
}

void frmAdmin::grid_MouseMove(const QPoint& pos) {
    QString tip;
    if (grid->rowAt(pos.y()) >= 0) {
        if (!cmdEditUser->isHidden())
            tip = QStringLiteral(" Double-click to view/edit this User ");
        else if (!cmdUserSelected->isHidden())
            tip = QStringLiteral(" Double-click to select this User ");
    }
    grid->setToolTip(tip);
}

bool frmAdmin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            grid_MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (event->type() == QEvent::ToolTip) {
            // The grid's own tooltip, not the items', describes what a double-click does.
            auto* help = static_cast<QHelpEvent*>(event);
            grid_MouseMove(help->pos());
            if (grid->toolTip().isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), grid->toolTip(), grid);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmAdmin::timerFlashButton_Timer() {
    if (FlashFore < 8) {
        FlashBack = 248;
        FlashStep = 4;
    } else if (FlashFore > 248) {
        FlashBack = 2;
        FlashStep = -4;
    }
    FlashFore = static_cast<qint16>(FlashFore + FlashStep);
    FlashBack = static_cast<qint16>(FlashBack - FlashStep);
    ZelButton* flashing = ViewingLog ? cmdReviewUserLog : cmdAdmin;
    // At the top of the sweep the face level dips a step below 0; a colour level cannot.
    SetFace(flashing, QColor(Level(FlashBack), Level(FlashBack), 0));
    SetText(flashing, QColor(Level(FlashFore), Level(FlashFore), 0));
}

// ---- Fading and closing ----

void frmAdmin::FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade) {
    m_fade->FadeWindow(fadeFrom, fadeTo, fadeStep, closeAfterFade);
}

void frmAdmin::timerFadeInOut_Timer() {
    m_fade->timerFadeInOut_Timer();
}

void frmAdmin::ClosingAction() {
    if (windowTitle() == cmdContinue->Tag) {
        // The next window opens first, so that the program never runs out of windows in between.
        ShowMainWindow();
        CloseWindow();
    } else {
        ShutDownApplication();
    }
}

void frmAdmin::CloseWindow() {
    m_closeAllowed = true;
    close();
}

void frmAdmin::closeEvent(QCloseEvent* event) {
    if (AcceptWindowClose(this, event, m_closeAllowed, [this] { cmdQuit_Click(); }))
        timerFlashButton->stop();
}
