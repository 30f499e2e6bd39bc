#pragma once

#include <QPointF>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "command_set.h"
#include "plot_view.h"
#include "repaint_throttle.h"
#include "result_table.h"
#include "results_list.h"
#include "run_interfaces.h"

class QTableView;

namespace lorvane {

class PlotBox;
class StatusPanels;

// "No point highlighted", in the x of HighlightPoint.
inline constexpr double kNoHighlight = 99999999;

// What the results view reads from the front panel when it needs it.
struct PanelTexts {
    // QuantityLabel: names of the swept quantity, of the first and of the second reading.
    std::function<std::array<QString, 3>()> quantityLabel;
    // Captions of the selected sweep option ("Freq", "Bias") and measurement option ("Z",
    // ...), which name the file the plot is saved in ("Freq_Z.png").
    std::function<QString()> sweepCaption;
    std::function<QString()> measureCaption;
};

// A status readout: label + ":" + the value with two decimals in the user's locale, a blank
// and the unit ("Freq.:100.00 kHz").
QString readoutText(const QString& label, double value, const QString& unit);

// The results view below the front panel: the results list with its table, the plot and the
// status readouts, with the state they share (PlotReady, CursorShown, HighlightPoint,
// ColumnUnits) and the handlers of the list's and the plot's events. The measurement run
// works against it as its results and its view: each row it adds shows on the plot within
// about a tenth of a second, and DrawPlot draws the final plot.
//
// While a run streams its points in, the list and the status bar repaint at most once a frame
// (RepaintThrottle) and never lag more than a frame behind; the end of a run (showFirstRow,
// DrawPlot) shows them at once.
class ResultsView final : public RunResults, public RunView {
  public:
    // Connects the list's clicks and mouse moves and the plot's mouse moves to the handlers.
    // The repaints are timed by `clock`, or by the steady clock when none is given.
    ResultsView(ResultTable& table, QTableView& list, PlotBox& plot, StatusPanels& status,
                PanelTexts texts, FrameClock* clock = nullptr);

    // RunResults.
    void ClearResults() override;
    bool PlotReady() const override { return plotReady_; }
    void setBackground(ListBackground background) override;
    void removeRowWithSweepText(const QString& sweepText) override;
    // Adds the row, and draws the plot again when it was not drawn in the last
    // kLivePlotIntervalMs (PlotReady is then clear until the final drawing).
    void addRow(const ResultRow& row) override;
    int64_t rowCount() const override { return table_.rows(); }
    std::array<QString, 3> rowValues(int64_t row) const override;
    void followRow(int64_t row) override;
    void showFirstRow() override;

    // RunView.
    void setPanelText(const QString& key, const QString& text) override;
    void setColumnUnits(const ColumnUnits& units) override;
    void showNote(const QString& text) override;
    void resetHighlight() override { highlight_ = {kNoHighlight, kNoHighlight}; }
    // Draws every row of the table: the first reading against the sweep value, and the second
    // reading on a right-hand axis when it is shown. The axes take their ranges from the
    // points themselves, so that every point shows whatever ranges the run passes. PlotReady
    // is set when all went well; a row that does not read as numbers ends the drawing there
    // and leaves it clear.
    void DrawPlot(double xMin, double xMax, double yMin, double yMax) override;
    // The progress bar in the status bar, with the time left at the pace since the progress
    // of no point done.
    void showProgress(int64_t done, std::optional<int64_t> total) override;
    void endProgress() override;

    // A row (from 0) of the list was clicked: once a plot is drawn, its point turns red (the
    // point highlighted before goes back to the trace colour) and the readouts show it.
    void Data_ItemClick(int row);
    // The mouse moved over the list: empties a cursor readout that the plot left.
    void Data_MouseMove();
    // The mouse moved over the plot, at `position` in plot units: once a plot is drawn, the
    // readouts show the position and a highlighted point goes back to the trace colour.
    void fDraw_MouseMove(QPointF position);
    // Repaints the highlighted point, if any, in the trace colour.
    void UnhighlightPoint();
    // The key P was released in the window: saves the plot when the results list or the plot
    // has the focus.
    void savePlotKey();

    // A message of the exports, in the status bar.
    void showMessage(const QString& text);

    bool CursorShown() const { return cursorShown_; }
    QPointF HighlightPoint() const { return highlight_; }
    const ColumnUnits& columnUnits() const { return units_; }
    ResultsList& list() { return list_; }
    PlotView& plot() { return plotView_; }

  private:
    void showReadout(QPointF point);
    void showMenu(QPoint globalPosition);

    ResultTable& table_;
    ResultsList list_;
    std::unique_ptr<FrameClock> steadyClock_;
    FrameClock& clock_;
    RepaintThrottle throttle_;
    qint64 progressStart_ = 0;
    PlotBox& plot_;
    StatusPanels& status_;
    PanelTexts texts_;
    PlotView plotView_;
    ColumnUnits units_;
    bool plotReady_ = false;
    bool cursorShown_ = false;
    QPointF highlight_{kNoHighlight, kNoHighlight};
    // The highlighted point is red on the plot now (once a drawing is ready).
    bool highlightShown_ = false;
};

}  // namespace lorvane
