#pragma once

#include "core/store/OlderDataFile.h"

// ConvertOlderDataFile with its one "converted" line, which names the records' shared creation stamp.
qint32 ConvertOlderDataFileWithHistory(double createdAt);
