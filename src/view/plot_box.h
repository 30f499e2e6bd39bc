#pragma once

#include <QFrame>
#include <QImage>
#include <optional>

#include "plot_painter.h"

namespace lorvane {

// The plot area `fDraw` beside the results list: a white box with a sunken border. It keeps
// what it shows as a picture, drawn at the screen's pixel ratio, so that the plot looks the
// same after the window has been covered; painting the box only copies the picture.
//
// The mouse wheel zooms about the cursor, dragging with the left button pans, and a double
// click shows every point again. The box keeps the last drawing's points for that, and draws
// them afresh at each zoom, pan and change of size.
class PlotBox : public QFrame {
    Q_OBJECT
  public:
    explicit PlotBox(QWidget* parent = nullptr);

    // Wipes the picture and forgets the drawing: the box is white until the next one.
    void clearPicture();
    // Draws a whole plot, every point in view. False when there is nothing to draw or the box
    // is too small for a plot: the picture then stays white.
    bool drawPlot(const PlotRequest& request);
    // A point-sized dot at a point in plot units, which the box paints again when it zooms,
    // pans or changes size, until another dot or drawing replaces it; nothing without a
    // drawing.
    void drawDot(QPointF point, const QColor& colour);

    // What the box shows inside its border.
    const QImage& picture() const { return picture_; }
    // The scale of what the box shows; nullopt without a drawing.
    const std::optional<PlotScale>& scale() const { return scale_; }
    // The drawing and the ranges it shows now; nullopt without a drawing.
    const std::optional<PlotRequest>& request() const { return request_; }
    const PlotRanges& ranges() const { return ranges_; }

  signals:
    // The mouse moved over the box; the position is in plot units of the scale it shows.
    // Nothing is reported without a drawing.
    void mouseMoved(QPointF position);
    // The operator asked for the context menu at a point of the screen.
    void menuRequested(QPoint globalPosition);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // The values (x, y and y2) under a pixel position of the inner area.
    struct Pin {
        double x;
        double y;
        double y2;
    };

    // A fresh white picture of the inner area's size.
    void newPicture();
    // Draws the kept drawing over the ranges it shows now.
    void render();
    // Draws it with the pinned values at `at`: the area moves when its labels change width, and
    // the ranges follow it so that what the mouse holds stays under the mouse.
    void renderPinned(const Pin& pin, QPointF at);
    Pin pinAt(QPointF at) const;
    QPointF inner(QPointF position) const;

    QImage picture_;
    std::optional<PlotScale> scale_;
    std::optional<PlotRequest> request_;
    PlotRanges ranges_;
    PlotRanges fullRanges_;
    std::optional<std::pair<QPointF, QColor>> dot_;
    // Where a drag began, the ranges shown then and the values under the mouse.
    std::optional<QPointF> dragFrom_;
    PlotRanges dragRanges_;
    Pin dragPin_{};
};

}  // namespace lorvane
