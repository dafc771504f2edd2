#include "core/store/PersonnelStore.h"

#include "core/store/FolderStore.h"

#include <QDir>

qint64 CurrentVersion = 0;

namespace {

std::unique_ptr<PersonnelStore>& chosenStore() {
    static std::unique_ptr<PersonnelStore> store;
    return store;
}

FolderStore& defaultFolder() {
    static FolderStore folder;
    return folder;
}

} // namespace

PersonnelStore& ActiveStore() {
    if (const auto& store = chosenStore())
        return *store;
    return defaultFolder();
}

QString PersonnelStore::LocalFolder() const {
    return m_localFolder.isEmpty() ? QDir::currentPath() : m_localFolder;
}

void PersonnelStore::SetLocalFolder(const QString& folder) {
    m_localFolder = folder.isEmpty() ? QString() : QDir::cleanPath(QDir(folder).absolutePath());
}

QString DataFolder() {
    return ActiveStore().LocalFolder();
}

QString DataFolderFile(const QString& name) {
    return QDir(DataFolder()).filePath(name);
}

void SetActiveStore(std::unique_ptr<PersonnelStore> store) {
    // Whatever the store that goes held open (the folder's file and lock) ends with it.
    CloseDataFile();
    ActiveStore().CloseUserList();
    if (store && store->m_localFolder.isEmpty())
        store->m_localFolder = ActiveStore().m_localFolder;
    chosenStore() = std::move(store);
    CurrentVersion = 0;
}

void CommitWithHistory(const QList<ChangeEvent>& events, const std::function<void()>& change) {
    ActiveStore().Commit(events, change);
}

QByteArray ActiveChangeLog() {
    return ActiveStore().History();
}

FolderStore* ActiveFolder() {
    return dynamic_cast<FolderStore*>(&ActiveStore());
}
