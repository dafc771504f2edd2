#include "core/base/NumberRoutines.h"

#include <QDateTime>
#include <random>

qint16 RandomInteger(qint16 low, qint16 high) {
    std::mt19937 gen(static_cast<std::mt19937::result_type>(QDateTime::currentMSecsSinceEpoch()) ^
                     std::random_device{}());
    const double r = std::generate_canonical<double, 32>(gen);
    return static_cast<qint16>(static_cast<int>(r * (high - low + 1)) + low);
}
