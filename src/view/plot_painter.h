#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

#include "plot_geometry.h"

namespace lorvane {

// Colours of the plot.
inline const QColor kGridColour{127, 127, 127};
inline const QColor kZeroLineColour{255, 0, 0};
inline const QColor kMarkerColour{127, 0, 127};
inline const QColor kTraceColour{0, 127, 127};
inline const QColor kHighlightColour{255, 0, 0};
// Width in pixels of a measured point and of a marker dot.
inline constexpr int kPointWidth = 3;
inline constexpr int kMarkerDotWidth = 5;

// Everything one drawing needs: the ranges of the values, the captions for the marker labels
// (of the selected sweep and measurement options) and the points, first reading against sweep
// value.
struct PlotRequest {
    double xmin = 0;
    double xmax = 0;
    double ymin = 0;
    double ymax = 0;
    QString sweepCaption;
    QString measureCaption;
    std::vector<QPointF> points;
};

// The labels' font: a small serif at 7 points, neither bold nor italic.
QFont plotFont();

// Wipes `image` white and paints a whole plot into it: grey grid, red zero lines, purple scale
// marker with its two labels, then the points. Returns the user scale of the drawing, or
// nullopt when the ranges give none (the image then stays white).
std::optional<PlotScale> paintPlot(QImage& image, const PlotRequest& request);

// A dot `width` pixels across at a point: a square for 3, a round dot for 5.
void paintDot(QImage& image, const PlotScale& scale, QPointF point, const QColor& colour,
              int width);

}  // namespace lorvane
