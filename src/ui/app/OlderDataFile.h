#pragma once

#include <QString>

class frmTitlePage;

// The title window's check for a data file of an earlier release, run by its Continue: takes over a
// "Vardel.Dat" file and, when the data file is in the older format, asks whether to convert it (Yes), start
// afresh without it (No) or stop the program (Cancel), and reports the outcome. A data file of neither format is
// reported and the program stops, the file untouched.
// Returns true to go on to the log-in. Returns false when the program is ending: without fading the title
// window has been closed and its endProgram called; with fading its closing fade is running, marked (the Tag of
// cmdContinue equal to the caption) so that its end ends the program.
bool CheckOlderDataFile(frmTitlePage* titlePage);

// The message, shown once, about a "Vardel.Dat" left unread beside a data file with records, and its title.
QString DatFileLeftBesideText();
QString DatFileLeftBesideTitle();

// The conversion question and its title.
QString OlderDataQuestionText();
QString OlderDataQuestionTitle();
