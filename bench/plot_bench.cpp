// Speed of the results view: DrawPlot over a full table, and the results table's find, insert
// and append, whose cost per row should stay flat from 100 to 30,000 rows. The list and the
// plot are real widgets on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTableView>
#include <cmath>
#include <memory>

#include "command_set.h"
#include "measure_mode.h"
#include "plot_box.h"
#include "result_row.h"
#include "result_table.h"
#include "results_view.h"
#include "status_panels.h"

namespace {

using namespace lorvane;
using namespace Qt::Literals::StringLiterals;

ResultRow pointRow(double x) {
    return makeResultRow(x, 100 + 50 * std::sin(x / 500), 45 * std::cos(x / 700),
                         conversionFor(MeasureMode::Impedance));
}

// The results view on widgets the size of the main window's.
struct ViewBench {
    ViewBench() {
        list->setGeometry(0, 83, 234, 277);
        list->setModel(&table);
        plot->setGeometry(233, 82, 396, 276);
        view = std::make_unique<ResultsView>(table, *list, *plot, *status, PanelTexts{});
    }
    QWidget window;
    ResultTable table;
    QTableView* list = new QTableView(&window);
    PlotBox* plot = new PlotBox(&window);
    StatusPanels* status = new StatusPanels(&window);
    std::unique_ptr<ResultsView> view;
};

// DrawPlot over a full table: the first reading alone on linear axes (both:0), or both
// readings, the first on a log axis against a log sweep axis (both:1).
void BM_DrawPlot(benchmark::State& state) {
    ViewBench bench;
    const auto points = static_cast<int>(state.range(0));
    const bool both = state.range(1) != 0;
    // The second reading shows by default for a phase, and not for a dissipation factor.
    bench.view->setColumnUnits({u"kHz"_s, u"Ohm"_s, both ? u"°"_s : u"D"_s});
    for (int i = 1; i <= points; ++i) bench.view->addRow(pointRow(i));
    bench.view->plot().setLogX(both);
    bench.view->plot().setLogY(both);
    for (auto _ : state) bench.view->DrawPlot(1, points - 1, 50, 150);
    if (!bench.view->PlotReady()) state.SkipWithError("the plot was not drawn");
    if (bench.plot->scale()->x.range().log != both) state.SkipWithError("wrong axes");
}
BENCHMARK(BM_DrawPlot)
    ->ArgsProduct({{30000}, {0, 1}})
    ->ArgNames({"points", "both"})
    ->Unit(benchmark::kMillisecond);

// Time per row, as a counter: the whole fill is timed, divided by the number of rows.
void perRow(benchmark::State& state, int rows) {
    state.counters["per_row"] = benchmark::Counter(
        rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A sweep's rows as the run adds them: look for the sweep value, then append in order.
void BM_TableFillInSweepOrder(benchmark::State& state) {
    const auto rows = static_cast<int>(state.range(0));
    std::vector<ResultRow> sweep;
    for (int i = 0; i < rows; ++i) sweep.push_back(pointRow(i));
    for (auto _ : state) {
        ResultTable table;
        for (const ResultRow& row : sweep) {
            table.removeRowWithSweepText(row.x);
            table.addRow(row);
        }
        benchmark::DoNotOptimize(table.rows());
    }
    perRow(state, rows);
}
BENCHMARK(BM_TableFillInSweepOrder)->Arg(100)->Arg(1000)->Arg(30000)->Unit(benchmark::kMicrosecond);

// A merged run re-measuring a full table: every row is found and replaced in place.
void BM_TableReplaceEveryRow(benchmark::State& state) {
    const auto rows = static_cast<int>(state.range(0));
    std::vector<ResultRow> sweep;
    for (int i = 0; i < rows; ++i) sweep.push_back(pointRow(i));
    ResultTable table;
    for (const ResultRow& row : sweep) table.addRow(row);
    for (auto _ : state) {
        for (const ResultRow& row : sweep) {
            table.removeRowWithSweepText(row.x);
            table.addRow(row);
        }
    }
    perRow(state, rows);
}
BENCHMARK(BM_TableReplaceEveryRow)->Arg(100)->Arg(1000)->Arg(30000)->Unit(benchmark::kMicrosecond);

void BM_TableFind(benchmark::State& state) {
    const auto rows = static_cast<int>(state.range(0));
    ResultTable table;
    std::vector<QString> texts;
    for (int i = 0; i < rows; ++i) {
        texts.push_back(table.row(table.addRow(pointRow(i))).x);
    }
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.findRow(texts[next]));
        next = (next + 7919) % texts.size();
    }
}
BENCHMARK(BM_TableFind)->Arg(100)->Arg(1000)->Arg(30000);

// The list's side of one point of a run: the row added, then selected in a shown list.
void BM_ListPointOfARun(benchmark::State& state) {
    ViewBench bench;
    const auto rows = static_cast<int>(state.range(0));
    for (int i = 0; i < rows; ++i) bench.view->addRow(pointRow(i));
    bench.window.show();
    QCoreApplication::processEvents();
    double x = rows;
    for (auto _ : state) {
        bench.view->addRow(pointRow(x));
        bench.view->followRow(bench.view->rowCount() - 1);
        state.PauseTiming();
        bench.view->removeRowWithSweepText(sweepText(x));
        x += 1;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ListPointOfARun)->Arg(100)->Arg(1000)->Arg(30000)->Unit(benchmark::kMicrosecond);

}  // namespace
