#include "results_adapters.h"

#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QTableView>

#include "clipboard_copy.h"
#include "export_fakes.h"
#include "fake_platform.h"
#include "number_format.h"
#include "plot_box.h"
#include "result_row.h"
#include "result_table.h"
#include "results_view.h"
#include "status_panels.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

ResultRow rowOf(double x, double z, double phi) {
    return {sortKey(x), sweepText(x), formatNumber(z, u"0.000"_s), formatNumber(phi, u"0.000"_s)};
}

// The results view of a window, with a plot drawn over three points.
struct ResultsFixture : ::testing::Test {
    ResultsFixture() {
        window.resize(640, 400);
        list.setGeometry(0, 0, 300, 300);
        plot.setGeometry(320, 0, 300, 300);
        list.setModel(&table);
        PanelTexts texts;
        texts.quantityLabel = [] { return std::array<QString, 3>{u"Freq."_s, u"Z"_s, u"Phi"_s}; };
        results.emplace(table, list, plot, status, texts);
        results->setColumnUnits({u"kHz"_s, u"Ohm"_s, u"°"_s});
        results->addRow(rowOf(1, 10, -5));
        results->addRow(rowOf(2, 20, 5));
        results->addRow(rowOf(3, 30, 15));
        results->DrawPlot(1, 3, 10, 30);
    }

    int selectedRows() const {
        return static_cast<int>(list.selectionModel()->selectedRows(1).size());
    }

    QWidget window;
    QTableView list{&window};
    PlotBox plot{&window};
    StatusPanels status{&window};
    ResultTable table;
    std::optional<ResultsView> results;
};

using ResultsAdaptersTest = ResultsFixture;

TEST_F(ResultsAdaptersTest, TheCopySelectsAllRowsAsOneRangeAndEndsWithNoneSelected) {
    ASSERT_TRUE(results->PlotReady());
    ResultsExportTable exportTable(table, [] { return gainSetup(); });
    EXPECT_EQ(exportTable.setup().measureCaption, u"G");
    ResultsExportView exportView(*results);
    FakePlatform platform;
    FakeClipboard clipboard;
    std::vector<int> selected;
    std::vector<qsizetype> ranges;
    std::vector<QAbstractItemView::SelectionMode> modes;
    platform.onEvents = [&] {
        if (platform.sleeps.empty()) {
            selected.push_back(selectedRows());
            ranges.push_back(list.selectionModel()->selection().size());
            modes.push_back(list.selectionMode());
        }
    };
    ClipboardCopy(exportTable, exportView, platform, clipboard).run();

    EXPECT_EQ(selected, std::vector<int>{3});
    EXPECT_EQ(ranges, std::vector<qsizetype>{1});
    EXPECT_EQ(modes.front(), QAbstractItemView::MultiSelection);
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(selectedRows(), 0);
    // The current cell is the sweep value of the first row, as after a run.
    EXPECT_EQ(list.currentIndex(), table.index(0, 1));
    // The last row was clicked: its point is the highlighted one and the panels show it.
    EXPECT_EQ(results->HighlightPoint(), QPointF(3, 30));
    EXPECT_EQ(status.panelText(u"DAT1"_s), readoutText(u"Freq."_s, 3, u"kHz"_s));
    EXPECT_EQ(status.panelText(u"DAT2"_s), readoutText(u"Z"_s, 30, u"Ohm"_s));
    EXPECT_EQ(clipboard.text,
              u"Freq. (kHz)\tA (dB)\tB (°)\t\r\n"_s + loc("1.000\t10.000\t-5.000\t\r\n"
                                                          "2.000\t20.000\t 5.000\t\r\n"
                                                          "3.000\t30.000\t15.000\t\r\n"));
}

TEST_F(ResultsAdaptersTest, MessagesReachTheStatusBarAndRowsThatAreGoneAreIgnored) {
    ResultsExportView exportView(*results);
    exportView.showMessage(u"Sheet Freq_Z written to /tmp/Lorvane.xlsx"_s);
    EXPECT_EQ(status.message(), u"Sheet Freq_Z written to /tmp/Lorvane.xlsx");
    results->ClearResults();
    exportView.selectRow(2);
    exportView.unselectRow(2);
    exportView.Data_ItemClick(2);
    EXPECT_EQ(selectedRows(), 0);
    EXPECT_EQ(results->HighlightPoint().x(), kNoHighlight);
    results->addRow(rowOf(1, 10, -5));
    results->DrawPlot(1, 1, 10, 10);
    exportView.Data_ItemClick(0);
    EXPECT_EQ(results->HighlightPoint(), QPointF(1, 10));
}

}  // namespace
}  // namespace lorvane::test
