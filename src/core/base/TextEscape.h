#pragma once

#include <QString>

// Text from the data files made safe for a terminal or a log: a control character (C0, DEL or C1) becomes an
// escape that shows instead of acting, so a stored ESC sequence can never move the cursor, recolour the screen or
// retitle the window of whoever reads the output. BS, TAB, LF, FF and CR become \b, \t, \n, \f and \r, every other
// control \u00xx (lower-case hex); all else stays as it is, backslashes too, so that plain text reads as it was
// typed. The escapes are those of JSON: with its backslashes and double quotes escaped first, the result is the
// body of a JSON string.
QString EscapeControlCharacters(const QString& text);
