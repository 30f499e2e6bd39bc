#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "command_set.h"
#include "panel_snapshot.h"
#include "result_row.h"
#include "sweep_param.h"

namespace lorvane {

// What the measurement run works against. The main window and the results view implement
// these; tests and benchmarks use small fakes.

// The instrument link (device 0). DevWrite adds the carriage return.
class RunLink {
  public:
    virtual ~RunLink() = default;
    // False when the text could not be sent.
    virtual bool write(const QString& text) = 0;
    // Sends the text and reads the answer after delayMs; "" when nothing came back.
    virtual QString query(const QString& text, int delayMs) = 0;
    // Reads an answer after delayMs without sending anything; "" when nothing came back.
    virtual QString read(int delayMs) = 0;
    virtual void purge() = 0;
};

// Background of the Ref. button: the system button face normally, the application workspace
// while a reference is stored.
enum class RefButtonColour { ButtonFace, AppWorkspace };

// The front panel and the two Run buttons (index 0 "&Run", index 1 "&Ref.").
class RunPanel {
  public:
    virtual ~RunPanel() = default;
    virtual PanelSnapshot snapshot() const = 0;
    // PrevFreq (Hz) or PrevBias (mV): the remembered start, stop and step of a sweep.
    virtual std::array<double, 3>& previousRange(SweepParam sweep) = 0;
    virtual bool stopRequest() const = 0;
    virtual void setStopRequest(bool request) = 0;
    // The Merge setting: a changed range keeps the earlier rows without asking.
    virtual bool mergeOption() const = 0;
    // Text of the step box vFrq(2) or vVlt(2).
    virtual void setStepText(SweepParam sweep, const QString& text) = 0;
    // Clears the vAuto check box, which runs its click handler when that changes it.
    virtual void clearAutoStep() = 0;
    virtual QString runCaption(int index) const = 0;
    virtual void setRunCaption(int index, const QString& caption) = 0;
    virtual void setRunEnabled(int index, bool enabled) = 0;
    virtual void setRefButtonColour(RefButtonColour colour) = 0;
    // Enables or disables the set-up controls.
    virtual void EnablePanel(bool enable) = 0;
    // The window is closing or gone: nothing may be shown any more.
    virtual bool closing() const = 0;
};

// Background of the results list: white for a plain run, yellow for a run corrected by a
// reference, cyan for a reference run.
enum class ListBackground { White, Yellow, Cyan };

struct Rgb {
    int red;
    int green;
    int blue;
};

constexpr Rgb rgbOf(ListBackground background) {
    switch (background) {
        case ListBackground::Yellow:
            return {255, 255, 0};
        case ListBackground::Cyan:
            return {0, 255, 255};
        case ListBackground::White:
            break;
    }
    return {255, 255, 255};
}

// The results list. Rows are numbered from 0 in list order (ascending sort key).
class RunResults {
  public:
    virtual ~RunResults() = default;
    // Empties the list, wipes the plot and clears PlotReady.
    virtual void ClearResults() = 0;
    // A plot is drawn: the list holds the results of an earlier run.
    virtual bool PlotReady() const = 0;
    virtual void setBackground(ListBackground background) = 0;
    // Removes the first row whose sweep value text (column 2) is exactly `sweepText`, if any.
    virtual void removeRowWithSweepText(const QString& sweepText) = 0;
    virtual void addRow(const ResultRow& row) = 0;
    virtual int64_t rowCount() const = 0;
    // Texts of columns 2 to 4 (sweep value, first and second reading) of a row.
    virtual std::array<QString, 3> rowValues(int64_t row) const = 0;
    // Scrolls the selected row (if any) into view, then selects `row`, or the last row when
    // the list has no such row.
    virtual void followRow(int64_t row) = 0;
    // After a run: selects row 0, scrolls it into view and unselects it.
    virtual void showFirstRow() = 0;
};

// Status panels, column units and plot.
class RunView {
  public:
    virtual ~RunView() = default;
    // Panel "IN", "DAT1" or "DAT2".
    virtual void setPanelText(const QString& key, const QString& text) = 0;
    virtual void setColumnUnits(const ColumnUnits& units) = 0;
    // The status bar's panel without a key: a note on the run, "" for none.
    virtual void showNote(const QString& text) = 0;
    // HighlightPoint := (99999999, 99999999): no point highlighted.
    virtual void resetHighlight() = 0;
    virtual void DrawPlot(double xMin, double xMax, double yMin, double yMax) = 0;
    // How far the run has got: the points done, and the points it will have when that is known
    // in advance (not with the automatic logarithmic step).
    virtual void showProgress(int64_t done, std::optional<int64_t> total) = 0;
    // The run has ended: there is no progress to show.
    virtual void endProgress() = 0;
};

// The settings store, under the instance's key.
class RunSettings {
  public:
    virtual ~RunSettings() = default;
    virtual void write(const QString& name, double value) = 0;
};

}  // namespace lorvane
