#include "field_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "number_format.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(RoundHalfEven, BarPositionsRoundHalvesToEvenWithinTheIntRange) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(roundHalfEven(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(roundHalfEven(std::nan("")), 0);
    EXPECT_EQ(frequencyBarPosition(0, 11500), 12);
    EXPECT_EQ(frequencyBarPosition(2, 0), 1);
}

TEST(FrequencyBar, EachStepOfTheBarMovesOneKilohertz) {
    struct Case {
        int index;
        double shownHz;
        int position;
        double hz;
    };
    const Case cases[] = {
        {0, 10500, 11, 11500},  // the bar stands at 10
        {0, 2500, 3, 3500},     // at 2
        {0, 3500, 5, 4500},     // at 4 (halves go to the even neighbour)
        {0, 3500, 3, 2500},     //
        {0, 2600, 4, 3600},     // at 3
        {0, 2600, 2, 1600},     //
        {0, 2999.5, 3, 3000},   // no move; whole hertz
        {2, 500, 2, 1500},      // the step bar is held at 1
        {1, 12999600, 12999, 12998600},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(frequencyFromBar(c.index, c.position, c.shownHz), c.hz)
            << c.shownHz << " Hz to " << c.position;
}

TEST(UnknownUnits, LeaveTextsAndLimitsAlone) {
    EXPECT_EQ(frequencyText(10000, "V"), std::nullopt);
    EXPECT_EQ(biasText(500, "kHz"), std::nullopt);
    EXPECT_EQ(nextFrequencyUnit("mHz"), "mHz");
    EXPECT_EQ(toggledBiasUnit("kV"), "kV");
    EXPECT_EQ(frequencyTypingLimit("GHz"), std::nullopt);
    EXPECT_EQ(biasTypingLimit(0, "A"), std::nullopt);
    EXPECT_DOUBLE_EQ(frequencyFromText("12", "mV"), 0);
    EXPECT_DOUBLE_EQ(biasFromText("12", "Hz"), 0);
}

TEST(TypedValues, AreTheDecimalValuesTypedWhateverTheUnit) {
    // Every bias the fields take, typed in volts, and whole hertz typed in kHz and MHz.
    for (int mv = -32000; mv <= 32000; mv += 10) {
        const QString volts = formatNumber(mv / 1000.0, u"0.000"_s);
        ASSERT_EQ(biasFromText(volts, u"V"_s), mv) << volts.toStdString();
    }
    for (int hz = 5; hz <= 13000000; hz += hz < 20000 ? 1 : 997) {
        const QString kiloHertz = formatNumber(hz / 1e3, u"0.000"_s);
        const QString megaHertz = formatNumber(hz / 1e6, u"0.000000"_s);
        ASSERT_EQ(frequencyFromText(kiloHertz, u"kHz"_s), hz) << kiloHertz.toStdString();
        ASSERT_EQ(frequencyFromText(megaHertz, u"MHz"_s), hz) << megaHertz.toStdString();
    }
}

TEST(FrequencyRange, StepAboveTheUnsignedSpanBecomesATenthKeepingAFraction) {
    const auto fixes = frequencyRangeFixes(2, {22345, 10000, 20000});
    ASSERT_EQ(fixes.size(), 1u);
    EXPECT_EQ(fixes[0].index, 2);
    EXPECT_DOUBLE_EQ(fixes[0].value, 1234.5);
    // No span at all: a tenth of the stop.
    EXPECT_DOUBLE_EQ(frequencyRangeFixes(2, {10000, 10000, 1000})[0].value, 1000);
    // A span of a few hertz, or none below 10 Hz: the step never falls below 1 Hz, the
    // smallest the instrument takes.
    EXPECT_DOUBLE_EQ(frequencyRangeFixes(2, {5, 9, 1000})[0].value, 1);
    EXPECT_DOUBLE_EQ(frequencyRangeFixes(1, {5, 5, 3})[0].value, 1);
    // A step equal to the span stays; the automatic step (0) always does.
    EXPECT_TRUE(frequencyRangeFixes(2, {10000, 11000, 1000}).empty());
    EXPECT_TRUE(frequencyRangeFixes(0, {10000, 10000, 0}).empty());
}

TEST(FrequencyRange, StepCheckUsesTheValuesFromBeforeTheCorrections) {
    // The start went to 20 kHz past a 15 kHz stop: the step is compared with the old span of
    // 5 kHz, not with the new span of 0.
    const auto fixes = frequencyRangeFixes(0, {20000, 15000, 8000});
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_EQ(fixes[0].index, 1);
    EXPECT_DOUBLE_EQ(fixes[0].value, 20000);
    EXPECT_EQ(fixes[1].index, 2);
    EXPECT_DOUBLE_EQ(fixes[1].value, 500);
    EXPECT_TRUE(frequencyRangeFixes(2, {20000, 15000, 1000}).empty());
}

TEST(BiasRange, SignedSpanWholeTenthAndTenMillivoltFloor) {
    EXPECT_DOUBLE_EQ(biasRangeFixes(2, {0, 1000, 2000})[0].value, 100);
    EXPECT_DOUBLE_EQ(biasRangeFixes(2, {0, 130, 200})[0].value, 13);
    EXPECT_DOUBLE_EQ(biasRangeFixes(2, {3000, 3000, 100})[0].value, 300);
    EXPECT_DOUBLE_EQ(biasRangeFixes(2, {-200, -200, 100})[0].value, 10);
    EXPECT_TRUE(biasRangeFixes(0, {0, 500, 500}).empty());
}

TEST(Oscillator, FiveMillivoltGridAboveOneHundred) {
    EXPECT_EQ(oscillatorFix(100), std::nullopt);
    EXPECT_EQ(oscillatorFix(5), std::nullopt);
    EXPECT_EQ(oscillatorFix(100.5)->text, "100");
    EXPECT_EQ(oscillatorFix(1100)->text, "1100");
    EXPECT_FALSE(oscillatorFix(1100)->beep);
    EXPECT_EQ(oscillatorFix(1104.9)->text, "1100");
    EXPECT_TRUE(oscillatorFix(-3)->beep);
}

}  // namespace
}  // namespace lorvane
