#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

#include "plot_geometry.h"
#include "plot_ticks.h"

namespace lorvane {

// The size of texts as the plot prints them.
class TextMetrics {
  public:
    virtual ~TextMetrics() = default;
    virtual double width(const QString& text) const = 0;
    // The height of a line of text.
    virtual double height() const = 0;
};

// What an axis shows: its range, the unit of its tick labels and its title.
struct AxisSpec {
    AxisRange range;
    AxisUnit unit;
    QString title;
};

// Length in pixels of a tick mark, outside the area.
inline constexpr int kTickLength = 4;

enum class TextRole { XLabel, YLabel, Y2Label, XTitle, YTitle, Y2Title };

// A text of the plot and the room it takes in the box. The titles of the vertical axes read
// from bottom to top, turned a quarter to the left inside their room.
struct PlacedText {
    QString text;
    QRectF rect;
    TextRole role = TextRole::XLabel;
};

// Where everything of a plot goes in a box: the area of the points with its scale, the values
// that get a grid line and a tick mark on each axis, and every text. No two texts overlap and
// every text lies inside the box.
struct PlotLayout {
    QRect area;
    PlotScale scale;
    std::vector<double> xTicks;
    std::vector<double> yTicks;
    std::vector<double> y2Ticks;
    std::vector<PlacedText> texts;
};

// The layout of a plot in a box: tick labels along the bottom, the left and (with a second
// axis) the right side of the area, titles beyond them, and as much area as that leaves. A box
// too small for texts gets none and gives the points all of its room; nullopt for a box too
// small for anything.
std::optional<PlotLayout> layoutPlot(QSize box, const AxisSpec& x, const AxisSpec& y,
                                     const std::optional<AxisSpec>& y2, const TextMetrics& metrics);

}  // namespace lorvane
