// The plot's choices, its drawing during a run, zoom and pan, and its saving, on the results
// view of view_rig.h.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <deque>

#include "plot_export.h"
#include "view_rig.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

QString refusal(const StatusPanels& status) { return status.panelAt(3)->text(); }

QAction* actionNamed(const QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions())
        if (action->text() == text) return action;
    return nullptr;
}

TEST_F(ResultsViewTest, TheSecondReadingGoesOnTheRightAxisShownByDefaultForAPhase) {
    for (const auto& [unit, shown] : {std::pair(u"°"_s, true), std::pair(u"D"_s, false)}) {
        view->setColumnUnits({u"kHz"_s, u"nF"_s, unit});
        view->resetHighlight();
        add(100, 100, 90);
        add(200, 150, 0);
        add(290, 200, -90);
        view->DrawPlot(100, 300, 100, 200);
        EXPECT_EQ(view->plot().secondShown(), shown) << unit.toStdString();
        EXPECT_EQ(pixelsOf(kPurple) > 0, shown) << unit.toStdString();
    }
    // The phase falls from 90 at the top to -90 at the bottom of the right-hand axis.
    view->plot().setSecondShown(true);
    EXPECT_EQ(settings.numbers[kPlotSecond], 1);
    const PlotScale& scale = *plot->scale();
    const QPoint high(*scale.x.pixelOf(100), *scale.y2.pixelOf(90));
    const QPoint low(*scale.x.pixelOf(290), *scale.y2.pixelOf(-90));
    EXPECT_EQ(plot->picture().pixel(high), kPurple);
    EXPECT_EQ(plot->picture().pixel(low), kPurple);
    EXPECT_LT(high.y(), low.y());
    EXPECT_TRUE(view->PlotReady());

    view->plot().setSecondShown(false);
    EXPECT_EQ(settings.numbers[kPlotSecond], 0);
    EXPECT_EQ(pixelsOf(kPurple), 0);
    EXPECT_TRUE(view->PlotReady());
}

TEST_F(ResultsViewTest, LogAxesAreKeptInTheSettingsAndRefusedUnlessEveryValueIsPositive) {
    // A bias sweep through zero; its readings rise from 5 to 500.
    add(-20, 5);
    add(0, 50);
    add(20, 500);
    view->DrawPlot(-20, 20, 5, 500);
    view->Data_ItemClick(2);
    view->plot().setLogX(true);
    EXPECT_FALSE(view->plot().logX());
    EXPECT_FALSE(settings.numbers.count(kPlotLogX));
    EXPECT_EQ(refusal(*status), u"Log x needs values > 0");

    view->plot().setLogY(true);
    EXPECT_TRUE(view->plot().logY());
    EXPECT_EQ(settings.numbers[kPlotLogY], 1);
    EXPECT_EQ(refusal(*status), u"");
    EXPECT_TRUE(plot->scale()->y.range().log);
    // On a log axis 50 lies half-way between 5 and 500; the red point stays red.
    const int y5 = *plot->scale()->y.pixelOf(5);
    const int y500 = *plot->scale()->y.pixelOf(500);
    EXPECT_NEAR(*plot->scale()->y.pixelOf(50), (y5 + y500) / 2.0, 1);
    EXPECT_EQ(pixelAt({20, 500}), kRed);
    EXPECT_TRUE(view->PlotReady());
    // Once the cursor over the plot has turned it back, a new drawing leaves it so.
    view->fDraw_MouseMove({0, 50});
    view->plot().setSecondShown(false);
    EXPECT_EQ(pixelAt({20, 500}), kTrace);

    // A kept choice that the next rows cannot use: a linear axis and the word.
    view->ClearResults();
    add(0, -1);
    add(10, 1);
    view->DrawPlot(0, 10, -1, 1);
    EXPECT_FALSE(plot->scale()->y.range().log);
    EXPECT_EQ(refusal(*status), u"Log y needs values > 0");
    EXPECT_TRUE(view->plot().logY());
    view->plot().setLogY(false);
    EXPECT_EQ(settings.numbers[kPlotLogY], 0);
}

