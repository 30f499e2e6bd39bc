#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <vector>

namespace lorvane {

// The results list: one row per measured point, four text cells each (the sort key of the
// sweep value, the sweep value, the first and the second reading). Rows stay in ascending text
// order of the sort key. Columns are numbered from 1 here, as the operator counts them; the
// Qt model interface below numbers them from 0.
class ResultTable : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kColumns = 4;
    using Row = std::array<QString, kColumns>;

    explicit ResultTable(QObject* parent = nullptr);

    // Heading of column 1..4; other column numbers are ignored (heading() gives an empty text).
    void setHeading(int column, const QString& text);
    QString heading(int column) const;

    // Inserts a row after every row whose sort key (cell 1) is not greater than its own.
    void addRow(const Row& cells);
    // Cell text of row 0.. and column 1..4; empty outside the table.
    QString cell(int row, int column) const;
    int rows() const { return static_cast<int>(rows_.size()); }
    // Removes every row; the headings stay.
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    Row headings_;
    std::vector<Row> rows_;
};

}  // namespace lorvane
