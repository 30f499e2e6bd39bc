#include <QAbstractItemModelTester>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "view_rig.h"

namespace lorvane::test {
namespace {

// Each row as its sweep text and second reading.
QString rowsOf(const ResultTable& table) {
    QStringList texts;
    for (int i = 0; i < table.rows(); ++i) texts << table.cell(i, 2) + "=" + table.cell(i, 4);
    return texts.join(u' ');
}

TEST(ResultTable, RowsSortByKeyWithNegativeValuesFirstAndAReMeasuredPointReplacesItsRow) {
    ResultTable table;
    QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy removed(&table, &QAbstractItemModel::rowsRemoved);
    const std::tuple<const char*, const char*, const char*, int> rows[] = {
        {"000000.000", "0", "1", 0},
        {" 999989.999", "-10", "1", 0},
        {"000005.000", "5", "1", 2},
        {" 999979.999", "-20", "1", 0},
        {" 999987.499", "-12.5", "1", 1},
        {" 999987.499", "-12.5", "9", 1},
        {"K", "a", "", 5},
        {"K", "b", "", 6},
    };
    for (const auto& [key, x, dat2, at] : rows)
        EXPECT_EQ(table.addRow({dec(key), dec(x), {}, dec(dat2)}), at) << x;
    EXPECT_EQ(rowsOf(table), dec("-20=1 -12.5=9 -10=1 0=1 5=1 a= b="));
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 1);
    // Removing takes only the row of that sweep text, also among rows sharing a key.
    EXPECT_TRUE(table.removeRowWithSweepText(QStringLiteral("a")));
    EXPECT_TRUE(table.removeRowWithSweepText(dec("-10")));
    EXPECT_FALSE(table.removeRowWithSweepText(dec("-10")));
    EXPECT_FALSE(table.removeRowWithSweepText(QStringLiteral("-12;5")));
    EXPECT_EQ(rowsOf(table), dec("-20=1 -12.5=9 0=1 5=1 b="));
    EXPECT_EQ(table.findRow(QStringLiteral("b")), 4);

