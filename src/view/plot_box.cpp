#include "plot_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace lorvane {

PlotBox::PlotBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    // It takes part in the keyboard focus order, between the results list and Ref.
    setFocusPolicy(Qt::StrongFocus);
    // The cursor readout follows the mouse without a button held.
    setMouseTracking(true);
}

void PlotBox::clearPicture() {
    picture_ = QImage(contentsRect().size(), QImage::Format_RGB32);
    // The labels are measured and drawn at the screen's resolution, as on the box itself.
    picture_.setDotsPerMeterX(static_cast<int>(std::lround(logicalDpiX() / 0.0254)));
    picture_.setDotsPerMeterY(static_cast<int>(std::lround(logicalDpiY() / 0.0254)));
    picture_.fill(Qt::white);
    update();
}

bool PlotBox::drawPlot(const PlotRequest& request) {
    clearPicture();
    const std::optional<PlotScale> scale = paintPlot(picture_, request);
    if (scale) scale_ = scale;
    update();
    return scale.has_value();
}

void PlotBox::drawDot(QPointF point, const QColor& colour) {
    if (!scale_ || picture_.isNull()) return;
    paintDot(picture_, *scale_, point, colour, kPointWidth);
    update();
}

void PlotBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), picture_);
}

void PlotBox::mouseMoveEvent(QMouseEvent* event) {
    QFrame::mouseMoveEvent(event);
    if (!scale_) return;
    const QPointF pixel = event->position() - contentsRect().topLeft();
    emit mouseMoved(scale_->pointAt(QPointF(std::floor(pixel.x()), std::floor(pixel.y()))));
}

}  // namespace lorvane
