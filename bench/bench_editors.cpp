// The heavy passes of the two horizon editors: the terrain horizon of "&Close" with its picture,
// the relief map, the whole-sky flood fill and the cut-off pass.
#include <benchmark/benchmark.h>

#include <cmath>

#include "horizon/Terrain.h"
#include "models/HorizonEditorModel.h"
#include "models/TopographyEditorModel.h"

using namespace umbrix;

namespace {

TopoWindow Valley() {
    TopoWindow w;
    for (int r = 0; r < kTopoWindowSize; ++r)
        for (int c = 0; c < kTopoWindowSize; ++c) {
            const double d = std::min(std::abs(c - 20) * 50.0, 700.0);
            w.at(c, r) = float(100 + 350 * (1 - std::cos(M_PI * d / 700)) / 2 + 3 * r);
        }
    return w;
}

void BM_TerrainHorizon(benchmark::State& state) {
    const TopoWindow w = Valley();
    for (auto _ : state) benchmark::DoNotOptimize(ComputeTerrainHorizon(w, 50, 1010, 990, 170));
}
BENCHMARK(BM_TerrainHorizon)->Unit(benchmark::kMillisecond);

void BM_TerrainHorizonPicture(benchmark::State& state) {
    const auto H = ComputeTerrainHorizon(Valley(), 50, 1010, 990, 170);
    Picture picture(481, 481);
    for (auto _ : state) {
        DrawTerrainHorizon(picture, H);
        benchmark::DoNotOptimize(picture.rasterize());
    }
}
BENCHMARK(BM_TerrainHorizonPicture)->Unit(benchmark::kMillisecond);

void BM_FloodFillWholeSky(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        HorizonPictures pictures;
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            FloodFillHorizon(pictures, {240, 240}, 0xA0A0A0, Rgb(0, 76, 0), Rgb(242, 0, 0)));
    }
}
BENCHMARK(BM_FloodFillWholeSky)->Unit(benchmark::kMillisecond);

void BM_CutOff(benchmark::State& state) {
    HorizonPictures pictures;
    for (int y = 0; y < 481; ++y)
        for (int x = 0; x < 481; ++x) pictures.drawing.setPixel(x, y, Rgb(x % 256, y % 256, 200));
    for (auto _ : state) {
        HorizonPictures copy = pictures;
        CutOffBright(copy, Rgb(223, 223, 223));
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CutOff)->Unit(benchmark::kMillisecond);

}  // namespace
