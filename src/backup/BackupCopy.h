#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// The file work of backup and restore: folder tests and whole-file copies that never leave a cut-off file.

// The program's folder: the data folder, which start-up made the working folder.
QString ProgramFolder();

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

// Copies source over target whole: the bytes go to a hidden temporary file beside target (owner-only), are
// flushed to the disk, and only then replace target in one rename. A copy that fails at any point (a full disk,
// a removed drive) removes its temporary file and leaves target as it was. Returns an empty text on success,
// else the system's reason.
QString CopyFileWhole(const QString& source, const QString& target);
