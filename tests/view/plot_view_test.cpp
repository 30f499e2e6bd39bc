// The plot's choices, its drawing during a run, zoom and pan, and its saving.
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "view_rig.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using Values = std::map<QString, QVariant>;

QAction* actionNamed(const QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions())
        if (action->text() == text) return action;
    return nullptr;
}

TEST_F(ResultsViewTest, TheSecondReadingIsShownForAPhaseOrByChoiceOnTheRightAxis) {
    for (const auto& [unit, shown] : {std::pair(u"°"_s, true), std::pair(u"D"_s, false)}) {
        view->setColumnUnits({u"kHz"_s, u"nF"_s, unit});
        add(100, 100, 90);
        add(290, 200, -90);
        view->DrawPlot(100, 300, 100, 200);
        EXPECT_EQ(pixelsOf(kPurple) > 0, shown) << unit.toStdString();
    }
    // The phase falls from 90 at the top to -90 at the bottom of the right-hand axis.
    view->plot().setSecondShown(true);
    const PlotScale& scale = *plot->scale();
    const QPoint high(*scale.x.pixelOf(100), *scale.y2.pixelOf(90));
    const QPoint low(*scale.x.pixelOf(290), *scale.y2.pixelOf(-90));
    EXPECT_EQ(plot->picture().pixel(high), kPurple);
    EXPECT_EQ(plot->picture().pixel(low), kPurple);
    view->plot().setSecondShown(false);
    EXPECT_EQ(settings.values, (Values{{u"Plot_Second"_s, 0}}));
    EXPECT_EQ(pixelsOf(kPurple), 0);
    // The choices kept in the settings come back; the context menu changes them.
    settings.values = {{u"Plot_LogX"_s, 1}, {u"Plot_LogY"_s, 1}};
    attach();
    runAndPlot();
    EXPECT_TRUE(plot->scale()->x.range().log && plot->scale()->y.range().log);
    QMenu menu;
    view->plot().fillMenu(menu);
    for (const QString& text :
         {u"Logarithmic y axis"_s, u"Logarithmic x axis"_s, u"Show second reading"_s})
        actionNamed(menu, text)->trigger();
    EXPECT_FALSE(plot->scale()->x.range().log || plot->scale()->y.range().log);
    EXPECT_GT(pixelsOf(kPurple), 0);
    EXPECT_EQ(settings.values,
              (Values{{u"Plot_LogX"_s, 0}, {u"Plot_LogY"_s, 0}, {u"Plot_Second"_s, 1}}));
    // A sweep on the automatic log step always gets a log x axis.
    logSweep = true;
    runAndPlot();
    EXPECT_TRUE(plot->scale()->x.range().log);
    view->ClearResults();
    QMenu empty;
    view->plot().fillMenu(empty);
    EXPECT_FALSE(actionNamed(empty, u"Save plot..."_s)->isEnabled());
}

TEST_F(ResultsViewTest, LogAxesAreKeptInTheSettingsAndRefusedUnlessEveryValueIsPositive) {
    // A bias sweep through zero; its readings rise from 5 to 500.
    add(-20, 5);
    add(0, 50);
    add(20, 500);
    view->DrawPlot(-20, 20, 5, 500);
    view->Data_ItemClick(2);
    view->plot().setLogX(true);
    EXPECT_EQ(status->panelAt(3)->text(), u"Log x needs values > 0");
    view->plot().setLogY(true);
    EXPECT_EQ(settings.values, (Values{{u"Plot_LogY"_s, 1}}));
    EXPECT_EQ(status->panelAt(3)->text(), u"");
    // On a log axis 50 lies half-way between 5 and 500; the red point is red again.
    const PlotAxis& y = plot->scale()->y;
    EXPECT_NEAR(*y.pixelOf(50), (*y.pixelOf(5) + *y.pixelOf(500)) / 2.0, 1);
    EXPECT_EQ(pixelAt({20, 500}), kRed);
    // Kept choices that the rows cannot use: linear axes and the word.
    add(10, -1);
    settings.values[u"Plot_LogX"_s] = 1;
    attach();
    view->DrawPlot(0, 10, -1, 1);
    EXPECT_FALSE(plot->scale()->x.range().log || plot->scale()->y.range().log);
    EXPECT_EQ(status->panelAt(3)->text(), u"Log x, y need values > 0");
}

