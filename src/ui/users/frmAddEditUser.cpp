#include "ui/users/frmAddEditUser.h"

#include "core/base/AppGlobals.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/TileBackground.h"
#include "ui/common/WindowGeometry.h"
#include "ui/controls/Accessibility.h"
#include "ui/controls/Cp1252Entry.h"
#include "ui/controls/ZelButton.h"
#include "ui/history/HistoryRefusal.h"
#include "core/users/UserHistory.h"
#include "core/base/DateRules.h"
#include "core/users/UserList.h"
#include "ui/users/frmAdmin.h"

#include <QButtonGroup>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>

namespace {

const QString kEditMode = QStringLiteral("View/Edit this User");
const QString kPasswordHint = QStringLiteral("<4 to 8 chars only>");
const QColor kFace(0, 255, 255);
const QColor kAddingFocus(255, 255, 0);
const QColor kEditingFocus(255, 192, 255);
const QColor kNavy(0, 0, 128);
const QColor kCheckedText(0, 0, 64);
const QColor kRequired(192, 0, 0);

constexpr int kFirstName = 1, kLastName = 2, kPassword = 3, kComments = 4;

} // namespace

frmAddEditUser::frmAddEditUser(frmAdmin* admin)
    : QDialog(admin), m_admin(admin), m_fade(new FadeEngine(this, [this] { Leave(); })) {
    setObjectName(QStringLiteral("frmAddEditUser"));
    setModal(true);
    BuildControls();
    Form_Load();
}

int frmAddEditUser::Twips(int twips) const {
    return TwipsToPixels(twips, this);
}

void frmAddEditUser::BuildControls() {
    imgBackground = new QLabel(this);
    imgBackground->setObjectName(QStringLiteral("imgBackground"));
    imgBackground->setPixmap(BackgroundTile());
    imgBackground->hide();

    auto label = [this](const QString& name, const QString& caption, int left, int top, int width) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(name);
        l->setGeometry(Twips(left), Twips(top), Twips(width), Twips(240));
        if (caption.startsWith(QLatin1Char('*'))) {
            QPalette p = l->palette();
            p.setColor(QPalette::WindowText, kRequired);
            l->setPalette(p);
        }
        return l;
    };
    auto box = [this](int index, int maxLength, int left, int top, int width) {
        auto* e = new QLineEdit(this);
        InstallCp1252Entry(e, maxLength);
        e->setGeometry(Twips(left), Twips(top), Twips(width), Twips(330));
        txtField[index] = e;
        connect(e, &QLineEdit::textChanged, this, [this, index] { txtField_Change(index); });
    };

    lblField[kFirstName] = label(QStringLiteral("lblField(1)"), QStringLiteral("* First Name"), 240, 240, 2700);
    box(kFirstName, 15, 240, 480, 2700);
    lblField[kLastName] = label(QStringLiteral("lblField(2)"), QStringLiteral("* Last Name"), 3120, 240, 2740);
    box(kLastName, 20, 3120, 480, 2740);
    lblField[kPassword] = label(QStringLiteral("lblField(3)"), QStringLiteral("* Password"), 240, 960, 2700);
    box(kPassword, 19, 240, 1200, 2700);

    lblAccessLevel = label(QStringLiteral("lblAccessLevel"), QStringLiteral("* Access Level"), 3120, 960, 2740);
    auto* levels = new QButtonGroup(this);
    for (int i = 1; i <= 4; ++i) {
        auto* option = new QRadioButton(this);
        option->setObjectName(QStringLiteral("optAccessLevel(%1)").arg(i));
        option->setGeometry(Twips(3240), Twips(1200 + (i - 1) * 300), Twips(2620), Twips(300));
        levels->addButton(option, i);
        optAccessLevel[i] = option;
        connect(option, &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                optAccessLevel_Click(i);
        });
    }

    lblDateCreated = new QLabel(this);
    lblDateCreated->setObjectName(QStringLiteral("lblDateCreated"));
    lblDateCreated->setGeometry(Twips(240), Twips(1680), Twips(2700), Twips(480));
    lblDateCreated->setWordWrap(true);
    lblDateCreated->hide();

    lblField[kComments] = label(QStringLiteral("lblField(4)"), QStringLiteral(" Comments"), 240, 2520, 2700);
    lblSpaceFull = new QLabel(this);
    lblSpaceFull->setObjectName(QStringLiteral("lblSpaceFull"));
    lblSpaceFull->setGeometry(Twips(3800), Twips(2520), Twips(2060), Twips(240));
    lblSpaceFull->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblSpaceFull->hide();
    auto* comments = new QPlainTextEdit(this);
    comments->setGeometry(Twips(240), Twips(2760), Twips(5620), Twips(1800));
    comments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    comments->setTabChangesFocus(true);
    InstallCp1252Entry(comments, CommentsLength);
    txtField[kComments] = comments;
    connect(comments, &QPlainTextEdit::textChanged, this, [this] { txtField_Change(kComments); });

    lblMandatory = label(QStringLiteral("lblMandatory"), QStringLiteral("* (Mandatory Entry)"), 240, 4800, 2000);

    cmdSave = new ZelButton(this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setGeometry(Twips(2400), Twips(4700), Twips(1600), Twips(600));
    cmdCancel = new ZelButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(Twips(4200), Twips(4700), Twips(1660), Twips(600));
    connect(cmdSave, &ZelButton::clicked, this, &frmAddEditUser::cmdSave_Click);
    connect(cmdCancel, &ZelButton::clicked, this, &frmAddEditUser::cmdCancel_Click);

    for (int i = 1; i <= 4; ++i) {
        txtField[i]->setObjectName(QStringLiteral("txtField(%1)").arg(i));
        txtField[i]->installEventFilter(this);
        SetFieldFace(i, kFace);
        LinkCaption(lblField[i], txtField[i]);
        SetRequired(txtField[i], i != kComments);
    }
    setTabOrder(txtField[kFirstName], txtField[kLastName]);
    setTabOrder(txtField[kLastName], txtField[kPassword]);
    setTabOrder(txtField[kPassword], optAccessLevel[1]);
    for (int i = 1; i < 4; ++i)
        setTabOrder(optAccessLevel[i], optAccessLevel[i + 1]);
    setTabOrder(optAccessLevel[4], txtField[kComments]);
}

