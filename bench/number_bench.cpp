// Speed of the number texts that every measured point goes through: the command numbers of a
// decade change, the sort key and cells of each row, and the numbers of each reading.
#include <benchmark/benchmark.h>

#include <QString>

#include "number_format.h"
#include "step_helpers.h"

namespace {

using lorvane::formatNumber;
using lorvane::NumCmd;
using lorvane::parseReplyNumber;

void BM_NumCmd(benchmark::State& state) {
    double value = -1.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(NumCmd(value, true));
        value += 0.001;
    }
}
BENCHMARK(BM_NumCmd);

void BM_FormatSortKey(benchmark::State& state) {
    const QString pattern = QStringLiteral("000000.000");
    double value = 0.005;
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatNumber(value, pattern));
        value += 1.25;
    }
}
BENCHMARK(BM_FormatSortKey);

void BM_ParseReplyField(benchmark::State& state) {
    // Field 0 of a reading: four characters of codes, then the number.
    const QString field = QStringLiteral("NZFN+012.34E+00");
    const QStringView number = QStringView(field).mid(4);
    for (auto _ : state) benchmark::DoNotOptimize(parseReplyNumber(number));
}
BENCHMARK(BM_ParseReplyField);

}  // namespace
