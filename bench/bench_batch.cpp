#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "indices/Mpet.h"
#include "indices/PerceivedTemperature.h"
#include "indices/Pet.h"
#include "indices/Pmv.h"
#include "indices/SetStar.h"
#include "indices/Utci.h"
#include "umbrix/batch.h"

// The batch functions against a loop over the row functions, on the same random weather inside
// every index's range (Ta -20..40 °C, RH 10..100 %, v 0.4..8 m/s, Tmrt Ta-10..Ta+40 °C) for the
// standard person (man, 35 years, 1.75 m, 75 kg, 0.9 clo, 80 W, standing). BM_Batch<Index> takes
// the pool's thread count as its argument: BM_BatchUtci/threads:1 and /threads:2; the label
// names the SIMD target that ran.

namespace {

using namespace umbrix;

constexpr float kMissing = 9999.0f;

struct Inputs {
    std::vector<double> ta, vp, v, tmrt;
    batch::Weather weather() const { return {ta, vp, v, tmrt}; }
};

const Inputs& RandomWeather(std::size_t n) {
    static std::vector<std::pair<std::size_t, Inputs>> made;
    for (auto& [size, inputs] : made)
        if (size == n) return inputs;
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Inputs in;
    for (std::size_t i = 0; i < n; ++i) {
        const double ta = -20.0 + 60.0 * unit(random);
        const double rh = 0.1 + 0.9 * unit(random);
        in.ta.push_back(ta);
        in.vp.push_back(rh * 6.112 * std::exp(17.62 * ta / (243.12 + ta)));
        in.v.push_back(0.4 + 7.6 * unit(random));
        in.tmrt.push_back(ta - 10.0 + 50.0 * unit(random));
    }
    made.emplace_back(n, std::move(in));
    return made.back().second;
}

const Sex kSex = Sex::Male;
const Posture kPosture = Posture::Standing;
const double kAge = 35, kHeight = 1.75, kWeight = 75, kClothing = 0.9, kActivity = 80;
const double kPressure = 1013;
const batch::Person kPerson{{&kSex, 1},    {&kPosture, 1},  {&kAge, 1},     {&kHeight, 1},
                            {&kWeight, 1}, {&kClothing, 1}, {&kActivity, 1}};

template <class Result, class Run>
void BatchBenchmark(benchmark::State& state, std::size_t n, Run run) {
    batch::ThreadPool pool(unsigned(state.range(0)));
    std::vector<Result> out(n);
    for (auto _ : state) {
        run(RandomWeather(n).weather(), std::span<Result>(out), &pool);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(n));
    state.SetLabel(batch::SimdTarget());
}

template <class Result, class Row>
void ScalarBenchmark(benchmark::State& state, std::size_t n, Row row) {
    const Inputs& in = RandomWeather(n);
    std::vector<Result> out(n);
    for (auto _ : state) {
        row(in, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(n));
}

constexpr std::size_t kMany = 1000000, kPetCount = 10000, kSetStarCount = 10000, kMpetCount = 1000;

void BM_BatchUtci(benchmark::State& state) {
    BatchBenchmark<double>(state, kMany, [](const batch::Weather& w, auto out, auto* pool) {
        batch::Utci(w, out, pool);
    });
}
void BM_ScalarUtci(benchmark::State& state) {
    ScalarBenchmark<double>(state, kMany, [](const Inputs& in, auto& out) {
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = ComputeUtci(in.ta[i], in.vp[i], in.tmrt[i], in.v[i], kMissing);
    });
}

void BM_BatchPmv(benchmark::State& state) {
    BatchBenchmark<double>(state, kMany, [](const batch::Weather& w, auto out, auto* pool) {
        batch::Pmv(w, kPerson, out, pool);
    });
}
void BM_ScalarPmv(benchmark::State& state) {
    ScalarBenchmark<double>(state, kMany, [](const Inputs& in, auto& out) {
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = ComputePmv(1, 35, float(in.ta[i]), float(in.vp[i]), float(in.v[i]),
                                float(in.tmrt[i]), 0.9f, 80.0f, 1.75f, 75.0f, kMissing);
    });
}

void BM_BatchPt(benchmark::State& state) {
    BatchBenchmark<double>(state, kMany, [](const batch::Weather& w, auto out, auto* pool) {
        batch::PerceivedTemperature(w, {&kPressure, 1}, out, pool);
    });
}
void BM_ScalarPt(benchmark::State& state) {
    ScalarBenchmark<double>(state, kMany, [](const Inputs& in, auto& out) {
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = ComputePt(0, "none", in.ta[i], in.vp[i], in.tmrt[i], in.v[i], kPressure, 0.9,
                               kMissing);
    });
}

void BM_BatchSetStar(benchmark::State& state) {
    BatchBenchmark<double>(state, kSetStarCount, [](const batch::Weather& w, auto out, auto* pool) {
        batch::SetStar(w, kPerson, SetStarStandard::ActivityDependent, out, pool);
    });
}
void BM_ScalarSetStar(benchmark::State& state) {
    ScalarBenchmark<double>(state, kSetStarCount, [](const Inputs& in, auto& out) {
        for (std::size_t i = 0; i < out.size(); ++i) {
            const float ta = float(in.ta[i]);
            const float rh = float(in.vp[i] / (6.1078 * std::exp(17.1 * ta / (235.0 + ta))) * 100);
            out[i] = ComputeSetStar(0, ta, float(in.tmrt[i]), rh, float(in.v[i]), 0.9f, 35.0f,
                                    1.75f, 75.0f, 80.0f, kMissing);
        }
    });
}

void BM_BatchPet(benchmark::State& state) {
    BatchBenchmark<PetDetails>(state, kPetCount, [](const batch::Weather& w, auto out, auto* pool) {
        PetState state;
        batch::Pet(w, kPerson, out, state, pool);
    });
}
void BM_ScalarPet(benchmark::State& state) {
    ScalarBenchmark<PetDetails>(state, kPetCount, [](const Inputs& in, auto& out) {
        PetModel model;  // one model for the run, as the table does
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] =
                model.ComputePet(1, 1, float(in.ta[i]), float(in.vp[i]), float(in.v[i]),
                                 float(in.tmrt[i]), 0.9f, 80.0f, 1.75f, 75.0f, 35.0f, kMissing);
    });
}

void BM_BatchMpet(benchmark::State& state) {
    BatchBenchmark<MpetDetails>(state, kMpetCount,
                                [](const batch::Weather& w, auto out, auto* pool) {
                                    batch::Mpet(w, kPerson, false, out, pool);
                                });
}
void BM_ScalarMpet(benchmark::State& state) {
    ScalarBenchmark<MpetDetails>(state, kMpetCount, [](const Inputs& in, auto& out) {
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = ComputeMpet(1, 1, false, float(in.ta[i]), float(in.vp[i]), float(in.v[i]),
                                 float(in.tmrt[i]), 0.9f, 80.0f, 1.75f, 75.0f, 35.0f, 36.8f, 34.0f,
                                 kMissing);
    });
}

}  // namespace

// One thread is timed by its CPU time, which other work on the machine disturbs least; two by
// the wall clock, as the pool's second thread does not show in the caller's CPU time.
#define UMBRIX_BATCH_BENCHMARK(index)                                                      \
    BENCHMARK(BM_Scalar##index)->Unit(benchmark::kMillisecond);                            \
    BENCHMARK(BM_Batch##index)->ArgName("threads")->Arg(1)->Unit(benchmark::kMillisecond); \
    BENCHMARK(BM_Batch##index)                                                             \
        ->ArgName("threads")                                                               \
        ->Arg(2)                                                                           \
        ->UseRealTime()                                                                    \
        ->Unit(benchmark::kMillisecond)

UMBRIX_BATCH_BENCHMARK(Utci);
UMBRIX_BATCH_BENCHMARK(Pmv);
UMBRIX_BATCH_BENCHMARK(Pt);
UMBRIX_BATCH_BENCHMARK(SetStar);
UMBRIX_BATCH_BENCHMARK(Pet);
UMBRIX_BATCH_BENCHMARK(Mpet);
