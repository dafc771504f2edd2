#pragma once

#include "core/base/FileError.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// "Change.Log": the change history of a data folder. One line per event, appended and never rewritten, each line
// ending in a SHA-256 over the previous line's hash and its own text, so that a line changed, removed or inserted
// anywhere breaks the chain from there on. Text is UTF-8; fields are separated by tabs, and a tab, line break or
// backslash inside a field is escaped, so a line always stays one line.
//
//   when \t user \t level \t event \t employee \t identity \t field \t old \t new \t hash
//
// "when" is local time "yyyy-MM-dd hh:mm:ss"; "employee" the name as the list shows it ("Last, First");
// "identity" the record's creation stamp (RecordIdentity) which, unlike its slot, does not shift.

inline const QString ChangeLogFileName = QStringLiteral("Change.Log");

// The events a line records.
namespace HistoryEvent {
inline const QString Added = QStringLiteral("added");
inline const QString Edited = QStringLiteral("edited");
inline const QString Removed = QStringLiteral("removed");
inline const QString PictureStored = QStringLiteral("picture stored");
inline const QString PictureDeleted = QStringLiteral("picture deleted");
inline const QString UserAdded = QStringLiteral("user added");
inline const QString UserEdited = QStringLiteral("user edited");
inline const QString UserDeleted = QStringLiteral("user deleted");
inline const QString Backup = QStringLiteral("backup");
inline const QString Restore = QStringLiteral("restore");
inline const QString Converted = QStringLiteral("converted");
inline const QString Import = QStringLiteral("import");
// Written by the next append after a power loss cut the last line off: the cut text is kept as the old value.
inline const QString Recovered = QStringLiteral("recovered");
} // namespace HistoryEvent

struct ChangeEvent {
    QDateTime When;
    QString User;
    QString Level;
    QString Event;
    QString Employee;
    QString Identity;
    QString Field;
    QString OldValue;
    QString NewValue;

    bool operator==(const ChangeEvent&) const = default;
};

// The history could not be written: the change it belongs to was not made. Ends the program like any file error
// where nothing catches it; the windows that make changes catch it and say why the change was refused.
class ChangeLogError : public FileError {
public:
    using FileError::FileError;
};

// "\\" "\t" "\n" "\r" for a backslash, tab, line feed and carriage return; everything else as it is.
QString EscapeField(const QString& text);
QString UnescapeField(const QString& text);

// The line's text without its hash and line end.
QByteArray EventText(const ChangeEvent& event);
// The event of a line's text (hash removed); nothing when the text does not have the line's fields.
std::optional<ChangeEvent> ParseEventText(const QByteArray& text);

// The hash that starts every chain, and the hash of a line: hex SHA-256 of the previous hash and the line's text.
QByteArray ChainSeed();
QByteArray ChainHash(const QByteArray& previousHash, const QByteArray& text);

// Whole lines (line end included) for events following the line whose hash is previousHash.
QByteArray ChainLines(const QList<ChangeEvent>& events, QByteArray previousHash);

struct ChainCheck {
    enum State { Intact, Broken, CutOff };
    State State = Intact;
    // Whole lines in the file.
    qint64 Lines = 0;
    // Broken: the first line (from 1) that is not what the chain says; CutOff: the number of the cut-off line.
    qint64 BadLine = 0;
    // The hash of the last whole line that checks (the seed for an empty file).
    QByteArray LastHash;
};
// Checks a log's whole content. A last line without its line end is a write cut off by a power loss, not
// tampering, provided every whole line before it checks.
ChainCheck CheckChain(const QByteArray& content);

// The events of the whole lines of a log's content, oldest first; a line that does not parse is skipped.
QList<ChangeEvent> ParseChangeLog(const QByteArray& content);

// Change.Log in folder (the working folder when empty).
QString ChangeLogPath(const QString& folder = QString());
// The file's content; empty when there is none yet. Throws FileError when it cannot be read.
QByteArray ReadChangeLog(const QString& path);

// Appends the events' lines to the log at path under the data folder's write lock, flushed to the disk before it
// returns, and returns the length the file had before, for TakeBackLines. A cut-off last line is first replaced
// by a "recovered" line that keeps its text. Throws ChangeLogError, with the file as it was, when the lines
// cannot be written (a full disk, a read-only folder).
qint64 AppendEvents(const QString& path, const QList<ChangeEvent>& events);
// Cuts the log back to length: the lines of a change that then failed. Never throws.
void TakeBackLines(const QString& path, qint64 length);

// A change and its lines as one unit that a crash never splits. Called with the data folder's lock held.
//
//   1. The lines (chained onto the log as it is, a cut-off last line made a "recovered" one) are written, whole and
//      flushed, to "Change.Log.pending" beside the log, with the log's length and state(): a mark of the files the
//      change writes (their size, inode and times).
//   2. change runs.
//   3. The lines are appended to the log, flushed, and the pending file removed.
//
// Whoever next takes the folder (RecoverPendingChange) and finds a pending file knows that a kill or a failure came
// between two steps, and decides from the mark: a pending file not written whole means step 2 never began, and it
// goes; files as they were mean the change was not made, and the lines go; files changed mean it was made, and the
// lines go into the log, which is first cut back to the recorded length, so that an append a kill cut short is
// written whole instead. The log therefore names exactly the changes that were made. Lines that cannot be appended
// after their change was made stay pending, and FileError (not ChangeLogError: the change stands) says so.
//
// When change throws having written nothing (the files as they were), its lines go and the error goes on; when it
// throws having made the change (a new file in place whose flush was not confirmed), its lines are kept. Throws
// ChangeLogError, having run nothing, when the pending lines cannot be written. state() must change with every
// write the change can make; the caller makes sure a change within the same tick of the file system's clock is
// still told apart.
void CommitChange(const QString& logPath, const QList<ChangeEvent>& events, const std::function<QByteArray()>& state,
                  const std::function<void()>& change);
// Completes or discards a change that a kill interrupted, as above; nothing when there is none. With the folder's
// lock held. Throws ChangeLogError when a made change's lines cannot be written yet (they stay pending).
void RecoverPendingChange(const QString& logPath, const std::function<QByteArray()>& state);
// "Change.Log.pending" beside the log at logPath.
QString PendingChangePath(const QString& logPath);

// Who is making changes: the logged-in user's name and access level name; before a log-in (the conversion at
// start-up) or from vardel-data the program's name and the system account.
ChangeEvent NewEvent(const QString& event);

// Filters of the log's readers. Empty texts and invalid dates match everything.
struct HistoryFilter {
    QString Employee; // part of the employee's name, any case
    QString User;     // part of the user's name, any case
    QDate Since;
    QDate Until;
};
bool MatchesFilter(const ChangeEvent& event, const HistoryFilter& filter);
