// Every run ends: set-ups drawn over the whole space the front panel offers, typed into the real
// window in their units, run against the simulated instrument on a link without latency.
#include <QGroupBox>
#include <random>

#include "field_math.h"
#include "instrument.h"
#include "measurement_run.h"
#include "panel_fixture.h"
#include "results_view.h"
#include "window_run_panel.h"

namespace lorvane::test {
namespace {

// The simulated HP 4192A, answering at once. It stops answering after `limit` readings, so
// that a run that would go on for ever ends with "No response" instead.
class InstrumentLink final : public RunLink {
  public:
    void reset(size_t limit) {
        sim::SimConfig config;
        config.delayMs = 0;
        instrument_ = std::make_unique<sim::Instrument>(config);
        limit_ = limit;
        sweepValues.clear();
    }
    bool write(const QString& text) override {
        instrument_->receive((text + u'\r').toStdString(), {});
        return true;
    }
    QString query(const QString& text, int) override {
        if (sweepValues.size() >= limit_) return {};
        write(text);
        const sim::InstrumentState& s = instrument_->state();
        const bool bias = s.swept == sim::SweepQuantity::Bias;
        sweepValues.push_back(bias ? s.biasVolts * 1000 : s.frequencyKhz);
        return read(0);
    }
    QString read(int) override {
        return QString::fromStdString(instrument_->read({}, 1'000'000).text);
    }
    void purge() override { read(0); }

    std::vector<double> sweepValues;  // the kHz or mV of every reading, in the order taken

  private:
    std::unique_ptr<sim::Instrument> instrument_;
    size_t limit_ = 0;
};

class NoSettings final : public RunSettings {
  public:
    void write(const QString&, double) override {}
};

class RunProperty : public PanelTest {
  protected:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    double logUniform(double low, double high) {
        return std::exp(
            std::uniform_real_distribution<double>(std::log(low), std::log(high))(random_));
    }
    // A value of the range on its grid: often an edge of the range or of a decade.
    double value(const std::vector<double>& edges, double low, double high, double grid) {
        if (pick(0, 1) == 0) return edges[size_t(pick(0, int(edges.size()) - 1))];
        const double drawn = low > 0 ? logUniform(low, high)
                                     : std::uniform_real_distribution<double>(low, high)(random_);
        return std::round(drawn / grid) * grid;
    }
    // A start, a stop a few grid steps or a long way on (or anywhere), and up to a few hundred
    // points as typed: the fields correct them as they do for the operator.
    std::array<double, 3> range(const std::vector<double>& edges, double low, double high,
                                double grid) {
        const double start = value(edges, low, high, grid);
        const double span = pick(0, 2) == 0 ? grid * pick(0, 12) : logUniform(grid, high - low);
        const double stop = pick(0, 4) == 0
                                ? value(edges, low, high, grid)
                                : std::min(high, start + std::round(span / grid) * grid);
        const double points = pick(0, 3) == 0 ? 1 : pick(1, 300);
        return {start, stop,
                std::max(grid * pick(0, 2),
                         std::round(std::fabs(stop - start) / points / grid) * grid)};
    }

    // Types a set-up into the window: the swept quantity's start, stop and step (Hz or mV)
    // after the given clicks on the start's and the step's unit, then the automatic step.
    void apply(int mode, bool bias, std::array<double, 3> fields, int startClicks, int stepClicks,
               int autoStep) {
        ui.vAuto->setChecked(false);
        ui.lMod[size_t(mode)]->setChecked(true);
        window.selections().lMod_Click(mode);  // a new list, even for the same parameter
        ui.lSwp[bias ? 1 : 0]->setChecked(true);
        const char kind = bias ? 'B' : 'F';
        for (int i = 0; i < startClicks; ++i) act(window, bias ? "uB0" : "uF0");
        for (int i = 0; i < stepClicks; ++i) act(window, bias ? "uB2" : "uF2");
        if (bias)
            enter(window, 'F', 0,
                  frequencyText(std::round(logUniform(5, 13e6)), ui.lFrq[0]->text()).value_or(""));
        for (int i = 0; i < 3; ++i) {
            const QString unit = (bias ? ui.lVlt : ui.lFrq)[size_t(i)]->text();
            enter(
                window, kind, i,
                (bias ? biasText(fields[size_t(i)], unit) : frequencyText(fields[size_t(i)], unit))
                    .value_or(""));
        }
        if (autoStep > 0) ui.vAuto->setChecked(true);
        if (autoStep > 1) window.frequency().dFrq_Change(2);  // Log
    }

