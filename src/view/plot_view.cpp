#include "plot_view.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStandardPaths>
#include <algorithm>

#include "platform.h"
#include "plot_box.h"
#include "plot_export.h"
#include "plot_settings.h"
#include "plot_ticks.h"
#include "result_table.h"
#include "status_panels.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

// The status bar's unnamed panel, which tells why a log axis was refused.
constexpr int kRefusalPanel = 3;
// Table columns: the sweep value, the first and the second reading.
constexpr int kSweepColumn = 2;
constexpr int kFirstColumn = 3;
constexpr int kSecondColumn = 4;

bool allPositive(const std::vector<QPointF>& points, bool x) {
    return std::all_of(points.begin(), points.end(),
                       [x](QPointF point) { return (x ? point.x() : point.y()) > 0; });
}

// "Log x needs values > 0", "Log x, y need values > 0", or empty.
QString refusalText(const QStringList& axes) {
    if (axes.isEmpty()) return QString();
    return u"Log "_s + axes.join(u", "_s) + (axes.size() > 1 ? u" need"_s : u" needs"_s) +
           u" values > 0"_s;
}

}  // namespace

PlotView::PlotView(const ResultTable& table, PlotBox& box, StatusPanels& status)
    : table_(table), box_(box), status_(status) {
    elapsed_.start();
    clock_ = [this] { return elapsed_.elapsed(); };
}

void PlotView::attach(PlotSettings* settings, Platform* platform, std::function<bool()> logSweep) {
    settings_ = settings;
    platform_ = platform;
    logSweep_ = std::move(logSweep);
    if (!settings_) return;
    logX_ = settings_->readNumber(kPlotLogX, 0) != 0;
    logY_ = settings_->readNumber(kPlotLogY, 0) != 0;
    const int second = settings_->readNumber(kPlotSecond, -1);
    second_ = second < 0 ? std::nullopt : std::optional<bool>(second != 0);
    folder_ = settings_->readText(kPlotFolder, QString());
}

bool PlotView::secondShown() const { return second_.value_or(units_[2].trimmed() == u"\u00b0"); }

bool PlotView::draw() {
    sweepLog_ = logSweep_ && logSweep_();
    lastDraw_ = clock_();
    const bool complete = redraw();
    lastDrawTime_ = clock_() - *lastDraw_;
    return complete;
}

bool PlotView::rowAdded() {
    const qint64 wait = std::max(kLivePlotIntervalMs, kLivePlotPatience * lastDrawTime_);
    if (lastDraw_ && clock_() - *lastDraw_ < wait) return false;
    draw();
    return true;
}

bool PlotView::redraw() {
    PlotRequest request;
    request.first = table_.leadingPoints(kFirstColumn);
    const bool complete = request.first.size() == static_cast<size_t>(table_.rows());
    if (secondShown()) request.second = table_.leadingPoints(kSecondColumn);
    request.showSecond = !request.second.empty();
    request.xUnit = units_[0];
    request.yUnit = units_[1];
    request.y2Unit = units_[2];
    request.xTitle = axisTitle(table_.heading(kSweepColumn));
    request.yTitle = axisTitle(table_.heading(kFirstColumn));
    request.y2Title = axisTitle(table_.heading(kSecondColumn));

    QStringList refused;
    request.logX = logX() && allPositive(request.first, true);
    if (logX() && !request.logX) refused << u"x"_s;
    request.logY = logY_ && allPositive(request.first, false);
    if (logY_ && !request.logY) refused << u"y"_s;
    status_.panelAt(kRefusalPanel)->setText(refusalText(refused));
    return box_.drawPlot(request) && complete;
}

void PlotView::redrawShown() {
    if (!box_.request()) return;
    const bool complete = redraw();
    if (redrawn_) redrawn_(complete);
}

bool PlotView::logAllowed(bool x) {
    if (allPositive(table_.leadingPoints(kFirstColumn), x)) return true;
    status_.panelAt(kRefusalPanel)->setText(refusalText({x ? u"x"_s : u"y"_s}));
    return false;
}

void PlotView::setLogX(bool on) {
    if (on && !logAllowed(true)) return;
    logX_ = on;
    if (settings_) settings_->writeNumber(kPlotLogX, on ? 1 : 0);
    redrawShown();
}

void PlotView::setLogY(bool on) {
    if (on && !logAllowed(false)) return;
    logY_ = on;
    if (settings_) settings_->writeNumber(kPlotLogY, on ? 1 : 0);
    redrawShown();
}

void PlotView::setSecondShown(bool on) {
    second_ = on;
    if (settings_) settings_->writeNumber(kPlotSecond, on ? 1 : 0);
    redrawShown();
}

QString PlotView::saveFolder() const {
    if (!folder_.isEmpty() && QFileInfo(folder_).isDir()) return folder_;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

void PlotView::save() {
    if (!platform_ || !box_.request()) return;
    QString stem = fileStem_ ? fileStem_() : QString();
    if (stem.isEmpty()) stem = u"plot"_s;
    const SaveFileChoice choice = platform_->saveFileName(
        {u"Save Plot"_s, QDir(saveFolder()).filePath(stem + u".png"_s), plotFileFilters()});
    if (choice.path.isEmpty()) return;
    const PlotFile file = plotFileFor(choice.path, choice.filter);
    if (!writePlotFile(file, *box_.request(), box_.ranges(), box_.contentsRect().size(),
                       box_.devicePixelRatioF())) {
        platform_->message(u"Cannot save the plot to "_s + QDir::toNativeSeparators(file.path),
                           MsgIcon::Exclamation);
        return;
    }
    folder_ = QFileInfo(file.path).absolutePath();
    if (settings_) settings_->writeText(kPlotFolder, folder_);
}

void PlotView::fillMenu(QMenu& menu) {
    const auto choice = [&](const QString& text, bool checked, auto apply) {
        QAction* action = menu.addAction(text);
        action->setCheckable(true);
        action->setChecked(checked);
        QObject::connect(action, &QAction::toggled, &box_, apply);
        return action;
    };
    // A log sweep always gets a log x axis.
    choice(u"Logarithmic x axis"_s, logX(), [this](bool on) {
        setLogX(on);
    })->setEnabled(!sweepLog_);
    choice(u"Logarithmic y axis"_s, logY(), [this](bool on) { setLogY(on); });
    choice(u"Show second reading"_s, secondShown(), [this](bool on) { setSecondShown(on); });
    menu.addSeparator();
    QAction* saveAction = menu.addAction(u"Save plot..."_s);
    saveAction->setEnabled(box_.request().has_value() && platform_);
    QObject::connect(saveAction, &QAction::triggered, &box_, [this] { save(); });
}

}  // namespace lorvane