void frmAddEditUser::Form_Load() {
    setFixedSize(Twips(6100), Twips(5800));
    TileBackground(imgBackground->pixmap(), this);
    FadeOn = PrepareFade(this, 0, false);
}

bool frmAddEditUser::Editing() const {
    return Tag == kEditMode;
}

QLineEdit* frmAddEditUser::lineField(int index) const {
    return index >= 1 && index <= 3 ? static_cast<QLineEdit*>(txtField[index]) : nullptr;
}

QPlainTextEdit* frmAddEditUser::commentsField() const {
    return static_cast<QPlainTextEdit*>(txtField[kComments]);
}

QString frmAddEditUser::FieldText(int index) const {
    // Line breaks in the comments are CR LF in the file, as in every multi-line text of the program.
    if (index == kComments)
        return commentsField()->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QLineEdit* e = lineField(index);
    return e ? e->text() : QString();
}

void frmAddEditUser::SetFieldText(int index, const QString& text) {
    if (index == kComments)
        commentsField()->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    else if (QLineEdit* e = lineField(index))
        e->setText(text);
}

QColor frmAddEditUser::FieldFace(int index) const {
    return txtField[index]->palette().color(QPalette::Base);
}

void frmAddEditUser::SetFieldFace(int index, const QColor& colour) {
    QPalette p = txtField[index]->palette();
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Text, kNavy);
    txtField[index]->setPalette(p);
}

QString frmAddEditUser::SpaceFullCaption(int length) {
    const double share = std::max(static_cast<double>(length) / CommentsLength, 0.01);
    return QStringLiteral(" ") + QString::number(qRound(share * 100)) + QStringLiteral("% full ");
}

void frmAddEditUser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!Activated)
        QTimer::singleShot(0, this, &frmAddEditUser::Form_Activate);
}

void frmAddEditUser::Form_Activate() {
    if (Activated)
        return;
    setWindowTitle(AppTitle + QStringLiteral(" - ") + Tag);
    for (int i = 1; i <= 4; ++i)
        optAccessLevel[i]->setText(AccessLevelName(i));

    if (!Editing()) {
        // Opening creates an empty list file when there is none, so that the first user becomes record 1.
        OpenUserList();
        CloseUserList();
        RecordNumber = UserListCount + 1;
        cmdSave->setCaption(QStringLiteral("&Save\r\nNew Entry"));
        cmdSave->setEnabled(false);
        cmdCancel->setCaption(QStringLiteral("&Cancel\r\nNew Entry"));
        optAccessLevel[1]->setChecked(true);
        optAccessLevel_Click(1);
    } else {
        if (m_admin)
            RecordNumber = m_admin->SelectedRecNum();
        cmdSave->setCaption(QStringLiteral("&Save\r\nChanges"));
        cmdSave->hide();
        cmdCancel->setCaption(QStringLiteral("&Finished\r\nViewing"));
        OpenUserList();
        ReadUserRecord(RecordNumber);
        CloseUserList();
        lblDateCreated->setText(QStringLiteral(" Record Created ") + FormatStampAmPm(CurrentUser.DateCreated));
        lblDateCreated->show();
        // A stored level outside 1-4 leaves the first option checked rather than none.
        const int level = CurrentUser.AccessLevel >= 1 && CurrentUser.AccessLevel <= 4 ? CurrentUser.AccessLevel : 1;
        optAccessLevel[level]->setChecked(true);
        optAccessLevel_Click(level);
        SetFieldText(kFirstName, CurrentUser.FirstName.trimmed());
        SetFieldText(kLastName, CurrentUser.LastName.trimmed());
        SetFieldText(kPassword, UnscramblePassword(CurrentUser.Password));
        SetFieldText(kComments, CurrentUser.Comments.trimmed());
    }

    cmdSave->Refresh();
    cmdCancel->Refresh();
    Activated = true;
    txtField[kFirstName]->setFocus();
    txtField_GotFocus(kFirstName);
    if (FadeOn)
        FadeWindow(0, 255, 20, false);
}

