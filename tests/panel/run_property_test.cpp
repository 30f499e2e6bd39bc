// Every run ends: set-ups drawn over the whole space the front panel offers, typed into the real
// window in their units, run against the simulated instrument on a link without latency.
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <limits>
#include <memory>
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
        instrument_ = std::make_unique<sim::Instrument>(config());
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
        sweepValues.push_back(s.swept == sim::SweepQuantity::Bias ? s.biasVolts * 1000
                                                                  : s.frequencyKhz);
        return read(0);
    }
    QString read(int) override {
        return QString::fromStdString(
            instrument_->read({}, std::numeric_limits<size_t>::max()).text);
    }
    void purge() override { read(0); }

    // The sweep value (kHz or mV) of every reading, in the order taken.
    std::vector<double> sweepValues;

  private:
    static sim::SimConfig config() {
        sim::SimConfig c;
        c.delayMs = 0;
        return c;
    }
    std::unique_ptr<sim::Instrument> instrument_;
    size_t limit_ = 0;
};

class NoSettings final : public RunSettings {
  public:
    void write(const QString&, double) override {}
};

enum class AutoKind { Off, Lin, Log };

struct SweepSetUp {
    int mode = 0;
    int sweep = 0;
    int startUnitClicks = 0;  // on the swept quantity's start label
    int stepUnitClicks = 0;
    std::array<double, 3> fields{};  // Hz or mV, typed in the fields' units
    double spot = 0;                 // spot frequency (Hz) of a bias sweep
    AutoKind autoStep = AutoKind::Off;

    std::string describe() const {
        return QString::asprintf(
                   "mode %d, sweep %d, unit clicks %d/%d, fields %.10g %.10g %.10g, auto %d", mode,
                   sweep, startUnitClicks, stepUnitClicks, fields[0], fields[1], fields[2],
                   static_cast<int>(autoStep))
            .toStdString();
    }
};

// Draws set-ups, with the edges of every range and decade drawn often.
class SetUpSpace {
  public:
    SweepSetUp draw() {
        SweepSetUp s;
        s.mode = pick(0, 5);
        s.sweep = s.mode < 4 ? pick(0, 1) : 0;
        s.startUnitClicks = pick(0, 2);
        s.stepUnitClicks = pick(0, 2);
        const int kind = pick(0, s.sweep == 1 ? 1 : 2);
        s.autoStep = static_cast<AutoKind>(kind);
        if (s.sweep == 1) {
            static const std::vector<double> edges{-32000, -10010, -10000, -9990, -1000, -100,
                                                   -10,    0,      10,     100,   990,   1000,
                                                   9990,   10000,  10010,  31950, 32000};
            s.fields[0] = value(edges, -32000, 32000, 10);
            s.fields[1] = pick(0, 4) == 0 ? value(edges, -32000, 32000, 10)
                                          : std::min(32000.0, s.fields[0] + span(64000, 10));
            s.fields[2] = step(s.fields[1] - s.fields[0], 10);
            s.spot = std::round(logUniform(5, 13e6));
        } else {
            static const std::vector<double> edges{5,      6,    9,      10,  99,      100,
                                                   999,    1000, 9999,   1e4, 99999,   1e5,
                                                   999999, 1e6,  9.99e6, 1e7, 12.95e6, 13e6};
            s.fields[0] = pick(0, 1) == 0 ? edges[static_cast<size_t>(pick(0, 17))]
                                          : std::round(logUniform(5, 13e6));
            s.fields[1] = pick(0, 4) == 0 ? std::round(logUniform(5, 13e6))
                                          : std::min(13e6, s.fields[0] + span(13e6, 1));
            s.fields[2] = step(s.fields[1] - s.fields[0], 1);
        }
        return s;
    }

  private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    double logUniform(double low, double high) {
        return std::exp(
            std::uniform_real_distribution<double>(std::log(low), std::log(high))(random_));
    }
    // An edge or any value of the range on its grid.
    double value(const std::vector<double>& edges, double low, double high, double grid) {
        if (pick(0, 1) == 0) return edges[static_cast<size_t>(pick(0, int(edges.size()) - 1))];
        return std::round(std::uniform_real_distribution<double>(low, high)(random_) / grid) * grid;
    }
    // Spans of a few grid steps as often as long ones.
    double span(double longest, double grid) {
        if (pick(0, 2) == 0) return grid * pick(0, 12);
        return std::round(logUniform(grid, longest) / grid) * grid;
    }
    // Up to a few hundred points, as typed; the fields correct it as they do for the operator.
    double step(double span, double grid) {
        const double points = pick(0, 3) == 0 ? 1 : pick(1, 300);
        return std::max(grid * pick(0, 2), std::round(std::fabs(span) / points / grid) * grid);
    }

    std::mt19937 random_{20240610};
};

class RunProperty : public PanelTest {
  protected:
    void SetUp() override { start(); }

