#include "app/OlderDataFile.h"

// Files of earlier releases are not read yet: every data file found is taken as it is.
bool CheckOlderDataFile(frmTitlePage*) {
    return true;
}
