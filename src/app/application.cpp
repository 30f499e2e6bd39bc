#include "application.h"

#include <QRadioButton>

#include "cls_gpib_run_link.h"
#include "conf_dialog.h"
#include "crash_journal.h"
#include "journal_restore.h"
#include "main_window.h"
#include "measurement_run.h"
#include "results_adapters.h"
#include "results_view.h"
#include "settings_store.h"
#include "window_exports.h"

namespace lorvane {

namespace {

// The set-up the exports describe the rows with, as the window shows it now.
ExportSetup exportSetup(MainWindow& window) {
    ExportSetup setup;
    setup.quantityLabel = window.state().QuantityLabel;
    setup.columnUnits = window.resultsView().columnUnits();
    setup.sweep = static_cast<SweepParam>(window.state().SelectedSweep);
    setup.mode = static_cast<MeasureMode>(window.state().SelectedMode);
    setup.sweepCaption = window.sweepCaption();
    setup.measureCaption = window.measureCaption();
    return setup;
}

}  // namespace

void InstanceRunSettings::write(const QString& name, double value) {
    RegWrite(life_.settingsKey(), name, value);
}

int InstancePlotSettings::readNumber(const QString& name, int def) const {
    return RegRead(life_.settingsKey(), name, def);
}

void InstancePlotSettings::writeNumber(const QString& name, int value) {
    RegWrite(life_.settingsKey(), name, value);
}

QString InstancePlotSettings::readText(const QString& name, const QString& def) const {
    return RegRead(life_.settingsKey(), name, def);
}

void InstancePlotSettings::writeText(const QString& name, const QString& value) {
    RegWrite(life_.settingsKey(), name, value);
}

Application::Application(Platform& platform, MainWindow& window, QString workbookFolder)
    : platform_(platform),
      window_(window),
      life_(platform, window),
      runPanel_(window),
      runSettings_(life_),
      plotSettings_(life_),
      workbookFolder_(std::move(workbookFolder)) {
    window_.onClosing = [this] {
        life_.shutdown();
        if (journal_) journal_->discard();  // a normal close keeps no results
    };
    window_.onConfig = [this] {
        if (ClsGPIB* link = life_.link())
            openConfiguration(*link, platform_, &window_, window_.frameTwips());
    };
}

Application::~Application() = default;

bool Application::load(const QString& commandLine) {
    if (!life_.load(commandLine)) return false;
    runLink_ = std::make_unique<ClsGpibRunLink>(*life_.link());
    ResultsView& results = window_.resultsView();
    // The sweep went on the automatic log step when the panel shows it: the panel is locked
    // while a run goes, and the plot keeps what it saw when it was drawn.
    results.plot().attach(&plotSettings_, &platform_,
                          [this] { return window_.state().AutoStep && window_.state().LogStep; });
    run_ = std::make_unique<MeasurementRun>(*runLink_, runPanel_, results, results, runSettings_,
                                            platform_);
    connectRunButtons(window_, *run_);
    journal_ = std::make_unique<CrashJournal>(journalFolder(), life_.settingsKey());
    offerJournalRestore(platform_, window_, life_.settingsKey(), *journal_);
    if (journal_->held()) run_->setJournal(journal_.get());

    exportTable_ = std::make_unique<ResultsExportTable>(window_.results(),
                                                        [this] { return exportSetup(window_); });
    exportView_ = std::make_unique<ResultsExportView>(results);
    exports_ = std::make_unique<WindowExports>(
        window_, *exportTable_, *exportView_, platform_,
        workbookFolder_.isEmpty() ? defaultWorkbookFolder() : workbookFolder_,
        [&results] { results.savePlotKey(); });
    return true;
}

}  // namespace lorvane
