#pragma once

#include <QByteArray>
#include <QString>

// The administrator's access code. It belongs to the data it guards, not to the account that runs the program:
// its salted PBKDF2-HMAC-SHA256 hash (never the digits) is kept in AccessCodeFileName in the data folder,
// owner-only, and goes with the folder into every backup and copy. A copy of the folder therefore never opens
// without a code for anyone to choose. Deleting the file (which takes shell access to the folder) is the reset.
// A code that an earlier version kept in the per-user settings is taken over into the file the first time the
// code is looked at, and removed from the settings.

// The file: two lines, "AccessCodeSalt=<hex>" and "AccessCodeHash=<stored hash>", in the working (data) folder.
inline const QString AccessCodeFileName = QStringLiteral("Access.Code");

// True when the folder has a code: its file exists, readable or not (a damaged file must not pass for a reset).
// Throws FileError when the file cannot be read or the code taken over from the settings cannot be stored.
bool HasAccessCode();
// The fewest digits a new code may have. A code stored before the rule was raised keeps working until it is
// changed.
inline constexpr int MinimumAccessCodeDigits = 6;
// True when code is decimal digits, at least MinimumAccessCodeDigits of them.
bool IsAcceptableAccessCode(const QString& code);
// Stores a new code (the caller has checked it); replaces any earlier one.
void SetAccessCode(const QString& code);
// Exact match against the stored code; false when none is stored. A code stored in the earlier, weaker form is
// stored again in the present form when it matches.
bool AccessCodeMatches(const QString& answer);

// PBKDF2 with HMAC-SHA256 (RFC 8018), length bytes of derived key.
QByteArray Pbkdf2HmacSha256(const QByteArray& password, const QByteArray& salt, int iterations, int length = 32);
// The iteration count of new hashes: about 0.1 s of one core per check (bench_accesscode), so that an offline
// search through every 6-digit code costs more than a day of one core.
inline constexpr int AccessCodeIterations = 64000;
