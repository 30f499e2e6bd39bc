#include "result_table.h"

#include <algorithm>

namespace lorvane {

ResultTable::ResultTable(QObject* parent)
    // Until a selection names them, the columns carry their designed headings; column 1 (the
    // sort key) keeps its heading for good.
    : QAbstractTableModel(parent),
      headings_{QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z1"),
                QStringLiteral("Z2")} {}

void ResultTable::setHeading(int column, const QString& text) {
    if (column < 1 || column > kColumns) return;
    headings_[column - 1] = text;
    emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);
}

QString ResultTable::heading(int column) const {
    if (column < 1 || column > kColumns) return QString();
    return headings_[column - 1];
}

void ResultTable::addRow(const Row& cells) {
    const auto at = std::upper_bound(
        rows_.begin(), rows_.end(), cells[0],
        [](const QString& key, const Row& row) { return QString::compare(key, row[0]) < 0; });
    const int position = static_cast<int>(at - rows_.begin());
    beginInsertRows(QModelIndex(), position, position);
    rows_.insert(at, cells);
    endInsertRows();
}

QString ResultTable::cell(int row, int column) const {
    if (row < 0 || row >= rows() || column < 1 || column > kColumns) return QString();
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(column - 1)];
}

void ResultTable::clear() {
    if (rows_.empty()) return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int ResultTable::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows(); }

int ResultTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant ResultTable::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return QVariant();
    return cell(index.row(), index.column() + 1);
}

QVariant ResultTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QVariant();
    return heading(section + 1);
}

}  // namespace lorvane
