#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <vector>

class QWidget;

namespace lorvane {

// Time for the repaint throttle: a steady clock in milliseconds and one pending wake-up call.
// Tests put a clock of their own in its place.
class FrameClock {
  public:
    virtual ~FrameClock() = default;
    virtual qint64 now() const = 0;
    // Calls `wake` once, from the event loop, `ms` milliseconds from now. A wake-up still
    // pending is replaced.
    virtual void wakeAfter(qint64 ms, std::function<void()> wake) = 0;
};

// The real clock: the steady clock and a single-shot timer of the event loop.
class SteadyFrameClock final : public FrameClock {
  public:
    SteadyFrameClock();
    qint64 now() const override { return elapsed_.elapsed(); }
    void wakeAfter(qint64 ms, std::function<void()> wake) override;

  private:
    QElapsedTimer elapsed_;
    QTimer timer_;
    std::function<void()> wake_;
};

// Keeps a stream of changes to some widgets (a run's points, hundreds a second) from repainting
// them more than about 30 times a second, and from leaving them more than one frame behind.
//
// A change that comes a frame or more after the last frame is shown at the next event pass, as
// if there were no throttle. A change that comes sooner holds the widgets' repaints back until
// the frame is due: the clock then wakes the throttle, which lets them repaint with every
// change held since. flush() shows what is held at once.
class RepaintThrottle {
  public:
    static constexpr qint64 kFrameMs = 33;

    // The widgets must outlive the throttle, which lets them repaint when it goes.
    RepaintThrottle(std::vector<QWidget*> widgets, FrameClock& clock);
    ~RepaintThrottle() { flush(); }
    RepaintThrottle(const RepaintThrottle&) = delete;
    RepaintThrottle& operator=(const RepaintThrottle&) = delete;

    // To be called before each change to the widgets.
    void beforeChange();
    // Lets the widgets repaint now, with every change so far.
    void flush();

  private:
    void showFrame(qint64 now);
    void wake();

    std::vector<QWidget*> widgets_;
    FrameClock& clock_;
    // When the last frame was let through; far enough back that the first change shows.
    qint64 lastFrame_ = -kFrameMs;
    bool holding_ = false;
    bool wakePending_ = false;
    // A frame has been let through and the event pass that paints it has not come yet.
    bool frameOpen_ = false;
    // Carries the call that the next event pass makes.
    QObject passes_;
};

}  // namespace lorvane
