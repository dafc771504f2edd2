// The controls of the main window outside the record form: the user label and the window's commands, the tab
// control, the list frame and the list display options.

#include "ui/main/frmMain.h"

#include "core/base/AppGlobals.h"
#include "ui/common/TileBackground.h"
#include "ui/controls/Accessibility.h"
#include "ui/controls/Cp1252Entry.h"
#include "ui/controls/ZelButton.h"
#include "ui/main/EmployeeGrid.h"
#include "ui/main/EntryField.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProxyStyle>
#include <QRadioButton>
#include <QShortcut>
#include <QStyleFactory>
#include <QTabWidget>

namespace {

// The application's style, with a combo box list that drops below the box and shows its visible count.
class ShortListStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        return hint == SH_ComboBox_Popup ? 0 : QProxyStyle::styleHint(hint, option, widget, data);
    }
};

// Design layout, twips.
constexpr int kTabTop = 810;
constexpr int kTabHeight = 8130;
constexpr int kListTop = 45;
constexpr int kListHeight = 3420;
constexpr int kGridHeight = 3030;
constexpr int kCommandLeft = 8205;
constexpr int kCommandWidth = 1845;
constexpr int kCommandHeight = 615;

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace

void frmMain::BuildControls() {
    TileBackground(BackgroundTile(), this);

    lblUserInfo = new QLabel(this);
    lblUserInfo->setObjectName(QStringLiteral("lblUserInfo"));
    lblUserInfo->setGeometry(Twips(150), Twips(105), Twips(3750), Twips(600));
    QFont userFont = lblUserInfo->font();
    userFont.setBold(true);
    lblUserInfo->setFont(userFont);

    auto button = [this](QWidget* parent, const QString& name, int left, int top, int width, int height) {
        auto* b = new ZelButton(parent);
        b->setObjectName(name);
        b->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
        return b;
    };
    cmdHelp = button(this, QStringLiteral("cmdHelp"), 4140, 90, 1380, 630);
    cmdBackupRestore = button(this, QStringLiteral("cmdBackupRestore"), 5580, 90, 1620, 630);
    cmdAdminWindow = button(this, QStringLiteral("cmdAdminWindow"), 7260, 90, 1500, 630);
    cmdQuit = button(this, QStringLiteral("cmdQuit"), 8820, 90, 1485, 630);
    cmdHelp->setCaption(QStringLiteral("&Help"));
    cmdBackupRestore->setCaption(QStringLiteral("&Backup /\r\nRestore"));
    cmdAdminWindow->setCaption(QStringLiteral("A&dmin\r\nWindow"));
    cmdQuit->setCaption(QStringLiteral("&Quit"));
    // Help and Quit lie on the window's tiled background, as on the administration window.
    cmdHelp->setButtonType(11);
    cmdQuit->setButtonType(11);
    cmdBackupRestore->hide();

    menuBackupRestoremenu = new QMenu(this);
    menuBackupRestoremenu->setObjectName(QStringLiteral("menuBackupRestoremenu"));
    menuBackupRestore[1] =
        menuBackupRestoremenu->addAction(QStringLiteral("Backup the ") + AppTitle + QStringLiteral(" data files"));
    menuBackupRestore[2] =
        menuBackupRestoremenu->addAction(QStringLiteral("Restore the ") + AppTitle + QStringLiteral(" data files"));
    menuBackupRestore[5] = menuBackupRestoremenu->addAction(QStringLiteral("&Verify a Backup..."));
    menuBackupRestore[3] = menuBackupRestoremenu->addSeparator();
    menuBackupRestore[4] = menuBackupRestoremenu->addAction(QStringLiteral("Exit this Menu"));
    for (int i = 1; i <= 5; ++i)
        menuBackupRestore[i]->setObjectName(Indexed("menuBackupRestore", i));

    tabMain = new QTabWidget(this);
    tabMain->setObjectName(QStringLiteral("tabMain"));
    SetAccessibleName(tabMain, QStringLiteral("Employee list and display options"));
    tabMain->setGeometry(Twips(60), Twips(kTabTop), Twips(10335), Twips(kTabHeight));
    auto* listPage = new QWidget;
    auto* optionsPage = new QWidget;
    listPage->setObjectName(QStringLiteral("tabMainPage(0)"));
    optionsPage->setObjectName(QStringLiteral("tabMainPage(1)"));
    tabMain->addTab(listPage, QStringLiteral("Employee List"));
    tabMain->addTab(optionsPage, QStringLiteral("List Display Options"));
    // The pages lie on the window's linen, as the rest of the window does.
    listPage->setAutoFillBackground(false);
    optionsPage->setAutoFillBackground(false);

    BuildListFrame(listPage);
    BuildRecordForm(listPage);

    // The check looks at the whole file, not at the list: it sits in the row of the tabs, seen from both pages,
    // above the column of the list's commands.
    cmdCheckData = new ZelButton(this);
    cmdCheckData->setObjectName(QStringLiteral("cmdCheckData"));
    cmdCheckData->setGeometry(Twips(60 + 60 + kCommandLeft + 60), Twips(kTabTop), Twips(kCommandWidth),
                              Twips(330));
    cmdCheckData->setToolTip(QStringLiteral(" List every record with a problem to fix (Read/Edit access or higher) "));
    cmdCheckData->raise();
    // Spreadsheets in and out sit in the row of the tabs, left of the data check, above the list's commands.
    auto tabRowCommand = [this](const QString& name, int left, int width = kCommandWidth) {
        auto* b = new ZelButton(this);
        b->setObjectName(name);
        b->setGeometry(Twips(left), Twips(kTabTop), Twips(width), Twips(330));
        b->raise();
        return b;
    };
    cmdExportList = tabRowCommand(QStringLiteral("cmdExportList"), 120 + kCommandLeft + 60 - kCommandWidth - 60);
    // Its caption is the row's longest: the button reaches further left, into the room beside the tabs, so that
    // the caption stays on one line.
    constexpr int importExtra = 450;
    cmdImportEmployees = tabRowCommand(QStringLiteral("cmdImportEmployees"),
                                       120 + kCommandLeft + 60 - 2 * (kCommandWidth + 60) - importExtra,
                                       kCommandWidth + importExtra);
    cmdExportList->setToolTip(QStringLiteral(" Save this list as a spreadsheet (XLSX or CSV) "));
    cmdImportEmployees->setToolTip(
        QStringLiteral(" Add new employees from a CSV file, after a preview (Read/Edit/Add access or higher) "));
    BuildOptionsTab(optionsPage);

    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, [this] { Form_KeyDown(Qt::Key_F1, Qt::NoModifier); });
    PressOnKeys(this, QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { return cmdQuit; });
    // Ctrl+P prints what is in view: the list while it has the focus, else the record or, on its page, the picture.
    PressOnKeys(this, QKeySequence(Qt::CTRL | Qt::Key_P), [this]() -> QAbstractButton* {
        if (tabMain->currentIndex() != 0)
            return nullptr;
        if (frame[1]->isAncestorOf(focusWidget()) || !cmdPrintEntry->isVisibleTo(this))
            return cmdPrintList;
        return tabNameInfo->currentIndex() == 4 && cmdPicPrint->isVisibleTo(this) ? cmdPicPrint : cmdPrintEntry;
    });
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, this, [this] {
        if (!tabMain->isTabEnabled(1))
            return;
        tabMain->setCurrentIndex(1);
        txtOther->setFocus(Qt::ShortcutFocusReason);
    });
}

