#include "clipboard_copy.h"
#include "clipboard_text.h"

#include <QTableView>

#include "export_rig.h"
#include "number_format.h"
#include "plot_box.h"
#include "result_table.h"
#include "results_adapters.h"
#include "results_view.h"
#include "status_panels.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using Tracked = std::array<int64_t, 3>;

const QString kHeader = u"Freq. (kHz)\tZ (Ohm)\tPhi (°)\t\r\n"_s;

TEST(ClipboardText, ColumnsArePaddedToTheWidthOfTheLargestValueSeenSoFar) {
    const QString huge = u"100000000000000000000.000"_s;
    // Once negative, every later cell takes over; a sign widens; huge values hold the limits.
    const std::tuple<ExportRows, QString, Tracked> cases[] = {
        {{}, "", {0, 1, 2}},
        {{locRow("0.500", "1.000", "2.000"), locRow("12.000", "3.000", "4.000"),
          locRow("100.000", "5.000", "6.000")},
         "  0.500\t1.000\t2.000\t\r\n 12.000\t3.000\t4.000\t\r\n100.000\t5.000\t6.000\t\r\n",
         {100, 5, 6}},
        {{locRow("1.000", "1.000", "-5.000"), locRow("2.000", "1.000", "3.000")},
         "1.000\t1.000\t-5.000\t\r\n2.000\t1.000\t3.000\t\r\n",
         {2, 1, 3}},
        {{locRow("1.000", "1.000", "3.000"), locRow("2.000", "1.000", "-5.000")},
         "1.000\t1.000\t 3.000\t\r\n2.000\t1.000\t-5.000\t\r\n",
         {2, 1, -5}},
        {{locRow("40000.000", "123456.789", "1.000"), locRow("5.000", "1.500", "-32767.500")},
         "40000.000\t123456.789\t     1.000\t\r\n    5.000\t     1.500\t-32767.500\t\r\n",
         {40000, 123457, -32768}},
        {{locRow(huge, "1.000", "1.000"), locRow("1.000", "-" + huge, "1.000")},
         huge + "\t" + QString(19, u' ') + "1.000\t1.000\t\r\n" + QString(18, u' ') + "1.000\t-" +
             huge + "\t1.000\t\r\n",
         {INT64_MAX, INT64_MIN, 2}},
    };
    for (const auto& [rows, lines, tracked] : cases) {
        ColumnWidthTracker tracker;
        for (const ExportRow& row : rows) tracker.add(row);
        EXPECT_EQ(tracker.tracked(), tracked) << lines.toStdString();
        EXPECT_EQ(clipboardText({u"Freq."_s, u"Z"_s, u"Phi"_s}, {u"kHz"_s, u"Ohm"_s, u"°"_s}, rows),
                  kHeader + loc(lines));
    }
    // Int() rounds down, so -0.5 exceeds 0; the value kept rounds half to even. Under a decimal
    // comma "-2,500" starts with -2, which does not exceed 2.
    const std::tuple<QLocale::Language, ExportRow, Tracked> rounding[] = {
        {QLocale::English, {u"1.000"_s, u"1.000"_s, u"-2.500"_s}, {1, 1, -2}},
        {QLocale::English, {u"-0.500"_s, u"1.000"_s, u"1.000"_s}, {0, 1, 2}},
        {QLocale::English, {u"2.500"_s, u"1.000"_s, u"1.000"_s}, {2, 1, 2}},
        {QLocale::English, {u"3.500"_s, u"1.000"_s, u"1.000"_s}, {4, 1, 2}},
        {QLocale::German, {u"1,000"_s, u"1,000"_s, u"-2,500"_s}, {1, 1, 2}},
        {QLocale::German, {u"3,500"_s, u"1,000"_s, u"1,000"_s}, {4, 1, 2}},
    };
    for (const auto& [language, row, tracked] : rounding) {
        const ScopedLocale locale{QLocale(language)};
        ColumnWidthTracker tracker;
        tracker.add(row);
        EXPECT_EQ(tracker.tracked(), tracked) << row[0].toStdString() << row[2].toStdString();
    }
}

