#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>

#include "view_rig.h"

namespace lorvane::test {
namespace {

// Pixels of the plot that differ between two pictures.
std::vector<QPoint> changedPixels(const QImage& before, const QImage& after) {
    std::vector<QPoint> changed;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) changed.emplace_back(x, y);
    return changed;
}

// Pixels of text: nothing else on the plot is this dark.
int textPixels(const QImage& picture) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (qRed(pixel) < 80 && qGreen(pixel) < 80 && qBlue(pixel) < 80) ++count;
        }
    return count;
}

TEST_F(ResultsViewTest, ARowClickOrTheCursorBeforeAnyPlotChangesNothing) {
    add(1, 100);
    view->Data_ItemClick(0);
    view->fDraw_MouseMove({200, 150});
    view->Data_MouseMove();
    EXPECT_EQ(panel("DAT1"), "DATA 1");
    EXPECT_EQ(panel("DAT2"), "DATA 2");
    EXPECT_FALSE(view->CursorShown());
    EXPECT_EQ(view->HighlightPoint().x(), kNoHighlight);

    runAndPlot();
    view->ClearResults();
    add(1, 100);
    const QImage cleared = plot->picture();
    view->Data_ItemClick(0);
    EXPECT_EQ(panel("DAT1"), "DATA 1");
    EXPECT_EQ(plot->picture(), cleared);
}

TEST_F(ResultsViewTest, ARowClickRightAfterARunDrawsOnlyTheRedDot) {
    runAndPlot();
    ASSERT_TRUE(view->PlotReady());
    view->setPanelText("IN", "Run");
    const QImage before = plot->picture();
    view->Data_ItemClick(1);

    const QPoint at = *plot->scale()->pixelOf({200, 150});
    const std::vector<QPoint> changed = changedPixels(before, plot->picture());
    ASSERT_EQ(changed.size(), 9u);
    for (const QPoint& pixel : changed) {
        EXPECT_LE((pixel - at).manhattanLength(), 2);
        EXPECT_EQ(plot->picture().pixel(pixel), kRed);
    }
    EXPECT_EQ(view->HighlightPoint(), QPointF(200, 150));
    EXPECT_EQ(panel("IN"), "");
    EXPECT_EQ(panel("DAT1"), "Freq.:" + dec("200.00 kHz"));
    EXPECT_EQ(panel("DAT2"), "Z:" + dec("150.00 Ohm"));
    // A second click leaves the first point in the trace colour.
    view->Data_ItemClick(2);
    EXPECT_EQ(pixelAt({200, 150}), kTrace);
    EXPECT_EQ(pixelAt({290, 200}), kRed);
    EXPECT_EQ(panel("DAT2"), "Z:" + dec("200.00 Ohm"));
    // A fresh drawing has no red point, also when a choice draws it again.
    view->DrawPlot(100, 300, 100, 200);
    view->plot().setSecondShown(false);
    EXPECT_EQ(pixelAt({290, 200}), kTrace);
}

TEST_F(ResultsViewTest, CursorOverThePlotShowsItsPositionAndUnhighlights) {
    runAndPlot();
    view->Data_ItemClick(0);
    view->setPanelText("IN", "Run");
    view->fDraw_MouseMove({250.5, 175.254});
    EXPECT_EQ(panel("IN"), "");
    EXPECT_EQ(panel("DAT1"), "Freq.:" + dec("250.50 kHz"));
    EXPECT_EQ(panel("DAT2"), "Z:" + dec("175.25 Ohm"));
    EXPECT_TRUE(view->CursorShown());
    EXPECT_EQ(pixelAt({100, 100}), kTrace);
    EXPECT_EQ(view->HighlightPoint(), QPointF(100, 100));
    // Clicking the row again makes it red again.
    view->Data_ItemClick(0);
    EXPECT_EQ(pixelAt({100, 100}), kRed);
    EXPECT_TRUE(view->CursorShown());
    // Moving onto the list empties the readout, once.
    view->Data_MouseMove();
    EXPECT_EQ(panel("DAT2"), "");
    EXPECT_FALSE(view->CursorShown());
    view->setPanelText("DAT1", "kept");
    view->Data_MouseMove();
    EXPECT_EQ(panel("DAT1"), "kept");
}

