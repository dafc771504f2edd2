#pragma once

#include "core/print/PrinterDevice.h"
#include "core/record/PersonnelRecord.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

// The printouts, each drawn on a printer device from plain inputs. None of them asks anything or touches a
// window beyond the owner it is given; the commands that ask and keep windows busy are in PrintCommands.

// The employee list as the grid shows it.
struct EmployeeListPrintout {
    QString windowCaption;   // the main window's caption
    QString listHeading;     // the caption of the list frame, which describes the list
    QStringList headings;    // the grid's row 0, columns 0 to 2
    QList<QStringList> rows; // the grid's rows 1 to the last, columns 0 to 2 (further columns are not printed)
    double printedAt = 0;    // date and time for the page headings
    int columns = 3;         // the columns the grid shows, from column 0: only these are printed
};

// Arial 9, from 1.0 inch down on each page: the window caption with " -- Page N, " and the date, "Printout of "
// and the list heading, a rule, the underlined column headings; the rows at 0.5, 4.0 (cut to 50 and 40
// characters) and 6.2 inches, each cell also cut a blank short of the next column (the last at the rule's end);
// a page is full below 8.8 inches; "End of Printout" after the last row.
void PrintEmployeeList(PrinterDevice& printer, const EmployeeListPrintout& list);

// The texts the record form shows for a record, index 1 to 22 (0 unused): fields trimmed, dates as
// "mm/dd/yyyy", the job title date only when there is one, the inactivation date only for a previous employee.
QStringList RecordFormTexts(const PersonnelRecord& record);
// The caption of entry field 1 to 22 on the record form.
QString RecordFieldCaption(int index);

// The employee information report: a heading, each filled field of 1 to 20 with its caption ending at 3.0
// inches, the sworn and employment status, and, when printComments, the notepad: on the caption's line up to 49
// characters, from 50 wrapped between 1.0 and 7.5 inches. The owner goes busy and usable while the notepad is
// wrapped. Ends the document.
void PrintInformationReport(PrinterDevice& printer, PrintOwner* owner, const PersonnelRecord& record,
                            bool printComments, double printedAt);

// modPrintUpdateForm: one "Annual Employee Information Update" form, a document of its own, with the fields as
// stored (padded to their widths) from column 10 and the emergency contact at column 42, positions counted from
// the sheet's edges.
void PrintUpdateForm(PrinterDevice& printer, const PersonnelRecord& record, double printedAt);

// The label dialog's first lines for an employee: first and last name, street address, city/state/zip, each
// cut to 35 characters; the fourth line is empty.
QStringList AddressLabelLines(const QString& firstName, const QString& lastName, const QString& streetAddress,
                              const QString& cityStateZip);
constexpr int LabelLineLength = 35;
constexpr int LabelRows = 10;
constexpr int LabelColumns = 3;
// One address label of a 3 x 10 sheet of 1 x 2 5/8 inch labels: the four lines (an empty line prints empty)
// from 0.2 + 2.8 x (column - 1) inches across, starting one line below 0.5 + (row - 1) inches down, measured from
// the sheet's edges. A document of its own.
void PrintAddressLabel(PrinterDevice& printer, const QStringList& lines, int row, int column);

// A picture under its heading: the heading at 0.75 across, 1.8 down, the picture from 0.75, 2.0, 6.25 inches
// wide and as high as its shape asks, but no lower on the sheet than 10.5 inches. A document of its own.
void PrintPicture(PrinterDevice& printer, const QString& heading, const QImage& picture);

// A help topic: Arial 10, the heading application title + ", Help Section: " + the topic, underlined, then the
// text wrapped between 1.0 and 7.5 inches. The owner is busy meanwhile. Ends the document.
void PrintHelpTopic(PrinterDevice& printer, PrintOwner* owner, const QString& topicCaption, const QString& text);
