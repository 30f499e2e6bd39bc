// Speed of the three exports on a long sweep of 30,000 rows: the clipboard text (without the
// row-by-row highlight, whose event passes and waits belong to the user interface), the whole
// workbook export with its .xlsx file and that file's writing alone, and the whole ZPlots
// export with its scan file.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "clipboard_text.h"
#include "number_format.h"
#include "platform.h"
#include "workbook_export.h"
#include "workbook_model.h"
#include "xlsx_file.h"
#include "zplots_export.h"

namespace {

using namespace lorvane;

constexpr int kRows = 30000;

ExportRows sweepRows() {
    ExportRows rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        const double x = 0.005 + i * 0.433;
        rows.push_back({formatNumber(x, QStringLiteral("0.000")),
                        formatNumber(-40 + i * 0.001, QStringLiteral("0.00000")),
                        formatNumber(-180 + i * 0.012, QStringLiteral("0.000"))});
    }
    return rows;
}

class SweepTable final : public ExportTable {
  public:
    int rowCount() const override { return kRows; }
    ExportRow rowValues(int row) const override { return rows_[static_cast<size_t>(row)]; }
    ExportSetup setup() const override {
        ExportSetup setup;
        setup.quantityLabel = {QStringLiteral("Freq."), QStringLiteral("A"), QStringLiteral("B")};
        setup.columnUnits = {QStringLiteral("kHz"), QStringLiteral("dB"), QStringLiteral("°")};
        setup.mode = MeasureMode::Gain;
        setup.sweepCaption = QStringLiteral("Freq");
        setup.measureCaption = QStringLiteral("G");
        return setup;
    }

  private:
    ExportRows rows_ = sweepRows();
};

// Answers every box with OK at once and never waits.
class QuietPlatform final : public Platform {
  public:
    MsgResult messageBox(const MessageRequest&) override { return MsgResult::Ok; }
    void beep() override {}
    void processEvents() override {}
    void sleep(int) override {}
    QSize screenSize() const override { return {1280, 1024}; }
};

// Shows nothing: the figures are the program's own.
class NoSpreadsheet final : public SpreadsheetApp {
  public:
    bool available() const override { return true; }
    bool show(const QString&) override { return true; }
};

// Shows nothing either.
class NoView final : public ExportView {
  public:
    void setMultiSelection(bool) override {}
    void selectAllRows() override {}
    void selectRow(int) override {}
    void unselectRow(int) override {}
    void Data_ItemClick(int) override {}
    void UnhighlightPoint() override {}
    void showMessage(const QString&) override {}
};

void BM_ClipboardText(benchmark::State& state) {
    const SweepTable table;
    const ExportSetup setup = table.setup();
    const ExportRows rows = sweepRows();
    for (auto _ : state)
        benchmark::DoNotOptimize(clipboardText(setup.quantityLabel, setup.columnUnits, rows));
}
BENCHMARK(BM_ClipboardText)->Unit(benchmark::kMillisecond);

void BM_WorkbookExport(benchmark::State& state) {
    QTemporaryDir dir;
    const SweepTable table;
    QuietPlatform platform;
    NoView view;
    NoSpreadsheet app;
    WorkbookExport workbook(table, view, platform, app, dir.path());
    for (auto _ : state) workbook.run();
}
BENCHMARK(BM_WorkbookExport)->Unit(benchmark::kMillisecond);

// The file alone: a workbook with one sheet of 30,000 rows, written as .xlsx.
void BM_XlsxFile(benchmark::State& state) {
    QTemporaryDir dir;
    WorkbookModel model;
    Worksheet& sheet = model.addSheet(QStringLiteral("Freq_G"));
    for (int row = 2; row <= kRows + 1; ++row) {
        for (int column = 1; column <= Worksheet::kColumns; ++column) {
            WorkbookCell cell;
            cell.kind = WorkbookCell::Kind::Number;
            cell.number = row * 0.433 + column;
            cell.numberFormat = QStringLiteral("0.00");
            sheet.setCell(row, column, cell);
        }
    }
    const QString path = dir.filePath(QStringLiteral("Lorvane.xlsx"));
    for (auto _ : state) benchmark::DoNotOptimize(writeXlsxFile(model, path, nullptr));
}
BENCHMARK(BM_XlsxFile)->Unit(benchmark::kMillisecond);

void BM_ZPlotsExport(benchmark::State& state) {
    QTemporaryDir dir;
    const SweepTable table;
    QuietPlatform platform;
    NoSpreadsheet app;
    ZPlotsExport zplots(table, platform, app, [&dir] { return dir.path(); });
    for (auto _ : state) zplots.run();
}
BENCHMARK(BM_ZPlotsExport)->Unit(benchmark::kMillisecond);

}  // namespace
