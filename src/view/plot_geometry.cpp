#include "plot_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lorvane {
namespace {

// Pixel positions are held within this distance of the box before they become ints: far
// enough outside that a clamped point never shows.
constexpr double kPixelLimit = 1e6;

// The range between two axis coordinates, or nullopt when doubles cannot show it: not finite,
// not increasing, or so narrow that its ends are hardly apart.
std::optional<AxisRange> rangeBetween(double from, double to, bool log) {
    const AxisRange range{axisValue(from, log), axisValue(to, log), log};
    if (!std::isfinite(range.low) || !std::isfinite(range.high) || !(range.low < range.high))
        return std::nullopt;
    if (!std::isfinite(to - from) || !(to - from > 1e-9 * std::max(std::fabs(from), std::fabs(to))))
        return std::nullopt;
    if (log && !(range.low > 0)) return std::nullopt;
    return range;
}

}  // namespace

double axisCoordinate(double value, bool log) {
    if (!log) return value;
    return value > 0 ? std::log10(value) : std::numeric_limits<double>::quiet_NaN();
}

double axisValue(double coordinate, bool log) {
    return log ? std::pow(10, coordinate) : coordinate;
}

std::optional<AxisRange> dataRange(std::span<const double> values, bool log) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const double value : values) {
        const double at = axisCoordinate(value, log);
        if (!std::isfinite(at)) continue;
        low = std::min(low, at);
        high = std::max(high, at);
    }
    if (low > high) return std::nullopt;
    double pad = 0.05 * high - 0.05 * low;  // apart, so that the difference cannot overflow
    if (low == high) pad = log ? 0.5 : 0.1 * std::fabs(low);
    if (low == high && !log && low == 0) pad = 1;
    if (const auto range = rangeBetween(low - pad, high + pad, log)) return range;
    // Values too close together for a padded range (or beyond it): the nearest range that
    // doubles can show around them.
    return rangeBetween(low - std::max(1.0, std::fabs(low)), high + std::max(1.0, std::fabs(high)),
                        log);
}

AxisRange zoomRange(const AxisRange& range, double fraction, double factor) {
    const double low = axisCoordinate(range.low, range.log);
    const double high = axisCoordinate(range.high, range.log);
    const double pivot = low + (high - low) * fraction;
    return rangeBetween(pivot - (pivot - low) * factor, pivot + (high - pivot) * factor, range.log)
        .value_or(range);
}

AxisRange panRange(const AxisRange& range, double fraction) {
    const double low = axisCoordinate(range.low, range.log);
    const double high = axisCoordinate(range.high, range.log);
    const double shift = (high - low) * fraction;
    return rangeBetween(low + shift, high + shift, range.log).value_or(range);
}

PlotAxis::PlotAxis(const AxisRange& range, int start, int pixels, bool upward)
    : range_(range),
      start_(start),
      pixels_(pixels),
      upward_(upward),
      low_(axisCoordinate(range.low, range.log)),
      high_(axisCoordinate(range.high, range.log)) {}

double PlotAxis::fractionAt(double pixel) const {
    const double along = (pixel - start_) / pixels_;
    return upward_ ? 1 - along : along;
}

double PlotAxis::toPixel(double value) const {
    const double fraction = (axisCoordinate(value, range_.log) - low_) / (high_ - low_);
    return start_ + pixels_ * (upward_ ? 1 - fraction : fraction);
}

std::optional<int> PlotAxis::pixelOf(double value) const {
    const double position = toPixel(value);
    if (std::isnan(position)) return std::nullopt;
    return static_cast<int>(std::floor(std::clamp(position, -kPixelLimit, kPixelLimit)));
}

double PlotAxis::toValue(double pixel) const {
    return axisValue(low_ + fractionAt(pixel) * (high_ - low_), range_.log);
}

std::optional<QPoint> PlotScale::pixelOf(QPointF point) const {
    const std::optional<int> px = x.pixelOf(point.x());
    const std::optional<int> py = y.pixelOf(point.y());
    if (!px || !py) return std::nullopt;
    return QPoint(*px, *py);
}

QPointF PlotScale::pointAt(QPointF pixel) const {
    return {x.toValue(pixel.x()), y.toValue(pixel.y())};
}

}  // namespace lorvane
