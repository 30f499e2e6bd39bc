#pragma once

#include <QString>

#include "panel_controls.h"
#include "platform.h"

namespace lorvane {

// The oscillator level field vOsc, in millivolts: 5 mV to 1100 mV, above 100 mV a multiple
// of 5 mV. The run reads its text as it stands.
class OscillatorField {
  public:
    OscillatorField(PanelControls& ui, Platform& platform);

    // Selects the first four characters and keeps the text as the level to go back to.
    void vOsc_GotFocus();
    // The field was left: a text that is not a number goes back to the level it had when it
    // got the focus; a level out of its limits is set to the limit with a beep; above 100 mV
    // it is rounded down to a multiple of 5 mV.
    void vOsc_Validate();

  private:
    PanelControls& ui_;
    Platform& platform_;
    QString previousLevel_;
};

}  // namespace lorvane
