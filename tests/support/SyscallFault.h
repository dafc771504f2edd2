#pragma once

#include "ProcessRun.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>

// vardel-data under strace: the calls of one system call counted, or the nth of them made to fail (error=EIO) or
// to kill the process before it runs (signal=KILL). A killed writer shows what a power loss or kill -9 at that step
// leaves behind. Tests skip when strace is missing or may not trace (a container without ptrace).

inline QStringList StraceWords(const QString& syscall, const QString& log) {
    return {QStringLiteral("-f"), QStringLiteral("-qq"),
            QStringLiteral("-o"), log,
            QStringLiteral("-e"), QStringLiteral("trace=") + syscall};
}

inline Run StraceRun(const QStringList& straceArgs, const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("VARDEL_DATA_DIR"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("strace"), straceArgs + QStringList{QStringLiteral(VARDEL_DATA_TOOL)} + args);
    return FinishRun(process);
}

inline bool SyscallFaultsAvailable() {
    if (QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty())
        return false;
    QProcess process;
    process.start(QStringLiteral("strace"),
                  {QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("true")});
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// How many times vardel-data args calls syscall (the run itself takes place).
inline int CountSyscalls(const QString& syscall, const QStringList& args) {
    QTemporaryFile log;
    if (!log.open())
        return -1;
    if (StraceRun(StraceWords(syscall, log.fileName()), args).exitCode != 0)
        return -1;
    int calls = 0;
    for (const QByteArray& line : log.readAll().split('\n'))
        calls += line.contains(' ' + syscall.toLatin1() + '(') ? 1 : 0;
    return calls;
}

// vardel-data args with the nth call of syscall given fault ("signal=KILL", "error=EIO").
inline Run VardelDataWithFault(const QString& syscall, int nth, const QString& fault, const QStringList& args) {
    return StraceRun(
        StraceWords(syscall, QStringLiteral("/dev/null")) +
            QStringList{QStringLiteral("-e"), QStringLiteral("inject=%1:%2:when=%3").arg(syscall, fault).arg(nth)},
        args);
}
