#pragma once

#include "core/print/PrinterDevice.h"

#include <QDateTime>
#include <QString>

// modStandard's printing routines and the program-wide printing state.

// Set by the first Yes to "Is your printer ready?"; the question is not asked again in this run.
extern bool PrinterReadyConfirmed;
// Set by the information report before it opens the picture window: the window prints its picture and closes.
extern bool PrintPictureOnOpen;

// The question asked before the list and the report, unless PrinterReadyConfirmed.
QString PrinterReadyText();  // "Is your printer ready?"
QString PrinterReadyTitle(); // "Printer Status..."

// Underscores from start until the position reaches end (inches), then the line ends. Printed on a line that
// holds text, it underlines that text.
void PrintRule(PrinterDevice& printer, double start, double end);

// Makes positions count from the sheet's edges, moved by the two adjustments (inches): the scale origin becomes
// the printable area's physical offset minus the adjustment.
void SetPageOrigin(PrinterDevice& printer, double adjustX, double adjustY);

// Prints text character by character between the margins: a line breaks at the first blank within the last inch
// before the right margin, and a word running half an inch past the margin is cut there; a CR LF starts a new
// line; a page is full below 8.8 inches, and every page from the second carries "(page N)" at 6.0 across, 9.2
// down. The title, when there is one, heads the first page or every page. The owner is busy meanwhile unless
// leaveWindowAlone; the document ends unless leaveDocumentOpen.
void PrintWrappedText(PrinterDevice& printer, PrintOwner* owner, const QString& text, const QString& title,
                      bool underlineTitle, bool centreTitle, bool titleEveryPage, bool leaveWindowAlone,
                      bool leaveDocumentOpen, double leftMargin, double rightMargin);

// The printouts ask for "Arial". Where Arial itself is not installed, the font system must give a face with
// Arial's widths (Liberation Sans, Arimo) so that texts measure as the layouts expect. Needs the Gui application.
bool IsArialCompatibleFamily(const QString& family);
// The family that "Arial" resolves to.
QString ResolvedArialFamily();
// Prepares printing at start-up: when "Arial" would not resolve to a compatible face, names the compatible faces
// as its substitutes. Returns whether "Arial" now resolves to a compatible face; nothing fails here.
bool PreparePrinter();

// A new file name in folder for a printout saved as PDF: the printout's name and the date and time,
// "Employee List 2026-03-07 14-05-09.pdf", with " (2)", " (3)"... added when that name is taken.
QString PrintoutFilePath(const QString& folder, const QString& printoutName, const QDateTime& when);
