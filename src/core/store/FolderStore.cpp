#include "core/store/FolderStore.h"

#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"
#include "core/base/MappedFile.h"
#include "core/base/RegularFile.h"
#include "core/record/PersonnelRecord.h"
#include "core/record/RecordIdentity.h"
#include "core/store/PersonnelStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The store's files, by their paths in the data folder.
QString dataPath() {
    return DataFolderFile(DataFileName);
}
QString userListPath() {
    return DataFolderFile(UserListFileName);
}
QString userLogPath() {
    return DataFolderFile(UserLogFileName);
}

constexpr int kSlotSize = PersonnelLayout::RecordSize;

const QByteArray& blankSlot() {
    static const QByteArray blank = EncodePersonnelRecord(PersonnelRecord());
    return blank;
}

// ---- The data file held open ----

std::unique_ptr<FixedRecordFile> openFile;
// Held from open to close: every pattern of the data file module (update one, append) writes in place.
std::unique_ptr<DataFolderLock> openLock;

// The counts of the file last counted, by its identity and times: the options tab opens the file at every visit,
// and an unchanged file need not be counted again. A file changed within the last two seconds is not remembered,
// since a later write in the same tick of the file system's clock could leave its times as they were.
struct CountedFile {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};
    timespec changed{};
    DataFileCounts counts;
};
CountedFile lastCounted;

bool sameFile(const struct stat& st, const CountedFile& c) {
    return st.st_dev == c.device && st.st_ino == c.inode && st.st_size == c.size &&
           st.st_mtim.tv_sec == c.modified.tv_sec && st.st_mtim.tv_nsec == c.modified.tv_nsec &&
           st.st_ctim.tv_sec == c.changed.tv_sec && st.st_ctim.tv_nsec == c.changed.tv_nsec;
}

DataFileCounts countSlotsInPlace(FixedRecordFile& data);

DataFileCounts countSlots(FixedRecordFile& data) {
    struct stat st {};
    if (::fstat(data.handle(), &st) != 0)
        throw FileError(qt_error_string(errno));
    if (sameFile(st, lastCounted))
        return lastCounted.counts;
    const DataFileCounts counts = countSlotsInPlace(data);
    const time_t now = ::time(nullptr);
    if (st.st_mtim.tv_sec + 2 < now && st.st_ctim.tv_sec + 2 < now)
        lastCounted = {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim, counts};
    return counts;
}

// Counts current and previous employees from InactivationDate alone, reading the date in place in the mapped file:
// the count runs on every open, so it must cost no more than reading the file.
DataFileCounts countSlotsInPlace(FixedRecordFile& data) {
    DataFileCounts counts;
    const qint64 length = data.length();
    counts.records = RecordCountForLength(length, kSlotSize);
    constexpr int dateEnd = PersonnelLayout::InactivationDate + 8;
    const MappedFile map(data.handle(), length, data.fileName());
    map.read([&] {
        qint64 at = 0;
        for (qint64 slot = 0; slot < counts.records; ++slot, at += kSlotSize) {
            // A cut-off last slot without the whole date reads as blank, which is a current employee.
            const double inactivation = at + dateEnd <= length ? DecodeInactivationDate(map.data() + at) : 0;
            if (inactivation == 0)
                ++counts.current;
            else
                ++counts.previous;
        }
    });
    return counts;
}

// ---- The user list held open ----

const QString kKilledMark = QStringLiteral("$Killed$");

const QByteArray& BlankUserImage() {
    static const QByteArray image = EncodeUserRecord(UserRecord());
    return image;
}

std::unique_ptr<FixedRecordFile>& userList() {
    static std::unique_ptr<FixedRecordFile> file;
    return file;
}

// The list held open, or a closed one.
FixedRecordFile& UserListFile() {
    std::unique_ptr<FixedRecordFile>& file = userList();
    if (!file)
        file = std::make_unique<FixedRecordFile>(userListPath(), UserRecordLength, BlankUserImage());
    return *file;
}

// Held from OpenUserList to CloseUserList, since records are written in place while the list is open.
std::unique_ptr<DataFolderLock>& UserListLock() {
    static std::unique_ptr<DataFolderLock> lock;
    return lock;
}

