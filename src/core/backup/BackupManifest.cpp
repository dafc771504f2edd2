#include "core/backup/BackupManifest.h"

#include "core/backup/BackupCopy.h"

#include "core/base/AppGlobals.h"
#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"
#include "core/base/RegularFile.h"
#include "core/base/Sha256.h"
#include "core/base/UniqueFd.h"
#include "core/history/ChangeLog.h"
#include "core/record/PersonnelRecord.h"
#include "core/store/PersonnelStore.h"
#include "core/users/AccessCode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr char kHeader[] = "Vardel backup manifest 1";
constexpr int kUserRecordSize = 500;

QString Joined(const QString& folder, const QString& name) {
    return QDir(folder).filePath(name);
}

// Opens path for reading only when it is a regular file (not a link, a FIFO or a folder), without blocking.
UniqueFd OpenRegular(const QString& path, QString* error) {
    UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        *error = errno == ENOENT ? QStringLiteral("missing") : qt_error_string(errno);
        return fd;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        *error = QStringLiteral("not a regular file");
        return UniqueFd();
    }
    return fd;
}

// Size and SHA-256 of a regular file, read whole.
bool HashFile(const QString& path, qint64* size, QByteArray* sha256, QString* error) {
    UniqueFd fd = OpenRegular(path, error);
    if (!fd)
        return false;
    QFile file;
    if (!AdoptForReading(file, std::move(fd))) {
        *error = file.errorString();
        return false;
    }
    Sha256 hash;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 got = file.read(buffer.data(), buffer.size());
        if (got < 0) {
            *error = file.errorString();
            return false;
        }
        if (got == 0)
            break;
        hash.add(QByteArrayView(buffer.constData(), got));
        total += got;
    }
    *size = total;
    *sha256 = hash.result().toHex();
    return true;
}

QString DateText(const QDateTime& when) {
    return when.toString(QStringLiteral("MM/dd/yyyy HH:mm:ss"));
}

} // namespace

const ManifestEntry* BackupManifest::entry(const QString& name) const {
    for (const ManifestEntry& e : files)
        if (e.name == name)
            return &e;
    return nullptr;
}

QByteArray FormatManifest(const BackupManifest& m) {
    QByteArray text = QByteArray(kHeader) + '\n';
    text += "made\t" + m.made.toString(Qt::ISODate).toUtf8() + '\n';
    text += "version\t" + m.programVersion.toUtf8() + '\n';
    text += "user\t" + m.user.toUtf8() + '\n';
    text += "employees\t" + QByteArray::number(m.employees) + '\n';
    text += "users\t" + QByteArray::number(m.users) + '\n';
    for (const ManifestEntry& e : m.files)
        text += "file\t" + e.name.toUtf8() + '\t' + QByteArray::number(e.size) + '\t' + e.sha256 + '\n';
    // The end line tells a whole manifest from one cut short, and its hash of the lines above it a manifest that
    // was changed from one whose copies were changed to match.
    text += "end\t" + QByteArray::number(qsizetype(m.files.size())) + '\t' + Sha256::hash(text).toHex() + '\n';
    return text;
}

std::optional<BackupManifest> ParseManifest(const QByteArray& text, QString* error) {
    const QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.first() != kHeader) {
        *error = QStringLiteral("not a manifest of this program");
        return std::nullopt;
    }
    if (!text.endsWith('\n')) {
        *error = QStringLiteral("cut short");
        return std::nullopt;
    }
    BackupManifest m;
    bool ended = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (line.isEmpty() && (ended || i == lines.size() - 1))
            continue;
        const QList<QByteArray> f = line.split('\t');
        bool ok = true;
        if (ended) {
            ok = false;
        } else if (f[0] == "made" && f.size() == 2) {
            m.made = QDateTime::fromString(QString::fromUtf8(f[1]), Qt::ISODate);
            ok = m.made.isValid();
        } else if (f[0] == "version" && f.size() == 2) {
            m.programVersion = QString::fromUtf8(f[1]);
        } else if (f[0] == "user" && f.size() == 2) {
            m.user = QString::fromUtf8(f[1]);
        } else if (f[0] == "employees" && f.size() == 2) {
            m.employees = f[1].toLongLong(&ok);
        } else if (f[0] == "users" && f.size() == 2) {
            m.users = f[1].toLongLong(&ok);
        } else if (f[0] == "file" && f.size() == 4) {
            ManifestEntry e{QString::fromUtf8(f[1]), f[2].toLongLong(&ok), f[3]};
            ok = ok && e.size >= 0 && e.sha256.size() == 64 && !e.name.isEmpty() && !e.name.contains(QLatin1Char('/'));
            m.files.push_back(e);
        } else if (f[0] == "end" && f.size() == 3) {
            const QByteArray above = text.left(text.indexOf("\nend\t") + 1);
            ok = f[1].toLongLong() == qint64(m.files.size()) && f[2] == Sha256::hash(above).toHex();
            ended = true;
        } else {
            ok = false;
        }
        if (!ok) {
            *error = QStringLiteral("line %1 is damaged").arg(i + 1);
            return std::nullopt;
        }
    }
    if (!ended || !m.made.isValid()) {
        *error = QStringLiteral("cut short");
        return std::nullopt;
    }
    return m;
}

