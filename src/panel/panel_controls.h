#pragma once

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTableView;

namespace lorvane {

class ClickLabel;
class PlotBox;
class StatusPanels;
class ValueEdit;

// The main window's controls, by their design names; arrays are indexed from 0. The window
// owns them all (as Qt children); these are plain pointers for the code that reads and sets
// them.
struct PanelControls {
    // 0 the top strip, 1 "Param.", 2 "Sweep", 3 "Circuit".
    std::array<QGroupBox*, 4> lFrm{};
    std::array<QRadioButton*, 6> lMod{};
    std::array<QRadioButton*, 3> lCrm{};
    std::array<QRadioButton*, 2> lSwp{};
    std::array<QLabel*, 3> lTag{};
    // Frequency row: start (or spot), stop, step fields, their scroll bars and unit labels.
    std::array<ValueEdit*, 3> vFrq{};
    std::array<QScrollBar*, 3> dFrq{};
    std::array<ClickLabel*, 3> lFrq{};
    // Bias row, likewise.
    std::array<ValueEdit*, 3> vVlt{};
    std::array<QScrollBar*, 3> dVlt{};
    std::array<ClickLabel*, 3> lVlt{};
    QCheckBox* vAuto = nullptr;
    QCheckBox* Opts = nullptr;
    QGroupBox* fOsc = nullptr;
    ValueEdit* vOsc = nullptr;
    QLabel* lOsc = nullptr;
    QPushButton* Config = nullptr;
    // 0 "&Run", 1 "&Ref.".
    std::array<QPushButton*, 2> Run{};
    QTableView* Data = nullptr;
    PlotBox* fDraw = nullptr;
    StatusPanels* StatusBar = nullptr;
};

}  // namespace lorvane
