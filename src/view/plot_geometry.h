#pragma once

#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

namespace lorvane {

// The arithmetic of the plot, apart from any painting: grid steps and extents, the user scale
// of the box and its mapping to pixels, the grid lines, the scale marker and its labels.
// Plot units are the table's own: x the sweep value (kHz or mV), y the first reading.

// Grid step for a span of values: a multiple of 10 for a span of 10 or more (95 gives 10, 100
// gives 20, 1000 gives 110), a tenth of the span below that.
double gridStep(double span);

// Steps and extents of a drawing. The box shows `left` at its left edge and `width` units
// across, `ylow` at its top edge and `height` units down. `right` and `yhigh` bound the grid
// lines; they keep their values when a zero width or height is replaced.
struct PlotFrame {
    double xstep = 0;
    double ystep = 0;
    double left = 0;
    double right = 0;
    double width = 0;
    double ylow = 0;
    double yhigh = 0;
    double height = 0;
};

// Extents of the x range xmin..xmax and the y range ymin..ymax: a quarter step beyond the
// values on each side (1.75 steps on the right), rounded down to whole numbers; when both
// magnitudes of an axis are below 1, one step below and two steps above, not rounded. A zero
// width becomes 2 with xstep 1, a zero height becomes 1 with ystep 1.
PlotFrame plotFrame(double xmin, double xmax, double ymin, double ymax);

// One axis of the box's user scale: `origin` at pixel 0 and `origin + span` at pixel
// `pixels`, the scale held in single precision. A negative span runs the axis backwards.
struct PlotAxis {
    float origin = 0;
    float span = 1;
    int pixels = 0;

    // Pixel position of a value (not rounded): pixels * (value - origin) / span.
    double toPixel(double value) const;
    // The pixel a value falls into (rounded down), clamped to a range far beyond any box so
    // that it converts safely to int; nullopt for a value that is not a number.
    std::optional<int> pixelOf(double value) const;
    // Value at a pixel position: origin + pixel * span / pixels.
    double toValue(double pixel) const;
    // A length in pixels as a length in plot units (signed like the span).
    double toUnits(double pixels) const;
};

// The user scale of the box for a frame and a box of pixelWidth x pixelHeight pixels; nullopt
// when a value does not fit single precision or the box has no area.
struct PlotScale {
    PlotAxis x;
    PlotAxis y;

    // The pixel a point falls into, as PlotAxis::pixelOf on each axis.
    std::optional<QPoint> pixelOf(QPointF point) const;
    // The point at a pixel position of the box: the inverse mapping, for the cursor readout.
    QPointF pointAt(QPointF pixel) const;
};
std::optional<PlotScale> plotScale(const PlotFrame& frame, int pixelWidth, int pixelHeight);

// Pixel positions (0 to pixels - 1, ascending) of the grid lines at the whole multiples of
// `step` between `low` and `high`, as far as they fall inside the box. Lines closer together
// than a pixel cover every pixel between the first and the last one, so the result never has
// more entries than the box has pixels, however small the step. Empty for a zero or non-finite
// step.
std::vector<int> gridLinePixels(double low, double high, double step, const PlotAxis& axis);

// The scale marker: one grid step long in each direction, in the last grid cell before the
// right edge and before the largest y value.
struct ScaleMarker {
    double gx = 0;
    double gx2 = 0;
    double gy = 0;
    double gy2 = 0;
};
ScaleMarker scaleMarker(const PlotFrame& frame);

// A number the way the marker labels show it: plain decimal, "." as separator, up to 15
// significant digits, no zero before the point, a blank in front unless negative (10 gives
// " 10", 0.5 gives " .5", -2.5 gives "-2.5").
QString plainNumber(double value);
// Label text: caption + "=" + the step ("Freq= 10").
QString markerLabel(const QString& caption, double step);

// A label's size in plot units: its size in pixels through the axis, rounded to a whole number
// (halves to even).
double labelUnits(double pixels, const PlotAxis& axis);
// Top left corners of the labels, in plot units, for label sizes tw x th in plot units: the
// step of the x axis right-aligned on the middle of the horizontal marker line, just above it;
// the step of the y axis left of the vertical marker line, centred on it.
QPointF horizontalLabelAt(const ScaleMarker& marker, double xstep, double tw, double th);
QPointF verticalLabelAt(const ScaleMarker& marker, double ystep, double tw, double th);

}  // namespace lorvane
