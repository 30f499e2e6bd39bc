// Sweep stepping: manual steps, the automatic sweep and its trigger rule, logarithmic sweeps.
#include <gtest/gtest.h>

#include <vector>

#include "sim_test_support.h"

namespace lorvane::sim {
namespace {

using test::instantConfig;

// Field C of the reading each message brings (messages without a trigger give "").
class SweepTest : public ::testing::Test {
  protected:
    std::string fieldC(std::string_view message) {
        const std::string reading = test::query(instrument_, message);
        const std::size_t comma = reading.rfind(',');
        return comma == std::string::npos ? reading
                                          : reading.substr(comma + 1, reading.size() - comma - 3);
    }
    std::vector<std::string> fieldsC(const std::vector<std::string_view>& messages) {
        std::vector<std::string> fields;
        for (std::string_view message : messages) fields.push_back(fieldC(message));
        return fields;
    }

    Instrument instrument_{instantConfig()};
};

using Fields = std::vector<std::string>;

TEST_F(SweepTest, ManualStepsStayBetweenStartAndStop) {
    instrument_.receive("SF1.000ENTF1.000ENPF2.500EN\rFR1.000EN\rW0\r", {});
    EXPECT_EQ(fieldsC({"EX", "W2EX", "W2EX", "W2EX", "W4EX", "W4EX", "W4EX"}),
              (Fields{"K+01.000000", "K+02.000000", "K+02.500000", "K+02.500000", "K+01.500000",
                      "K+01.000000", "K+01.000000"}));
}

TEST_F(SweepTest, ManualBiasStepsLandExactlyOnTheirValues) {
    instrument_.receive("SB0.100ENTB-1.500ENPB1.500EN\rBI-1.500EN\rW0", {});
    for (int i = 0; i < 15; ++i) instrument_.receive("W2", {});
    EXPECT_EQ(fieldC("EX"), "V+00.00");
    for (int i = 0; i < 15; ++i) instrument_.receive("W2", {});
    EXPECT_EQ(fieldC("EX"), "V+01.50");
    EXPECT_EQ(fieldC("W2EX"), "V+01.50");
}

TEST_F(SweepTest, TheQuantityWhoseRangeCameLastIsSwept) {
    instrument_.receive("FR1.000ENBI0.000EN\rSB0.500ENTB0.000ENPB2.000EN\rW0W2", {});
    EXPECT_EQ(fieldC("EX"), "V+00.50");
    instrument_.receive("SF1.000ENTF1.000ENPF5.000EN\rW2", {});
    EXPECT_EQ(fieldC("EX"), "K+02.000000");
    EXPECT_DOUBLE_EQ(instrument_.state().biasVolts, 0.5);
}

TEST_F(SweepTest, AutomaticSweepAdvancesOnTriggersOnALineOfTheirOwn) {
    instrument_.receive("SF1.000ENTF1.000ENPF3.000EN\rFR7.000EN", {});
    // The start measures the start point; the first lone trigger measures it again, each
    // later one steps first; the sweep stays at the stop.
    EXPECT_EQ(fieldsC({"W1W2EX", "EX", "EX", "EX", "EX"}),
              (Fields{"K+01.000000", "K+01.000000", "K+02.000000", "K+03.000000", "K+03.000000"}));
}

TEST_F(SweepTest, ATriggerBehindOtherCodesMeasuresWithoutAdvancing) {
    instrument_.receive("SF1.000ENTF1.000ENPF5.000EN\rW1W2EX\rEX", {});
    EXPECT_EQ(fieldsC({"EX", "A1B1EX", "EX"}),
              (Fields{"K+02.000000", "K+02.000000", "K+03.000000"}));
}

TEST_F(SweepTest, AbortStopsTheSweepWhereItStands) {
    instrument_.receive("SF1.000ENTF1.000ENPF5.000EN\rW1W2EX\rEX\rEX", {});
    EXPECT_EQ(fieldsC({"ABEX", "EX", "EX"}), (Fields{"K+02.000000", "K+02.000000", "K+02.000000"}));
}

TEST_F(SweepTest, PauseHoldsTheSweepAndStepUpResumesIt) {
    instrument_.receive("SF1.000ENTF1.000ENPF5.000EN\rW1W2EX\rEX\rEX\rW3", {});
    EXPECT_EQ(fieldsC({"EX", "EX", "W2", "EX"}),
              (Fields{"K+02.000000", "K+02.000000", "", "K+03.000000"}));
}

TEST_F(SweepTest, StepDownStartsAnAutomaticSweepFromTheStop) {
    instrument_.receive("SB0.500ENTB-1.000ENPB1.000EN\rW1W4EX", {});
    EXPECT_EQ(fieldsC({"EX", "EX", "EX"}), (Fields{"V+01.00", "V+00.50", "V+00.00"}));
}

TEST_F(SweepTest, DecadeChangeRestartsTheSweepAtTheNewStart) {
    // The sequence a controller sends when its step grows tenfold at 10 kHz.
    instrument_.receive("SF1.000ENTF9.000ENPF100.000EN\rW1W2EX\rEX", {});
    EXPECT_EQ(fieldC("EX"), "K+010.00000");
    instrument_.receive("ABEX\r", {});
    instrument_.receive("SF10.000ENTF20.000ENPF100.000EN\r", {});
    EXPECT_EQ(fieldsC({"W1W2EX", "EX", "EX"}),
              (Fields{"K+020.00000", "K+020.00000", "K+030.00000"}));
}

TEST_F(SweepTest, LogSweepHasTenPointsPerDecade) {
    instrument_.receive("G1\rSF0.000ENTF1.000ENPF15.000EN\rW1W2EX", {});
    const Fields points = fieldsC(
        {"EX", "EX", "EX", "EX", "EX", "EX", "EX", "EX", "EX", "EX", "EX", "EX", "EX", "EX"});
    EXPECT_EQ(points,
              (Fields{"K+01.000000", "K+01.258925", "K+01.584893", "K+01.995262", "K+02.511886",
                      "K+03.162278", "K+03.981072", "K+05.011872", "K+06.309573", "K+07.943282",
                      "K+010.00000", "K+012.58925", "K+015.00000", "K+015.00000"}));
}

TEST_F(SweepTest, LogSweepStepsFromOffGridStartsToTheNextGridPoint) {
    instrument_.receive("G1W0\rSF0.000ENTF2.200ENPF100.000EN\rFR2.200EN", {});
    EXPECT_EQ(fieldsC({"W2EX", "W4EX", "W4EX"}),
              (Fields{"K+02.511886", "K+02.200000", "K+02.200000"}));
}

}  // namespace
}  // namespace lorvane::sim
