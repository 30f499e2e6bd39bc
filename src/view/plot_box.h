#pragma once

#include <QFrame>
#include <QImage>
#include <optional>

#include "plot_painter.h"

namespace lorvane {

// The plot area `fDraw` beside the results list: a white box with a sunken border. What it
// shows is drawn once into a picture that the box keeps, so the plot looks the same after the
// window has been covered or resized; painting the box only copies the picture.
class PlotBox : public QFrame {
    Q_OBJECT
  public:
    explicit PlotBox(QWidget* parent = nullptr);

    // Wipes the picture: white, the size of the box's inner area as it is now. The user scale
    // of the last drawing stays.
    void clearPicture();
    // Wipes the picture and draws a whole plot into it. False when the ranges give no user
    // scale: the picture then stays white.
    bool drawPlot(const PlotRequest& request);
    // A point-sized dot at a point in plot units; nothing before the first drawing.
    void drawDot(QPointF point, const QColor& colour);

    // What the box shows inside its border.
    const QImage& picture() const { return picture_; }
    // The user scale of the last drawing; nullopt before the first.
    const std::optional<PlotScale>& scale() const { return scale_; }

  signals:
    // The mouse moved over the box; the position is in plot units of the last drawing's scale.
    // Nothing is reported before the first drawing.
    void mouseMoved(QPointF position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    QImage picture_;
    std::optional<PlotScale> scale_;
};

}  // namespace lorvane
