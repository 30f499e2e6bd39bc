#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "measure_mode.h"
#include "panel_snapshot.h"
#include "sweep_param.h"

namespace lorvane {

// Texts the run sends to the HP 4192A besides the setup commands. DevWrite adds the carriage
// return to each of them.
inline constexpr QLatin1StringView kRunOpening{"W0ABEX"};      // first text of every run
inline constexpr QLatin1StringView kExecute{"EX"};             // ends a command, triggers a reading
inline constexpr QLatin1StringView kStepUp{"W2"};              // after each manual-step reading
inline constexpr QLatin1StringView kAbort{"ABEX"};             // decade change and shutdown
inline constexpr QLatin1StringView kStartAutoSweep{"W1W2EX"};  // after a decade change
inline constexpr QLatin1StringView kRunEnd{"ABI0OL0.005ENEX"};  // bias off, least level
// Read delay of the trigger query, in ms.
inline constexpr int kReadingDelayMs = 50;

// How one measurement parameter is asked for and how its reading is shown. The readings come in
// SI units and go to their display units by powers of ten, applied to the decimal number.
struct ModeConversion {
    QString functionText;  // display functions, the start of setup entry 1
    int dat1Power;         // first reading from SI units to its display unit: x 10^dat1Power
    QString dat1Format;
    QString dat1Unit;
    int dat2Power;
    QString dat2Format;
    QString dat2Unit;
};

const ModeConversion& conversionFor(MeasureMode mode);

// Units of the sweep value, the first and the second reading ("kHz" or "mV" first).
using ColumnUnits = std::array<QString, 3>;
ColumnUnits columnUnitsFor(MeasureMode mode, SweepParam sweep);

// From the reply's sweep number to the display unit, a power of ten: kHz stay kHz (0), volts
// become mV (3).
int sweepPower(SweepParam sweep);

// The seven setup texts, sent in order at the start of a run, each followed by "EX".
using SetupCommands = std::array<QString, 7>;

// Start, stop and step of a run in sweep units (kHz or mV), and the decade boundary of the
// automatic linear step (0 when the run has none).
struct SweepPlan {
    double start = 0;
    double stop = 0;
    double step = 0;
    double boundary = 0;
};

// The run's sweep from the panel: the selected sweep's fields, with the decade step of the
// start value in place of the step box when the automatic linear step is on.
SweepPlan planSweep(const PanelSnapshot& panel);

// Whether the run's step carries it from its start to its stop. A spot measurement (stop not
// above the start) and the automatic logarithmic step, which the instrument takes itself, need
// no step; otherwise the step must be at least the smallest one the instrument takes, 1 Hz or
// 10 mV, or the instrument would stand at the start for ever.
bool stepReachesStop(const PanelSnapshot& panel, const SweepPlan& plan);

// The points a run will read, when that is known before it starts: one for a spot measurement
// (a stop not above the start); the steps to the stop, where the instrument's sweep ends, with
// a manual step; the steps of each decade with the automatic linear step. nullopt with the
// automatic logarithmic step, whose points the instrument chooses.
std::optional<int64_t> plannedPoints(const PanelSnapshot& panel, const SweepPlan& plan);

// Entry 2, "OL" and the oscillator level in volts; nullopt when the text is not a number.
std::optional<QString> oscillatorCommand(const QString& oscillatorText);

// Entry 4: step, start and stop of the sweep, given in sweep units (kHz, or mV which go out in
// volts), as "SF…TF…PF…" or "SB…TB…PB…".
QString sweepRangeCommand(SweepParam sweep, double step, double start, double stop);

// Entry 5: the spot of the swept quantity, given in sweep units, as "FR…" or "BI…".
QString spotCommand(SweepParam sweep, double value);

// Rebuilds the setup entries for a run from the panel and its plan. Entry 3 keeps the text of
// the previous run in a frequency sweep that sets no bias (Gain, Delay, or a bias start of 0).
// Returns false, leaving every entry as it was, when the oscillator text is not a number.
bool buildSetupCommands(const PanelSnapshot& panel, const SweepPlan& plan, SetupCommands& commands);

// A step shown in a step box: the plain number in the user's locale ("0,1" in German, "25").
QString stepBoxText(double step);

}  // namespace lorvane
