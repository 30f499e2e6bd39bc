// Cost of one measured point of a run, apart from the instrument: a link that answers at once
// with readings made up on the fly, no waits, and results, view and panel that only keep what
// they are given. The figure to watch is the time per point, which should stay flat from 100
// to 30,000 points.
#include <benchmark/benchmark.h>

#include <QHash>
#include <QString>
#include <vector>

#include "bench_support.h"
#include "measurement_run.h"

namespace {

using namespace lorvane;

class BenchPanel final : public RunPanel {
  public:
    explicit BenchPanel(int points) {
        snap_.frequency = {1000, 1000.0 * points, 1000};
        snap_.oscillatorText = QStringLiteral("500");
    }
    PanelSnapshot snapshot() const override { return snap_; }
    std::array<double, 3>& previousRange(SweepParam) override { return previous_; }
    bool stopRequest() const override { return false; }
    void setStopRequest(bool) override {}
    bool mergeOption() const override { return false; }
    void setStepText(SweepParam, const QString&) override {}
    void clearAutoStep() override {}
    QString runCaption(int index) const override { return captions_[index]; }
    void setRunCaption(int index, const QString& caption) override { captions_[index] = caption; }
    void setRunEnabled(int, bool) override {}
    void setRefButtonColour(RefButtonColour) override {}
    void EnablePanel(bool) override {}
    bool closing() const override { return false; }

  private:
    PanelSnapshot snap_;
    std::array<double, 3> previous_{};
    std::array<QString, 2> captions_{QStringLiteral("&Run"), QStringLiteral("&Ref.")};
};

// Keeps the rows in measuring order with a hash from sweep text to row, as the real list
// finds rows; the sweep here never repeats a value, so rows are only appended.
class BenchResults final : public RunResults {
  public:
    void ClearResults() override {
        rows_.clear();
        index_.clear();
    }
    bool PlotReady() const override { return false; }
    void setBackground(ListBackground) override {}
    void removeRowWithSweepText(const QString& sweepText) override { index_.remove(sweepText); }
    void addRow(const ResultRow& row) override {
        index_.insert(row.x, static_cast<int64_t>(rows_.size()));
        rows_.push_back(row);
    }
    int64_t rowCount() const override { return static_cast<int64_t>(rows_.size()); }
    std::array<QString, 3> rowValues(int64_t row) const override {
        const ResultRow& r = rows_[static_cast<size_t>(row)];
        return {r.x, r.dat1, r.dat2};
    }
    void followRow(int64_t row) override { selected_ = row; }
    void showFirstRow() override { selected_ = 0; }

  private:
    std::vector<ResultRow> rows_;
    QHash<QString, int64_t> index_;
    int64_t selected_ = -1;
};

class BenchView final : public RunView {
  public:
    void setPanelText(const QString& key, const QString& text) override {
        (key == QLatin1String("IN") ? in_ : data_) = text;
    }
    void setColumnUnits(const ColumnUnits&) override {}
    void showNote(const QString&) override {}
    void resetHighlight() override {}
    void DrawPlot(double, double, double, double) override {}
    void showProgress(int64_t done, std::optional<int64_t>) override { done_ = done; }
    void endProgress() override {}

  private:
    int64_t done_ = 0;
    QString in_;
    QString data_;
};

void BM_RunPerPoint(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    bench::InstantLink link;
    BenchPanel panel(points);
    BenchResults results;
    BenchView view;
    bench::NoSettings settings;
    bench::InstantPlatform platform;
    MeasurementRun run(link, panel, results, view, settings, platform);
    for (auto _ : state) {
        run.Run_Click(0);
        benchmark::DoNotOptimize(results.rowCount());
    }
    // Seconds per point, shown in the time unit of the report.
    state.counters["per_point"] = benchmark::Counter(
        static_cast<double>(points),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RunPerPoint)->Arg(100)->Arg(1000)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace
