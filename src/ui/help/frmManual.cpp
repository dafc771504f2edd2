#include "ui/help/frmManual.h"

#include "core/base/AppGlobals.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/FirstActivation.h"
#include "ui/common/TileBackground.h"
#include "ui/common/WindowGeometry.h"
#include "ui/controls/Accessibility.h"
#include "ui/controls/ZelButton.h"
#include "core/help/HelpTexts.h"
#include "ui/print/PrintCommands.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

constexpr int AboutNumber = 7777;

bool IsTopicNumber(int number) {
    return number == 1000 || number == 1500 || number == 2000 || number == 3000 || number == 4000;
}

} // namespace

frmManual::frmManual(QWidget* parent)
    : QDialog(parent), labelHelpTopic(new QLabel(this)), txtManual(new QPlainTextEdit(this)),
      cmdHelpTopic(new ZelButton(this)), cmdPrintHelp(new ZelButton(this)), cmdReturn(new ZelButton(this)),
      menuHelpMenu(new QMenu(QStringLiteral("Help Topics"), this)), m_fade(new FadeEngine(this, [this] { accept(); })) {
    setObjectName(QStringLiteral("frmManual"));
    timerFadeInOut = m_fade->timerFadeInOut;
    CallOnActivation(this, [this] { Form_Activate(); });
    labelHelpTopic->setObjectName(QStringLiteral("labelHelpTopic"));
    txtManual->setObjectName(QStringLiteral("txtManual"));
    cmdHelpTopic->setObjectName(QStringLiteral("cmdHelpTopic"));
    cmdPrintHelp->setObjectName(QStringLiteral("cmdPrintHelp"));
    cmdReturn->setObjectName(QStringLiteral("cmdReturn"));
    menuHelpMenu->setObjectName(QStringLiteral("menuHelpMenu"));

    BuildLayout();
    BuildMenu();
    labelHelpTopic->setBuddy(txtManual);
    SetAccessibleName(txtManual, QStringLiteral("Help text"));
    connect(this, &QDialog::finished, this, [this] { SavePlacement(this); });
    PressOnKeys(this, QKeySequence(Qt::CTRL | Qt::Key_P), [this] { return cmdPrintHelp; });

    connect(cmdHelpTopic, &ZelButton::clicked, this, &frmManual::cmdHelpTopic_Click);
    connect(cmdPrintHelp, &ZelButton::clicked, this, &frmManual::cmdPrintHelp_Click);
    connect(cmdReturn, &ZelButton::clicked, this, &frmManual::cmdReturn_Click);

    Form_Load();
}

void frmManual::BuildLayout() {
    QFont headingFont = labelHelpTopic->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.6);
    headingFont.setBold(true);
    labelHelpTopic->setFont(headingFont);
    QPalette headingPalette = labelHelpTopic->palette();
    headingPalette.setColor(QPalette::WindowText, QColor(0, 96, 0));
    labelHelpTopic->setPalette(headingPalette);

    txtManual->setReadOnly(true);
    txtManual->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtManual->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtManual->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtManual->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QPalette textPalette = txtManual->palette();
    textPalette.setColor(QPalette::Base, QColor(192, 255, 192));
    textPalette.setColor(QPalette::Text, QColor(0, 0, 0));
    txtManual->setPalette(textPalette);
    QFont textFont = txtManual->font();
    textFont.setPointSizeF(textFont.pointSizeF() * 1.1);
    txtManual->setFont(textFont);
    txtManual->document()->setDocumentMargin(TwipsToPixels(120, this));

    cmdHelpTopic->setCaption(QStringLiteral("Help &Topics..."));
    cmdPrintHelp->setCaption(QStringLiteral("&Print this Topic"));
    cmdReturn->setCaption(QStringLiteral("&Close"));
    for (ZelButton* button : {cmdHelpTopic, cmdPrintHelp, cmdReturn})
        button->setMinimumSize(TwipsToPixels(1800, this), TwipsToPixels(495, this));
    cmdReturn->setCancel(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdHelpTopic);
    buttons->addWidget(cmdPrintHelp);
    buttons->addStretch(1);
    buttons->addWidget(cmdReturn);

    auto* layout = new QVBoxLayout(this);
    const int margin = TwipsToPixels(180, this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(TwipsToPixels(120, this));
    layout->addWidget(labelHelpTopic);
    layout->addWidget(txtManual, 1);
    layout->addLayout(buttons);
}

