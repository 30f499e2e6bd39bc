#include <QCheckBox>
#include <QRadioButton>

#include "panel_fixture.h"

namespace lorvane::test {
namespace {

// With a bias sweep, so that all three bias fields are in use.
class BiasFieldsTest : public PanelTest {
  protected:
    void SetUp() override {
        start();
        ui.lSwp[1]->setChecked(true);
    }
};

TEST_F(BiasFieldsTest, ValuesAreCutToTenMillivolts) {
    enterBias(1, "5000");
    enterBias(0, "123");
    EXPECT_EQ(biasText(0), "120");
    EXPECT_EQ(biasBar(0), 120);
    enterBias(0, "-15");
    EXPECT_EQ(biasText(0), "-20");
    window.bias().lVlt_Click(0);
    enterBias(0, dec("1.234"));
    EXPECT_EQ(biasText(0), dec("1.230"));
    EXPECT_EQ(biasBar(0), 1230);
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(BiasFieldsTest, LimitsWithOneBeepEach) {
    enterBias(1, "40000");
    EXPECT_EQ(biasText(1), "32000");
    enterBias(0, "-40000");
    EXPECT_EQ(biasText(0), "-32000");
    enterBias(2, "6000");
    EXPECT_EQ(biasText(2), "5000");
    EXPECT_EQ(platform.beeps, 3);
    // A 3 mV step is cut to 0 by the 10 mV grid, then raised to the 10 mV limit.
    enterBias(2, "3");
    EXPECT_EQ(biasText(2), "10");
    EXPECT_EQ(platform.beeps, 4);
}

TEST_F(BiasFieldsTest, StepAboveTheSpanBecomesTenMillivolts) {
    enterBias(1, "100");
    enterBias(2, "500");
    EXPECT_EQ(biasText(2), "10");
    EXPECT_DOUBLE_EQ(state.PrevBias[2], 500);
    EXPECT_EQ(platform.beeps, 1);
}

TEST_F(BiasFieldsTest, StopBelowTheStartPullsTheStartDownAndTheStepToTenMillivolts) {
    enterBias(2, "100");
    enterBias(1, "-300");
    EXPECT_EQ(biasText(0), "-300");
    EXPECT_EQ(biasText(2), "10");
    EXPECT_EQ(platform.beeps, 2);
}

TEST_F(BiasFieldsTest, StartAndStopUnitsToggleTogether) {
    window.bias().lVlt_Click(0);
    EXPECT_EQ(biasUnit(1), "V");
    EXPECT_EQ(biasUnit(2), "mV");
    EXPECT_EQ(biasText(1), dec("0.500"));
    EXPECT_EQ(ui.vVlt[0]->typingLimit(), 7);
    window.bias().lVlt_Click(1);
    EXPECT_EQ(biasUnit(0), "mV");
    EXPECT_EQ(biasText(1), "500");
    EXPECT_EQ(ui.vVlt[1]->typingLimit(), 6);
}

TEST_F(BiasFieldsTest, StepInVoltsBesideStartInMillivoltsGoesBackAtOnce) {
    window.bias().lVlt_Click(2);
    EXPECT_EQ(biasUnit(2), "mV");
    EXPECT_EQ(ui.vVlt[2]->typingLimit(), 4);
    window.bias().lVlt_Click(0);
    window.bias().lVlt_Click(2);
    EXPECT_EQ(biasUnit(2), "V");
    EXPECT_EQ(biasText(2), dec("0.010"));
    EXPECT_EQ(ui.vVlt[2]->typingLimit(), 5);
}

TEST_F(BiasFieldsTest, BarMovesInMillivoltsAndIsChecked) {
    ui.dVlt[0]->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(biasText(0), "10");
    ui.dVlt[1]->setValue(-100);
    // The start follows the stop down, and the negative span from the old start sets the
    // step to 10 mV: two corrections, two beeps.
    EXPECT_EQ(biasText(0), "-100");
    EXPECT_EQ(biasText(2), "10");
    EXPECT_EQ(platform.beeps, 2);
}

TEST_F(BiasFieldsTest, EmptyTextRevertsToTheTextAtFocusTime) {
    enterBias(1, "");
    EXPECT_EQ(biasText(1), "500");
}

TEST_F(BiasFieldsTest, AutoStepBarKeepsLinAndTheStepReadsAsRemembered) {
    ui.vAuto->setChecked(true);
    state.LogStep = true;
    ui.dVlt[2]->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(biasText(2), "Lin");
    EXPECT_FALSE(state.LogStep);
    state.PrevBias[2] = 70;
    EXPECT_DOUBLE_EQ(window.GetBias(2), 70);
}

using GermanBiasFields = PanelTest;

TEST_F(GermanBiasFields, VoltsUseTheDecimalComma) {
    useGerman();
    start();
    ui.lSwp[1]->setChecked(true);
    window.bias().lVlt_Click(0);
    EXPECT_EQ(biasText(1), "0,500");
    enterBias(0, "1,234");
    EXPECT_EQ(biasText(0), "1,230");
}

class OscillatorTest : public PanelTest {
  protected:
    void SetUp() override { start(); }
    QString enter(const QString& text) {
        enterOscillator(text);
        return ui.vOsc->text();
    }
};

TEST_F(OscillatorTest, LimitsAndFiveMillivoltGridAboveOneHundred) {
    EXPECT_EQ(enter(dec("50.5")), dec("50.5"));
    EXPECT_EQ(enter("123"), "120");
    EXPECT_EQ(enter("127"), "125");
    EXPECT_EQ(platform.beeps, 0);
    EXPECT_EQ(enter("2"), "5");
    EXPECT_EQ(enter("2000"), "1100");
    EXPECT_EQ(platform.beeps, 2);
    // Not a number: the level it had on getting the focus.
    EXPECT_EQ(enter("loud"), "1100");
    EXPECT_EQ(platform.beeps, 2);
}

}  // namespace
}  // namespace lorvane::test
