#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "command_set.h"
#include "platform.h"
#include "reference_table.h"
#include "run_interfaces.h"
#include "run_journal.h"

namespace lorvane {

// The measurement run behind the two Run buttons: index 0 measures, index 1 measures and keeps
// the result as the reference that the next measurement subtracts. It programs the instrument,
// reads one reading per sweep point into the results list, draws the plot at the end and
// returns the instrument to a quiet state.
//
// Everything happens on the user-interface thread. The run lets pending events through once
// per point and around its waits; a click that arrives then enters Run_Click again, nested.
// A click on the button captioned "&Stop" asks the running loop to end through StopRequest.
class MeasurementRun {
  public:
    // What ended a run early: no reply to a trigger, a reply that is no reading, a text that
    // could not be sent.
    enum class Failure { None, NoResponse, BadData, Communication };
    // How the last run went.
    struct Outcome {
        bool started = false;
        bool stopped = false;  // by the Stop button (or whatever stands in for it)
        Failure failure = Failure::None;
        // The points read; a failure came at the point of this number (from 0).
        int64_t points = 0;
    };
    // A reading that timed out or was bad data, about to be triggered again.
    struct Retry {
        int64_t point = 0;  // from 0, in measuring order
        int attempt = 1;    // 1 for the first retry
        Failure cause = Failure::NoResponse;
    };

    MeasurementRun(RunLink& link, RunPanel& panel, RunResults& results, RunView& view,
                   RunSettings& settings, Platform& platform);

    // The click on Run(index), index 0 or 1. On the button captioned "&Stop" it stops the
    // running loop; otherwise it runs a whole sweep and returns when it has ended. Ignored once
    // the window has begun to close, and when it would start a second run while one is in
    // progress. A run whose oscillator level is not a number (with a beep), or whose step could
    // never carry it to its stop (with a message), does not start: nothing changes and nothing
    // is sent.
    void Run_Click(int index);

    // Captions of the Run buttons for the pressed button `index`, idle or running, then
    // EnablePanel(idle). Neither enables nor colours a button.
    void RunButtons(int index, bool idle);

    // A reference is stored and the next measurement with its set-up subtracts it.
    bool RefStored() const { return refStored_; }
    bool running() const { return running_; }
    // The setup texts of the last run; entries a run leaves alone keep their text.
    const SetupCommands& setupCommands() const { return setupCommands_; }
    const Outcome& outcome() const { return outcome_; }

    // Where every point goes before it is shown; null for nowhere.
    void setJournal(RunJournal* journal) { journal_ = journal; }
    // A point whose reading timed out or was bad data is triggered and read again, up to
    // `limit` times; `report` hears of each retry first. None by default, as in the window.
    void setRetries(int limit, std::function<void(const Retry&)> report);
    // Stores points measured earlier (sweep value, first and second reading, in measuring
    // order) as the reference of the next measurement, taken as measured with the panel's
    // set-up now. False, storing nothing, when there are no points.
    bool useReference(std::vector<std::array<double, 3>> points);

  private:
    // The values of the run in progress.
    struct Sweep {
        int index = 0;
        PanelSnapshot panel;
        SweepPlan plan;  // the step and boundary change at each decade change
        const ModeConversion* conversion = nullptr;
        int sweepPower = 0;
        std::optional<int64_t> points;  // the points planned, when known
        double x = 0;  // the sweep value of the last reading, moved on by a decade change
        // The sweep value of the last reading as read.
        std::optional<double> lastRead;
        // Where an automatic sweep starts again for a retry, and whether its first trigger
        // there reads the point already read.
        double restartAt = 0;
        bool restartRepeats = false;
        // A point was triggered again: a late reply may still be on its way.
        bool retried = false;
        // The stored reference applies to this measurement and is subtracted.
        bool corrected = false;
        // The operator stopped the run before its end.
        bool stopped = false;
    };

    void stop(int index);
    void refuseStep(SweepParam sweep);
    void start(Sweep& run);
    void keepOrClearResults(const Sweep& run);
    void saveSettings(const PanelSnapshot& panel);
    Failure programInstrument();
    Failure measurePoints(Sweep& run);
    Failure readPoint(Sweep& run, MeasuredPoint& point);
    Failure takeReading(const Sweep& run, const QString& reply, MeasuredPoint& point) const;
    bool repeatsLastPoint(const Sweep& run, const MeasuredPoint& point) const;
    bool triggerAgain(Sweep& run);
    bool changeDecade(Sweep& run);
    bool restartSweep(Sweep& run, double start);
    void drawResults(const Sweep& run);
    void report(Failure failure);
    void finish(const Sweep& run, Failure failure);
    bool storeReference(const Sweep& run);
    void dropReference();

    RunLink& link_;
    RunPanel& panel_;
    RunResults& results_;
    RunView& view_;
    RunSettings& settings_;
    Platform& platform_;

    RunJournal* journal_ = nullptr;
    int retries_ = 0;
    std::function<void(const Retry&)> reportRetry_;
    Outcome outcome_;
    bool running_ = false;
    bool refStored_ = false;
    ReferenceTable refTable_;
    SetupCommands setupCommands_;
    // Smallest and largest first reading of the run as its rows show it (corrected by the
    // reference when there is one): the y range of the plot.
    double dat1Min_ = 0;
    double dat1Max_ = 0;
};

}  // namespace lorvane
