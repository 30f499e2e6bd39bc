#include "plot_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace lorvane {
namespace {

// Every line of the plot runs along a pixel row or column, so lines are filled rectangles one
// pixel thick, from the first end up to (not including) the second, as the classic line call
// drew them.
void rowLine(QPainter& painter, int y, int x1, int x2, const QColor& colour) {
    painter.fillRect(QRect(std::min(x1, x2), y, std::abs(x2 - x1), 1), colour);
}

void columnLine(QPainter& painter, int x, int y1, int y2, const QColor& colour) {
    painter.fillRect(QRect(x, std::min(y1, y2), 1, std::abs(y2 - y1)), colour);
}

void dot(QPainter& painter, QPoint at, const QColor& colour, int width) {
    const int half = width / 2;
    if (width < kMarkerDotWidth) {
        painter.fillRect(QRect(at.x() - half, at.y() - half, width, width), colour);
        return;
    }
    // A round dot: the square without its corner pixels.
    painter.fillRect(QRect(at.x() - half, at.y() - half + 1, width, width - 2), colour);
    painter.fillRect(QRect(at.x() - half + 1, at.y() - half, width - 2, width), colour);
}

// Line ends of the grid: the frame's values are finite whenever it has a scale.
int pixelOn(const PlotAxis& axis, double value) { return axis.pixelOf(value).value_or(-1); }

void paintGrid(QPainter& painter, const PlotFrame& frame, const PlotScale& scale) {
    const int left = pixelOn(scale.x, frame.left);
    const int right = pixelOn(scale.x, frame.right);
    for (const int y : gridLinePixels(frame.ylow, frame.yhigh, frame.ystep, scale.y))
        rowLine(painter, y, left, right, kGridColour);
    rowLine(painter, pixelOn(scale.y, 0), left, right, kZeroLineColour);

    const int top = pixelOn(scale.y, frame.ylow);
    const int bottom = pixelOn(scale.y, frame.yhigh);
    for (const int x : gridLinePixels(frame.left, frame.right, frame.xstep, scale.x))
        columnLine(painter, x, top, bottom, kGridColour);
    columnLine(painter, pixelOn(scale.x, 0), top, bottom, kZeroLineColour);
}

void paintMarker(QPainter& painter, const ScaleMarker& marker, const PlotScale& scale) {
    const auto corner = scale.pixelOf({marker.gx, marker.gy});
    const auto xEnd = scale.pixelOf({marker.gx2, marker.gy});
    const auto yEnd = scale.pixelOf({marker.gx, marker.gy2});
    if (!corner || !xEnd || !yEnd) return;
    for (const QPoint at : {*corner, *xEnd, *yEnd})
        dot(painter, at, kMarkerColour, kMarkerDotWidth);
    rowLine(painter, corner->y(), corner->x(), xEnd->x(), kMarkerColour);
    columnLine(painter, corner->x(), corner->y(), yEnd->y(), kMarkerColour);
}

// Prints a text with its top left corner at a point in plot units.
void paintLabel(QPainter& painter, const PlotScale& scale, QPointF topLeft, const QString& text) {
    const auto at = scale.pixelOf(topLeft);
    if (!at) return;
    painter.drawText(QPointF(at->x(), at->y() + QFontMetricsF(painter.font()).ascent()), text);
}

void paintLabels(QPainter& painter, const PlotFrame& frame, const ScaleMarker& marker,
                 const PlotScale& scale, const PlotRequest& request) {
    const QFontMetricsF metrics(painter.font());
    // Sizes in plot units, held in doubles: a label of a plot whose pixels stand for many
    // units still fits.
    const QString xLabel = markerLabel(request.sweepCaption, frame.xstep);
    const double xHeight = labelUnits(metrics.height(), scale.y);
    const double xWidth = labelUnits(metrics.horizontalAdvance(xLabel), scale.x);
    paintLabel(painter, scale, horizontalLabelAt(marker, frame.xstep, xWidth, xHeight), xLabel);

    const QString yLabel = markerLabel(request.measureCaption, frame.ystep);
    const double yHeight = labelUnits(metrics.height(), scale.y);
    const double yWidth = labelUnits(metrics.horizontalAdvance(yLabel), scale.x);
    paintLabel(painter, scale, verticalLabelAt(marker, frame.ystep, yWidth, yHeight), yLabel);
}

}  // namespace

QFont plotFont() {
    QFont font(QStringLiteral("Serif"), 7);
    font.setStyleHint(QFont::Serif);
    font.setBold(false);
    font.setItalic(false);
    return font;
}

std::optional<PlotScale> paintPlot(QImage& image, const PlotRequest& request) {
    image.fill(Qt::white);
    const PlotFrame frame = plotFrame(request.xmin, request.xmax, request.ymin, request.ymax);
    const std::optional<PlotScale> scale = plotScale(frame, image.width(), image.height());
    if (!scale) return std::nullopt;

    QPainter painter(&image);
    painter.setFont(plotFont());
    painter.setPen(Qt::black);
    paintGrid(painter, frame, *scale);
    const ScaleMarker marker = scaleMarker(frame);
    paintMarker(painter, marker, *scale);
    paintLabels(painter, frame, marker, *scale, request);
    for (const QPointF& point : request.points)
        if (const auto at = scale->pixelOf(point)) dot(painter, *at, kTraceColour, kPointWidth);
    return scale;
}

void paintDot(QImage& image, const PlotScale& scale, QPointF point, const QColor& colour,
              int width) {
    const auto at = scale.pixelOf(point);
    if (!at) return;
    QPainter painter(&image);
    dot(painter, *at, colour, width);
}

}  // namespace lorvane
