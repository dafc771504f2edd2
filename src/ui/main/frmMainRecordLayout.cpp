// The controls of the record form: the details frame with its five pages and its commands.

#include "ui/main/frmMain.h"

#include "ui/controls/Accessibility.h"
#include "ui/controls/ZelButton.h"
#include "ui/history/HistoryPage.h"
#include "ui/main/EntryField.h"
#include "core/record/RecordView.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

namespace {

// Design layout, twips: the details frame starts 150 below the list frame (top 45, height 3420).
constexpr int kDetailsTop = 3615;
constexpr int kDetailsHeight = 4020;
constexpr int kCommandLeft = 8205;
constexpr int kCommandWidth = 1845;
constexpr int kCommandHeight = 615;
constexpr int kFieldHeight = 315;
// "Basic Info" starts one caption line lower than the other pages: while an entry lasts, the caption of the first
// field carries the note on red captions and moves up into that line, where it runs over no other caption.
constexpr int kBasicInfoDrop = 270;

// Where each entry field sits on its page (or frame): left, top of its caption, width. The field lies under
// its caption.
struct Place {
    int left;
    int top;
    int width;
};
constexpr Place kPlaces[23] = {
    {0, 0, 0},          {120, 90, 1845}, // 1 First Name
    {2055, 90, 1845},                    // 2 Middle Name
    {3990, 90, 2460},                    // 3 Last Name
    {6540, 90, 750},                     // 4 Suffix
    {120, 780, 600},                     // 5 Race
    {810, 780, 600},                     // 6 Sex
    {1500, 780, 1500},                   // 7 Date of Birth
    {3990, 780, 1845},                   // 8 Social Security #
    {120, 255, 2790},                    // 9 Name (emergency frame)
    {3000, 255, 1845},                   // 10 Relationship
    {4935, 255, 2535},                   // 11 Contact Number
    {120, 90, 5250},                     // 12 Street Address
    {120, 780, 5250},                    // 13 City/State/Zip
    {120, 1470, 2460},                   // 14 Home Phone
    {2700, 1470, 2460},                  // 15 Cell Phone
    {120, 2160, 3645},                   // 16 Email
    {120, 90, 1845},                     // 17 Employee #
    {2055, 90, 3150},                    // 18 Job Title
    {120, 780, 1500},                    // 19 Date of Employment
    {2520, 780, 1500},                   // 20 Date of Job Title
    {180, 975, 1500},                    // 21 Inactivation Date (status frame)
    {120, 90, 7590},                     // 22 Notepad
};

} // namespace

void frmMain::BuildRecordForm(QWidget* page) {
    frame[2] = new QGroupBox(page);
    frame[2]->setObjectName(QStringLiteral("frame(2)"));
    frame[2]->setGeometry(Twips(60), Twips(kDetailsTop), Twips(10170), Twips(kDetailsHeight));
    frame[2]->hide();

    tabNameInfo = new QTabWidget(frame[2]);
    tabNameInfo->setObjectName(QStringLiteral("tabNameInfo"));
    SetAccessibleName(tabNameInfo, QStringLiteral("Employee record"));
    tabNameInfo->setGeometry(Twips(120), Twips(255), Twips(7950), Twips(kDetailsHeight - 360));
    tabNameInfo->setProperty("shownPage", 0);
    for (int p = 0; p <= 4; ++p) {
        auto* pageWidget = new QWidget;
        pageWidget->setObjectName(QStringLiteral("tabNameInfoPage(%1)").arg(p));
        tabNameInfo->addTab(pageWidget, RecordPageCaption(p));
    }
    AddHistoryPage(tabNameInfo);

    // The pages come first in the tab order, the commands beside them after.
    BuildRecordPages();

    auto command = [this](const QString& name, int top) {
        auto* b = new ZelButton(frame[2]);
        b->setObjectName(name);
        b->setGeometry(Twips(kCommandLeft), Twips(top), Twips(kCommandWidth), Twips(kCommandHeight));
        b->hide();
        return b;
    };
    cmdEditEntry = command(QStringLiteral("cmdEditEntry"), 345);
    cmdPrintEntry = command(QStringLiteral("cmdPrintEntry"), 1035);
    // Add and edit mode show these in the places of the two above.
    cmdAddEditSave = command(QStringLiteral("cmdAddEditSave"), 345);
    cmdAddEditCancel = command(QStringLiteral("cmdAddEditCancel"), 1035);
}

