#include "selections.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>

#include "bias_fields.h"
#include "field_math.h"
#include "frequency_fields.h"
#include "headings.h"
#include "measure_mode.h"
#include "panel_widgets.h"
#include "result_table.h"
#include "sweep_param.h"

namespace lorvane {
namespace {

template <typename Controls>
void setVisible(const Controls& controls, std::initializer_list<int> indexes, bool visible) {
    for (const int i : indexes) controls[static_cast<size_t>(i)]->setVisible(visible);
}

}  // namespace

Selections::Selections(PanelControls& ui, FrontPanelState& state, FrequencyFields& frequency,
                       BiasFields& bias, ResultTable& results, std::function<void()> clearResults)
    : ui_(ui),
      state_(state),
      frequency_(frequency),
      bias_(bias),
      results_(results),
      clearResults_(std::move(clearResults)) {}

void Selections::lMod_Click(int index) {
    state_.SelectedMode = static_cast<int16_t>(index);
    // Unchecking the box runs vAuto_Click at once when auto-step was on.
    ui_.vAuto->setChecked(false);
    clearResults_();
    // The selected circuit button names the circuit; the last one found selected wins.
    int circuit = 0;
    for (size_t i = 0; i < ui_.lCrm.size(); ++i)
        if (ui_.lCrm[i]->isChecked()) circuit = static_cast<int>(i);
    if (const auto headings = readingHeadings(index, circuit)) {
        state_.QuantityLabel[1] = headings->quantity1;
        state_.QuantityLabel[2] = headings->quantity2;
        results_.setHeading(3, headings->column3);
        results_.setHeading(4, headings->column4);
        const bool impedance = index < static_cast<int>(MeasureMode::Gain);
        ui_.vOsc->setText(impedance ? QStringLiteral("500") : QStringLiteral("5"));
        ShowBiasControls(impedance);
    }
    lSwp_Click(state_.SelectedSweep);
}

void Selections::lCrm_Click(int index) {
    state_.SelectedCircuit = static_cast<int16_t>(index);
    lMod_Click(state_.SelectedMode);
}

void Selections::lSwp_Click(int index) {
    if (state_.Updating) return;
    state_.SelectedSweep = static_cast<int16_t>(index);
    ui_.vAuto->setChecked(false);
    clearResults_();
    state_.AutoStep = false;
    setBackground(ui_.lFrq[kStepField], colorFromBgr(kFieldGrey));
    setBackground(ui_.lVlt[kStepField], colorFromBgr(kFieldGrey));

    const auto heading = sweepHeading(index);
    if (!heading) return;
    const bool frequencySweep = index == static_cast<int>(SweepParam::Frequency);
    if (frequencySweep) {
        // The bias start serves as the spot bias, 0 unless the operator sets one.
        state_.PrevBias[0] = bias_.GetBias(0);
        bias_.SetBias(0, 0, false);
    } else {
        bias_.SetBias(0, state_.PrevBias[0], false);
    }
    // Hide the other quantity's stop and step first, then show the swept quantity's.
    const auto& hiddenFields = frequencySweep ? ui_.vVlt : ui_.vFrq;
    const auto& hiddenBars = frequencySweep ? ui_.dVlt : ui_.dFrq;
    const auto& hiddenUnits = frequencySweep ? ui_.lVlt : ui_.lFrq;
    const auto& shownFields = frequencySweep ? ui_.vFrq : ui_.vVlt;
    const auto& shownBars = frequencySweep ? ui_.dFrq : ui_.dVlt;
    const auto& shownUnits = frequencySweep ? ui_.lFrq : ui_.lVlt;
    setVisible(hiddenFields, {1, 2}, false);
    setVisible(hiddenBars, {1, 2}, false);
    setVisible(hiddenUnits, {1, 2}, false);
    setVisible(shownFields, {1, 2}, true);
    setVisible(shownBars, {1, 2}, true);
    setVisible(shownUnits, {1, 2}, true);
    state_.QuantityLabel[0] = heading->quantity0;
    results_.setHeading(2, heading->column2);
}

void Selections::vAuto_Click() {
    if (state_.Updating) return;
    state_.Updating = true;
    state_.AutoStep = !state_.AutoStep;
    if (state_.AutoStep)
        autoStepOn();
    else
        autoStepOff();
    state_.Updating = false;
}

void Selections::autoStepOn() {
    state_.LogStep = false;
    state_.SavedStepUnit[0] = ui_.lFrq[kStepField]->text();
    setBackground(ui_.vFrq[kStepField], colorFromBgr(kAutoStepCyan));
    ui_.vFrq[kStepField]->setEnabled(false);
    ui_.vFrq[kStepField]->setText(QStringLiteral("Lin"));
    ui_.lFrq[kStepField]->setText(QStringLiteral("kHz"));
    state_.SavedStepUnit[1] = ui_.lVlt[kStepField]->text();
    setBackground(ui_.vVlt[kStepField], colorFromBgr(kAutoStepCyan));
    ui_.vVlt[kStepField]->setEnabled(false);
    ui_.vVlt[kStepField]->setText(QStringLiteral("Lin"));
    ui_.lVlt[kStepField]->setText(QStringLiteral("mV"));
}

void Selections::autoStepOff() {
    setBackground(ui_.vFrq[kStepField], colorFromBgr(kFieldGrey));
    ui_.vFrq[kStepField]->setEnabled(true);
    ui_.lFrq[kStepField]->setText(state_.SavedStepUnit[0]);
    // SetFrequency clears Updating as it returns; nothing below depends on it being set.
    frequency_.SetFrequency(kStepField, state_.PrevFreq[kStepField], false);
    frequency_.SetFrequency(0, state_.PrevFreq[0], false);
    if (state_.SelectedSweep == static_cast<int>(SweepParam::Frequency))
        ui_.lFrq[kStepField]->show();
    setBackground(ui_.vVlt[kStepField], colorFromBgr(kFieldGrey));
    ui_.vVlt[kStepField]->setEnabled(true);
    ui_.lVlt[kStepField]->setText(state_.SavedStepUnit[1]);
    // The bias start is not restored.
    bias_.SetBias(kStepField, state_.PrevBias[kStepField], false);
    if (state_.SelectedSweep == static_cast<int>(SweepParam::Bias)) ui_.lVlt[kStepField]->show();
}

void Selections::ShowBiasControls(bool show) {
    for (auto* field : ui_.vVlt) field->setVisible(show);
    for (auto* bar : ui_.dVlt) bar->setVisible(show);
    for (auto* label : ui_.lVlt) label->setVisible(show);
    // Selecting the frequency sweep runs lSwp_Click(0) at once.
    if (!show) ui_.lSwp[0]->setChecked(true);
    ui_.lSwp[1]->setVisible(show);
}

}  // namespace lorvane
