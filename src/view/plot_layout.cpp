#include "plot_layout.h"

#include <algorithm>
#include <cmath>

namespace lorvane {
namespace {

// Room in pixels: at the box's edges, between a tick mark and its label, between labels and a
// title, and at least between neighbouring labels.
constexpr int kEdge = 3;
constexpr int kTick = kTickLength;
constexpr int kLabelGap = 2;
constexpr int kTitleGap = 3;
constexpr double kXLabelSpacing = 8;
constexpr double kYLabelSpacing = 3;

struct Margins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct AxisTicks {
    std::vector<Tick> x;
    std::vector<Tick> y;
    std::vector<Tick> y2;
};

double widest(const std::vector<Tick>& ticks, const TextMetrics& metrics) {
    double width = 0;
    for (const Tick& tick : ticks) width = std::max(width, metrics.width(tick.label));
    return width;
}

std::vector<double> valuesOf(const std::vector<Tick>& ticks) {
    std::vector<double> values;
    for (const Tick& tick : ticks) values.push_back(tick.value);
    return values;
}

QRect areaWithin(QSize box, const Margins& m) {
    return QRect(m.left, m.top, box.width() - m.left - m.right, box.height() - m.top - m.bottom);
}

PlotScale scaleFor(const QRect& area, const AxisSpec& x, const AxisSpec& y,
                   const std::optional<AxisSpec>& y2) {
    PlotScale scale;
    scale.x = {x.range, area.left(), area.width(), false};
    scale.y = {y.range, area.top(), area.height(), true};
    scale.y2 = {y2 ? y2->range : y.range, area.top(), area.height(), true};
    return scale;
}

// Lays the texts out around the area, then keeps each one that lies inside the box and clear of
// the texts kept before it: tick labels first, titles last.
std::vector<PlacedText> placeTexts(QSize box, const QRect& area, const AxisTicks& ticks,
                                   const AxisSpec& x, const AxisSpec& y,
                                   const std::optional<AxisSpec>& y2, const TextMetrics& metrics) {
    const double h = std::ceil(metrics.height());
    const double bottom = area.top() + area.height();
    const double right = area.left() + area.width();
    // Below the half of the lowest y label that hangs under the area.
    const double xLabelTop = bottom + std::max<double>(kTick + kLabelGap, std::ceil(h / 2) + 1);
    std::vector<PlacedText> texts;
    for (const Tick& tick : ticks.x) {
        const double w = metrics.width(tick.label);
        texts.push_back({tick.label, QRectF(area.left() + tick.position - w / 2, xLabelTop, w, h),
                         TextRole::XLabel});
    }
    const auto yLabels = [&](const std::vector<Tick>& axis, bool left) {
        for (const Tick& tick : axis) {
            const double w = metrics.width(tick.label);
            const double at =
                left ? area.left() - kTick - kLabelGap - w : right + kTick + kLabelGap;
            texts.push_back({tick.label, QRectF(at, bottom - tick.position - h / 2, w, h),
                             left ? TextRole::YLabel : TextRole::Y2Label});
        }
    };
    yLabels(ticks.y, true);
    yLabels(ticks.y2, false);

    const double xw = metrics.width(x.title);
    texts.push_back(
        {x.title,
         QRectF(area.left() + area.width() / 2.0 - xw / 2, xLabelTop + h + kTitleGap, xw, h),
         TextRole::XTitle});
    const double middle = area.top() + area.height() / 2.0;
    const double yw = metrics.width(y.title);
    const double yAt = area.left() - kTick - kLabelGap - widest(ticks.y, metrics) - kTitleGap - h;
    texts.push_back({y.title, QRectF(yAt, middle - yw / 2, h, yw), TextRole::YTitle});
    if (y2) {
        const double y2w = metrics.width(y2->title);
        const double y2At = right + kTick + kLabelGap + widest(ticks.y2, metrics) + kTitleGap;
        texts.push_back({y2->title, QRectF(y2At, middle - y2w / 2, h, y2w), TextRole::Y2Title});
    }

    const QRectF inside(0, 0, box.width(), box.height());
    std::vector<PlacedText> kept;
    for (const PlacedText& text : texts) {
        if (text.text.isEmpty() || !inside.contains(text.rect)) continue;
        const bool clear = std::none_of(kept.begin(), kept.end(), [&](const PlacedText& other) {
            return other.rect.intersects(text.rect);
        });
        if (clear) kept.push_back(text);
    }
    return kept;
}

}  // namespace

std::optional<PlotLayout> layoutPlot(QSize box, const AxisSpec& x, const AxisSpec& y,
                                     const std::optional<AxisSpec>& y2,
                                     const TextMetrics& metrics) {
    if (box.width() < 3 || box.height() < 3) return std::nullopt;
    const int h = static_cast<int>(std::ceil(metrics.height()));
    const auto width = [&](const QString& text) { return metrics.width(text); };
    const auto height = [&](const QString&) { return double(h); };

    Margins margins;
    margins.top = kEdge + (h + 1) / 2;
    margins.bottom = std::max(kTick + kLabelGap, (h + 1) / 2 + 1) + h + kTitleGap + h + kEdge;
    margins.left = kEdge + h + kTitleGap + kLabelGap + kTick;
    margins.right = y2 ? margins.left : kEdge;

    const auto tooSmall = [h](const QRect& area) {
        return area.width() < 3 * h || area.height() < 2 * h;
    };
    const auto ticksFor = [&](const QRect& area) {
        AxisTicks ticks;
        ticks.y = chooseTicks(y.range, y.unit, area.height(), height, kYLabelSpacing);
        if (y2) ticks.y2 = chooseTicks(y2->range, y2->unit, area.height(), height, kYLabelSpacing);
        ticks.x = chooseTicks(x.range, x.unit, area.width(), width, kXLabelSpacing);
        return ticks;
    };
    // The margins the labels of these ticks need.
    const auto marginsFor = [&](const QRect& area, const AxisTicks& ticks) {
        Margins next = margins;
        const auto side = [&](const std::vector<Tick>& labels) {
            return kEdge + h + kTitleGap + static_cast<int>(std::ceil(widest(labels, metrics))) +
                   kLabelGap + kTick;
        };
        next.left = side(ticks.y);
        if (y2) next.right = side(ticks.y2);
        if (!ticks.x.empty()) {
            // The first and the last x label stay inside the box.
            const Tick& first = ticks.x.front();
            const Tick& last = ticks.x.back();
            const double leftOver = width(first.label) / 2 - first.position;
            const double rightOver = width(last.label) / 2 - (area.width() - last.position);
            next.left = std::max(next.left, kEdge + static_cast<int>(std::ceil(leftOver)));
            next.right = std::max(next.right, kEdge + static_cast<int>(std::ceil(rightOver)));
        }
        return next;
    };

    // The labels decide the margins and the margins the room for the labels: a few rounds
    // settle them. Whatever still does not fit is left out when the texts are placed.
    QRect area = areaWithin(box, margins);
    std::optional<AxisTicks> ticks;
    for (int round = 0; round < 4 && !tooSmall(area); ++round) {
        AxisTicks chosen = ticksFor(area);
        const Margins next = marginsFor(area, chosen);
        if (next.left == margins.left && next.right == margins.right) {
            ticks = std::move(chosen);
            break;
        }
        margins = next;
        area = areaWithin(box, margins);
    }
    if (tooSmall(area)) {
        // Too small for texts: the points get the whole box.
        PlotLayout bare;
        bare.area = QRect(1, 1, box.width() - 2, box.height() - 2);
        bare.scale = scaleFor(bare.area, x, y, y2);
        return bare;
    }
    if (!ticks) ticks = ticksFor(area);

    PlotLayout layout;
    layout.area = area;
    layout.scale = scaleFor(area, x, y, y2);
    layout.xTicks = valuesOf(ticks->x);
    layout.yTicks = valuesOf(ticks->y);
    layout.y2Ticks = valuesOf(ticks->y2);
    layout.texts = placeTexts(box, area, *ticks, x, y, y2, metrics);
    return layout;
}

}  // namespace lorvane
