#include "ui/app/frmNewUser.h"

#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/FirstActivation.h"
#include "ui/common/TileBackground.h"
#include "ui/common/WindowGeometry.h"
#include "ui/controls/Accessibility.h"
#include "ui/controls/ZelButton.h"
#include "core/help/HelpTexts.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QScrollArea>
#include <QShowEvent>

frmNewUser::frmNewUser(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmNewUser"));
    CallOnActivation(this, [this] { Form_Activate(); });
    setWindowTitle(DesignCaption());
    setModal(true);

    imgBackground = new QLabel(this);
    imgBackground->setObjectName(QStringLiteral("imgBackground"));
    imgBackground->setPixmap(BackgroundTile());
    imgBackground->hide();

    Shape1 = NewLinenPanel(this);

    lblHeading = new QLabel(this);
    lblHeading->setObjectName(QStringLiteral("lblHeading"));
    QFont heading = font();
    heading.setFamilies({QStringLiteral("Georgia"), QStringLiteral("DejaVu Serif"), QStringLiteral("serif")});
    heading.setPointSizeF(15);
    heading.setBold(true);
    lblHeading->setFont(heading);
    QPalette headingPalette = lblHeading->palette();
    headingPalette.setColor(QPalette::WindowText, QColor(24, 48, 92));
    lblHeading->setPalette(headingPalette);
    lblHeading->setText(AppTitle);

    scrollText = new QScrollArea(this);
    scrollText->setObjectName(QStringLiteral("scrollText"));
    SetAccessibleName(scrollText, QStringLiteral("Welcome text"));
    scrollText->setFrameShape(QFrame::NoFrame);
    scrollText->setWidgetResizable(true);
    scrollText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollText->setStyleSheet(QStringLiteral("QScrollArea, #lbl { background: transparent; }"));
    scrollText->viewport()->setAutoFillBackground(false);

    lbl = new QLabel;
    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->setWordWrap(true);
    lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl->setTextFormat(Qt::PlainText);
    lbl->setAutoFillBackground(false);
    lbl->setContentsMargins(2, 0, 8, 0);
    QPalette textPalette = lbl->palette();
    textPalette.setColor(QPalette::WindowText, QColor(34, 34, 40));
    lbl->setPalette(textPalette);
    scrollText->setWidget(lbl);

    chk = new QCheckBox(QStringLiteral("Don't show this Welcome screen again"), this);
    chk->setObjectName(QStringLiteral("chk"));
    chk->setChecked(false);

    cmdContinue = new ZelButton(this);
    cmdContinue->setObjectName(QStringLiteral("cmdContinue"));
    cmdContinue->setButtonType(3);
    QFont buttonFont = font();
    buttonFont.setBold(true);
    cmdContinue->setFont(buttonFont);
    cmdContinue->setBackColor(QColor(30, 58, 108));
    cmdContinue->setBackOver(QColor(52, 90, 150));
    cmdContinue->setForeColor(QColor(255, 255, 255));
    cmdContinue->setDefault(true);
    connect(cmdContinue, &ZelButton::clicked, this, &frmNewUser::cmdContinue_Click);

    fadeEngine = new FadeEngine(this, [this] {
        close();
        deleteLater();
    });
    timerFadeInOut = fadeEngine->timerFadeInOut;

    Form_Load();
}

void frmNewUser::Form_Load() {
    FadeOn = PrepareFade(this, 0, false);

    const auto px = [this](int twips) { return TwipsToPixels(twips, this); };
    setFixedSize(px(6915), px(5745));
    setWindowTitle(QStringLiteral(" ") + AppTitle + QStringLiteral(" - ") + DesignCaption());
    TileBackground(imgBackground->pixmap(), this);

    Shape1->setGeometry(px(240), px(240), width() - 2 * px(240), px(4380));
    lblHeading->setGeometry(px(420), px(330), width() - 2 * px(420), px(420));
    scrollText->setGeometry(px(420), px(810), width() - 2 * px(420) + px(60), px(3720));
    chk->setGeometry(px(300), px(4890), px(4200), px(360));
    cmdContinue->setGeometry(width() - px(300) - px(1500), px(4830), px(1500), px(480));
}

void frmNewUser::Form_Activate() {
    if (Activated)
        return;
    Activated = true;
    lbl->setText(QStringLiteral("Welcome! Are you a new user? ") +
                 QStringLiteral("If so, then let's take a moment for a quick overview.") + QStringLiteral("\r\n\r\n") +
                 HelpTopicText(1000));
    cmdContinue->setCaption(QStringLiteral("&Continue"));
    cmdContinue->Refresh();
    cmdContinue->setFocus();
    if (FadeOn)
        FadeWindow(0, 255, 20, false);
}

void frmNewUser::cmdContinue_Click() {
    if (chk->isChecked())
        SaveSetting(QStringLiteral("NewUser"), QStringLiteral("NoShow"));
    fadeEngine->FadeOutAndClose();
}

void frmNewUser::timerFadeInOut_Timer() {
    fadeEngine->timerFadeInOut_Timer();
}

void frmNewUser::FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade) {
    fadeEngine->FadeWindow(fadeFrom, fadeTo, fadeStep, closeAfterFade);
}

#include "moc_frmNewUser.cpp"