// The user's first name as the file holds it, trimmed.
QString storedFirstName(const QByteArray& image) {
    return DecodeUserRecord(image.constData()).FirstName;
}

} // namespace

FolderStore::~FolderStore() = default;

QString FolderStore::Where() const {
    return QFileInfo(dataPath()).absolutePath();
}

// ---- The data file held open ----

DataFileCounts FolderStore::OpenDataFile() {
    CloseDataFile();
    // One writer per data folder: another program's write gets a few seconds to finish first.
    auto lock = std::make_unique<DataFolderLock>(QFileInfo(dataPath()).path());
    auto file = std::make_unique<FixedRecordFile>(dataPath(), kSlotSize, blankSlot());
    file->open();
    const qint64 count = file->recordCount();
    // Slot numbers are 32-bit throughout the program; a longer file cannot be worked with safely.
    if (count > std::numeric_limits<qint32>::max())
        throw FileError(QStringLiteral("Overflow: \"%1\" holds more than %2 records")
                            .arg(DataFileName)
                            .arg(std::numeric_limits<qint32>::max()));
    openFile = std::move(file);
    openLock = std::move(lock);
    DataFileCounts counts = countSlots(*openFile);
    counts.records = count;
    return counts;
}

void FolderStore::CloseDataFile() {
    if (openFile) {
        openFile->close();
        openFile.reset();
    }
    openLock.reset();
}

bool FolderStore::DataFileIsOpen() const {
    return openFile != nullptr;
}

// ---- Employees ----

DataFileCounts FolderStore::Counts() {
    if (openFile)
        return countSlots(*openFile);
    if (!QFileInfo::exists(dataPath()))
        return DataFileCounts();
    return CountDataFileReadOnly(dataPath());
}

DataFileCounts FolderStore::Scan(const std::function<void(RecordKey, const char*)>& visit) {
    CloseDataFile();
    // No other program writes the folder while the scan reads it.
    DataFolderLock lock(QFileInfo(dataPath()).path());
    FixedRecordFile data(dataPath(), kSlotSize);
    // A scan only reads: a data file that is there is opened for reading, so that one its owner has made read-only
    // (or immutable) can still be listed and dumped. A missing one is created empty, as the list always has.
    data.open(QFileInfo::exists(dataPath()) ? FixedRecordFile::Access::ReadOnly : FixedRecordFile::Access::ReadWrite);
    const qint64 length = data.length();
    const qint32 count = static_cast<qint32>(std::min<qint64>(RecordCountForLength(length, kSlotSize), INT32_MAX));
    const qint32 whole = static_cast<qint32>(std::min<qint64>(count, length / kSlotSize));

    // The slots are read where the file's pages lie, not copied into the process: a list looks at a few fields of
    // each 5000-byte slot.
    const MappedFile map(data.handle(), std::min<qint64>(length, static_cast<qint64>(count) * kSlotSize), dataPath());
    DataFileCounts counts;
    counts.records = count;
    const auto one = [&](qint32 slot, const char* bytes) {
        if (DecodeInactivationDate(bytes) == 0)
            ++counts.current;
        else
            ++counts.previous;
        visit(slot, bytes);
    };
    map.read([&] {
        const char* at = map.data();
        for (qint32 slot = 1; slot <= whole; ++slot, at += kSlotSize)
            one(slot, at);
    });
    if (count > whole) {
        // The rounding of the record count admits a last slot that is more than half there.
        QByteArray partial = blankSlot();
        map.read([&] {
            std::memcpy(partial.data(), map.data() + static_cast<qint64>(whole) * kSlotSize,
                        static_cast<size_t>(length - static_cast<qint64>(whole) * kSlotSize));
        });
        one(count, partial.constData());
    }
    data.close();
    return counts;
}

bool FolderStore::Read(RecordKey key, PersonnelRecord& record, qint64& version) {
    version = 0;
    QByteArray bytes = blankSlot();
    qint64 read = 0;
    if (openFile) {
        read = openFile->readRecord(key, bytes.data());
    } else if (QFileInfo::exists(dataPath())) {
        // The read-one pattern without the count that an open makes: showing the highlighted employee needs no
        // counts, and the list's rows change as fast as the arrow keys repeat. Looking creates nothing.
        DataFolderLock lock(QFileInfo(dataPath()).path());
        FixedRecordFile data(dataPath(), kSlotSize);
        data.open();
        read = data.readRecord(key, bytes.data());
        data.close();
    }
    record = DecodePersonnelRecord(bytes.constData());
    return key >= 1 && read > 0;
}