// The nine pixels of the dot at a point all have the colour: the dot lies whole in the box.
bool wholeDot(const QImage& picture, QPoint at, QRgb colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (!picture.rect().contains(at + QPoint(dx, dy)) ||
                picture.pixel(at + QPoint(dx, dy)) != colour)
                return false;
    return true;
}

TEST_F(ResultsViewTest, ARisingReadingIsDrawnRisingWithEveryPointWholeInside) {
    runAndPlot();
    view->setPanelText("DAT1", "kept");
    const QPoint first = *plot->scale()->pixelOf({100, 100});
    const QPoint last = *plot->scale()->pixelOf({290, 200});
    EXPECT_LT(last.y(), first.y());
    EXPECT_GT(last.x(), first.x());
    EXPECT_TRUE(wholeDot(plot->picture(), first, kTrace));
    EXPECT_TRUE(wholeDot(plot->picture(), last, kTrace));
    // Tick marks stick out of the area to the left: black pixels just beside it.
    int marks = 0;
    const int beside = plot->scale()->x.start() - 2;
    for (int y = 0; y < plot->picture().height(); ++y)
        marks += plot->picture().pixel(beside, y) == qRgb(0, 0, 0);
    EXPECT_GE(marks, 4);
    EXPECT_EQ(pixelAt({200, 150}), kTrace);
    // Grid lines at the ticks, labels and titles.
    EXPECT_GT(pixelsOf(kGrey), 1000);
    EXPECT_GT(textPixels(plot->picture()), 200);
    EXPECT_TRUE(view->PlotReady());

    // Clearing wipes the picture and the rows, not the panels.
    view->ClearResults();
    EXPECT_FALSE(view->PlotReady());
    EXPECT_EQ(view->rowCount(), 0);
    EXPECT_EQ(panel("DAT1"), "kept");
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
}

TEST_F(ResultsViewTest, ASpotMeasurementShowsItsPointInTheMiddleAndABadRowEndsTheDrawing) {
    add(10, 7);
    view->DrawPlot(10, 5, 7, 7);
    EXPECT_TRUE(view->PlotReady());
    const QPoint at = *plot->scale()->pixelOf({10, 7});
    EXPECT_TRUE(wholeDot(plot->picture(), at, kTrace));
    // Half-way between the ends of each axis.
    EXPECT_NEAR(plot->scale()->x.fractionAt(at.x()), 0.5, 0.02);
    EXPECT_NEAR(plot->scale()->y.fractionAt(at.y()), 0.5, 0.02);

    // A row that is no number ends the drawing there.
    view->ClearResults();
    add(100, 100);
    view->addRow({QStringLiteral("000200.000"), dec("200.000"), QStringLiteral("bad"), {}});
    add(300, 200);
    view->DrawPlot(100, 300, 100, 200);
    EXPECT_FALSE(view->PlotReady());
    EXPECT_EQ(pixelAt({100, 100}), kTrace);
    EXPECT_NE(pixelAt({300, 200}), kTrace);
    EXPECT_EQ(view->rowCount(), 3);
}

