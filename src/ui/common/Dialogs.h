#pragma once

#include <QString>
#include <QUrl>

class QWidget;

// Every message box, input box, file or folder dialog and URL launch of the program goes through this
// service, so that tests can answer them and check their exact texts.

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MsgResult { OK, Cancel, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Texts use CR LF between lines. defaultButton is the button that Enter presses.
    virtual MsgResult MessageBox(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                                 MsgButtons buttons, MsgResult defaultButton) = 0;
    // Returns the typed text; Cancel returns an empty text.
    virtual QString InputBox(QWidget* parent, const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
    // An input box for a secret (the access code): what is typed shows masked, and screen readers are given no
    // character of it; hint shows in the empty box. A service without masked boxes asks through InputBox, with
    // the hint as its default text.
    virtual QString SecretBox(QWidget* parent, const QString& prompt, const QString& title, const QString& hint) {
        return InputBox(parent, prompt, title, hint);
    }
    // Returns the chosen file's path, or an empty text.
    virtual QString OpenFile(QWidget* parent, const QString& title, const QString& startFolder,
                             const QString& filter) = 0;
    // Returns the path to save to, proposed first; an empty text when the user cancels. The dialog asks before a
    // file is replaced.
    virtual QString SaveFile(QWidget* parent, const QString& title, const QString& proposedPath,
                             const QString& filter) = 0;
    // Returns the chosen folder, or an empty text.
    virtual QString BrowseForFolder(QWidget* parent, const QString& title, const QString& startFolder) = 0;
    // Hands a URL (a file, a "mailto:" address) to the system; false when that failed.
    virtual bool OpenUrl(const QUrl& url) = 0;

    MsgResult MessageBox(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                         MsgButtons buttons = MsgButtons::OK) {
        return MessageBox(parent, text, title, icon, buttons, firstButton(buttons));
    }

    static MsgResult firstButton(MsgButtons buttons) {
        return buttons == MsgButtons::OK || buttons == MsgButtons::OKCancel ? MsgResult::OK : MsgResult::Yes;
    }
};

// The service in use. Defaults to the Qt implementation; tests install a scripted one.
Dialogs& dialogs();
// Installs a service (not owned); nullptr returns to the Qt implementation.
void setDialogs(Dialogs* service);