RecordKey FolderStore::Append(const PersonnelRecord& record) {
    if (openFile) {
        const auto key = static_cast<RecordKey>(openFile->recordCount() + 1);
        openFile->writeRecord(key, EncodePersonnelRecord(record));
        return key;
    }
    DataFolderLock lock(QFileInfo(dataPath()).path());
    FixedRecordFile data(dataPath(), kSlotSize, blankSlot());
    data.open();
    const auto key = static_cast<RecordKey>(data.recordCount() + 1);
    data.writeRecord(key, EncodePersonnelRecord(record));
    data.close();
    return key;
}

void FolderStore::Update(RecordKey key, const PersonnelRecord& record, qint64) {
    if (openFile) {
        openFile->writeRecord(key, EncodePersonnelRecord(record));
        return;
    }
    DataFolderLock lock(QFileInfo(dataPath()).path());
    FixedRecordFile data(dataPath(), kSlotSize, blankSlot());
    data.open();
    data.writeRecord(key, EncodePersonnelRecord(record));
    data.close();
}

RemovalResult FolderStore::Remove(RecordKey key, const QString& listedName, qint64) {
    // The identity check and the copy are one write to the folder: no other writer comes in between.
    const DataFolderLock lock(QFileInfo(dataPath()).path());
    CloseDataFile();
    const QByteArray& blank = blankSlot();
    if (!QFileInfo::exists(dataPath()))
        return {false, 0};
    qint64 before = 0;
    {
        FixedRecordFile file(dataPath(), PersonnelLayout::RecordSize, blank);
        file.open(FixedRecordFile::Access::ReadOnly);
        before = file.recordCount();
        if (key < 1 || key > before)
            return {false, static_cast<qint32>(before)};
        if (!listedName.isNull()) {
            QByteArray bytes = blank;
            file.readRecord(key, bytes.data());
            if (ListedName(DecodePersonnelRecord(bytes.constData())) != listedName)
                return {false, static_cast<qint32>(before)};
        }
    }
    // Nothing is written into the slot: the copy leaves it out, and the file stays exactly as it was until the copy
    // takes its place. A slot marked by an earlier version's interrupted removal goes as well.
    const auto kept = RewriteRecordFileWithout(
        dataPath(), PersonnelLayout::RecordSize,
        [key](qint64 n, const char* record) { return n == key || IsKilledSlot(record); }, blank);
    return {true, static_cast<qint32>(kept)};
}

void FolderStore::ReplaceAll(qint64 count, const std::function<PersonnelRecord(qint64 n)>& record) {
    const DataFolderLock lock(QFileInfo(dataPath()).path());
    CloseDataFile();
    // The new file is written whole beside the old one and takes its place in one rename: a failure at any point
    // leaves the old records as they were. Messages name it as the data file is named.
    const QString folder = QFileInfo(dataPath()).path();
    const QString tempName = folder == QLatin1String(".") ? TempFileName : QDir(folder).filePath(TempFileName);
    RemoveFileIfPresent(tempName);
    FixedRecordFile temp(tempName, kSlotSize, blankSlot());
    try {
        temp.createExclusive();
        constexpr qint64 kBatch = 256;
        QByteArray batch;
        for (qint64 i = 1; i <= count; i += kBatch) {
            batch.clear();
            for (qint64 n = i; n <= std::min(count, i + kBatch - 1); ++n)
                batch += EncodePersonnelRecord(record(n));
            temp.appendRecords(batch);
        }
        temp.sync();
        temp.close();
        FinishRewrite(tempName, dataPath(), count > 0);
    } catch (...) {
        temp.close();
        QFile::remove(tempName);
        throw;
    }
}

