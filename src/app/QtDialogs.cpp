#include "app/QtDialogs.h"

#include "app/UrlLauncher.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

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
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, title, displayText(prompt), QLineEdit::Normal, defaultText, &ok);
    return ok ? answer : QString();
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

QString QtDialogs::BrowseForFolder(QWidget* parent, const QString& title, const QString& startFolder) {
    // A window title has one line.
    QString caption = title;
    caption.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return QFileDialog::getExistingDirectory(parent, caption, startFolder);
}

bool QtDialogs::OpenUrl(const QUrl& url) {
    // Qt's launcher reports only that xdg-open started, not whether any program took the URL.
    return LaunchUrl(url);
}

static Dialogs* g_service = nullptr;

Dialogs& dialogs() {
    static QtDialogs qtDialogs;
    return g_service ? *g_service : qtDialogs;
}

void setDialogs(Dialogs* service) {
    g_service = service;
}
