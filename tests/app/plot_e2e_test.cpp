// The plot of the real window while and after the simulated HP 4192A runs a sweep, and its
// choices kept in the program's settings.
#include "plot_box.h"
#include "plot_settings.h"
#include "run_e2e_support.h"

namespace lorvane::test {
namespace {

const QRgb kTrace = qRgb(0, 127, 127);

// The teal pixels inside the plot's area, where only the points of the first reading have
// that colour.
std::vector<QPoint> tracePixels(const PlotBox& plot) {
    std::vector<QPoint> pixels;
    if (!plot.scale()) return pixels;
    const QRect area = plot.scale()->area();
    for (int row = area.top(); row <= area.bottom(); ++row)
        for (int column = area.left(); column <= area.right(); ++column)
            if (plot.picture().pixel(column, row) == kTrace) pixels.emplace_back(column, row);
    return pixels;
}

// The mean row of the teal pixels in the leftmost and in the rightmost column that has any.
std::pair<double, double> traceEnds(const std::vector<QPoint>& pixels) {
    int left = INT_MAX;
    int right = INT_MIN;
    for (const QPoint& p : pixels) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
    }
    const auto meanRow = [&](int column) {
        double sum = 0;
        int count = 0;
        for (const QPoint& p : pixels)
            if (p.x() == column) sum += p.y(), ++count;
        return sum / count;
    };
    return {meanRow(left), meanRow(right)};
}

class PlotRun : public RunEndToEnd {
  protected:
    // Impedance of the simulator's series circuit above its resonance at 159 kHz: |Z| rises
    // over nine points from 200 kHz to 1 MHz.
    void risingSweep() {
        save("F_Start", 200000);
        save("F_Stop", 1000000);
        save("F_Step", 100000);
        start();
    }
    PlotBox& plot() { return *window.controls().fDraw; }
};

// On the log axis the saved choice asks for.
TEST_F(PlotRun, ARisingImpedanceIsDrawnRisingAndPointsShowWhileTheRunGoes) {
    save("Plot_LogY", 1);
    risingSweep();
    // A tenth of a second between points: each one is drawn as it comes.
    qint64 now = 0;
    window.resultsView().plot().setClock([&] { return now; });
    std::vector<size_t> dotsWhileRunning;
    platform.onEvents = [&] {
        now += kLivePlotIntervalMs;
        if (window.resultsView().PlotReady()) return;
        dotsWhileRunning.push_back(tracePixels(plot()).size() / 9);
    };
    click(0);

    ASSERT_EQ(rows().size(), 9u);
    // One more point on the plot after each reading, before the run has ended.
    std::vector<size_t> growth;
    for (const size_t dots : dotsWhileRunning)
        if (dots > 0 && (growth.empty() || growth.back() != dots)) growth.push_back(dots);
    EXPECT_EQ(growth, (std::vector<size_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_TRUE(window.resultsView().PlotReady());
    const auto [first, last] = traceEnds(tracePixels(plot()));
    EXPECT_LT(last, first - 50) << "the rightmost point is drawn higher up";
    ASSERT_TRUE(plot().scale());
    EXPECT_TRUE(plot().scale()->y.range().log);
    // Choices go to the instance's settings.
    window.resultsView().plot().setSecondShown(false);
    EXPECT_EQ(RegRead(QStringLiteral("Lorvane"), kPlotSecond, -1), 0);
}

}  // namespace
}  // namespace lorvane::test
