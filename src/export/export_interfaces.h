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

// What the clipboard copy does to the results list and the plot while it copies. Rows that no
// longer exist (the table may change during an event pass) are ignored.
class ExportView {
  public:
    virtual ~ExportView() = default;
    // Multiple selection while copying, single selection otherwise.
    virtual void setMultiSelection(bool multi) = 0;
    // Sets the row's selected state, makes it the current row and scrolls it into view.
    virtual void selectRow(int row) = 0;
    // Clears the row's selected state.
    virtual void unselectRow(int row) = 0;
    // The results view's row click: the point turns red and the readouts show it.
    virtual void Data_ItemClick(int row) = 0;
    // Repaints the highlighted point in the trace colour.
    virtual void UnhighlightPoint() = 0;
};

// The system clipboard.
class ClipboardSink {
  public:
    virtual ~ClipboardSink() = default;
    virtual void clear() = 0;
    virtual void setText(const QString& text) = 0;
};

// A spreadsheet program that shows one file at a time, as a child process of the program.
class SpreadsheetApp {
  public:
    virtual ~SpreadsheetApp() = default;
    // Whether there is a program to show files with.
    virtual bool available() const = 0;
    // Starts the program on the file; false when it could not be started.
    virtual bool show(const QString& path) = 0;
    // Ends the program that show() started. Nothing happens when none runs or it has already
    // ended on its own.
    virtual void quit() = 0;
};

}  // namespace lorvane
