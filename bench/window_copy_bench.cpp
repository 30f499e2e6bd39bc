// Cost of the C shortcut in the real window: the main window on Qt's offscreen platform with a
// plotted sweep of N rows in its results list, the copy wired to it as the program wires it
// (ResultsExportTable, ResultsExportView, the Qt clipboard), from the key release to the text
// on the clipboard. The time per row should stay flat from 1,000 to 30,000 rows.
//
// The second argument says whether the copy's two 200 ms pauses around the clipboard are
// really waited (1, the desktop as the operator has it) or skipped (0, the copy's own work).
#include <benchmark/benchmark.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QRadioButton>
#include <memory>

#include "bench_support.h"
#include "clipboard_copy.h"
#include "command_set.h"
#include "main_window.h"
#include "qt_platform.h"
#include "result_row.h"
#include "result_table.h"
#include "results_adapters.h"
#include "results_view.h"
#include "selections.h"

namespace {

using namespace lorvane;

// The window after an impedance sweep of `rows` points, plotted.
struct WindowCopy {
    explicit WindowCopy(int rows) {
        window = std::make_unique<MainWindow>(platform);
        window->controls().lSwp[0]->setChecked(true);
        window->selections().lMod_Click(0);
        ResultsView& view = window->resultsView();
        const ModeConversion& conversion = conversionFor(MeasureMode::Impedance);
        view.setColumnUnits(columnUnitsFor(MeasureMode::Impedance, SweepParam::Frequency));
        for (int i = 1; i <= rows; ++i)
            view.addRow(makeResultRow(i, 100 + i * 0.25, -1.5, conversion));
        view.DrawPlot(1, rows, 100, 100 + rows * 0.25);
        window->show();
        QCoreApplication::processEvents();
        table = std::make_unique<ResultsExportTable>(window->results(), [this] {
            ExportSetup setup;
            setup.quantityLabel = window->state().QuantityLabel;
            setup.columnUnits = window->resultsView().columnUnits();
            return setup;
        });
        exportView = std::make_unique<ResultsExportView>(view);
    }

    bench::InstantPlatform platform{true};
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<ResultsExportTable> table;
    std::unique_ptr<ResultsExportView> exportView;
    QtClipboard clipboard;
};

void BM_WindowCopy(benchmark::State& state) {
    const auto rows = static_cast<int>(state.range(0));
    WindowCopy bench(rows);
    bench::InstantPlatform instant(true);
    QtPlatform desktop;
    Platform& platform = state.range(1) != 0 ? static_cast<Platform&>(desktop) : instant;
    ClipboardCopy copy(*bench.table, *bench.exportView, platform, bench.clipboard);
    for (auto _ : state) copy.run();
    // Header and one line per row.
    if (QGuiApplication::clipboard()->text().count(QLatin1Char('\n')) != rows + 1)
        state.SkipWithError("the clipboard does not hold every row");
    state.counters["per_row"] = benchmark::Counter(
        rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
// Wall-clock time: Qt's raster engine hands part of the painting to worker threads.
BENCHMARK(BM_WindowCopy)
    ->ArgsProduct({{1000, 3000, 30000}, {1, 0}})
    ->ArgNames({"rows", "pauses"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
