#include <benchmark/benchmark.h>

#include "indices/Pet.h"
#include "indices/Pmv.h"
#include "indices/Utci.h"

// One call of each index for the standard person (man, 35 years, 1.75 m, 75 kg, 0.9 clo,
// 80 W, standing) on a sunny summer afternoon.

static void BM_Pet(benchmark::State& state) {
    umbrix::PetModel model;
    for (auto _ : state) {
        umbrix::PetDetails r = model.ComputePet(1, 1, 30.0f, 21.0f, 1.0f, 60.0f, 0.9f, 80.0f, 1.75f,
                                                75.0f, 35.0f, 9999.0f);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_Pet);

static void BM_Pmv(benchmark::State& state) {
    for (auto _ : state) {
        double r = umbrix::ComputePmv(1, 35, 30.0f, 21.0f, 1.0f, 60.0f, 0.9f, 80.0f, 1.75f, 75.0f,
                                      9999.0f);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_Pmv);

static void BM_Utci(benchmark::State& state) {
    for (auto _ : state) {
        double r = umbrix::ComputeUtci(30.0, 21.0, 60.0, 1.0, 9999.0f);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_Utci);
