#include "run_progress.h"

#include <algorithm>

namespace lorvane {

std::optional<int64_t> remainingMs(int64_t done, std::optional<int64_t> total, int64_t elapsedMs) {
    if (!total || done <= 0) return std::nullopt;
    const int64_t left = std::max<int64_t>(0, *total - done);
    return static_cast<int64_t>(static_cast<double>(elapsedMs) / static_cast<double>(done) *
                                static_cast<double>(left));
}

QString durationText(int64_t ms) {
    const int64_t seconds = (std::max<int64_t>(0, ms) + 999) / 1000;
    const QLatin1Char zero('0');
    const QString secondsText = QStringLiteral("%1").arg(seconds % 60, 2, 10, zero);
    if (seconds < 3600) return QStringLiteral("%1:%2").arg(seconds / 60).arg(secondsText);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, zero)
        .arg(secondsText);
}

}  // namespace lorvane
