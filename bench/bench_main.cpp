// One main for every benchmark: widgets need an application object, made here on Qt's
// offscreen platform unless QT_QPA_PLATFORM names another, and torn down before the program
// ends, so that Qt and the font libraries release what they hold.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "platform.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    QApplication app(argc, argv);
    lorvane::useCNumericLocale();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
