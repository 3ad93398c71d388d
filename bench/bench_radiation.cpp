#include <benchmark/benchmark.h>

#include "solar/RadiationStep.h"
#include "solar/SunPosition.h"

// One complete radiation step of a result row: sun position, short wave, long wave, the
// twelve passes of the surface temperature and Tmrt.
static void BM_ComputeRadiation(benchmark::State& state) {
    umbrix::RadiationInputs in;
    in.day = 172;
    in.latitude = 48.0f;
    in.altitude = 278;
    in.trueTime = static_cast<float>(umbrix::TrueLocalTime(172, 7.85f, 1.0f, 12.0f));
    in.rh = static_cast<float>(umbrix::RelHumidityFromVapour(in.ta, in.vp));
    const umbrix::SunHiddenTest freeHorizon = [](double, double) { return false; };
    for (auto _ : state) {
        benchmark::DoNotOptimize(in.trueTime);
        umbrix::RadiationResults r = umbrix::ComputeRadiation(in, freeHorizon);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_ComputeRadiation);
