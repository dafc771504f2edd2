#include "ui/main/frmLargePic.h"

#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/FirstActivation.h"
#include "ui/common/TileBackground.h"
#include "ui/common/WindowGeometry.h"
#include "ui/controls/Accessibility.h"
#include "ui/controls/ZelButton.h"
#include "ui/print/PrintCommands.h"
#include "core/print/PrintHelpers.h"
#include "core/base/Trim.h"
#include "core/record/PictureFile.h"
#include "core/record/RecordView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>

namespace {

// Design layout, twips: the heading above the picture frame, the two commands beneath it.
constexpr int kLeft = 252;
constexpr int kHeadingTop = 120;
constexpr int kHeadingHeight = 360;
constexpr int kPictureTop = 540;
constexpr int kCommandTop = 6690;
constexpr int kCommandWidth = 2000;
constexpr int kCommandHeight = 660;

} // namespace

QString frmLargePic::InitialCaption() {
    return QStringLiteral("Picture: ");
}

frmLargePic::frmLargePic(QWidget* parent) : QDialog(parent), m_fade(new FadeEngine(this, [this] { close(); })) {
    setObjectName(QStringLiteral("frmLargePic"));
    CallOnActivation(this, [this] { Form_Activate(); });
    setModal(true);
    timerFadeInOut = m_fade->timerFadeInOut;

    // The picture lies beneath the heading and the commands: a wide picture taller than its frame runs on under
    // the commands rather than over them.
    imgPicture = new QLabel(this);
    imgPicture->setObjectName(QStringLiteral("imgPicture"));
    imgPicture->setScaledContents(true);
    imgPicture->hide();

    lblPicHeading = new QLabel(this);
    lblPicHeading->setObjectName(QStringLiteral("lblPicHeading"));
    lblPicHeading->setTextFormat(Qt::PlainText);
    lblPicHeading->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QFont headingFont = lblPicHeading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    lblPicHeading->setFont(headingFont);

    cmdPrintPic = new ZelButton(this);
    cmdPrintPic->setObjectName(QStringLiteral("cmdPrintPic"));
    cmdPrintPic->setCaption(QStringLiteral("&Print this\r\nPicture"));
    cmdReturn = new ZelButton(this);
    cmdReturn->setObjectName(QStringLiteral("cmdReturn"));
    cmdReturn->setCaption(QStringLiteral("&Return\r\n<Esc>"));
    PressOnKeys(this, QKeySequence(Qt::CTRL | Qt::Key_P), [this] { return cmdPrintPic; });
    cmdReturn->setCancel(true);
    // Rounded on the tiled background. Not transparent: a tall picture runs on beneath them, and a caption drawn
    // over a photograph cannot be read.
    cmdPrintPic->setButtonType(3);
    cmdReturn->setButtonType(3);
    connect(cmdPrintPic, &ZelButton::clicked, this, &frmLargePic::cmdPrintPic_Click);
    connect(cmdReturn, &ZelButton::clicked, this, &frmLargePic::cmdReturn_Click);
    setTabOrder(cmdPrintPic, cmdReturn);

    Form_Load();
}

int frmLargePic::Twips(int twips) const {
    return TwipsToPixels(twips, this);
}

void frmLargePic::Form_Load() {
    FadeOn = PrepareFade(this, 0, false);
    setFixedSize(Twips(DesignWidth), Twips(DesignHeight));
    setWindowTitle(InitialCaption());
    TileBackground(BackgroundTile(), this);
    lblPicHeading->setGeometry(Twips(kLeft), Twips(kHeadingTop), Twips(PictureWidth), Twips(kHeadingHeight));
    imgPicture->setGeometry(Twips(kLeft), Twips(kPictureTop), Twips(PictureWidth), Twips(PictureHeight));
    cmdPrintPic->setGeometry(Twips(kLeft), Twips(kCommandTop), Twips(kCommandWidth), Twips(kCommandHeight));
    cmdReturn->setGeometry(Twips(kLeft + PictureWidth - kCommandWidth), Twips(kCommandTop), Twips(kCommandWidth),
                           Twips(kCommandHeight));
}

bool frmLargePic::LoadPicture(const QString& path) {
    const QString held = TrimBlanks(path);
    const LoadedPicture picture = LoadPictureFile(held);
    if (picture.IsNull())
        return false;
    m_picture = picture.Image;
    const QSize fitted =
        FitPicture(NaturalTwips(picture.NaturalSize, std::max(1, logicalDpiX())), QSize(PictureWidth, PictureHeight));
    // Centred in the frame; one taller than the frame starts at its top.
    const int left = kLeft + std::max(0, (PictureWidth - fitted.width()) / 2);
    const int top = kPictureTop + std::max(0, (PictureHeight - fitted.height()) / 2);
    imgPicture->setGeometry(Twips(left), Twips(top), Twips(fitted.width()), Twips(fitted.height()));
    imgPicture->setPixmap(QPixmap::fromImage(m_picture));
    imgPicture->setToolTip(held);
    imgPicture->show();
    return true;
}

QString frmLargePic::HeldPicturePath() const {
    return imgPicture->toolTip();
}

void frmLargePic::Form_Activate() {
    if (WasActivated)
        return;
    WasActivated = true;
    setWindowTitle(windowTitle() + QLatin1Char(' ') + lblPicHeading->text());
    DescribePhotograph(imgPicture, lblPicHeading->text());
    if (PrintPictureOnOpen) {
        PrintPictureOnOpen = false;
        QCoreApplication::processEvents();
        cmdPrintPic_Click();
        QCoreApplication::processEvents();
        close();
        QCoreApplication::processEvents();
        return;
    }
    cmdPrintPic->setToolTip(QStringLiteral(" Print this Picture "));
    cmdReturn->setToolTip(QStringLiteral(" Close this Window "));
    if (FadeOn)
        FadeWindow(0, 255, 20, false);
}

void frmLargePic::cmdPrintPic_Click() {
    QWidget* focus = focusWidget();
    PrintPictureCommand(this, lblPicHeading->text(), m_picture);
    // Being busy took the focus from the button, and a message about the printout took the window's activation:
    // the keyboard goes on where it was, so that Esc still closes the window.
    if (isVisible()) {
        activateWindow();
        if (focus)
            focus->setFocus();
    }
}

void frmLargePic::cmdReturn_Click() {
    m_fade->FadeOutAndClose();
}

void frmLargePic::FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade) {
    m_fade->FadeWindow(fadeFrom, fadeTo, fadeStep, closeAfterFade);
}

void frmLargePic::timerFadeInOut_Timer() {
    m_fade->timerFadeInOut_Timer();
}
