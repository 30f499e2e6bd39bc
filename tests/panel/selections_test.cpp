// The parameter, circuit and sweep selections, the automatic step, and the panel lock of a run.
#include <QPushButton>

#include "panel_fixture.h"

namespace lorvane::test {
namespace {

using SelectionsTest = PanelTest;

TEST_F(SelectionsTest, EveryParameterAndCircuitHeadsColumnsThreeAndFourAndEmptiesTheList) {
    const std::tuple<int, int, const char*> cases[] = {
        {0, 0, "Z (Ohm)|Phi (°)|Z|Phi"},  // already selected: the list stays
        {0, 2, "Zp (Ohm)|Phi (°)|Zp|Phi"}, {1, 1, "Ls (µH)|Q|Ls|Q"}, {2, 0, "R (Ohm)|X (Ohm)|R|X"},
        {2, 2, "Rp (Ohm)|Xp (Ohm)|Rp|Xp"}, {3, 1, "Cs (nF)|D|Cs|D"}, {4, 1, "G (dB)|Phi (°)|G|Phi"},
        {5, 2, "G (dB)|D (µs)|G|D"},
    };
    for (const auto& [mode, circuit, texts] : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << mode << " circuit " << circuit);
        window.results().addRow({"1", "1", "1", "1"});
        ui.lMod[size_t(mode)]->setChecked(true);
        ui.lCrm[size_t(circuit)]->setChecked(true);
        const QStringList shown{window.results().heading(3), window.results().heading(4),
                                state.QuantityLabel[1], state.QuantityLabel[2]};
        EXPECT_EQ(shown.join(u'|'), QString::fromUtf8(texts));
        EXPECT_EQ(state.SelectedMode * 10 + state.SelectedCircuit, mode * 10 + circuit);
        EXPECT_EQ(window.results().rows(), mode == 0 && circuit == 0 ? 1 : 0);
        window.clearResults();
    }
    // Gain has no bias sweep and its own level; an impedance parameter brings them back.
    ui.lSwp[1]->setChecked(true);
    ui.lMod[4]->setChecked(true);
    EXPECT_TRUE(state.SelectedSweep == 0 && ui.lSwp[1]->isHidden() && ui.dVlt[0]->isHidden());
    EXPECT_EQ(ui.vOsc->text(), "5");
    ui.lMod[3]->setChecked(true);
    EXPECT_FALSE(ui.vVlt[0]->isHidden() || ui.lSwp[1]->isHidden() || !ui.vVlt[1]->isHidden());
    EXPECT_EQ(ui.vOsc->text(), "500");
}

TEST_F(SelectionsTest, AutoStepOnShowsLinAndOffOrANewParameterRestoresTheStepFields) {
    // Steps in MHz and V; the typed start and step are not what is remembered.
    act(window, "uF0 uF2 uB0 uB2 F0=0.02 B2=0.05");
    const auto stepFields = [this] {
        return QStringList{ui.vFrq[2]->text(),
                           ui.lFrq[2]->text(),
                           QString::number(ui.vFrq[2]->isEnabled()),
                           background(ui.vFrq[2]).name(),
                           ui.vVlt[2]->text(),
                           ui.lVlt[2]->text(),
                           QString::number(ui.vVlt[2]->isEnabled())}
            .join(u' ');
    };
    for (const int parameter : {-1, 2}) {
        ui.vAuto->setChecked(true);
        EXPECT_DOUBLE_EQ(window.GetFrequency(2), 0);
        EXPECT_DOUBLE_EQ(window.GetBias(2), 10);  // the step it had before
        EXPECT_EQ(stepFields(), "Lin kHz 0 #00ffff Lin mV 0");
        if (parameter < 0)
            ui.vAuto->setChecked(false);
        else
            ui.lMod[size_t(parameter)]->setChecked(true);
        EXPECT_FALSE(ui.vAuto->isChecked() || state.AutoStep);
        EXPECT_EQ(stepFields(), dec("0.001000 MHz 1 #e0e0e0 0.010 V 1"));
        EXPECT_EQ(ui.vFrq[0]->text(), dec("0.010000"));
    }
}

TEST_F(SelectionsTest, ARunLocksEverySetUpInputButNotConfigOrRun) {
    const auto enabled = [](std::initializer_list<QWidget*> widgets) {
        QString flags;
        for (const QWidget* widget : widgets) flags += widget->isEnabled() ? u'1' : u'0';
        return flags;
    };
    const auto inputs = [&] {
        return enabled({ui.Opts, ui.vOsc, ui.vAuto, ui.lSwp[0], ui.lSwp[1], ui.lMod[0], ui.lMod[5],
                        ui.lCrm[0], ui.lCrm[2], ui.vFrq[0], ui.dFrq[1], ui.lFrq[2], ui.vVlt[2],
                        ui.dVlt[1], ui.lVlt[2]});
    };
    window.EnablePanel(false);
    EXPECT_EQ(inputs() + enabled({ui.Config, ui.Run[0], ui.Run[1]}), "000000000000000111");
    window.EnablePanel(true);
    EXPECT_EQ(inputs(), "111111111111111");
    // With the automatic step, unlocking gives back everything but the step fields.
    ui.vAuto->setChecked(true);
    window.EnablePanel(false);
    window.EnablePanel(true);
    EXPECT_EQ(enabled({ui.vFrq[2], ui.vVlt[2], ui.dFrq[2], ui.vFrq[1]}), "0011");
    EXPECT_EQ(ui.vFrq[2]->text(), "Lin");
}

}  // namespace
}  // namespace lorvane::test
