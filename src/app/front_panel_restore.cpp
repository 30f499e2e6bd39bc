#include "front_panel_restore.h"

#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <array>

#include "main_window.h"
#include "panel_widgets.h"
#include "settings_store.h"

namespace lorvane {
namespace {

// A saved value, its default and the range it must lie in (bounds included), with the value
// that replaces one outside it.
struct SavedValue {
    const char* name;
    int32_t def;
    int32_t low;
    int32_t high;
    int32_t replacement;
};

constexpr std::array<SavedValue, 3> kFrequencies{{
    {"F_Start", 10000, 5, 13000000, 10000},
    {"F_Stop", 100000, 5, 13000000, 10000},
    {"F_Step", 1000, 1, 1000000, 1000},
}};

constexpr std::array<SavedValue, 3> kBiases{{
    {"V_Start", 0, -32000, 32000, 0},
    {"V_Stop", 500, -32000, 32000, 0},
    {"V_Step", 10, 10, 5000, 10},
}};

double readInRange(const QString& key, const SavedValue& saved) {
    const int32_t value = RegRead(key, QString::fromLatin1(saved.name), saved.def);
    return value < saved.low || value > saved.high ? saved.replacement : value;
}

// A saved selection: the index of one of `buttons` option buttons. Anything else (a hand-edited or
// damaged setting) is the first button, the default, so that the panel shows a selection, its
// headings match it and the run saves that default back.
int16_t readSelection(const QString& key, const char* name, size_t buttons) {
    const int16_t index = RegReadInt16(key, QString::fromLatin1(name), 0);
    return index >= 0 && static_cast<size_t>(index) < buttons ? index : int16_t{0};
}

// Marks the button of `index` selected, which runs its handler by itself when it was not
// selected yet; then the handler runs once more explicitly.
template <size_t N, typename Handler>
void select(const std::array<QRadioButton*, N>& buttons, int index, Handler handler) {
    buttons[static_cast<size_t>(index)]->setChecked(true);
    handler(index);
}

}  // namespace

void restoreFrontPanel(MainWindow& window, const QString& settingsKey) {
    const PanelControls& ui = window.controls();
    FrontPanelState& state = window.state();
    // The bars and labels changed below raise handlers that ignore what Updating marks.
    state.Updating = true;

    ui.dFrq[0]->setRange(0, 13000);
    ui.dFrq[1]->setRange(0, 13000);
    ui.dFrq[2]->setRange(1, 1000);
    for (ClickLabel* unit : ui.lFrq) unit->setText(QStringLiteral("kHz"));

    ui.dVlt[0]->setRange(-32000, 32000);
    ui.dVlt[1]->setRange(-32000, 32000);
    ui.dVlt[2]->setRange(10, 5000);
    for (QScrollBar* bar : ui.dVlt) bar->setSingleStep(10);
    for (ClickLabel* unit : ui.lVlt) unit->setText(QStringLiteral("mV"));

    std::array<double, 3> frequencies{};
    std::array<double, 3> biases{};
    for (size_t i = 0; i < 3; ++i) frequencies[i] = readInRange(settingsKey, kFrequencies[i]);
    for (size_t i = 0; i < 3; ++i) biases[i] = readInRange(settingsKey, kBiases[i]);

    // SetFrequency and SetBias clear Updating as they return; nothing that follows here
    // raises a handler that tests it.
    for (int i = 0; i < 3; ++i) {
        window.SetFrequency(i, frequencies[static_cast<size_t>(i)], false);
        state.PrevFreq[static_cast<size_t>(i)] = window.GetFrequency(i);
    }
    for (int i = 0; i < 3; ++i) {
        window.SetBias(i, biases[static_cast<size_t>(i)], false);
        state.PrevBias[static_cast<size_t>(i)] = window.GetBias(i);
    }
    state.Updating = false;

    Selections& selections = window.selections();
    const int16_t sweep = readSelection(settingsKey, "Sweep", ui.lSwp.size());
    // The parameter's handler applies the selected sweep again, and it can run twice: under
    // the frequency sweep of a fresh window, the second run would keep the 0 spot bias that the
    // first one left as the start a saved bias sweep gets back.
    state.SelectedSweep = sweep;
    state.SelectedMode = readSelection(settingsKey, "Mode", ui.lMod.size());
    select(ui.lMod, state.SelectedMode, [&](int i) { selections.lMod_Click(i); });
    state.SelectedSweep = sweep;
    select(ui.lSwp, state.SelectedSweep, [&](int i) { selections.lSwp_Click(i); });
    state.SelectedCircuit = readSelection(settingsKey, "Circuit", ui.lCrm.size());
    select(ui.lCrm, state.SelectedCircuit, [&](int i) { selections.lCrm_Click(i); });
}

}  // namespace lorvane
