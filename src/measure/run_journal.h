#pragma once

#include <cstdint>
#include <optional>

#include "panel_snapshot.h"
#include "reading.h"

namespace lorvane {

// A run as it begins: which button started it, the set-up it measures, the points it will have
// when that is known in advance, and whether it keeps the rows of earlier runs (a merged run).
struct RunStart {
    int index = 0;  // 0 measures, 1 measures a reference
    PanelSnapshot panel;
    std::optional<int64_t> points;
    bool keepsRows = false;
};

// One point as the run has read it: its number in measuring order (from 0), the texts of its
// reading, and its values in display units after any reference.
struct MeasuredPoint {
    int64_t index = 0;
    Reading reading;
    double x = 0;
    double dat1 = 0;
    double dat2 = 0;
    // The stored reference was subtracted from the readings.
    bool corrected = false;
};

// Where the run writes every point down before it shows it, so that no point read is lost when
// the program ends without warning: the window's crash journal, the sweep program's CSV output.
class RunJournal {
  public:
    virtual ~RunJournal() = default;
    virtual void begin(const RunStart& start) = 0;
    virtual void record(const MeasuredPoint& point) = 0;
};

}  // namespace lorvane
