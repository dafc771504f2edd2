#include "backup/modFolderBrowse.h"

#include "app/Dialogs.h"
#include "backup/BackupCopy.h"

#include <QDateTime>
#include <QDir>

QString BrowseForFolder(QWidget* owner, const QString& prompt) {
    // File times come from a coarse clock that may lag this one by a few milliseconds.
    const QDateTime opened = QDateTime::currentDateTime().addSecs(-1);
    // A backup usually goes to a removable drive or a shared folder, both reached from the home folder; the
    // program's own folder would only invite the same-folder refusal.
    const QString folder = dialogs().BrowseForFolder(owner, prompt, QDir::homePath());
    // A folder the user made in the chooser will hold social security numbers.
    if (!folder.isEmpty())
        NarrowFolderMadeSince(folder, opened);
    return folder;
}
