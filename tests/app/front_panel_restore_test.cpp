#include "front_panel_restore.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QScrollBar>
#include <array>

#include "fake_platform.h"
#include "main_window.h"
#include "panel_widgets.h"
#include "result_table.h"
#include "scoped_env.h"
#include "settings_store.h"

namespace lorvane {
namespace {

using test::FakePlatform;
using test::TempSettings;

QString dec(const char* text) {
    return QString::fromLatin1(text).replace(u'.', QLocale().decimalPoint());
}

class FrontPanelRestore : public ::testing::Test {
  protected:
    const QString key = QStringLiteral("Lorvane - 3");
    TempSettings settings;
    FakePlatform platform;
    MainWindow window{platform};
    const PanelControls& ui = window.controls();
    const FrontPanelState& state = window.state();

    void save(const char* name, int value) { RegWrite(key, QString::fromLatin1(name), value); }
    void restore() { restoreFrontPanel(window, key); }
    QString frequency(size_t i) const { return ui.vFrq[i]->text(); }
    QString bias(size_t i) const { return ui.vVlt[i]->text(); }
};

TEST_F(FrontPanelRestore, FirstStartShowsTheDefaults) {
    restore();
    EXPECT_EQ(frequency(0), dec("10.000"));
    EXPECT_EQ(frequency(1), dec("100.000"));
    EXPECT_EQ(frequency(2), dec("1.000"));
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ui.lFrq[i]->text(), "kHz");
        EXPECT_EQ(ui.lVlt[i]->text(), "mV");
    }
    // The bias start is the spot bias of the frequency sweep; stop and step are hidden.
    EXPECT_EQ(bias(0), "0");
    EXPECT_EQ(bias(1), "500");
    EXPECT_EQ(bias(2), "10");
    EXPECT_TRUE(ui.vVlt[0]->isVisibleTo(&window));
    EXPECT_FALSE(ui.vVlt[1]->isVisibleTo(&window));
    EXPECT_FALSE(ui.dVlt[2]->isVisibleTo(&window));
    EXPECT_TRUE(ui.lMod[0]->isChecked());
    EXPECT_TRUE(ui.lSwp[0]->isChecked());
    EXPECT_TRUE(ui.lCrm[0]->isChecked());
    EXPECT_EQ(ui.vOsc->text(), "500");
    EXPECT_EQ(window.results().heading(2), "Freq. (kHz)");
    EXPECT_EQ(window.results().heading(3), "Z (Ohm)");
    EXPECT_EQ(window.results().heading(4), "Phi (°)");
    EXPECT_DOUBLE_EQ(state.PrevFreq[1], 100000);
    EXPECT_DOUBLE_EQ(state.PrevBias[1], 500);
    EXPECT_FALSE(state.Updating);
    EXPECT_EQ(platform.beeps, 0);
    // The bars' ranges and positions.
    EXPECT_EQ(ui.dFrq[1]->maximum(), 13000);
    EXPECT_EQ(ui.dFrq[2]->minimum(), 1);
    EXPECT_EQ(ui.dFrq[2]->maximum(), 1000);
    EXPECT_EQ(ui.dVlt[0]->minimum(), -32000);
    EXPECT_EQ(ui.dVlt[2]->minimum(), 10);
    EXPECT_EQ(ui.dVlt[2]->maximum(), 5000);
    EXPECT_EQ(ui.dVlt[0]->singleStep(), 10);
    EXPECT_EQ(ui.dFrq[0]->pageStep(), 1);
    EXPECT_EQ(ui.dFrq[1]->value(), 100);
    EXPECT_EQ(ui.dVlt[1]->value(), 500);
}

TEST_F(FrontPanelRestore, OutOfRangeValuesAreReplacedSilently) {
    save("F_Start", 4);
    save("F_Stop", 13000001);
    save("F_Step", 0);
    save("V_Start", -32001);
    save("V_Stop", 32001);
    save("V_Step", 6000);
    save("Sweep", 1);
    restore();
    EXPECT_EQ(frequency(0), dec("10.000"));
    EXPECT_EQ(frequency(1), dec("10.000"));
    EXPECT_EQ(frequency(2), dec("1.000"));
    EXPECT_EQ(bias(0), "0");
    EXPECT_EQ(bias(1), "0");
    EXPECT_EQ(bias(2), "10");
    EXPECT_EQ(platform.beeps, 0);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FrontPanelRestore, BoundsThemselvesAreKept) {
    save("F_Start", 5);
    save("F_Stop", 13000000);
    save("F_Step", 1000000);
    save("V_Start", -32000);
    save("V_Stop", 32000);
    save("V_Step", 5000);
    save("Sweep", 1);
    restore();
    EXPECT_EQ(frequency(0), dec("0.005"));
    EXPECT_EQ(frequency(1), dec("13000.000"));
    EXPECT_EQ(frequency(2), dec("1000.000"));
    EXPECT_EQ(bias(0), "-32000");
    EXPECT_EQ(bias(1), "32000");
    EXPECT_EQ(bias(2), "5000");
}

