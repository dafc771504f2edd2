#include "ui/app/frmTitlePage.h"

#include "core/base/AppGlobals.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/FirstActivation.h"
#include "ui/common/Navigation.h"
#include "ui/app/OlderDataFile.h"
#include "ui/common/TileBackground.h"
#include "ui/app/TitleArtwork.h"
#include "ui/common/WindowGeometry.h"
#include "ui/app/frmNewUser.h"
#include "ui/controls/Accessibility.h"
#include "ui/controls/ZelButton.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>

namespace {

QFont titleFont(qreal points, int weight, bool serif = false, bool italic = false) {
    QFont font;
    if (serif)
        font.setFamilies({QStringLiteral("Georgia"), QStringLiteral("DejaVu Serif"), QStringLiteral("serif")});
    else
        font.setFamilies({QStringLiteral("Segoe UI"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                          QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(points);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(italic);
    return font;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QFont& font, const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace

QString ScreenResolutionText(int widthPixels, int heightPixels) {
    const QString crlf = QStringLiteral("\r\n");
    return AppTitle + QStringLiteral(" is designed for use on a") + crlf +
           QStringLiteral("screen resolution of at least 800x600. ") + crlf + crlf + AppTitle +
           QStringLiteral(" will not display correctly on") + crlf +
           QStringLiteral("your current screen resolution (") + QString::number(widthPixels) + QLatin1Char('x') +
           QString::number(heightPixels) + QStringLiteral(").") + crlf + crlf +
           QStringLiteral("You can adjust your screen resolution by") + crlf +
           QStringLiteral("right-clicking anywhere on your desktop,") + crlf +
           QStringLiteral("select <Properties>, then <Settings>,") + crlf +
           QStringLiteral("and then select and accept at least") + crlf +
           QStringLiteral("800x600 as your 'Screen Area'.");
}

QString ScreenResolutionTitle() {
    return QStringLiteral("Screen Resolution Issue");
}

frmTitlePage::frmTitlePage(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmTitlePage"));
    ShowAsFrame(this);
    CallOnActivation(this, [this] { Form_Activate(); });
    setWindowTitle(QStringLiteral("Title Window"));

    imgBackground = new QLabel(this);
    imgBackground->setObjectName(QStringLiteral("imgBackground"));
    imgBackground->setScaledContents(true);
    imgBackground->setPixmap(TitleBackdrop());

    imgEmblem = new QLabel(this);
    imgEmblem->setObjectName(QStringLiteral("imgEmblem"));
    // The pictures described for screen readers, which otherwise announce them as nameless images.
    imgBackground->setAccessibleName(QStringLiteral("Dark blue title background"));
    imgEmblem->setAccessibleName(QStringLiteral("Badge with a star"));

    const QColor white(255, 255, 255);
    const QColor mist(196, 212, 236);
    const QColor gold(222, 190, 112);
    labelAppTitle = makeLabel(this, "labelAppTitle", titleFont(40, QFont::Bold, true), white);
    labelAppDescription = makeLabel(this, "labelAppDescription", titleFont(13, QFont::Normal), mist);
    labelVersion = makeLabel(this, "labelVersion", titleFont(10, QFont::DemiBold), gold);
    labelPublisher =
        makeLabel(this, "labelPublisher", titleFont(9.5, QFont::Normal, false, true), QColor(160, 180, 210));
    labelPublisher->setText(QStringLiteral("Personnel records for police and public-safety agencies"));
    labelCopyright = makeLabel(this, "labelCopyright", titleFont(8, QFont::Normal), QColor(132, 150, 182));
    labelCopyright->setText(QStringLiteral("Copyright \u00A9") + AppLegalNotice);

    cmdContinue = new ZelButton(this);
    cmdContinue->setObjectName(QStringLiteral("cmdContinue"));
    cmdContinue->setButtonType(3);
    cmdContinue->setFont(titleFont(10, QFont::Bold));
    cmdContinue->setBackColor(QColor(201, 164, 84));
    cmdContinue->setBackOver(QColor(232, 200, 122));
    cmdContinue->setForeColor(QColor(14, 30, 62));
    cmdContinue->setDefault(true);
    connect(cmdContinue, &ZelButton::clicked, this, &frmTitlePage::cmdContinue_Click);

    fadeEngine = new FadeEngine(this, [this] { closeAfterFade(); });
    timerFadeInOut = fadeEngine->timerFadeInOut;

    handOver = [] { ShowAdminWindow(); };
    endProgram = [] { QCoreApplication::quit(); };
    screenPixels = [this] { return currentScreenPixels(); };

    Form_Load();
}

void frmTitlePage::Form_Load() {
    FadeOn = PrepareFade(this, 0, false);

    const auto px = [this](int twips) { return TwipsToPixels(twips, this); };
    setFixedSize(px(8745), px(4815));
    imgBackground->setGeometry(-10, -10, width() + 20, height() + 20);

    const QSize emblem(px(1500), px(1740));
    imgEmblem->setGeometry(px(560), px(620), emblem.width(), emblem.height());
    imgEmblem->setPixmap(DrawShieldEmblem(emblem, devicePixelRatioF()));
    labelAppTitle->setGeometry(px(2400), px(520), px(6000), px(1060));
    labelAppDescription->setGeometry(px(2440), px(1560), px(6000), px(420));
    labelVersion->setGeometry(px(2450), px(2020), px(4000), px(330));
    labelPublisher->setGeometry(px(2450), px(2500), px(6000), px(330));
    labelCopyright->setGeometry(px(560), px(4390), px(6000), px(300));
    cmdContinue->setGeometry(px(6840), px(3500), px(1500), px(480));

    CentreOnScreen(this);
}

void frmTitlePage::Form_Activate() {
    if (Activated)
        return;
    Activated = true;
    cmdContinue->setCaption(QStringLiteral("&Continue"));
    cmdContinue->Refresh();
    labelAppTitle->setText(AppTitle);
    labelAppDescription->setText(AppFileDescription);
    labelVersion->setText(VersionLine());
    if (FadeOn)
        FadeWindow(0, 255, 10, false);
}

void frmTitlePage::cmdContinue_Click() {
    // The first-run overview, with this window dimmed behind it.
    if (GetSetting(QStringLiteral("NewUser")) != QStringLiteral("NoShow")) {
        if (FadeOn)
            FadeWindow(255, 204, 2, false);
        QPointer<frmNewUser> overview = new frmNewUser;
        overview->exec();
        if (overview)
            overview->deleteLater();
        if (FadeOn)
            FadeWindow(204, 255, 2, false);
    }

    // A screen too narrow for the windows gets a warning; only the width matters.
    const QSize screen = screenPixels();
    if (screen.width() < 800)
        dialogs().MessageBox(this, ScreenResolutionText(screen.width(), screen.height()), ScreenResolutionTitle(),
                             MsgIcon::None, MsgButtons::OK);

    QCoreApplication::processEvents();
    if (!CheckOlderDataFile(this))
        return;

    QCoreApplication::processEvents();
    if (FadeOn) {
        FadeWindow(255, 0, 20, true);
    } else {
        // The next window opens first, so that the program never runs out of windows in between.
        handOver();
        close();
        deleteLater();
    }
}

void frmTitlePage::closeAfterFade() {
    // The data-file check marks a stop by setting the button's Tag to the caption.
    const bool stop = windowTitle() == cmdContinue->Tag;
    if (!stop)
        handOver();
    close();
    deleteLater();
    if (stop)
        endProgram();
}

void frmTitlePage::timerFadeInOut_Timer() {
    fadeEngine->timerFadeInOut_Timer();
}

void frmTitlePage::FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade) {
    fadeEngine->FadeWindow(fadeFrom, fadeTo, fadeStep, closeAfterFade);
}

QSize frmTitlePage::currentScreenPixels() const {
    const QScreen* current = screen();
    if (!current)
        return QSize(800, 600);
    return (QSizeF(current->size()) * current->devicePixelRatio()).toSize();
}

#include "moc_frmTitlePage.cpp"
