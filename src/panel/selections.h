#pragma once

#include <functional>

#include "front_panel_state.h"
#include "panel_controls.h"

namespace lorvane {

class BiasFields;
class FrequencyFields;
class ResultTable;

// The three set-up selections (measurement parameter, circuit, swept quantity) and the
// auto-step option. Each selection clears the results, relabels the result columns, shows the
// controls that apply and switches auto-step off.
class Selections {
  public:
    Selections(PanelControls& ui, FrontPanelState& state, FrequencyFields& frequency,
               BiasFields& bias, ResultTable& results, std::function<void()> clearResults);

    // A parameter (MeasureMode index) was chosen: headings, oscillator default, bias rows,
    // then the sweep is applied again. An index outside 0..5 only clears and re-applies the
    // sweep.
    void lMod_Click(int index);
    // A circuit (CircuitMode index) was chosen: the parameter is applied again for it.
    void lCrm_Click(int index);
    // A sweep (SweepParam index) was chosen: the stop and step fields of the other quantity
    // are hidden, and the bias start turns into the spot bias (0) for a frequency sweep or
    // gets back its remembered value for a bias sweep. Ignored while Updating is set.
    void lSwp_Click(int index);
    // The auto-step box changed: auto-step toggles (the box itself is not read). Ignored
    // while Updating is set.
    void vAuto_Click();
    // Shows or hides every bias control; hiding them forces a frequency sweep.
    void ShowBiasControls(bool show);

  private:
    void autoStepOn();
    void autoStepOff();

    PanelControls& ui_;
    FrontPanelState& state_;
    FrequencyFields& frequency_;
    BiasFields& bias_;
    ResultTable& results_;
    std::function<void()> clearResults_;
};

}  // namespace lorvane
