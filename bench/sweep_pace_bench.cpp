// Pace of lorvane-sweep over the simulated Prologix adapter: the program itself, start to end,
// running a 200-point frequency sweep (options, link, run, CSV synced per point) against
// lorvane-sim on its pseudo-terminal with an instant instrument. The floor is the run's
// mandated 50 ms read delay per point; counters give the time per point and its ratio to it.
#include <benchmark/benchmark.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

using namespace Qt::Literals::StringLiterals;

constexpr double kFloorSeconds = 0.050;

void BM_SweepPace(benchmark::State& state) {
    const auto points = static_cast<int>(state.range(0));
    QTemporaryDir files;
    QProcess simulator;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_RUNTIME_DIR"_s, files.path());
    simulator.setProcessEnvironment(env);
    simulator.start(QStringLiteral(LORVANE_SIM_PROGRAM), {"--port", "9", "--delay", "0"});
    if (!simulator.waitForReadyRead(10000)) {
        state.SkipWithError("lorvane-sim did not start");
        return;
    }
    const QString port = QString::fromLatin1(simulator.readLine().trimmed().mid(5));
    const QStringList arguments{"--prologix",
                                port,
                                "--freq",
                                u"1:%1:1"_s.arg(points),
                                "--quiet",
                                "--out",
                                files.filePath(u"out.csv"_s)};
    for (auto _ : state) {
        QProcess sweep;
        sweep.setProcessChannelMode(QProcess::ForwardedChannels);
        sweep.start(QStringLiteral(LORVANE_SWEEP_PROGRAM), arguments);
        if (!sweep.waitForFinished(10 * 60 * 1000) || sweep.exitCode() != 0) {
            state.SkipWithError("the sweep failed");
            break;
        }
    }
    simulator.terminate();
    simulator.waitForFinished(5000);
    state.counters["per_point"] = benchmark::Counter(
        static_cast<double>(points),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    // Filled in by the report's time per iteration: per point over the floor.
    state.counters["to_floor"] =
        benchmark::Counter(points * kFloorSeconds, benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}
BENCHMARK(BM_SweepPace)
    ->Arg(200)
    ->ArgName("points")
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
