#include "core/history/ChangeLog.h"

#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/base/KillPoint.h"
#include "core/base/RegularFile.h"
#include "core/base/Session.h"
#include "core/base/Sha256.h"
#include "core/base/UniqueFd.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kHashLength = 64;
constexpr int kFieldCount = 9;
const QString kWhenFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");

[[noreturn]] void failWith(const QString& path, int error) {
    throw ChangeLogError(QStringLiteral("The change history %1 could not be written:\r\n%2")
                             .arg(QDir::toNativeSeparators(ShownPath(path)), qt_error_string(error)));
}

bool writeAt(int fd, const QByteArray& bytes, off_t offset) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done),
                                   offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += n;
    }
    return true;
}

// The end of the last whole line, and the hash it ends in: the tail is read backwards in blocks until a line end
// shows, so an append costs the same whatever the log's length.
struct Tail {
    qint64 WholeEnd = 0;
    QByteArray LastHash;
    QByteArray Partial;
};

Tail readTail(int fd, qint64 size, const QString& path) {
    Tail tail;
    tail.LastHash = ChainSeed();
    QByteArray back;
    qint64 start = size;
    constexpr qint64 kBlock = 65536;
    qsizetype lastEnd = -1;
    while (start > 0) {
        const qint64 from = std::max<qint64>(0, start - kBlock);
        QByteArray block(start - from, Qt::Uninitialized);
        if (::pread(fd, block.data(), static_cast<size_t>(block.size()), from) != block.size())
            failWith(path, errno ? errno : EIO);
        back.prepend(block);
        start = from;
        lastEnd = back.lastIndexOf('\n');
        // The last whole line needs its own start too, unless it is the first line of the file.
        if (lastEnd >= 0 && (start == 0 || (lastEnd > 0 && back.lastIndexOf('\n', lastEnd - 1) >= 0)))
            break;
    }
    if (lastEnd < 0) {
        tail.Partial = back;
        return tail;
    }
    tail.WholeEnd = start + lastEnd + 1;
    tail.Partial = back.mid(lastEnd + 1);
    const qsizetype lineStart = lastEnd > 0 ? back.lastIndexOf('\n', lastEnd - 1) + 1 : 0;
    const QByteArray line = back.mid(lineStart, lastEnd - lineStart);
    tail.LastHash = line.right(kHashLength);
    return tail;
}

} // namespace

QString EscapeField(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString UnescapeField(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += next == QLatin1Char('t')   ? QChar(u'\t')
               : next == QLatin1Char('n') ? QChar(u'\n')
               : next == QLatin1Char('r') ? QChar(u'\r')
                                          : next;
    }
    return out;
}

QByteArray EventText(const ChangeEvent& e) {
    const QStringList fields = {e.When.toString(kWhenFormat),
                                e.User,
                                e.Level,
                                e.Event,
                                e.Employee,
                                e.Identity,
                                e.Field,
                                e.OldValue,
                                e.NewValue};
    QStringList escaped;
    for (const QString& field : fields)
        escaped << EscapeField(field);
    return escaped.join(QLatin1Char('\t')).toUtf8();
}

std::optional<ChangeEvent> ParseEventText(const QByteArray& text) {
    const QStringList fields = QString::fromUtf8(text).split(QLatin1Char('\t'));
    if (fields.size() != kFieldCount)
        return std::nullopt;
    ChangeEvent e;
    e.When = QDateTime::fromString(fields[0], kWhenFormat);
    if (!e.When.isValid())
        return std::nullopt;
    QString* targets[] = {&e.User, &e.Level, &e.Event, &e.Employee, &e.Identity, &e.Field, &e.OldValue, &e.NewValue};
    for (int i = 0; i < kFieldCount - 1; ++i)
        *targets[i] = UnescapeField(fields[i + 1]);
    return e;
}

QByteArray ChainSeed() {
    static const QByteArray seed = Sha256::hash("Vardel Change.Log").toHex();
    return seed;
}

