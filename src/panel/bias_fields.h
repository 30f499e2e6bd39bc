#pragma once

#include <QString>

#include "front_panel_state.h"
#include "panel_controls.h"
#include "platform.h"

namespace lorvane {

// The bias row: start (or spot), stop and step fields in "mV" or "V", their unit labels and
// scroll bars. Values are in millivolts, read as multiples of 10 mV; index 0 start, 1 stop,
// 2 step.
class BiasFields {
  public:
    BiasFields(PanelControls& ui, FrontPanelState& state, Platform& platform);

    // The value of field `index` in millivolts, cut down to a multiple of 10 mV; for the step
    // while it shows "Lin" or "Log", the remembered step PrevBias(2).
    double GetBias(int index) const;
    // Shows `value` in field `index` in that field's unit and moves its scroll bar (without
    // raising the bar's handler). With `remember`, PrevBias(index) keeps the value shown
    // before.
    void SetBias(int index, double value, bool remember);
    // Gives field `index` a new unit ("mV", "V"), keeping its value, and sets the typing limits
    // for it.
    void SetBiasUnit(int index, const QString& unit);
    // Keeps the start not above the stop and the step within the span after field `index`
    // was edited; each correction beeps.
    void CheckBiasRange(int index);

    // Handlers.
    void vVlt_GotFocus(int index);
    // The field was left: a text that is not a number goes back to its text at focus time;
    // the value is brought within its limits (with a beep) and the range is checked, except
    // for the spot bias of a frequency sweep, whose stop and step are hidden and unused.
    void vVlt_Validate(int index);
    // Toggles the unit; the start and stop units change together, and a step in "V" beside a
    // start in "mV" goes back to "mV".
    void lVlt_Click(int index);
    // The bar moved: it sets the value in millivolts. With auto-step on, the step bar only
    // puts back "Lin" (the bias step has no "Log").
    void dVlt_Change(int index);

  private:
    QString unitOf(int index) const;

    PanelControls& ui_;
    FrontPanelState& state_;
    Platform& platform_;
};

}  // namespace lorvane
