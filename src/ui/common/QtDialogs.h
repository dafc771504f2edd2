#pragma once

#include "ui/common/Dialogs.h"

// The dialogs service on real Qt dialogs.
class QtDialogs : public Dialogs {
public:
    using Dialogs::MessageBox;
    MsgResult MessageBox(QWidget* parent, const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons,
                         MsgResult defaultButton) override;
    QString InputBox(QWidget* parent, const QString& prompt, const QString& title, const QString& defaultText) override;
    QString SecretBox(QWidget* parent, const QString& prompt, const QString& title, const QString& hint) override;
    QString OpenFile(QWidget* parent, const QString& title, const QString& startFolder, const QString& filter) override;
    QString SaveFile(QWidget* parent, const QString& title, const QString& proposedPath, const QString& filter) override;
    QString BrowseForFolder(QWidget* parent, const QString& title, const QString& startFolder) override;
    bool OpenUrl(const QUrl& url) override;
};
