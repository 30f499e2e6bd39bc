#include "step_helpers.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "number_format.h"

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

struct StepCase {
    double v;
    double step;
    double boundary;
};

// Step and boundary for v; both start at values that the table never produces.
StepCase stepFor(double v, SweepParam sweep) {
    StepCase c{v, -7, -77};
    StepFor(v, sweep, c.step, c.boundary);
    return c;
}

void expectTable(std::initializer_list<StepCase> cases, SweepParam sweep) {
    for (const StepCase& want : cases) {
        const StepCase got = stepFor(want.v, sweep);
        EXPECT_EQ(got.step, want.step) << "v = " << want.v;
        EXPECT_EQ(got.boundary, want.boundary) << "v = " << want.v;
    }
}

TEST(StepFor, PositiveValuesTakeTheUpperEndOfTheirDecade) {
    expectTable({{0, 10, 100},
                 {0.005, 0.01, 0.1},
                 {0.006, 0.01, 0.1},
                 {0.05, 0.01, 0.1},
                 {0.5, 0.1, 1},
                 {0.995, 1, 10},  // the offset lifts 0.995 into the next decade
                 {5, 1, 10},
                 {10, 10, 100},
                 {50, 10, 100},
                 {99.995, 25, 1000},
                 {500, 25, 1000},
                 {5000, 50, 13000},
                 {9999, 50, 13000}},
                SweepParam::Frequency);
}

TEST(StepFor, NegativeValuesTakeTheDecadeEndNearerToZero) {
    expectTable({{-0.005, 0.01, 0},
                 {-0.05, 0.01, 0},
                 {-0.5, 0.1, -0.1},
                 {-5, 1, -1},
                 {-10, 10, -10},
                 {-50, 10, -10},
                 {-950, 20, -100},
                 {-5000, 50, -1000},
                 {-9999, 50, -1000}},
                SweepParam::Bias);
}

TEST(StepFor, MiddleDecadeStepDependsOnTheSweep) {
    expectTable({{500, 20, 1000}, {-500, 20, -100}, {0, 10, 100}}, SweepParam::Bias);
    expectTable({{500, 25, 1000}, {-500, 25, -100}}, SweepParam::Frequency);
}

TEST(StepFor, AtAndBeyondTheTopDecadeTheStepStaysFiftyUpToTheSweepsLimit) {
    const double inf = std::numeric_limits<double>::infinity();
    expectTable({{10000, 50, 13000}, {12950, 50, 13000}, {13000, 50, 13000}, {inf, 50, 13000}},
                SweepParam::Frequency);
    expectTable({{10000, 50, 32000},
                 {31950, 50, 32000},
                 {32000, 50, 32000},
                 {-10000, 50, -10000},
                 {-32000, 50, -10000},
                 {-inf, 50, -10000}},
                SweepParam::Bias);
}

TEST(StepFor, ValuesTooNearZeroLeaveStepAndBoundary) {
    for (double v : {0.004, -0.004, 1e-9, std::nan("")}) {
        for (SweepParam sweep : {SweepParam::Frequency, SweepParam::Bias}) {
            const StepCase got = stepFor(v, sweep);
            EXPECT_EQ(got.step, -7) << "v = " << v;
            EXPECT_EQ(got.boundary, -77) << "v = " << v;
        }
    }
}

TEST(InvNum, ComplementsDigitsAndBlanksTheSign) {
    EXPECT_EQ(InvNum("-000012.500"), " 999987.499");
    EXPECT_EQ(InvNum("000012.500"), "999987.499");
    EXPECT_EQ(InvNum("-000012,500"), " 999987,499");
    EXPECT_EQ(InvNum("0123456789-.,x "), "9876543210 .,x ");
    EXPECT_EQ(InvNum(""), "");
}

TEST(InvNum, KeysSortNumericallyAsPlainText) {
    const QList<double> ordered = {-99999.5, -1234.5, -12.5, -12.25, -1,     -0.001,    -0.0004,
                                   0,        0.0004,  0.5,   12.5,   1234.5, 999999.999};
    QStringList keys;
    for (double x : ordered) {
        const QString key = formatNumber(x, "000000.000");
        keys << (x < 0 ? InvNum(key) : key);
    }
    QStringList shuffled = keys;
    std::reverse(shuffled.begin(), shuffled.end());
    std::swap(shuffled[2], shuffled[9]);
    std::sort(shuffled.begin(), shuffled.end());
    EXPECT_EQ(shuffled, keys);
}

}  // namespace
}  // namespace lorvane
