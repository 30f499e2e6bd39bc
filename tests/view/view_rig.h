#pragma once

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTableView>
#include <map>

#include "fake_platform.h"
#include "plot_box.h"
#include "plot_settings.h"
#include "results_view.h"
#include "status_panels.h"

namespace lorvane::test {

// The expected display text in the test's locale: "." becomes its decimal separator.
inline QString dec(const QString& text) {
    return QString(text).replace(u'.', QLocale().decimalPoint());
}

// A clock that stands still until the test moves it on; then a wake-up call that is due runs.
struct ManualClock final : FrameClock {
    qint64 now() const override { return time; }
    void wakeAfter(qint64 ms, std::function<void()> call) override {
        due = time + ms;
        wake = std::move(call);
    }
    void advance(qint64 ms) {
        time += ms;
        if (wake && time >= due) std::exchange(wake, nullptr)();
    }
    qint64 time = 0;
    qint64 due = 0;
    std::function<void()> wake;
};

struct MemorySettings final : PlotSettings {
    int readNumber(const QString& name, int def) const override {
        return values.contains(name) ? values.at(name).toInt() : def;
    }
    void writeNumber(const QString& name, int value) override { values[name] = value; }
    QString readText(const QString& name, const QString& def) const override {
        return values.contains(name) ? values.at(name).toString() : def;
    }
    void writeText(const QString& name, const QString& value) override { values[name] = value; }
    std::map<QString, QVariant> values;
};

// The results view placed as in the main window, showing a frequency sweep of the impedance.
class ResultsViewTest : public ::testing::Test {
  protected:
    ResultsViewTest() {
        window.resize(630, 376);
        list->setGeometry(0, 83, 234, 277);
        list->setModel(&table);
        plot->setGeometry(233, 82, 396, 276);
        status->setGeometry(0, 359, 630, 17);
        view.emplace(
            table, *list, *plot, *status,
            PanelTexts{[] {
                           return std::array<QString, 3>{"Freq.", "Z", "Phi"};
                       },
                       [] { return QStringLiteral("Freq"); }, [] { return QStringLiteral("Z"); }},
            &clock);
        view->setColumnUnits({QStringLiteral("kHz"), QStringLiteral("Ohm"), QStringLiteral("°")});
        view->plot().setClock([this] { return now; });
        attach();
    }
    void attach() {
        view->plot().attach(&settings, &platform, [this] { return logSweep; });
    }
    void add(double x, double dat1, double dat2 = 45) {
        view->addRow(makeResultRow(x, dat1, dat2, conversionFor(MeasureMode::Impedance)));
    }
    // A run's end: 100, 200, 290 kHz reading 100, 150, 200 Ohm, and the plot.
    void runAndPlot() {
        view->resetHighlight();
        add(100, 100);
        add(200, 150);
        add(290, 200);
        view->DrawPlot(100, 300, 100, 200);
    }
    // The colour where a point (sweep value, first reading) lies; 0 outside the picture.
    QRgb pixelAt(QPointF point) const {
        const std::optional<QPoint> at = plot->scale()->pixelOf(point);
        return at && plot->picture().rect().contains(*at) ? plot->picture().pixel(*at) : 0;
    }
    // Pixels of the picture (32 bits each, no padding) that have the colour.
    int pixelsOf(QRgb colour) const {
        const auto* pixels = reinterpret_cast<const QRgb*>(plot->picture().constBits());
        return int(std::count(pixels, pixels + plot->picture().sizeInBytes() / 4, colour));
    }
    QString panel(const char* key) const { return status->panelText(QString::fromLatin1(key)); }
    void sendMove(QWidget* to, QPointF at, Qt::MouseButtons buttons = Qt::NoButton) {
        QMouseEvent move(QEvent::MouseMove, at, to->mapToGlobal(at), Qt::NoButton, buttons,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(to, &move);
    }

    ManualClock clock;
    QWidget window;
    ResultTable table;
    QTableView* list = new QTableView(&window);
    PlotBox* plot = new PlotBox(&window);
    StatusPanels* status = new StatusPanels(&window);
    FakePlatform platform;
    MemorySettings settings;
    qint64 now = 0;
    bool logSweep = false;
    std::optional<ResultsView> view;
};

inline const QRgb kTrace = qRgb(0, 127, 127);
inline const QRgb kRed = qRgb(255, 0, 0);
inline const QRgb kPurple = qRgb(127, 0, 127);

}  // namespace lorvane::test
