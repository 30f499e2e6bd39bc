#include "plot_ticks.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plot_layout.h"
#include "view_rig.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(PlotTicks, LabelsAreEngineeringNotationInTheColumnsUnit) {
    struct Case {
        double value;
        double step;
        const char* unit;
        QString label;
    };
    const Case cases[] = {
        {1, 1, "kHz", u"1 kHz"_s},       {100, 100, "kHz", u"100 kHz"_s},
        {1000, 1000, "kHz", u"1 MHz"_s}, {0.5, 0.5, "kHz", u"500 Hz"_s},
        {1.5, 0.5, "kHz", u"1.5 kHz"_s}, {0.1 * 3, 0.1, "kHz", u"300 Hz"_s},
        {10, 10, "nF", u"10 nF"_s},      {10000, 5000, "nF", u"10 µF"_s},
        {0.002, 0.001, "µH", u"2 nH"_s}, {0.002, 0.001, "\u03bcH", u"2 nH"_s},  // a Greek mu
        {2, 1, "ms", u"2 ms"_s},         {2, 1, "µs", u"2 µs"_s},
        {-45, 15, "°", u"-45°"_s},       {0.1 * 3, 0.1, "°", u"0.3°"_s},
        {-3, 1, "dB   ", u"-3 dB"_s},    {-2500, 500, "mV", u"-2.5 V"_s},
        {0, 500, "mV", u"0 V"_s},        {-1e-17, 0.1, "mV", u"0 V"_s},
        {1000, 200, "Ohm", u"1 kΩ"_s},   {999.9999, 1, "Ohm", u"1 kΩ"_s},
        {-2.5, 0.5, "X", u"-2.5 Ω"_s},   {1500, 500, "Q", u"1.5 k"_s},
        {0.05, 0.01, "D", u"0.05"_s},    {20, 0.01, "D", u"20"_s},
        {1.1, 0.01, "D", u"1.1"_s},      {1234.5, 0.5, "", u"1.2345 k"_s},
        {12, 1, "deg", u"12 deg"_s},     {1e16, 1e16, "kHz", u"10000000 THz"_s},
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
    struct Case {
        AxisRange range;
        const char* unit;
        double pixels;
        double labelWidth;
        std::vector<double> values;
    };
    // Labels of the given width, at least 8 pixels apart: 10s as 5s crowd, 2s, decades, 1-2-5
    // per decade, 1 to 9, every 2nd decade, linear steps on less than two decades, one label.
    const Case cases[] = {
        {{-3, 103, false}, "Ohm", 424, 30, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
        {{0.5, 9.5, false}, "Ohm", 300, 30, {2, 4, 6, 8}},
        {{-5.5, 5.5, false}, "mV", 300, 30, {-4, -2, 0, 2, 4}},
        {{0.8, 12000, true}, "kHz", 400, 40, {1, 10, 100, 1000, 10000}},
        {{0.8, 120, true}, "kHz", 600, 30, {1, 2, 5, 10, 20, 50, 100}},
        {{1, 10, true}, "", 600, 15, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {{1, 1000, true}, "", 300, 20, {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000}},
        {{1e-9, 1e9, true}, "", 200, 12, {1e-8, 1e-6, 1e-4, 0.01, 1, 100, 1e4, 1e6, 1e8}},
        {{950, 2040, true}, "Ohm", 300, 30, {1000, 1200, 1400, 1600, 1800, 2000}},
        {{0, 100, false}, "Ohm", 30, 30, {0}},
        {{5, 5, false}, "", 300, 10, {}},
        {{0, 1, false}, "", 0, 10, {}},
    };
    for (const Case& c : cases) {
        const std::vector<Tick> ticks = chooseTicks(
            c.range, axisUnit(QString::fromUtf8(c.unit)), c.pixels,
            [&](auto&) { return c.labelWidth; }, 8);
        SCOPED_TRACE(testing::Message() << c.range.low << ".." << c.range.high);
        ASSERT_EQ(ticks.size(), c.values.size());
        const auto along = [&](double v) {
            const double low = axisCoordinate(c.range.low, c.range.log);
            return (axisCoordinate(v, c.range.log) - low) /
                   (axisCoordinate(c.range.high, c.range.log) - low);
        };
        for (size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_NEAR(ticks[i].value, c.values[i], 1e-9 * std::fabs(c.values[i]));
            EXPECT_NEAR(ticks[i].position, c.pixels * along(c.values[i]), 1e-6);
        }
    }
    // Near the largest double the ends still get ticks.
    EXPECT_FALSE(chooseTicks(
                     {1e308, 1.7e308, false}, {}, 300, [](const QString&) { return 10.0; }, 8)
                     .empty());
}

// Six pixels a character, ten a line.
class FixedMetrics final : public TextMetrics {
  public:
    double width(const QString& text) const override { return 6.0 * text.size(); }
    double height() const override { return 10; }
};

// A layout as text: the area; per role of label, the edge it keeps to the area and each label
// at its centre along the axis; each title with its room.
QString describe(const PlotLayout& layout) {
    const QRect a = layout.area;
    QString text = u"area %1,%2 %3x%4"_s.arg(a.x()).arg(a.y()).arg(a.width()).arg(a.height());
    std::optional<TextRole> role;
    for (const PlacedText& t : layout.texts) {
        const QRectF& r = t.rect;
        if (t.role >= TextRole::XTitle) {
            text += u"\n%1 %2,%3 %4x%5"_s.arg(t.text).arg(r.x()).arg(r.y()).arg(r.width()).arg(
                r.height());
            continue;
        }
        const bool across = t.role == TextRole::XLabel;
        if (t.role != role)
            text += u"\n%1:"_s.arg(across                       ? r.top()
                                   : t.role == TextRole::YLabel ? r.right()
                                                                : r.left());
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
              u"Freq. 184,259 30x10\nZ 3,121 10x6\nPhi 379,115 10x18"_s);
    // Without the second axis the area takes its room.
    const auto single = layoutPlot(QSize(392, 272), x, y, std::nullopt, FixedMetrics());
    ASSERT_TRUE(single);
    EXPECT_EQ(single->area, QRect(52, 8, 325, 232));
    // A box too small for texts gives its points the whole box.
    const auto bare = layoutPlot(QSize(30, 20), x, y, y2, FixedMetrics());
    ASSERT_TRUE(bare);
    EXPECT_EQ(describe(*bare), u"area 1,1 28x18");
    EXPECT_FALSE(layoutPlot(QSize(2, 100), x, y, y2, FixedMetrics()));
}

}  // namespace
}  // namespace lorvane::test
