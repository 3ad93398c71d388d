#include <benchmark/benchmark.h>

#include "indices/PerceivedTemperature.h"
#include "indices/SetStar.h"

// One SET* evaluation for the default person (m, 35 a, 1.75 m, 75 kg, 0.9 clo, 80 W).
static void BM_SetStar(benchmark::State& state) {
    float ta = 20.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ta);
        benchmark::DoNotOptimize(
            umbrix::ComputeSetStar(0, ta, 20.0f, 53.5f, 0.1f, 0.9f, 35, 1.75f, 75, 80, 9999.0f));
    }
}
BENCHMARK(BM_SetStar);

// One PT evaluation at Ta = Tmrt.
static void BM_Pt(benchmark::State& state, double ta, double vp, double v) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ta);
        benchmark::DoNotOptimize(umbrix::ComputePt(0, "none", ta, vp, ta, v, 1013, 0.9, 9999.0f));
    }
}
// the default person's weather: 0.5 clo with the sultriness correction
BENCHMARK_CAPTURE(BM_Pt, sultriness, 20.0, 12.5, 0.1);
// through the clothing search
BENCHMARK_CAPTURE(BM_Pt, clothing_search, 15.0, 10.0, 0.1);
