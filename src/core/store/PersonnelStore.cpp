#include "core/store/PersonnelStore.h"

#include "core/store/FolderStore.h"

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

void SetActiveStore(std::unique_ptr<PersonnelStore> store) {
    // Whatever the store that goes held open (the folder's file and lock) ends with it.
    CloseDataFile();
    ActiveStore().CloseUserList();
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
