#include "results_view.h"

#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <cmath>

#include "number_format.h"
#include "plot_box.h"
#include "run_progress.h"
#include "status_panels.h"

namespace lorvane {

using namespace Qt::Literals::StringLiterals;

QString readoutText(const QString& label, double value, const QString& unit) {
    return label + u':' + formatNumber(value, u"0.00 "_s) + unit;
}

ResultsView::ResultsView(ResultTable& table, QTableView& list, PlotBox& plot, StatusPanels& status,
                         PanelTexts texts, FrameClock* clock)
    : table_(table),
      list_(list),
      steadyClock_(clock ? nullptr : std::make_unique<SteadyFrameClock>()),
      clock_(clock ? *clock : *steadyClock_),
      throttle_({&list, &status}, clock_),
      plot_(plot),
      status_(status),
      texts_(std::move(texts)),
      plotView_(table, plot, status) {
    QObject::connect(&list_, &ResultsList::itemClicked, &list_,
                     [this](int row) { Data_ItemClick(row); });
    QObject::connect(&list_, &ResultsList::mouseMoved, &list_, [this] { Data_MouseMove(); });
    QObject::connect(&plot_, &PlotBox::mouseMoved, &list_,
                     [this](QPointF position) { fDraw_MouseMove(position); });
    QObject::connect(&plot_, &PlotBox::menuRequested, &list_,
                     [this](QPoint position) { showMenu(position); });
    plotView_.setFileStem([this] {
        const QString sweep = texts_.sweepCaption ? texts_.sweepCaption() : QString();
        const QString measure = texts_.measureCaption ? texts_.measureCaption() : QString();
        return sweep.isEmpty() || measure.isEmpty() ? QString() : sweep + u'_' + measure;
    });
    // A change of the plot's choices draws it afresh: a red point is red again.
    plotView_.setRedrawn([this](bool complete) {
        plotReady_ = plotReady_ && complete;
        if (plotReady_ && highlightShown_) plot_.drawDot(highlight_, kHighlightColour);
    });
}

void ResultsView::ClearResults() {
    throttle_.beforeChange();
    plotReady_ = false;
    plot_.clearPicture();
    table_.clear();
}

void ResultsView::setBackground(ListBackground background) {
    throttle_.beforeChange();
    const Rgb rgb = rgbOf(background);
    list_.setBackground(QColor(rgb.red, rgb.green, rgb.blue));
}

void ResultsView::removeRowWithSweepText(const QString& sweepText) {
    throttle_.beforeChange();
    table_.removeRowWithSweepText(sweepText);
}

void ResultsView::addRow(const ResultRow& row) {
    throttle_.beforeChange();
    table_.addRow(row);
    if (plotView_.rowAdded()) plotReady_ = false;
}

void ResultsView::followRow(int64_t row) {
    throttle_.beforeChange();
    list_.followRow(row);
}

void ResultsView::showFirstRow() {
    list_.showFirstRow();
    throttle_.flush();
}

std::array<QString, 3> ResultsView::rowValues(int64_t row) const {
    if (row < 0 || row >= table_.rows()) return {};
    const ResultRow cells = table_.row(static_cast<int>(row));
    return {cells.x, cells.dat1, cells.dat2};
}

void ResultsView::setPanelText(const QString& key, const QString& text) {
    throttle_.beforeChange();
    status_.setPanelText(key, text);
}

void ResultsView::showNote(const QString& text) { status_.panelAt(3)->setText(text); }

void ResultsView::showMessage(const QString& text) { status_.showMessage(text); }

void ResultsView::setColumnUnits(const ColumnUnits& units) {
    units_ = units;
    plotView_.setColumnUnits(units);
}

void ResultsView::DrawPlot(double, double, double, double) {
    throttle_.flush();
    // A fresh drawing has no red point; PlotReady stays clear until it is done.
    plotReady_ = false;
    highlightShown_ = false;
    plotReady_ = plotView_.draw();
}

void ResultsView::showProgress(int64_t done, std::optional<int64_t> total) {
    throttle_.beforeChange();
    const qint64 now = clock_.now();
    if (done == 0) progressStart_ = now;
    status_.showProgress(done, total, remainingMs(done, total, now - progressStart_));
}

void ResultsView::endProgress() {
    status_.hideProgress();
    throttle_.flush();
}

void ResultsView::Data_ItemClick(int row) {
    if (!plotReady_) return;
    const std::optional<QPointF> point = table_.point(row);
    if (!point) return;
    UnhighlightPoint();
    highlight_ = *point;
    plot_.drawDot(highlight_, kHighlightColour);
    highlightShown_ = true;
    showReadout(highlight_);
}

void ResultsView::Data_MouseMove() {
    if (!plotReady_ || !cursorShown_) return;
    for (const QString& key : {u"IN"_s, u"DAT1"_s, u"DAT2"_s}) status_.setPanelText(key, {});
    cursorShown_ = false;
}

void ResultsView::fDraw_MouseMove(QPointF position) {
    if (!plotReady_) return;
    showReadout(position);
    UnhighlightPoint();
    cursorShown_ = true;
}

void ResultsView::UnhighlightPoint() {
    if (std::fabs(highlight_.x()) != kNoHighlight) plot_.drawDot(highlight_, kTraceColour);
    highlightShown_ = false;
}

void ResultsView::savePlotKey() {
    if (list_.view().hasFocus() || plot_.hasFocus()) plotView_.save();
}

void ResultsView::showMenu(QPoint globalPosition) {
    QMenu menu(&plot_);
    plotView_.fillMenu(menu);
    menu.exec(globalPosition);
}

void ResultsView::showReadout(QPointF point) {
    const std::array<QString, 3> labels =
        texts_.quantityLabel ? texts_.quantityLabel() : std::array<QString, 3>{};
    status_.setPanelText(u"IN"_s, {});
    status_.setPanelText(u"DAT1"_s, readoutText(labels[0], point.x(), units_[0]));
    status_.setPanelText(u"DAT2"_s, readoutText(labels[1], point.y(), units_[1]));
}

}  // namespace lorvane
