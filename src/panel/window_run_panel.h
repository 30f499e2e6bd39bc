#pragma once

#include "run_interfaces.h"

namespace lorvane {

class MainWindow;

// The main window's front panel and Run buttons, as the measurement run sees them.
class WindowRunPanel final : public RunPanel {
  public:
    explicit WindowRunPanel(MainWindow& window) : window_(window) {}

    PanelSnapshot snapshot() const override;
    std::array<double, 3>& previousRange(SweepParam sweep) override;
    bool stopRequest() const override;
    void setStopRequest(bool request) override;
    bool mergeOption() const override;
    void setStepText(SweepParam sweep, const QString& text) override;
    void clearAutoStep() override;
    QString runCaption(int index) const override;
    void setRunCaption(int index, const QString& caption) override;
    void setRunEnabled(int index, bool enabled) override;
    void setRefButtonColour(RefButtonColour colour) override;
    void EnablePanel(bool enable) override;
    bool closing() const override;

  private:
    MainWindow& window_;
};

// Connects the two Run buttons to the run's click handler.
class MeasurementRun;
void connectRunButtons(MainWindow& window, MeasurementRun& run);

}  // namespace lorvane
