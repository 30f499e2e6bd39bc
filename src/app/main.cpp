// Lorvane: remote control and data logging for the HP 4192A LF impedance analyzer.
// Everything is wired here, explicitly: the desktop services, the main window and its life.
#include <QApplication>

#include "command_line.h"
#include "conf_dialog.h"
#include "lifecycle.h"
#include "main_window.h"
#include "qt_platform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    lorvane::QtPlatform platform;
    lorvane::MainWindow window(platform);
    lorvane::Lifecycle life(platform, window);
    window.onClosing = [&life] { life.shutdown(); };
    window.onConfig = [&] {
        if (lorvane::ClsGPIB* link = life.link())
            lorvane::openConfiguration(*link, platform, &window, window.frameTwips());
    };

    if (!life.load(lorvane::commandLineText(app.arguments().mid(1)))) {
        life.shutdown();
        return 0;
    }
    window.show();
    return app.exec();
}