    EXPECT_FALSE(table.point(5));
    EXPECT_EQ(table.cell(-1, 2) + table.cell(0, 5), "");
    EXPECT_EQ(table.cell(0, 1), dec(" 999979.999"));
    // Clearing empties the rows and keeps the headings, whose changes the views hear of.
    QSignalSpy headings(&table, &QAbstractItemModel::headerDataChanged);
    table.setHeading(2, QStringLiteral("Freq. (kHz)"));
    table.setHeading(5, QStringLiteral("ignored"));
    table.clear();
    EXPECT_EQ(table.rows(), 0);
    ASSERT_EQ(headings.size(), 1);
    EXPECT_EQ(headings[0], (QVariantList{QVariant::fromValue(Qt::Horizontal), 1, 1}));
    EXPECT_EQ(table.headerData(0, Qt::Horizontal).toString() + table.heading(2) + table.heading(5),
              "XFreq. (kHz)");
}

TEST(ResultTable, ReadsCellsBackAsNumbersInTheUsersLocale) {
    // Group separators make no number ("1.500" in German, "1,500" in English).
    const std::pair<QString, std::optional<double>> cases[] = {
        {dec("-123.456"), -123.456},
        {dec(" 12.5 "), 12.5},
        {dec("-0.000"), -0.0},
        {dec("-"), {}},
        {dec("5."), 5.0},
        {QString(), {}},
        {dec("12.5.1"), {}},
        {"1" + QLocale().groupSeparator() + "500", {}},
    };
    for (const auto& [text, number] : cases) {
        ResultTable table;
        table.addRow({QStringLiteral("1"), dec("10.5"), text, text});
        const std::optional<QPointF> point = table.point(0);
        EXPECT_EQ(point, number ? std::optional(QPointF(10.5, *number)) : std::nullopt)
            << text.toStdString();
        EXPECT_EQ(std::signbit(point ? point->y() : 0.0), std::signbit(number.value_or(0)));
        EXPECT_EQ(table.leadingPoints(4).size(), number ? 1u : 0u);
    }
}

TEST_F(ResultsViewTest, ARowClickDrawsOnlyTheRedDotAndTheCursorShowsItsPosition) {
    // Before any plot the cursor changes nothing.
    view->fDraw_MouseMove({200, 150});
    EXPECT_EQ(panel("DAT1") + panel("DAT2"), "DATA 1DATA 2");
    runAndPlot();
    view->setPanelText("IN", "Run");
    const int red = pixelsOf(kRed);
    view->Data_ItemClick(1);
    EXPECT_EQ(pixelsOf(kRed), red + 9);
    EXPECT_EQ(view->HighlightPoint(), QPointF(200, 150));
    EXPECT_EQ(panel("IN") + "|" + panel("DAT1") + "|" + panel("DAT2"),
              "|Freq.:" + dec("200.00 kHz|Z:150.00 Ohm"));
    // A second click leaves the first point in the trace colour.
    view->Data_ItemClick(2);
    EXPECT_EQ(pixelAt({200, 150}), kTrace);
    EXPECT_EQ(pixelAt({290, 200}), kRed);
    // A fresh drawing has no red point, also when a choice draws it again.
    view->DrawPlot(100, 300, 100, 200);
    view->plot().setSecondShown(false);
    EXPECT_EQ(pixelsOf(kRed), red);
    // The cursor over the plot shows its position and turns the red point back.
    view->Data_ItemClick(0);
    view->setPanelText("IN", "Run");
    view->fDraw_MouseMove({250.5, 175.254});
    EXPECT_EQ(panel("IN") + "|" + panel("DAT1") + "|" + panel("DAT2"),
              "|Freq.:" + dec("250.50 kHz|Z:175.25 Ohm"));
    EXPECT_EQ(pixelAt({100, 100}), kTrace);
    view->Data_ItemClick(0);
    EXPECT_EQ(pixelAt({100, 100}), kRed);
    // Moving onto the list empties the readout, once.
    view->Data_MouseMove();
    EXPECT_EQ(panel("IN") + panel("DAT1") + panel("DAT2"), "");
    view->setPanelText("DAT1", "kept");
    view->Data_MouseMove();
    EXPECT_EQ(panel("DAT1"), "kept");
}

TEST_F(ResultsViewTest, ARisingReadingIsDrawnRisingWithTicksGridAndRedZeroLines) {
    runAndPlot();
    const QPoint first = *plot->scale()->pixelOf({100, 100});
    const QPoint last = *plot->scale()->pixelOf({290, 200});
    EXPECT_TRUE(last.y() < first.y() && last.x() > first.x());
    // Tick marks stick out of the area: black pixels left of it at a tick (100 Ohm).
    const int tick = *plot->scale()->y.pixelOf(100);
    EXPECT_EQ(plot->picture().pixel(plot->scale()->x.start() - 2, tick), qRgb(0, 0, 0));
    EXPECT_GT(pixelsOf(qRgb(127, 127, 127)), 1000);
    // Clearing wipes the picture and the rows, not the panels; a click then draws nothing.
    view->ClearResults();
    EXPECT_FALSE(view->PlotReady());
    view->Data_ItemClick(0);
    EXPECT_EQ(pixelsOf(qRgb(255, 255, 255)), plot->picture().width() * plot->picture().height());
    // Zero lines are red and one pixel wide; a point on them keeps its colour.
    add(-20, -1);
    add(0, 0);
    add(20, 0.5);
    view->DrawPlot(-20, 20, -1, 1);
    EXPECT_EQ(pixelAt({-15, 0}), kRed);
    EXPECT_EQ(pixelAt({0, -0.5}), kRed);
    EXPECT_EQ(pixelAt({0, 0}), kTrace);
    EXPECT_NE(plot->picture().pixel(*plot->scale()->pixelOf({-15, 0}) + QPoint(0, 1)), kRed);
    // A row that is no number ends the drawing there.
    view->addRow({QStringLiteral("000010.000"), dec("10.000"), QStringLiteral("bad"), {}});
    view->DrawPlot(-20, 20, -1, 1);
    EXPECT_FALSE(view->PlotReady());
    EXPECT_EQ(pixelAt({0, 0}), kTrace);
    EXPECT_NE(pixelAt({20, 0.5}), kTrace);
}

TEST_F(ResultsViewTest, TheMouseOnTheWidgetsReachesTheHandlersAndThePictureSurvivesAResize) {
    window.show();
    runAndPlot();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(table.index(2, 1)).center());
    EXPECT_EQ(panel("DAT1"), "Freq.:" + dec("290.00 kHz"));
    const QPoint at = *plot->scale()->pixelOf({200, 150});
    sendMove(plot, plot->contentsRect().topLeft() + at);
    EXPECT_EQ(panel("DAT1"), readoutText("Freq.", plot->scale()->pointAt(at).x(), "kHz"));
    sendMove(list->viewport(), QPointF(5, 5));
    EXPECT_FALSE(view->CursorShown());
    // The readings keep their share of the width; the picture follows the box's size.
    EXPECT_EQ(list->columnWidth(3), list->columnWidth(2));
    plot->resize(500, 320);
    EXPECT_EQ(plot->picture().size(), plot->contentsRect().size());
}

