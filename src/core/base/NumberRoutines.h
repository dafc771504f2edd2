#pragma once

#include <QtGlobal>

// Small shared routines: the smaller and larger of two numbers, a tally, a random whole number.

// a if a <= b, else b (a on a tie).
inline double MinValue(double a, double b) {
    return a <= b ? a : b;
}
// a if a >= b, else b (a on a tie).
inline double MaxValue(double a, double b) {
    return a >= b ? a : b;
}

template <typename T, typename U> inline void AddTo(T& variable, U amount) {
    variable += amount;
}

// A whole number from low to high, both included; the generator is seeded from the clock on every call.
qint16 RandomInteger(qint16 low, qint16 high);
