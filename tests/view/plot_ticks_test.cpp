#include "plot_ticks.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <map>

#include "plot_layout.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

// The expected text in the locale the test runs under: "." becomes its decimal separator.
QString dec(const QString& text) { return QString(text).replace(u'.', QLocale().decimalPoint()); }

struct LabelCase {
    double value;
    double step;
    const char* unit;
    QString label;
};

TEST(PlotTicks, LabelsAreEngineeringNotationInTheColumnsUnit) {
    const LabelCase cases[] = {
        {1, 1, "kHz", u"1 kHz"_s},
        {10, 10, "kHz", u"10 kHz"_s},
        {100, 100, "kHz", u"100 kHz"_s},
        {1000, 1000, "kHz", u"1 MHz"_s},
        {0.5, 0.5, "kHz", u"500 Hz"_s},
        {1.5, 0.5, "kHz", u"1.5 kHz"_s},
        {0.1 * 3, 0.1, "kHz", u"300 Hz"_s},
        {10, 10, "nF", u"10 nF"_s},
        {10000, 5000, "nF", u"10 µF"_s},
        {0.002, 0.001, "µH", u"2 nH"_s},
        {0.002, 0.001, "\u03bcH", u"2 nH"_s},  // a Greek mu
        {2, 1, "ms", u"2 ms"_s},
        {2, 1, "µs", u"2 µs"_s},
        {-45, 15, "°", u"-45°"_s},
        {0.1 * 3, 0.1, "°", u"0.3°"_s},
        {-3, 1, "dB   ", u"-3 dB"_s},
        {-2500, 500, "mV", u"-2.5 V"_s},
        {0, 500, "mV", u"0 V"_s},
        {-1e-17, 0.1, "mV", u"0 V"_s},
        {1000, 200, "Ohm", u"1 kΩ"_s},
        {999.9999, 1, "Ohm", u"1 kΩ"_s},
        {-2.5, 0.5, "X", u"-2.5 Ω"_s},
        {1500, 500, "Q", u"1.5 k"_s},
        {0.05, 0.01, "D", u"0.05"_s},
        {20, 0.01, "D", u"20"_s},
        {1.1, 0.01, "D", u"1.1"_s},
        {1234.5, 0.5, "", u"1.2345 k"_s},
        {12, 1, "deg", u"12 deg"_s},
        {1e16, 1e16, "kHz", u"10000000 THz"_s},
    };
    for (const LabelCase& c : cases)
        EXPECT_EQ(tickLabel(c.value, c.step, axisUnit(QString::fromUtf8(c.unit))), dec(c.label))
            << c.value << " " << c.unit;
}

TEST(PlotTicks, AxisTitlesAreTheHeadingsWithoutTheirUnit) {
    EXPECT_EQ(axisTitle(u"Freq. (kHz)"_s), u"Freq.");
    EXPECT_EQ(axisTitle(u"Cs (nF)"_s), u"Cs");
    EXPECT_EQ(axisTitle(u"Q"_s), u"Q");
    EXPECT_EQ(axisTitle(u"(x)"_s), u"(x)");
}

struct TickCase {
    const char* what;
    AxisRange range;
    const char* unit;
    double pixels;
    double labelWidth;  // 0: six pixels a character
    std::vector<double> values;
};

