#include "plot_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace lorvane::test {
namespace {

const double kNaN = std::nan("");

struct RangeCase {
    const char* what;
    std::vector<double> values;
    bool log;
    double low;
    double high;
};

TEST(PlotGeometry, DataRangesShowEveryValueWithRoomToSpare) {
    const RangeCase cases[] = {
        {"5 % of the span on each side", {100, 300, 200}, false, 90, 310},
        {"negative values", {-5, 5, -1}, false, -5.5, 5.5},
        {"one point: a tenth of it on each side", {10}, false, 9, 11},
        {"one negative point", {-20}, false, -22, -18},
        {"a lone zero", {0}, false, -1, 1},
        {"values that are no numbers are left out", {kNaN, 1, 2}, false, 0.95, 2.05},
        {"log: 5 % of the decades", {1, 100}, true, std::pow(10, -0.1), std::pow(10, 2.1)},
        {"log, one point: half a decade", {100}, true, std::pow(10, 1.5), std::pow(10, 2.5)},
        {"log leaves out values that are not positive",
         {-1, 0, 10, 1000},
         true,
         std::pow(10, 0.9),
         std::pow(10, 3.1)},
    };
    for (const RangeCase& c : cases) {
        const std::optional<AxisRange> range = dataRange(c.values, c.log);
        ASSERT_TRUE(range) << c.what;
        EXPECT_NEAR(range->low, c.low, 1e-9 * std::fabs(c.low)) << c.what;
        EXPECT_NEAR(range->high, c.high, 1e-9 * std::fabs(c.high)) << c.what;
        EXPECT_EQ(range->log, c.log) << c.what;
    }
    EXPECT_FALSE(dataRange(std::vector<double>{-1, 0}, true));
    EXPECT_FALSE(dataRange(std::vector<double>{kNaN}, false));
    EXPECT_FALSE(dataRange(std::vector<double>{}, false));
    // Too close together for a padded range, yet shown.
    const std::optional<AxisRange> tiny = dataRange(std::vector<double>{5e-324}, false);
    ASSERT_TRUE(tiny);
    EXPECT_LT(tiny->low, 5e-324);
    EXPECT_GT(tiny->high, 5e-324);
}

struct ZoomCase {
    const char* what;
    AxisRange range;
    double fraction;
    double factor;  // 0: a pan by `fraction`
    double low;
    double high;
};

TEST(PlotGeometry, ZoomKeepsThePointUnderTheCursorAndPanMovesTheRange) {
    const ZoomCase cases[] = {
        {"zoom in at a quarter", {0, 100, false}, 0.25, 0.5, 12.5, 62.5},
        {"zoom out at the high end", {0, 100, false}, 1, 2, -100, 100},
        {"log zoom in the middle", {1, 10000, true}, 0.5, 0.5, 10, 1000},
        {"pan up by a tenth", {0, 100, false}, 0.1, 0, 10, 110},
        {"log pan down by a quarter",
         {10, 10000, true},
         -0.25,
         0,
         std::pow(10, 0.25),
         std::pow(10, 3.25)},
        {"a zoom beyond what doubles tell apart changes nothing",
         {1e6, 1e6 + 1, false},
         0.5,
         1e-12,
         1e6,
         1e6 + 1},
        {"a zoom out beyond doubles changes nothing", {1, 1e300, true}, 0.5, 1e3, 1, 1e300},
    };
    for (const ZoomCase& c : cases) {
        const AxisRange range = c.factor == 0 ? panRange(c.range, c.fraction)
                                              : zoomRange(c.range, c.fraction, c.factor);
        EXPECT_NEAR(range.low, c.low, 1e-9 * std::fabs(c.low)) << c.what;
        EXPECT_NEAR(range.high, c.high, 1e-9 * std::fabs(c.high)) << c.what;
        EXPECT_EQ(range.log, c.range.log) << c.what;
    }
}

TEST(PlotGeometry, VerticalAxesGrowUpwardsAndLogAxesSpaceByDecades) {
    // 100 pixel rows from row 10: 0 at the bottom edge, 100 at the top one.
    const PlotAxis up({0, 100, false}, 10, 100, true);
    EXPECT_EQ(up.pixelOf(100), 10);
    EXPECT_EQ(up.pixelOf(75), 35);
    EXPECT_EQ(up.pixelOf(0), 110);
    EXPECT_DOUBLE_EQ(up.toValue(35), 75);
    EXPECT_DOUBLE_EQ(up.fractionAt(35), 0.75);

    const PlotAxis across({1, 1000, true}, 0, 300, false);
    EXPECT_EQ(across.pixelOf(10), 100);
    EXPECT_EQ(across.pixelOf(100), 200);
    EXPECT_NEAR(across.toValue(150), std::sqrt(1000), 1e-9);
    EXPECT_FALSE(across.pixelOf(0));
    EXPECT_FALSE(across.pixelOf(kNaN));
    // Far-away points stay far away without overflowing an int.
    EXPECT_EQ(up.pixelOf(1e300), -1000000);

    const PlotScale scale{across, up, up};
    EXPECT_EQ(scale.pixelOf({100, 75}), QPoint(200, 35));
    EXPECT_FALSE(scale.pixelOf({-1, 75}));
    const QPointF back = scale.pointAt({200, 35});
    EXPECT_NEAR(back.x(), 100, 1e-9);
    EXPECT_DOUBLE_EQ(back.y(), 75);
}

}  // namespace
}  // namespace lorvane::test
