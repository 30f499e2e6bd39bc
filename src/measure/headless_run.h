#pragma once

#include <array>
#include <atomic>

#include "run_interfaces.h"

namespace lorvane {

// What the measurement run works against when there is no window: a front panel that holds one
// set-up, and results that are kept nowhere but in the run's journal. A program without a
// display (the sweep program) runs the window's own run on these, so that it sends the same
// texts for the same set-up.

// The front panel of a run without a window: a fixed set-up and the Run buttons' captions,
// which no one sees. A stop can be asked for at any moment, also from a signal handler.
class HeadlessPanel final : public RunPanel {
  public:
    explicit HeadlessPanel(PanelSnapshot setup) : setup_(std::move(setup)) {}

    // Asks the run to end after the point it is reading, as the Stop button does; the request
    // stays. Safe to call from a signal handler.
    void interrupt() noexcept { interrupted_.store(true); }
    bool interrupted() const { return interrupted_.load(); }

    PanelSnapshot snapshot() const override { return setup_; }
    std::array<double, 3>& previousRange(SweepParam sweep) override;
    bool stopRequest() const override { return request_ || interrupted(); }
    // Clears the run's own request, never an interrupt.
    void setStopRequest(bool request) override { request_ = request; }
    bool mergeOption() const override { return false; }
    void setStepText(SweepParam, const QString&) override {}
    void clearAutoStep() override {}
    QString runCaption(int index) const override;
    void setRunCaption(int index, const QString& caption) override;
    void setRunEnabled(int, bool) override {}
    void setRefButtonColour(RefButtonColour) override {}
    void EnablePanel(bool) override {}
    bool closing() const override { return false; }

  private:
    PanelSnapshot setup_;
    std::array<std::array<double, 3>, 2> previous_{};
    std::array<QString, 2> captions_{QStringLiteral("&Run"), QStringLiteral("&Ref.")};
    bool request_ = false;
    std::atomic<bool> interrupted_{false};
    static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
};

// The results of a run without a list: it counts the rows it is given and keeps none of them.
// Every run starts it empty, and it never has a plot.
class HeadlessResults final : public RunResults {
  public:
    void ClearResults() override { rows_ = 0; }
    bool PlotReady() const override { return false; }
    void setBackground(ListBackground) override {}
    void removeRowWithSweepText(const QString&) override {}
    void addRow(const ResultRow&) override { ++rows_; }
    int64_t rowCount() const override { return rows_; }
    std::array<QString, 3> rowValues(int64_t) const override { return {}; }
    void followRow(int64_t) override {}
    void showFirstRow() override {}

  private:
    int64_t rows_ = 0;
};

}  // namespace lorvane
