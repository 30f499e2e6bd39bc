// Writes a PNG picture of the main window as it starts, built as the program builds it, with a
// fresh settings store of its own: the picture shows a first start. Run on Qt's offscreen
// platform by scripts/screenshot.
//
// Usage: lorvane_screenshot OUT.png [--run] [INSTANCE]
// With --run the picture is taken after one press of Run (against whatever instrument the link
// reaches; scripts/screenshot puts the simulated one there).
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "application.h"
#include "command_line.h"
#include "main_window.h"
#include "panel_controls.h"
#include "qt_platform.h"

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

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    lorvane::useCNumericLocale();
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: lorvane_screenshot OUT.png [--run] [INSTANCE]\n");
        return 2;
    }
    QStringList rest = args.mid(2);
    const bool run = !rest.isEmpty() && rest.first() == QLatin1String("--run");
    if (run) rest.removeFirst();
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());

    UnattendedPlatform platform;
    lorvane::MainWindow window(platform);
    lorvane::Application lorvane(platform, window);
    if (!lorvane.load(lorvane::commandLineText(rest))) return 1;
    window.show();
    QApplication::processEvents();
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
