#pragma once

#include <functional>

#include "export_interfaces.h"

namespace lorvane {

class ResultTable;
class ResultsView;

// The exports' view of the results list: the rows of the ResultTable and the set-up that the
// window supplies (the labels and captions of the front panel, the column units of the view).
class ResultsExportTable final : public ExportTable {
  public:
    ResultsExportTable(const ResultTable& table, std::function<ExportSetup()> setup);

    int rowCount() const override;
    ExportRow rowValues(int row) const override;
    ExportSetup setup() const override { return setup_(); }

  private:
    const ResultTable& table_;
    std::function<ExportSetup()> setup_;
};

// What the exports do to the results list, the plot and the status bar, on the results view.
class ResultsExportView final : public ExportView {
  public:
    explicit ResultsExportView(ResultsView& view) : view_(view) {}

    void setMultiSelection(bool multi) override;
    void selectAllRows() override;
    void selectRow(int row) override;
    void unselectRow(int row) override;
    void Data_ItemClick(int row) override;
    void UnhighlightPoint() override;
    void showMessage(const QString& text) override;

  private:
    ResultsView& view_;
};

}  // namespace lorvane
