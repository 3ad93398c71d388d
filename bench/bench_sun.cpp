#include <benchmark/benchmark.h>

#include "horizon/Sunshine.h"
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

// The sun track a data-file run computes once a day for its sunshine count: a year of days.
static void BM_SunshineTrackYear(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t points = 0;
        for (int day = 1; day <= 365; ++day) {
            umbrix::SunshineCounter counter;
            points += counter.sunPixels(day, 8.55f, 49.5f, 1.0f).size();
        }
        benchmark::DoNotOptimize(points);
    }
}
BENCHMARK(BM_SunshineTrackYear);
