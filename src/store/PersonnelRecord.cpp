#include "store/PersonnelRecord.h"
