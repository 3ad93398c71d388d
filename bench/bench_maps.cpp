// Maps over examples/courtyard.obs at 1 m (36 x 44 cells): one time with Tmrt, PET and UTCI,
// and a whole day in 10-minute steps; and the part that dominates, a cell's horizon (the
// obstacle projection and the sky view factor pass). Threads: state.range(0) (0: one per core).
#include <benchmark/benchmark.h>

#include "engine/HorizonData.h"
#include "horizon/Fisheye.h"
#include "horizon/Obstacles.h"
#include "platform/TextFile.h"
#include "umbrix/map.h"

namespace {

using namespace umbrix;

MapSetup Courtyard(const char* bands) {
    MapSetup setup;
    setup.scene.obstacles =
        ParseObstacleFile(ReadTextFile(UMBRIX_SOURCE_DIR "/examples/courtyard.obs"), 0.3f, 0.95f)
            .obstacles;
    setup.grid = DefaultMapGrid(setup.scene, 1);
    setup.bands = ParseMapBands(bands);
    return setup;
}

RowInputs Afternoon() {
    RowInputs in;
    in.site = {7.85, 48.0, 278, 1.0, "Freiburg"};
    in.time = {172, 15.0};
    in.weather.Ta = 30;
    in.weather.RH = 45;
    in.weather.v = 1.2;
    return in;
}

}  // namespace

static void BM_MapOneTime(benchmark::State& state) {
    const MapSetup setup = Courtyard("Tmrt,PET,UTCI");
    batch::ThreadPool pool(unsigned(state.range(0)));
    for (auto _ : state) {
        const MapResult map = ComputeMap(setup, Afternoon(), {}, &pool);
        benchmark::DoNotOptimize(map.layers[0].values.data());
    }
    state.counters["cells"] = double(setup.grid.size());
}
BENCHMARK(BM_MapOneTime)->ArgName("threads")->Arg(1)->Arg(0)->Unit(benchmark::kSecond);

static void BM_MapDay(benchmark::State& state) {
    const MapSetup setup =
        Courtyard("Tmrt_mean,Tmrt_max,sun_hours,UTCI_hours,PET_hours,PET_mean,UTCI_mean");
    const RowInputs in = Afternoon();
    std::vector<DayTime> times;
    for (int m = 0; m < 1440; m += 10) times.push_back({172, m / 60.0});
    batch::ThreadPool pool(unsigned(state.range(0)));
    for (auto _ : state) {
        const MapResult map = ComputeMapSeries(setup, in.site, in.person, times, {&in.weather, 1},
                                               {}, 10 / 60.0, &pool);
        benchmark::DoNotOptimize(map.layers[0].values.data());
    }
}
BENCHMARK(BM_MapDay)->ArgName("threads")->Arg(1)->Arg(0)->Unit(benchmark::kSecond);

// One cell's horizon, step by step: the projection recorded as a picture, the picture drawn
// into the 482-pixel sky image, and the sky view factor pass over it.
static void BM_CellHorizon(benchmark::State& state) {
    const MapSetup setup = Courtyard("SVF");
    const int part = int(state.range(0));
    ObstacleScene moved = setup.scene;
    for (Obstacle& ob : moved.obstacles) ob.moveAll(-2.5, 3.5);
    const Picture picture = ObstacleHorizonPicture(moved);
    Raster sky(kFisheyeSize, kFisheyeSize);
    picture.playOnto(sky, {0, 0, kFisheyeSize + 1, kFisheyeSize + 1});
    for (auto _ : state) {
        if (part == 0) {
            benchmark::DoNotOptimize(ObstacleHorizonPicture(moved).operations().size());
        } else if (part == 1) {
            Raster image(kFisheyeSize, kFisheyeSize);
            picture.playOnto(image, {0, 0, kFisheyeSize + 1, kFisheyeSize + 1});
            benchmark::DoNotOptimize(image.row(240));
        } else {
            benchmark::DoNotOptimize(IntegrateSkyViewFactors(sky, nullptr).SVF_Umb);
        }
    }
}
BENCHMARK(BM_CellHorizon)
    ->ArgName("project_draw_integrate")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMicrosecond);
