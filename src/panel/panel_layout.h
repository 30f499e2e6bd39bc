#pragma once

#include "panel_controls.h"

#include <QFont>

class QWidget;

namespace lorvane {

class ResultTable;
class TwipScale;

// The window font: DejaVu Sans of 10 pixels on a 96-dpi screen, the size every caption of the
// layout is made for, in proportion on other screens.
QFont panelFont(const TwipScale& scale);

// Creates every control of the main window in its designed place, scaled to the screen, with
// its caption, tooltip, colours and fonts, and sets the keyboard focus order. The initial
// layout selects lMod(0), lCrm(0) and lSwp(1) and shows "kHz" and "V" in the unit labels;
// start-up replaces what it must. Nothing is connected yet, so building raises no handlers.
// `results` becomes the model of the results list.
PanelControls buildPanel(QWidget* window, const TwipScale& scale, ResultTable* results);

}  // namespace lorvane