void frmMain::BuildListFrame(QWidget* page) {
    frame[1] = new QGroupBox(QStringLiteral(" Employee List "), page);
    frame[1]->setObjectName(QStringLiteral("frame(1)"));
    frame[1]->setGeometry(Twips(60), Twips(kListTop), Twips(10170), Twips(kListHeight));

    grid = new EmployeeGrid(frame[1]);
    grid->setObjectName(QStringLiteral("grid"));
    SetAccessibleName(grid, QStringLiteral("Employee List"));
    grid->setGeometry(Twips(120), Twips(270), Twips(7950), Twips(kGridHeight));
    grid->hide();

    auto command = [this](const QString& name, int top) {
        auto* b = new ZelButton(frame[1]);
        b->setObjectName(name);
        b->setGeometry(Twips(kCommandLeft), Twips(top), Twips(kCommandWidth), Twips(kCommandHeight));
        b->hide();
        return b;
    };
    cmdAddEmployee = command(QStringLiteral("cmdAddEmployee"), 270);
    cmdPrintList = command(QStringLiteral("cmdPrintList"), 960);
    cmdPrintUpdateForms = command(QStringLiteral("cmdPrintUpdateForms"), 1650);
    cmdRemoveEmployee = command(QStringLiteral("cmdRemoveEmployee"), kListHeight - 850);
}

