#pragma once

#include <gtest/gtest.h>

#include <QLocale>
#include <QTableView>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>

#include "fake_platform.h"
#include "measure_mode.h"
#include "plot_box.h"
#include "plot_settings.h"
#include "repaint_throttle.h"
#include "result_row.h"
#include "result_table.h"
#include "results_view.h"
#include "status_panels.h"

namespace lorvane::test {

// The expected display text in the locale the test runs under: "." becomes the locale's
// decimal separator.
inline QString dec(const char* text) {
    return QString::fromLatin1(text).replace(u'.', QLocale().decimalPoint());
}

// A clock that stands still until the test moves it on, and then makes a wake-up call that
// falls due.
class ManualClock final : public FrameClock {
  public:
    qint64 now() const override { return now_; }
    void wakeAfter(qint64 ms, std::function<void()> wake) override {
        due_ = now_ + ms;
        wake_ = std::move(wake);
    }
    void advance(qint64 ms) {
        now_ += ms;
        if (wake_ && now_ >= due_) std::exchange(wake_, nullptr)();
    }

  private:
    qint64 now_ = 0;
    qint64 due_ = 0;
    std::function<void()> wake_;
};

// A settings store in memory: numbers and texts by name.
class MemorySettings final : public PlotSettings {
  public:
    int readNumber(const QString& name, int def) const override {
        const auto it = numbers.find(name);
        return it == numbers.end() ? def : it->second;
    }
    void writeNumber(const QString& name, int value) override { numbers[name] = value; }
    QString readText(const QString& name, const QString& def) const override {
        const auto it = texts.find(name);
        return it == texts.end() ? def : it->second;
    }
    void writeText(const QString& name, const QString& value) override { texts[name] = value; }

    std::map<QString, int> numbers;
    std::map<QString, QString> texts;
};

// The results view on widgets of its own, sized and placed as in the main window: the list
// 234 x 277 pixels, the plot box 396 x 276, the status bar below. The labels are those of a
// frequency sweep of the impedance; the units are set as a run sets them. The repaints are
// timed by a clock of the test's. The plot keeps its choices in `settings`, asks `platform` where
// to save, and reads the time from `now`.
class ResultsViewTest : public ::testing::Test {
  protected:
    ResultsViewTest() {
        window.resize(630, 376);
        list->setGeometry(0, 83, 234, 277);
        list->setModel(&table);
        plot->setGeometry(233, 82, 396, 276);
        status->setGeometry(0, 359, 630, 17);
        view.emplace(table, *list, *plot, *status,
                     PanelTexts{[this] { return labels; }, [this] { return sweepCaption; },
                                [this] { return measureCaption; }},
                     &clock);
        view->setColumnUnits({QStringLiteral("kHz"), QStringLiteral("Ohm"), QStringLiteral("°")});
        view->plot().setClock([this] { return now; });
        attach();
    }
    void attach() {
        view->plot().attach(&settings, &platform, [this] { return logSweep; });
    }

    // Adds the point of an impedance reading as the run does.
    void add(double x, double dat1, double dat2 = 45) {
        view->addRow(makeResultRow(x, dat1, dat2, conversionFor(MeasureMode::Impedance)));
    }
    // A run's end: rows 100, 200, 290 kHz reading 100, 150, 200 Ohm, and the plot.
    void runAndPlot() {
        view->resetHighlight();
        add(100, 100);
        add(200, 150);
        add(290, 200);
        view->DrawPlot(100, 300, 100, 200);
    }
    // The colour of the picture where a point (sweep value, first reading) lies; 0 outside.
    QRgb pixelAt(QPointF point) const {
        const std::optional<QPoint> at = plot->scale()->pixelOf(point);
        return at && plot->picture().rect().contains(*at) ? plot->picture().pixel(*at) : 0;
    }
    // How many pixels of the picture have this colour.
    int pixelsOf(QRgb colour) const {
        int count = 0;
        const QImage& picture = plot->picture();
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) count += picture.pixel(x, y) == colour;
        return count;
    }
    QString panel(const char* key) const { return status->panelText(QString::fromLatin1(key)); }

    ManualClock clock;
    QWidget window;
    ResultTable table;
    QTableView* list = new QTableView(&window);
    PlotBox* plot = new PlotBox(&window);
    StatusPanels* status = new StatusPanels(&window);
    std::array<QString, 3> labels{QStringLiteral("Freq."), QStringLiteral("Z"),
                                  QStringLiteral("Phi")};
    QString sweepCaption = QStringLiteral("Freq");
    QString measureCaption = QStringLiteral("Z");
    FakePlatform platform;
    MemorySettings settings;
    qint64 now = 0;
    bool logSweep = false;
    std::optional<ResultsView> view;
};

inline const QRgb kTrace = qRgb(0, 127, 127);
inline const QRgb kRed = qRgb(255, 0, 0);
inline const QRgb kGrey = qRgb(127, 127, 127);
inline const QRgb kPurple = qRgb(127, 0, 127);
inline const QRgb kWhite = qRgb(255, 255, 255);

}  // namespace lorvane::test
