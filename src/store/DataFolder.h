#pragma once

#include <QString>

// Creates the data folder (and missing parents) open to its owner only; an existing folder is left as it is.
// Throws FileError when the folder cannot be made.
void EnsurePrivateFolder(const QString& path);
