#include "ui/common/UrlLauncher.h"

#include <QMimeDatabase>
#include <QProcess>

bool LaunchUrl(const QUrl& url, const UrlLauncher& launcher) {
    // Not parented and not deleted while it runs: destroying a QProcess kills its program, and the mail program
    // that a launcher runs in the foreground must outlive both the wait and this program.
    auto* process = new QProcess;
    process->setProgram(launcher.Program);
    process->setArguments(launcher.Arguments + QStringList{url.toString(QUrl::FullyEncoded)});
    // A program left running must never block on a full pipe nobody reads.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    if (!process->waitForFinished(launcher.WaitMs)) {
        if (process->state() == QProcess::Running) {
            QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
            return true;
        }
        delete process;
        return false;
    }
    const bool taken = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    delete process;
    return taken;
}

bool LaunchFile(const QString& path, const UrlLauncher& launcher) {
    QProcess query;
    query.setStandardInputFile(QProcess::nullDevice());
    query.setStandardErrorFile(QProcess::nullDevice());
    query.start(launcher.HandlerQuery,
                {QStringLiteral("query"), QStringLiteral("default"), QMimeDatabase().mimeTypeForFile(path).name()});
    if (!query.waitForFinished(launcher.WaitMs) || query.exitStatus() != QProcess::NormalExit ||
        query.readAllStandardOutput().trimmed().isEmpty())
        return false;
    return LaunchUrl(QUrl::fromLocalFile(path), launcher);
}
