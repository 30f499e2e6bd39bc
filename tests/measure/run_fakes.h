#pragma once

#include <gtest/gtest.h>

#include <QHash>
#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <functional>

#include "fake_platform.h"
#include "measurement_run.h"

namespace lorvane::test {

using namespace Qt::Literals::StringLiterals;

// A display text in the locale the test runs under: "." becomes the decimal separator.
inline QString dec(const char* text) {
    return QString::fromUtf8(text).replace(u'.', QLocale().decimalPoint());
}

inline QStringList words(const char* text) {
    return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts);
}

// A front panel in words: sweep ("F" or "B"), start, stop, step (Hz or mV), then any of "auto",
// "log" (the automatic step, shown in the step box), "fast" (High Speed), "mode=", "circuit="
// (indices), "bias=" (of a frequency sweep, mV), "spot=" (frequency of a bias sweep, Hz) and
// "osc=" (mV, 500 unless given).
inline PanelSnapshot panelOf(const char* text) {
    PanelSnapshot p;
    const QStringList w = words(text);
    p.sweep = w[0] == u"B" ? SweepParam::Bias : SweepParam::Frequency;
    std::array<double, 3>& fields = p.sweep == SweepParam::Bias ? p.bias : p.frequency;
    for (int i = 0; i < 3; ++i) fields[i] = w[i + 1].toDouble();
    QHash<QString, QString> options{{u"osc"_s, u"500"_s}};
    for (const QString& word : w.mid(4)) options[word.section(u'=', 0, 0)] = word.section(u'=', 1);
    p.autoStep = options.contains(u"auto"_s);
    p.logStep = options.contains(u"log"_s);
    p.stepShowsAuto[static_cast<size_t>(p.sweep)] = p.autoStep;
    p.highSpeed = options.contains(u"fast"_s);
    p.mode = static_cast<MeasureMode>(options.value(u"mode"_s).toInt());
    p.circuit = static_cast<CircuitMode>(options.value(u"circuit"_s).toInt());
    if (options.contains(u"bias"_s)) p.bias[0] = options[u"bias"_s].toDouble();
    if (options.contains(u"spot"_s)) p.frequency[0] = options[u"spot"_s].toDouble();
    p.oscillatorText = dec(options[u"osc"_s].toUtf8().constData());
    return p;
}

// Everything the run works against, each part recording what it was told as text.
struct RunRig final : RunLink, RunPanel, RunResults, RunView, RunSettings, RunJournal {
    RunRig() { run.setJournal(this); }

    // The link's traffic: writes, "?" and a query, "<read>", "<purge>". Queries and reads are
    // answered by `reply` (by their number from 0), else in turn from `replies`, else "".
    bool write(const QString& text) override {
        wire << text;
        return !writeOk || writeOk(text);
    }
    QString query(const QString& text, int delayMs) override {
        wire << u'?' + text;
        return answer(delayMs);
    }
    QString read(int delayMs) override {
        wire << u"<read>"_s;
        return answer(delayMs);
    }
    void purge() override { wire << u"<purge>"_s; }
    QString answer(int delayMs) {
        EXPECT_EQ(delayMs, 50) << "the read delay of a reading";
        const int number = queries++;
        if (reply) return reply(number);
        return replies.isEmpty() ? QString() : replies.takeFirst();
    }

    // The panel; step box texts as "F:<text>" or "B:<text>".
    PanelSnapshot snapshot() const override { return snap; }
    std::array<double, 3>& previousRange(SweepParam sweep) override {
        return sweep == SweepParam::Bias ? prevBias : prevFreq;
    }
    bool stopRequest() const override { return stop; }
    void setStopRequest(bool request) override { stop = request; }
    bool mergeOption() const override { return merge; }
    void setStepText(SweepParam sweep, const QString& text) override {
        stepTexts << (sweep == SweepParam::Bias ? u"B:"_s : u"F:"_s) + text;
    }
    void clearAutoStep() override { calls << u"clear auto"_s; }
    QString runCaption(int index) const override { return captions[index]; }
    void setRunCaption(int index, const QString& caption) override { captions[index] = caption; }
    void setRunEnabled(int index, bool enabled) override { runEnabled[index] = enabled; }
    void setRefButtonColour(RefButtonColour colour) override { refColour = colour; }
    void EnablePanel(bool enable) override { panelEnabled = enable; }
    bool closing() const override { return closingNow; }

