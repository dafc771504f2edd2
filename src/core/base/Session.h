#pragma once

#include <QString>

// Who is at work, as every change and log line names him or her: the logged-in user's display name (first name, a
// blank, last name) and access level, empty and 0 until somebody logs in.
extern QString CurrentUserName;
extern qint16 CurrentAccessLevel;

// The program changes are made under when nobody is logged in: "vardel-data" for the command-line tool (and the
// printing program it starts), the application title otherwise.
QString ProgramName();
