#include <QPushButton>

#include "panel_fixture.h"

namespace lorvane::test {
namespace {

class SelectionsTest : public PanelTest {
  protected:
    void SetUp() override { start(); }

    void addResult() {
        window.results().addRow({dec("000010.000"), dec("10.000"), dec("1.000"), dec("2.000")});
    }
    QString heading(int column) { return window.results().heading(column); }
};

TEST_F(SelectionsTest, EveryParameterAndCircuitHeadsColumnsThreeAndFour) {
    struct Case {
        int mode;
        int circuit;
        const char* column3;
        const char* column4;
        const char* quantity1;
        const char* quantity2;
    };
    const Case cases[] = {
        {0, 0, "Z (Ohm)", "Phi (°)", "Z", "Phi"},  // already selected
        {0, 1, "Zs (Ohm)", "Phi (°)", "Zs", "Phi"},
        {0, 2, "Zp (Ohm)", "Phi (°)", "Zp", "Phi"},
        {1, 0, "L (µH)", "Q", "L", "Q"},
        {1, 1, "Ls (µH)", "Q", "Ls", "Q"},
        {1, 2, "Lp (µH)", "Q", "Lp", "Q"},
        {2, 0, "R (Ohm)", "X (Ohm)", "R", "X"},
        {2, 1, "Rs (Ohm)", "Xs (Ohm)", "Rs", "Xs"},
        {2, 2, "Rp (Ohm)", "Xp (Ohm)", "Rp", "Xp"},
        {3, 0, "C (nF)", "D", "C", "D"},
        {3, 1, "Cs (nF)", "D", "Cs", "D"},
        {3, 2, "Cp (nF)", "D", "Cp", "D"},
        {4, 1, "G (dB)", "Phi (°)", "G", "Phi"},
        {5, 2, "G (dB)", "D (µs)", "G", "D"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " circuit " << c.circuit);
        // A new selection empties the list; the selected button again changes nothing.
        const bool same = c.mode == state.SelectedMode && c.circuit == state.SelectedCircuit;
        addResult();
        ui.lMod[static_cast<size_t>(c.mode)]->setChecked(true);
        ui.lCrm[static_cast<size_t>(c.circuit)]->setChecked(true);
        EXPECT_EQ(heading(3), QString::fromUtf8(c.column3));
        EXPECT_EQ(heading(4), QString::fromUtf8(c.column4));
        EXPECT_EQ(state.QuantityLabel[1], c.quantity1);
        EXPECT_EQ(state.QuantityLabel[2], c.quantity2);
        EXPECT_EQ(state.SelectedMode, c.mode);
        EXPECT_EQ(state.SelectedCircuit, c.circuit);
        EXPECT_EQ(window.results().rows(), same ? 1 : 0);
        window.clearResults();
    }
}

// What a saved gain set-up shows is tested on the restore; here the way back.
TEST_F(SelectionsTest, GainHidesTheBiasRowsAndAnImpedanceParameterBringsThemBack) {
    ui.lSwp[1]->setChecked(true);
    EXPECT_FALSE(shown(ui.lFrq[1]));  // a bias sweep has no frequency stop, but a bias step
    EXPECT_TRUE(shown(ui.dVlt[2]));
    ui.lMod[4]->setChecked(true);
    EXPECT_EQ(state.SelectedSweep, 0);
    EXPECT_FALSE(shown(ui.lSwp[1]));
    EXPECT_FALSE(shown(ui.dVlt[0]));
    EXPECT_EQ(ui.vOsc->text(), "5");
    ui.lMod[3]->setChecked(true);
    EXPECT_TRUE(shown(ui.vVlt[0]));
    EXPECT_TRUE(shown(ui.lSwp[1]));
    EXPECT_FALSE(shown(ui.vVlt[1]));
    EXPECT_EQ(ui.vOsc->text(), "500");
}

TEST_F(SelectionsTest, AutoStepOnShowsLinAndOffRestoresUnitsAndRememberedValues) {
    // Steps in MHz and V; the typed start and step are not what is remembered.
    act(window, "uF0 uF2 uB0 uB2 F0=0.02 B2=0.05");
    ASSERT_EQ(frequencyUnit(2), "MHz");
    ASSERT_EQ(biasUnit(2), "V");

    ui.vAuto->setChecked(true);
    EXPECT_TRUE(state.AutoStep);
    EXPECT_EQ(frequencyText(2), "Lin");
    EXPECT_DOUBLE_EQ(window.GetFrequency(2), 0);
    EXPECT_DOUBLE_EQ(window.GetBias(2), 10);  // the step it had before
    EXPECT_EQ(frequencyUnit(2), "kHz");
    EXPECT_FALSE(ui.vFrq[2]->isEnabled());
    EXPECT_EQ(background(ui.vFrq[2]), QColor(0, 255, 255));
    EXPECT_EQ(biasText(2), "Lin");
    EXPECT_EQ(biasUnit(2), "mV");
    EXPECT_FALSE(ui.vVlt[2]->isEnabled());

    ui.vAuto->setChecked(false);
    EXPECT_FALSE(state.AutoStep);
    EXPECT_EQ(frequencyUnit(2), "MHz");
    EXPECT_EQ(frequencyText(2), dec("0.001000"));
    EXPECT_EQ(frequencyText(0), dec("0.010000"));
    EXPECT_TRUE(ui.vFrq[2]->isEnabled());
    EXPECT_EQ(background(ui.vFrq[2]), QColor(224, 224, 224));
    EXPECT_EQ(biasUnit(2), "V");
    EXPECT_EQ(biasText(2), dec("0.010"));
    EXPECT_TRUE(ui.vVlt[2]->isEnabled());
}

TEST_F(SelectionsTest, ParameterChangeSwitchesAutoStepOffAndRestoresTheStepFields) {
    ui.vAuto->setChecked(true);
    addResult();
    ui.lMod[2]->setChecked(true);
    EXPECT_FALSE(ui.vAuto->isChecked());
    EXPECT_FALSE(state.AutoStep);
    EXPECT_EQ(frequencyText(2), dec("1.000"));
    EXPECT_EQ(biasText(2), "10");
    EXPECT_EQ(window.results().rows(), 0);
}

TEST_F(SelectionsTest, EnablePanelLocksEverySetUpInputButNotConfigOrRun) {
    window.EnablePanel(false);
    EXPECT_FALSE(state.Updating);
    for (QWidget* input : std::initializer_list<QWidget*>{
             ui.Opts, ui.vOsc, ui.vAuto, ui.lSwp[0], ui.lSwp[1], ui.lMod[0], ui.lMod[5], ui.lCrm[0],
             ui.lCrm[2], ui.vFrq[0], ui.dFrq[1], ui.lFrq[2], ui.vVlt[0], ui.dVlt[1], ui.lVlt[2]})
        EXPECT_FALSE(input->isEnabled()) << input->objectName().toStdString();
    for (QWidget* free : std::initializer_list<QWidget*>{ui.Config, ui.Run[0], ui.Run[1]})
        EXPECT_TRUE(free->isEnabled());
    window.EnablePanel(true);
    EXPECT_TRUE(ui.vFrq[2]->isEnabled());
    EXPECT_TRUE(ui.lCrm[1]->isEnabled());

    // With auto-step on, unlocking gives back everything but the step fields.
    ui.vAuto->setChecked(true);
    window.EnablePanel(false);
    window.EnablePanel(true);
    EXPECT_FALSE(ui.vFrq[2]->isEnabled());
    EXPECT_FALSE(ui.vVlt[2]->isEnabled());
    EXPECT_TRUE(ui.dFrq[2]->isEnabled());
    EXPECT_EQ(frequencyText(2), "Lin");
}

}  // namespace
}  // namespace lorvane::test
