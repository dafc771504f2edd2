#pragma once

#include "core/base/UniqueFd.h"

#include <QString>

#include <new>

// The data folder, an absolute path, chosen once before the first file is opened (UseDataFolder in the program,
// the same in vardel-data). Every file of the folder is opened by a path built from it, never by a bare name, so
// the process's working directory plays no part and a module that changes it cannot send a write elsewhere. Until
// one is chosen (a test of a module), the working directory as it is at each call.
QString DataFolder();
// name in the data folder, an absolute path.
QString DataFolderFile(const QString& name);
// Checks the folder (EnsurePrivateFolder when create, else it must exist as a folder; RequireSafeDataFolder) and
// makes it the data folder. Throws FileError. An empty folder goes back to the working directory (tests).
void UseDataFolder(const QString& folder, bool create = true);
// How a message names a file: by its path inside the data folder ("Vardel.Data", "Backups/2026-…/User.List"), as
// the clerk knows the folder's files, and by its full path elsewhere.
QString ShownPath(const QString& path);

// Creates the data folder (and missing parents) open to its owner only; an existing folder is left as it is.
// Throws FileError when the folder cannot be made.
void EnsurePrivateFolder(const QString& path);

// Makes a file that holds secrets (the settings with the access code's hash) readable by its owner only: creates
// it empty with mode 0600 when missing, in a folder made private when missing, or narrows an existing one to 0600.
// Writers that replace the file by rename keep the mode they find. Throws FileError.
void MakeFilePrivate(const QString& path);

// Throws FileError (UnsafeFolderText) when other users could change the folder's contents: group- or
// world-writable, with the sticky bit or without. Another user there could swap the data files or plant links in
// them.
void RequireSafeDataFolder(const QString& path);
QString UnsafeFolderText(const QString& path, unsigned mode);

// The file in the data folder whose kernel locks the writers share. It is created once (owner-only) and never
// deleted: deleting a lock file lets two processes lock two different files.
inline const QString DataFolderLockFileName = QStringLiteral(".vardel.lock");

// Held for the whole of every write to a data folder: an update or append in place, a rewrite through
// "TempFile.$$$" (the temporary file's whole life included), a log line, a backup or restore copy, a demo file.
// Every process that writes a data folder (the program and vardel-data alike) takes it, so two writers never
// meet in one folder. Usage:
//
//     DataFolderLock guard;            // the data folder
//     ... write, rename, delete ...
//
// Guards nest within one process: an inner guard on a folder this process already holds costs nothing, and the
// lock ends with the outermost guard. A holder in another process gets DataFolderLockWait() milliseconds
// (5 s) to finish; after that the constructor throws FileError with DataFolderBusyText, having changed nothing.
// It also throws when the folder is unsafe (RequireSafeDataFolder) or the lock file cannot be opened.
// The lock is a kernel lock on an open file: a writer that dies releases it at once.
class DataFolderLock {
public:
    explicit DataFolderLock(const QString& folder = DataFolder());
    // Does not wait and does not throw; check isHeld(). For work that may be skipped when the folder is busy.
    DataFolderLock(const QString& folder, std::nothrow_t);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    bool isHeld() const { return m_held; }

private:
    void acquire(const QString& folder, int waitMs);

    QString m_key;
    bool m_held = false;
};

// True while this process holds the write lock of folder (through any guard).
bool HoldsDataFolderLock(const QString& folder = DataFolder());

// How long a writer waits for another one, in milliseconds. Returns the previous value; for tests.
int SetDataFolderLockWait(int milliseconds);
int DataFolderLockWait();

// The message of a writer that could not get the lock in time.
QString DataFolderBusyText(const QString& folder);

// A running program's claim on its data folder, held for the whole run, so that a second copy of the program on
// the same folder is refused whatever its runtime folder. Separate from the write lock, which lasts one write:
// vardel-data may read the folder while the program runs, but its commands that write records refuse
// (RequireNoProgramOnFolder), for the program's windows hold slot numbers that such a write would move.
class DataFolderClaim {
public:
    explicit DataFolderClaim(const QString& folder);
    ~DataFolderClaim();
    DataFolderClaim(const DataFolderClaim&) = delete;
    DataFolderClaim& operator=(const DataFolderClaim&) = delete;

    // False when another process holds the claim. Throws FileError when the lock file cannot be opened.
    bool tryAcquire();
    bool isHeld() const { return bool(m_fd); }
    void release();

private:
    QString m_folder;
    UniqueFd m_fd;
};

// True while a running program (this process or another) holds its claim on folder. A folder without a lock file
// has never been claimed.
bool ProgramHoldsFolder(const QString& folder = DataFolder());
// Every command that writes records into a data folder from outside the program (demo --replace, convert, an
// import, a restore from the command line) calls this first: it throws FileError with ProgramHoldsFolderText
// while the program runs on the folder, before anything is written.
void RequireNoProgramOnFolder(const QString& folder = DataFolder());
QString ProgramHoldsFolderText(const QString& folder);