TEST_F(ResultsViewTest, TheListKeepsWholeRowsInViewAndFollowsTheRun) {
    add(2, 150);
    add(1, 100);
    view->removeRowWithSweepText(dec("7.000"));
    EXPECT_EQ(view->rowValues(0), (std::array{dec("1.000"), dec("100.000"), dec("45.000")}));
    // Rows outside the table give nothing, also where the number would wrap around.
    for (const int64_t row : {int64_t{2}, int64_t{-1}, int64_t{1} << 32})
        EXPECT_EQ(view->rowValues(row), (std::array<QString, 3>{})) << row;

    for (int i = 3; i <= 100; ++i) add(-35000 + i, -123456.789 + i, -179.999);
    window.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    view->followRow(4);
    EXPECT_TRUE(list->selectionModel()->isRowSelected(4, {}));
    view->followRow(500);
    EXPECT_EQ(list->currentIndex().row(), 99);
    // By the next point at the latest, the selected row is in view.
    view->followRow(500);
    EXPECT_GT(list->verticalScrollBar()->value(), 0);
    view->showFirstRow();
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
    EXPECT_FALSE(list->selectionModel()->hasSelection());
}

// Notes the times at which a widget is painted.
struct PaintLog : QObject {
    PaintLog(QWidget& widget, const FrameClock& clock) : clock(clock) {
        widget.installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) times.push_back(clock.now());
        return false;
    }
    const FrameClock& clock;
    std::vector<qint64> times;
};

TEST_F(ResultsViewTest, ARunRepaintsTheListAndReadoutsOnceAFrameAndNeverAFrameBehind) {
    window.show();
    QCoreApplication::processEvents();
    PaintLog rows(*list->viewport(), clock);
    PaintLog readout(*status->panel("DAT1"), clock);
    // A fast run: a point every millisecond, each with its event pass.
    for (int i = 1; i <= 100; ++i) {
        clock.advance(1);
        add(i, 100 + i);
        view->followRow(i - 1);
        view->setPanelText("DAT1", QString::number(i));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(readout.times, (std::vector<qint64>{1, 34, 67, 100}));
    // A point held back shows when its frame is due; the end of a run shows at once.
    for (const qint64 ms : {5, 28, 1}) {
        clock.advance(ms);
        if (ms != 28) add(200 + ms, 300);
        if (ms == 1) view->showFirstRow();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(rows.times, (std::vector<qint64>{1, 34, 67, 100, 133, 134}));
}

TEST_F(ResultsViewTest, MessagesAndTheProgressCoverTheStatusBar) {
    window.show();
    const QString message = "Sheet Freq_Z written to /home/" + QString(200, u'x') + "/Lorvane.xlsx";
    view->showMessage(message);
    EXPECT_EQ(status->message(), message);
    const QString text = status->findChild<QLabel*>("MESSAGE")->text();
    EXPECT_TRUE(text.startsWith("Sheet Freq_Z written to /home/x") &&
                text.endsWith("x/Lorvane.xlsx"));
    const QLabel* label = status->findChild<QLabel*>("MESSAGE");
    EXPECT_LE(label->fontMetrics().horizontalAdvance(text),
              label->contentsRect().width() - label->fontMetrics().horizontalAdvance(u'x'));
    status->setPanelText("DAT1", "x");
    EXPECT_EQ(status->message(), "");

    // 4 points in 2 s: 3 more at 0.5 s each; the time the set-up took counts in the pace.
    const std::tuple<qint64, int64_t, std::optional<int64_t>, const char*> steps[] = {
        {0, 0, 91, "0/91 0"},
        {2000, 4, 91, "4/91, 0:44 left 4"},
        {3000, 10, 91, "10/91, 0:41 left 10"},
        {7000, 37, std::nullopt, "37 points 0"},
    };
    const QProgressBar* bar = status->progressBar();
    for (const auto& [advanceMs, done, total, text] : steps) {
        clock.advance(advanceMs);
        view->showProgress(done, total);
        QCoreApplication::processEvents();
        EXPECT_TRUE(bar->isVisible() && bar->geometry().right() == status->rect().right());
        EXPECT_EQ(bar->text() + u' ' + QString::number(bar->value()), QString::fromUtf8(text));
    }
    view->endProgress();
    EXPECT_FALSE(bar->isVisible());
}

}  // namespace
}  // namespace lorvane::test
