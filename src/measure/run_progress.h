#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace lorvane {

// The time a run still needs at its pace so far: the time per point so far times the points
// left. nullopt before the first point, and when the run's length is not known.
std::optional<int64_t> remainingMs(int64_t done, std::optional<int64_t> total, int64_t elapsedMs);

// A duration as the operator reads it, rounded up to the second: "0:07", "12:03", "2:05:09".
QString durationText(int64_t ms);

}  // namespace lorvane
