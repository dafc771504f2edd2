#pragma once

class frmTitlePage;

// Takes over and converts a data file of an earlier release, asking the user first. Called by the title
// window's Continue with the title window. Returns false when the program is ending (the user chose to stop
// and the title window is already gone); true to go on to the log-in.
bool CheckOlderDataFile(frmTitlePage* titlePage);
