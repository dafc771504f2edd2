#include "app/OlderDataFile.h"

bool CheckOlderDataFile(frmTitlePage*) {
    return true;
}
