#pragma once

#include <QStringList>

#include <optional>

// The secrets a command needs (the access code, a new code, a passphrase), never from the command line or the
// environment, where other accounts and the shell's history can read them. When standard input is not a
// terminal, one secret per line in the order of prompts (a script pipes them in); when it is, each prompt is
// written on standard error and the answer is read with echo off. A line's CR LF or LF end is not part of it.
// Returns nullopt, having said which secret was missing, when input ends before the last one.
std::optional<QStringList> ReadSecrets(const QStringList& prompts);
