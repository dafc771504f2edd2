#pragma once

#include "ProcessRun.h"

#include <QProcess>
#include <QStringList>

// Runs vardel-data with args. The data folder comes from the arguments or, when envDir is given, from
// VARDEL_DATA_DIR; standard output goes to outputFile when one is given.
inline Run VardelData(const QStringList& args, const QString& envDir = QString(),
                      const QString& outputFile = QString()) {
    QProcess process;
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (envDir.isEmpty())
        env.remove(QStringLiteral("VARDEL_DATA_DIR"));
    else
        env.insert(QStringLiteral("VARDEL_DATA_DIR"), envDir);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VARDEL_DATA_TOOL), args);
    return FinishRun(process);
}

// The words of a command line written as one text: "demo 3 --seed 1".
inline QStringList Words(const QString& text) {
    return text.split(QLatin1Char(' '));
}

// "--data-dir dir" followed by the words of text.
inline QStringList InFolder(const QString& dir, const QString& text) {
    return QStringList{QStringLiteral("--data-dir"), dir} + Words(text);
}
