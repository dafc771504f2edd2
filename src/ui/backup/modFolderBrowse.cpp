#include "ui/backup/modFolderBrowse.h"

#include "core/base/AppGlobals.h"
#include "ui/common/Dialogs.h"
#include "core/backup/BackupCopy.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

const QString LastFolderSetting = QStringLiteral("LastBackupFolder");

} // namespace

QString BrowseForFolder(QWidget* owner, const QString& prompt) {
    // File times come from a coarse clock that may lag this one by a few milliseconds.
    const QDateTime opened = QDateTime::currentDateTime().addSecs(-1);
    // A backup usually goes where the last one went; the first goes to a removable drive or a shared folder, both
    // reached from the home folder. The program's own folder would only invite the same-folder refusal.
    const QString last = GetSetting(LastFolderSetting);
    const QString start = !last.isEmpty() && QFileInfo(last).isDir() ? last : QDir::homePath();
    const QString folder = dialogs().BrowseForFolder(owner, prompt, start);
    // A folder the user made in the chooser will hold social security numbers.
    if (!folder.isEmpty()) {
        NarrowFolderMadeSince(folder, opened);
        SaveSetting(LastFolderSetting, folder);
    }
    return folder;
}
