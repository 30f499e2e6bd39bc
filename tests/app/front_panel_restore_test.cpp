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

// A saved set-up ("name=value ..."), and the front panel it gives: the texts of the frequency
// (kHz) and bias (mV) fields, the selected parameter, circuit and sweep, the third heading and
// the oscillator level.
TEST(FrontPanelRestore, SavedSetUpsComeBackAndBadValuesGiveTheDefaultsSilently) {
    struct Case {
        const char* saved;
        const char* fields;
        int mode, circuit, sweep;
        const char* heading3;
    };
    const Case cases[] = {
        {"", "10.000 100.000 1.000 0 500 10", 0, 0, 0, "Z (Ohm)"},
        {"F_Start=4 F_Stop=13000001 F_Step=0 V_Start=-32001 V_Stop=32001 V_Step=6000 Sweep=1",
         "10.000 10.000 1.000 0 0 10", 0, 0, 1, "Z (Ohm)"},
        {"F_Start=5 F_Stop=13000000 F_Step=1000000 V_Start=-32000 V_Stop=32000 V_Step=5000 Sweep=1",
         "0.005 13000.000 1000.000 -32000 32000 5000", 0, 0, 1, "Z (Ohm)"},
        {"F_Step=1500", "10.000 100.000 1.500 0 500 10", 0, 0, 0, "Z (Ohm)"},
        // A saved bias sweep keeps its start, whatever the parameter.
        {"V_Start=-500 V_Stop=1500 V_Step=100 Sweep=1 Circuit=2",
         "10.000 100.000 1.000 -500 1500 100", 0, 2, 1, "Zp (Ohm)"},
        {"V_Start=-500 Sweep=1 Circuit=2 Mode=1", "10.000 100.000 1.000 -500 500 10", 1, 2, 1,
         "Lp (\u00b5H)"},
        {"V_Start=-500 Sweep=1 Circuit=2 Mode=2", "10.000 100.000 1.000 -500 500 10", 2, 2, 1,
         "Rp (Ohm)"},
        {"V_Start=-500 Sweep=1 Circuit=2 Mode=3", "10.000 100.000 1.000 -500 500 10", 3, 2, 1,
         "Cp (nF)"},
        // The start of a bias sweep is not what a frequency sweep shows as its spot bias.
        {"V_Start=700", "10.000 100.000 1.000 0 500 10", 0, 0, 0, "Z (Ohm)"},
        {"Mode=4 Sweep=1", "10.000 100.000 1.000 0 500 10", 4, 0, 0, "G (dB)"},
        // Selections without a button, or beyond 16 bits: the defaults.
        {"Mode=7", "10.000 100.000 1.000 0 500 10", 0, 0, 0, "Z (Ohm)"},
        {"Sweep=2", "10.000 100.000 1.000 0 500 10", 0, 0, 0, "Z (Ohm)"},
        {"Circuit=-1", "10.000 100.000 1.000 0 500 10", 0, 0, 0, "Z (Ohm)"},
        {"Mode=6 Sweep=-5 Circuit=70000", "10.000 100.000 1.000 0 500 10", 0, 0, 0, "Z (Ohm)"},
    };
    const QString key = QStringLiteral("Lorvane - 3");
    test::TempSettings settings;
    test::FakePlatform platform;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.saved);
        RegDelete(key);
        for (const QString& value : QString::fromLatin1(c.saved).split(u' ', Qt::SkipEmptyParts))
            RegWrite(key, value.section(u'=', 0, 0), value.section(u'=', 1).toInt());
        MainWindow window{platform};
        restoreFrontPanel(window, key);
        const PanelControls& ui = window.controls();
        const QStringList fields = dec(c.fields).split(u' ');
        EXPECT_EQ(QStringList({ui.vFrq[0]->text(), ui.vFrq[1]->text(), ui.vFrq[2]->text(),
                               ui.vVlt[0]->text(), ui.vVlt[1]->text(), ui.vVlt[2]->text()}),
                  fields);
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
        EXPECT_EQ(ui.vOsc->text(), c.mode == 4 ? "5" : "500");
        EXPECT_DOUBLE_EQ(window.GetFrequency(2), QLocale().toDouble(fields[2]) * 1000);
        EXPECT_EQ(ui.dFrq[1]->value(), static_cast<int>(QLocale().toDouble(fields[1])));
        EXPECT_FALSE(state.Updating);
    }
    EXPECT_EQ(platform.beeps, 0);
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace lorvane
