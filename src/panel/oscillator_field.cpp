#include "oscillator_field.h"

#include "field_math.h"
#include "number_format.h"
#include "panel_widgets.h"

namespace lorvane {

OscillatorField::OscillatorField(PanelControls& ui, Platform& platform)
    : ui_(ui), platform_(platform) {}

void OscillatorField::vOsc_GotFocus() {
    ui_.vOsc->setSelection(0, 4);
    previousLevel_ = ui_.vOsc->text();
}

void OscillatorField::vOsc_Validate() {
    std::optional<double> level = parseLocaleNumber(ui_.vOsc->text());
    if (!level) {
        ui_.vOsc->setText(previousLevel_);
        level = parseLocaleNumber(previousLevel_);
        if (!level) return;
    }
    if (const auto fix = oscillatorFix(*level)) {
        ui_.vOsc->setText(fix->text);
        if (fix->beep) platform_.beep();
    }
}

}  // namespace lorvane
