#include "frequency_fields.h"

#include <QScrollBar>

#include "field_math.h"
#include "number_format.h"
#include "panel_widgets.h"
#include "sweep_param.h"

namespace lorvane {
FrequencyFields::FrequencyFields(PanelControls& ui, FrontPanelState& state, Platform& platform)
    : ui_(ui), state_(state), platform_(platform) {}

QString FrequencyFields::unitOf(int index) const { return ui_.lFrq.at(index)->text(); }

double FrequencyFields::GetFrequency(int index) const {
    const QString text = ui_.vFrq.at(index)->text();
    if (index == kStepField && isAutoStepText(text)) return 0;
    return frequencyFromText(text, unitOf(index));
}

void FrequencyFields::SetFrequency(int index, double value, bool remember) {
    if (remember) state_.PrevFreq.at(index) = GetFrequency(index);
    if (const auto text = frequencyText(value, unitOf(index))) ui_.vFrq.at(index)->setText(*text);
    state_.Updating = true;
    ui_.dFrq.at(index)->setValue(frequencyBarPosition(index, value));
    state_.Updating = false;
}

void FrequencyFields::SetFrequencyUnit(int index, const QString& unit) {
    const double value = GetFrequency(index);
    if (const auto limit = frequencyTypingLimit(unit)) {
        ui_.lFrq.at(index)->setText(unit);
        // The limit belongs to the start and stop unit; the step has none.
        if (index != kStepField) {
            ui_.vFrq[0]->setTypingLimit(*limit);
            ui_.vFrq[1]->setTypingLimit(*limit);
        }
    }
    SetFrequency(index, value, false);
}

void FrequencyFields::CheckFrequencyRange(int index) {
    const std::array<double, 3> values{GetFrequency(0), GetFrequency(1), GetFrequency(2)};
    for (const RangeFix& fix : frequencyRangeFixes(index, values)) {
        SetFrequency(fix.index, fix.value, true);
        platform_.beep();
    }
}

void FrequencyFields::vFrq_GotFocus(int index) {
    ValueEdit* field = ui_.vFrq.at(index);
    field->setSelection(0, 10);
    state_.FocusText = field->text();
}

void FrequencyFields::vFrq_Validate(int index) {
    ValueEdit* field = ui_.vFrq.at(index);
    if (!parseLocaleNumber(field->text())) field->setText(state_.FocusText);
    const Clamped value = clampToLimits(GetFrequency(index), frequencyLimits(index));
    if (value.corrected) platform_.beep();
    SetFrequency(index, value.value, false);
    // A spot frequency (of a bias sweep) is no start: the hidden stop and step stay as they are.
    if (index != 0 || state_.SelectedSweep != static_cast<int16_t>(SweepParam::Bias))
        CheckFrequencyRange(index);
}

void FrequencyFields::lFrq_Click(int index) {
    if (index == kStepField && state_.AutoStep) return;
    if (index != kStepField && !state_.Updating) {
        state_.Updating = true;
        lFrq_Click(1 - index);
        state_.Updating = false;
    }
    const QString unit = unitOf(index);
    const QString next = nextFrequencyUnit(unit);
    if (next != unit) SetFrequencyUnit(index, next);
    if (state_.AutoStep) return;
    // The step unit never stays larger than the start unit; each test reads the captions as
    // they stand by then.
    const auto stepIs = [this](const char* unit) {
        return unitOf(kStepField) == QLatin1String(unit);
    };
    const auto startIs = [this](const char* unit) { return unitOf(0) == QLatin1String(unit); };
    if (stepIs("MHz") && startIs("kHz")) SetFrequencyUnit(kStepField, QStringLiteral("Hz"));
    if (stepIs("kHz") && startIs("Hz")) SetFrequencyUnit(kStepField, QStringLiteral("Hz"));
    if (stepIs("MHz") && startIs("Hz")) SetFrequencyUnit(kStepField, QStringLiteral("Hz"));
}

void FrequencyFields::dFrq_Change(int index) {
    if (index == kStepField && state_.AutoStep) {
        // The automatic step does not test Updating: every move of the bar flips the mode.
        ValueEdit* step = ui_.vFrq[kStepField];
        if (step->text() == QLatin1String("Lin")) {
            step->setText(QStringLiteral("Log"));
            state_.LogStep = true;
            ui_.lFrq[kStepField]->hide();
        } else if (step->text() == QLatin1String("Log")) {
            step->setText(QStringLiteral("Lin"));
            state_.LogStep = false;
            ui_.lFrq[kStepField]->show();
        }
        return;
    }
    if (state_.Updating) return;
    const double moved = frequencyFromBar(index, ui_.dFrq.at(index)->value(), GetFrequency(index));
    SetFrequency(index, moved, true);
    vFrq_Validate(index);
}

}  // namespace lorvane