TEST_F(ResultsViewTest, ThePlotLooksTheSameAfterHidingAndResizing) {
    window.show();
    runAndPlot();
    view->Data_ItemClick(1);
    const auto shown = [this] {
        const QRect inner(plot->contentsRect().topLeft(), plot->picture().size());
        return plot->grab().toImage().copy(inner).convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(shown(), plot->picture());
    plot->resize(500, 320);
    EXPECT_EQ(shown(), plot->picture());
}

TEST_F(ResultsViewTest, MouseEventsReachTheHandlers) {
    window.show();
    runAndPlot();
    // Three rows need no vertical scroll bar; the readings keep their share of the width.
    EXPECT_EQ(list->columnWidth(3), list->columnWidth(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(table.index(2, 1)).center());
    EXPECT_EQ(panel("DAT1"), "Freq.:" + dec("290.00 kHz"));

    const QPointF inner = QPointF(plot->contentsRect().topLeft());
    const QPoint at = *plot->scale()->pixelOf({200, 150});
    QMouseEvent overPlot(QEvent::MouseMove, inner + at, plot->mapToGlobal(inner + at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &overPlot);
    EXPECT_TRUE(view->CursorShown());
    EXPECT_TRUE(panel("DAT1").startsWith("Freq.:" + dec("199.")));
    EXPECT_EQ(pixelAt({290, 200}), kTrace);

    QMouseEvent overList(QEvent::MouseMove, QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &overList);
    EXPECT_FALSE(view->CursorShown());
    EXPECT_EQ(panel("DAT1"), "");
}

TEST_F(ResultsViewTest, TheRunReadsRowsBackAsTheirThreeValueTexts) {
    add(2, 150);
    add(1, 100);
    view->removeRowWithSweepText(dec("7.000"));
    EXPECT_EQ(view->rowCount(), 2);
    EXPECT_EQ(view->rowValues(0),
              (std::array<QString, 3>{dec("1.000"), dec("100.000"), dec("45.000")}));
    // Rows outside the table give nothing, also where the number would wrap around.
    for (const int64_t row : {int64_t{2}, int64_t{-1}, int64_t{1} << 32})
        EXPECT_EQ(view->rowValues(row), (std::array<QString, 3>{})) << row;
}

TEST_F(ResultsViewTest, TheSelectionFollowsTheRunAndIsClearedAtItsEnd) {
    for (int i = 1; i <= 60; ++i) add(i, 100);
    window.show();
    QCoreApplication::processEvents();
    view->followRow(4);
    EXPECT_EQ(list->currentIndex().row(), 4);
    EXPECT_TRUE(list->selectionModel()->isRowSelected(4, {}));
    view->followRow(500);
    EXPECT_EQ(list->currentIndex().row(), 59);
    // By the next point at the latest, the selected row is in view.
    view->followRow(500);
    EXPECT_GT(list->verticalScrollBar()->value(), 0);
    view->followRow(0);
    EXPECT_EQ(list->currentIndex().row(), 0);
    view->showFirstRow();
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
    EXPECT_EQ(list->currentIndex().row(), 0);
    EXPECT_FALSE(list->selectionModel()->hasSelection());
}

// Notes the times at which a widget is painted.
class PaintLog : public QObject {
  public:
    PaintLog(QWidget& widget, const FrameClock& clock) : clock_(clock) {
        widget.installEventFilter(this);
    }
    std::vector<qint64> times;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) times.push_back(clock_.now());
        return false;
    }

  private:
    const FrameClock& clock_;
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
        ASSERT_FALSE(rows.times.empty());
        EXPECT_LE(clock.now() - rows.times.back(), RepaintThrottle::kFrameMs) << i;
        EXPECT_LE(clock.now() - readout.times.back(), RepaintThrottle::kFrameMs) << i;
    }
    EXPECT_LE(rows.times.size(), 4u);  // at 1, 34, 67 and 100 ms
    EXPECT_LE(readout.times.size(), 4u);

    // A point held back shows when its frame is due, with no point after it.
    clock.advance(5);
    add(200, 300);
    QCoreApplication::processEvents();
    const size_t shown = rows.times.size();
    clock.advance(RepaintThrottle::kFrameMs - 5);
    QCoreApplication::processEvents();
    EXPECT_EQ(rows.times.size(), shown + 1);

    // The end of a run shows at once.
    clock.advance(1);
    add(201, 300);
    view->showFirstRow();
    QCoreApplication::processEvents();
    EXPECT_EQ(rows.times.size(), shown + 2);
    EXPECT_EQ(rows.times.back(), clock.now());
}

