#pragma once

#include <QString>
#include <memory>

#include "lifecycle.h"
#include "platform.h"
#include "plot_settings.h"
#include "run_interfaces.h"
#include "window_run_panel.h"

namespace lorvane {

class ClsGpibRunLink;
class CrashJournal;
class MainWindow;
class MeasurementRun;
class ResultsExportTable;
class ResultsExportView;
class WindowExports;

// The settings the measurement run saves, under the instance's key.
class InstanceRunSettings final : public RunSettings {
  public:
    explicit InstanceRunSettings(const Lifecycle& life) : life_(life) {}
    void write(const QString& name, double value) override;

  private:
    const Lifecycle& life_;
};

// The plot's choices, under the instance's key.
class InstancePlotSettings final : public PlotSettings {
  public:
    explicit InstancePlotSettings(const Lifecycle& life) : life_(life) {}
    int readNumber(const QString& name, int def) const override;
    void writeNumber(const QString& name, int value) override;
    QString readText(const QString& name, const QString& def) const override;
    void writeText(const QString& name, const QString& value) override;

  private:
    const Lifecycle& life_;
};

// The whole program around one main window, wired explicitly: its life cycle, the
// configuration dialog behind Config, the measurement run behind Run and Ref., the plot's
// settings and save dialog, and the exports behind the C, E, Z and P keys. main() and the
// end-to-end tests build the same thing.
class Application {
  public:
    // The workbook goes to workbookFolder (the documents folder when it is empty).
    Application(Platform& platform, MainWindow& window, QString workbookFolder = {});
    ~Application();

    // Loads the window for the command line; false when the program is to end at once. A
    // crash journal left behind is offered for restoring first.
    bool load(const QString& commandLine);
    void shutdown() { life_.shutdown(); }

    Lifecycle& lifecycle() { return life_; }
    // The run; null until a normal start has loaded the window.
    MeasurementRun* run() const { return run_.get(); }

  private:
    Platform& platform_;
    MainWindow& window_;
    Lifecycle life_;
    WindowRunPanel runPanel_;
    InstanceRunSettings runSettings_;
    InstancePlotSettings plotSettings_;
    std::unique_ptr<ClsGpibRunLink> runLink_;
    std::unique_ptr<MeasurementRun> run_;
    std::unique_ptr<CrashJournal> journal_;
    QString workbookFolder_;
    std::unique_ptr<ResultsExportTable> exportTable_;
    std::unique_ptr<ResultsExportView> exportView_;
    std::unique_ptr<WindowExports> exports_;
};

}  // namespace lorvane