    // The results list, sorted by key like the real one; list() gives "x|dat1|dat2" a row.
    void ClearResults() override {
        rows.clear();
        plotReady = false;
    }
    bool PlotReady() const override { return plotReady; }
    void setBackground(ListBackground colour) override { background = colour; }
    void removeRowWithSweepText(const QString& text) override {
        const auto row =
            std::find_if(rows.begin(), rows.end(), [&](auto& r) { return r.x == text; });
        if (row != rows.end()) rows.erase(row);
    }
    void addRow(const ResultRow& row) override {
        const auto byKey = [](const ResultRow& a, const ResultRow& b) { return a.key < b.key; };
        rows.insert(std::upper_bound(rows.begin(), rows.end(), row, byKey), row);
    }
    int64_t rowCount() const override { return static_cast<int64_t>(rows.size()); }
    std::array<QString, 3> rowValues(int64_t row) const override {
        const ResultRow& r = rows.at(static_cast<size_t>(row));
        return {r.x, r.dat1, r.dat2};
    }
    void followRow(int64_t row) override { calls << u"follow %1"_s.arg(row); }
    void showFirstRow() override { calls << u"first"_s; }
    QString list() const {
        QStringList texts;
        for (const ResultRow& r : rows) texts << r.x + u'|' + r.dat1 + u'|' + r.dat2;
        return texts.join(u' ');
    }

    // The view: panel texts as "<key>=<text>"; a plot, which sets PlotReady like the real one.
    void setPanelText(const QString& key, const QString& text) override {
        panels << key + u'=' + text;
    }
    void setColumnUnits(const ColumnUnits& u) override {
        calls << u"units "_s + u[0] + u[1] + u[2];
    }
    void showNote(const QString& text) override { calls << u"note "_s + text; }
    void resetHighlight() override { calls << u"highlight"_s; }
    void DrawPlot(double xMin, double xMax, double yMin, double yMax) override {
        plots << u"%1 %2 %3 %4"_s.arg(xMin).arg(xMax).arg(yMin).arg(yMax);
        plotReady = true;
    }
    void showProgress(int64_t done, std::optional<int64_t> total) override {
        calls << u"%1/%2"_s.arg(done).arg(total ? QString::number(*total) : u"?"_s);
    }
    void endProgress() override { calls << u"end"_s; }

    void write(const QString& name, double value) override {
        settings << name + u'=' + QString::number(value);
    }

    // The journal; "record" among the panel texts where a point was written down.
    void begin(const RunStart& start) override { starts.push_back(start); }
    void record(const MeasuredPoint& point) override {
        points.push_back(point);
        panels << u"record"_s;
    }
    // The points as "x:dat1:dat2", "*" after a corrected one.
    QString journal() const {
        QStringList texts;
        for (const MeasuredPoint& p : points)
            texts << u"%1:%2:%3%4"_s.arg(p.x).arg(p.dat1).arg(p.dat2).arg(p.corrected ? u"*"_s
                                                                                      : QString());
        return texts.join(u' ');
    }

    // The panel (see panelOf), its sweep's range remembered as the last run's.
    void setUp(const char* text) {
        snap = panelOf(text);
        previousRange(snap.sweep) = snap.sweepFields();
    }
    // The instrument steps through its sweep: point i lies at start + i * step kHz and reads
    // z0 + i * dz Ohm and the phase `phase`.
    void instrument(double startKHz, double stepKHz, double z0 = 100, double dz = 10,
                    double phase = 10) {
        queries = 0;
        reply = [=](int i) {
            return u"NZFN+%1E+00,NTDN+%2E+00,K+%3"_s.arg(z0 + i * dz)
                .arg(phase)
                .arg(startKHz + i * stepKHz, 0, 'f', 6);
        };
    }
    QString traffic() const { return wire.mid(wire.indexOf(u"<purge>"_s) + 1).join(' '); }
    // Run buttons' captions and enabling, the Ref. colour, the panel's enabling, the reference.
    QString state() const {
        return u"%1 %2 %3%4 %5 %6%7"_s.arg(captions[0], captions[1])
            .arg(int(runEnabled[0]))
            .arg(int(runEnabled[1]))
            .arg(refColour == RefButtonColour::AppWorkspace ? u"workspace"_s : u"face"_s)
            .arg(panelEnabled ? u"panel"_s : u"locked"_s)
            .arg(run.RefStored() ? u" ref"_s : QString());
    }

    std::function<QString(int)> reply;
    QStringList replies;
    std::function<bool(const QString&)> writeOk;  // all succeed without it
    QStringList wire;
    int queries = 0;
    PanelSnapshot snap;
    std::array<double, 3> prevFreq{}, prevBias{};
    bool stop = false, merge = false, closingNow = false;
    std::array<QString, 2> captions{u"&Run"_s, u"&Ref."_s};
    std::array<bool, 2> runEnabled{true, true};
    RefButtonColour refColour = RefButtonColour::ButtonFace;
    bool panelEnabled = true;
    QStringList stepTexts;
    std::vector<ResultRow> rows;
    bool plotReady = false;
    ListBackground background = ListBackground::White;
    // The calls that change no state here, in order ("<done>/<total or ?>" for progress).
    QStringList calls;
    QStringList panels, plots, settings;
    std::vector<RunStart> starts;
    std::vector<MeasuredPoint> points;
    FakePlatform platform;
    MeasurementRun run{*this, *this, *this, *this, *this, platform};
};

}  // namespace lorvane::test
