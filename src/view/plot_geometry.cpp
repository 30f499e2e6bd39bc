#include "plot_geometry.h"

#include <QPoint>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace lorvane {
namespace {

// Pixel positions are held within this distance of the box before they become ints: far
// enough outside that a clamped point or line end never shows.
constexpr double kPixelLimit = 1e6;

struct Extent {
    double low;
    double high;
};

// One axis of plotFrame. `upper` is how many steps the extent reaches beyond the largest
// value when the values are not both below 1 in magnitude.
Extent extent(double min, double max, double step, double upper) {
    if (std::floor(std::fabs(max)) == 0 && std::floor(std::fabs(min)) == 0)
        return {min - step, max + 2 * step};
    return {std::floor(min - 0.25 * step), std::floor(max + upper * step)};
}

bool fitsSingle(double value) {
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

int clampedPixel(double position) {
    return static_cast<int>(std::floor(std::clamp(position, -kPixelLimit, kPixelLimit)));
}

}  // namespace

double gridStep(double span) {
    if (span < 10) return span / 10;
    return std::floor((span / 10 + 10) / 10) * 10;
}

PlotFrame plotFrame(double xmin, double xmax, double ymin, double ymax) {
    PlotFrame frame;
    frame.xstep = gridStep(xmax - xmin);
    frame.ystep = gridStep(ymax - ymin);
    const Extent x = extent(xmin, xmax, frame.xstep, 1.75);
    frame.left = x.low;
    frame.right = x.high;
    frame.width = frame.right - frame.left;
    if (frame.width == 0) {
        frame.width = 2;
        frame.xstep = 1;
    }
    const Extent y = extent(ymin, ymax, frame.ystep, 0.25);
    frame.ylow = y.low;
    frame.yhigh = y.high;
    frame.height = frame.yhigh - frame.ylow;
    if (frame.height == 0) {
        frame.height = 1;
        frame.ystep = 1;
    }
    return frame;
}

double PlotAxis::toPixel(double value) const { return pixels * (value - origin) / span; }

double PlotAxis::toValue(double pixel) const { return origin + pixel * span / pixels; }

double PlotAxis::toUnits(double length) const { return length * span / pixels; }

std::optional<int> PlotAxis::pixelOf(double value) const {
    const double position = toPixel(value);
    if (std::isnan(position)) return std::nullopt;
    return clampedPixel(position);
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

std::optional<PlotScale> plotScale(const PlotFrame& frame, int pixelWidth, int pixelHeight) {
    for (const double value : {frame.left, frame.width, frame.ylow, frame.height})
        if (!fitsSingle(value)) return std::nullopt;
    PlotScale scale{
        {static_cast<float>(frame.left), static_cast<float>(frame.width), pixelWidth},
        {static_cast<float>(frame.ylow), static_cast<float>(frame.height), pixelHeight}};
    if (scale.x.span == 0 || scale.y.span == 0 || pixelWidth <= 0 || pixelHeight <= 0)
        return std::nullopt;
    return scale;
}

std::vector<int> gridLinePixels(double low, double high, double step, const PlotAxis& axis) {
    const double s = std::fabs(step);
    if (!(s > 0) || !std::isfinite(s) || std::isnan(low) || std::isnan(high)) return {};
    // Only the stretch of low..high that the box shows can hold visible lines.
    const double edge1 = axis.origin;
    const double edge2 = static_cast<double>(axis.origin) + axis.span;
    const double lo = std::max(std::min(low, high), std::min(edge1, edge2));
    const double hi = std::min(std::max(low, high), std::max(edge1, edge2));
    const double first = std::ceil(lo / s);
    const double last = std::floor(hi / s);
    if (!(first <= last)) return {};

    std::vector<int> lines;
    const double stepPixels = std::fabs(s * axis.pixels / axis.span);
    if (stepPixels < 1 || last - first > 2.0 * axis.pixels + 2) {
        // Lines less than a pixel apart: every pixel from the first line to the last has one.
        const int p1 = clampedPixel(axis.toPixel(first * s));
        const int p2 = clampedPixel(axis.toPixel(last * s));
        const int from = std::max(std::min(p1, p2), 0);
        const int to = std::min(std::max(p1, p2), axis.pixels - 1);
        for (int p = from; p <= to; ++p) lines.push_back(p);
        return lines;
    }
    // Counted in whole steps: far from 0, first + 1 can round back to first.
    const auto count = static_cast<int>(last - first);
    for (int j = 0; j <= count; ++j) {
        const int p = clampedPixel(axis.toPixel((first + j) * s));
        if (p >= 0 && p < axis.pixels) lines.push_back(p);
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

ScaleMarker scaleMarker(const PlotFrame& frame) {
    ScaleMarker marker;
    marker.gx = (std::floor(frame.right / frame.xstep) - 1) * frame.xstep;
    marker.gx2 = marker.gx + frame.xstep;
    marker.gy = (std::floor(frame.yhigh / frame.ystep) - 1) * frame.ystep;
    marker.gy2 = marker.gy + frame.ystep;
    return marker;
}

QString plainNumber(double value) {
    const QString sign(std::signbit(value) && value != 0 ? u'-' : u' ');
    if (!std::isfinite(value)) return sign + QLatin1StringView(std::isnan(value) ? "NaN" : "Inf");
    if (value == 0) return QStringLiteral(" 0");
    // 15 significant digits as d.dddddddddddddde±x, then written out without the exponent.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    const QString text = QString::fromLatin1(buffer);
    const qsizetype e = text.indexOf(u'e');
    QString digits = text.left(1) + text.mid(2, e - 2);
    while (digits.size() > 1 && digits.endsWith(u'0')) digits.chop(1);
    const int exponent = text.mid(e + 1).toInt();
    if (exponent < 0) return sign + u'.' + QString(-exponent - 1, u'0') + digits;
    const qsizetype whole = exponent + 1;
    if (digits.size() <= whole) return sign + digits + QString(whole - digits.size(), u'0');
    return sign + digits.left(whole) + u'.' + digits.mid(whole);
}

QString markerLabel(const QString& caption, double step) {
    return caption + u'=' + plainNumber(step);
}

double labelUnits(double pixels, const PlotAxis& axis) {
    return std::nearbyint(axis.toUnits(pixels));
}

QPointF horizontalLabelAt(const ScaleMarker& marker, double xstep, double tw, double th) {
    return {marker.gx + (xstep - 2 * tw) / 2, marker.gy - (th / 4 + th)};
}

QPointF verticalLabelAt(const ScaleMarker& marker, double ystep, double tw, double th) {
    return {marker.gx - (tw / 6 + tw), marker.gy + ystep / 2 - th / 2};
}

}  // namespace lorvane
