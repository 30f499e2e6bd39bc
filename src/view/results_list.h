#pragma once

#include <QColor>
#include <QObject>
#include <cstdint>

class QTableView;

namespace lorvane {

// The report-style list `Data` that shows the ResultTable: its columns, its background, the
// selection that follows a run, and the events of the results view. It only touches the list
// widget; the rows live in the model.
class ResultsList : public QObject {
    Q_OBJECT
  public:
    // Makes the view a report list: whole rows of one uniform height, one selected at a time,
    // no row numbers, no grid, no editing and no sorting by the headings (the model's order is
    // the list's order). Hides the sort key column, fits the three others into the list and
    // reports mouse moves over the list (without a button held, too).
    explicit ResultsList(QTableView& view);

    QTableView& view() const { return view_; }

    void setBackground(const QColor& colour);
    QColor background() const;

    // Scrolls the selected row (if any) into view, then selects row `row` (from 0), or the
    // last row when the list has no such row.
    void followRow(int64_t row);
    // Selects the first row, scrolls it into view and unselects it.
    void showFirstRow();

  signals:
    // A row (from 0) was clicked.
    void itemClicked(int row);
    // The mouse moved over the list.
    void mouseMoved();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setReportStyle();
    void fitColumns();

    QTableView& view_;
};

}  // namespace lorvane
