#pragma once

#include "core/base/UniqueFd.h"

#include <QString>

#include <functional>

// A folder of files that must appear together or not at all (a dated backup, a server's data written out as a
// folder) is built in a hidden folder beside its target, ".NAME.partial-" and six letters or digits, owner-only,
// and shown under its name by one rename once every file in it is flushed. A writer killed on the way leaves only
// the hidden folder, never a folder under the target's name that looks whole. The builder holds a kernel lock on
// the hidden folder for its life, so a clearing run never takes a living build for an abandoned one.
class StagingFolder {
public:
    // Throws FileError when the folder cannot be made beside target.
    explicit StagingFolder(const QString& target);
    // Removes the folder with what it holds, unless it was published.
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const QString& path() const { return m_path; }

    // Flushes the folder, renames it to the target and flushes the target's parent. The target must not exist,
    // or, with replaceEmpty, may be an empty folder, which the rename replaces; a target holding anything is never
    // touched. Throws FileError with the reason; the hidden folder then stays until this object goes.
    void publish(bool replaceEmpty = false);

private:
    QString m_target;
    QString m_path;
    UniqueFd m_lock;
    bool m_published = false;
};

// Removes from parent the hidden folders of builds that were killed (no living build holds their lock), of this
// account, for targets whose names isTarget accepts; the others, and any that cannot be removed, stay. Returns the
// number removed.
int ClearAbandonedStagingFolders(const QString& parent, const std::function<bool(const QString& target)>& isTarget);
