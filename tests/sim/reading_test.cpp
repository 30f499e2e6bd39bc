// The reading the simulated instrument sends: every display function and the field layouts.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <tuple>

#include "c_locale.h"

#include "sim_test_support.h"

namespace lorvane::sim {
namespace {

using test::instantConfig;
using test::query;

std::string measureAt(DeviceKind device, std::string_view setup) {
    Instrument instrument(instantConfig(device));
    return query(instrument, setup);
}

TEST(ReadingFunctions, EveryDisplayFunctionOnTheDevicesThatShowIt) {
    struct Case {
        DeviceKind device;
        const char* setup;
        const char* reading;
    };
    // clang-format off
    const Case cases[] = {
        // |Z| with the phase in degrees or radians.
        {DeviceKind::Rc, "A1B1FR1.000ENEX", "NZFN+9.9853E+03,NTDN-3.5935E+00,K+01.000000\r\n"},
        {DeviceKind::Rc, "A1B2FR1.000ENEX", "NZFN+9.9853E+03,NTRN-62.718E-03,K+01.000000\r\n"},
        // R with X in series, G with B in parallel.
        {DeviceKind::Rc, "A2B1C2FR1.000ENEX", "NRFN+9.9657E+03,NXFN-625.85E+00,K+01.000000\r\n"},
        {DeviceKind::Rc, "A2B1C3FR1.000ENEX", "NGFN+99.950E-06,NBFN+6.2769E-06,K+01.000000\r\n"},
        // L with Q, D or R; auto picks series below 1 kohm (here 612 ohm).
        {DeviceKind::Rlc, "A3B1C2FR1000.000ENEX", "NLSN+97.467E-06,NQFN+61.240E+00,K+01000.000\r\n"},
        {DeviceKind::Rlc, "A3B2C3FR1000.000ENEX", "NLPN+97.493E-06,NDFN+16.329E-03,K+01000.000\r\n"},
        {DeviceKind::Rlc, "A3B3C1FR1000.000ENEX", "NLSN+97.467E-06,NRFN+10.000E+00,K+01000.000\r\n"},
        // C with Q, D or G; auto picks parallel from 1 kohm up (here 9.99 kohm).
        {DeviceKind::Rc, "A4B1C1FR1.000ENEX", "NCPN+999.00E-12,NQFN+62.800E-03,K+01.000000\r\n"},
        {DeviceKind::Rc, "A4B2C2FR1.000ENEX", "NCSN+254.30E-09,NDFN+15.923E+00,K+01.000000\r\n"},
        {DeviceKind::Rc, "A4B3C3FR1.000ENEX", "NCPN+999.00E-12,NGFN+99.950E-06,K+01.000000\r\n"},
        // Gain with group delay or phase; channel levels in dBm or dBV.
        {DeviceKind::Lowpass, "A5B1N1FR15.915ENEX", "NBAN-3.0102E+00,NGDN+5.0002E-06,K+015.91500\r\n"},
        {DeviceKind::Lowpass, "A5B2N1FR15.915ENEX", "NBAN-3.0102E+00,NTDN-44.999E+00,K+015.91500\r\n"},
        {DeviceKind::Lowpass, "A5B3FR15.915ENEX", "NBAN-3.0102E+00,NTRN-785.38E-03,K+015.91500\r\n"},
        {DeviceKind::Lowpass, "A6B2N1OL0.500ENFR15.915ENEX", "NAMN+6.9897E+00,NTDN-44.999E+00,K+015.91500\r\n"},
        {DeviceKind::Lowpass, "A6B2N2OL0.500ENFR15.915ENEX", "NAVN-6.0206E+00,NTDN-44.999E+00,K+015.91500\r\n"},
        {DeviceKind::Lowpass, "A7B2N2OL0.500ENFR15.915ENEX", "NBVN-9.0308E+00,NTDN-44.999E+00,K+015.91500\r\n"},
        // The bias acts only when switched on.
        {DeviceKind::Varactor, "A4B2C2I1BI-1.500ENFR1.000ENEX", "NCSN+5.6408E-09,NDFN+70.884E-06,K+01.000000\r\n"},
        {DeviceKind::Varactor, "A4B2C2I0BI-1.500ENFR1.000ENEX", "NCSN+10.000E-09,NDFN+125.66E-06,K+01.000000\r\n"},
        // Format F0 leaves out display C; a bias sweep shows the bias there (the R-L-C device
        // does not depend on it, so the displays stay those of 0 V).
        {DeviceKind::Default, "F0EX", "NZFN+96.841E+00,NTDN-84.073E+00\r\n"},
        {DeviceKind::Rlc, "SB0.100ENTB-1.500ENPB1.500ENBI-0.500ENEX", "NZFN+96.841E+00,NTDN-84.073E+00,V-00.50\r\n"},
    };
    // clang-format on
    for (const Case& c : cases) EXPECT_EQ(measureAt(c.device, c.setup), c.reading) << c.setup;
}

TEST(ReadingLayout, BiasFieldHasTwoDecimals) {
    EXPECT_EQ(formatBiasField(1.5), "V+01.50");
    EXPECT_EQ(formatBiasField(-35.0), "V-35.00");
    EXPECT_EQ(formatBiasField(-0.001), "V+00.00");
}

TEST(ReadingLayout, ReadingsAndCommandsKeepTheirPointInADecimalCommaLocale) {
    // The stand-in library runs inside the program, whose C library may write a comma.
    const test::ScopedCLocale german(test::kDecimalCommaLocale);
    ASSERT_TRUE(german.ok()) << test::missingLocaleMessage(test::kDecimalCommaLocale);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(measureAt(DeviceKind::Rlc, "SB0.100ENTB-1.500ENPB1.500ENBI-0.500ENEX"),
              "NZFN+96.841E+00,NTDN-84.073E+00,V-00.50\r\n");
    EXPECT_EQ(measureAt(DeviceKind::Lowpass, "A5B1N1FR15.915ENEX"),
              "NBAN-3.0102E+00,NGDN+5.0002E-06,K+015.91500\r\n");
}

TEST(ReadingLayout, FrequencyFieldHasEightDigitsAtTheResolutionOfItsRange) {
    EXPECT_EQ(formatFrequencyField(0.005), "K+00.005000");
    EXPECT_EQ(formatFrequencyField(1.0), "K+01.000000");
    EXPECT_EQ(formatFrequencyField(9.999999), "K+09.999999");
    EXPECT_EQ(formatFrequencyField(10.0), "K+010.00000");
    EXPECT_EQ(formatFrequencyField(159.155), "K+0159.1550");
    EXPECT_EQ(formatFrequencyField(1000.0), "K+01000.000");
    EXPECT_EQ(formatFrequencyField(13000.0), "K+13000.000");
}

TEST(ReadingLayout, DisplayFieldsKeepFiveSignificantDigitsAndOverflowBeyondTheDisplay) {
    const std::tuple<const char*, double, const char*> cases[] = {
        {"ZF", 2817.0, "NZFN+2.8170E+03"},
        {"TD", -0.03, "NTDN-30.000E-03"},
        {"CP", 0.791e-6, "NCPN+791.00E-09"},
        {"GF", 14.94, "NGFN+14.940E+00"},
        {"CS", 1.2345e-12, "NCSN+1.2345E-12"},
        {"RF", 0.0, "NRFN+0.0000E+00"},
        {"RF", -0.0, "NRFN+0.0000E+00"},
        // Rounding that carries moves the point or the exponent.
        {"ZF", 9.99996, "NZFN+10.000E+00"},
        {"ZF", 99.9996, "NZFN+100.00E+00"},
        {"ZF", 999.996, "NZFN+1.0000E+03"},
        {"QF", INFINITY, "OQFN+999.99E+09"},
        {"CS", -INFINITY, "OCSN-999.99E+09"},
        {"ZF", 1e12, "OZFN+999.99E+09"},
        {"ZF", 999.999e9, "OZFN+999.99E+09"},
        {"ZF", 999.99e9, "NZFN+999.99E+09"},
    };
    for (const auto& [function, value, text] : cases)
        EXPECT_EQ(formatDisplayField(function, value), text) << value;
}

TEST(ReadingNoise, IsOffByDefaultAndRepeatsForTheSameSeed) {
    SimConfig noisy = instantConfig();
    noisy.noiseSeed = 42;
    Instrument first(noisy);
    Instrument second(noisy);
    Instrument quiet(instantConfig());
    const std::string reading = query(first, "EX");
    EXPECT_EQ(query(second, "EX"), reading);
    EXPECT_NE(query(first, "EX"), reading);  // the next point draws new noise
    EXPECT_EQ(query(quiet, "EX"), "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n");
    EXPECT_NEAR(test::fieldValue(reading, 0), 96.841, 0.1);
}

}  // namespace
}  // namespace lorvane::sim