BackupManifest DescribeBackup(const QString& folder, const QStringList& names, const QString& dataFile,
                              const QString& userList, const QString& user, const QDateTime& made) {
    BackupManifest m;
    m.made = made;
    m.programVersion =
        QStringLiteral("%1.%2.%3").arg(VARDEL_VERSION_MAJOR).arg(VARDEL_VERSION_MINOR).arg(VARDEL_VERSION_PATCH);
    m.user = user;
    for (const QString& name : names) {
        if (!QFileInfo::exists(Joined(folder, name)))
            continue;
        ManifestEntry e{name, 0, {}};
        QString error;
        if (!HashFile(Joined(folder, name), &e.size, &e.sha256, &error))
            throw FileError(name + QStringLiteral(": ") + error);
        if (name == dataFile)
            m.employees = RecordCountForLength(e.size, PersonnelLayout::RecordSize);
        else if (name == userList)
            m.users = RecordCountForLength(e.size, kUserRecordSize);
        m.files.push_back(e);
    }
    return m;
}

void WriteManifest(const QString& folder, const BackupManifest& manifest) {
    const QString error = WriteFileWhole(Joined(folder, BackupManifestFileName), FormatManifest(manifest));
    if (!error.isEmpty())
        throw FileError(BackupManifestFileName + QStringLiteral(": ") + error);
}

BackupVerdict VerifyBackupFolder(const QString& folder, const QString& dataFile, const QString& userList) {
    BackupVerdict v;
    auto fail = [&v](const QString& file, const QString& reason) {
        v.status = BackupVerdict::Status::Failed;
        v.file = file;
        v.reason = reason;
        return v;
    };

    QString error;
    const QString manifestPath = Joined(folder, BackupManifestFileName);
    if (!QFileInfo::exists(manifestPath) && !QFileInfo(manifestPath).isSymLink()) {
        // An older backup: only its shape can be checked.
        qint64 size = 0;
        QByteArray hash;
        if (!HashFile(Joined(folder, dataFile), &size, &hash, &error))
            return fail(dataFile, error);
        if (size % PersonnelLayout::RecordSize != 0)
            return fail(dataFile, QStringLiteral("%1 bytes is not a whole number of %2-byte records")
                                      .arg(size)
                                      .arg(PersonnelLayout::RecordSize));
        v.status = BackupVerdict::Status::NoManifest;
        return v;
    }

    UniqueFd fd = OpenRegular(manifestPath, &error);
    if (!fd)
        return fail(BackupManifestFileName, error);
    QFile manifestFile;
    AdoptForReading(manifestFile, std::move(fd));
    const QByteArray manifestText = manifestFile.read(1 << 20);
    v.manifest = ParseManifest(manifestText, &error);
    if (!v.manifest)
        return fail(BackupManifestFileName, error);
    if (!v.manifest->entry(dataFile))
        return fail(dataFile, QStringLiteral("not named in the manifest"));

    for (const ManifestEntry& e : v.manifest->files) {
        qint64 size = 0;
        QByteArray hash;
        if (!HashFile(Joined(folder, e.name), &size, &hash, &error))
            return fail(e.name, error);
        if (size != e.size)
            return fail(e.name, QStringLiteral("the size is %1 bytes, the manifest says %2").arg(size).arg(e.size));
        if (hash != e.sha256)
            return fail(e.name, QStringLiteral("its contents differ from the manifest (SHA-256)"));
    }

    // The data file must decode whole: every slot present in full, as many as recorded.
    const ManifestEntry* data = v.manifest->entry(dataFile);
    if (data->size % PersonnelLayout::RecordSize != 0)
        return fail(dataFile, QStringLiteral("%1 bytes is not a whole number of %2-byte records")
                                  .arg(data->size)
                                  .arg(PersonnelLayout::RecordSize));
    FixedRecordFile file(Joined(folder, dataFile), PersonnelLayout::RecordSize);
    try {
        file.open(FixedRecordFile::Access::ReadOnly);
        QByteArray slot(PersonnelLayout::RecordSize, ' ');
        const qint64 count = file.recordCount();
        for (qint64 n = 1; n <= count; ++n)
            if (file.readRecord(n, slot.data()) != PersonnelLayout::RecordSize)
                return fail(dataFile, QStringLiteral("record %1 cannot be read whole").arg(n));
        if (count != v.manifest->employees)
            return fail(dataFile,
                        QStringLiteral("holds %1 records, the manifest says %2").arg(count).arg(v.manifest->employees));
    } catch (const FileError& e) {
        return fail(dataFile, e.text());
    }
    if (const ManifestEntry* users = v.manifest->entry(userList)) {
        if (users->size % kUserRecordSize != 0 || users->size / kUserRecordSize != v.manifest->users)
            return fail(userList, QStringLiteral("holds %1 bytes, not the %2 users the manifest says")
                                      .arg(users->size)
                                      .arg(v.manifest->users));
    }
    v.status = BackupVerdict::Status::Verified;
    return v;
}

