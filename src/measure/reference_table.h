#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "measure_mode.h"
#include "panel_snapshot.h"
#include "run_interfaces.h"
#include "sweep_param.h"

namespace lorvane {

// What a reference was measured with. Subtracting it from readings taken with another
// parameter, circuit, sweep, oscillator level or spot value would subtract another quantity.
struct ReferenceSetup {
    MeasureMode mode = MeasureMode::Impedance;
    CircuitMode circuit = CircuitMode::Auto;
    SweepParam sweep = SweepParam::Frequency;
    double oscillatorMv = 0;
    // The quantity not swept: the spot bias (mV) of a frequency sweep, the spot frequency (Hz)
    // of a bias sweep.
    double spot = 0;

    bool operator==(const ReferenceSetup&) const = default;
};

ReferenceSetup referenceSetupOf(const PanelSnapshot& panel);

// RefTable: the points of a reference run, which the next measurement with the same set-up
// subtracts point by point. Row k holds the sweep value and the two readings of point k.
class ReferenceTable {
  public:
    // Reads back every row of the results list, as the list shows them (user's locale), as the
    // points of a reference measured with `setup`. Fails, and leaves the table empty, when the
    // list is empty or a text is not a number.
    bool store(const RunResults& results, const ReferenceSetup& setup);

    // Takes points measured earlier (sweep value, first and second reading, in measuring
    // order) as a reference measured with `setup`. Fails, and leaves the table empty, without
    // points.
    bool assign(std::vector<std::array<double, 3>> points, const ReferenceSetup& setup);

    void clear() { rows_.clear(); }

    // Whether the stored reference was measured with this set-up.
    bool appliesTo(const ReferenceSetup& setup) const { return !rows_.empty() && setup == setup_; }

    // Subtracts the reference of point k from the readings when the table has a row k taken at
    // the point's sweep value x, compared at the list's resolution of three decimals (the list
    // holds the reference's values as texts). Returns whether it did.
    bool correct(int64_t k, double x, double& dat1, double& dat2) const;

    // Rows of the table (0 when nothing is stored).
    int64_t size() const { return static_cast<int64_t>(rows_.size()); }

  private:
    std::vector<std::array<double, 3>> rows_;
    ReferenceSetup setup_;
};

}  // namespace lorvane
