#pragma once

#include <QString>

// The text of help topic `number` (1000, 1500, 2000, 3000 or 4000) with CR LF line breaks; an empty text for any
// other number.
QString HelpTopicText(int number);
