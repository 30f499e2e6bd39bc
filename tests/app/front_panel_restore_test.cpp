#include "front_panel_restore.h"

#include <gtest/gtest.h>

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

QString dec(const char* text) {
    return QString::fromLatin1(text).replace(u'.', QLocale().decimalPoint());
}

// A saved set-up, and the front panel it gives: the fields, the selected buttons, the rows
// shown and the headings of the list.
TEST(FrontPanelRestore, SavedSetUpsComeBackAndBadValuesGiveTheDefaultsSilently) {
    using Saved = std::vector<std::pair<const char*, int>>;
    struct Case {
        const char* what;
        Saved saved;
        std::array<const char*, 3> frequency;  // kHz
        std::array<const char*, 3> bias;       // mV
        int mode, circuit, sweep;
        const char* heading3;
        const char* oscillator;
    };
    const std::array<const char*, 3> kFrequency{"10.000", "100.000", "1.000"};
    const std::array<const char*, 3> kBias{"0", "500", "10"};
    const Saved biasStart{{"V_Start", -500}, {"Sweep", 1}, {"Circuit", 2}};
    const auto withMode = [&](int mode) {
        Saved saved = biasStart;
        saved.emplace_back("Mode", mode);
        return saved;
    };
    const Case cases[] = {
        {"first start", {}, kFrequency, kBias, 0, 0, 0, "Z (Ohm)", "500"},
        {"out of range",
         {{"F_Start", 4},
          {"F_Stop", 13000001},
          {"F_Step", 0},
          {"V_Start", -32001},
          {"V_Stop", 32001},
          {"V_Step", 6000},
          {"Sweep", 1}},
         {"10.000", "10.000", "1.000"},
         {"0", "0", "10"},
         0,
         0,
         1,
         "Z (Ohm)",
         "500"},
        {"the bounds themselves",
         {{"F_Start", 5},
          {"F_Stop", 13000000},
          {"F_Step", 1000000},
          {"V_Start", -32000},
          {"V_Stop", 32000},
          {"V_Step", 5000},
          {"Sweep", 1}},
         {"0.005", "13000.000", "1000.000"},
         {"-32000", "32000", "5000"},
         0,
         0,
         1,
         "Z (Ohm)",
         "500"},
        {"a bias sweep keeps its start",
         {{"V_Start", -500}, {"V_Stop", 1500}, {"V_Step", 100}, {"Sweep", 1}, {"Circuit", 2}},
         kFrequency,
         {"-500", "1500", "100"},
         0,
         2,
         1,
         "Zp (Ohm)",
         "500"},
        {"whatever the parameter (1)",
         withMode(1),
         kFrequency,
         {"-500", "500", "10"},
         1,
         2,
         1,
         "Lp (\u00b5H)",
         "500"},
        {"whatever the parameter (2)",
         withMode(2),
         kFrequency,
         {"-500", "500", "10"},
         2,
         2,
         1,
         "Rp (Ohm)",
         "500"},
        {"whatever the parameter (3)",
         withMode(3),
         kFrequency,
         {"-500", "500", "10"},
         3,
         2,
         1,
         "Cp (nF)",
         "500"},
        // The start of a bias sweep is not what a frequency sweep shows as its spot bias.
        {"a frequency sweep forgets the bias start",
         {{"V_Start", 700}},
         kFrequency,
         kBias,
         0,
         0,
         0,
         "Z (Ohm)",
         "500"},
        {"gain forces a frequency sweep",
         {{"Mode", 4}, {"Sweep", 1}},
         kFrequency,
         kBias,
         4,
         0,
         0,
         "G (dB)",
         "5"},
        {"a step of 1.5 kHz",
         {{"F_Step", 1500}},
         {"10.000", "100.000", "1.500"},
         kBias,
         0,
         0,
         0,
         "Z (Ohm)",
         "500"},
        // Selections without a button, or beyond 16 bits: the defaults.
        {"mode 7", {{"Mode", 7}}, kFrequency, kBias, 0, 0, 0, "Z (Ohm)", "500"},
        {"sweep 2", {{"Sweep", 2}}, kFrequency, kBias, 0, 0, 0, "Z (Ohm)", "500"},
        {"circuit -1", {{"Circuit", -1}}, kFrequency, kBias, 0, 0, 0, "Z (Ohm)", "500"},
        {"all three",
         {{"Mode", 6}, {"Sweep", -5}, {"Circuit", 70000}},
         kFrequency,
         kBias,
         0,
         0,
         0,
         "Z (Ohm)",
         "500"},
    };
    const QString key = QStringLiteral("Lorvane - 3");
    test::TempSettings settings;
    test::FakePlatform platform;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RegDelete(key);
        for (const auto& [name, value] : c.saved) RegWrite(key, QString::fromLatin1(name), value);
        MainWindow window{platform};
        restoreFrontPanel(window, key);
        const PanelControls& ui = window.controls();
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(ui.vFrq[i]->text(), dec(c.frequency[i])) << i;
            EXPECT_EQ(ui.vVlt[i]->text(), c.bias[i]) << i;
        }
        const auto& state = window.state();
        EXPECT_EQ(state.SelectedMode, c.mode);
        EXPECT_EQ(state.SelectedCircuit, c.circuit);
        EXPECT_EQ(state.SelectedSweep, c.sweep);
        EXPECT_TRUE(ui.lMod[static_cast<size_t>(c.mode)]->isChecked());
        EXPECT_TRUE(ui.lCrm[static_cast<size_t>(c.circuit)]->isChecked());
        EXPECT_TRUE(ui.lSwp[static_cast<size_t>(c.sweep)]->isChecked());
        // A bias sweep shows the bias stop and hides the frequency stop; gain hides all bias.
        EXPECT_EQ(ui.vVlt[1]->isHidden(), c.sweep == 0);
        EXPECT_EQ(ui.vFrq[1]->isHidden(), c.sweep == 1);
        EXPECT_EQ(ui.vVlt[0]->isHidden(), c.mode >= 4);
        EXPECT_EQ(window.results().heading(2), c.sweep == 1 ? "Bias (mV)" : "Freq. (kHz)");
        EXPECT_EQ(window.results().heading(3), QString::fromUtf8(c.heading3));
        EXPECT_EQ(ui.vOsc->text(), c.oscillator);
        EXPECT_DOUBLE_EQ(window.GetFrequency(2), QLocale().toDouble(dec(c.frequency[2])) * 1000);
        EXPECT_EQ(ui.dFrq[1]->value(), static_cast<int>(QLocale().toDouble(dec(c.frequency[1]))));
        EXPECT_FALSE(state.Updating);
    }
    EXPECT_EQ(platform.beeps, 0);
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace lorvane
