#include <QCheckBox>
#include <QRadioButton>

#include "panel_fixture.h"

namespace lorvane::test {
namespace {

class FrequencyFieldsTest : public PanelTest {
  protected:
    void SetUp() override { start(); }
};

TEST_F(FrequencyFieldsTest, LimitsAreInHertzWhateverTheUnitWithOneBeepEach) {
    enterFrequency(0, "1");
    EXPECT_EQ(frequencyText(0), dec("1.000"));
    EXPECT_EQ(frequencyBar(0), 1);
    EXPECT_EQ(platform.beeps, 0);

    window.frequency().SetFrequencyUnit(0, "Hz");
    enterFrequency(0, "2");
    EXPECT_EQ(frequencyText(0), "5");
    EXPECT_EQ(platform.beeps, 1);
    enterFrequency(1, "20000");  // kHz: 20 MHz
    EXPECT_EQ(frequencyText(1), dec("13000.000"));
    EXPECT_EQ(frequencyBar(1), 13000);
    EXPECT_EQ(platform.beeps, 2);
    enterFrequency(2, "1001");
    EXPECT_EQ(frequencyText(2), dec("1000.000"));
    EXPECT_EQ(platform.beeps, 3);
    enterFrequency(2, "0");
    EXPECT_EQ(frequencyText(2), dec("0.001"));
    EXPECT_EQ(frequencyBar(2), 1);  // the step bar starts at 1 kHz
    EXPECT_EQ(platform.beeps, 4);
    enterFrequency(1, "13000");  // the bounds themselves pass quietly
    EXPECT_EQ(platform.beeps, 4);
}

TEST_F(FrequencyFieldsTest, StartAndStopPushEachOtherRememberingWhatTheyShowed) {
    enterFrequency(0, "150");
    EXPECT_EQ(frequencyText(1), dec("150.000"));
    EXPECT_DOUBLE_EQ(state.PrevFreq[1], 100000);
    EXPECT_EQ(platform.beeps, 1);
    enterFrequency(1, "5");
    EXPECT_EQ(frequencyText(0), dec("5.000"));
    EXPECT_DOUBLE_EQ(state.PrevFreq[0], 150000);
    EXPECT_EQ(platform.beeps, 2);
}

TEST_F(FrequencyFieldsTest, StepAboveTheSpanBecomesATenthOfIt) {
    enterFrequency(1, "11");
    enterFrequency(2, "5");
    EXPECT_EQ(frequencyText(2), dec("0.100"));
    EXPECT_EQ(frequencyBar(2), 1);
    EXPECT_DOUBLE_EQ(state.PrevFreq[2], 5000);
    EXPECT_EQ(platform.beeps, 1);
}

TEST_F(FrequencyFieldsTest, LettersRevertToTheTextAtFocusTime) {
    enterFrequency(0, "abc");
    EXPECT_EQ(frequencyText(0), dec("10.000"));
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(FrequencyFieldsTest, StartAndStopUnitsCycleTogetherKeepingTheValues) {
    window.frequency().lFrq_Click(0);
    EXPECT_EQ(frequencyUnit(1), "MHz");
    EXPECT_EQ(frequencyUnit(2), "kHz");
    EXPECT_EQ(frequencyText(0), dec("0.010000"));
    EXPECT_EQ(frequencyText(1), dec("0.100000"));
    EXPECT_EQ(ui.vFrq[0]->typingLimit(), 9);

    window.frequency().lFrq_Click(1);
    EXPECT_EQ(frequencyUnit(0), "Hz");
    EXPECT_EQ(frequencyText(0), "10000");
    EXPECT_EQ(frequencyText(1), "100000");
    EXPECT_EQ(ui.vFrq[1]->typingLimit(), 8);
    EXPECT_EQ(frequencyUnit(2), "Hz");  // no larger than the start unit
    EXPECT_EQ(frequencyText(2), "1000");
    EXPECT_EQ(ui.vFrq[2]->typingLimit(), 0);
    EXPECT_FALSE(state.Updating);
}

TEST_F(FrequencyFieldsTest, UnitChangeOfAFullLengthTextLosesNoDigit) {
    window.frequency().lFrq_Click(0);  // MHz
    enterFrequency(1, dec("12.999999"));
    window.frequency().lFrq_Click(0);  // Hz, limited to 8 characters
    EXPECT_EQ(frequencyText(1), "12999999");
}

TEST_F(FrequencyFieldsTest, StepUnitNeverExceedsTheStartUnit) {
    const auto clickStep = [this] {
        window.frequency().lFrq_Click(2);
        return frequencyUnit(2);
    };
    EXPECT_EQ(clickStep(), "Hz");  // start in kHz: kHz, Hz, kHz
    EXPECT_EQ(clickStep(), "kHz");
    window.frequency().lFrq_Click(0);  // start in MHz: all three
    EXPECT_EQ(clickStep(), "MHz");
    EXPECT_EQ(frequencyText(2), dec("0.001000"));
    EXPECT_EQ(clickStep(), "Hz");
    window.frequency().lFrq_Click(0);  // start in Hz: Hz only
    EXPECT_EQ(clickStep(), "Hz");
}

TEST_F(FrequencyFieldsTest, BarArrowsMoveOneKilohertzAndAreCheckedLikeALeftField) {
    enterFrequency(0, dec("10.5"));
    EXPECT_EQ(frequencyBar(0), 10);  // 10.5 rounds to the even 10
    ui.dFrq[0]->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(frequencyText(0), dec("11.500"));
    EXPECT_DOUBLE_EQ(state.PrevFreq[0], 10500);
    EXPECT_EQ(platform.beeps, 0);
    ui.dFrq[1]->setValue(9);  // stop 9 kHz, below the start: the start follows
    EXPECT_EQ(frequencyText(1), dec("9.000"));
    EXPECT_EQ(frequencyText(0), dec("9.000"));
    EXPECT_EQ(platform.beeps, 1);

    // The lower arrow raises, the upper one lowers, wherever the bar's rounding put it.
    enterFrequency(0, dec("2.5"));
    const std::pair<QAbstractSlider::SliderAction, const char*> clicks[] = {
        {QAbstractSlider::SliderSingleStepAdd, "3.500"},
        {QAbstractSlider::SliderSingleStepAdd, "4.500"},
        {QAbstractSlider::SliderSingleStepSub, "3.500"},
        {QAbstractSlider::SliderSingleStepSub, "2.500"},
        {QAbstractSlider::SliderSingleStepSub, "1.500"},
    };
    for (const auto& [arrow, shown] : clicks) {
        ui.dFrq[0]->triggerAction(arrow);
        EXPECT_EQ(frequencyText(0), dec(shown));
    }
    enterFrequency(2, dec("0.5"));
    ui.dFrq[2]->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(frequencyText(2), dec("1.500"));
    EXPECT_EQ(platform.beeps, 1);
}

TEST_F(FrequencyFieldsTest, SetFrequencyMovesTheBarWithoutRaisingItsHandler) {
    window.SetFrequency(0, 200000, true);
    EXPECT_EQ(frequencyBar(0), 200);
    EXPECT_DOUBLE_EQ(state.PrevFreq[0], 10000);
    EXPECT_EQ(frequencyText(1), dec("100.000"));  // no range check ran
    EXPECT_FALSE(state.Updating);
}

TEST_F(FrequencyFieldsTest, AutoStepBarFlipsLinAndLogAndHidesTheUnitInLog) {
    ui.vAuto->setChecked(true);
    ui.dFrq[2]->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(frequencyText(2), "Log");
    EXPECT_TRUE(state.LogStep);
    EXPECT_FALSE(shown(ui.lFrq[2]));
    ui.dFrq[2]->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(frequencyText(2), "Lin");
    EXPECT_FALSE(state.LogStep);
    EXPECT_TRUE(shown(ui.lFrq[2]));
    // The automatic step reads as 0 and its label ignores clicks.
    EXPECT_DOUBLE_EQ(window.GetFrequency(2), 0);
    window.frequency().lFrq_Click(2);
    EXPECT_EQ(frequencyUnit(2), "kHz");
}

TEST_F(FrequencyFieldsTest, SpotValuesLeaveTheHiddenStopAndStepAlone) {
    // A frequency sweep: the bias start is the spot bias, above the hidden stop of 500 mV.
    enterBias(0, "900");
    EXPECT_EQ(biasText(0), "900");
    // A bias sweep: the frequency start is the spot frequency, above the hidden stop.
    ui.lSwp[1]->setChecked(true);
    enterFrequency(0, "200");
    EXPECT_EQ(frequencyText(0), dec("200.000"));
    EXPECT_EQ(platform.beeps, 0);
    EXPECT_EQ(frequencyText(1), dec("100.000"));
    EXPECT_EQ(frequencyText(2), dec("1.000"));
    EXPECT_EQ(biasText(1), "500");
    EXPECT_EQ(biasText(2), "10");
    // As a start, each is checked against its stop again.
    enterBias(0, "900");
    EXPECT_EQ(biasText(1), "900");
    ui.lSwp[0]->setChecked(true);
    enterFrequency(0, "200");
    EXPECT_EQ(frequencyText(1), dec("200.000"));
    EXPECT_EQ(platform.beeps, 3);  // the stops, and the bias step past the span of 0
}

using GermanFrequencyFields = PanelTest;

TEST_F(GermanFrequencyFields, TextsUseTheDecimalComma) {
    useGerman();
    start();
    EXPECT_EQ(frequencyText(0), "10,000");
    enterFrequency(0, "1,5");
    EXPECT_EQ(frequencyText(0), "1,500");
    window.frequency().lFrq_Click(0);
    EXPECT_EQ(frequencyText(0), "0,001500");
    enterFrequency(1, "0.2");  // a point is no decimal separator here
    EXPECT_EQ(frequencyText(1), "0,100000");
}

}  // namespace
}  // namespace lorvane::test
