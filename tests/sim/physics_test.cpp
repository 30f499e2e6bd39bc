// The devices behave like the networks they stand for.
#include <gtest/gtest.h>

#include <cstdio>

#include "sim_test_support.h"

namespace lorvane::sim {
namespace {

using test::fieldValue;
using test::instantConfig;
using test::query;

std::string frequencyCommand(double khz) {
    char text[32];
    std::snprintf(text, sizeof text, "FR%.3fENEX", khz);
    return text;
}

std::string biasCommand(double volts) {
    char text[32];
    std::snprintf(text, sizeof text, "BI%.3fENEX", volts);
    return text;
}

TEST(Physics, SeriesRlcHasItsImpedanceMinimumAtResonance) {
    Instrument instrument(instantConfig(DeviceKind::Rlc));
    instrument.receive("A1B1C2", {});
    double lowestKhz = 0.0;
    double lowest = 1e30;
    for (double khz = 140.0; khz <= 180.0; khz += 0.5) {
        const double magnitude = fieldValue(query(instrument, frequencyCommand(khz)), 0);
        if (magnitude < lowest) lowest = magnitude, lowestKhz = khz;
    }
    EXPECT_DOUBLE_EQ(lowestKhz, 159.0);
    EXPECT_NEAR(lowest, 10.0, 0.1);  // only the resistance is left
    EXPECT_LT(fieldValue(query(instrument, frequencyCommand(150.0)), 1), -5.0);  // capacitive
    EXPECT_GT(fieldValue(query(instrument, frequencyCommand(170.0)), 1), 5.0);   // inductive
}

TEST(Physics, VaractorCapacitanceFallsWithTheBiasOnEitherSide) {
    Instrument instrument(instantConfig(DeviceKind::Varactor));
    instrument.receive("A4B1C2I1FR1.000EN", {});
    double previous = 0.0;
    for (double volts = -10.0; volts <= 0.0; volts += 0.5) {
        const double farads = fieldValue(query(instrument, biasCommand(volts)), 0);
        EXPECT_GT(farads, previous) << volts << " V";
        previous = farads;
    }
    EXPECT_NEAR(previous, 10e-9, 1e-12);
    for (double volts = 0.5; volts <= 10.0; volts += 0.5) {
        const double farads = fieldValue(query(instrument, biasCommand(volts)), 0);
        EXPECT_LT(farads, previous) << volts << " V";
        previous = farads;
    }
    EXPECT_NEAR(fieldValue(query(instrument, biasCommand(-10.0)), 0), previous, 1e-13);
}

TEST(Physics, LowpassIsThreeDecibelsDownAtItsCorner) {
    Instrument instrument(instantConfig(DeviceKind::Lowpass));
    instrument.receive("A5B2", {});
    const std::string corner = query(instrument, frequencyCommand(15.915));
    EXPECT_NEAR(fieldValue(corner, 0), -3.0103, 0.001);
    EXPECT_NEAR(fieldValue(corner, 1), -45.0, 0.01);
    EXPECT_NEAR(fieldValue(query(instrument, frequencyCommand(0.01)), 0), 0.0, 0.001);
    // A decade above the corner the gain falls by 20 dB per decade.
    const double gain1 = fieldValue(query(instrument, frequencyCommand(1000.0)), 0);
    const double gain2 = fieldValue(query(instrument, frequencyCommand(10000.0)), 0);
    EXPECT_NEAR(gain1 - gain2, 20.0, 0.01);
}

TEST(Physics, LowpassGroupDelayIsRcAtLowFrequencies) {
    Instrument instrument(instantConfig(DeviceKind::Lowpass));
    instrument.receive("A5B1", {});
    EXPECT_NEAR(fieldValue(query(instrument, frequencyCommand(0.1)), 1), 10e-6, 1e-9);
    EXPECT_NEAR(fieldValue(query(instrument, frequencyCommand(15.915)), 1), 5e-6, 1e-9);
}

TEST(Physics, DefaultDeviceGivesACurveInEveryMode) {
    Instrument instrument(instantConfig());
    // Impedance: the R-L-C network with its resonance near 159 kHz.
    instrument.receive("A1B1C2", {});
    EXPECT_NEAR(fieldValue(query(instrument, frequencyCommand(159.155)), 0), 10.0, 0.01);
    // Capacitance: its capacitor depends on the bias.
    instrument.receive("A4B2C2I1", {});
    const double unbiased = fieldValue(query(instrument, "FR1.000ENBI0.000ENEX"), 0);
    const double biased = fieldValue(query(instrument, "BI5.000ENEX"), 0);
    EXPECT_NEAR(unbiased, 10e-9, 0.02e-9);
    EXPECT_LT(biased, unbiased * 0.5);
    // Gain and delay: the low-pass network.
    instrument.receive("A5B1", {});
    const std::string corner = query(instrument, frequencyCommand(15.915));
    EXPECT_NEAR(fieldValue(corner, 0), -3.0103, 0.001);
    EXPECT_NEAR(fieldValue(corner, 1), 5e-6, 1e-9);
}

TEST(Physics, ABiasSweepAppliesItsBiasEvenWithBiasOff) {
    Instrument instrument(instantConfig(DeviceKind::Varactor));
    instrument.receive("A4B2C2I0FR1.000ENBI2.000EN", {});
    const double spot = fieldValue(query(instrument, "EX"), 0);
    instrument.receive("SB0.500ENTB0.000ENPB2.000EN", {});
    const double swept = fieldValue(query(instrument, "BI2.000ENEX"), 0);
    EXPECT_NEAR(spot, 10e-9, 0.02e-9);  // a spot bias under I0 stays off
    EXPECT_LT(swept, spot * 0.6);       // 10 nF / sqrt(1 + 2 / 0.7) = 5.1 nF
}

TEST(Physics, TwoTerminalDevicesInTheGainSetUpFormADivider) {
    Instrument instrument(instantConfig(DeviceKind::Rlc));
    instrument.receive("A5B2", {});
    // At resonance only the 10 ohm remain in series with the 50 ohm input: 20 log(50/60).
    EXPECT_NEAR(fieldValue(query(instrument, frequencyCommand(159.155)), 0), -1.5836, 0.001);
    EXPECT_LT(fieldValue(query(instrument, frequencyCommand(10.0)), 0), -30.0);
}

}  // namespace
}  // namespace lorvane::sim
