#pragma once

#include "core/record/PersonnelRecord.h"
#include "core/record/RecordView.h"

#include <QList>
#include <QString>

#include <array>

// The rules of entering a new employee and editing one, without widgets: which entries may be saved, the checks
// and their messages, the questions a change of status asks, and how an entry becomes a record. The main window
// reads its controls into these values and shows what comes back.

// The text of the entry fields 1-22 as the form holds them (index 0 unused); the notepad's line breaks are CR LF.
using EntryFields = std::array<QString, FieldCount + 1>;

// Whether every required field holds more than blanks; the save button is usable exactly then.
bool RequiredFieldsFilled(const EntryFields& fields);

// The notepad's fill gauge for its text, " ###% full " with a floor of 1%; an empty text for an empty notepad,
// whose gauge is hidden. Line breaks count two places, as CR LF takes them in the file.
QString NotepadGauge(const QString& notepad);

// The title of every box a failed check shows.
inline const QString EntryErrorTitle = QStringLiteral("Error");

// The outcome of the checks: the first that failed, with its field and message; Field 0 when all passed.
struct EntryCheck {
    int Field = 0;
    QString Message;
    bool Passed() const { return Field == 0; }
};

// Runs the checks of a save in their order and stops at the first failure. Each field it reaches is rewritten
// as the check leaves it (race and sex in capitals, blanks around every checked field removed), whether it
// passes or not; fields after a failure stay as typed. The inactivation date is checked only in edit mode.
EntryCheck CheckEntry(EntryFields& fields, bool editing);

// A change of an employee's status that an edit asks about before it is saved.
enum class StatusChange { SwornDrop, SwornRaise, Inactivation, Reactivation };

struct StatusQuestion {
    StatusChange Change;
    QString Text;
    QString Title;
};

// The questions an edit asks, in their order, for the status the record had when editing began and the option
// buttons now selected. previousStatus is 1 for a current employee, 2 for a previous one.
QList<StatusQuestion> StatusQuestions(bool wasSworn, qint16 previousStatus, bool swornSelected, bool previousSelected);

// The box that asks for the date a current employee left.
inline const QString InactivationPrompt = QStringLiteral("Enter the date of\r\nINactivation for this employee...");
inline const QString InactivationTitle = QStringLiteral("Inactivation Date");

// What a save decided besides the fields: the mode, the option buttons and the answers to the questions.
struct SaveChoices {
    bool Adding = false;
    bool SwornSelected = false; // "Sworn Employee" selected; decides a new record's Sworn
    bool WasSworn = false;      // Sworn when editing began
    bool SwornDropConfirmed = false;
    bool SwornRaiseConfirmed = false;
    bool ReactivationConfirmed = false;
    bool InactivationGiven = false;
    QString EnteredInactivation; // the valid date typed in the inactivation box
    QString PicturePath;         // the picture held for the form; empty for none
};

// Copies a checked entry into record, which holds the slot as read (blank for a new slot), and stamps it: a new
// record gets RecordCreated now, LastModified 0 and the program's DataVersion; an edited one LastModified now.
void CopyEntryToRecord(PersonnelRecord& record, const EntryFields& fields, const SaveChoices& choices, double now);
