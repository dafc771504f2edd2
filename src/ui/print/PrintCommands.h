#pragma once

#include "core/record/PersonnelRecord.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QMenu;
class QWidget;

// The printing commands as the windows' handlers run them: the questions first, then the printout with the
// window busy, then, when the output went to a PDF file, the message that says where. Each handler is one call.

// The printer-ready question: asks "Is your printer ready?" unless it was answered Yes before in this run or the
// printout goes to a PDF file.
// True when printing may go ahead.
bool PrinterReady(QWidget* parent);

// cmdPrintList_Click: the list as the grid shows it, under the main window's caption; columns: how many of
// columns 0 to 2 the grid shows.
void PrintEmployeeListCommand(QWidget* mainWindow, const QString& listHeading, const QStringList& headings,
                              const QList<QStringList>& rows, int columns = 3);

// The report's questions.
QString PrintCommentsQuestion(); // "Print the 'Comments' section also?"
QString PrintPhotoQuestion();    // "Print the photograph?"

// cmdPrintEntry_Click: the information report of the record shown (CurrentRecord), with the notepad and the
// photograph when the user wants them. listedName is column 0 of the highlighted row, the picture's heading.
// printPhoto shows the picture window, which prints and closes by itself since PrintPictureOnOpen is set; without
// it the picture is printed here, the same way.
void PrintInformationReportCommand(QWidget* mainWindow, const PersonnelRecord& record, const QString& listedName,
                                   const std::function<void()>& printPhoto = {});

// cmdPrintPic_Click of the picture window: the picture under its heading, the window busy meanwhile.
void PrintPictureCommand(QWidget* window, const QString& heading, const QImage& picture);

// cmdPrintUpdateForms_Click: pops up menuPrintUpdatemenu at the mouse when the button was clicked with it, under
// the button when it was pressed from the keyboard. listedSlots are the slot numbers of the list's rows in order
// (column 3), highlightedSlot that of the highlighted row.
void PrintUpdateFormsMenu(QWidget* button, const QList<qint32>& listedSlots, qint32 highlightedSlot);
// The menu itself, for the window that wants to show it otherwise: items 1 to 4 as PrintUpdatemenu_1 to _4.
QMenu* CreatePrintUpdateMenu(QWidget* parent, qsizetype listedCount);
// PrintUpdatemenu_Click: item 1 prints a form for every listed employee after the page-count question, item 2
// for the highlighted one; items 3 and 4 do nothing.
void PrintUpdatemenu_Click(QWidget* mainWindow, int index, const QList<qint32>& listedSlots, qint32 highlightedSlot);
QString UpdateFormsQuestion(qsizetype pages);
QString UpdateFormsTitle(); // "'Annual Update' forms..."

// cmdPrintHelp of the help window: the topic's text under its heading.
void PrintHelpTopicCommand(QWidget* helpWindow, const QString& topicCaption, const QString& text);
