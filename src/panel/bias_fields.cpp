#include "bias_fields.h"

#include <QScrollBar>

#include "field_math.h"
#include "number_format.h"
#include "panel_widgets.h"
#include "sweep_param.h"

namespace lorvane {
BiasFields::BiasFields(PanelControls& ui, FrontPanelState& state, Platform& platform)
    : ui_(ui), state_(state), platform_(platform) {}

QString BiasFields::unitOf(int index) const { return ui_.lVlt.at(index)->text(); }

double BiasFields::GetBias(int index) const {
    const QString text = ui_.vVlt.at(index)->text();
    if (index == kStepField && isAutoStepText(text)) return state_.PrevBias[kStepField];
    return biasFromText(text, unitOf(index));
}

void BiasFields::SetBias(int index, double value, bool remember) {
    if (remember) state_.PrevBias.at(index) = GetBias(index);
    if (const auto text = biasText(value, unitOf(index))) ui_.vVlt.at(index)->setText(*text);
    state_.Updating = true;
    ui_.dVlt.at(index)->setValue(roundHalfEven(value));
    state_.Updating = false;
}

void BiasFields::SetBiasUnit(int index, const QString& unit) {
    const double value = GetBias(index);
    if (const auto limit = biasTypingLimit(index, unit)) {
        ui_.lVlt.at(index)->setText(unit);
        // The start and stop share their unit and limit; the step has its own.
        if (index == kStepField) {
            ui_.vVlt[kStepField]->setTypingLimit(*limit);
        } else {
            ui_.vVlt[0]->setTypingLimit(*limit);
            ui_.vVlt[1]->setTypingLimit(*limit);
        }
    }
    SetBias(index, value, false);
}

void BiasFields::CheckBiasRange(int index) {
    const std::array<double, 3> values{GetBias(0), GetBias(1), GetBias(2)};
    for (const RangeFix& fix : biasRangeFixes(index, values)) {
        SetBias(fix.index, fix.value, true);
        platform_.beep();
    }
}

void BiasFields::vVlt_GotFocus(int index) {
    ValueEdit* field = ui_.vVlt.at(index);
    field->setSelection(0, 10);
    state_.FocusText = field->text();
}

void BiasFields::vVlt_Validate(int index) {
    ValueEdit* field = ui_.vVlt.at(index);
    if (!parseLocaleNumber(field->text())) field->setText(state_.FocusText);
    const Clamped value = clampToLimits(GetBias(index), biasLimits(index));
    if (value.corrected) platform_.beep();
    SetBias(index, value.value, false);
    // A spot bias (of a frequency sweep) is no start: the hidden stop and step stay as they are.
    if (index != 0 || state_.SelectedSweep != static_cast<int16_t>(SweepParam::Frequency))
        CheckBiasRange(index);
}

void BiasFields::lVlt_Click(int index) {
    if (index == kStepField && state_.AutoStep) return;
    if (index != kStepField && !state_.Updating) {
        state_.Updating = true;
        lVlt_Click(1 - index);
        state_.Updating = false;
    }
    const QString unit = unitOf(index);
    const QString next = toggledBiasUnit(unit);
    if (next != unit) SetBiasUnit(index, next);
    if (!state_.AutoStep && unitOf(kStepField) == QLatin1String("V") &&
        unitOf(0) == QLatin1String("mV"))
        SetBiasUnit(kStepField, QStringLiteral("mV"));
}

void BiasFields::dVlt_Change(int index) {
    if (index == kStepField && state_.AutoStep) {
        // The automatic step does not test Updating, and the bias step knows only "Lin".
        ui_.vVlt[kStepField]->setText(QStringLiteral("Lin"));
        state_.LogStep = false;
        return;
    }
    if (state_.Updating) return;
    SetBias(index, ui_.dVlt.at(index)->value(), true);
    vVlt_Validate(index);
}

}  // namespace lorvane
