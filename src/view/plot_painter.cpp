#include "plot_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "plot_layout.h"

namespace lorvane {
namespace {

class FontMetrics final : public TextMetrics {
  public:
    explicit FontMetrics(const QFontMetricsF& metrics) : metrics_(metrics) {}
    double width(const QString& text) const override { return metrics_.horizontalAdvance(text); }
    double height() const override { return metrics_.height(); }

  private:
    QFontMetricsF metrics_;
};

void dot(QPainter& painter, QPoint at, const QColor& colour) {
    const int half = kPointWidth / 2;
    painter.fillRect(QRect(at.x() - half, at.y() - half, kPointWidth, kPointWidth), colour);
}

std::vector<double> coordinates(const std::vector<QPointF>& points, bool x) {
    std::vector<double> values;
    values.reserve(points.size());
    for (const QPointF& point : points) values.push_back(x ? point.x() : point.y());
    return values;
}

bool showsZero(const AxisRange& range) { return !range.log && range.low < 0 && range.high > 0; }

// Grid lines at the ticks inside the area, red lines through zero, the frame of the area and the
// tick marks outside it. Every line runs along a pixel row or column.
void paintAxes(QPainter& painter, const PlotLayout& layout) {
    const QRect& area = layout.area;
    const int right = area.left() + area.width() - 1;
    const int bottom = area.top() + area.height() - 1;
    const auto column = [&](int x) { return std::clamp(x, area.left(), right); };
    const auto row = [&](int y) { return std::clamp(y, area.top(), bottom); };
    const PlotScale& scale = layout.scale;

    for (const double value : layout.xTicks) {
        const int x = column(scale.x.pixelOf(value).value_or(area.left()));
        painter.fillRect(QRect(x, area.top(), 1, area.height()), kGridColour);
        painter.fillRect(QRect(x, bottom + 1, 1, kTickLength), kAxisColour);
    }
    for (const double value : layout.yTicks) {
        const int y = row(scale.y.pixelOf(value).value_or(area.top()));
        painter.fillRect(QRect(area.left(), y, area.width(), 1), kGridColour);
        painter.fillRect(QRect(area.left() - kTickLength, y, kTickLength, 1), kAxisColour);
    }
    for (const double value : layout.y2Ticks) {
        const int y = row(scale.y2.pixelOf(value).value_or(area.top()));
        painter.fillRect(QRect(right + 1, y, kTickLength, 1), kAxisColour);
    }
    if (showsZero(scale.x.range()))
        painter.fillRect(QRect(column(*scale.x.pixelOf(0)), area.top(), 1, area.height()),
                         kZeroLineColour);
    if (showsZero(scale.y.range()))
        painter.fillRect(QRect(area.left(), row(*scale.y.pixelOf(0)), area.width(), 1),
                         kZeroLineColour);

    painter.setPen(kAxisColour);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(area.left() - 1, area.top() - 1, area.width() + 1, area.height() + 1));
}

void paintTexts(QPainter& painter, const PlotLayout& layout) {
    for (const PlacedText& text : layout.texts) {
        switch (text.role) {
            case TextRole::YTitle:
            case TextRole::Y2Title:
                painter.setPen(text.role == TextRole::YTitle ? kTraceColour : kSecondTraceColour);
                painter.save();
                // Reads upwards: turned a quarter to the left about the room's bottom left.
                painter.translate(text.rect.bottomLeft());
                painter.rotate(-90);
                painter.drawText(QRectF(0, 0, text.rect.height(), text.rect.width()),
                                 Qt::AlignCenter, text.text);
                painter.restore();
                break;
            default:
                painter.setPen(kAxisColour);
                painter.drawText(text.rect, Qt::AlignCenter, text.text);
                break;
        }
    }
}

void paintPoints(QPainter& painter, const QRect& area, const std::vector<QPointF>& points,
                 const PlotAxis& x, const PlotAxis& y, const QColor& colour) {
    // A point just outside the area may still show a part of its dot; farther ones are skipped.
    const QRect near = area.adjusted(-kPointWidth, -kPointWidth, kPointWidth, kPointWidth);
    for (const QPointF& point : points) {
        const std::optional<int> px = x.pixelOf(point.x());
        const std::optional<int> py = y.pixelOf(point.y());
        if (px && py && near.contains(*px, *py)) dot(painter, QPoint(*px, *py), colour);
    }
}

}  // namespace

std::optional<PlotRanges> dataRanges(const PlotRequest& request) {
    std::vector<double> xs = coordinates(request.first, true);
    const std::optional<AxisRange> y = dataRange(coordinates(request.first, false), request.logY);
    std::optional<AxisRange> y2 = AxisRange{};
    if (request.showSecond && !request.second.empty()) {
        const std::vector<double> more = coordinates(request.second, true);
        xs.insert(xs.end(), more.begin(), more.end());
        y2 = dataRange(coordinates(request.second, false), false);
    }
    const std::optional<AxisRange> x = dataRange(xs, request.logX);
    if (!x || !y || !y2) return std::nullopt;
    return PlotRanges{*x, *y, *y2};
}

QFont plotFont() {
    QFont font(QStringLiteral("Serif"), 7);
    font.setStyleHint(QFont::Serif);
    font.setBold(false);
    font.setItalic(false);
    return font;
}

std::optional<PlotScale> paintPlot(QPainter& painter, QSize size, const PlotRequest& request,
                                   const PlotRanges& ranges) {
    painter.fillRect(QRect(QPoint(), size), Qt::white);
    painter.setFont(plotFont());
    const std::optional<AxisSpec> second =
        request.showSecond ? std::optional<AxisSpec>(
                                 AxisSpec{ranges.y2, axisUnit(request.y2Unit), request.y2Title})
                           : std::nullopt;
    const std::optional<PlotLayout> layout =
        layoutPlot(size, {ranges.x, axisUnit(request.xUnit), request.xTitle},
                   {ranges.y, axisUnit(request.yUnit), request.yTitle}, second,
                   FontMetrics(painter.fontMetrics()));
    if (!layout) return std::nullopt;

    paintAxes(painter, *layout);
    paintTexts(painter, *layout);
    painter.save();
    painter.setClipRect(layout->area);
    if (second)
        paintPoints(painter, layout->area, request.second, layout->scale.x, layout->scale.y2,
                    kSecondTraceColour);
    paintPoints(painter, layout->area, request.first, layout->scale.x, layout->scale.y,
                kTraceColour);
    painter.restore();
    return layout->scale;
}

void paintDot(QPainter& painter, const PlotScale& scale, QPointF point, const QColor& colour) {
    const std::optional<QPoint> at = scale.pixelOf(point);
    if (!at) return;
    painter.save();
    painter.setClipRect(scale.area());
    dot(painter, *at, colour);
    painter.restore();
}

}  // namespace lorvane