QByteArray ChainHash(const QByteArray& previousHash, const QByteArray& text) {
    // One hasher a thread, kept: a verify hashes every line of the history.
    thread_local Sha256 hash;
    hash.add(previousHash);
    hash.add(text);
    return hash.result().toHex();
}

QByteArray ChainLines(const QList<ChangeEvent>& events, QByteArray previousHash) {
    QByteArray lines;
    for (const ChangeEvent& event : events) {
        const QByteArray text = EventText(event);
        previousHash = ChainHash(previousHash, text);
        lines += text + '\t' + previousHash + '\n';
    }
    return lines;
}

ChainCheck CheckChain(const QByteArray& content) {
    ChainCheck check;
    check.LastHash = ChainSeed();
    qsizetype at = 0;
    while (at < content.size()) {
        const qsizetype end = content.indexOf('\n', at);
        if (end < 0) {
            check.State = ChainCheck::CutOff;
            check.BadLine = check.Lines + 1;
            return check;
        }
        const QByteArrayView line(content.constData() + at, end - at);
        ++check.Lines;
        const qsizetype tab = line.size() - kHashLength - 1;
        const bool checks = tab >= 0 && line[tab] == '\t' &&
                            ChainHash(check.LastHash, line.first(tab).toByteArray()) == line.sliced(tab + 1);
        if (!checks) {
            check.State = ChainCheck::Broken;
            check.BadLine = check.Lines;
            // The rest is counted, so that the line count tells the file's size.
            check.Lines += content.sliced(end + 1).count('\n');
            return check;
        }
        check.LastHash = line.sliced(tab + 1).toByteArray();
        at = end + 1;
    }
    return check;
}

QList<ChangeEvent> ParseChangeLog(const QByteArray& content) {
    QList<ChangeEvent> events;
    qsizetype at = 0;
    for (qsizetype end; (end = content.indexOf('\n', at)) >= 0; at = end + 1) {
        const QByteArray line = content.mid(at, end - at);
        if (line.size() <= kHashLength)
            continue;
        if (const auto event = ParseEventText(line.first(line.size() - kHashLength - 1)))
            events << *event;
    }
    return events;
}

QString ChangeLogPath(const QString& folder) {
    const QString dir = folder.isEmpty() ? DataFolder() : folder;
    return QDir(dir).filePath(ChangeLogFileName);
}

QByteArray ReadChangeLog(const QString& path) {
    return ReadFileIfPresent(path);
}

qint64 AppendEvents(const QString& path, const QList<ChangeEvent>& events) {
    const DataFolderLock lock(QFileInfo(path).path());
    UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd)
        failWith(path, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        failWith(path, errno);
    const qint64 size = st.st_size;
    Tail tail = readTail(fd.get(), size, path);
    QByteArray bytes;
    qint64 keep = size;
    if (!tail.Partial.isEmpty()) {
        // A line a power loss cut off stood for a change never made (the line is written before its change); it
        // makes way for a whole line that keeps what it said.
        ChangeEvent recovered = NewEvent(HistoryEvent::Recovered);
        recovered.OldValue = QString::fromUtf8(tail.Partial);
        bytes = ChainLines({recovered}, tail.LastHash);
        tail.LastHash = bytes.right(kHashLength + 1).left(kHashLength);
        keep = tail.WholeEnd + bytes.size();
    }
    bytes += ChainLines(events, tail.LastHash);
    if (!writeAt(fd.get(), bytes, tail.WholeEnd) || ::fdatasync(fd.get()) != 0) {
        const int error = errno;
        // As it was, the cut-off text included; a log this first line would have started is not left empty.
        if (::ftruncate(fd.get(), tail.WholeEnd) == 0 && !tail.Partial.isEmpty())
            writeAt(fd.get(), tail.Partial, tail.WholeEnd);
        // Let go of the file before it is cut back or removed by name.
        fd.reset();
        if (size == 0)
            TakeBackLines(path, 0);
        failWith(path, error);
    }
    // The lines stand for changes about to be made: a close that reports them lost (a share that writes back late)
    // must stop those changes.
    if (::close(fd.release()) != 0)
        failWith(path, errno);
    return keep;
}

