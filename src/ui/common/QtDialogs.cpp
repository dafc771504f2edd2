#include "ui/common/QtDialogs.h"

#include "ui/common/Dialogs.h"
#include "ui/common/UrlLauncher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpacerItem>

namespace {

// A box sized to a short text would cut its own title ("What are... u doing?"). The window manager draws the
// title, usually in bold, beside the window's icon and buttons: the width that takes.
int TitleRoom(const QWidget& box, const QString& title) {
    QFont bold = box.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return metrics.horizontalAdvance(title) + 6 * metrics.height();
}

// A message box fixes its own size from its layout: the room is held open across it.
void HoldRoomForTitle(QMessageBox& box, const QString& title) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    grid->addItem(new QSpacerItem(TitleRoom(box, title), 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
                  0, 1, grid->columnCount());
}

// Message texts carry CR LF; Qt's labels want plain line feeds.
QString displayText(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QMessageBox::StandardButton toStandard(MsgResult r) {
    switch (r) {
    case MsgResult::OK:
        return QMessageBox::Ok;
    case MsgResult::Cancel:
        return QMessageBox::Cancel;
    case MsgResult::Yes:
        return QMessageBox::Yes;
    case MsgResult::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

// The folder chooser, which takes the name of a folder that does not exist yet as one to make: a backup often
// goes into a new folder, and Qt's own chooser would only answer "Directory not found".
class FolderChooser : public QFileDialog {
public:
    FolderChooser(QWidget* parent, const QString& caption, const QString& startFolder)
        : QFileDialog(parent, caption, startFolder) {
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly);
    }

    void accept() override {
        const QString typed = selectedFiles().value(0);
        if (!typed.isEmpty() && !QFileInfo::exists(typed) && !MakeFolder(QDir::cleanPath(typed)))
            return;
        QFileDialog::accept();
    }

private:
    bool MakeFolder(const QString& path) {
        const QString shown = QDir::toNativeSeparators(path);
        if (dialogs().MessageBox(this,
                                 QStringLiteral("The folder\r\n\r\n'") + shown +
                                     QStringLiteral("'\r\n\r\ndoes not exist. Would you like to create it?"),
                                 QStringLiteral("Create Folder?"), MsgIcon::Question, MsgButtons::YesNo,
                                 MsgResult::Yes) != MsgResult::Yes)
            return false;
        // Made for the owner alone: it is about to hold social security numbers.
        if (!QDir().mkpath(path) ||
            !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
            dialogs().MessageBox(
                this, QStringLiteral("The folder\r\n\r\n'") + shown + QStringLiteral("'\r\n\r\ncould not be created."),
                QStringLiteral("Create Folder?"), MsgIcon::Exclamation, MsgButtons::OK);
            return false;
        }
        return true;
    }
};

} // namespace

MsgResult QtDialogs::MessageBox(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                                MsgButtons buttons, MsgResult defaultButton) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(displayText(text));
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case MsgButtons::OK:
        set = QMessageBox::Ok;
        break;
    case MsgButtons::OKCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case MsgButtons::YesNo:
        set = QMessageBox::Yes | QMessageBox::No;
        break;
    case MsgButtons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    box.setStandardButtons(set);
    box.setDefaultButton(toStandard(defaultButton));
    HoldRoomForTitle(box, title);
    const int r = box.exec();
    switch (r) {
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Ok:
        return MsgResult::OK;
    default:
        // Closing the box from its title bar counts as its escape button.
        if (buttons == MsgButtons::OK)
            return MsgResult::OK;
        if (buttons == MsgButtons::YesNo)
            return MsgResult::No;
        return MsgResult::Cancel;
    }
}

QString QtDialogs::InputBox(QWidget* parent, const QString& prompt, const QString& title, const QString& defaultText) {
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(displayText(prompt));
    box.setTextValue(defaultText);
    // The dialog takes its size from its layout; the entry line carries the room.
    if (auto* line = box.findChild<QLineEdit*>()) {
        const QMargins margins = box.layout() ? box.layout()->contentsMargins() : QMargins();
        line->setMinimumWidth(TitleRoom(box, title) - margins.left() - margins.right());
    }
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

QString QtDialogs::SecretBox(QWidget* parent, const QString& prompt, const QString& title, const QString& hint) {
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(displayText(prompt));
    box.setTextEchoMode(QLineEdit::Password);
    if (auto* edit = box.findChild<QLineEdit*>())
        edit->setPlaceholderText(hint);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

QString QtDialogs::OpenFile(QWidget* parent, const QString& title, const QString& startFolder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, startFolder, filter);
}

QString QtDialogs::SaveFile(QWidget* parent, const QString& title, const QString& proposedPath,
                            const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, proposedPath, filter);
}

QString QtDialogs::BrowseForFolder(QWidget* parent, const QString& title, const QString& startFolder) {
    // A window title has one line.
    QString caption = title;
    caption.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    FolderChooser chooser(parent, caption, startFolder);
    if (chooser.exec() != QDialog::Accepted)
        return QString();
    return QDir::cleanPath(chooser.selectedFiles().value(0));
}

bool QtDialogs::OpenUrl(const QUrl& url) {
    // Qt's launcher reports only that xdg-open started, not whether any program took the URL.
    return url.isLocalFile() ? LaunchFile(url.toLocalFile()) : LaunchUrl(url);
}

static Dialogs* g_service = nullptr;

Dialogs& dialogs() {
    static QtDialogs qtDialogs;
    return g_service ? *g_service : qtDialogs;
}

void setDialogs(Dialogs* service) {
    g_service = service;
}
