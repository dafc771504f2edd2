#pragma once

#include <QString>

// The administrator's access code and the agency name, kept in the per-user settings ("Defaults").
// The code is stored only as a salted hash, never as its digits.

bool HasAccessCode();
// True when code is decimal digits, at least 4 of them.
bool IsAcceptableAccessCode(const QString& code);
// Stores a new code (the caller has checked it); replaces any earlier one.
void SetAccessCode(const QString& code);
// Exact match against the stored code; false when none is stored.
bool AccessCodeMatches(const QString& answer);

// The agency named in the main window's caption; empty until an administrator sets it.
QString AgencyName();
void SetAgencyName(const QString& name);
// The main window's caption: the application title and the agency's name, or "Personnel Records" before one is
// set. The list printout carries it in its page headings.
QString MainWindowCaption();