void frmManual::BuildMenu() {
    struct Entry {
        int index;
        QString caption; // empty for a separator
        int number;      // 0 when the entry carries none
    };
    const Entry entries[] = {
        {1, QStringLiteral("Overview"), 1000},
        {2, QString(), 0},
        {3, QStringLiteral("The Admin Window"), 1500},
        {4, QStringLiteral("The Employee List"), 2000},
        {5, QStringLiteral("List Display Options"), 3000},
        {6, QString(), 0},
        {7, QStringLiteral("Important Program Notes"), 4000},
        {8, QString(), 0},
        {AboutIndex, QStringLiteral("About ") + AppTitle, AboutNumber},
        {10, QString(), 0},
        {ExitIndex, QStringLiteral("Exit this Menu"), 0},
    };
    for (const Entry& entry : entries) {
        QAction* action =
            entry.caption.isEmpty() ? menuHelpMenu->addSeparator() : menuHelpMenu->addAction(entry.caption);
        if (entry.number != 0)
            action->setData(entry.number);
        action->setCheckable(IsTopicNumber(entry.number));
        const int index = entry.index;
        connect(action, &QAction::triggered, this, [this, index] { menuHelpTopic_Click(index); });
        menuHelpTopic[static_cast<size_t>(index)] = action;
    }
}

void frmManual::Form_Load() {
    FadeOn = PrepareFade(this, 0, false);
    resize(TwipsToPixels(7650, this), TwipsToPixels(7000, this));
    // On the dialogs' linen, so that the dark green heading stays readable under a dark desktop theme.
    TileBackground(BackgroundTile(), this);
    RestorePlacement(this);
    setWindowTitle(AppTitle + QStringLiteral(" - ") + QStringLiteral("Help Window"));
}

void frmManual::Form_Activate() {
    if (WasActivated)
        return;
    WasActivated = true;

    cmdPrintHelp->setToolTip(QStringLiteral(" Print this Help Topic "));
    cmdHelpTopic->setToolTip(QStringLiteral(" Show all Help Topics <F1> "));
    cmdReturn->setToolTip(QStringLiteral(" Close this Help window <Esc> "));

    AboutText = AppTitle + QStringLiteral("\r\n") + QStringLiteral("Version w") + QString::number(VersionMajor()) +
                QLatin1Char('.') + QString::number(VersionMinor()) + QLatin1Char('.') +
                QString::number(VersionRevision()) + QStringLiteral("\r\n\r\n") + AppFileDescription +
                QStringLiteral("\r\n") + QStringLiteral("©") + AppLegalNotice + QStringLiteral("\r\n\r\n");

    if (FadeOn)
        FadeWindow(0, 255, 20, false);
    menuHelpTopic_Click(HelpTopicIndex);
}

void frmManual::menuHelpTopic_Click(int index) {
    if (index < 1 || index >= static_cast<int>(menuHelpTopic.size()))
        return;
    QAction* chosen = menuHelpTopic[static_cast<size_t>(index)];
    const int number = chosen->data().toInt();
    if (number == AboutNumber) {
        dialogs().MessageBox(this, AboutText, chosen->text(), MsgIcon::Information, MsgButtons::OK);
        return;
    }
    if (!IsTopicNumber(number) || index == CurrentTopic)
        return;

    CurrentTopic = index;
    for (QAction* action : menuHelpTopic) {
        if (action && action->isCheckable())
            action->setChecked(action == chosen);
    }
    labelHelpTopic->setText(chosen->text());
    txtManual->setPlainText(HelpTopicText(number));
}

void frmManual::cmdHelpTopic_Click() {
    const QPoint corner = cmdHelpTopic->mapToGlobal(QPoint(0, 0));
    emit helpMenuPopping(corner);
    // popup() rather than exec(): a chosen item arrives through the item's triggered signal.
    menuHelpMenu->popup(corner);
}

void frmManual::cmdPrintHelp_Click() {
    if (CurrentTopic < 1)
        return;
    PrintHelpTopicCommand(this, menuHelpTopic[static_cast<size_t>(CurrentTopic)]->text(), txtManual->toPlainText());
}

void frmManual::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        cmdHelpTopic_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmManual::cmdReturn_Click() {
    m_fade->FadeOutAndClose();
}

void frmManual::FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade) {
    m_fade->FadeWindow(fadeFrom, fadeTo, fadeStep, closeAfterFade);
}

void frmManual::timerFadeInOut_Timer() {
    m_fade->timerFadeInOut_Timer();
}
