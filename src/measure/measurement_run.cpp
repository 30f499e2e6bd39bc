#include "measurement_run.h"

#include <algorithm>

namespace lorvane {

using namespace Qt::Literals::StringLiterals;

namespace {

// The caption of the pressed button while its run goes; a click on it stops the run.
const QString kStopCaption = u"&Stop"_s;

// Marks the run as in progress for the life of the click that started it.
class RunningFlag {
  public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

  private:
    bool& flag_;
};

}  // namespace

MeasurementRun::MeasurementRun(RunLink& link, RunPanel& panel, RunResults& results, RunView& view,
                               RunSettings& settings, Platform& platform)
    : link_(link),
      panel_(panel),
      results_(results),
      view_(view),
      settings_(settings),
      platform_(platform) {}

void MeasurementRun::Run_Click(int index) {
    if (index != 0 && index != 1) return;
    // Once the shutdown has begun the window is going: it stops a running loop itself, and a
    // run must not start behind it.
    if (panel_.closing()) return;
    if (panel_.runCaption(index) == kStopCaption) {
        stop(index);
        return;
    }
    if (running_) return;
    outcome_ = Outcome();

    Sweep run;
    run.index = index;
    run.panel = panel_.snapshot();
    if (!oscillatorCommand(run.panel.oscillatorText)) {
        platform_.beep();
        return;
    }
    run.plan = planSweep(run.panel);
    if (!stepReachesStop(run.panel, run.plan)) {
        refuseStep(run.panel.sweep);
        return;
    }
    const RunningFlag flag(running_);
    outcome_.started = true;
    // A request left from before this run (a Stop after the loop had ended, a closing that was
    // cancelled) must not end it after its first point.
    panel_.setStopRequest(false);

    start(run);
    Failure failure = programInstrument();
    if (failure == Failure::None) failure = measurePoints(run);
    if (failure == Failure::None) drawResults(run);
    finish(run, failure);
}

void MeasurementRun::setRetries(int limit, std::function<void(const Retry&)> report) {
    retries_ = std::max(0, limit);
    reportRetry_ = std::move(report);
}

bool MeasurementRun::useReference(std::vector<std::array<double, 3>> points) {
    dropReference();
    if (!refTable_.assign(std::move(points), referenceSetupOf(panel_.snapshot()))) return false;
    refStored_ = true;
    return true;
}

void MeasurementRun::RunButtons(int index, bool idle) {
    if (idle) {
        panel_.setRunCaption(index, index == 0 ? u"&Run"_s : u"&Ref."_s);
    } else if (index == 0) {
        panel_.setRunCaption(0, kStopCaption);
        panel_.setRunCaption(1, u"&Ref."_s);
    } else {
        panel_.setRunCaption(0, u"&Run"_s);
        panel_.setRunCaption(1, kStopCaption);
    }
    panel_.EnablePanel(idle);
}

void MeasurementRun::stop(int index) {
    panel_.setStopRequest(true);
    platform_.processEvents();
    platform_.sleep(100);
    platform_.processEvents();
    RunButtons(index, true);
    panel_.setRunEnabled(1 - index, true);
}

void MeasurementRun::refuseStep(SweepParam sweep) {
    MessageRequest box;
    box.text = u"Step too small to reach the stop\rEnter a step of at least "_s +
               (sweep == SweepParam::Bias ? u"10 mV"_s : u"1 Hz"_s);
    box.icon = MsgIcon::Exclamation;
    platform_.messageBox(box);
}

void MeasurementRun::start(Sweep& run) {
    // A reference measured with another set-up stays stored for a run that matches it.
    const bool otherSetUp =
        run.index == 0 && refStored_ && !refTable_.appliesTo(referenceSetupOf(run.panel));
    run.corrected = run.index == 0 && refStored_ && !otherSetUp;
    view_.showNote(otherSetUp ? u"Ref. not applied: other set-up"_s : QString());
    if (run.index == 0) {
        results_.setBackground(run.corrected ? ListBackground::Yellow : ListBackground::White);
    } else {
        results_.setBackground(ListBackground::Cyan);
        panel_.setRefButtonColour(RefButtonColour::ButtonFace);
        dropReference();
    }
    keepOrClearResults(run);
    panel_.setRunEnabled(1 - run.index, false);
    saveSettings(run.panel);
    RunButtons(run.index, false);
    for (const QString& key : {u"IN"_s, u"DAT1"_s, u"DAT2"_s}) view_.setPanelText(key, QString());
    dat1Min_ = 99999999;
    dat1Max_ = -99999999;
    view_.resetHighlight();

    run.conversion = &conversionFor(run.panel.mode);
    run.sweepPower = sweepPower(run.panel.sweep);
    run.points = plannedPoints(run.panel, run.plan);
    run.restartAt = run.plan.start;
    if (run.panel.autoStep && !run.panel.logStep) {
        panel_.setStepText(run.panel.sweep, stepBoxText(run.plan.step));
    }
    buildSetupCommands(run.panel, run.plan, setupCommands_);
    view_.setColumnUnits(columnUnitsFor(run.panel.mode, run.panel.sweep));
    if (journal_) journal_->begin({run.index, run.panel, run.points, results_.rowCount() > 0});
}

void MeasurementRun::keepOrClearResults(const Sweep& run) {
    // The range of the selected sweep has changed when a field differs from its remembered
    // value; an automatic step ("Lin" or "Log") counts as unchanged.
    bool changed = false;
    if (!run.panel.sweepStepShowsAuto()) {
        std::array<double, 3>& previous = panel_.previousRange(run.panel.sweep);
        const std::array<double, 3>& fields = run.panel.sweepFields();
        if (fields[2] != previous[2] || fields[0] != previous[0] || fields[1] != previous[1]) {
            changed = true;
            previous = fields;
        }
    }
    if (run.index != 0 || !changed) {
        results_.ClearResults();
        return;
    }
    if (!results_.PlotReady() || refStored_ || panel_.mergeOption()) return;
    MessageRequest question;
    question.title = u"Additionnal measurement"_s;
    question.text =
        u"Do you want to keep previous values\r\nNew measures will be merged with the existing ones"_s;
    question.buttons = MsgButtons::YesNo;
    if (platform_.messageBox(question) != MsgResult::Yes) results_.ClearResults();
}

void MeasurementRun::saveSettings(const PanelSnapshot& panel) {
    static const QString frequencyNames[] = {u"F_Start"_s, u"F_Stop"_s, u"F_Step"_s};
    static const QString biasNames[] = {u"V_Start"_s, u"V_Stop"_s, u"V_Step"_s};
    for (size_t i = 0; i < 3; ++i) settings_.write(frequencyNames[i], panel.frequency[i]);
    for (size_t i = 0; i < 3; ++i) settings_.write(biasNames[i], panel.bias[i]);
    settings_.write(u"Circuit"_s, static_cast<double>(panel.circuit));
    settings_.write(u"Sweep"_s, static_cast<double>(panel.sweep));
    settings_.write(u"Mode"_s, static_cast<double>(panel.mode));
}

MeasurementRun::Failure MeasurementRun::programInstrument() {
    view_.setPanelText(u"IN"_s, u"Init"_s);
    if (!link_.write(kRunOpening)) return Failure::Communication;
    for (const QString& command : setupCommands_) {
        if (!link_.write(command + kExecute)) return Failure::Communication;
    }
    view_.setPanelText(u"IN"_s, u"Run"_s);
    link_.purge();
    return Failure::None;
}

}  // namespace lorvane
