// The point loop of the measurement run and the end of a run.
#include <algorithm>

#include "measurement_run.h"
#include "reading.h"
#include "step_helpers.h"

namespace lorvane {

using namespace Qt::Literals::StringLiterals;

namespace {

// Points in a row whose sweep value does not pass the highest one read before. The instrument's
// readback repeats at most a few times where its step is below the reply's resolution (a 1 Hz
// step above 10 MHz); one that stands still would keep the run going for ever, since the run
// ends only when the instrument reports its stop.
constexpr int kStallLimit = 100;

}  // namespace

MeasurementRun::Failure MeasurementRun::measurePoints(Sweep& run) {
    const bool linearAuto = run.panel.autoStep && !run.panel.logStep;
    int64_t k = 0;
    std::optional<double> highest;
    int stalled = 0;
    view_.showProgress(0, run.points);
    do {
        MeasuredPoint point;
        point.index = k;
        if (const Failure failure = readPoint(run, point); failure != Failure::None) {
            return failure;
        }
        if (!highest || point.x > *highest) {
            highest = point.x;
            stalled = 0;
        } else if (++stalled >= kStallLimit) {
            return Failure::BadData;  // the sweep stands still: it would never reach its stop
        }
        run.x = point.x;
        run.lastRead = point.x;
        // Matched at the sweep value the instrument reports, which a logarithmic or automatic
        // step reaches too, where no sum of fixed steps does.
        if (run.corrected) point.corrected = refTable_.correct(k, point.x, point.dat1, point.dat2);
        // The plot's y range covers the readings as the rows show them.
        dat1Max_ = std::max(dat1Max_, point.dat1);
        dat1Min_ = std::min(dat1Min_, point.dat1);

        // Written down before it is shown: whatever happens next, the point is kept.
        if (journal_) journal_->record(point);
        outcome_.points = k + 1;
        view_.setPanelText(u"IN"_s, point.reading.inText());
        view_.setPanelText(u"DAT1"_s, point.reading.dat1Text());
        view_.setPanelText(u"DAT2"_s, point.reading.dat2Text());
        const ResultRow row = makeResultRow(run.x, point.dat1, point.dat2, *run.conversion);
        results_.removeRowWithSweepText(row.x);
        results_.addRow(row);
        results_.followRow(k);
        view_.showProgress(k + 1, run.points);
        platform_.processEvents();

        if (panel_.stopRequest()) {
            run.stopped = true;
            panel_.setStopRequest(false);
            platform_.processEvents();
            platform_.sleep(10);
            platform_.processEvents();
            break;
        }
        // An automatic sweep that starts again for a retry starts at this point and reads it
        // once more, unless a decade change has just started it at the next one.
        run.restartAt = run.x;
        run.restartRepeats = true;
        if (linearAuto && passedBoundary(run.x, run.plan.boundary)) {
            if (!changeDecade(run)) return Failure::Communication;
            run.restartAt = run.x;
            run.restartRepeats = false;
        }
        ++k;
        if (!run.panel.autoStep) link_.write(kStepUp);
    } while (run.x < run.plan.stop);
    return Failure::None;
}

MeasurementRun::Failure MeasurementRun::readPoint(Sweep& run, MeasuredPoint& point) {
    Failure failure = Failure::None;
    for (int attempt = 0; attempt <= retries_; ++attempt) {
        if (attempt > 0) {
            if (reportRetry_) reportRetry_({point.index, attempt, failure});
            run.retried = true;
            if (!triggerAgain(run)) return Failure::Communication;
        }
        failure = takeReading(run, link_.query(kExecute, kReadingDelayMs), point);
        // A retried trigger can leave a reply behind that comes late, before the answer to this
        // trigger: it shows the sweep value of the point before. That answer is still coming;
        // each trigger sent can have left one reply.
        for (int late = 0; failure == Failure::None && run.retried && repeatsLastPoint(run, point);
             ++late) {
            failure = late <= retries_ ? takeReading(run, link_.read(kReadingDelayMs), point)
                                       : Failure::NoResponse;
        }
        if (failure == Failure::None) return failure;
    }
    return failure;
}

MeasurementRun::Failure MeasurementRun::takeReading(const Sweep& run, const QString& reply,
                                                    MeasuredPoint& point) const {
    point.reading = parseReading(reply);
    if (point.reading.kind == ReplyKind::NoResponse) return Failure::NoResponse;
    if (point.reading.kind == ReplyKind::BadData) return Failure::BadData;
    const std::optional<ScaledReading> scaled =
        scaleReading(point.reading, *run.conversion, run.sweepPower);
    if (!scaled) return Failure::BadData;
    point.x = scaled->x;
    point.dat1 = scaled->dat1;
    point.dat2 = scaled->dat2;
    return Failure::None;
}

bool MeasurementRun::repeatsLastPoint(const Sweep& run, const MeasuredPoint& point) const {
    // The sweep moves on between points until it has reached its stop, where the loop ends.
    return run.lastRead && point.x == *run.lastRead;
}

bool MeasurementRun::triggerAgain(Sweep& run) {
    // A manual sweep stays at its point until "W2", so the next trigger measures it again; but
    // the instrument may have missed that "W2" (what is sent to a pulled adapter is lost), so
    // the point's spot is set once more: one step past the last reading, or the start.
    if (!run.panel.autoStep) {
        const double spot =
            run.lastRead ? std::min(*run.lastRead + run.plan.step, run.plan.stop) : run.plan.start;
        return link_.write(spotCommand(run.panel.sweep, spot));
    }
    // An automatic sweep moves on at every trigger: it starts again at the point before (its
    // first trigger there measures that point once more, and that reading is dropped) or at
    // the start of the sweep or of a new decade.
    if (!restartSweep(run, run.restartAt)) return false;
    if (run.restartRepeats) link_.query(kExecute, kReadingDelayMs);
    return true;
}

bool MeasurementRun::changeDecade(Sweep& run) {
    SweepPlan& plan = run.plan;
    StepFor(run.x, run.panel.sweep, plan.step, plan.boundary);
    run.x += plan.step;
    panel_.setStepText(run.panel.sweep, stepBoxText(plan.step));
    return restartSweep(run, run.x);
}

bool MeasurementRun::restartSweep(Sweep& run, double start) {
    // The change at the top of the range would start beyond what the instrument takes.
    const double limit = sweepLimit(run.panel.sweep);
    setupCommands_[4] = sweepRangeCommand(run.panel.sweep, run.plan.step,
                                          std::clamp(start, -limit, limit), run.plan.stop);
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
    outcome_.failure = failure;
    outcome_.stopped = run.stopped;
    view_.endProgress();
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
