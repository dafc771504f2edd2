#pragma once

#include "core/base/UniqueFd.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

// Every file Vardel opens by a path (a data file, the user list, the log, a picture, a backup, a file named on
// the command line) must be a regular file. Anything else is refused, whatever the file system says of its size:
// a folder is not an empty data file, and a named pipe or a device must never make the program wait for ever.
// These open without waiting (O_NONBLOCK) and then check what the opened descriptor is, so that nothing can be
// swapped in between the check and the use.

// "NAME: Is a directory" for a folder, "NAME: Not a regular file" for a pipe, socket or device.
QString NotRegularFileText(const QString& path, unsigned mode);

// The refusals of a data file or log that is a symbolic link, or that belongs to another account: either could
// make the program write where someone else chose.
QString LinkRefusedText(const QString& path);
QString ForeignFileRefusedText(const QString& path);

// Opens path with open(2) flags (O_CREAT makes it with mode 0600) and returns the descriptor, which then names a
// regular file. Links are followed: the path came from a user. Throws FileError; when the open itself fails the
// text is the system's.
UniqueFd OpenRegularFile(const QString& path, int flags);

// The same for the files of the data folder (the data file, the user list, the log): never through a symbolic
// link, only a file of this account, and one that others could read is narrowed to owner read/write (0600).
// The whole content of the file at path, empty when there is none. Throws FileError when it cannot be read.
QByteArray ReadFileIfPresent(const QString& path);

// Throws FileError (LinkRefusedText, ForeignFileRefusedText).
UniqueFd OpenDataFolderFile(const QString& path, int flags);

// The file at path opened for reading as a regular file, for readers that take a QIODevice (pictures, the log);
// null with the reason in *error otherwise. ownFile applies the data folder's rules of OpenDataFolderFile.
std::unique_ptr<QFile> OpenRegularFileForReading(const QString& path, QString* error = nullptr, bool ownFile = false);

// Hands fd to file, open for reading, which closes it from then on; false (fd closed) when the file refuses it.
bool AdoptForReading(QFile& file, UniqueFd fd);

// Throws FileError (LinkRefusedText, NotRegularFileText, ForeignFileRefusedText) unless path in the data folder
// is missing or a regular file of this account. For the checks that decide from a file's size
// whether it holds anything.
void RequirePlainDataFolderFile(const QString& path);

// Writes content as the file at path, owner-only, whole or not at all (a new file renamed into place). Throws
// FileError naming the file.
void WriteWholeFile(const QString& path, const QByteArray& content);
