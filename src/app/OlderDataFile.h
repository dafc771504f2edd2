#pragma once

class frmTitlePage;

// The title window's check for a data file of an earlier release, run by its Continue. Returns false when the
// program is ending (the user chose to stop and the title window is already gone); true to go on to the log-in.
// Files of earlier releases are not recognised yet: every data file is taken as it is and the answer is true.
bool CheckOlderDataFile(frmTitlePage* titlePage);
