#pragma once

#include <QString>

#include "front_panel_state.h"
#include "panel_controls.h"
#include "platform.h"

namespace lorvane {

// The frequency row: start (or spot), stop and step fields in "Hz", "kHz" or "MHz", their
// unit labels and scroll bars. Values are in hertz; index 0 start, 1 stop, 2 step.
class FrequencyFields {
  public:
    FrequencyFields(PanelControls& ui, FrontPanelState& state, Platform& platform);

    // The value of field `index` in hertz; 0 for the step while it shows "Lin" or "Log".
    double GetFrequency(int index) const;
    // Shows `value` in field `index` in that field's unit and moves its scroll bar (without
    // raising the bar's handler). With `remember`, PrevFreq(index) keeps the value shown
    // before.
    void SetFrequency(int index, double value, bool remember);
    // Gives field `index` a new unit ("Hz", "kHz", "MHz"), keeping its value; a new start or
    // stop unit sets the typing limit of both fields.
    void SetFrequencyUnit(int index, const QString& unit);
    // Keeps the start not above the stop and the step within the span after field `index`
    // was edited; each correction beeps.
    void CheckFrequencyRange(int index);

    // Handlers.
    void vFrq_GotFocus(int index);
    // The field was left: a text that is not a number goes back to its text at focus time;
    // the value is brought within its limits (with a beep) and the range is checked, except
    // for the spot frequency of a bias sweep, whose stop and step are hidden and unused.
    void vFrq_Validate(int index);
    // Cycles the unit; the start and stop units change together, and the step unit is kept
    // not larger than the start unit.
    void lFrq_Click(int index);
    // The bar moved: the value moves by as many kilohertz. With auto-step on, the step bar
    // flips between "Lin" and "Log" instead.
    void dFrq_Change(int index);

  private:
    QString unitOf(int index) const;

    PanelControls& ui_;
    FrontPanelState& state_;
    Platform& platform_;
};

}  // namespace lorvane
