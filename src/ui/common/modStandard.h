#pragma once

#include <QString>

class QWidget;

// modStandard: general routines shared by the windows.

// Hands a target to the desktop. Mode 1 (e-mail): "mailto:" and the address go to the desktop's launcher, which
// opens the user's mail program with a new message to it. When the launcher reports failure the user is told,
// "Could not establish an internet connection!" (title "Error", critical icon). Other modes do nothing. owner is
// the window the message belongs to.
void OpenShellTarget(qint16 mode, QWidget* owner, const QString& target);

// The URL mode 1 hands over for an address: "mailto:" and the address, which stays one address: characters that
// would start the URL's query or fragment ("?", "#") or an escape ("%") are percent-encoded rather than read as
// instructions to the mail program (an "?attach=" part could attach a file).
QString MailtoUrl(const QString& address);
