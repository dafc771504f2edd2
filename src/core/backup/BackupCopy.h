#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// The file work of backup and restore: folder tests and whole-file copies that never leave a cut-off file.

// True when both paths name the same folder once symbolic links and "." or ".." are resolved. Letter case
// counts: on this system "Backup" and "backup" are two folders.
bool IsSameFolder(const QString& a, const QString& b);

// The path with "/" appended unless it already ends with one (the root "/" stays as it is).
QString WithTrailingSlash(const QString& path);

// The names of the files (regular, not hidden) in a folder, or nothing when the folder cannot be listed.
std::optional<QStringList> ListFolderFiles(const QString& folder);

// Whether folder holds a file called name: nothing when the folder itself cannot be reached.
std::optional<bool> FolderHoldsFile(const QString& folder, const QString& name);

// True when a regular file called name is in folder.
bool FileExistsIn(const QString& folder, const QString& name);

// Makes folder open to its owner only (0700) when it was created at or after since: a folder made for the
// backup while the chooser was open. An older folder keeps its permissions, since it may serve others too.
// Returns true when the folder was narrowed.
bool NarrowFolderMadeSince(const QString& folder, const QDateTime& since);

// Copies source over target whole: the bytes go to a hidden temporary file beside target (owner-only, named
// "." + target's name + "." + six letters or digits), are flushed to the disk, and only then replace target in
// one rename. A copy that fails at any point (a full disk, a removed drive) removes its temporary file and leaves
// target as it was. The temporary file carries a kernel lock for as long as the copy lives. Returns an empty text
// on success, else the system's reason.
QString CopyFileWhole(const QString& source, const QString& target);

// Writes content as target whole, as CopyFileWhole copies: through a locked hidden temporary file, flushed before
// one rename, so that a failed or killed write never leaves target cut short or empty. Returns an empty text on
// success, else the reason.
QString WriteFileWhole(const QString& target, const QByteArray& content);

// Deletes from folder the temporary files of copies of the data files (DataFileList) that were killed before they
// could remove them: each holds employees' personal data. Only the user's own regular files whose lock no living
// copy holds are deleted; any other file, and any that cannot be deleted, is left alone. Returns the number
// deleted.
int ClearAbandonedCopies(const QString& folder);

// Clears what killed writers left in the data folder (the working folder), under its write lock: "TempFile.$$$",
// which no living writer holds without that lock, and the abandoned copies of a restore. Throws FileError when the
// lock cannot be had or "TempFile.$$$" cannot be deleted.
void ClearDataFolderLeftovers();
