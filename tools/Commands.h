#pragma once

#include <QByteArray>
#include <QStringList>

// Sub-commands of vardel-data. Each runs in the data folder with the arguments that follow its name and returns
// the process exit code.

// "users": one JSON object per line for every record of "User.List", passwords left out.
int UsersCommand(const QStringList& args);

// The lines "users" prints for a user list file's contents.
QByteArray UserListJsonLines(const QByteArray& fileImage);
