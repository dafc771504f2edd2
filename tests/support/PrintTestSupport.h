#pragma once

#include "core/print/RecordingPrinter.h"

#include <QList>
#include <QString>
#include <QTest>

// Expected texts of a printout, compared with what the recording printer drew.

struct ExpectedText {
    QString text;
    double x;
    double y;
    int page = 1;
    int document = 1;
};
Q_DECLARE_METATYPE(ExpectedText)
using ExpectedTexts = QList<ExpectedText>;

// Width of n characters and the height of a line on the recording printer.
inline double Chars(qsizetype n, double points = 10) {
    return static_cast<double>(n) * points / 64.0;
}
inline double Lines(double n, double points = 10) {
    return n * points / 32.0;
}

inline bool Near(double a, double b) {
    return std::abs(a - b) < 1e-9;
}

// Works for a drawn text and an expected one alike.
template <typename T> QString Describe(const T& t) {
    return QStringLiteral("\"%1\" at %2, %3 (doc %4 page %5)")
        .arg(t.text)
        .arg(t.x, 0, 'f', 6)
        .arg(t.y, 0, 'f', 6)
        .arg(t.document)
        .arg(t.page);
}

// Every expected text is drawn, in this order, among the drawn texts (others may come between).
inline bool ContainsInOrder(const QList<RecordingPrinter::Text>& drawn, const ExpectedTexts& expected,
                            QString* missing) {
    qsizetype at = 0;
    for (const ExpectedText& e : expected) {
        bool found = false;
        for (; at < drawn.size(); ++at) {
            const RecordingPrinter::Text& t = drawn.at(at);
            if (t.text == e.text && Near(t.x, e.x) && Near(t.y, e.y) && t.page == e.page && t.document == e.document) {
                found = true;
                ++at;
                break;
            }
        }
        if (!found) {
            *missing = Describe(e);
            return false;
        }
    }
    return true;
}

#define COMPARE_TEXTS_IN_ORDER(drawn, expected)                                                                        \
    do {                                                                                                               \
        QString missing_;                                                                                              \
        if (!ContainsInOrder((drawn), (expected), &missing_)) {                                                        \
            QStringList seen_;                                                                                         \
            for (const auto& t_ : (drawn))                                                                             \
                seen_ << Describe(t_);                                                                                 \
            QFAIL(qPrintable(QStringLiteral("missing or out of order: ") + missing_ + QStringLiteral("\ndrawn:\n") +   \
                             seen_.join(QLatin1Char('\n'))));                                                          \
        }                                                                                                              \
    } while (false)

// The drawn texts exactly, in order.
#define COMPARE_TEXTS(drawn, expected)                                                                                 \
    do {                                                                                                               \
        QStringList seen_, wanted_;                                                                                    \
        for (const auto& t_ : (drawn))                                                                                 \
            seen_ << Describe(t_);                                                                                     \
        for (const auto& e_ : (expected))                                                                              \
            wanted_ << Describe(e_);                                                                                   \
        QCOMPARE(seen_.join(QLatin1Char('\n')), wanted_.join(QLatin1Char('\n')));                                      \
    } while (false)
