// One meter tick as the window runs it: three field texts read as numbers,
// the amount advanced and both display texts written.
#include <benchmark/benchmark.h>

#include "meter/display_format.h"
#include "meter/meter_model.h"

namespace {

const tallaro::NumberLocale kGerman{",", "."};

void meterTick(benchmark::State &state) {
    tallaro::MeterModel meter(kGerman);
    const tallaro::MeterFields fields{"12", "85,50", "250"};
    (void)meter.start(fields);
    for (auto _ : state) {
        benchmark::DoNotOptimize(meter.tick(fields));
    }
}
BENCHMARK(meterTick);

void formatAmountOnly(benchmark::State &state) {
    double amount = 1234567.891;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tallaro::formatAmount(amount, kGerman));
        amount += 0.0138889;
    }
}
BENCHMARK(formatAmountOnly);

}  // namespace

BENCHMARK_MAIN();
