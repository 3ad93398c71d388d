#include <benchmark/benchmark.h>

#include "indices/DenseMatrix.h"
#include "indices/Mpet.h"

// One mPET call for the default person at 20 °C, by solver; the argument picks the clothing
// (0.5 clo: 16 nodes, 0.9 clo: 21 nodes, 1.4 clo: 26 nodes).
template <umbrix::MpetSolver solver>
static void BM_Mpet(benchmark::State& state) {
    const float icl = state.range(0) / 10.0f;
    for (auto _ : state) {
        umbrix::MpetDetails r =
            umbrix::ComputeMpet(1, 1, false, 20.0f, 12.5f, 0.1f, 20.0f, icl, 80.0f, 1.75f, 75.0f,
                                35.0f, 36.8f, 34.0f, 9999.0f, solver);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_Mpet<umbrix::MpetSolver::Fast>)
    ->Arg(5)
    ->Arg(9)
    ->Arg(14)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mpet<umbrix::MpetSolver::Reference>)
    ->Arg(5)
    ->Arg(9)
    ->Arg(14)
    ->Unit(benchmark::kMillisecond);

// The dense inversion the reference solver makes every step.
static void BM_MatrixInvert26(benchmark::State& state) {
    umbrix::DenseMatrix m;
    m.resize(26, 26);
    for (auto _ : state) {
        for (int c = 1; c <= 26; ++c)
            for (int r = 1; r <= 26; ++r) m.setElement(c, r, c == r ? 4.0 : 1.0 / (c + r));
        benchmark::DoNotOptimize(m.invert());
    }
}
BENCHMARK(BM_MatrixInvert26)->Unit(benchmark::kMicrosecond);
