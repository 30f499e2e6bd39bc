#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "run_interfaces.h"

namespace lorvane {

// RefTable: the points of a reference run, which the next measurement subtracts point by
// point. Row k holds the sweep value and the two readings of point k.
class ReferenceTable {
  public:
    // Reads back N = Int((stop - start) / step) rows from the results list, as the list shows
    // them (user's locale), into a table of N + 1 rows whose last row stays zero. Fails, and
    // leaves the table empty, when there is no such N (a step that is not above 0, a stop below
    // the start), when the list has fewer than N rows, or when a text is not a number.
    bool store(const RunResults& results, double start, double stop, double step);

    void clear() { rows_.clear(); }

    // Subtracts the reference of point k from the readings when the table has a row k taken at
    // the expected sweep value, compared at the list's resolution of three decimals (the
    // expected value is a sum of steps and drifts from the stored text in the last bits).
    // Returns whether it did.
    bool correct(int64_t k, double expected, double& dat1, double& dat2) const;

    // Rows of the table, N + 1 (0 when nothing is stored).
    int64_t size() const { return static_cast<int64_t>(rows_.size()); }

  private:
    std::vector<std::array<double, 3>> rows_;
};

}  // namespace lorvane