void frmMain::BuildOptionsTab(QWidget* page) {
    lblListDisplayHeading = new QLabel(page);
    lblListDisplayHeading->setObjectName(QStringLiteral("lblListDisplayHeading"));
    lblListDisplayHeading->setGeometry(Twips(180), Twips(150), Twips(9900), Twips(300));
    QFont headingFont = lblListDisplayHeading->font();
    headingFont.setBold(true);
    lblListDisplayHeading->setFont(headingFont);

    auto group = [this, page](int index, const QString& caption, int left, int top, int width, int height) {
        frame[index] = new QGroupBox(caption, page);
        frame[index]->setObjectName(Indexed("frame", index));
        frame[index]->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
        // Usable only while the options tab is shown.
        frame[index]->setEnabled(false);
        return frame[index];
    };
    auto option = [this](QGroupBox* box, const char* name, int index, const QString& caption, int top, int width) {
        auto* b = new QRadioButton(caption, box);
        b->setObjectName(Indexed(name, index));
        b->setGeometry(Twips(180), Twips(top), Twips(width), Twips(300));
        return b;
    };

    QGroupBox* type = group(8, QStringLiteral(" Type of List "), 180, 570, 6060, 1800);
    for (int i = 1; i <= 4; ++i)
        optTypeList[i] = option(type, "optTypeList", i, TypeListCaption(i), 330 + (i - 1) * 360, 3600);
    optTypeList[1]->resize(Twips(2880), optTypeList[1]->height());
    optTypeList[1]->setChecked(true);
    comboListWith = new QComboBox(type);
    comboListWith->setObjectName(QStringLiteral("comboListWith"));
    comboListWith->setGeometry(Twips(3120), Twips(300), Twips(2760), Twips(330));
    comboListWith->addItems(ListWithEntries());

    QGroupBox* status = group(4, QStringLiteral(" Current or Previous Employees"), 6360, 570, 3750, 1080);
    optEmpStatus[1] = option(status, "optEmpStatus", 1, QStringLiteral("Current"), 330, 3300);
    optEmpStatus[2] = option(status, "optEmpStatus", 2, QStringLiteral("Previous"), 690, 3300);
    optEmpStatus[1]->setChecked(true);

    QGroupBox* sworn = group(5, QStringLiteral("Sworn and/or Non-sworn Employees"), 6360, 1770, 3750, 1440);
    for (int i = 1; i <= 3; ++i)
        optEmpSworn[i] = option(sworn, "optEmpSworn", i, EmpSwornCaption(i), 330 + (i - 1) * 360, 3300);
    optEmpSworn[1]->setChecked(true);

    QGroupBox* race = group(7, QStringLiteral(" Race "), 180, 2490, 2940, 2460);
    for (int i = 1; i <= 6; ++i)
        optRace[i] = option(race, "optRace", i, RaceCaption(i), 330 + (i - 1) * 345, 2500);
    optRace[1]->setChecked(true);

    QGroupBox* sex = group(6, QStringLiteral(" Sex "), 3240, 2490, 3000, 1440);
    for (int i = 1; i <= 3; ++i)
        optSex[i] = option(sex, "optSex", i, SexCaption(i), 330 + (i - 1) * 360, 2500);
    optSex[1]->setChecked(true);

    QGroupBox* look = group(9, QStringLiteral(" Look for certain... "), 180, 5310, 9930, 1740);
    auto label = [this, look](int index, int left, int top, int width) {
        lbl[index] = new QLabel(LookForCaption(index), look);
        lbl[index]->setObjectName(Indexed("lbl", index));
        lbl[index]->setGeometry(Twips(left), Twips(top), Twips(width), Twips(300));
    };
    auto combo = [this, look](const QString& name, int left) {
        auto* c = new QComboBox(look);
        c->setObjectName(name);
        c->setGeometry(Twips(left), Twips(390), Twips(1500), Twips(330));
        return c;
    };
    label(1, 180, 420, 1200);
    comboMonth = combo(QStringLiteral("comboMonth"), 1380);
    label(2, 3240, 420, 1140);
    comboYear = combo(QStringLiteral("comboYear"), 4380);
    // Sixty-odd years would fill the screen: a short list that scrolls, opened at the year chosen. Styles that
    // drop the whole list over the box ignore the visible count; this box asks its style for a plain list.
    comboYear->setMaxVisibleItems(15);
    auto* listStyle = new ShortListStyle(QStyleFactory::create(QApplication::style()->name()));
    listStyle->setParent(comboYear);
    comboYear->setStyle(listStyle);
    label(3, 6300, 420, 1140);
    comboAgeGroup = combo(QStringLiteral("comboAgeGroup"), 7440);
    label(4, 180, 1050, 2340);
    txtOther = new QLineEdit(look);
    txtOther->setObjectName(QStringLiteral("txtOther"));
    txtOther->setGeometry(Twips(2520), Twips(1020), Twips(3840), Twips(330));
    InstallCp1252Entry(txtOther, 25);
    LinkCaption(lbl[1], comboMonth);
    LinkCaption(lbl[2], comboYear);
    LinkCaption(lbl[3], comboAgeGroup);
    LinkCaption(lbl[4], txtOther);
    // The detail column of the alphabetical list has no caption of its own; the option beside it says what it is.
    SetAccessibleName(comboListWith, CaptionAsName(TypeListCaption(1)));
    chkSearchNotepad = new QCheckBox(QStringLiteral("Look in notepad also"), look);
    chkSearchNotepad->setObjectName(QStringLiteral("chkSearchNotepad"));
    chkSearchNotepad->setGeometry(Twips(6600), Twips(1035), Twips(3000), Twips(300));
    chkSearchNotepad->setEnabled(false);
}