TEST_F(FrontPanelRestore, SavedBiasSweepGetsBackItsStart) {
    // Impedance is selected in the initial layout, so its handler runs once and leaves the
    // saved start remembered; the Bias button is selected there too, and its explicit run
    // brings the start back.
    save("V_Start", -500);
    save("V_Stop", 1500);
    save("V_Step", 100);
    save("Sweep", 1);
    save("Circuit", 2);
    restore();
    EXPECT_TRUE(ui.lSwp[1]->isChecked());
    EXPECT_EQ(state.SelectedSweep, 1);
    EXPECT_EQ(bias(0), "-500");
    EXPECT_EQ(bias(1), "1500");
    EXPECT_EQ(bias(2), "100");
    EXPECT_TRUE(ui.vVlt[2]->isVisibleTo(&window));
    EXPECT_FALSE(ui.vFrq[1]->isVisibleTo(&window));
    EXPECT_TRUE(ui.lCrm[2]->isChecked());
    EXPECT_EQ(window.results().heading(2), "Bias (mV)");
    EXPECT_EQ(window.results().heading(3), "Zp (Ohm)");
}

TEST_F(FrontPanelRestore, ASavedBiasSweepKeepsItsStartWhateverTheParameter) {
    // Only Impedance is selected in the initial layout: selecting another parameter runs its
    // handler once more, and neither run may lose the saved start.
    save("V_Start", -500);
    save("Sweep", 1);
    save("Circuit", 2);
    for (const int mode : {0, 1, 2, 3}) {
        SCOPED_TRACE(mode);
        MainWindow fresh{platform};
        save("Mode", mode);
        restoreFrontPanel(fresh, key);
        EXPECT_EQ(fresh.state().SelectedSweep, 1);
        EXPECT_EQ(fresh.controls().vVlt[0]->text(), "-500");
        EXPECT_TRUE(fresh.controls().lMod[static_cast<size_t>(mode)]->isChecked());
        EXPECT_EQ(fresh.results().heading(2), "Bias (mV)");
    }
    save("Mode", 3);
    restore();
    EXPECT_EQ(window.results().heading(3), "Cp (nF)");
    EXPECT_EQ(window.results().heading(4), "D");
    EXPECT_EQ(state.QuantityLabel[1], "Cp");
}

TEST_F(FrontPanelRestore, FrequencySweepRunsItsHandlerTwiceAndForgetsTheBiasStart) {
    // The sweep handler runs from the parameter handler, then once more when the Freq button
    // becomes selected and once explicitly: the second run remembers the 0 spot bias the
    // first one left, so the saved start is not what a later bias sweep shows.
    save("V_Start", 700);
    restore();
    EXPECT_EQ(bias(0), "0");
    EXPECT_DOUBLE_EQ(state.PrevBias[0], 0);
    ui.lSwp[1]->setChecked(true);
    EXPECT_EQ(bias(0), "0");
}

TEST_F(FrontPanelRestore, GainForcesTheFrequencySweepEvenWhenABiasSweepWasSaved) {
    save("Mode", 4);
    save("Sweep", 1);
    restore();
    EXPECT_EQ(state.SelectedSweep, 0);
    EXPECT_TRUE(ui.lSwp[0]->isChecked());
    EXPECT_FALSE(ui.vVlt[0]->isVisibleTo(&window));
    EXPECT_FALSE(ui.vVlt[1]->isVisibleTo(&window));
    EXPECT_FALSE(ui.lSwp[1]->isVisibleTo(&window));
    EXPECT_EQ(ui.vOsc->text(), "5");
    EXPECT_EQ(window.results().heading(3), "G (dB)");
}

TEST_F(FrontPanelRestore, SelectionsWithoutAButtonFallBackToTheDefaults) {
    // Mode, Sweep, Circuit as saved; beyond 16 bits reads as missing.
    const std::array<std::array<int, 3>, 4> saved{
        {{7, 0, 0}, {0, 2, 0}, {0, 0, -1}, {6, -5, 70000}}};
    for (const auto& [mode, sweep, circuit] : saved) {
        SCOPED_TRACE(testing::Message() << mode << " " << sweep << " " << circuit);
        save("Mode", mode);
        save("Sweep", sweep);
        save("Circuit", circuit);
        MainWindow fresh{platform};
        restoreFrontPanel(fresh, key);
        // The run saves these, so the defaults are what goes back to the settings.
        EXPECT_EQ(fresh.state().SelectedMode, 0);
        EXPECT_EQ(fresh.state().SelectedSweep, 0);
        EXPECT_EQ(fresh.state().SelectedCircuit, 0);
        EXPECT_TRUE(fresh.controls().lMod[0]->isChecked());
        EXPECT_TRUE(fresh.controls().lSwp[0]->isChecked());
        EXPECT_TRUE(fresh.controls().lCrm[0]->isChecked());
        EXPECT_EQ(fresh.results().heading(2), "Freq. (kHz)");
        EXPECT_EQ(fresh.results().heading(3), "Z (Ohm)");
        EXPECT_EQ(fresh.state().QuantityLabel[1], "Z");
        EXPECT_FALSE(fresh.controls().vFrq[1]->isHidden());
    }
}

TEST_F(FrontPanelRestore, GermanLocaleShowsTheDecimalComma) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    save("F_Step", 1500);
    restore();
    EXPECT_EQ(frequency(0), "10,000");
    EXPECT_EQ(frequency(2), "1,500");
    EXPECT_DOUBLE_EQ(window.GetFrequency(2), 1500);
    QLocale::setDefault(saved);
}

}  // namespace
}  // namespace lorvane