void TakeBackLines(const QString& path, qint64 length) {
    // Should even this fail, the lines stand for a change that did not happen: the safer of the two errors. A log
    // that held nothing before goes, as a first change that failed leaves no trace of an empty file either.
    const QByteArray name = QFile::encodeName(path);
    const int cut = length == 0 ? ::unlink(name.constData()) : ::truncate(name.constData(), length);
    Q_UNUSED(cut);
}

ChangeEvent NewEvent(const QString& event) {
    ChangeEvent e;
    e.When = QDateTime::currentDateTime();
    if (CurrentUserName.isEmpty()) {
        const QString account = qEnvironmentVariable("USER", qEnvironmentVariable("LOGNAME"));
        const QString program = ProgramName();
        e.User = account.isEmpty() ? program : program + QStringLiteral(" (") + account + QLatin1Char(')');
    } else {
        e.User = CurrentUserName;
        e.Level = AccessLevelName(CurrentAccessLevel);
    }
    e.Event = event;
    return e;
}

bool MatchesFilter(const ChangeEvent& event, const HistoryFilter& filter) {
    if (!filter.Employee.isEmpty() && !event.Employee.contains(filter.Employee, Qt::CaseInsensitive))
        return false;
    if (!filter.User.isEmpty() && !event.User.contains(filter.User, Qt::CaseInsensitive))
        return false;
    const QDate day = event.When.date();
    if (filter.Since.isValid() && day < filter.Since)
        return false;
    return !(filter.Until.isValid() && day > filter.Until);
}

// ---- A change and its lines, one unit ----

