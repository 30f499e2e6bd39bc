#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <optional>
#include <span>

namespace lorvane {

// The arithmetic of the plot's scales, apart from any painting: the range an axis shows, its
// zoom and pan, and the mapping between values and pixels. Plot units are the table's own: x
// the sweep value (kHz or mV), y the first reading, y2 the second reading, each in its column's
// display unit.

// The values an axis shows, from `low` to `high` (low < high). A logarithmic axis spaces them
// by their logarithm and holds only positive values.
struct AxisRange {
    double low = 0;
    double high = 1;
    bool log = false;
};

// Where a value lies along an axis: the value itself, or its base-10 logarithm on a log axis
// (NaN for a value that is not positive there).
double axisCoordinate(double value, bool log);
// The inverse of axisCoordinate.
double axisValue(double coordinate, bool log);

// The range that shows every value with room to spare: 5 % of the span beyond the smallest and
// the largest (on a log axis, of the span of the logarithms). Values that are all equal (a
// spot measurement) get a tenth of their size on both sides, half a decade on a log axis, and
// a lone 0 the range -1..1. Values that are not numbers, or not positive on a log axis, are
// left out; nullopt when none is left.
std::optional<AxisRange> dataRange(std::span<const double> values, bool log);

// The range after zooming by `factor` (below 1 zooms in) about the point at `fraction` of the
// axis (0 its low end, 1 its high end), which stays where it is; a log axis zooms its
// logarithms. A zoom that would leave the numbers doubles can tell apart (or can hold) leaves
// the range as it was.
AxisRange zoomRange(const AxisRange& range, double fraction, double factor);
// The range moved by `fraction` of its length towards higher values (negative: lower).
AxisRange panRange(const AxisRange& range, double fraction);

// One axis on the box: the range's low end at pixel `start`, its high end `pixels` further
// along, or `pixels` back for the vertical axes, which grow upwards.
class PlotAxis {
  public:
    PlotAxis() = default;
    PlotAxis(const AxisRange& range, int start, int pixels, bool upward);

    const AxisRange& range() const { return range_; }
    int start() const { return start_; }
    int pixels() const { return pixels_; }

    // Pixel position of a value in the box (not rounded); NaN for a value that has none.
    double toPixel(double value) const;
    // The pixel a value falls into (rounded down), clamped far outside any box so that it
    // converts safely to int; nullopt for a value that has no position.
    std::optional<int> pixelOf(double value) const;
    // The value at a pixel position: the inverse mapping, for the cursor readout.
    double toValue(double pixel) const;
    // Where a pixel position lies along the axis: 0 at the low end, 1 at the high end.
    double fractionAt(double pixel) const;

  private:
    AxisRange range_;
    int start_ = 0;
    int pixels_ = 1;
    bool upward_ = false;
    // The axis coordinates of the range's ends.
    double low_ = 0;
    double high_ = 1;
};

// The scale of a drawing: the sweep value across, the first reading up on the left and the
// second reading up on the right.
struct PlotScale {
    PlotAxis x;
    PlotAxis y;
    PlotAxis y2;

    // The pixel a point (sweep value, first reading) falls into.
    std::optional<QPoint> pixelOf(QPointF point) const;
    // The point (sweep value, first reading) at a pixel position of the box.
    QPointF pointAt(QPointF pixel) const;
    // The pixels the axes span: where the points go.
    QRect area() const { return QRect(x.start(), y.start(), x.pixels(), y.pixels()); }
};

}  // namespace lorvane