TEST(ClipboardCopyRows, SelectsEveryRowAtOnceThenSetsTheClipboardBetweenTwoWaits) {
    const ExportRows three = {locRow("0.500", "1.000", "2.000"), locRow("12.000", "3.000", "4.000"),
                              locRow("3.000", "5.000", "6.000")};
    const QStringList end{"unhighlight", "sleep:200", "clear", "set", "sleep:200", "single"};
    const std::tuple<qsizetype, QString, QStringList> cases[] = {
        {0, "", QStringList{"multi"} + end},
        {1, "0.500\t1.000\t2.000\t\r\n",
         QStringList{"multi", "selectAll", "click:0", "events"} + end +
             QStringList{"select:0", "unselect:0"}},
        {3, " 0.500\t1.000\t2.000\t\r\n12.000\t3.000\t4.000\t\r\n 3.000\t5.000\t6.000\t\r\n",
         QStringList{"multi", "selectAll", "click:2", "events"} + end +
             QStringList{"select:0", "unselect:0"}},
    };
    for (const auto& [count, lines, journal] : cases) {
        FakeTable table;
        FakeView view;
        FakePlatform platform;
        view.log = &platform.journal;
        table.rows.assign(three.begin(), three.begin() + count);
        ClipboardCopy(table, view, platform, view).run();
        EXPECT_EQ(view.text, kHeader + loc(lines));
        EXPECT_EQ(QStringList(platform.journal.begin(), platform.journal.end()), journal);
    }
    // The text holds the rows as they were when the key was released, even when the first
    // event pass empties the table; nothing is left to select at the end.
    FakeTable table;
    FakeView view;
    FakePlatform platform;
    table.rows = {locRow("1.000", "1.000", "1.000")};
    platform.onEvents = [&table] { table.rows.clear(); };
    ClipboardCopy(table, view, platform, view).run();
    EXPECT_EQ(view.text, kHeader + loc("1.000\t1.000\t1.000\t\r\n"));
    EXPECT_EQ(view.journal.back(), u"single");
}

// The copy on the results view of a window, with a plot drawn over three points: every row
// is selected as one range while it copies, and none at its end.
TEST(ResultsAdapters, TheCopySelectsAllRowsAsOneRangeAndEndsWithNoneSelected) {
    QWidget window;
    QTableView list(&window);
    PlotBox plot(&window);
    StatusPanels status(&window);
    ResultTable table;
    plot.setGeometry(320, 0, 300, 300);
    list.setModel(&table);
    ResultsView results(table, list, plot, status,
                        {[] {
                             return std::array<QString, 3>{"Freq.", "Z", "Phi"};
                         },
                         {},
                         {}});
    results.setColumnUnits({u"kHz"_s, u"Ohm"_s, u"°"_s});
    for (const double x : {1, 2, 3})
        results.addRow({sortKey(x), sweepText(x), formatNumber(10 * x, u"0.000"_s),
                        formatNumber(10 * x - 15, u"0.000"_s)});
    results.DrawPlot(1, 3, 10, 30);
    const ResultsExportTable exportTable(table, [] { return sweepSetup(true); });
    ResultsExportView exportView(results);
    FakePlatform platform;
    FakeView clipboard;
    QStringList seen;
    const auto selection = [&] {
        return QStringLiteral("%1 rows in %2 ranges, mode %3")
            .arg(list.selectionModel()->selectedRows(1).size())
            .arg(list.selectionModel()->selection().size())
            .arg(list.selectionMode());
    };
    platform.onEvents = [&] { seen << selection(); };
    ClipboardCopy(exportTable, exportView, platform, clipboard).run();
    EXPECT_EQ(seen.value(0), "3 rows in 1 ranges, mode 2");
    EXPECT_EQ(selection(), "0 rows in 0 ranges, mode 1");
    EXPECT_EQ(list.currentIndex(), table.index(0, 1));  // the sweep value, as after a run
    // The last row was clicked and then turned back to the trace colour.
    EXPECT_EQ(status.panelText(u"DAT1"_s) + status.panelText(u"DAT2"_s),
              readoutText(u"Freq."_s, 3, u"kHz"_s) + readoutText(u"Z"_s, 30, u"Ohm"_s));
    EXPECT_EQ(clipboard.text, u"Freq. (kHz)\tA (dB)\tB (°)\t\r\n"_s +
                                  loc("1.000\t10.000\t-5.000\t\r\n2.000\t20.000\t 5.000\t\r\n"
                                      "3.000\t30.000\t15.000\t\r\n"));
    // A click on row 0 shows it; messages reach the status bar; gone rows are ignored.
    exportView.Data_ItemClick(0);
    EXPECT_EQ(results.HighlightPoint(), QPointF(1, 10));
    exportView.showMessage(u"Sheet Freq_Z written"_s);
    EXPECT_EQ(status.message(), u"Sheet Freq_Z written");
    results.ClearResults();
    for (const int row : {2, -1}) {
        exportView.selectRow(row);
        exportView.unselectRow(row);
        exportView.Data_ItemClick(row);
    }
    EXPECT_EQ(status.panelText(u"DAT1"_s), readoutText(u"Freq."_s, 1, u"kHz"_s));
}

}  // namespace
}  // namespace lorvane::test