QStringList BackedUpFiles() {
    // The change history goes along when there is one.
    return DataFileList + QStringList{AccessCodeFileName, ChangeLogFileName};
}

BackupManifest MakeVerifiedBackup(const QString& dataFolder, const QString& target, const QStringList& names,
                                  const QString& dataFile, const QString& userList, const QString& user,
                                  const std::function<void(const QString& name)>& progress) {
    const QString manifestPath = Joined(target, BackupManifestFileName);
    if (QFileInfo::exists(manifestPath) || QFileInfo(manifestPath).isSymLink()) {
        if (!QFile::remove(manifestPath))
            throw FileError(BackupManifestFileName + QStringLiteral(": cannot be replaced"));
        // The earlier manifest must be gone from the disk before the first copy changes what it vouched for.
        const UniqueFd folder(::open(QFile::encodeName(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!folder || FileSystemCalls::Fsync(folder.get()) != 0)
            throw FileError(target + QStringLiteral(": ") + qt_error_string(errno));
    }
    const QDateTime made = QDateTime::currentDateTime();
    QStringList copied;
    // On a server the records, users, user log and history are the server's, written as the folder's files;
    // only what stays local (the access code) is copied from the data folder.
    QStringList local = names;
    {
        for (const auto& [name, content] : ActiveStore().BackupFiles()) {
            local.removeAll(name);
            if (!names.contains(name))
                continue;
            const QString path = Joined(target, name);
            if (content.isEmpty()) {
                // A part the server does not hold must not come back from an older backup in the same folder.
                if (QFileInfo::exists(path) && !QFile::remove(path))
                    throw FileError(name + QStringLiteral(": cannot be replaced"));
                continue;
            }
            if (progress)
                progress(name);
            WriteWholeFile(path, content);
            copied << name;
        }
    }
    for (const QString& name : local) {
        if (name.isEmpty() || !FileExistsIn(dataFolder, name))
            continue;
        if (progress)
            progress(name);
        const QString error = CopyFileWhole(Joined(dataFolder, name), Joined(target, name));
        if (!error.isEmpty())
            throw FileError(name + QStringLiteral(": ") + error);
        copied << name;
    }
    // Described from the copies, not the originals: what the manifest vouches for is what the folder holds.
    const BackupManifest manifest = DescribeBackup(target, copied, dataFile, userList, user, made);
    WriteManifest(target, manifest);
    return manifest;
}

QString ManifestSummary(const BackupManifest& m) {
    return QStringLiteral("%1, %2 employee%3 and %4 user%5, made by %6 with version %7")
        .arg(DateText(m.made))
        .arg(m.employees)
        .arg(m.employees == 1 ? QString() : QStringLiteral("s"))
        .arg(m.users)
        .arg(m.users == 1 ? QString() : QStringLiteral("s"))
        .arg(m.user.isEmpty() ? QStringLiteral("an unnamed user") : m.user, m.programVersion);
}

void RecordLastBackup(const QString& dataFolder, const QDateTime& when, const QString& target) {
    const QString error = WriteFileWhole(Joined(dataFolder, LastBackupFileName),
                                         when.toString(Qt::ISODate).toUtf8() + '\t' + target.toUtf8() + '\n');
    if (!error.isEmpty())
        throw FileError(LastBackupFileName + QStringLiteral(": ") + error);
}

std::optional<QDateTime> LastBackupTime(const QString& dataFolder) {
    QString error;
    UniqueFd fd = OpenRegular(Joined(dataFolder, LastBackupFileName), &error);
    if (!fd)
        return std::nullopt;
    QFile file;
    AdoptForReading(file, std::move(fd));
    const QByteArray line = file.readLine(4096);
    const QDateTime when = QDateTime::fromString(QString::fromUtf8(line.split('\t').value(0)), Qt::ISODate);
    if (!when.isValid())
        return std::nullopt;
    return when;
}

std::optional<QString> BackupReminderText(const std::optional<QDateTime>& last, const QDateTime& now, int days) {
    if (days <= 0)
        return std::nullopt;
    const QString ask = QStringLiteral("\r\n\r\nWould you like to make a backup now?");
    if (!last)
        return QStringLiteral("No backup of the ") + AppTitle + QStringLiteral(" data files has been made yet.") + ask;
    const qint64 ago = last->date().daysTo(now.date());
    if (ago < days)
        return std::nullopt;
    return QStringLiteral("The last backup of the ") + AppTitle + QStringLiteral(" data files was made") +
           QStringLiteral("\r\n%1 days ago, on %2.").arg(ago).arg(last->toString(QStringLiteral("MM/dd/yyyy"))) + ask;
}

int BackupReminderDays() {
    bool ok = false;
    const int days = GetSetting(QStringLiteral("BackupReminderDays"), QStringLiteral("7")).toInt(&ok);
    return ok ? days : 7;
}

QString RecordBackupEvent(const QString& dataFolder, const QString& event, const QString& otherFolder,
                          const QString& replaced) {
    ChangeEvent e = NewEvent(event);
    e.Field = QStringLiteral("Folder");
    e.OldValue = replaced;
    e.NewValue = otherFolder;
    try {
        // The store's history: on a server the server's, shared with every desk.
        Q_UNUSED(dataFolder);
        CommitWithHistory({e}, [] {});
        return QString();
    } catch (const FileError& error) {
        return error.text();
    }
}

std::optional<ReplacedHistory> KeepReplacedHistory(const QString& dataFolder, const QDateTime& now) {
    const QString current = Joined(dataFolder, ChangeLogFileName);
    if (!FileExistsIn(dataFolder, ChangeLogFileName))
        return std::nullopt;
    ReplacedHistory kept;
    kept.keptAs = ChangeLogFileName + QStringLiteral(".replaced-") + now.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    const QString target = Joined(dataFolder, kept.keptAs);
    // Two restores within a second must not put one replaced history in place of the other.
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        throw FileError(kept.keptAs + QStringLiteral(": exists already"));
    const QByteArray content = ReadChangeLog(current);
    kept.lines = content.count('\n');
    // The head is the hash that ends the last whole line, whatever the chain before it says.
    const qsizetype end = content.lastIndexOf('\n');
    if (end > 0) {
        const qsizetype start = content.lastIndexOf('\n', end - 1) + 1;
        const QByteArray line = content.mid(start, end - start);
        kept.head = line.mid(line.lastIndexOf('\t') + 1);
    }
    const QString error = WriteFileWhole(target, content);
    if (!error.isEmpty())
        throw FileError(kept.keptAs + QStringLiteral(": ") + error);
    return kept;
}

QString ReplacedHistory::text() const {
    return QStringLiteral("%1: %2 line%3, last hash %4")
        .arg(keptAs)
        .arg(lines)
        .arg(lines == 1 ? QString() : QStringLiteral("s"))
        .arg(head.isEmpty() ? QStringLiteral("none") : QString::fromLatin1(head));
}
