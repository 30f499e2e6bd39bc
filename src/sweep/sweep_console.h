#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "platform.h"
#include "run_interfaces.h"

namespace lorvane {

// The console side of lorvane-sweep: the platform seam on standard error, and the progress of
// the run on a terminal.

// The progress line: points done of the total with the percentage (or the points done alone),
// the last reading and the time left when known: "37/91 40% K:+05.000000 ZF:+3.1800E+03
// TD:-89.820E+00 ETA 0:54".
QString progressLine(int64_t done, std::optional<int64_t> total, const QString& lastReading,
                     std::optional<int64_t> remainingMs);

// The summary line of a run: "91 points in 0:05, 54.8 ms per point".
QString summaryLine(int64_t points, int64_t elapsedMs);

// Message boxes become lines on standard error ("lorvane-sweep: No response from command.
// Verify GPIB Configuration") and are answered with their first button; no beeps; waits are
// real and let the event loop run.
class ConsolePlatform final : public Platform {
  public:
    MsgResult messageBox(const MessageRequest& request) override;
    void beep() override {}
    void processEvents() override;
    void sleep(int ms) override;
    QSize screenSize() const override { return {}; }
};

// The run's view without a window: it shows the progress in place on standard error when that
// is a terminal (and `shown`), and ignores the plot and the column units.
class ConsoleProgress final : public RunView {
  public:
    explicit ConsoleProgress(bool shown) : shown_(shown) { clock_.start(); }

    void setPanelText(const QString& key, const QString& text) override;
    void setColumnUnits(const ColumnUnits&) override {}
    void showNote(const QString&) override {}
    void resetHighlight() override {}
    void DrawPlot(double, double, double, double) override {}
    void showProgress(int64_t done, std::optional<int64_t> total) override;
    void endProgress() override;

    // Milliseconds since the first point was asked for.
    int64_t elapsedMs() const { return clock_.elapsed(); }

  private:
    bool shown_;
    bool drawn_ = false;
    QElapsedTimer clock_;
    QString in_, dat1_, dat2_;
};

// Writes a line to standard error, prefixed with the program's name.
void printError(const QString& text);

}  // namespace lorvane
