#include <benchmark/benchmark.h>

#include "solar/SunPosition.h"

static void BM_SunPositionDay(benchmark::State& state) {
    for (auto _ : state) {
        double sum = 0;
        for (int m = 1; m <= 1440; ++m) {
            float t = float(umbrix::TrueLocalTime(172, 7.85f, 1.0f, m / 60.0f));
            sum += umbrix::SunZenith(172, 48.0f, t) + umbrix::SunAzimuth(172, 48.0f, t);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_SunPositionDay);
