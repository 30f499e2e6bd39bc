#include "step_helpers.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <limits>
#include <tuple>

namespace lorvane {
namespace {

TEST(NumCmd, WritesThreeDecimalsRoundedHalfAwayFromZeroInEveryLocale) {
    const QLocale saved;
    for (const QLocale& locale : {QLocale(QLocale::German), QLocale::c()}) {
        QLocale::setDefault(locale);
        for (const auto& [value, terminated, want] : {
                 std::tuple{0.5, true, "0.500EN"},
                 {1234.5, true, "1234.500EN"},
                 {-32.0, false, "-32.000"},
                 {-0.0004, true, "-0.000EN"},
                 {0.0005, true, "0.001EN"},
                 {-1.0005, true, "-1.001EN"},
                 {9.9995, true, "10.000EN"},
                 {1e15, true, "1000000000000000.000EN"},
                 {std::nan(""), true, "NaNEN"},
                 {-std::numeric_limits<double>::infinity(), true, "-InfEN"},
             })
            EXPECT_EQ(NumCmd(value, terminated), want)
                << value << " in " << locale.name().toStdString();
    }
    QLocale::setDefault(saved);
}

TEST(Log10, AddsTheOffsetToTheMagnitude) {
    EXPECT_NEAR(Log10(0), -2.30103, 1e-5);
    EXPECT_NEAR(Log10(10), 1.000217, 1e-6);
    EXPECT_EQ(Log10(-10), Log10(10));
    EXPECT_NEAR(Log10(99.995), 2.0, 1e-12);
}

TEST(StepFor, EachDecadeHasItsStepAndTheBoundaryWhereItEnds) {
    constexpr SweepParam F = SweepParam::Frequency, B = SweepParam::Bias;
    const double inf = std::numeric_limits<double>::infinity();
    // Positive values take the upper end of their decade (the offset lifts 0.995 into the next),
    // negative values the end nearer to zero; the middle decade's step depends on the sweep; at
    // and beyond the top decade the step stays 50 up to the sweep's limit; values too near zero
    // leave step and boundary alone (-7 and -77 here).
    const struct {
        SweepParam sweep;
        double v, step, boundary;
    } cases[] = {{F, 0, 10, 100},         {F, 0.005, 0.01, 0.1},
                 {F, 0.006, 0.01, 0.1},   {F, 0.05, 0.01, 0.1},
                 {F, 0.5, 0.1, 1},        {F, 0.995, 1, 10},
                 {F, 5, 1, 10},           {F, 10, 10, 100},
                 {F, 50, 10, 100},        {F, 99.995, 25, 1000},
                 {F, 500, 25, 1000},      {F, 5000, 50, 13000},
                 {F, 9999, 50, 13000},    {B, -0.005, 0.01, 0},
                 {B, -0.05, 0.01, 0},     {B, -0.5, 0.1, -0.1},
                 {B, -5, 1, -1},          {B, -10, 10, -10},
                 {B, -50, 10, -10},       {B, -950, 20, -100},
                 {B, -5000, 50, -1000},   {B, -9999, 50, -1000},
                 {B, 500, 20, 1000},      {B, -500, 20, -100},
                 {B, 0, 10, 100},         {F, -500, 25, -100},
                 {F, 10000, 50, 13000},   {F, 12950, 50, 13000},
                 {F, 13000, 50, 13000},   {F, inf, 50, 13000},
                 {B, 10000, 50, 32000},   {B, 31950, 50, 32000},
                 {B, 32000, 50, 32000},   {B, -10000, 50, -10000},
                 {B, -32000, 50, -10000}, {B, -inf, 50, -10000},
                 {F, 0.004, -7, -77},     {B, -0.004, -7, -77},
                 {B, 1e-9, -7, -77},      {F, std::nan(""), -7, -77}};
    for (const auto& c : cases) {
        double step = -7, boundary = -77;
        StepFor(c.v, c.sweep, step, boundary);
        EXPECT_EQ(step, c.step) << c.v << (c.sweep == B ? " mV" : " kHz");
        EXPECT_EQ(boundary, c.boundary) << c.v << (c.sweep == B ? " mV" : " kHz");
    }
}

TEST(InvNum, ComplementsDigitsAndBlanksTheSign) {
    EXPECT_EQ(InvNum("-000012.500"), " 999987.499");
    EXPECT_EQ(InvNum("-000012,500"), " 999987,499");
    EXPECT_EQ(InvNum("0123456789-.,x "), "9876543210 .,x ");
    EXPECT_EQ(InvNum(""), "");
}

}  // namespace
}  // namespace lorvane
