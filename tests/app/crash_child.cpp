// A window that starts a run at once and goes on until it is killed: the crash restore test's
// crash, with the settings and journal folders and the NI-488.2 stand-in its parent gives it.
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "application.h"
#include "main_window.h"
#include "panel_controls.h"
#include "qt_platform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    lorvane::useCNumericLocale();
    lorvane::QtPlatform platform;
    lorvane::MainWindow window(platform);
    // Workbooks would go to the parent's settings folder, which the parent removes.
    lorvane::Application lorvane(platform, window, qEnvironmentVariable("XDG_CONFIG_HOME"));
    if (!lorvane.load(QString())) return 1;
    window.show();
    QTimer::singleShot(0, &window, [&window] { window.controls().Run[0]->click(); });
    return app.exec();
}
