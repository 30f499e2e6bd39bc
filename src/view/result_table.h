#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "result_row.h"

namespace lorvane {

// One stored row: the four cell texts, column 1 first. Only QStrings, which Qt may move in
// memory as plain bytes, so inserting into the middle of the row list moves memory without
// touching each row.
struct ResultCells {
    std::array<QString, 4> text;
};

}  // namespace lorvane

Q_DECLARE_TYPEINFO(lorvane::ResultCells, Q_RELOCATABLE_TYPE);

namespace lorvane {

// The results list: one row per measured point, four text cells each (the sort key of the
// sweep value, the sweep value, the first and the second reading). Rows stay in ascending text
// order of the sort key, and no two rows share a sweep value text (column 2). Rows are numbered
// from 0 in list order; columns are numbered from 1 here, as the operator counts them, while
// the Qt model interface below numbers them from 0.
//
// Finding, adding and removing a row cost the same however long the list is: a hash leads from
// the sweep value text to the sort key, and a binary search over the sorted rows leads from the
// key to the row. Adding at the end, the common case in a sweep, appends; a row that lands in
// the middle makes the list move the rows behind it up by one slot, a single block move of
// memory with no work per row.
class ResultTable : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kColumns = 4;

    explicit ResultTable(QObject* parent = nullptr);

    // Heading of column 1..4; other column numbers are ignored (heading() gives an empty text).
    void setHeading(int column, const QString& text);
    QString heading(int column) const;

    // Inserts the row after every row whose sort key is not greater than its own. A row with
    // the same sweep value text is removed first, so a re-measured point replaces the old one.
    // Returns the new row's index.
    int addRow(const ResultRow& row);
    // Removes the row whose sweep value text is exactly `sweepText`; false when there is none.
    bool removeRowWithSweepText(const QString& sweepText);
    // Index of the row whose sweep value text is exactly `sweepText`, or -1.
    int findRow(const QString& sweepText) const;

    int rows() const { return static_cast<int>(rows_.size()); }
    // Cell text of row 0.. and column 1..4; empty outside the table.
    QString cell(int row, int column) const;
    // The four texts of a row; empty texts outside the table.
    ResultRow row(int row) const;
    // The point a row stands for on the plot: (sweep value, first reading), nullopt unless both
    // cells read as numbers.
    std::optional<QPointF> point(int row) const;
    // The points (sweep value, the reading of column 3 or 4) of the rows from the first one up
    // to (not including) the first row whose cells do not read as numbers: every row's point
    // when all of them do. Empty for another column.
    std::vector<QPointF> leadingPoints(int readingColumn) const;

    // Removes every row; the headings stay.
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    // Row index of the row with this key and sweep value text, or -1.
    int indexOf(const QString& key, const QString& sweepText) const;

    std::array<QString, kColumns> headings_;
    QList<ResultCells> rows_;
    // Sweep value text -> sort key of its row.
    QHash<QString, QString> keyOf_;
};

}  // namespace lorvane