namespace {

const QByteArray kPendingMagic = "VARDEL-PENDING 1\n";

struct PendingChange {
    qint64 LogAt = 0; // where the lines go: the end of the log's last whole line
    QByteArray State;
    QByteArray Lines;
};

QByteArray pendingText(const PendingChange& p) {
    return kPendingMagic + "at " + QByteArray::number(p.LogAt) + "\nstate " + p.State.toHex() + "\nlines " +
           QByteArray::number(p.Lines.size()) + '\n' + p.Lines + "end\n";
}

// Nothing when the file is not a whole pending change: a write that a kill cut short, before the change began.
std::optional<PendingChange> parsePending(const QByteArray& text) {
    if (!text.startsWith(kPendingMagic) || !text.endsWith("\nend\n"))
        return std::nullopt;
    qsizetype at = kPendingMagic.size();
    const auto line = [&]() -> QByteArray {
        const qsizetype end = text.indexOf('\n', at);
        if (end < 0)
            return QByteArray();
        const QByteArray l = text.mid(at, end - at);
        at = end + 1;
        return l;
    };
    const QByteArray logAt = line(), state = line(), lines = line();
    if (!logAt.startsWith("at ") || !state.startsWith("state ") || !lines.startsWith("lines "))
        return std::nullopt;
    bool ok1 = false, ok2 = false;
    PendingChange p;
    p.LogAt = logAt.mid(3).toLongLong(&ok1);
    const qint64 size = lines.mid(6).toLongLong(&ok2);
    if (!ok1 || !ok2 || p.LogAt < 0 || size < 0 || at + size + 4 != text.size())
        return std::nullopt;
    p.State = QByteArray::fromHex(state.mid(6));
    p.Lines = text.mid(at, size);
    return p;
}

void syncFolderOf(const QString& path) {
    if (const UniqueFd folder(
            ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        folder)
        ::fsync(folder.get());
}

// Writes the pending file whole and flushed, or throws ChangeLogError leaving none.
void writePending(const QString& path, const PendingChange& p) {
    const QByteArray name = QFile::encodeName(path);
    ::unlink(name.constData());
    UniqueFd fd(::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd)
        failWith(path, errno);
    if (!writeAt(fd.get(), pendingText(p), 0) || ::fdatasync(fd.get()) != 0 || ::close(fd.release()) != 0) {
        const int error = errno;
        ::unlink(name.constData());
        failWith(path, error);
    }
    syncFolderOf(path);
}

void dropPending(const QString& path) {
    ::unlink(QFile::encodeName(path).constData());
    syncFolderOf(path);
}

// Step 3: the lines at their place in the log, flushed; then the pending file goes. A failure leaves the pending
// file for the next one who takes the folder.
void appendPending(const QString& logPath, const QString& pendingPath, const PendingChange& p) {
    UniqueFd fd(::open(QFile::encodeName(logPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd || ::ftruncate(fd.get(), p.LogAt) != 0 || !writeAt(fd.get(), p.Lines, p.LogAt) ||
        ::fdatasync(fd.get()) != 0 || ::close(fd.release()) != 0)
        throw FileError(
            QStringLiteral("The change was made, but the change history %1 could not take its lines yet:\r\n%2\r\n"
                           "They are kept beside it and go into it when the folder is next changed.")
                .arg(QDir::toNativeSeparators(logPath), qt_error_string(errno)),
            FileOutcome::Unstated);
    KillPoint("history-appended");
    dropPending(pendingPath);
}

// Step 1's content: the lines chained onto the log as it stands, a cut-off last line made a "recovered" one.
PendingChange preparePending(const QString& logPath, const QList<ChangeEvent>& events) {
    PendingChange p;
    const UniqueFd fd(::open(QFile::encodeName(logPath).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    Tail tail;
    tail.LastHash = ChainSeed();
    if (fd) {
        struct stat st {};
        if (::fstat(fd.get(), &st) != 0)
            failWith(logPath, errno);
        tail = readTail(fd.get(), st.st_size, logPath);
    } else if (errno != ENOENT) {
        failWith(logPath, errno);
    }
    if (!tail.Partial.isEmpty()) {
        ChangeEvent recovered = NewEvent(HistoryEvent::Recovered);
        recovered.OldValue = QString::fromUtf8(tail.Partial);
        p.Lines = ChainLines({recovered}, tail.LastHash);
        tail.LastHash = p.Lines.right(kHashLength + 1).left(kHashLength);
    }
    p.Lines += ChainLines(events, tail.LastHash);
    p.LogAt = tail.WholeEnd;
    return p;
}

} // namespace

QString PendingChangePath(const QString& logPath) {
    return logPath + QStringLiteral(".pending");
}

void RecoverPendingChange(const QString& logPath, const std::function<QByteArray()>& state) {
    const QString pendingPath = PendingChangePath(logPath);
    if (!QFileInfo::exists(pendingPath) && !QFileInfo(pendingPath).isSymLink())
        return;
    QString problem;
    const std::unique_ptr<QFile> file = OpenRegularFileForReading(pendingPath, &problem, true);
    const std::optional<PendingChange> p = file ? parsePending(file->readAll()) : std::nullopt;
    if (!p || p->State == state())
        dropPending(pendingPath);
    else
        appendPending(logPath, pendingPath, *p);
}

void CommitChange(const QString& logPath, const QList<ChangeEvent>& events, const std::function<QByteArray()>& state,
                  const std::function<void()>& change) {
    RecoverPendingChange(logPath, state);
    if (events.isEmpty()) {
        change();
        return;
    }
    const QString pendingPath = PendingChangePath(logPath);
    PendingChange p = preparePending(logPath, events);
    p.State = state();
    writePending(pendingPath, p);
    KillPoint("history-pending");
    try {
        change();
    } catch (const FileError& error) {
        // Made, but not confirmed by the disk: the history says so as the files do. An error that says nothing was
        // written is taken at its word; one that does not say is judged by the files.
        const bool made = error.outcome() == FileOutcome::NotConfirmed ||
                          (error.outcome() != FileOutcome::NotWritten && state() != p.State);
        if (made)
            appendPending(logPath, pendingPath, p);
        else
            dropPending(pendingPath);
        throw;
    } catch (...) {
        if (state() != p.State)
            appendPending(logPath, pendingPath, p);
        else
            dropPending(pendingPath);
        throw;
    }
    KillPoint("history-changed");
    appendPending(logPath, pendingPath, p);
}
