// "backup", "verify" and "check": backups that can be trusted, made on schedule, and the data-quality check.

#include "Commands.h"

#include "core/backup/BackupCopy.h"
#include "core/backup/BackupManifest.h"
#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/DateRules.h"
#include "core/base/FileError.h"
#include "core/base/StagingFolder.h"
#include "core/history/ChangeLog.h"
#include "core/quality/DataQuality.h"
#include "core/store/DataFile.h"
#include "core/users/UserList.h"

#include <QDir>
#include <QRegularExpression>

#include <cstdio>
#include <pwd.h>
#include <unistd.h>

namespace {

const char kBackupUsage[] = "backup [DIR] [--keep N]";

// The sub-folders a scheduled backup makes: its date and time to the second.
const QRegularExpression& DatedFolderName() {
    static const QRegularExpression name(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}T\\d{6}$"));
    return name;
}

QStringList DatedFolders(const QString& dir) {
    QStringList names = QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    names.removeIf([](const QString& n) { return !DatedFolderName().match(n).hasMatch(); });
    return names; // oldest first: the names sort as their times
}

bool HasManifest(const QString& folder) {
    const QFileInfo manifest(QDir(folder).filePath(BackupManifestFileName));
    return manifest.exists() || manifest.isSymLink();
}

// What killed backups left in dir: the hidden folders of backups killed before they were whole and, from versions
// that built the dated folder in place, dated folders without a manifest. Both hold employees' personal data and
// vouch for nothing. Returns the lines that name what was removed.
QByteArray ClearKilledBackups(const QString& dir) {
    QByteArray cleared;
    const int hidden = ClearAbandonedStagingFolders(
        dir, [](const QString& target) { return DatedFolderName().match(target).hasMatch(); });
    if (hidden > 0)
        cleared += "cleared " + QByteArray::number(hidden) + " unfinished backup" + (hidden == 1 ? "" : "s") + '\n';
    for (const QString& name : DatedFolders(dir)) {
        const QString folder = QDir(dir).filePath(name);
        if (HasManifest(folder))
            continue;
        if (!QDir(folder).removeRecursively())
            throw FileError(QStringLiteral("cannot remove the unfinished backup %1").arg(folder));
        cleared += "cleared " + TerminalText(folder) + '\n';
    }
    ClearAbandonedCopies(dir);
    return cleared;
}

// Keeps the newest keep backups that verify, and every backup newer than the oldest of them; removes the rest.
// Only backups that verify count, so damaged ones never push a good one out, and the newest good one always stays.
QByteArray RemoveOldBackups(const QString& dir, int keep) {
    QStringList dated = DatedFolders(dir);
    int verified = 0;
    qsizetype oldestKept = dated.size();
    while (oldestKept > 0 && verified < keep) {
        --oldestKept;
        if (VerifyBackupFolder(QDir(dir).filePath(dated.at(oldestKept)), DataFileName, UserListFileName).status ==
            BackupVerdict::Status::Verified)
            ++verified;
    }
    QByteArray removed;
    if (verified < keep)
        return removed;
    for (qsizetype i = 0; i < oldestKept; ++i) {
        const QString oldest = QDir(dir).filePath(dated.at(i));
        if (!QDir(oldest).removeRecursively())
            throw FileError(QStringLiteral("cannot remove the old backup %1").arg(oldest));
        removed += "removed " + TerminalText(oldest) + '\n';
    }
    return removed;
}

QString LoginName() {
    if (const passwd* pw = ::getpwuid(::getuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::number(::getuid());
}

void Fail(const QString& text) {
    PrintError(text);
}

} // namespace

int BackupCommand(const QStringList& arguments) {
    const ReadArguments args = ReadOptions(arguments, {kBackupOptions});
    QString dir;
    int keep = 0;
    for (const ReadArguments::Item& item : args.items) {
        if (item.option == QLatin1String("--keep")) {
            bool ok = false;
            keep = item.value.toInt(&ok);
            if (!ok || keep < 1)
                return UsageError(kBackupUsage);
        } else if (item.option.isEmpty() && dir.isEmpty()) {
            dir = item.value;
        } else {
            return UsageError(kBackupUsage);
        }
    }
    if (args.mistake != ReadArguments::Mistake::None)
        return UsageError(kBackupUsage);
    // The timer names no folder: it backs up where the administration window's setting says.
    if (dir.isEmpty())
        dir = GetSetting(QStringLiteral("BackupFolder"));
    if (keep == 0)
        keep = GetSetting(QStringLiteral("BackupKeep"), QStringLiteral("0")).toInt();
    if (dir.isEmpty()) {
        Fail(QStringLiteral("no backup folder: name one, or set it in the administration window"));
        return 2;
    }
    dir = FromCallerFolder(dir);
    if (IsSameFolder(dir, DataFolder())) {
        Fail(QStringLiteral("%1 is the data folder itself").arg(dir));
        return 1;
    }
    EnsurePrivateFolder(dir);
    const QDateTime now = QDateTime::currentDateTime();
    const QString target = QDir(dir).filePath(now.toString(QStringLiteral("yyyy-MM-ddTHHmmss")));
    if (QFileInfo::exists(target)) {
        Fail(QStringLiteral("%1 exists already: one backup a second").arg(target));
        return 1;
    }
    QByteArray report;
    {
        // Nobody may change a file between its copy and the manifest.
        const DataFolderLock lock;
        report += ClearKilledBackups(dir);
        // Built hidden and shown under its dated name only when whole: a killed backup never looks like one.
        StagingFolder staging(target);
        MakeVerifiedBackup(DataFolder(), staging.path(), BackedUpFiles(), DataFileName, UserListFileName,
                           QStringLiteral("vardel-data (%1)").arg(LoginName()));
        const BackupVerdict verdict = VerifyBackupFolder(staging.path(), DataFileName, UserListFileName);
        if (verdict.status != BackupVerdict::Status::Verified) {
            Fail(QStringLiteral("the backup for %1 does not verify: %2").arg(target, verdict.failureText()));
            return 1;
        }
        staging.publish();
        report = TerminalText(target) + '\t' + TerminalText(ManifestSummary(*verdict.manifest)) + '\n' + report;
    }
    RecordLastBackup(DataFolder(), now, target);
    if (const QString error = RecordBackupEvent(DataFolder(), HistoryEvent::Backup, target); !error.isEmpty()) {
        Fail(QStringLiteral("the backup in %1 is whole, but the change history could not tell of it: %2")
                 .arg(target, error));
        return 1;
    }
    if (keep > 0)
        report += RemoveOldBackups(dir, keep);
    return WriteOutput(report) && FinishOutput() ? 0 : 1;
}

int VerifyCommand(const QStringList& args) {
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return UsageError("verify DIR");
    QString folder = FromCallerFolder(args[0]);
    // The folder of scheduled backups stands for its newest backup.
    if (!QFileInfo::exists(QDir(folder).filePath(BackupManifestFileName)) &&
        !QFileInfo::exists(QDir(folder).filePath(DataFileName))) {
        const QStringList dated = DatedFolders(folder);
        if (!dated.isEmpty())
            folder = QDir(folder).filePath(dated.last());
    }
    const BackupVerdict verdict = VerifyBackupFolder(folder, DataFileName, UserListFileName);
    switch (verdict.status) {
    case BackupVerdict::Status::Verified:
        return WriteOutput(TerminalText(folder) + "\tverified\t" + TerminalText(ManifestSummary(*verdict.manifest)) +
                           '\n') &&
                       FinishOutput()
                   ? 0
                   : 1;
    case BackupVerdict::Status::NoManifest:
        Fail(QStringLiteral("%1: no %2: the backup is incomplete or was made before backups were verified, and "
                            "cannot be verified")
                 .arg(folder, BackupManifestFileName));
        return 1;
    case BackupVerdict::Status::Failed:
        Fail(QStringLiteral("%1: %2").arg(folder, verdict.failureText()));
        return 1;
    }
    return 1;
}

int CheckCommand(const QStringList& args) {
    if (!args.isEmpty())
        return UsageError("check");
    const std::vector<QualityFinding> findings = CheckActiveStore(TodayOADate());
    for (const QualityFinding& f : findings) {
        const QByteArray line = QByteArray::number(f.slot) + '\t' + TerminalText(f.employee) + '\t' +
                                TerminalText(f.field) + '\t' + TerminalText(f.rule) + '\n';
        if (!WriteOutput(line))
            return 1;
    }
    if (!FinishOutput())
        return 1;
    return findings.empty() ? 0 : 1;
}
