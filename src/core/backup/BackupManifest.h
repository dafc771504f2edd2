#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// A backup that can be trusted: beside the copies, "Backup.Manifest" names every file with its size and SHA-256,
// the record and user counts, when and by whom the backup was made and with which program. It is written last,
// after every copy is complete and flushed, so a folder with a manifest holds a whole backup.

inline const QString BackupManifestFileName = QStringLiteral("Backup.Manifest");

struct ManifestEntry {
    QString name;
    qint64 size = 0;
    QByteArray sha256; // lower-case hex
};

struct BackupManifest {
    QDateTime made;
    QString programVersion;
    QString user;
    qint64 employees = 0;
    qint64 users = 0;
    std::vector<ManifestEntry> files;

    const ManifestEntry* entry(const QString& name) const;
};

QByteArray FormatManifest(const BackupManifest& manifest);
// Nothing, with the reason, for a text that is not a whole manifest.
std::optional<BackupManifest> ParseManifest(const QByteArray& text, QString* error);

// The manifest of the named files of folder (those present; each read whole and hashed), counting the employees
// of the data file and the users of the user list. Throws FileError.
BackupManifest DescribeBackup(const QString& folder, const QStringList& names, const QString& dataFile,
                              const QString& userList, const QString& user, const QDateTime& made);

// Writes the manifest into folder owner-only through a flushed hidden temporary file and one rename, so that a
// manifest is whole or absent, never empty. Throws FileError naming the manifest and the reason.
void WriteManifest(const QString& folder, const BackupManifest& manifest);

// The verdict on a backup folder.
struct BackupVerdict {
    enum class Status { Verified, NoManifest, Failed };
    Status status = Status::Failed;
    QString file;   // the file at fault, for Failed
    QString reason; // why, for Failed
    std::optional<BackupManifest> manifest;

    // "Vardel.Data: the size is 10 bytes, the manifest says 5000"
    QString failureText() const { return file + QStringLiteral(": ") + reason; }
};

// Verifies a backup folder before anything is restored from it: every file of the manifest present as a regular
// file of the recorded size and SHA-256, the data file whole records that all read, the counts as recorded. A
// folder without a manifest (a backup of an older version) gets NoManifest when its data file reads whole, so the
// caller can ask whether to trust it.
BackupVerdict VerifyBackupFolder(const QString& folder, const QString& dataFile, const QString& userList);

// The files a backup takes and a restore brings back: the data files and the access code that guards them.
QStringList BackedUpFiles();

// A whole verified backup: removes an earlier manifest of target first (so that a backup cut short never passes for
// a whole one), copies the named files of dataFolder that exist into target whole, each flushed, and writes the
// manifest last. progress(name) is called before each copy. Throws FileError naming the file that failed.
BackupManifest MakeVerifiedBackup(const QString& dataFolder, const QString& target, const QStringList& names,
                                  const QString& dataFile, const QString& userList, const QString& user,
                                  const std::function<void(const QString& name)>& progress = {});

// "12/07/2026 02:00:00, 200 employees and 3 users, made by ADMIN with version 1.0.0"
QString ManifestSummary(const BackupManifest& manifest);

// The file in the data folder that remembers the last backup, whoever made it (the program, vardel-data, the
// timer), for the reminder.
inline const QString LastBackupFileName = QStringLiteral("Backup.Last");
void RecordLastBackup(const QString& dataFolder, const QDateTime& when, const QString& target);
std::optional<QDateTime> LastBackupTime(const QString& dataFolder);

// Writes the "backup" or "restore" event of the change history, naming the other folder and, for a restore, the
// history it replaced (ReplacedHistory::text) as the old value. Returns an empty text, or the reason the history
// could not be written; the backup or restore it tells of is whole either way, and the caller says so.
QString RecordBackupEvent(const QString& dataFolder, const QString& event, const QString& otherFolder,
                          const QString& replaced = QString());

// The history a restore replaced, kept beside the restored one.
struct ReplacedHistory {
    QString keptAs; // "Change.Log.replaced-2026-12-07-140512"
    qint64 lines = 0;
    QByteArray head; // the hash ending its last whole line
    // "Change.Log.replaced-2026-12-07-140512: 120 lines, last hash 3f..."
    QString text() const;
};
// Before a restore brings back a backup's history, copies the data folder's "Change.Log" whole and flushed to
// "Change.Log.replaced-YYYY-MM-DD-HHMMSS" beside it (owner-only), so that no history is ever lost to a restore.
// Nothing when the folder has no history. Throws FileError, before anything is replaced, when it cannot be kept.
std::optional<ReplacedHistory> KeepReplacedHistory(const QString& dataFolder, const QDateTime& now);

// The question a level-4 user gets on leaving when the last backup is days or more old (or none was ever made),
// or nothing: reminders are off (days 0) or the last backup is recent.
std::optional<QString> BackupReminderText(const std::optional<QDateTime>& last, const QDateTime& now, int days);
// The setting of the reminder's days (the administration window's), 7 unless set.
int BackupReminderDays();