TEST_F(ResultsViewTest, TheRowsOfARunAreDrawnAtMostTenTimesASecond) {
    // The times the plot's clock gives, one a call; the last one stays.
    std::vector<qint64> times;
    view->plot().setClock([&] {
        const qint64 time = times.front();
        if (times.size() > 1) times.erase(times.begin());
        return time;
    });
    const auto drawnAt = [&](std::vector<qint64> clock, double x) {
        times = std::move(clock);
        const QImage before = plot->picture();
        add(x, x);
        return plot->picture() != before;
    };
    EXPECT_TRUE(drawnAt({0}, 100));
    EXPECT_FALSE(drawnAt({99}, 110));
    EXPECT_TRUE(drawnAt({100}, 120));
    // The end of the run draws at once, whatever the clock says.
    times = {101};
    view->DrawPlot(100, 300, 100, 200);
    EXPECT_TRUE(view->PlotReady());
    // A drawing that takes 30 ms makes the next one wait 600 ms.
    EXPECT_TRUE(drawnAt({1000, 1000, 1030}, 130));
    EXPECT_FALSE(view->PlotReady());
    EXPECT_FALSE(drawnAt({1599}, 140));
    EXPECT_TRUE(drawnAt({1600}, 150));
}

TEST_F(ResultsViewTest, TheWheelZoomsAboutTheCursorADragPansADoubleClickShowsAll) {
    window.show();
    runAndPlot();
    const PlotRanges all = plot->ranges();
    const QPoint inner = plot->contentsRect().topLeft();
    const QPoint at = *plot->scale()->pixelOf({200, 150});
    const auto movedBy = [&] { return *plot->scale()->pixelOf({200, 150}) - at; };
    QWheelEvent wheel(inner + at, plot->mapToGlobal(inner + at), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(plot, &wheel);
    EXPECT_NEAR(plot->ranges().x.high - plot->ranges().x.low, 0.8 * (all.x.high - all.x.low), 1e-9);
    EXPECT_LE(movedBy().manhattanLength(), 2);
    // A drag takes the point along.
    QTest::mousePress(plot, Qt::LeftButton, {}, inner + at);
    sendMove(plot, inner + at + QPoint(30, -20), Qt::LeftButton);
    QTest::mouseRelease(plot, Qt::LeftButton, {}, inner + at + QPoint(30, -20));
    EXPECT_LE((movedBy() - QPoint(30, -20)).manhattanLength(), 2);
    sendMove(plot, inner + at, Qt::LeftButton);  // a button held after the release drags nothing
    EXPECT_LE((movedBy() - QPoint(30, -20)).manhattanLength(), 2);
    QTest::mouseDClick(plot, Qt::LeftButton, {}, inner + at);
    EXPECT_EQ(movedBy(), QPoint());
}

TEST_F(ResultsViewTest, ThePlotIsSavedAsPngAtTheScreensRatioOrTwiceOrAsSvg) {
    QTemporaryDir dir;
    platform.saveAnswer = {dir.filePath(u"plot"_s), 0};
    view->plot().save();  // nothing to save before a drawing
    runAndPlot();
    const QSize box = plot->contentsRect().size();
    const std::tuple<const char*, int, const char*, QSize> cases[] = {
        {"plot", 0, "plot.png", box},      {"big.png", 1, "big.png", box * 2},
        {"drawing", 2, "drawing.svg", {}}, {"mixed.svg", 0, "mixed.svg", {}},
        {"shot.PNG", 2, "shot.PNG", box},  {"beyond", 7, "beyond.svg", {}},
    };
    for (const auto& [chosen, filter, written, size] : cases) {
        platform.saveAnswer = {dir.filePath(QString::fromLatin1(chosen)), filter};
        view->plot().save();
        QFile file(dir.filePath(QString::fromLatin1(written)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << written;
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes.contains("<svg"), size.isEmpty()) << written;
        if (size.isEmpty()) continue;
        const QImage png = QImage::fromData(bytes);
        EXPECT_EQ(png.size(), size) << written;
        EXPECT_NEAR(png.dotsPerMeterX(), 96 / 0.0254, 1) << written;  // the screen's 96 dpi
    }
    ASSERT_EQ(platform.saveRequests.size(), 6u);
    EXPECT_TRUE(platform.saveRequests[0].startPath.endsWith(u"/Freq_Z.png"));
    // Every later dialog starts in the folder of the last save, which the settings keep.
    EXPECT_EQ(platform.saveRequests[1].startPath, dir.filePath(u"Freq_Z.png"_s));
    EXPECT_EQ(settings.values, (Values{{u"Plot_Folder"_s, dir.path()}}));
    // A folder that is not there: a message, and the folder stays; a cancelled dialog writes
    // nothing.
    platform.saveAnswer = {dir.filePath(u"missing/plot.png"_s), 0};
    view->plot().save();
    platform.saveAnswer = {};
    view->plot().save();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Cannot save the plot to "_s + dir.filePath(u"missing/plot.png"_s));
    EXPECT_EQ(settings.values, (Values{{u"Plot_Folder"_s, dir.path()}}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 6);
    // The key P saves the plot only from the list or the plot.
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window)) << "the offscreen window never became active";
    status->setFocusPolicy(Qt::StrongFocus);
    QString asked;
    for (QWidget* focus : std::initializer_list<QWidget*>{status, list, plot}) {
        focus->setFocus();
        view->savePlotKey();
        asked += QString::number(platform.saveRequests.size());
    }
    EXPECT_EQ(asked, u"8910");
}

}  // namespace
}  // namespace lorvane::test