    void apply(const SweepSetUp& s) {
        ui.vAuto->setChecked(false);
        ui.lMod[static_cast<size_t>(s.mode)]->setChecked(true);
        window.selections().lMod_Click(s.mode);
        ui.lSwp[static_cast<size_t>(s.sweep)]->setChecked(true);
        window.selections().lSwp_Click(s.sweep);
        if (s.sweep == 1) {
            for (int i = 0; i < s.startUnitClicks % 2; ++i) window.bias().lVlt_Click(0);
            for (int i = 0; i < s.stepUnitClicks % 2; ++i) window.bias().lVlt_Click(2);
            enter(window, 'F', 0, lorvane::frequencyText(s.spot, frequencyUnit(0)).value_or(""));
            for (int i = 0; i < 3; ++i)
                enter(window, 'B', i, lorvane::biasText(s.fields[i], biasUnit(i)).value_or(""));
        } else {
            for (int i = 0; i < s.startUnitClicks; ++i) window.frequency().lFrq_Click(0);
            for (int i = 0; i < s.stepUnitClicks; ++i) window.frequency().lFrq_Click(2);
            for (int i = 0; i < 3; ++i)
                enter(window, 'F', i,
                      lorvane::frequencyText(s.fields[i], frequencyUnit(i)).value_or(""));
        }
        if (s.autoStep != AutoKind::Off) ui.vAuto->setChecked(true);
        if (s.autoStep == AutoKind::Log) window.frequency().dFrq_Change(2);
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
    NoSettings settings;
    MeasurementRun run{link,     runPanel, window.resultsView(), window.resultsView(),
                       settings, platform};
};

// Set-ups at the ends of the ranges, run before the drawn ones.
std::vector<SweepSetUp> edgeSetUps() {
    return {
        {.fields = {10e6, 13e6, 1000}, .autoStep = AutoKind::Lin},
        {.fields = {12.95e6, 13e6, 1000}, .autoStep = AutoKind::Lin},
        // A step above a span of 4 Hz becomes a tenth of it.
        {.startUnitClicks = 2, .fields = {5, 9, 1000}},
        {.fields = {5, 13e6, 1000}, .autoStep = AutoKind::Log},
        {.sweep = 1, .fields = {10000, 32000, 10}, .spot = 1000, .autoStep = AutoKind::Lin},
        {.sweep = 1, .fields = {-32000, -9000, 10}, .spot = 1000, .autoStep = AutoKind::Lin},
        // 2.03 V is no binary fraction.
        {.sweep = 1, .startUnitClicks = 1, .fields = {1990, 2030, 10}, .spot = 1000},
    };
}

TEST_F(RunProperty, EveryRunEndsWithinItsPointsAndEachPointMovesTowardTheStop) {
    SetUpSpace space;
    const std::vector<SweepSetUp> edges = edgeSetUps();
    for (int n = 0; n < 160; ++n) {
        const SweepSetUp setUp = n < int(edges.size()) ? edges[size_t(n)] : space.draw();
        SCOPED_TRACE("set-up " + std::to_string(n) + ": " + setUp.describe());
        apply(setUp);
        const PanelSnapshot panel = runPanel.snapshot();
        const std::array<double, 3>& f = panel.sweepFields();
        // Sweep units as the instrument reports them: kHz or mV.
        const double scale = panel.sweep == SweepParam::Bias ? 1 : 1000;
        const double start = f[0] / scale, stop = f[1] / scale;
        const size_t bound =
            panel.autoStep
                ? 2000
                : static_cast<size_t>(std::max(0.0, std::floor((f[1] - f[0]) / f[2]))) + 2;
        link.reset(bound);
        const QStringList before = panelState();
        const size_t messages = platform.messages.size();

        run.Run_Click(0);

        const std::vector<double>& x = link.sweepValues;
        // A run that goes on past its points meets an instrument that no longer answers.
        ASSERT_EQ(platform.messages.size(), messages)
            << platform.messages.back().text.toStdString() << " after " << x.size()
            << " points, the last at " << (x.empty() ? 0.0 : x.back());
        ASSERT_FALSE(x.empty());
        ASSERT_LE(x.size(), bound);
        if (stop <= start) {
            EXPECT_EQ(x.size(), 1u);
        }
        for (size_t i = 0; i < x.size(); ++i) {
            // The instrument's resolution: 1 Hz, 10 mV.
            const double tolerance = panel.sweep == SweepParam::Bias ? 5 : 5e-4;
            EXPECT_GE(x[i], std::min(start, stop) - tolerance) << "point " << i;
            EXPECT_LE(x[i], std::max(start, stop) + tolerance) << "point " << i;
            if (i > 0) {
                ASSERT_GT(x[i], x[i - 1]) << "point " << i;
            }
        }
        EXPECT_EQ(panelState(), before);
    }
}

}  // namespace
}  // namespace lorvane::test
