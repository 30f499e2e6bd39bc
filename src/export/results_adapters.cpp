#include "results_adapters.h"

#include <QItemSelectionModel>
#include <QTableView>

#include "result_table.h"
#include "results_view.h"

namespace lorvane {
namespace {

// The column that the selection marks and scrolls to: the sweep value, as after a run.
constexpr int kSweepColumn = 1;

// The sweep value cell of a row, or an invalid index when the list has no such row.
QModelIndex rowIndex(const QTableView& list, int row) {
    const QAbstractItemModel* model = list.model();
    if (!model || row < 0 || row >= model->rowCount()) return {};
    return model->index(row, kSweepColumn);
}

}  // namespace

ResultsExportTable::ResultsExportTable(const ResultTable& table, std::function<ExportSetup()> setup)
    : table_(table), setup_(std::move(setup)) {}

int ResultsExportTable::rowCount() const { return table_.rows(); }

ExportRow ResultsExportTable::rowValues(int row) const {
    const ResultRow cells = table_.row(row);
    return {cells.x, cells.dat1, cells.dat2};
}

void ResultsExportView::setMultiSelection(bool multi) {
    view_.list().view().setSelectionMode(multi ? QAbstractItemView::MultiSelection
                                               : QAbstractItemView::SingleSelection);
}

void ResultsExportView::selectRow(int row) {
    QTableView& list = view_.list().view();
    const QModelIndex index = rowIndex(list, row);
    if (!index.isValid()) return;
    // In single selection, selecting a row unselects the others, as the list does on a click.
    const QItemSelectionModel::SelectionFlag mode =
        list.selectionMode() == QAbstractItemView::MultiSelection
            ? QItemSelectionModel::Select
            : QItemSelectionModel::ClearAndSelect;
    list.selectionModel()->setCurrentIndex(index, mode | QItemSelectionModel::Rows);
    list.scrollTo(index);
}

void ResultsExportView::selectAllRows() {
    QTableView& list = view_.list().view();
    const QAbstractItemModel* model = list.model();
    if (!model || model->rowCount() == 0) return;
    const QItemSelection all(model->index(0, 0),
                             model->index(model->rowCount() - 1, model->columnCount() - 1));
    list.selectionModel()->select(all, QItemSelectionModel::Select);
}

void ResultsExportView::unselectRow(int row) {
    QTableView& list = view_.list().view();
    const QModelIndex index = rowIndex(list, row);
    if (!index.isValid()) return;
    list.selectionModel()->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

void ResultsExportView::Data_ItemClick(int row) {
    if (row >= 0 && row < view_.rowCount()) view_.Data_ItemClick(row);
}

void ResultsExportView::UnhighlightPoint() { view_.UnhighlightPoint(); }

void ResultsExportView::showMessage(const QString& text) { view_.showMessage(text); }

}  // namespace lorvane