void frmMain::ConnectControls() {
    connect(tabMain, &QTabWidget::currentChanged, this, [this](int index) {
        const int previous = m_shownTab;
        m_shownTab = index;
        tabMain_Click(previous);
    });
    connect(cmdHelp, &ZelButton::clicked, this, &frmMain::cmdHelp_Click);
    connect(cmdBackupRestore, &ZelButton::clicked, this, &frmMain::cmdBackupRestore_Click);
    connect(cmdAdminWindow, &ZelButton::clicked, this, &frmMain::cmdAdminWindow_Click);
    connect(cmdQuit, &ZelButton::clicked, this, &frmMain::cmdQuit_Click);
    connect(cmdCheckData, &ZelButton::clicked, this, &frmMain::cmdCheckData_Click);
    connect(cmdExportList, &ZelButton::clicked, this, &frmMain::cmdExportList_Click);
    connect(cmdImportEmployees, &ZelButton::clicked, this, &frmMain::cmdImportEmployees_Click);
    for (int i = 1; i <= 5; ++i)
        connect(menuBackupRestore[i], &QAction::triggered, this, [this, i] { menuBackupRestore_Click(i); });

    connect(grid, &EmployeeGrid::RowColChange, this, &frmMain::grid_RowColChange);
    connect(cmdAddEmployee, &ZelButton::clicked, this, &frmMain::cmdAddEmployee_Click);
    connect(cmdPrintList, &ZelButton::clicked, this, &frmMain::cmdPrintList_Click);
    connect(cmdPrintUpdateForms, &ZelButton::clicked, this, &frmMain::cmdPrintUpdateForms_Click);
    connect(cmdRemoveEmployee, &ZelButton::clicked, this, &frmMain::cmdRemoveEmployee_Click);

    for (int i = 1; i <= 4; ++i)
        connect(optTypeList[i], &QRadioButton::clicked, this, [this, i] { optTypeList_Click(i); });
    connect(txtOther, &QLineEdit::textChanged, this, &frmMain::txtOther_Change);

    connect(tabNameInfo, &QTabWidget::currentChanged, this, [this](int) {
        const int previous = tabNameInfo->property("shownPage").toInt();
        tabNameInfo->setProperty("shownPage", tabNameInfo->currentIndex());
        tabNameInfo_Click(previous);
    });
    for (int i = 1; i <= 22; ++i)
        connect(txtField[i], &EntryField::MouseMove, this, [this, i] { txtField_MouseMove(i); });
    connect(cmdEditEntry, &ZelButton::clicked, this, &frmMain::cmdEditEntry_Click);
    connect(cmdPrintEntry, &ZelButton::clicked, this, &frmMain::cmdPrintEntry_Click);
    connect(cmdPrintLabel, &ZelButton::clicked, this, &frmMain::cmdPrintLabel_Click);
    connect(cmdEmail, &ZelButton::clicked, this, &frmMain::cmdEmail_Click);
    for (int i = 1; i <= 2; ++i)
        connect(cmdPicAddEdit[i], &ZelButton::clicked, this, [this, i] { cmdPicAddEdit_Click(i); });
    connect(cmdPicPrint, &ZelButton::clicked, this, &frmMain::cmdPicPrint_Click);
    connect(cmdPicDelete, &ZelButton::clicked, this, &frmMain::cmdPicDelete_Click);
    ConnectEntryControls();
}
