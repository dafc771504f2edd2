#pragma once

#include "core/history/ChangeLog.h"
#include "core/print/PrinterDevice.h"

// How the history's views show an event: the moment as "mm/dd/yyyy hh:mm:ss", the user with his or her access
// level, and a change as "old → new", a value's line breaks as " / " and an empty value as "(blank)".
QString HistoryWhenText(const ChangeEvent& event);
QString HistoryUserText(const ChangeEvent& event);
QString HistoryChangeText(const ChangeEvent& event);
// One event on one line: when, user, event, field and change, two blanks between them.
QString HistoryLineText(const ChangeEvent& event);

// The history of one employee (or the filtered log) as a printout: Arial 10, the heading underlined on every
// page, one event a line (wrapped between 1.0 and 7.5 inches), newest first as given. Ends the document.
void PrintChangeHistory(PrinterDevice& printer, PrintOwner* owner, const QString& heading,
                        const QList<ChangeEvent>& events);
