#include "plot_geometry.h"

#include <gtest/gtest.h>

namespace lorvane::test {
namespace {

TEST(PlotGeometry, GridStepIsAMultipleOfTenOrATenthOfTheSpan) {
    EXPECT_DOUBLE_EQ(gridStep(95), 10);
    EXPECT_DOUBLE_EQ(gridStep(100), 20);
    EXPECT_DOUBLE_EQ(gridStep(999), 100);
    EXPECT_DOUBLE_EQ(gridStep(1000), 110);
    EXPECT_DOUBLE_EQ(gridStep(5), 0.5);
    EXPECT_DOUBLE_EQ(gridStep(0), 0);
}

TEST(PlotGeometry, XRangeFromOneToAThousand) {
    const PlotFrame frame = plotFrame(1, 1000, 100, 200);
    EXPECT_DOUBLE_EQ(frame.xstep, 100);
    EXPECT_DOUBLE_EQ(frame.left, -24);
    EXPECT_DOUBLE_EQ(frame.right, 1175);
    EXPECT_DOUBLE_EQ(frame.width, 1199);
    const ScaleMarker marker = scaleMarker(frame);
    EXPECT_DOUBLE_EQ(marker.gx, 1000);
    EXPECT_DOUBLE_EQ(marker.gx2, 1100);
}

TEST(PlotGeometry, YRangeFromHundredToTwoHundredShowsOnlyItsOwnGridLines) {
    const PlotFrame frame = plotFrame(1, 1000, 100, 200);
    EXPECT_DOUBLE_EQ(frame.ystep, 20);
    EXPECT_DOUBLE_EQ(frame.ylow, 95);
    EXPECT_DOUBLE_EQ(frame.yhigh, 205);
    EXPECT_DOUBLE_EQ(frame.height, 110);
    const ScaleMarker marker = scaleMarker(frame);
    EXPECT_DOUBLE_EQ(marker.gy, 180);
    EXPECT_DOUBLE_EQ(marker.gy2, 200);

    // One pixel per unit: 95 at the top edge, 205 just below the bottom one.
    const std::optional<PlotScale> scale = plotScale(frame, 1199, 110);
    ASSERT_TRUE(scale);
    // The lines at 100, 120, ..., 200; none from 0 to 80, and no zero line in the box.
    EXPECT_EQ(gridLinePixels(frame.ylow, frame.yhigh, frame.ystep, scale->y),
              (std::vector<int>{5, 25, 45, 65, 85, 105}));
    EXPECT_EQ(scale->y.pixelOf(0), -95);
}

TEST(PlotGeometry, EqualValuesGetWidthTwoOrHeightOneAndStepOne) {
    const PlotFrame frame = plotFrame(10, 10, 50, 50);
    EXPECT_DOUBLE_EQ(frame.left, 10);
    EXPECT_DOUBLE_EQ(frame.right, 10);
    EXPECT_DOUBLE_EQ(frame.width, 2);
    EXPECT_DOUBLE_EQ(frame.xstep, 1);
    EXPECT_DOUBLE_EQ(frame.ylow, 50);
    EXPECT_DOUBLE_EQ(frame.yhigh, 50);
    EXPECT_DOUBLE_EQ(frame.height, 1);
    EXPECT_DOUBLE_EQ(frame.ystep, 1);
}

TEST(PlotGeometry, ValuesBelowOneInMagnitudeGetOneStepBelowAndTwoAbove) {
    const PlotFrame frame = plotFrame(-0.5, 0.5, -0.2, 0.8);
    EXPECT_DOUBLE_EQ(frame.xstep, 0.1);
    EXPECT_DOUBLE_EQ(frame.left, -0.6);
    EXPECT_DOUBLE_EQ(frame.right, 0.7);
    EXPECT_DOUBLE_EQ(frame.ystep, 0.1);
    EXPECT_DOUBLE_EQ(frame.ylow, -0.3);
    EXPECT_DOUBLE_EQ(frame.yhigh, 1.0);
}

TEST(PlotGeometry, SpotMeasurementRunsTheXAxisBackwardsWithFiniteWork) {
    // One point at 10 kHz with a step of 5: the x range ends one step below its start.
    const PlotFrame frame = plotFrame(10, 5, 7, 7);
    EXPECT_DOUBLE_EQ(frame.xstep, -0.5);
    EXPECT_DOUBLE_EQ(frame.left, 10);
    EXPECT_DOUBLE_EQ(frame.right, 4);
    EXPECT_DOUBLE_EQ(frame.width, -6);
    const std::optional<PlotScale> scale = plotScale(frame, 300, 100);
    ASSERT_TRUE(scale);
    // 10 at the left edge, 4 just beyond the right one, a line every half unit.
    EXPECT_EQ(gridLinePixels(frame.left, frame.right, frame.xstep, scale->x),
              (std::vector<int>{0, 25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 275}));
}

TEST(PlotGeometry, PixelsAndPlotUnitsMapBothWays) {
    const std::optional<PlotScale> scale = plotScale(plotFrame(1, 1000, 100, 200), 1199, 110);
    ASSERT_TRUE(scale);
    EXPECT_EQ(scale->pixelOf({1000, 150}), QPoint(1024, 55));
    EXPECT_EQ(scale->pixelOf({-24, 95}), QPoint(0, 0));
    EXPECT_EQ(scale->pointAt({1024, 55}), QPointF(1000, 150));
    EXPECT_EQ(scale->pointAt({0, 0}), QPointF(-24, 95));
    EXPECT_FALSE(scale->pixelOf({std::nan(""), 150}));
    // Far-away points stay far away without overflowing an int.
    EXPECT_EQ(scale->pixelOf({1e300, -1e300}), QPoint(1000000, -1000000));
}

TEST(PlotGeometry, NoScaleForABoxWithoutAreaOrValuesBeyondSinglePrecision) {
    EXPECT_FALSE(plotScale(plotFrame(1, 1000, 100, 200), 0, 110));
    EXPECT_FALSE(plotScale(plotFrame(1, 1000, 0, 1e300), 400, 300));
    EXPECT_FALSE(plotScale(plotFrame(std::nan(""), 1000, 0, 1), 400, 300));
}

TEST(PlotGeometry, NearlyEqualReadingsFarFromZeroDrawABoundedNumberOfLines) {
    const PlotFrame frame = plotFrame(1, 10, 999.99999, 1000.00001);
    EXPECT_NEAR(frame.ystep, 0.000002, 1e-12);
    EXPECT_DOUBLE_EQ(frame.ylow, 999);
    EXPECT_DOUBLE_EQ(frame.yhigh, 1000);
    const std::optional<PlotScale> scale = plotScale(frame, 396, 276);
    ASSERT_TRUE(scale);
    // Half a million lines in 276 pixel rows: every row has one, each drawn once.
    const std::vector<int> lines = gridLinePixels(frame.ylow, frame.yhigh, frame.ystep, scale->y);
    ASSERT_EQ(lines.size(), 276u);
    EXPECT_EQ(lines.front(), 0);
    EXPECT_EQ(lines.back(), 275);
}

TEST(PlotGeometry, GridLinesOnlyInsideTheBoxAndNoneForAnUnusableStep) {
    const PlotAxis axis{95, 110, 110};
    // A range reaching far beyond the box costs no more than the box.
    EXPECT_EQ(gridLinePixels(-1e12, 1e12, 20, axis), (std::vector<int>{5, 25, 45, 65, 85, 105}));
    EXPECT_EQ(gridLinePixels(95, 205, -20, axis), (std::vector<int>{5, 25, 45, 65, 85, 105}));
    EXPECT_TRUE(gridLinePixels(95, 205, 0, axis).empty());
    EXPECT_TRUE(gridLinePixels(95, 205, std::nan(""), axis).empty());
    EXPECT_TRUE(gridLinePixels(95, 205, 1e308 * 10, axis).empty());
    EXPECT_TRUE(gridLinePixels(300, 400, 20, axis).empty());
    // Steps too fine for doubles to count one by one this far from 0 still end.
    const double far = 1099511627776;  // 2^40, exact in single precision
    EXPECT_LE(gridLinePixels(far, far + 0.004, 2e-5, PlotAxis{float(far), 0.004f, 400}).size(),
              400u);
}

TEST(PlotGeometry, LabelTextsArePlainDecimalsWithABlankForTheSign) {
    EXPECT_EQ(markerLabel("Freq", 10), "Freq= 10");
    EXPECT_EQ(markerLabel("Freq", 0.5), "Freq= .5");
    EXPECT_EQ(markerLabel("Z", 20), "Z= 20");
    EXPECT_EQ(plainNumber(-2.5), "-2.5");
    EXPECT_EQ(plainNumber(-0.25), "-.25");
    EXPECT_EQ(plainNumber(0), " 0");
    EXPECT_EQ(plainNumber(0.000002), " .000002");
    EXPECT_EQ(plainNumber(100010), " 100010");
    EXPECT_EQ(plainNumber(1e20), " 100000000000000000000");
    EXPECT_EQ(plainNumber(0.1 + 0.2), " .3");
    EXPECT_EQ(plainNumber(123456.789), " 123456.789");
    EXPECT_EQ(plainNumber(1.0 / 3), " .333333333333333");
}

TEST(PlotGeometry, LabelSizesRoundToWholeUnitsWithoutLimit) {
    const PlotAxis axis{0, 110, 220};
    EXPECT_DOUBLE_EQ(labelUnits(10, axis), 5);
    EXPECT_DOUBLE_EQ(labelUnits(13, axis), 6);  // 6.5: halves go to even
    EXPECT_DOUBLE_EQ(labelUnits(15, axis), 8);  // 7.5
    // A y range of about a million Ohm over 276 pixels: far beyond 16 bits.
    EXPECT_DOUBLE_EQ(labelUnits(10, PlotAxis{0, 2e6, 276}), 72464);
}

TEST(PlotGeometry, LabelsSitBesideTheMarkerLines) {
    const ScaleMarker marker{1000, 1100, 180, 200};
    // Right end at the middle of the horizontal line, a quarter height above it.
    EXPECT_EQ(horizontalLabelAt(marker, 100, 30, 8), QPointF(1020, 170));
    // A sixth of its width left of the vertical line, centred on it.
    EXPECT_EQ(verticalLabelAt(marker, 20, 30, 8), QPointF(965, 186));
}

}  // namespace
}  // namespace lorvane::test
