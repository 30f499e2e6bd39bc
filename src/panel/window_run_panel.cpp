#include "window_run_panel.h"

#include <QCheckBox>
#include <QPushButton>

#include "main_window.h"
#include "measurement_run.h"
#include "panel_widgets.h"

namespace lorvane {
namespace {

bool showsAutoStep(const QString& text) {
    return text == QLatin1String("Lin") || text == QLatin1String("Log");
}

}  // namespace

PanelSnapshot WindowRunPanel::snapshot() const {
    const FrontPanelState& state = window_.state();
    const PanelControls& ui = window_.controls();
    PanelSnapshot panel;
    panel.mode = static_cast<MeasureMode>(state.SelectedMode);
    panel.circuit = static_cast<CircuitMode>(state.SelectedCircuit);
    panel.sweep = static_cast<SweepParam>(state.SelectedSweep);
    panel.autoStep = state.AutoStep;
    panel.logStep = state.LogStep;
    panel.highSpeed = ui.Opts->isChecked();
    for (int i = 0; i < 3; ++i) {
        panel.frequency[static_cast<size_t>(i)] = window_.GetFrequency(i);
        panel.bias[static_cast<size_t>(i)] = window_.GetBias(i);
    }
    panel.stepShowsAuto = {showsAutoStep(ui.vFrq[2]->text()), showsAutoStep(ui.vVlt[2]->text())};
    panel.oscillatorText = ui.vOsc->text();
    return panel;
}

std::array<double, 3>& WindowRunPanel::previousRange(SweepParam sweep) {
    FrontPanelState& state = window_.state();
    return sweep == SweepParam::Bias ? state.PrevBias : state.PrevFreq;
}

bool WindowRunPanel::stopRequest() const { return window_.StopRequest; }

void WindowRunPanel::setStopRequest(bool request) { window_.StopRequest = request; }

bool WindowRunPanel::mergeOption() const { return window_.mergeOption; }

void WindowRunPanel::setStepText(SweepParam sweep, const QString& text) {
    const PanelControls& ui = window_.controls();
    (sweep == SweepParam::Bias ? ui.vVlt[2] : ui.vFrq[2])->setText(text);
}

void WindowRunPanel::clearAutoStep() { window_.controls().vAuto->setChecked(false); }

QString WindowRunPanel::runCaption(int index) const {
    return window_.controls().Run[static_cast<size_t>(index)]->text();
}

void WindowRunPanel::setRunCaption(int index, const QString& caption) {
    window_.controls().Run[static_cast<size_t>(index)]->setText(caption);
}

void WindowRunPanel::setRunEnabled(int index, bool enabled) {
    window_.controls().Run[static_cast<size_t>(index)]->setEnabled(enabled);
}

void WindowRunPanel::setRefButtonColour(RefButtonColour colour) {
    QPushButton* ref = window_.controls().Run[1];
    // The application-workspace grey marks a stored reference; otherwise the usual face.
    ref->setStyleSheet(colour == RefButtonColour::AppWorkspace
                           ? QStringLiteral("QPushButton { background-color: rgb(171, 171, 171); }")
                           : QString());
}

void WindowRunPanel::EnablePanel(bool enable) { window_.EnablePanel(enable); }

bool WindowRunPanel::closing() const { return window_.closing(); }

void connectRunButtons(MainWindow& window, MeasurementRun& run) {
    for (int i = 0; i < 2; ++i)
        QObject::connect(window.controls().Run[static_cast<size_t>(i)], &QPushButton::clicked,
                         &window, [&run, i] { run.Run_Click(i); });
}

}  // namespace lorvane
