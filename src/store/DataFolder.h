#pragma once

#include <QString>

// Creates the data folder (and missing parents) open to its owner only; an existing folder is narrowed to
// its owner. Throws FileError when the folder cannot be made.
void EnsurePrivateFolder(const QString& path);
