// Cost of one measured point of a run in the real window: the main window on Qt's offscreen
// platform with its results list, plot and status bar, the run wired to it as the program wires
// it, and the event pass after every point. Only the instrument is left out: a link that
// answers at once and a desktop that never waits. The time per point should stay flat from 100
// to 30,000 points.
//
// The second argument shows the window (1) or leaves it hidden (0). Shown, every event pass
// repaints the list, its scroll bar and the status bar, as on the desktop; hidden, the figure
// is the run, the list's model and view without painting. The third argument gives the run
// the window's crash journal (1), which writes and flushes every point to a file before it is
// shown, or none (0).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QRadioButton>
#include <QTemporaryDir>
#include <memory>

#include "bench_support.h"
#include "crash_journal.h"
#include "main_window.h"
#include "measurement_run.h"
#include "result_table.h"
#include "results_view.h"
#include "selections.h"
#include "window_run_panel.h"

namespace {

using namespace lorvane;

// The window set up for an impedance sweep from 1 kHz to `points` kHz in 1 kHz steps.
struct WindowRun {
    WindowRun(int points, bool shown, bool journaled) {
        window = std::make_unique<MainWindow>(platform);
        panel = std::make_unique<WindowRunPanel>(*window);
        window->controls().lSwp[0]->setChecked(true);
        window->selections().lMod_Click(0);
        window->SetFrequency(0, 1000, false);
        window->SetFrequency(1, 1000.0 * points, false);
        window->SetFrequency(2, 1000, false);
        if (shown) window->show();
        QCoreApplication::processEvents();
        run = std::make_unique<MeasurementRun>(link, *panel, window->resultsView(),
                                               window->resultsView(), settings, platform);
        if (journaled) run->setJournal(&journal);
    }

    bench::InstantLink link;
    bench::NoSettings settings;
    bench::InstantPlatform platform{true};
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<WindowRunPanel> panel;
    std::unique_ptr<MeasurementRun> run;
    QTemporaryDir folder;
    CrashJournal journal{folder.path(), QStringLiteral("Lorvane")};
};

// One iteration is a whole run: the list cleared, `points` rows added and followed, the plot
// drawn at the end.
void BM_WindowRunPerPoint(benchmark::State& state) {
    const auto points = static_cast<int>(state.range(0));
    WindowRun bench(points, state.range(1) != 0, state.range(2) != 0);
    for (auto _ : state) bench.run->Run_Click(0);
    if (bench.window->results().rows() != points) {
        state.SkipWithError("the run did not read every point");
    }
    // Seconds per point, shown in the time unit of the report.
    state.counters["per_point"] = benchmark::Counter(
        static_cast<double>(points),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
// Wall-clock time: Qt's raster engine hands part of the painting to worker threads.
BENCHMARK(BM_WindowRunPerPoint)
    ->ArgsProduct({{100, 1000, 30000}, {1, 0}, {0, 1}})
    ->ArgNames({"points", "shown", "journal"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