bool frmAddEditUser::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        for (int i = 1; i <= 4; ++i) {
            if (watched != txtField[i])
                continue;
            if (event->type() == QEvent::FocusIn)
                // After the click that brought the focus has placed the cursor, or the selection would be lost.
                QTimer::singleShot(0, this, [this, i] {
                    if (txtField[i]->hasFocus())
                        txtField_GotFocus(i);
                });
            else
                txtField_LostFocus(i);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAddEditUser::txtField_GotFocus(int index) {
    SetFieldFace(index, Editing() ? kEditingFocus : kAddingFocus);
    if (index == kPassword && FieldText(kPassword).isEmpty())
        SetFieldText(kPassword, kPasswordHint);
    if (index == kComments)
        commentsField()->selectAll();
    else
        lineField(index)->selectAll();
}

void frmAddEditUser::txtField_LostFocus(int index) {
    SetFieldFace(index, kFace);
}

void frmAddEditUser::txtField_Change(int index) {
    if (index == kComments) {
        // The entry rule keeps the box within the field's width, a line break counting two places.
        const int length = static_cast<int>(FieldText(kComments).size());
        lblSpaceFull->setVisible(length > 0);
        if (length > 0)
            lblSpaceFull->setText(SpaceFullCaption(length));
    }
    EntryChanged();
}

void frmAddEditUser::optAccessLevel_Click(int index) {
    SelectedLevel = static_cast<qint16>(index);
    for (int i = 1; i <= 4; ++i) {
        const bool checked = i == index;
        QFont f = optAccessLevel[i]->font();
        f.setBold(checked);
        optAccessLevel[i]->setFont(f);
        QPalette p = optAccessLevel[i]->palette();
        p.setColor(QPalette::WindowText, checked ? kCheckedText : kNavy);
        p.setColor(QPalette::ButtonText, checked ? kCheckedText : kNavy);
        optAccessLevel[i]->setPalette(p);
    }
    EntryChanged();
}

void frmAddEditUser::EntryChanged() {
    if (!Activated)
        return;
    const bool complete = !FieldText(kFirstName).trimmed().isEmpty() && !FieldText(kLastName).trimmed().isEmpty() &&
                          !FieldText(kPassword).trimmed().isEmpty();
    if (!cmdSave->isHidden())
        cmdSave->setEnabled(complete);
    else
        cmdSave->setVisible(complete);
    if (Editing())
        cmdCancel->setCaption(QStringLiteral("&Cancel\r\nChanges"));
}

void frmAddEditUser::cmdSave_Click() {
    if (!IsValidPassword(FieldText(kPassword))) {
        dialogs().MessageBox(
            this, QStringLiteral("The password must be\r\n4 to 8 characters, using\r\nletters and numbers only."),
            QStringLiteral("Invalid Password Entry"), MsgIcon::Exclamation, MsgButtons::OK);
        txtField[kPassword]->setFocus();
        return;
    }
    OpenUserList();
    ReadUserRecord(RecordNumber);
    const UserRecord before = CurrentUser;
    if (!Editing())
        CurrentUser.DateCreated = NowOADate();
    CurrentUser.FirstName = FieldText(kFirstName).trimmed();
    CurrentUser.LastName = FieldText(kLastName).trimmed();
    CurrentUser.Password = ScramblePassword(FieldText(kPassword));
    CurrentUser.AccessLevel = SelectedLevel;
    CurrentUser.Comments = FieldText(kComments).trimmed();
    if (!ChangeOrExplain(this, [this, &before] { WriteUserRecordWithHistory(RecordNumber, before); }))
        return;
    CloseUserList();
    if (m_admin)
        (Editing() ? m_admin->cmdEditUser : m_admin->cmdAddUser)->Tag = QStringLiteral("Update");
    cmdCancel_Click();
}

void frmAddEditUser::cmdCancel_Click() {
    m_fade->FadeOutAndClose();
}

void frmAddEditUser::reject() {
    if (m_leaving) {
        QDialog::reject();
        return;
    }
    // Already fading out on the way to closing.
    if (m_fade->IsFading() && m_fade->CloseAfterFade == -1)
        return;
    cmdCancel_Click();
}

void frmAddEditUser::Leave() {
    m_leaving = true;
    QDialog::reject();
}

void frmAddEditUser::FadeWindow(quint8 fadeFrom, quint8 fadeTo, quint8 fadeStep, bool closeAfterFade) {
    m_fade->FadeWindow(fadeFrom, fadeTo, fadeStep, closeAfterFade);
}

void frmAddEditUser::timerFadeInOut_Timer() {
    m_fade->timerFadeInOut_Timer();
}