TEST_F(ResultsViewTest, TheChoicesComeFromTheSettingsAndTheContextMenu) {
    settings.numbers = {{kPlotLogX, 1}, {kPlotLogY, 1}, {kPlotSecond, 0}};
    attach();
    runAndPlot();
    EXPECT_TRUE(plot->scale()->x.range().log);
    EXPECT_TRUE(plot->scale()->y.range().log);
    EXPECT_FALSE(view->plot().secondShown());

    QMenu menu;
    view->plot().fillMenu(menu);
    QAction* logY = actionNamed(menu, u"Logarithmic y axis"_s);
    ASSERT_TRUE(logY);
    EXPECT_TRUE(logY->isChecked());
    logY->trigger();
    EXPECT_FALSE(plot->scale()->y.range().log);
    EXPECT_EQ(settings.numbers[kPlotLogY], 0);
    actionNamed(menu, u"Show second reading"_s)->trigger();
    EXPECT_GT(pixelsOf(kPurple), 0);
    ASSERT_TRUE(actionNamed(menu, u"Save plot..."_s));
    EXPECT_TRUE(actionNamed(menu, u"Save plot..."_s)->isEnabled());

    // A sweep on the automatic log step always gets a log x axis.
    settings.numbers.clear();
    attach();
    logSweep = true;
    runAndPlot();
    EXPECT_TRUE(plot->scale()->x.range().log);
    QMenu logSweepMenu;
    view->plot().fillMenu(logSweepMenu);
    EXPECT_TRUE(actionNamed(logSweepMenu, u"Logarithmic x axis"_s)->isChecked());
    EXPECT_FALSE(actionNamed(logSweepMenu, u"Logarithmic x axis"_s)->isEnabled());
    view->ClearResults();
    QMenu empty;
    view->plot().fillMenu(empty);
    EXPECT_FALSE(actionNamed(empty, u"Save plot..."_s)->isEnabled());
}

TEST_F(ResultsViewTest, TheRowsOfARunAreDrawnAtMostTenTimesASecond) {
    view->resetHighlight();
    add(100, 100);
    EXPECT_EQ(pixelAt({100, 100}), kTrace);
    EXPECT_FALSE(view->PlotReady());
    const QImage first = plot->picture();
    now = 99;
    add(200, 150);
    EXPECT_EQ(plot->picture(), first);
    now = 100;
    add(290, 200);
    EXPECT_NE(plot->picture(), first);
    EXPECT_EQ(pixelAt({200, 150}), kTrace);
    EXPECT_EQ(pixelAt({290, 200}), kTrace);
    EXPECT_FALSE(view->PlotReady());
    // The end of the run draws at once, whatever the clock says.
    now = 101;
    view->DrawPlot(100, 300, 100, 200);
    EXPECT_TRUE(view->PlotReady());

    // A drawing that takes 30 ms makes the next one wait 600 ms.
    std::deque<qint64> times{1000, 1000, 1030};
    view->plot().setClock([&] {
        const qint64 time = times.front();
        if (times.size() > 1) times.pop_front();
        return time;
    });
    add(310, 210);
    EXPECT_EQ(pixelAt({310, 210}), kTrace);
    EXPECT_FALSE(view->PlotReady());
    const QImage slow = plot->picture();
    times = {1599};
    add(320, 220);
    EXPECT_EQ(plot->picture(), slow);
    times = {1600};
    add(330, 230);
    EXPECT_EQ(pixelAt({330, 230}), kTrace);
}

