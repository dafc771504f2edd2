#pragma once

#include <QByteArray>
#include <QString>

// The administrator's access code, kept in the per-user settings ("Defaults").
// The code is stored only as a salted PBKDF2-HMAC-SHA256 hash, never as its digits.

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
