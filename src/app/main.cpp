// Lorvane: remote control and data logging for the HP 4192A LF impedance analyzer.
// The desktop services, the main window and the program around it, wired explicitly.
#include <QApplication>

#include "application.h"
#include "command_line.h"
#include "main_window.h"
#include "qt_platform.h"

int main(int argc, char** argv) {
    // Taken before Qt removes its own options from argv: they may name the instance.
    const QStringList arguments = lorvane::programArguments(argc, argv);
    QApplication app(argc, argv);
    lorvane::useCNumericLocale();
    lorvane::QtPlatform platform;
    lorvane::MainWindow window(platform);
    lorvane::Application lorvane(platform, window);
    if (!lorvane.load(lorvane::commandLineText(arguments))) {
        lorvane.shutdown();
        return 0;
    }
    window.show();
    return app.exec();
}