    // Everything of the set-up a run could leave changed: each control's state and text.
    QStringList panelState() const {
        QStringList out{QStringLiteral("auto %1 log %2").arg(state.AutoStep).arg(state.LogStep)};
        QList<QWidget*> controls = ui.lFrm[0]->findChildren<QWidget*>();
        controls << ui.vAuto;
        for (const QWidget* w : controls)
            out << QStringLiteral("%1 %2 %3 %4 %5")
                       .arg(QString::fromLatin1(w->metaObject()->className()))
                       .arg(w->isEnabled())
                       .arg(w->isHidden())
                       .arg(w->property("checked").toString(), w->property("text").toString());
        return out;
    }

    InstrumentLink link;
    WindowRunPanel runPanel{window};
    NoSettings noSettings;
    MeasurementRun run{link,       runPanel, window.resultsView(), window.resultsView(),
                       noSettings, platform};
    std::mt19937 random_{20240610};
};

TEST_F(RunProperty, EveryRunEndsWithinItsPointsAndEachPointMovesTowardTheStop) {
    const std::vector<double> hertz{5,   6,     9,   10,     99,  100,    999, 1000,    9999,
                                    1e4, 99999, 1e5, 999999, 1e6, 9.99e6, 1e7, 12.95e6, 13e6};
    const std::vector<double> millivolts{-32000, -10010, -10000, -9990, -1000, -100,
                                         -10,    0,      10,     100,   990,   1000,
                                         9990,   10000,  10010,  31950, 32000};
    for (int n = 0; n < 160; ++n) {
        // The ends of the ranges first: a step above a span of 4 Hz becomes a tenth of it;
        // 2.03 V is no binary fraction.
        const int mode = n < 7 ? 0 : pick(0, 5);
        const bool bias = n < 7 ? n >= 4 : mode < 4 && pick(0, 1) == 1;
        const std::array<std::array<double, 3>, 7> edges{{{10e6, 13e6, 1000},
                                                          {12.95e6, 13e6, 1000},
                                                          {5, 9, 1000},
                                                          {5, 13e6, 1000},
                                                          {10000, 32000, 10},
                                                          {-32000, -9000, 10},
                                                          {1990, 2030, 10}}};
        const std::array<int, 7> edgeAuto{1, 1, 0, 2, 1, 1, 0};
        apply(mode, bias,
              n < 7  ? edges[size_t(n)]
              : bias ? range(millivolts, -32000, 32000, 10)
                     : range(hertz, 5, 13e6, 1),
              n < 7 ? (n == 2 ? 2 : n == 6) : pick(0, 2), n < 7 ? 0 : pick(0, 2),
              n < 7 ? edgeAuto[size_t(n)] : pick(0, bias ? 1 : 2));
        const PanelSnapshot panel = runPanel.snapshot();
        const std::array<double, 3>& f = panel.sweepFields();
        SCOPED_TRACE(QStringLiteral("set-up %1: mode %2, %3 to %4 by %5%6")
                         .arg(n)
                         .arg(mode)
                         .arg(f[0])
                         .arg(f[1])
                         .arg(f[2])
                         .arg(panel.autoStep ? " auto" : "")
                         .toStdString());
        // Sweep units as the instrument reports them: kHz or mV; its resolution 1 Hz, 10 mV.
        const double scale = bias ? 1 : 1000, tolerance = bias ? 5 : 5e-4;
        const double low = std::min(f[0], f[1]) / scale, high = std::max(f[0], f[1]) / scale;
        const size_t bound =
            panel.autoStep ? 2000 : size_t(std::max(0.0, std::floor((f[1] - f[0]) / f[2]))) + 2;
        link.reset(bound);
        const QStringList before = panelState();
        const size_t messages = platform.messages.size();
        run.Run_Click(0);
        const std::vector<double>& x = link.sweepValues;
        // A run that goes on past its points meets an instrument that no longer answers.
        ASSERT_EQ(platform.messages.size(), messages)
            << platform.messages.back().text.toStdString() << " after " << x.size() << " points";
        ASSERT_FALSE(x.empty());
        EXPECT_TRUE(f[1] > f[0] || x.size() == 1u);
        for (size_t i = 0; i < x.size(); ++i) {
            EXPECT_TRUE(x[i] >= low - tolerance && x[i] <= high + tolerance) << "point " << i;
            ASSERT_TRUE(i == 0 || x[i] > x[i - 1]) << "point " << i;
        }
        EXPECT_EQ(panelState(), before);
    }
}

}  // namespace
}  // namespace lorvane::test
