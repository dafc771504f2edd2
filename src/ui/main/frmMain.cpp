#include "ui/main/frmMain.h"

#include "app/AppGlobals.h"
#include "app/Dialogs.h"
#include "app/FadeEngine.h"
#include "app/Navigation.h"
#include "app/TileBackground.h"
#include "app/WindowGeometry.h"
#include "controls/ZelButton.h"
#include "help/frmManual.h"
#include "users/AccessCode.h"
#include "users/Shutdown.h"
#include "users/UserList.h"

#include <QCloseEvent>
#include <QLabel>
#include <QShortcut>
#include <QTimer>

frmMain::frmMain(QWidget* parent)
    : QWidget(parent), lblUserInfo(new QLabel(this)), lblNote(new QLabel(this)), cmdHelp(new ZelButton(this)),
      cmdAdminWindow(new ZelButton(this)), cmdQuit(new ZelButton(this)),
      m_fade(new FadeEngine(this, [this] { ClosingAction(); })) {
    setObjectName(QStringLiteral("frmMain"));
    lblUserInfo->setObjectName(QStringLiteral("lblUserInfo"));
    lblNote->setObjectName(QStringLiteral("lblNote"));
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdAdminWindow->setObjectName(QStringLiteral("cmdAdminWindow"));
    cmdQuit->setObjectName(QStringLiteral("cmdQuit"));

    connect(cmdHelp, &ZelButton::clicked, this, &frmMain::cmdHelp_Click);
    connect(cmdAdminWindow, &ZelButton::clicked, this, &frmMain::cmdAdminWindow_Click);
    connect(cmdQuit, &ZelButton::clicked, this, &frmMain::cmdQuit_Click);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, &frmMain::cmdHelp_Click);

    Form_Load();
}

QString frmMain::MainCaption() {
    const QString agency = AgencyName().trimmed();
    if (agency.isEmpty())
        return AppTitle + QStringLiteral(" - Personnel Records");
    return AppTitle + QStringLiteral(" - ") + agency;
}

void frmMain::Form_Load() {
    FadeOn = PrepareFade(this, 0, false);
    setWindowTitle(MainCaption());
    setFixedSize(TwipsToPixels(10455, this), TwipsToPixels(3600, this));
    TileBackground(BackgroundTile(), this);

    lblUserInfo->setGeometry(TwipsToPixels(240, this), TwipsToPixels(240, this), TwipsToPixels(5000, this),
                             TwipsToPixels(600, this));
    lblNote->setGeometry(TwipsToPixels(240, this), TwipsToPixels(1000, this), TwipsToPixels(9975, this),
                         TwipsToPixels(1400, this));
    lblNote->setWordWrap(true);
    lblNote->setAlignment(Qt::AlignCenter);
    lblNote->setFrameShape(QFrame::StyledPanel);
    lblNote->setText(QStringLiteral("The employee list and the employee record form will be shown here."));

    cmdHelp->setCaption(QStringLiteral("&Help"));
    cmdAdminWindow->setCaption(QStringLiteral("&Admin\r\nWindow"));
    cmdQuit->setCaption(QStringLiteral("&Quit"));
    cmdHelp->setButtonType(11);
    cmdQuit->setButtonType(11);
    const int top = TwipsToPixels(2640, this), height = TwipsToPixels(660, this), width = TwipsToPixels(1500, this);
    cmdHelp->setGeometry(TwipsToPixels(5415, this), top, width, height);
    cmdAdminWindow->setGeometry(TwipsToPixels(7095, this), top, width, height);
    cmdQuit->setGeometry(TwipsToPixels(8715, this), top, width, height);
}

void frmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!WasActivated)
        QTimer::singleShot(0, this, &frmMain::Form_Activate);
}

void frmMain::Form_Activate() {
    if (WasActivated)
        return;
    // The level name is looked up on the fly: a stored level outside 1-4 shows as no name rather than failing.
    lblUserInfo->setText(QStringLiteral("User: ") + CurrentUserName + QLatin1Char('\n') + QStringLiteral("Access: ") +
                         AccessLevelName(CurrentAccessLevel));
    cmdAdminWindow->setToolTip(QStringLiteral(" Return to the Admin Window "));
    cmdAdminWindow->show();
    cmdAdminWindow->setEnabled(true);
    cmdHelp->setToolTip(QStringLiteral(" Click here for information "));
    cmdQuit->setToolTip(QStringLiteral(" ") + AppTitle + QStringLiteral(" Click here to exit "));
    cmdQuit->show();
    cmdQuit->setCancel(true);
    if (FadeOn)
        FadeWindow(0, 255, 20, false);
    WasActivated = true;
}

void frmMain::cmdHelp_Click() {
    HelpTopicIndex = 4;
    if (FadeOn)
        FadeWindow(255, 204, 2, false);
    {
        frmManual manual(this);
        manual.exec();
    }
    if (FadeOn)
        FadeWindow(204, 255, 2, false);
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
    if (FadeOn) {
        FadeWindow(255, 204, 2, false);
        m_fade->WaitForFade();
    }
    const MsgResult answer = dialogs().MessageBox(
        this, QStringLiteral("This will close ") + AppTitle + QStringLiteral(".\r\n\r\nIs this what you want to do?"),
        QStringLiteral("Exit ") + AppTitle + QStringLiteral("?"), MsgIcon::Question, MsgButtons::YesNo);
    if (answer == MsgResult::Yes) {
        WriteUserLogEntry(2);
        if (FadeOn)
            FadeWindow(204, 0, 20, true);
        else
            ShutDownApplication();
    } else if (FadeOn) {
        FadeWindow(204, 255, 2, false);
    }
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
    if (m_closeAllowed || ShutdownInProgress()) {
        event->accept();
        return;
    }
    // Closing from the title bar goes through the quit question; it runs once the close event is over.
    event->ignore();
    QTimer::singleShot(0, this, &frmMain::cmdQuit_Click);
}
