#include "run_fakes.h"

#include <algorithm>

namespace lorvane::test {

bool FakeLink::write(const QString& text) {
    wire.push_back(text);
    const int number = writes++;
    return !writeOk || writeOk(number, text);
}

QString FakeLink::query(const QString& text, int delayMs) {
    wire.push_back(u'?' + text);
    return answer(delayMs);
}

QString FakeLink::read(int delayMs) {
    wire.push_back(QStringLiteral("<read>"));
    return answer(delayMs);
}

QString FakeLink::answer(int delayMs) {
    delays.push_back(delayMs);
    const int number = queries++;
    if (reply) return reply(number);
    if (replies.empty()) return QString();
    QString next = replies.front();
    replies.pop_front();
    return next;
}

void FakePanel::setStepText(SweepParam sweep, const QString& text) {
    const bool bias = sweep == SweepParam::Bias;
    stepText[bias ? 1 : 0] = text;
    stepTexts.push_back((bias ? QStringLiteral("B:") : QStringLiteral("F:")) + text);
}

void FakeResults::ClearResults() {
    rows.clear();
    xCount.clear();
    plotReady = false;
    ++clears;
}

void FakeResults::removeRowWithSweepText(const QString& sweepText) {
    if (xCount.value(sweepText) == 0) return;
    --xCount[sweepText];
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&](const ResultRow& row) { return row.x == sweepText; });
    if (it == rows.end()) return;
    rows.erase(it);
    ++removed;
}

void FakeResults::addRow(const ResultRow& row) {
    const auto at =
        std::upper_bound(rows.begin(), rows.end(), row,
                         [](const ResultRow& a, const ResultRow& b) { return a.key < b.key; });
    rows.insert(at, row);
    ++xCount[row.x];
}

std::array<QString, 3> FakeResults::rowValues(int64_t row) const {
    if (row < 0 || row >= rowCount()) return {};
    const ResultRow& r = rows[static_cast<size_t>(row)];
    return {r.x, r.dat1, r.dat2};
}

QString FakeResults::rowText(size_t i) const {
    const ResultRow& r = rows.at(i);
    return r.key + u'|' + r.x + u'|' + r.dat1 + u'|' + r.dat2;
}

void FakeView::setPanelText(const QString& key, const QString& text) {
    panels[key] = text;
    panelLog.push_back(key + u'=' + text);
}

void FakeView::DrawPlot(double xMin, double xMax, double yMin, double yMax) {
    plots.push_back({xMin, xMax, yMin, yMax});
    results_.plotReady = true;
}

std::vector<QString> RunRig::takeWire() {
    std::vector<QString> taken;
    taken.swap(link.wire);
    return taken;
}

QString kiloHertzField(double kHz) { return QStringLiteral("K+%1").arg(kHz, 0, 'f', 6); }

QString impedanceReply(const QString& z, const QString& d, const QString& c) {
    return QStringLiteral("NZFN") + z + QStringLiteral(",NTDN") + d + u',' + c;
}

}  // namespace lorvane::test
