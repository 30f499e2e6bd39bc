#pragma once

#include <QString>

namespace lorvane {

class MainWindow;

// The last step of a normal start: the frequency and bias fields get their scroll-bar ranges,
// their units ("kHz", "mV") and the values saved under `settingsKey` by the last run, each
// brought back within its range and shown in its field's unit; then the saved measurement
// parameter, sweep and circuit are selected through their handlers, which set the result
// headings, the visible rows and the oscillator level. Out-of-range values are replaced
// silently; a selection without a button becomes the first one.
void restoreFrontPanel(MainWindow& window, const QString& settingsKey);

}  // namespace lorvane
