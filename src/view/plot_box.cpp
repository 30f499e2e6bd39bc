#include "plot_box.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace lorvane {
namespace {

// One notch of the wheel (120 eighths of a degree) away from the operator shows 80 % of the
// range, towards the operator 125 %.
constexpr double kZoomPerNotch = 0.8;

}  // namespace

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

void PlotBox::newPicture() {
    const qreal ratio = devicePixelRatioF();
    picture_ = QImage(contentsRect().size() * ratio, QImage::Format_RGB32);
    picture_.setDevicePixelRatio(ratio);
    // Texts are measured and drawn at the screen's resolution, as on the box itself.
    picture_.setDotsPerMeterX(static_cast<int>(std::lround(logicalDpiX() / 0.0254)));
    picture_.setDotsPerMeterY(static_cast<int>(std::lround(logicalDpiY() / 0.0254)));
    picture_.fill(Qt::white);
}

void PlotBox::clearPicture() {
    request_.reset();
    scale_.reset();
    dot_.reset();
    dragFrom_.reset();
    newPicture();
    update();
}

bool PlotBox::drawPlot(const PlotRequest& request) {
    const std::optional<PlotRanges> ranges = dataRanges(request);
    if (!ranges) {
        clearPicture();
        return false;
    }
    request_ = request;
    ranges_ = fullRanges_ = *ranges;
    dot_.reset();
    dragFrom_.reset();
    render();
    return scale_.has_value();
}

void PlotBox::render() {
    newPicture();
    scale_.reset();
    if (request_) {
        QPainter painter(&picture_);
        scale_ = paintPlot(painter, contentsRect().size(), *request_, ranges_);
        if (scale_ && dot_) paintDot(painter, *scale_, dot_->first, dot_->second);
    }
    update();
}

PlotBox::Pin PlotBox::pinAt(QPointF at) const {
    return {scale_->x.toValue(at.x()), scale_->y.toValue(at.y()), scale_->y2.toValue(at.y())};
}

void PlotBox::renderPinned(const Pin& pin, QPointF at) {
    render();
    // Twice at most: a second drawing seldom moves the area again.
    for (int round = 0; round < 2 && scale_; ++round) {
        const auto shift = [](const PlotAxis& axis, double value, double pixel) {
            return axis.fractionAt(axis.toPixel(value)) - axis.fractionAt(pixel);
        };
        const double sx = shift(scale_->x, pin.x, at.x());
        const double sy = shift(scale_->y, pin.y, at.y());
        const double sy2 = shift(scale_->y2, pin.y2, at.y());
        if (std::fabs(sx) * scale_->x.pixels() < 0.5 && std::fabs(sy) * scale_->y.pixels() < 0.5)
            return;
        ranges_.x = panRange(ranges_.x, sx);
        ranges_.y = panRange(ranges_.y, sy);
        ranges_.y2 = panRange(ranges_.y2, sy2);
        render();
    }
}

void PlotBox::drawDot(QPointF point, const QColor& colour) {
    if (!scale_ || picture_.isNull()) return;
    dot_.emplace(point, colour);
    QPainter painter(&picture_);
    paintDot(painter, *scale_, point, colour);
    update();
}

void PlotBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), picture_);
}

void PlotBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (request_) render();
}

QPointF PlotBox::inner(QPointF position) const { return position - contentsRect().topLeft(); }

void PlotBox::mousePressEvent(QMouseEvent* event) {
    QFrame::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && scale_) {
        dragFrom_ = inner(event->position());
        dragRanges_ = ranges_;
        dragPin_ = pinAt(*dragFrom_);
    }
}

void PlotBox::mouseMoveEvent(QMouseEvent* event) {
    QFrame::mouseMoveEvent(event);
    if (!scale_) return;
    const QPointF at = inner(event->position());
    if (dragFrom_ && (event->buttons() & Qt::LeftButton)) {
        // The points follow the mouse: moving it right or up shows lower values.
        const QPointF moved = at - *dragFrom_;
        ranges_.x = panRange(dragRanges_.x, -moved.x() / scale_->x.pixels());
        ranges_.y = panRange(dragRanges_.y, moved.y() / scale_->y.pixels());
        ranges_.y2 = panRange(dragRanges_.y2, moved.y() / scale_->y2.pixels());
        renderPinned(dragPin_, at);
        if (!scale_) return;
    }
    emit mouseMoved(scale_->pointAt(QPointF(std::floor(at.x()), std::floor(at.y()))));
}

void PlotBox::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) dragFrom_.reset();
}

void PlotBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QFrame::mouseDoubleClickEvent(event);
    if (!request_ || event->button() != Qt::LeftButton) return;
    ranges_ = fullRanges_;
    render();
}

void PlotBox::wheelEvent(QWheelEvent* event) {
    if (!scale_) {
        QFrame::wheelEvent(event);
        return;
    }
    event->accept();
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) return;
    const double factor = std::pow(kZoomPerNotch, notches);
    const QPointF at = inner(event->position());
    const double across = std::clamp(scale_->x.fractionAt(at.x()), 0.0, 1.0);
    const double up = std::clamp(scale_->y.fractionAt(at.y()), 0.0, 1.0);
    const Pin pin = pinAt(at);
    ranges_.x = zoomRange(ranges_.x, across, factor);
    ranges_.y = zoomRange(ranges_.y, up, factor);
    ranges_.y2 = zoomRange(ranges_.y2, up, factor);
    // The point under the cursor stays there (a cursor beside the area keeps the edge).
    if (across > 0 && across < 1 && up > 0 && up < 1)
        renderPinned(pin, at);
    else
        render();
}

void PlotBox::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    emit menuRequested(event->globalPos());
}

}  // namespace lorvane