TEST_F(ResultsViewTest, AMessageCoversTheStatusBarAndALongOneIsShortenedInTheMiddle) {
    window.show();
    const QString message = "Sheet Freq_Z written to /home/" + QString(200, u'x') + "/Lorvane.xlsx";
    status->showMessage(message);
    const auto* shown = status->findChild<QLabel*>("MESSAGE");
    ASSERT_TRUE(shown);
    EXPECT_EQ(status->message(), message);
    EXPECT_EQ(shown->geometry(), status->rect());
    EXPECT_TRUE(shown->autoFillBackground());  // the panels below do not show through
    EXPECT_TRUE(shown->text().startsWith("Sheet Freq_Z written to /home/"));
    EXPECT_TRUE(shown->text().endsWith("/Lorvane.xlsx"));
    EXPECT_LE(shown->fontMetrics().horizontalAdvance(shown->text()),
              shown->contentsRect().width() - shown->fontMetrics().horizontalAdvance(u'x'));
    status->setPanelText("DAT1", "x");
    EXPECT_EQ(status->message(), "");
}

TEST_F(ResultsViewTest, TheListShowsWholeRowsOfThreeColumnsWithoutScrollingSideways) {
    for (int i = 1; i <= 100; ++i) add(-35000 + i, -123456.789 + i, -179.999);
    window.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(list->isColumnHidden(0));
    EXPECT_TRUE(list->verticalScrollBar()->isVisible());
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    for (int column = 1; column <= 3; ++column) EXPECT_GT(list->columnWidth(column), 60);

    // A click selects the whole row, and a click on another row moves the selection there.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(table.index(2, 3)).center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(table.index(4, 2)).center());
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), 4);
    for (const QModelIndex& cell : selected) EXPECT_EQ(cell.row(), 4);

    // A double click opens no editor and leaves the text as it was.
    list->setFocus();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualRect(table.index(4, 2)).center());
    EXPECT_EQ(QApplication::focusWidget(), list);
    EXPECT_EQ(table.cell(4, 3), dec("-123451.789"));
    // Tab leaves the list for the next control rather than moving from cell to cell.
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), plot);
}

TEST_F(ResultsViewTest, TheProgressOfARunShowsAtTheRightEndOverThePanels) {
    window.show();
    QCoreApplication::processEvents();
    std::vector<QRect> places;
    for (int i = 0; i < StatusPanels::kPanels; ++i)
        places.push_back(status->panelAt(i)->geometry());
    const QProgressBar* bar = status->progressBar();
    EXPECT_FALSE(bar->isVisible());

    struct Step {
        qint64 advanceMs;
        int64_t done;
        std::optional<int64_t> total;
        const char* text;
        int value;
    };
    // 4 points in 2 s: 3 more at 0.5 s each; the time the set-up took counts in the pace.
    const Step steps[] = {
        {0, 0, 91, "0/91", 0},
        {2000, 4, 91, "4/91, 0:44 left", 4},
        {3000, 10, 91, "10/91, 0:41 left", 10},
        {0, 0, std::nullopt, "0 points", 0},
        {7000, 37, std::nullopt, "37 points", 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.text);
        clock.advance(step.advanceMs);
        view->showProgress(step.done, step.total);
        QCoreApplication::processEvents();
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->text(), QString::fromLatin1(step.text));
        EXPECT_EQ(bar->value(), step.value);
        EXPECT_EQ(bar->geometry().right(), status->rect().right());
    }
    for (int i = 0; i < StatusPanels::kPanels; ++i)
        EXPECT_EQ(status->panelAt(i)->geometry(), places[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(panel("HELP"), QStringLiteral("CTRL-C: Copy / CTRL-E: Excel "));
    view->endProgress();
    EXPECT_FALSE(bar->isVisible());
}

}  // namespace
}  // namespace lorvane::test
