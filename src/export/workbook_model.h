#pragma once

#include <QString>
#include <array>
#include <vector>

namespace lorvane {

// Horizontal alignment of a cell as the spreadsheet numbers it: 1 general, 4 right.
inline constexpr int kAlignGeneral = 1;
inline constexpr int kAlignRight = 4;

struct WorkbookCell {
    enum class Kind { Empty, Text, Number };
    Kind kind = Kind::Empty;
    QString text;
    double number = 0;
    // Empty for the spreadsheet's general format.
    QString numberFormat;
    bool bold = false;
    int horizontalAlignment = kAlignGeneral;
};

// A worksheet of the exported workbook. The exports use the columns A to C only, so a row has
// three cells. Rows and columns are numbered from 1, as the spreadsheet numbers them.
class Worksheet {
  public:
    static constexpr int kColumns = 3;

    explicit Worksheet(QString name) : name_(std::move(name)) {}

    const QString& name() const { return name_; }
    // The last row that has ever had a cell set.
    int rowCount() const { return static_cast<int>(rows_.size()); }
    // An empty cell outside the rows and columns in use.
    const WorkbookCell& cell(int row, int column) const;
    // The cell at row >= 1 and column 1..3; other places are ignored. The rows in between are
    // added empty.
    void setCell(int row, int column, WorkbookCell cell);

  private:
    QString name_;
    std::vector<std::array<WorkbookCell, kColumns>> rows_;
};

// The workbook the E shortcut fills, as long as the window lives: its document properties and
// its sheets in tab order. It starts with the one sheet "Sheet1", which stays; a new sheet goes
// before the active sheet and becomes the active one, as a spreadsheet adds sheets.
class WorkbookModel {
  public:
    WorkbookModel();

    QString title;
    QString subject;
    QString comments;

    int sheetCount() const { return static_cast<int>(sheets_.size()); }
    const Worksheet& sheet(int index) const { return sheets_.at(static_cast<size_t>(index)); }
    int activeSheet() const { return active_; }
    // The sheet with this name, or nullptr.
    Worksheet* findSheet(const QString& name);
    // Adds a sheet before the active one and makes it active.
    Worksheet& addSheet(const QString& name);

  private:
    std::vector<Worksheet> sheets_;
    int active_ = 0;
};

}  // namespace lorvane
