// lorvane-sweep: one sweep of the HP 4192A from the command line, without a display.
#include <QCoreApplication>

#include "platform.h"
#include "sweep_program.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    lorvane::useCNumericLocale();
    return lorvane::runSweepProgram(app.arguments().mid(1));
}
