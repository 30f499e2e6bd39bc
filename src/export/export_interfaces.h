#pragma once

#include <QString>
#include <array>
#include <vector>

#include "measure_mode.h"
#include "sweep_param.h"

namespace lorvane {

// Texts of columns 2, 3 and 4 of a results row: the sweep value, the first and the second
// reading, as the list shows them (in the user's locale).
using ExportRow = std::array<QString, 3>;
using ExportRows = std::vector<ExportRow>;

// The front-panel set-up an export reads when it runs.
struct ExportSetup {
    // QuantityLabel: names of the swept quantity, of the first and of the second reading.
    std::array<QString, 3> quantityLabel;
    // ColumnUnits: their units.
    std::array<QString, 3> columnUnits;
    SweepParam sweep = SweepParam::Frequency;
    MeasureMode mode = MeasureMode::Impedance;
    // Captions of the selected sweep option ("Freq", "Bias") and measurement option ("Z", "L",
    // "R", "C", "G", "D").
    QString sweepCaption;
    QString measureCaption;
};

// What the exports read: the rows of the results list and the set-up they were measured with.
// Rows are numbered from 0 in list order.
class ExportTable {
  public:
    virtual ~ExportTable() = default;
    virtual int rowCount() const = 0;
    virtual ExportRow rowValues(int row) const = 0;
    virtual ExportSetup setup() const = 0;
};

// What the exports do to the results list, the plot and the status bar. Rows that no longer
// exist (the table may change during an event pass) are ignored.
class ExportView {
  public:
    virtual ~ExportView() = default;
    // Multiple selection while copying, single selection otherwise.
    virtual void setMultiSelection(bool multi) = 0;
    // Selects every row, as one range.
    virtual void selectAllRows() = 0;
    // Sets the row's selected state, makes it the current row and scrolls it into view.
    virtual void selectRow(int row) = 0;
    // Clears the row's selected state.
    virtual void unselectRow(int row) = 0;
    // The results view's row click: the point turns red and the readouts show it.
    virtual void Data_ItemClick(int row) = 0;
    // Repaints the highlighted point in the trace colour.
    virtual void UnhighlightPoint() = 0;
    // Tells the operator what an export did, in the status bar.
    virtual void showMessage(const QString& text) = 0;
};

// The system clipboard.
class ClipboardSink {
  public:
    virtual ~ClipboardSink() = default;
    virtual void clear() = 0;
    virtual void setText(const QString& text) = 0;
};

// The desktop's way of showing a file to the operator in a spreadsheet program. The program it
// starts is the operator's from then on: nothing in this program ends it, so edits made in it
// are never lost to an export.
class SpreadsheetApp {
  public:
    virtual ~SpreadsheetApp() = default;
    // Whether there is anything to show files with.
    virtual bool available() const = 0;
    // Asks for the file to be shown; false when that could not even be started.
    virtual bool show(const QString& path) = 0;
};

}  // namespace lorvane
