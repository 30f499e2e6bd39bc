#include <gtest/gtest.h>

#include <cmath>

#include "plot_geometry.h"
#include "plot_layout.h"
#include "plot_ticks.h"
#include "view_rig.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

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
        {{10}, false, 9, 11},
        {{-20}, false, -22, -18},
        {{0}, false, -1, 1},
        {{kNaN, 1, 2}, false, 0.95, 2.05},
        {{1, 100}, true, std::pow(10, -0.1), std::pow(10, 2.1)},
        {{100}, true, std::pow(10, 1.5), std::pow(10, 2.5)},
        {{-1, 0, 10, 1000}, true, std::pow(10, 0.9), std::pow(10, 3.1)},
        {{-1, 0}, true, 0, 0},
        {{kNaN}, false, 0, 0},
    };
    for (const auto& [values, log, low, high] : ranges) {
        SCOPED_TRACE(testing::PrintToString(values));
        expectRange(dataRange(values, log), low, high, log);
    }

    // Zoom (factor) about a fraction of the range, or pan (factor 0); beyond doubles: nothing.
    const std::tuple<AxisRange, double, double, double, double> moves[] = {
        {{0, 100, false}, 0.25, 0.5, 12.5, 62.5},
        {{0, 100, false}, 1, 2, -100, 100},
        {{1, 10000, true}, 0.5, 0.5, 10, 1000},
        {{10, 10000, true}, -0.25, 0, std::pow(10, 0.25), std::pow(10, 3.25)},
        {{1e6, 1e6 + 1, false}, 0.5, 1e-6, 1e6, 1e6 + 1},
        {{1, 1e300, true}, 0.5, 1e3, 1, 1e300},
    };
    for (const auto& [range, fraction, factor, low, high] : moves) {
        SCOPED_TRACE(testing::Message() << range.low << " " << fraction << " " << factor);
        expectRange(factor == 0 ? panRange(range, fraction) : zoomRange(range, fraction, factor),
                    low, high, range.log);
    }
}

