// Writes a PNG picture of the main window as it starts, built as the program builds it, with a
// fresh settings store of its own: the picture shows a first start. Run on Qt's offscreen
// platform by scripts/screenshot.
//
// Usage: lorvane_screenshot OUT.png [--run | --sweep NAME] [INSTANCE]
// With --run the picture is taken after one press of Run (against whatever instrument the link
// reaches; scripts/screenshot puts the simulated one there). --sweep sets up one of the sweeps
// below before that press.
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <utility>
#include <vector>

#include "application.h"
#include "command_line.h"
#include "main_window.h"
#include "panel_controls.h"
#include "qt_platform.h"
#include "settings_store.h"

namespace {

// The desktop, except that message boxes are written to the error stream and answered with
// their first button: nobody is there to close them.
class UnattendedPlatform final : public lorvane::Platform {
  public:
    lorvane::MsgResult messageBox(const lorvane::MessageRequest& request) override {
        std::fprintf(stderr, "message box: %s\n", qPrintable(request.text));
        switch (request.buttons) {
            case lorvane::MsgButtons::AbortRetryIgnore:
                return lorvane::MsgResult::Abort;
            case lorvane::MsgButtons::YesNo:
            case lorvane::MsgButtons::YesNoCancel:
                return lorvane::MsgResult::Yes;
            case lorvane::MsgButtons::RetryCancel:
                return lorvane::MsgResult::Retry;
            default:
                return lorvane::MsgResult::Ok;
        }
    }
    void beep() override {}
    void processEvents() override { desktop_.processEvents(); }
    void sleep(int ms) override { desktop_.sleep(ms); }
    QSize screenSize() const override { return desktop_.screenSize(); }

  private:
    lorvane::QtPlatform desktop_;
};

// A sweep to show: the settings the program starts from, the simulated device it measures
// (through the stand-in library's LORVANE_SIM_DEVICE) and whether it uses the automatic log
// step.
struct Sweep {
    const char* name;
    const char* device;
    std::vector<std::pair<const char*, double>> settings;
    bool logStep;
};

const std::vector<Sweep>& sweeps() {
    static const std::vector<Sweep> all{
        // |Z| and phase of a 10 nF capacitor with 2 Ohm in series, 100 Hz to 10 MHz, log-log.
        {"capacitor",
         "varactor",
         {{"Mode", 0}, {"Sweep", 0}, {"F_Start", 100}, {"F_Stop", 10000000}, {"Plot_LogY", 1}},
         true},
        // |Z| and phase of the varactor at 10 kHz, bias -5 V to +5 V.
        {"bias",
         "varactor",
         {{"Mode", 0},
          {"Sweep", 1},
          {"F_Start", 10000},
          {"V_Start", -5000},
          {"V_Stop", 5000},
          {"V_Step", 250}},
         false},
        // Gain and phase of an R-C low-pass, 1 kHz to 1 MHz.
        {"gain",
         "lowpass",
         {{"Mode", 4}, {"Sweep", 0}, {"F_Start", 1000}, {"F_Stop", 1000000}},
         true},
    };
    return all;
}

const Sweep* sweepNamed(const QString& name) {
    for (const Sweep& sweep : sweeps())
        if (name == QLatin1String(sweep.name)) return &sweep;
    return nullptr;
}

// Turns the automatic step on and moves the step's scroll bar once, which flips it to "Log".
void chooseLogStep(const lorvane::PanelControls& controls) {
    controls.vAuto->setChecked(true);
    QScrollBar* bar = controls.dFrq[2];
    bar->setValue(bar->value() < bar->maximum() ? bar->value() + 1 : bar->value() - 1);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    lorvane::useCNumericLocale();
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr,
                     "usage: lorvane_screenshot OUT.png [--run | --sweep capacitor|bias|gain] "
                     "[INSTANCE]\n");
        return 2;
    }
    QStringList rest = args.mid(2);
    const Sweep* sweep = nullptr;
    if (rest.size() >= 2 && rest.first() == QLatin1String("--sweep")) {
        sweep = sweepNamed(rest.at(1));
        if (!sweep) {
            std::fprintf(stderr, "unknown sweep %s: expected capacitor, bias or gain\n",
                         qPrintable(rest.at(1)));
            return 2;
        }
        rest = rest.mid(2);
    }
    const bool run = sweep || (!rest.isEmpty() && rest.first() == QLatin1String("--run"));
    if (run && !sweep) rest.removeFirst();
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    if (sweep) {
        qputenv("LORVANE_SIM_DEVICE", sweep->device);
        const QString key = lorvane::settingsKeyFor(
            lorvane::AnalyzeCommandLine(lorvane::commandLineText(rest)).instanceName);
        for (const auto& [name, value] : sweep->settings)
            lorvane::RegWrite(key, QString::fromLatin1(name), value);
    }

    UnattendedPlatform platform;
    lorvane::MainWindow window(platform);
    lorvane::Application lorvane(platform, window);
    if (!lorvane.load(lorvane::commandLineText(rest))) return 1;
    window.show();
    QApplication::processEvents();
    if (sweep && sweep->logStep) chooseLogStep(window.controls());
    if (run) {
        window.controls().Run[0]->click();
        QApplication::processEvents();
    }

    const QString out = args.at(1);
    if (!window.grab().save(out, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    window.close();
    return 0;
}
