#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

#include "plot_geometry.h"

class QPainter;

namespace lorvane {

// Colours of the plot.
inline const QColor kGridColour{127, 127, 127};
inline const QColor kZeroLineColour{255, 0, 0};
inline const QColor kAxisColour{0, 0, 0};
inline const QColor kTraceColour{0, 127, 127};
inline const QColor kSecondTraceColour{127, 0, 127};
inline const QColor kHighlightColour{255, 0, 0};
// Width in pixels of a measured point.
inline constexpr int kPointWidth = 3;

// Everything one drawing needs: the points of the first reading and, when it is shown, of the
// second, both against the sweep value; the units and the titles of the three axes; and
// whether the sweep and the first reading go on log axes.
struct PlotRequest {
    std::vector<QPointF> first;
    std::vector<QPointF> second;
    bool showSecond = false;
    bool logX = false;
    bool logY = false;
    QString xUnit;
    QString yUnit;
    QString y2Unit;
    QString xTitle;
    QString yTitle;
    QString y2Title;
};

// The ranges the axes show.
struct PlotRanges {
    AxisRange x;
    AxisRange y;
    AxisRange y2;
};

// The ranges that show every point of the request; nullopt when there is no point to show.
std::optional<PlotRanges> dataRanges(const PlotRequest& request);

// The texts' font: a small serif at 7 points, neither bold nor italic.
QFont plotFont();

// Paints the plot over a white box of `size` (in the painter's units): the area with its grey
// grid at the ticks, red zero lines, axes with tick marks, labels and titles (the left one in
// the first trace's colour, the right one in the second's), then the points: the second
// reading's first, the first reading's over them, none outside the area. Returns the scale of
// the drawing, or nullopt when the box is too small for one (it then stays white).
std::optional<PlotScale> paintPlot(QPainter& painter, QSize size, const PlotRequest& request,
                                   const PlotRanges& ranges);

// A point-sized dot at a point (sweep value, first reading), as far as it lies in the area.
void paintDot(QPainter& painter, const PlotScale& scale, QPointF point, const QColor& colour);

}  // namespace lorvane