std::pair<int, int> FolderStore::StampRank(RecordKey key) {
    if (!QFile::exists(dataPath()))
        return {0, 0};
    FixedRecordFile file(dataPath(), PersonnelLayout::RecordSize, blankSlot());
    file.open(FixedRecordFile::Access::ReadOnly);
    const qint64 length = file.length();
    const qint64 count = RecordCountForLength(length, PersonnelLayout::RecordSize);
    // The stamp alone of each slot, read where it lies in the mapped file: a save looks at eight bytes a record,
    // without a system call for each.
    const MappedFile map(file.handle(), length, dataPath());
    const auto createdAt = [&](qint64 n) {
        char stamp[8] = {};
        const qint64 at = (n - 1) * PersonnelLayout::RecordSize + PersonnelLayout::RecordCreated;
        std::memcpy(stamp, map.data() + at, static_cast<size_t>(std::clamp<qint64>(length - at, 0, sizeof stamp)));
        return GetDouble(stamp);
    };
    int rank = 0;
    int tied = 0;
    map.read([&] {
        const double created = key >= 1 && key <= count ? createdAt(key) : 0;
        for (qint64 n = 1; n <= count; ++n) {
            if (createdAt(n) != created)
                continue;
            ++tied;
            if (n <= key)
                ++rank;
        }
    });
    return {rank, tied};
}

// ---- A change and its history ----

namespace {

qint64 nanoseconds(const struct timespec& t) {
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// What the folder's changes write, as a mark that any of their writes alters: size, inode (a rewrite puts a new
// file in place) and times of the data file and the user list. A missing file and an empty one are the same state,
// for a look at the records may create the data file empty.
QByteArray folderState() {
    QByteArray mark;
    for (const QString& name : {dataPath(), userListPath()}) {
        struct stat st {};
        if (::stat(QFile::encodeName(name).constData(), &st) != 0 || st.st_size == 0) {
            mark += "0;";
            continue;
        }
        mark += QByteArray::number(qint64(st.st_size)) + ',' + QByteArray::number(quint64(st.st_ino)) + ',' +
                QByteArray::number(nanoseconds(st.st_mtim)) + ',' + QByteArray::number(nanoseconds(st.st_ctim)) + ';';
    }
    return mark;
}

// The file system stamps a write with a clock that ticks every few milliseconds: a write in the same tick as the
// one before leaves the times as they were. Waiting here until the clock has passed the files' times makes sure
// the change about to be made alters the mark.
void awaitNextTick() {
    qint64 latest = 0;
    for (const QString& name : {dataPath(), userListPath()}) {
        struct stat st {};
        if (::stat(QFile::encodeName(name).constData(), &st) == 0)
            latest = std::max({latest, nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)});
    }
    for (int waited = 0; waited < 100; ++waited) {
        struct timespec now {};
        ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
        if (nanoseconds(now) > latest)
            return;
        const struct timespec pause { 0, 1000000 };
        ::nanosleep(&pause, nullptr);
    }
}

} // namespace

void CommitToChangeLog(const QString& path, const QList<ChangeEvent>& events, const std::function<void()>& change) {
    const DataFolderLock lock(QFileInfo(path).path());
    if (!events.isEmpty())
        awaitNextTick();
    CommitChange(path, events, folderState, change);
}

void FolderStore::Commit(const QList<ChangeEvent>& events, const std::function<void()>& change) {
    CommitToChangeLog(ChangeLogPath(QFileInfo(dataPath()).path()), events, change);
}

QByteArray FolderStore::History() {
    const QString path = ChangeLogPath(QFileInfo(dataPath()).path());
    // A change a kill interrupted is completed or discarded first, so that the history read names exactly the
    // changes on file. A folder another program is writing just now is read as it is.
    if (QFileInfo::exists(PendingChangePath(path))) {
        const DataFolderLock lock(QFileInfo(path).path(), std::nothrow);
        if (lock.isHeld())
            RecoverPendingChange(path, folderState);
    }
    return ReadChangeLog(path);
}

QByteArray FolderStore::HistoryStamp() {
    // An append grows the file and a replacement (a restore) changes its time: either makes the stamp differ.
    const QFileInfo info(ChangeLogPath(QFileInfo(dataPath()).path()));
    if (!info.exists())
        return QByteArray("none");
    return info.absoluteFilePath().toUtf8() + '\t' + QByteArray::number(info.size()) + '\t' +
           QByteArray::number(info.lastModified().toMSecsSinceEpoch());
}

