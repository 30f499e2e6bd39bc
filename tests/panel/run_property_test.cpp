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
struct InstrumentLink final : RunLink {
    bool write(const QString& text) override {
        instrument->receive((text + u'\r').toStdString(), {});
        return true;
    }
    QString query(const QString& text, int) override {
        if (sweepValues.size() >= limit) return {};
        write(text);
        const sim::InstrumentState& s = instrument->state();
        const bool bias = s.swept == sim::SweepQuantity::Bias;
        sweepValues.push_back(bias ? s.biasVolts * 1000 : s.frequencyKhz);
        return read(0);
    }
    QString read(int) override {
        return QString::fromStdString(instrument->read({}, 1'000'000).text);
    }
    void purge() override { read(0); }

    std::unique_ptr<sim::Instrument> instrument;
    size_t limit = 0;
    std::vector<double> sweepValues;  // the kHz or mV of every reading, in the order taken
};

struct NoSettings final : RunSettings {
    void write(const QString&, double) override {}
};

class RunProperty : public PanelTest {
  protected:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    double logUniform(double low, double high) {
        return std::exp(
            std::uniform_real_distribution<double>(std::log(low), std::log(high))(random_));
    }
    // A value on the grid of the range: half the time an end of it, or at or next to a decade.
    double value(bool bias, double low, double high, double grid) {
        if (pick(0, 3) == 0) return pick(0, 1) == 0 ? low : high;
        if (pick(0, 2) == 0)
            return (bias && pick(0, 1) == 0 ? -1 : 1) *
                   (std::pow(10, pick(bias ? 1 : 0, bias ? 4 : 7)) + grid * pick(-1, 1));
        const double drawn = bias ? std::uniform_real_distribution<double>(low, high)(random_)
                                  : logUniform(low, high);
        return std::round(drawn / grid) * grid;
    }

    // Enters a set-up and returns it as operator steps: unit clicks (on the units left before),
    // a start, a stop a few grid steps or a long way on (or anywhere) and a step for up to a few
    // hundred points, typed in the units shown; the fields correct them as for the operator.
    QString drawSetUp(bool bias) {
        const char kind = bias ? 'B' : 'F';
        QString script = bias ? "swB" : "swF";
        for (int i = pick(0, 2); i > 0; --i) script += QStringLiteral(" u%1%2").arg(kind).arg(0);
        for (int i = pick(0, 2); i > 0; --i) script += QStringLiteral(" u%1%2").arg(kind).arg(2);
        act(window, script.toLatin1());
        const qsizetype clicks = script.size();
        const double low = bias ? -32000 : 5, high = bias ? 32000 : 13e6, grid = bias ? 10 : 1;
        const double start = value(bias, low, high, grid);
        const double span = pick(0, 2) == 0 ? grid * pick(0, 12) : logUniform(grid, high - low);
        const double stop = pick(0, 4) == 0
                                ? value(bias, low, high, grid)
                                : std::min(high, start + std::round(span / grid) * grid);
        const double step = std::fabs(stop - start) / (pick(0, 3) == 0 ? 1 : pick(1, 300));
        const std::array<double, 3> values{
            start, stop, std::max(grid * pick(0, 2), std::round(step / grid) * grid)};
        if (bias)
            script += " F0=" + *frequencyText(std::round(logUniform(5, 13e6)), ui.lFrq[0]->text());
        for (size_t i = 0; i < 3; ++i) {
            const QString unit = (bias ? ui.lVlt : ui.lFrq)[i]->text();
            script += QStringLiteral(" %1%2=").arg(kind).arg(i) +
                      *(bias ? biasText(values[i], unit) : frequencyText(values[i], unit));
        }
        const int autoStep = pick(0, bias ? 1 : 2);
        script += QString(autoStep > 0 ? " auto" : "") + (autoStep > 1 ? " +F2" : "");
        act(window, script.mid(clicks).toLatin1());
        return script;
    }

    // Everything of the set-up a run could leave changed: each control's state and text.
    QStringList panelState() const {
        QStringList out{QString::number(ui.vAuto->isChecked())};
        for (const QWidget* w : ui.lFrm[0]->findChildren<QWidget*>())
            out << QStringLiteral("%1%2 ").arg(w->isEnabled()).arg(w->isHidden()) +
                       w->property("checked").toString() + w->property("text").toString();
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
    // The ends of the ranges first (kHz and mV unless clicked): a step above a span of 4 Hz
    // becomes a tenth of it; 2.03 V is no binary fraction.
    const std::vector<QString> edges{
        "F0=10000 F1=13000 F2=1 auto",      "F0=12950 F1=13000 F2=1 auto",
        "uF0 uF0 F0=5 F1=9 F2=1",           "F0=0.005 F1=13000 F2=1 auto +F2",
        "swB B0=10000 B1=32000 B2=10 auto", "swB B0=-32000 B1=-9000 B2=10 auto",
        "swB uB0 B0=1.99 B1=2.03 B2=10"};
    sim::SimConfig instant;
    instant.delayMs = 0;
    for (size_t n = 0; n < 160; ++n) {
        const int mode = n < edges.size() ? 0 : pick(0, 5);
        ui.vAuto->setChecked(false);
        ui.lMod[size_t(mode)]->setChecked(true);
        window.selections().lMod_Click(mode);  // a new list, even for the same parameter
        const QString setUp = n < edges.size() ? edges[n] : drawSetUp(mode < 4 && pick(0, 1) == 1);
        SCOPED_TRACE(
            QStringLiteral("set-up %1, mode %2: %3").arg(n).arg(mode).arg(setUp).toStdString());
        if (n < edges.size()) act(window, setUp.toLatin1());
        const PanelSnapshot panel = runPanel.snapshot();
        const std::array<double, 3>& f = panel.sweepFields();
        // Sweep units as the instrument reports them: kHz or mV; its resolution 1 Hz, 10 mV.
        const bool bias = panel.sweep == SweepParam::Bias;
        const double scale = bias ? 1 : 1000, tolerance = bias ? 5 : 5e-4;
        const double low = std::min(f[0], f[1]) / scale, high = std::max(f[0], f[1]) / scale;
        link.instrument = std::make_unique<sim::Instrument>(instant);
        link.sweepValues.clear();
        link.limit = panel.autoStep ? 2000 : size_t(std::max(0.0, (f[1] - f[0]) / f[2])) + 2;
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
