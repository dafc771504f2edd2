#include "ui/common/modStandard.h"

#include "ui/common/Dialogs.h"

#include <QApplication>
#include <QUrl>

QString MailtoUrl(const QString& address) {
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address, QUrl::DecodedMode);
    return url.toString(QUrl::FullyEncoded);
}

void OpenShellTarget(qint16 mode, QWidget* owner, const QString& target) {
    if (mode != 1)
        return;
    bool launched = false;
    {
        // The launcher may take a moment to tell whether a mail program took the address.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            launched = dialogs().OpenUrl(QUrl(MailtoUrl(target), QUrl::StrictMode));
        } catch (...) {
            launched = false;
        }
        QApplication::restoreOverrideCursor();
    }
    if (!launched)
        dialogs().MessageBox(owner, QStringLiteral("Could not establish an internet connection!"),
                             QStringLiteral("Error"), MsgIcon::Critical, MsgButtons::OK);
}
