#include "plot_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace lorvane::test {
namespace {

const double kNaN = std::nan("");

void expectRange(std::optional<AxisRange> range, double low, double high, bool log) {
    ASSERT_EQ(range.has_value(), low != high);  // equal ends: no range
    if (!range) return;
    EXPECT_NEAR(range->low, low, 1e-9 * std::fabs(low));
    EXPECT_NEAR(range->high, high, 1e-9 * std::fabs(high));
    EXPECT_EQ(range->log, log);
}

TEST(PlotGeometry, DataRangesShowEveryValueWithRoomToSpareZoomAndPan) {
    // 5 % of the span on each side; one point: a tenth of it on each side, half a decade on a
    // log axis, 1 around zero; values that are no numbers (or not positive for log) left out.
    const std::tuple<std::vector<double>, bool, double, double> ranges[] = {
        {{100, 300, 200}, false, 90, 310},
        {{-5, 5, -1}, false, -5.5, 5.5},
        {{10}, false, 9, 11},
        {{-20}, false, -22, -18},
        {{0}, false, -1, 1},
        {{kNaN, 1, 2}, false, 0.95, 2.05},
        {{1, 100}, true, std::pow(10, -0.1), std::pow(10, 2.1)},
        {{100}, true, std::pow(10, 1.5), std::pow(10, 2.5)},
        {{-1, 0, 10, 1000}, true, std::pow(10, 0.9), std::pow(10, 3.1)},
        {{-1, 0}, true, 0, 0},
        {{kNaN}, false, 0, 0},
        {{}, false, 0, 0},
    };
    for (const auto& [values, log, low, high] : ranges) {
        SCOPED_TRACE(testing::PrintToString(values));
        expectRange(dataRange(values, log), low, high, log);
    }
    // Too close together for a padded range, yet shown.
    const std::optional<AxisRange> tiny = dataRange(std::vector<double>{5e-324}, false);
    EXPECT_TRUE(tiny && tiny->low < 5e-324 && tiny->high > 5e-324);

    // Zoom (factor) about a fraction of the range, or a pan (factor 0) by it; beyond what
    // doubles tell apart, nothing changes.
    const std::tuple<AxisRange, double, double, double, double> moves[] = {
        {{0, 100, false}, 0.25, 0.5, 12.5, 62.5},
        {{0, 100, false}, 1, 2, -100, 100},
        {{1, 10000, true}, 0.5, 0.5, 10, 1000},
        {{0, 100, false}, 0.1, 0, 10, 110},
        {{10, 10000, true}, -0.25, 0, std::pow(10, 0.25), std::pow(10, 3.25)},
        {{1e6, 1e6 + 1, false}, 0.5, 1e-12, 1e6, 1e6 + 1},
        {{1, 1e300, true}, 0.5, 1e3, 1, 1e300},
    };
    for (const auto& [range, fraction, factor, low, high] : moves) {
        SCOPED_TRACE(testing::Message() << range.low << " " << fraction << " " << factor);
        expectRange(factor == 0 ? panRange(range, fraction) : zoomRange(range, fraction, factor),
                    low, high, range.log);
    }
}

TEST(PlotGeometry, VerticalAxesGrowUpwardsAndLogAxesSpaceByDecades) {
    // 100 pixel rows from row 10: 0 at the bottom edge, 100 at the top one.
    const PlotAxis up({0, 100, false}, 10, 100, true);
    const PlotAxis across({1, 1000, true}, 0, 300, false);
    EXPECT_EQ(up.pixelOf(75), 35);
    EXPECT_DOUBLE_EQ(up.toValue(35), 75);
    EXPECT_EQ(up.pixelOf(1e300), -1000000);  // far away without overflowing an int
    EXPECT_EQ(across.pixelOf(10), 100);
    EXPECT_NEAR(across.toValue(150), std::sqrt(1000), 1e-9);
    EXPECT_FALSE(across.pixelOf(0) || across.pixelOf(kNaN));
    const PlotScale scale{across, up, up};
    EXPECT_EQ(scale.pixelOf({100, 75}), QPoint(200, 35));
    EXPECT_FALSE(scale.pixelOf({-1, 75}));
    EXPECT_NEAR(scale.pointAt({200, 35}).x(), 100, 1e-9);
}

}  // namespace
}  // namespace lorvane::test
