#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>

#include "view_rig.h"

namespace lorvane::test {
namespace {

// The nine pixels of the dot at a point all have the colour: the dot lies whole in the box.
bool wholeDot(const QImage& picture, QPoint at, QRgb colour) {
    QImage dot(3, 3, picture.format());
    dot.fill(colour);
    return picture.copy(QRect(at - QPoint(1, 1), QSize(3, 3))) == dot;
}

TEST_F(ResultsViewTest, ARowClickRightAfterARunDrawsOnlyTheRedDot) {
    runAndPlot();
    view->setPanelText("IN", "Run");
    const int red = pixelsOf(kRed);
    view->Data_ItemClick(1);
    EXPECT_EQ(pixelsOf(kRed), red + 9);
    EXPECT_TRUE(wholeDot(plot->picture(), *plot->scale()->pixelOf({200, 150}), kRed));
    EXPECT_EQ(view->HighlightPoint(), QPointF(200, 150));
    EXPECT_EQ(panel("IN") + "|" + panel("DAT1") + "|" + panel("DAT2"),
              "|Freq.:" + dec("200.00 kHz|Z:150.00 Ohm"));
    // A second click leaves the first point in the trace colour.
    view->Data_ItemClick(2);
    EXPECT_TRUE(wholeDot(plot->picture(), *plot->scale()->pixelOf({200, 150}), kTrace));
    EXPECT_EQ(pixelAt({290, 200}), kRed);
    // A fresh drawing has no red point, also when a choice draws it again.
    view->DrawPlot(100, 300, 100, 200);
    view->plot().setSecondShown(false);
    EXPECT_EQ(pixelsOf(kRed), red);
}

TEST_F(ResultsViewTest, CursorOverThePlotShowsItsPositionAndUnhighlights) {
    // Before any plot, neither a row click nor the cursor changes anything.
    add(100, 100);
    view->Data_ItemClick(0);
    view->fDraw_MouseMove({200, 150});
    view->Data_MouseMove();
    EXPECT_EQ(panel("DAT1") + panel("DAT2"), "DATA 1DATA 2");
    EXPECT_EQ(view->HighlightPoint().x(), kNoHighlight);
    runAndPlot();
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
    EXPECT_TRUE(wholeDot(plot->picture(), first, kTrace));
    EXPECT_TRUE(wholeDot(plot->picture(), last, kTrace));
    // Tick marks stick out of the area to the left: black pixels just beside it.
    int marks = 0;
    for (int y = 0; y < plot->picture().height(); ++y)
        marks += plot->picture().pixel(plot->scale()->x.start() - 2, y) == qRgb(0, 0, 0);
    EXPECT_GE(marks, 4);
    EXPECT_GT(pixelsOf(kGrey), 1000);
    // Clearing wipes the picture and the rows, not the panels; a click then draws nothing.
    view->ClearResults();
    EXPECT_FALSE(view->PlotReady());
    EXPECT_EQ(view->rowCount(), 0);
    view->Data_ItemClick(0);
    EXPECT_EQ(pixelsOf(kWhite), plot->picture().width() * plot->picture().height());
    // Zero lines are red and one pixel wide; a point on them keeps its colour.
    add(-20, -1);
    add(0, 0);
    add(20, 1);
    view->DrawPlot(-20, 20, -1, 1);
    EXPECT_EQ(pixelAt({-15, 0}), kRed);
    EXPECT_EQ(pixelAt({0, -0.5}), kRed);
    EXPECT_EQ(pixelAt({0, 0}), kTrace);
    const QPoint zero = *plot->scale()->pixelOf({-15, 0});
    EXPECT_NE(plot->picture().pixel(zero + QPoint(0, 1)), kRed);
    EXPECT_NE(plot->picture().pixel(zero + QPoint(0, -1)), kRed);
    // A row that is no number ends the drawing there.
    view->addRow({QStringLiteral("000010.000"), dec("10.000"), QStringLiteral("bad"), {}});
    view->DrawPlot(-20, 20, -1, 1);
    EXPECT_FALSE(view->PlotReady());
    EXPECT_EQ(pixelAt({0, 0}), kTrace);
    EXPECT_NE(pixelAt({20, 1}), kTrace);
}

TEST_F(ResultsViewTest, TheMouseOnTheWidgetsReachesTheHandlersAndThePictureSurvivesAResize) {
    window.show();
    runAndPlot();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(table.index(2, 1)).center());
    EXPECT_EQ(panel("DAT1"), "Freq.:" + dec("290.00 kHz"));
    sendMove(plot, plot->contentsRect().topLeft() + *plot->scale()->pixelOf({200, 150}));
    EXPECT_TRUE(view->CursorShown());
    EXPECT_TRUE(panel("DAT1").startsWith("Freq.:" + dec("199.")));
    EXPECT_EQ(pixelAt({290, 200}), kTrace);
    sendMove(list->viewport(), QPointF(5, 5));
    EXPECT_FALSE(view->CursorShown());

    view->Data_ItemClick(1);
    const auto shown = [this] {
        const QRect inside(plot->contentsRect().topLeft(), plot->picture().size());
        return plot->grab().toImage().copy(inside).convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(shown(), plot->picture());
    plot->resize(500, 320);
    EXPECT_EQ(shown(), plot->picture());
    EXPECT_EQ(pixelAt({200, 150}), kRed);
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
    EXPECT_TRUE(list->isColumnHidden(0));
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    for (int column = 1; column <= 3; ++column) EXPECT_GT(list->columnWidth(column), 60);
    view->followRow(4);
    EXPECT_TRUE(list->selectionModel()->isRowSelected(4, {}));
    view->followRow(500);
    EXPECT_EQ(list->currentIndex().row(), 99);
    // By the next point at the latest, the selected row is in view.
    view->followRow(500);
    EXPECT_GT(list->verticalScrollBar()->value(), 0);
    view->showFirstRow();
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
    EXPECT_EQ(list->currentIndex().row(), 0);
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
    // A point held back shows when its frame is due, with no point after it; the end of a run
    // shows at once.
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
    const auto* shown = status->findChild<QLabel*>("MESSAGE");
    EXPECT_EQ(status->message(), message);
    EXPECT_EQ(shown->geometry(), status->rect());
    const QString text = shown->text();
    EXPECT_TRUE(text.startsWith("Sheet Freq_Z written to /home/x") && text.contains(u'…') &&
                text.endsWith("x/Lorvane.xlsx"))
        << text.toStdString();
    EXPECT_LE(shown->fontMetrics().horizontalAdvance(shown->text()),
              shown->contentsRect().width() - shown->fontMetrics().horizontalAdvance(u'x'));
    status->setPanelText("DAT1", "x");
    EXPECT_EQ(status->message(), "");

    const QRect help = status->panel("HELP")->geometry();
    // 4 points in 2 s: 3 more at 0.5 s each; the time the set-up took counts in the pace.
    const std::tuple<qint64, int64_t, std::optional<int64_t>, const char*> steps[] = {
        {0, 0, 91, "0/91 0"},
        {2000, 4, 91, "4/91, 0:44 left 4"},
        {3000, 10, 91, "10/91, 0:41 left 10"},
        {0, 0, std::nullopt, "0 points 0"},
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
    EXPECT_EQ(status->panel("HELP")->geometry(), help);
    view->endProgress();
    EXPECT_FALSE(bar->isVisible());
}

}  // namespace
}  // namespace lorvane::test
