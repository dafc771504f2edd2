#pragma once

#include <QByteArray>
#include <QProcess>

// What a program started by a test gave: its exit code (-1 when it crashed or did not end within a minute) and its
// standard output and error.
struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Waits for the started process to end and collects what it gave.
inline Run FinishRun(QProcess& process) {
    Run run;
    if (!process.waitForFinished(600000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