void FolderStore::Exclusive(const std::function<void()>& work) {
    const DataFolderLock lock(QFileInfo(dataPath()).path());
    work();
}

qint64 FolderStore::RecordCountHint() {
    return QFileInfo(dataPath()).size() / kSlotSize;
}

bool FolderStore::HasData() {
    return QFileInfo::exists(dataPath());
}

QString FolderStore::NoEmployeeText(RecordKey key) {
    const qint64 records = QFileInfo::exists(dataPath()) ? Counts().records : 0;
    return QStringLiteral("%1 holds %2 records, so there is no slot %3").arg(DataFileName).arg(records).arg(key);
}

void FolderStore::ReadMany(const QList<RecordKey>& keys,
                           const std::function<void(qsizetype index, const char* bytes)>& visit) {
    if (keys.isEmpty())
        return;
    const QByteArray& blank = blankSlot();
    FixedRecordFile file(dataPath(), PersonnelLayout::RecordSize, blank);
    file.open(FixedRecordFile::Access::ReadOnly);
    QByteArray slot;
    // A cut-off last slot reads with the rest blank, as the program reads it.
    for (qsizetype i = 0; i < keys.size(); ++i) {
        slot = blank;
        file.readRecord(keys[i], slot.data());
        visit(i, slot.constData());
    }
}

void FolderStore::AppendMany(const std::vector<PersonnelRecord>& records) {
    if (records.empty())
        return;
    const DataFolderLock lock(QFileInfo(dataPath()).path());
    CloseDataFile();
    // Written into a copy that takes the file's place in one rename, as a removal is: a kill or a full disk at any
    // moment leaves the file with none of them or all, never a cut-off record that would count as an employee.
    size_t next = 0;
    const auto batch = [&] {
        constexpr size_t kBatch = 256;
        QByteArray bytes;
        for (const size_t end = std::min(records.size(), next + kBatch); next < end; ++next)
            bytes += EncodePersonnelRecord(records[next]);
        return bytes;
    };
    if (!QFileInfo::exists(dataPath())) {
        ReplaceAll(qint64(records.size()), [&records](qint64 n) { return records[size_t(n - 1)]; });
        return;
    }
    RewriteRecordFileWithout(
        dataPath(), kSlotSize, [](qint64, const char*) { return false; }, blankSlot(), batch);
}

// ---- Users ----

qint64 FolderStore::OpenUserList() {
    CloseUserList();
    // The list of the data folder as it is now, which an earlier open may not have been.
    userList() = std::make_unique<FixedRecordFile>(userListPath(), UserRecordLength, BlankUserImage());
    FixedRecordFile& file = *userList();
    // One writer per data folder: another program's write gets a few seconds to finish first.
    auto lock = std::make_unique<DataFolderLock>(QFileInfo(userListPath()).path());
    file.open();
    const qint64 count = file.recordCount();
    // Record numbers are 16-bit throughout; a longer file cannot be worked with safely.
    if (count > 32767) {
        file.close();
        throw FileError(QStringLiteral("Overflow: \"%1\" holds more than 32767 records").arg(UserListFileName));
    }
    UserListLock() = std::move(lock);
    return count;
}

void FolderStore::CloseUserList() {
    if (userList())
        userList()->close();
    UserListLock().reset();
}

bool FolderStore::UserListIsOpen() const {
    return userList() && userList()->isOpen();
}

void FolderStore::ReadUser(int n, UserRecord& user) {
    FixedRecordFile& file = UserListFile();
    if (!file.isOpen())
        throw FileError(QStringLiteral("Bad file name or number"));
    // Past the end, or the missing tail of a cut-off record, reads as blank.
    QByteArray image = BlankUserImage();
    file.readRecord(n, image.data());
    user = DecodeUserRecord(image.constData());
}

