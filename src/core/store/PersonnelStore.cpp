#include "core/store/PersonnelStore.h"

#include "core/store/FolderStore.h"
#include "core/users/UserList.h"

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
    CloseUserList();
    chosenStore() = std::move(store);
    CurrentVersion = 0;
}

bool UsingServer() {
    return ActiveStore().IsServer();
}

FolderStore* ActiveFolder() {
    return dynamic_cast<FolderStore*>(&ActiveStore());
}
