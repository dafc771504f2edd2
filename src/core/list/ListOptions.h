#pragma once

#include "core/base/Trim.h"

#include <QString>
#include <QStringList>

// The list display options as one plain value: the main window reads its option controls into it, the list
// builder and the command-line tool take it. Indexes are those of the option buttons and the entry list.

enum ListType { AlphabeticalListing = 1, SeniorityByEmployment = 2, SeniorityByAge = 3, BirthdayList = 4 };

struct ListOptions {
    int TypeList = AlphabeticalListing; // optTypeList 1-4
    int ListWith = 0;                   // comboListWith entry 0-9
    int EmpStatus = 1;                  // optEmpStatus 1 current, 2 previous
    int EmpSworn = 1;                   // optEmpSworn 1 both, 2 sworn only, 3 non-sworn only
    int Race = 1;                       // optRace 1 all, 2-6 W B H A O
    int Sex = 1;                        // optSex 1 all, 2 M, 3 F
    QString Month;                      // comboMonth text; empty means no restriction
    QString Year;                       // comboYear text
    QString AgeGroup;                   // comboAgeGroup text
    QString OtherText;                  // txtOther as typed
    bool SearchNotepad = false;         // chkSearchNotepad

    bool operator==(const ListOptions&) const = default;
};

// Captions of the option buttons, index as in the controls (0 gives an empty text).
QString TypeListCaption(int index);
QString EmpSwornCaption(int index);
QString RaceCaption(int index);
QString SexCaption(int index);
// The one-letter code each race and sex button stands for ("W", "M"); empty for "All".
QString RaceCode(int index);
QString SexCode(int index);
// Captions of the labels of frame(9), 1 "Month Emp." to 4 "Look for other text...".
QString LookForCaption(int index);

// The entries of the combo boxes, in their order.
QStringList ListWithEntries();
QStringList MonthEntries();
// An empty entry, then currentYear - 59 to currentYear + 1.
QStringList YearEntries(int currentYear);
QStringList AgeGroupEntries();

// What the list type allows, as a click on a list type button leaves the options: previous employees, race and
// sex exist only for the alphabetical listing; the month, year, age-group and text settings are kept.
void ApplyListTypeRule(ListOptions& options);

// The two status buttons after a count: captions with the counts, which are usable, and which is selected.
struct StatusButtons {
    QString CurrentCaption;
    QString PreviousCaption;
    bool CurrentEnabled = false;
    bool PreviousEnabled = false;
    int Selected = 1;
};
StatusButtons RefreshStatusButtons(qint32 currentCount, qint32 previousCount, bool alphabetical, int selected);

// The caption of the list frame, which names the list shown; the list printout uses it as its title.
QString ListHeading(const ListOptions& options);
