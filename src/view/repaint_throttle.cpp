#include "repaint_throttle.h"

#include <QWidget>
#include <algorithm>

namespace lorvane {

SteadyFrameClock::SteadyFrameClock() {
    elapsed_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // The call may arrange the next one.
        const std::function<void()> wake = std::move(wake_);
        if (wake) wake();
    });
}

void SteadyFrameClock::wakeAfter(qint64 ms, std::function<void()> wake) {
    wake_ = std::move(wake);
    timer_.start(static_cast<int>(std::max<qint64>(ms, 0)));
}

RepaintThrottle::RepaintThrottle(std::vector<QWidget*> widgets, FrameClock& clock)
    : widgets_(std::move(widgets)), clock_(clock) {}

void RepaintThrottle::beforeChange() {
    // The changes of one point come one after another before its event pass: they all join
    // the frame that the first of them opened.
    if (frameOpen_) return;
    const qint64 now = clock_.now();
    if (now - lastFrame_ >= kFrameMs) {
        showFrame(now);
        return;
    }
    if (!holding_) {
        holding_ = true;
        for (QWidget* widget : widgets_) widget->setUpdatesEnabled(false);
    }
    if (!wakePending_) {
        wakePending_ = true;
        clock_.wakeAfter(lastFrame_ + kFrameMs - now, [this] { wake(); });
    }
}

void RepaintThrottle::flush() { showFrame(clock_.now()); }

void RepaintThrottle::wake() {
    wakePending_ = false;
    // A clock that wakes early leaves the widgets held until the frame is due.
    if (holding_) beforeChange();
}

void RepaintThrottle::showFrame(qint64 now) {
    lastFrame_ = now;
    if (!frameOpen_) {
        frameOpen_ = true;
        QTimer::singleShot(0, &passes_, [this] { frameOpen_ = false; });
    }
    if (!holding_) return;
    holding_ = false;
    // Each widget repaints whole at the next event pass.
    for (QWidget* widget : widgets_) widget->setUpdatesEnabled(true);
}

}  // namespace lorvane
