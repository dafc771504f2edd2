#pragma once

#include "core/record/PersonnelRecord.h"
#include "core/record/RecordFields.h"

#include <QDate>
#include <QSize>
#include <QString>

#include <array>

// The employee record form's entry fields and what they show of a record, without widgets: the window puts these
// texts into its controls.

inline constexpr int FieldCount = 22;
// The fields an entry must fill before it can be saved, in the order they are checked.
inline constexpr std::array<int, 6> RequiredFields = {
    FormIndex(FieldId::FirstName), FormIndex(FieldId::LastName),    FormIndex(FieldId::Race),
    FormIndex(FieldId::Sex),       FormIndex(FieldId::DateOfBirth), FormIndex(FieldId::DateOfEmployment)};
// Index of the notepad, the one field of several lines.
inline constexpr int NotepadField = FormIndex(FieldId::Notepad);

// The caption of lblField(index), 1 "First Name" to 22 "Notepad".
QString FieldCaption(int index);
// The page of tabNameInfo the field sits on: 0 "Basic Info", 1 "Address", 2 "Job Info", 3 "Notepad".
int FieldPage(int index);
// Characters the field accepts.
int FieldMaxLength(int index);
bool IsRequiredField(int index);
// Captions of the pages of tabNameInfo, 0 to 4.
QString RecordPageCaption(int page);

// A record as the form shows it. Empty texts of the optional labels mean the label is hidden.
struct RecordView {
    QString FrameCaption;                      // " First Last "
    QString Created;                           // lblDataInfo(1)
    QString Modified;                          // lblDataInfo(2); empty when never modified
    std::array<QString, FieldCount + 1> Field; // index 1-22; Notepad line breaks are CR LF
    QString YearsDOB;
    QString YearsDOE;
    QString YearsDOT; // empty without a date of job title
    QString YearsDOI; // empty for a current employee
    bool Sworn = false;
    bool Previous = false;
    bool LabelEnabled = false; // a street address to print on a label
    bool EmailEnabled = false; // an e-mail address to write to
    QString PicturePath;       // trimmed; empty for no picture
};

RecordView ViewRecord(const PersonnelRecord& record, const QDate& today);

// The size (twips) a picture of natural size natural (twips) takes in a frame: the full frame width when it is
// wider than high (even if it then overflows the frame's height), else the full frame height; fractions dropped.
QSize FitPicture(const QSize& natural, const QSize& frame);
// The picture frame of the "Photo" page, in twips.
inline constexpr int PictureFrameWidth = 3480;
inline constexpr int PictureFrameHeight = 2535;

// The full weekday name ("Monday") of a date field's text, or an empty text when it holds no valid date.
QString WeekdayTip(const QString& text);
