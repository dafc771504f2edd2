#pragma once

#include <QString>

// Text with leading and trailing blanks removed: blanks only, as fixed-width fields are padded, so that line
// breaks and tabs inside or at the end of a text stay.
inline QString TrimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}
