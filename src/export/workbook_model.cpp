#include "workbook_model.h"

namespace lorvane {

const WorkbookCell& Worksheet::cell(int row, int column) const {
    static const WorkbookCell kEmpty;
    if (row < 1 || row > rowCount() || column < 1 || column > kColumns) return kEmpty;
    return rows_[static_cast<size_t>(row - 1)][static_cast<size_t>(column - 1)];
}

void Worksheet::setCell(int row, int column, WorkbookCell cell) {
    if (row < 1 || column < 1 || column > kColumns) return;
    if (row > rowCount()) rows_.resize(static_cast<size_t>(row));
    rows_[static_cast<size_t>(row - 1)][static_cast<size_t>(column - 1)] = std::move(cell);
}

WorkbookModel::WorkbookModel() { sheets_.emplace_back(QStringLiteral("Sheet1")); }

Worksheet* WorkbookModel::findSheet(const QString& name) {
    for (Worksheet& sheet : sheets_)
        if (sheet.name() == name) return &sheet;
    return nullptr;
}

Worksheet& WorkbookModel::addSheet(const QString& name) {
    sheets_.emplace(sheets_.begin() + active_, name);
    return sheets_[static_cast<size_t>(active_)];
}

}  // namespace lorvane