void frmMain::BuildRecordPages() {
    auto pageOf = [this](int p) { return tabNameInfo->widget(p); };
    auto smallLabel = [this](QWidget* parent, const QString& name, int left, int top, int width) {
        auto* l = new QLabel(parent);
        l->setObjectName(name);
        l->setGeometry(Twips(left), Twips(top), Twips(width), Twips(270));
        return l;
    };

    frameEmergency = new QGroupBox(QStringLiteral(" In Case of Emergency "), pageOf(0));
    frameEmergency->setObjectName(QStringLiteral("frameEmergency"));
    frameEmergency->setGeometry(Twips(60), Twips(1470 + kBasicInfoDrop), Twips(7590), Twips(1005));
    frameStatus = new QGroupBox(pageOf(2));
    frameStatus->setObjectName(QStringLiteral("frameStatus"));
    frameStatus->setGeometry(Twips(60), Twips(1440), Twips(3960), Twips(1740));
    frameSworn = new QGroupBox(pageOf(2));
    frameSworn->setObjectName(QStringLiteral("frameSworn"));
    frameSworn->setGeometry(Twips(4140), Twips(1440), Twips(3510), Twips(1035));

    for (int i = 1; i <= 22; ++i) {
        QWidget* parent = pageOf(FieldPage(i));
        if (i >= 9 && i <= 11)
            parent = frameEmergency;
        else if (i == 21)
            parent = frameStatus;
        Place at = kPlaces[i];
        if (parent == pageOf(0))
            at.top += kBasicInfoDrop;
        lblField[i] = smallLabel(parent, QStringLiteral("lblField(%1)").arg(i), at.left, at.top, at.width + 600);
        lblField[i]->setText(FieldCaption(i));
        txtField[i] = new EntryField(i == NotepadField, FieldMaxLength(i), parent);
        txtField[i]->setObjectName(QStringLiteral("txtField(%1)").arg(i));
        const int height = i == NotepadField ? 2670 : kFieldHeight;
        txtField[i]->setGeometry(Twips(at.left), Twips(at.top + 240), Twips(at.width), Twips(height));
        txtField[i]->setLocked(true);
        LinkCaption(lblField[i], txtField[i]);
    }

    // Basic Info: the stamps and the age.
    for (int i = 1; i <= 2; ++i) {
        lblDataInfo[i] = smallLabel(pageOf(0), QStringLiteral("lblDataInfo(%1)").arg(i), 120 + (i - 1) * 3870,
                                    2610 + kBasicInfoDrop, 3720);
        lblDataInfo[i]->setFrameShape(QFrame::Panel);
        lblDataInfo[i]->setFrameShadow(QFrame::Sunken);
        lblDataInfo[i]->hide();
    }
    lblYearsDOB = smallLabel(pageOf(0), QStringLiteral("lblYearsDOB"), 3060, 1050 + kBasicInfoDrop, 750);

    // Address: the label and e-mail commands.
    cmdPrintLabel = new ZelButton(pageOf(1));
    cmdPrintLabel->setObjectName(QStringLiteral("cmdPrintLabel"));
    cmdPrintLabel->setGeometry(Twips(5595), Twips(330), Twips(2055), Twips(615));
    cmdEmail = new ZelButton(pageOf(1));
    cmdEmail->setObjectName(QStringLiteral("cmdEmail"));
    cmdEmail->setGeometry(Twips(5595), Twips(2205), Twips(2055), Twips(615));
    cmdEmail->setCaption(QStringLiteral("E-&mail this\r\nEmployee..."));

    // Job Info: the years beside the dates, status and sworn.
    lblYearsDOE = smallLabel(pageOf(2), QStringLiteral("lblYearsDOE"), 1680, 1050, 750);
    lblYearsDOT = smallLabel(pageOf(2), QStringLiteral("lblYearsDOT"), 4080, 1050, 750);
    lblYearsDOI = smallLabel(frameStatus, QStringLiteral("lblYearsDOI"), 1740, 1245, 750);
    optStatus[1] = new QRadioButton(QStringLiteral("Current Employee"), frameStatus);
    optStatus[2] = new QRadioButton(QStringLiteral("Previous Employee"), frameStatus);
    optSworn[1] = new QRadioButton(QStringLiteral("Sworn Employee"), frameSworn);
    optSworn[2] = new QRadioButton(QStringLiteral("Non-sworn Employee"), frameSworn);
    for (int i = 1; i <= 2; ++i) {
        optStatus[i]->setObjectName(QStringLiteral("optStatus(%1)").arg(i));
        optStatus[i]->setGeometry(Twips(180), Twips(150 + (i - 1) * 360), Twips(3600), Twips(300));
        optSworn[i]->setObjectName(QStringLiteral("optSworn(%1)").arg(i));
        optSworn[i]->setGeometry(Twips(180), Twips(150 + (i - 1) * 360), Twips(3200), Twips(300));
    }

    // Notepad: the fill gauge.
    lblSpaceFull = smallLabel(pageOf(3), QStringLiteral("lblSpaceFull"), 5610, 90, 2100);
    lblSpaceFull->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblSpaceFull->hide();

    // Photo: the picture frame and its commands.
    imgPicture = new QLabel(pageOf(4));
    imgPicture->setObjectName(QStringLiteral("imgPicture"));
    imgPicture->setGeometry(Twips(120), Twips(90), Twips(PictureFrameWidth), Twips(PictureFrameHeight));
    imgPicture->setScaledContents(true);
    lblPicture = new QLabel(QStringLiteral("Picture Frame"), pageOf(4));
    lblPicture->setObjectName(QStringLiteral("lblPicture"));
    lblPicture->setGeometry(imgPicture->geometry());
    lblPicture->setAlignment(Qt::AlignCenter);
    lblPicture->setFrameShape(QFrame::Box);
    lblPicture->setFrameShadow(QFrame::Sunken);
    auto photoCommand = [this](const QString& name, int top) {
        auto* b = new ZelButton(tabNameInfo->widget(4));
        b->setObjectName(name);
        b->setGeometry(Twips(3840), Twips(top), Twips(2760), Twips(480));
        b->hide();
        return b;
    };
    cmdPicAddEdit[1] = photoCommand(QStringLiteral("cmdPicAddEdit(1)"), 90);
    cmdPicAddEdit[2] = photoCommand(QStringLiteral("cmdPicAddEdit(2)"), 90);
    cmdPicPrint = photoCommand(QStringLiteral("cmdPicPrint"), 690);
    cmdPicDelete = photoCommand(QStringLiteral("cmdPicDelete"), 1290);
}