TEST(PlotTicks, LabelsAreEngineeringNotationInTheColumnsUnit) {
    struct Case {
        double value;
        double step;
        const char* unit;
        QString label;
    };
    const Case cases[] = {
        {1, 1, "kHz", u"1 kHz"_s},
        {1000, 1000, "kHz", u"1 MHz"_s},
        {0.5, 0.5, "kHz", u"500 Hz"_s},

        {0.1 * 3, 0.1, "kHz", u"300 Hz"_s},
        {10000, 5000, "nF", u"10 µF"_s},
        {0.002, 0.001, "µH", u"2 nH"_s},
        {0.002, 0.001, "\u03bcH", u"2 nH"_s},  // a Greek mu
        {2, 1, "µs", u"2 µs"_s},
        {-45, 15, "°", u"-45°"_s},

        {-3, 1, "dB   ", u"-3 dB"_s},
        {-2500, 500, "mV", u"-2.5 V"_s},
        {0, 500, "mV", u"0 V"_s},
        {-1e-17, 0.1, "mV", u"0 V"_s},
        {999.9999, 1, "Ohm", u"1 kΩ"_s},
        {-2.5, 0.5, "X", u"-2.5 Ω"_s},
        {1500, 500, "Q", u"1.5 k"_s},
        {0.05, 0.01, "D", u"0.05"_s},
        {1.1, 0.01, "D", u"1.1"_s},
        {1234.5, 0.5, "", u"1.2345 k"_s},
        {12, 1, "deg", u"12 deg"_s},
        {1e16, 1e16, "kHz", u"10000000 THz"_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tickLabel(c.value, c.step, axisUnit(QString::fromUtf8(c.unit))), dec(c.label))
            << c.value << " " << c.unit;
    // Axis titles are the headings without their unit.
    for (const auto& [heading, title] :
         {std::pair(u"Freq. (kHz)"_s, u"Freq."_s), {u"Q"_s, u"Q"_s}, {u"(x)"_s, u"(x)"_s}})
        EXPECT_EQ(axisTitle(heading), title);
}

TEST(PlotTicks, TheDensestTicksWhoseLabelsKeepApart) {
    // Labels of the given width, at least 8 pixels apart (10s as 5s crowd; 1-2-5 per decade).
    const std::tuple<AxisRange, double, double, const char*> cases[] = {
        {{-3, 103, false}, 424, 30, "0 10 20 30 40 50 60 70 80 90 100"},
        {{-5.5, 9.5, false}, 300, 30, "-4 -2 0 2 4 6 8"},
        {{0.8, 12000, true}, 400, 40, "1 10 100 1 k 10 k"},
        {{0.8, 120, true}, 600, 30, "1 2 5 10 20 50 100"},
        {{1, 10, true}, 600, 15, "1 2 3 4 5 6 7 8 9 10"},
        {{1, 1000, true}, 300, 20, "1 2 5 10 20 50 100 200 500 1 k"},
        {{1e-9, 1e9, true}, 200, 12, "10 n 1 µ 100 µ 10 m 1 100 10 k 1 M 100 M"},
        {{950, 2040, true}, 300, 30, "1 k 1.2 k 1.4 k 1.6 k 1.8 k 2 k"},
        {{0, 100, false}, 30, 30, "0"},
        {{5, 5, false}, 300, 10, ""},
        {{0, 1, false}, 0, 10, ""},
    };
    for (const auto& [range, pixels, width, labels] : cases) {
        QStringList texts;
        for (const Tick& tick : chooseTicks(
                 range, {}, pixels, [&](auto&) { return width; }, 8))
            texts << tick.label;
        EXPECT_EQ(texts.join(u' '), dec(QString::fromUtf8(labels))) << range.low;
    }
}

// Six pixels a character, ten a line.
struct FixedMetrics final : TextMetrics {
    double width(const QString& text) const override { return 6.0 * text.size(); }
    double height() const override { return 10; }
};

// A layout as text: the area, then per role of text the edge it keeps to the area and each
// text at its centre along the axis.
QString describe(const PlotLayout& layout) {
    const QRect a = layout.area;
    QString text = u"area %1,%2 %3x%4"_s.arg(a.x()).arg(a.y()).arg(a.width()).arg(a.height());
    std::optional<TextRole> role;
    for (const PlacedText& t : layout.texts) {
        const bool across = t.role == TextRole::XLabel || t.role == TextRole::XTitle;
        const bool left = t.role == TextRole::YLabel || t.role == TextRole::YTitle;
        const QRectF& r = t.rect;
        if (t.role != role) text += u"\n%1:"_s.arg(across ? r.top() : left ? r.right() : r.left());
        role = t.role;
        text += u" %1@%2"_s.arg(t.text).arg(qRound(across ? r.center().x() : r.center().y()));
    }
    return text;
}

TEST(PlotLayout, ABoxOfTheWindowsSizeLabelsEveryTickBesideItsAxis) {
    const AxisSpec x{{0.8, 1.2e4, true}, axisUnit(u"kHz"_s), u"Freq."_s};
    const AxisSpec y{{90, 310, false}, axisUnit(u"Ohm"_s), u"Z"_s};
    const AxisSpec y2{{-90, 90, false}, axisUnit(u"°"_s), u"Phi"_s};
    const auto layout = layoutPlot(QSize(392, 272), x, y, y2, FixedMetrics());
    ASSERT_TRUE(layout);
    EXPECT_EQ(describe(*layout),
              u"area 52,8 294x232\n"
              u"246: 1 kHz@59 10 kHz@129 100 kHz@200 1 MHz@270 10 MHz@340\n"
              u"46: 100 Ω@229 120 Ω@208 140 Ω@187 160 Ω@166 180 Ω@145 200 Ω@124 220 Ω@103 "
              u"240 Ω@82 260 Ω@61 280 Ω@40 300 Ω@19\n"
              u"352: -80°@227 -60°@201 -40°@176 -20°@150 0°@124 20°@98 40°@72 60°@47 80°@21\n"
              u"259: Freq.@199\n13: Z@124\n379: Phi@124"_s);
    // A box too small for texts gives its points the whole box.
    const auto bare = layoutPlot(QSize(30, 20), x, y, y2, FixedMetrics());
    ASSERT_TRUE(bare);
    EXPECT_EQ(describe(*bare), u"area 1,1 28x18");
    EXPECT_FALSE(layoutPlot(QSize(2, 100), x, y, y2, FixedMetrics()));
}

}  // namespace
}  // namespace lorvane::test
