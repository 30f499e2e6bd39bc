// The point loop of the measurement run and the end of a run.
#include <algorithm>
#include <optional>

#include "measurement_run.h"
#include "reading.h"
#include "step_helpers.h"

namespace lorvane {

using namespace Qt::Literals::StringLiterals;

namespace {

// The automatic linear step has reached the next decade: for a positive value its upper end,
// for a negative value the end nearer to zero.
bool passedBoundary(double x, double boundary) { return x >= 0 ? x >= boundary : x > boundary; }

}  // namespace

MeasurementRun::Failure MeasurementRun::measurePoints(Sweep& run) {
    const bool linearAuto = run.panel.autoStep && !run.panel.logStep;
    // The sweep value the point should have, for matching it with the reference.
    double expected = run.plan.start;
    int64_t k = 0;
    do {
        const Reading reading = parseReading(link_.query(kExecute, kReadingDelayMs));
        if (reading.kind == ReplyKind::NoResponse) return Failure::NoResponse;
        if (reading.kind == ReplyKind::BadData) return Failure::BadData;
        view_.setPanelText(u"IN"_s, reading.inText());
        view_.setPanelText(u"DAT1"_s, reading.dat1Text());
        view_.setPanelText(u"DAT2"_s, reading.dat2Text());

        std::optional<ScaledReading> scaled =
            scaleReading(reading, *run.conversion, run.sweepPower);
        if (!scaled) return Failure::BadData;
        ScaledReading& value = *scaled;
        run.x = value.x;
        if (run.corrected) refTable_.correct(k, expected, value.dat1, value.dat2);
        // The plot's y range covers the readings as the rows show them.
        if (value.dat1 > dat1Max_) dat1Max_ = value.dat1;
        if (value.dat1 < dat1Min_) dat1Min_ = value.dat1;

        const ResultRow row = makeResultRow(run.x, value.dat1, value.dat2, *run.conversion);
        results_.removeRowWithSweepText(row.x);
        results_.addRow(row);
        results_.followRow(k);
        platform_.processEvents();

        if (panel_.stopRequest()) {
            run.stopped = true;
            panel_.setStopRequest(false);
            platform_.processEvents();
            platform_.sleep(10);
            platform_.processEvents();
            break;
        }
        if (linearAuto && passedBoundary(run.x, run.plan.boundary) && !changeDecade(run)) {
            return Failure::Communication;
        }
        expected += run.plan.step;
        ++k;
        if (!run.panel.autoStep) link_.write(kStepUp);
    } while (run.x < run.plan.stop);
    return Failure::None;
}

bool MeasurementRun::changeDecade(Sweep& run) {
    SweepPlan& plan = run.plan;
    StepFor(run.x, run.panel.sweep, plan.step, plan.boundary);
    run.x += plan.step;
    panel_.setStepText(run.panel.sweep, stepBoxText(plan.step));
    // The change at the top of the range would start beyond what the instrument takes.
    const double limit = sweepLimit(run.panel.sweep);
    const double start = std::clamp(run.x, -limit, limit);
    setupCommands_[4] = sweepRangeCommand(run.panel.sweep, plan.step, start, plan.stop);
    return link_.write(kAbort) && link_.write(setupCommands_[4]) && link_.write(kStartAutoSweep);
}

void MeasurementRun::drawResults(const Sweep& run) {
    if (results_.rowCount() >= 1) results_.showFirstRow();
    // Both ends have moved once a reading was taken.
    if (dat1Min_ != 99999999 && dat1Max_ != -99999999) {
        view_.DrawPlot(run.plan.start, run.x - run.plan.step, dat1Min_, dat1Max_);
    }
}

void MeasurementRun::report(Failure failure) {
    // Once the window is closing nothing may pop up over the desktop: the run just ends.
    if (failure == Failure::None || panel_.closing()) return;
    QString cause = failure == Failure::NoResponse ? u"No response from command"_s
                    : failure == Failure::BadData  ? u"Bad data"_s
                                                   : u"Communication Error"_s;
    MessageRequest box;
    box.text = cause + u"\rVerify GPIB Configuration"_s;
    box.icon = MsgIcon::Critical;
    platform_.messageBox(box);
}

void MeasurementRun::finish(const Sweep& run, Failure failure) {
    report(failure);
    link_.write(kRunEnd);
    if (!run.panel.autoStep) {
        panel_.clearAutoStep();
    } else if (!run.panel.logStep) {
        panel_.setStepText(SweepParam::Frequency, u"Lin"_s);
        panel_.setStepText(SweepParam::Bias, u"Lin"_s);
    }

    if (run.index == 0) {
        // A reference serves exactly one run; one that did not apply stays for a run with its
        // set-up.
        if (run.corrected) {
            panel_.setRefButtonColour(RefButtonColour::ButtonFace);
            panel_.setRunEnabled(1, true);
            dropReference();
        }
        RunButtons(0, true);
    } else if (failure == Failure::None && !run.stopped && storeReference(run)) {
        // Only a run on the same, locked set-up can use the reference.
        panel_.setRefButtonColour(RefButtonColour::AppWorkspace);
        panel_.setRunEnabled(1, false);
        RunButtons(1, false);
        refStored_ = true;
    } else {
        panel_.setRefButtonColour(RefButtonColour::ButtonFace);
        results_.setBackground(ListBackground::White);
        dropReference();
        // Without a reference the window is idle again: a stopped run is already, a run that
        // failed or gave no table must not keep a "&Stop" button for a run that has ended.
        RunButtons(1, true);
    }
    panel_.setRunEnabled(1 - run.index, true);
}

bool MeasurementRun::storeReference(const Sweep& run) {
    return refTable_.store(results_, referenceSetupOf(run.panel));
}

void MeasurementRun::dropReference() {
    refStored_ = false;
    refTable_.clear();
}

}  // namespace lorvane
