#pragma once

#include <QString>
#include <memory>

#include "cls_gpib.h"
#include "platform.h"

namespace lorvane {

class MainWindow;

// The main window's life: what loading does with the command line, the settings and the
// link, and the shutdown that runs when the window closes.
class Lifecycle {
  public:
    Lifecycle(Platform& platform, MainWindow& window);
    ~Lifecycle();

    // The load handler. Returns true when the window is to be shown; false after the usage
    // and clean-up exits, which end the program.
    bool load(const QString& commandLine);
    // Stops a running measurement, returns the instrument to idle, closes the link and saves
    // the link configuration and window position (unless an exit asked to skip that).
    void shutdown();

    const QString& instanceName() const { return instanceName_; }
    const QString& settingsKey() const { return settingsKey_; }
    // The instrument link; null after the usage and clean-up exits.
    ClsGPIB* link() const { return link_.get(); }
    bool skipSave() const { return skipSave_; }

  private:
    void normalStart();
    void placeWindow();

    Platform& platform_;
    MainWindow& window_;
    QString instanceName_;
    QString settingsKey_;
    std::unique_ptr<ClsGPIB> link_;
    bool skipSave_ = false;
};

}  // namespace lorvane