TEST_F(ResultsViewTest, TheWheelZoomsAboutTheCursorADragPansADoubleClickShowsAll) {
    window.show();
    runAndPlot();
    const PlotRanges all = plot->ranges();
    const QPointF inner = QPointF(plot->contentsRect().topLeft());
    const QPoint at = *plot->scale()->pixelOf({200, 150});
    // A button held without a press on the plot drags nothing.
    QMouseEvent held(QEvent::MouseMove, inner + at, plot->mapToGlobal(inner + at), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &held);
    EXPECT_EQ(*plot->scale()->pixelOf({200, 150}), at);
    QWheelEvent wheel(inner + at, plot->mapToGlobal(inner + at), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(plot, &wheel);
    EXPECT_NEAR(plot->ranges().x.high - plot->ranges().x.low, 0.8 * (all.x.high - all.x.low), 1e-9);
    EXPECT_NEAR(plot->ranges().y.high - plot->ranges().y.low, 0.8 * (all.y.high - all.y.low), 1e-9);
    const QPoint still = *plot->scale()->pixelOf({200, 150});
    EXPECT_LE((still - at).manhattanLength(), 2);
    // The readout follows the zoomed scale: 40 pixels right of 200 kHz now lie closer to it.
    const double unzoomed = 40 * (all.x.high - all.x.low) / plot->scale()->x.pixels();
    const QPointF right = inner + at + QPointF(40, 0);
    QMouseEvent over(QEvent::MouseMove, right, plot->mapToGlobal(right), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &over);
    const double zoomed = plot->scale()->pointAt(at + QPointF(40, 0)).x();
    EXPECT_EQ(panel("DAT1"), readoutText(u"Freq."_s, zoomed, u"kHz"_s));
    EXPECT_LT(zoomed - 200, 0.9 * unzoomed);

    QTest::mousePress(plot, Qt::LeftButton, {}, (inner + at).toPoint());
    const QPointF to = inner + at + QPointF(30, -20);
    QMouseEvent drag(QEvent::MouseMove, to, plot->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &drag);
    QTest::mouseRelease(plot, Qt::LeftButton, {}, to.toPoint());
    const QPoint moved = *plot->scale()->pixelOf({200, 150});
    EXPECT_LE((moved - (at + QPoint(30, -20))).manhattanLength(), 2);

    QTest::mouseDClick(plot, Qt::LeftButton, {}, to.toPoint());
    EXPECT_DOUBLE_EQ(plot->ranges().x.low, all.x.low);
    EXPECT_DOUBLE_EQ(plot->ranges().y.high, all.y.high);
    EXPECT_EQ(*plot->scale()->pixelOf({200, 150}), at);
}

TEST_F(ResultsViewTest, ThePlotIsSavedAsPngAtTheScreensRatioOrTwiceOrAsSvg) {
    QTemporaryDir dir;
    platform.saveAnswer = {dir.filePath(u"plot"_s), 0};
    // Nothing to save before a drawing.
    view->plot().save();
    EXPECT_TRUE(platform.saveRequests.empty());
    runAndPlot();
    const QSize box = plot->contentsRect().size();
    struct Case {
        const char* chosen;
        int filter;
        const char* written;
        QSize size;  // empty: an SVG drawing
    };
    const Case cases[] = {
        {"plot", 0, "plot.png", box},      {"big.png", 1, "big.png", box * 2},
        {"drawing", 2, "drawing.svg", {}}, {"mixed.svg", 0, "mixed.svg", {}},
        {"shot.PNG", 2, "shot.PNG", box},  {"beyond", 7, "beyond.svg", {}},
    };
    for (const Case& c : cases) {
        platform.saveAnswer = {dir.filePath(QString::fromLatin1(c.chosen)), c.filter};
        view->plot().save();
        const QString path = dir.filePath(QString::fromLatin1(c.written));
        if (c.size.isEmpty()) {
            QFile svg(path);
            ASSERT_TRUE(svg.open(QIODevice::ReadOnly)) << c.written;
            EXPECT_TRUE(svg.readAll().contains("<svg")) << c.written;
            continue;
        }
        const QImage png(path);
        EXPECT_EQ(png.size(), c.size) << c.written;
        EXPECT_NEAR(png.dotsPerMeterX(), 96 / 0.0254, 1) << c.written;  // the screen's 96 dpi
    }
    EXPECT_EQ(QImage(dir.filePath(u"plot.png"_s)).pixel(*plot->scale()->pixelOf({200, 150})),
              kTrace);
    ASSERT_EQ(platform.saveRequests.size(), 6u);
    EXPECT_TRUE(platform.saveRequests[0].startPath.endsWith(u"/Freq_Z.png"));
    EXPECT_EQ(platform.saveRequests[0].filters, plotFileFilters());
    // Every later dialog starts in the folder of the last save.
    EXPECT_EQ(platform.saveRequests[1].startPath, dir.filePath(u"Freq_Z.png"_s));
    EXPECT_EQ(settings.texts[kPlotFolder], dir.path());
    EXPECT_TRUE(platform.messages.empty());

    // A folder that is not there: a message, and the folder stays.
    platform.saveAnswer = {dir.filePath(u"missing/plot.png"_s), 0};
    view->plot().save();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Cannot save the plot to "_s + QDir::toNativeSeparators(platform.saveAnswer.path));
    EXPECT_EQ(settings.texts[kPlotFolder], dir.path());
    // A cancelled dialog writes nothing.
    platform.saveAnswer = {};
    view->plot().save();
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 6);
}

TEST_F(ResultsViewTest, TheKeyPSavesThePlotOnlyFromTheListOrThePlot) {
    QLineEdit field(&window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window)) << "the offscreen window never became active";
    runAndPlot();
    field.setFocus();
    view->savePlotKey();
    EXPECT_TRUE(platform.saveRequests.empty());
    list->setFocus();
    view->savePlotKey();
    plot->setFocus();
    view->savePlotKey();
    EXPECT_EQ(platform.saveRequests.size(), 2u);
}

}  // namespace
}  // namespace lorvane::test
