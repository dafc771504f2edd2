#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Hands a URL to the desktop's launcher (xdg-open) and learns whether it was taken. xdg-open says by its exit
// status whether any program accepted the URL, which Qt's own launcher does not wait to hear. On some desktops
// xdg-open runs the chosen program in the foreground until that program ends; a launcher still running after
// waitMs is taken to have started it, and it is left to run on after this program has ended.

struct UrlLauncher {
    QString Program = QStringLiteral("xdg-open");
    QStringList Arguments; // placed before the URL
    int WaitMs = 2000;
    // Names the desktop's program for a kind of file: run as HandlerQuery "query" "default" <MIME type>.
    QString HandlerQuery = QStringLiteral("xdg-mime");
};

// True when the launcher took the URL: it ended with exit status 0 or was still running after the wait. False when
// it could not be started, crashed, or ended with any other status.
bool LaunchUrl(const QUrl& url, const UrlLauncher& launcher = UrlLauncher());

// Opens a file with the desktop's program for its kind. With none, xdg-open falls back on whatever it finds (a
// pager without a terminal, say) that ends at once "successfully" and shows nothing; so a file whose kind has
// no program is not handed over at all, and false is returned.
bool LaunchFile(const QString& path, const UrlLauncher& launcher = UrlLauncher());
