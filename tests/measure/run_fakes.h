#pragma once

#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "fake_platform.h"
#include "measurement_run.h"
#include "run_interfaces.h"

namespace lorvane::test {

// A display text in the locale the test runs under: "." becomes the decimal separator.
inline QString dec(const char* text) {
    return QString::fromUtf8(text).replace(u'.', QLocale().decimalPoint());
}

// The words of a text, as a table row gives a list.
inline std::vector<QString> words(const char* text) {
    const QStringList list = QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts);
    return {list.begin(), list.end()};
}

// Records the traffic: each write as its text, each query as "?" and its text, a read as
// "<read>", a purge as "<purge>". Queries and reads are answered in turn from `reply` (by their
// number from 0), else from `replies`, else "".
class FakeLink final : public RunLink {
  public:
    bool write(const QString& text) override;
    QString query(const QString& text, int delayMs) override;
    QString read(int delayMs) override;
    void purge() override { wire.push_back(QStringLiteral("<purge>")); }

    std::function<QString(int)> reply;
    std::deque<QString> replies;
    // Decides whether a write succeeds (by write number from 0, and text); all do without it.
    std::function<bool(int, const QString&)> writeOk;

    std::vector<QString> wire;
    std::vector<int> delays;
    int writes = 0;
    int queries = 0;

  private:
    QString answer(int delayMs);
};

class FakePanel final : public RunPanel {
  public:
    PanelSnapshot snapshot() const override { return snap; }
    std::array<double, 3>& previousRange(SweepParam sweep) override {
        return sweep == SweepParam::Bias ? prevBias : prevFreq;
    }
    bool stopRequest() const override { return stop; }
    void setStopRequest(bool request) override { stop = request; }
    bool mergeOption() const override { return merge; }
    void setStepText(SweepParam sweep, const QString& text) override;
    void clearAutoStep() override { ++autoCleared; }
    QString runCaption(int index) const override { return captions[index]; }
    void setRunCaption(int index, const QString& caption) override { captions[index] = caption; }
    void setRunEnabled(int index, bool enabled) override { runEnabled[index] = enabled; }
    void setRefButtonColour(RefButtonColour colour) override { refColour = colour; }
    void EnablePanel(bool enable) override { panelEnabled = enable; }
    bool closing() const override { return closingNow; }

    PanelSnapshot snap;
    std::array<double, 3> prevFreq{};
    std::array<double, 3> prevBias{};
    bool stop = false;
    bool merge = false;
    bool closingNow = false;
    std::array<QString, 2> captions{QStringLiteral("&Run"), QStringLiteral("&Ref.")};
    std::array<bool, 2> runEnabled{true, true};
    RefButtonColour refColour = RefButtonColour::ButtonFace;
    bool panelEnabled = true;
    // Step box texts, and every text given to them in order as "F:<text>" or "B:<text>".
    std::array<QString, 2> stepText;
    std::vector<QString> stepTexts;
    int autoCleared = 0;
};

// A sorted list like the real one.
class FakeResults final : public RunResults {
  public:
    void ClearResults() override;
    bool PlotReady() const override { return plotReady; }
    void setBackground(ListBackground colour) override { background = colour; }
    void removeRowWithSweepText(const QString& sweepText) override;
    void addRow(const ResultRow& row) override;
    int64_t rowCount() const override { return static_cast<int64_t>(rows.size()); }
    std::array<QString, 3> rowValues(int64_t row) const override;
    void followRow(int64_t row) override { followed.push_back(row); }
    void showFirstRow() override { ++firstRowShown; }

    // Cells of row i as "key|x|dat1|dat2".
    QString rowText(size_t i) const;

    std::vector<ResultRow> rows;
    // How many rows hold each sweep value text, so that long runs skip the search.
    QHash<QString, int> xCount;
    bool plotReady = false;
    ListBackground background = ListBackground::White;
    int clears = 0;
    int removed = 0;
    std::vector<int64_t> followed;
    int firstRowShown = 0;
};

class FakeView final : public RunView {
  public:
    explicit FakeView(FakeResults& results) : results_(results) {}
    void setPanelText(const QString& key, const QString& text) override;
    void setColumnUnits(const ColumnUnits& newUnits) override { units = newUnits; }
    void showNote(const QString& text) override { note = text; }
    void resetHighlight() override { ++highlightResets; }
    // Like the real plot, a drawing makes PlotReady true.
    void DrawPlot(double xMin, double xMax, double yMin, double yMax) override;
    void showProgress(int64_t done, std::optional<int64_t> total) override {
        progress.push_back({done, total.value_or(-1)});
    }
    void endProgress() override { progress.push_back({-1, -1}); }

    std::map<QString, QString> panels;
    // Every panel change in order, as "<key>=<text>".
    std::vector<QString> panelLog;
    ColumnUnits units;
    QString note;
    int highlightResets = 0;
    std::vector<std::array<double, 4>> plots;
    // Every progress shown, as (done, total or -1); (-1, -1) where a run ended.
    std::vector<std::pair<int64_t, int64_t>> progress;

  private:
    FakeResults& results_;
};

class FakeSettings final : public RunSettings {
  public:
    void write(const QString& name, double value) override { values[name] = value; }
    std::map<QString, double> values;
};

// Writes down every point, and what the status bar showed at that moment.
class RecordingJournal final : public RunJournal {
  public:
    explicit RecordingJournal(const FakeView& view) : view_(view) {}
    void begin(const RunStart& start) override { starts.push_back(start); }
    void record(const MeasuredPoint& point) override {
        points.push_back(point);
        shownWhenRecorded.push_back(view_.panels.count(QStringLiteral("DAT1"))
                                        ? view_.panels.at(QStringLiteral("DAT1"))
                                        : QString());
    }

    std::vector<RunStart> starts;
    std::vector<MeasuredPoint> points;
    std::vector<QString> shownWhenRecorded;

  private:
    const FakeView& view_;
};

// A run with a fake for everything around it.
struct RunRig {
    FakeLink link;
    FakePanel panel;
    FakeResults results;
    FakeView view{results};
    FakeSettings settings;
    FakePlatform platform;
    MeasurementRun run{link, panel, results, view, settings, platform};

    // The traffic recorded so far; the record starts afresh.
    std::vector<QString> takeWire();
};

// A reply to a trigger in the layout of an impedance reading: "NZFN<z>,NTDN<d>,<c>".
QString impedanceReply(const QString& z, const QString& d, const QString& c);
// The third field of a reading at a frequency: "K+" and the kHz with six decimals.
QString kiloHertzField(double kHz);

}  // namespace lorvane::test
