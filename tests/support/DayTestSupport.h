#pragma once

#include "core/base/DateRules.h"

#include <QDate>

// The day the list and record tests count ages and years of service to.
inline const QDate kToday(2026, 12, 6);

// A calendar day as the records store it.
inline double Day(int y, int m, int d) {
    return ToOADate(QDate(y, m, d));
}