QList<UserRecord> FolderStore::Users() {
    QList<UserRecord> users;
    // Looking must not create the list; a link planted in its place goes on to be refused by the open.
    if (!QFileInfo::exists(userListPath()) && !QFileInfo(userListPath()).isSymLink())
        return users;
    if (UserListIsOpen()) {
        const qint64 count = OpenUserList();
        for (int n = 1; n <= count; ++n)
            ReadUser(n, users.emplace_back());
        return users;
    }
    // Read only, so that a list its owner has made read-only (or immutable) can still be read.
    const DataFolderLock lock(QFileInfo(userListPath()).path());
    FixedRecordFile file(userListPath(), UserRecordLength, BlankUserImage());
    file.open(FixedRecordFile::Access::ReadOnly);
    const qint64 count = file.recordCount();
    QByteArray image;
    for (qint64 n = 1; n <= count; ++n) {
        // Past the end, or the missing tail of a cut-off record, reads as blank.
        image = BlankUserImage();
        file.readRecord(n, image.data());
        users << DecodeUserRecord(image.constData());
    }
    return users;
}

void FolderStore::WriteUser(int n, const UserRecord& user) {
    const bool wasOpen = UserListIsOpen();
    if (!wasOpen)
        OpenUserList();
    UserListFile().writeRecord(n, EncodeUserRecord(user));
    if (!wasOpen)
        CloseUserList();
}

void FolderStore::RemoveUser(int n) {
    // The mark and the rewrite form one change: no other writer comes between them.
    DataFolderLock lock(QFileInfo(userListPath()).path());
    OpenUserList();
    UserRecord user;
    ReadUser(n, user);
    user.FirstName = kKilledMark;
    UserListFile().writeRecord(n, EncodeUserRecord(user));
    CloseUserList();
    // Every marked record goes, including one left marked by a removal that was cut short. The rewrite swaps the
    // new file in with one rename rather than deleting the old one first, so a crash at any moment leaves either
    // the old list or the new one whole; when nobody is left, no list file remains.
    RewriteRecordFile(
        userListPath(), UserRecordLength,
        [](qint64, const QByteArray& image) { return storedFirstName(image) != kKilledMark; }, BlankUserImage());
}

void FolderStore::AppendUserLog(const QByteArray& line) {
    DataFolderLock lock(QFileInfo(userLogPath()).path());
    // The log names every user who signed in and when: a new one is readable by its owner only. A line that does
    // not fit on the disk leaves no part of itself behind.
    AppendWhole(userLogPath(), line);
}

QByteArray FolderStore::UserLog() {
    if (!QFileInfo::exists(userLogPath()))
        return QByteArray();
    // A regular file of this account only: a link or a pipe planted in its place is refused, not followed.
    QString problem;
    const std::unique_ptr<QFile> log = OpenRegularFileForReading(userLogPath(), &problem, true);
    if (!log)
        throw FileError(problem);
    return log->readAll();
}

bool FolderStore::HasUserLog(bool nonEmpty) {
    const QFileInfo info(userLogPath());
    return info.exists() && !(nonEmpty && info.size() == 0);
}

bool FolderStore::HasUsers() {
    return QFileInfo::exists(userListPath());
}

// ---- The data file's read-only tools ----

DataFileCounts CountDataFileReadOnly(const QString& fileName) {
    FixedRecordFile file(fileName, kSlotSize, blankSlot());
    file.open(FixedRecordFile::Access::ReadOnly);
    return countSlots(file);
}

std::vector<PersonnelRecord> ReadAllRecordsReadOnly(const QString& fileName) {
    std::vector<PersonnelRecord> records;
    if (!QFileInfo::exists(fileName))
        return records;
    const QByteArray& blank = blankSlot();
    FixedRecordFile file(fileName, PersonnelLayout::RecordSize, blank);
    file.open(FixedRecordFile::Access::ReadOnly);
    const qint64 count = file.recordCount();
    records.reserve(size_t(count));
    QByteArray slot;
    for (qint64 n = 1; n <= count; ++n) {
        slot = blank;
        file.readRecord(n, slot.data());
        records.push_back(DecodePersonnelRecord(slot.constData()));
    }
    return records;
}

// The copy replaces the data file by one atomic rename instead of deleting the data file and then renaming the
// copy: a crash at any instant leaves either the old file or the new one whole, never neither.
qint32 RewriteFolderDataFile(const std::function<bool(const PersonnelRecord&)>& keep) {
    return static_cast<qint32>(RewriteRecordFile(
        dataPath(), kSlotSize,
        [&keep](qint64, const QByteArray& record) { return keep(DecodePersonnelRecord(record.constData())); },
        blankSlot()));
}