TEST(PlotTicks, TheDensestTicksWhoseLabelsKeepApart) {
    // Labels of 30 pixels (or of the given width), at least 8 pixels apart.
    // clang-format off
    const TickCase cases[] = {
        {"steps of 10: 5 would crowd", {-3, 103, false}, "Ohm", 424, 30,
         {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
        {"steps of 2", {0.5, 9.5, false}, "Ohm", 300, 30, {2, 4, 6, 8}},
        {"negative values", {-5.5, 5.5, false}, "mV", 300, 30, {-4, -2, 0, 2, 4}},
        {"log: decades", {0.8, 12000, true}, "kHz", 400, 40, {1, 10, 100, 1000, 10000}},
        {"log: 1, 2, 5", {0.8, 120, true}, "kHz", 600, 30, {1, 2, 5, 10, 20, 50, 100}},
        {"log: 1 to 9", {1, 10, true}, "", 600, 15, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"log: up to a decade", {1, 1000, true}, "", 300, 20,
         {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000}},
        {"log: every 2nd decade", {1e-9, 1e9, true}, "", 200, 12,
         {1e-8, 1e-6, 1e-4, 1e-2, 1, 1e2, 1e4, 1e6, 1e8}},
        {"log below a decade: linear", {950, 2040, true}, "Ohm", 300, 30,
         {1000, 1200, 1400, 1600, 1800, 2000}},
        {"one label when two do not fit", {0, 100, false}, "Ohm", 30, 30, {0}},
    };
    // clang-format on
    for (const TickCase& c : cases) {
        const AxisUnit unit = axisUnit(QString::fromUtf8(c.unit));
        const auto extent = [&](const QString& text) {
            return c.labelWidth > 0 ? c.labelWidth : 6.0 * text.size();
        };
        const std::vector<Tick> ticks = chooseTicks(c.range, unit, c.pixels, extent, 8);
        std::vector<double> values;
        for (const Tick& tick : ticks) values.push_back(tick.value);
        ASSERT_EQ(values.size(), c.values.size()) << c.what;
        for (size_t i = 0; i < values.size(); ++i)
            EXPECT_NEAR(values[i], c.values[i], 1e-9 * std::fabs(c.values[i])) << c.what;
        if (ticks.empty()) continue;
        EXPECT_GE(ticks.front().position, 0) << c.what;
        EXPECT_LE(ticks.back().position, c.pixels) << c.what;
    }
    // Labels and positions of the decades: 1 kHz at 0.097 of the 4.176 decades from 0.8 kHz.
    const std::vector<Tick> decades = chooseTicks(
        {0.8, 12000, true}, axisUnit(u"kHz"_s), 400, [](const QString&) { return 40.0; }, 8);
    ASSERT_EQ(decades.size(), 5u);
    EXPECT_EQ(decades[0].label, u"1 kHz");
    EXPECT_EQ(decades[4].label, u"10 MHz");
    EXPECT_NEAR(decades[0].position, 400 * std::log10(1.25) / std::log10(15000), 1e-9);
    EXPECT_TRUE(chooseTicks(
                    {5, 5, false}, {}, 300, [](const QString&) { return 10.0; }, 8)
                    .empty());
    EXPECT_TRUE(chooseTicks(
                    {0, 1, false}, {}, 0, [](const QString&) { return 10.0; }, 8)
                    .empty());
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

TEST(PlotLayout, TextsNeverOverlapAndStayInsideTheBoxAtAnySize) {
    const AxisSpec x{{0.8, 1.2e4, true}, axisUnit(u"kHz"_s), u"Freq."_s};
    const AxisSpec y{{-123456.7, 9876543.2, false}, axisUnit(u"Ohm"_s), u"Z"_s};
    const AxisSpec y2{{-90, 90, false}, axisUnit(u"°"_s), u"Phi"_s};
    for (int width = 10; width <= 1210; width += 60) {
        for (int height = 10; height <= 910; height += 45) {
            for (const bool second : {false, true}) {
                const auto layout =
                    layoutPlot(QSize(width, height), x, y,
                               second ? std::optional(y2) : std::nullopt, FixedMetrics());
                ASSERT_TRUE(layout);
                const QString where = QStringLiteral("%1 x %2").arg(width).arg(height);
                const QRect box(0, 0, width, height);
                EXPECT_TRUE(box.contains(layout->area)) << where.toStdString();
                EXPECT_GT(layout->area.width(), 0) << where.toStdString();
                const auto& texts = layout->texts;
                for (size_t i = 0; i < texts.size(); ++i) {
                    EXPECT_TRUE(QRectF(box).contains(texts[i].rect)) << where.toStdString();
                    for (size_t j = i + 1; j < texts.size(); ++j)
                        EXPECT_FALSE(texts[i].rect.intersects(texts[j].rect))
                            << where.toStdString() << " " << texts[i].text.toStdString() << " / "
                            << texts[j].text.toStdString();
                }
            }
        }
    }
    EXPECT_FALSE(layoutPlot(QSize(2, 100), x, y, y2, FixedMetrics()));
}

// The centre of each text of a role, across (x labels) or up (the others).
std::vector<double> centres(const PlotLayout& layout, TextRole role) {
    std::vector<double> at;
    for (const PlacedText& text : layout.texts)
        if (text.role == role)
            at.push_back(role == TextRole::XLabel ? text.rect.center().x()
                                                  : text.rect.center().y());
    return at;
}

TEST(PlotLayout, ABoxOfTheWindowsSizeLabelsEveryTickBesideItsAxis) {
    const AxisSpec x{{0.8, 1.2e4, true}, axisUnit(u"kHz"_s), u"Freq."_s};
    const AxisSpec y{{90, 310, false}, axisUnit(u"Ohm"_s), u"Z"_s};
    const AxisSpec y2{{-90, 90, false}, axisUnit(u"°"_s), u"Phi"_s};
    for (const bool second : {true, false}) {
        const auto layout = layoutPlot(QSize(392, 272), x, y,
                                       second ? std::optional(y2) : std::nullopt, FixedMetrics());
        ASSERT_TRUE(layout);
        const PlotScale& scale = layout->scale;
        // Every tick has its label, centred on it: 1 kHz .. 10 MHz, and 100 .. 300 Ohm.
        ASSERT_EQ(layout->xTicks.size(), 5u);
        ASSERT_GE(layout->yTicks.size(), 4u);
        const std::vector<double> xs = centres(*layout, TextRole::XLabel);
        const std::vector<double> ys = centres(*layout, TextRole::YLabel);
        ASSERT_EQ(xs.size(), layout->xTicks.size()) << second;
        ASSERT_EQ(ys.size(), layout->yTicks.size()) << second;
        for (size_t i = 0; i < xs.size(); ++i)
            EXPECT_NEAR(xs[i], scale.x.toPixel(layout->xTicks[i]), 0.5) << second;
        for (size_t i = 0; i < ys.size(); ++i)
            EXPECT_NEAR(ys[i], scale.y.toPixel(layout->yTicks[i]), 0.5) << second;
        EXPECT_EQ(centres(*layout, TextRole::Y2Label).size(), layout->y2Ticks.size());
        EXPECT_EQ(layout->y2Ticks.empty(), !second);

        // Labels beside the area, titles beyond them, centred on their axes.
        const QRectF area(layout->area);
        std::map<TextRole, int> count;
        for (const PlacedText& text : layout->texts) {
            ++count[text.role];
            const QRectF& r = text.rect;
            switch (text.role) {
                case TextRole::XLabel:
                    EXPECT_GT(r.top(), area.bottom());
                    break;
                case TextRole::YLabel:
                    EXPECT_LT(r.right(), area.left());
                    break;
                case TextRole::Y2Label:
                    EXPECT_GT(r.left(), area.right());
                    break;
                case TextRole::XTitle:
                    EXPECT_DOUBLE_EQ(r.center().x(), area.center().x());
                    break;
                case TextRole::YTitle:
                case TextRole::Y2Title:
                    EXPECT_DOUBLE_EQ(r.center().y(), area.center().y());
                    break;
            }
        }
        EXPECT_EQ(count[TextRole::XTitle], 1);
        EXPECT_EQ(count[TextRole::YTitle], 1);
        EXPECT_EQ(count[TextRole::Y2Title], second ? 1 : 0);
        for (const PlacedText& title : layout->texts) {
            for (const PlacedText& label : layout->texts) {
                if (title.role == TextRole::YTitle && label.role == TextRole::YLabel) {
                    EXPECT_LE(title.rect.right(), label.rect.left());
                } else if (title.role == TextRole::Y2Title && label.role == TextRole::Y2Label) {
                    EXPECT_GE(title.rect.left(), label.rect.right());
                }
            }
        }
        // The area takes most of the box.
        EXPECT_GT(layout->area.width(), 392 / 2);
        EXPECT_GT(layout->area.height(), 272 / 2);
    }
    // A box too small for texts gives its points the whole box.
    const auto bare = layoutPlot(QSize(30, 20), x, y, y2, FixedMetrics());
    ASSERT_TRUE(bare);
    EXPECT_TRUE(bare->texts.empty());
    EXPECT_EQ(bare->area, QRect(1, 1, 28, 18));
}

}  // namespace
}  // namespace lorvane::test
