// The obstacle projection: 200 obstacles (buildings, deciduous and coniferous trees) around the
// location, as the obstacle editor projects them when it closes.
#include <benchmark/benchmark.h>

#include <random>

#include "horizon/ObstacleProjection.h"

namespace {

std::vector<umbrix::Obstacle> Neighbourhood(int count) {
    using namespace umbrix;
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> pos(-120.0f, 120.0f);
    std::uniform_real_distribution<float> size(3.0f, 25.0f);
    std::vector<Obstacle> list;
    for (int i = 0; i < count; ++i) {
        float x = pos(rng), y = pos(rng);
        if (i % 2 == 0) {
            float w = size(rng), d = size(rng);
            list.push_back(MakeBuilding({{{x, y}, {x + w, y}, {x + w, y + d}, {x, y + d}}},
                                        size(rng), 0.3f, 0.95f));
        } else {
            float h = size(rng);
            list.push_back(MakeTree(i % 4 == 1 ? ObstacleKind::Deciduous : ObstacleKind::Conifer, x,
                                    y, h, h / 4, h / 3, 0.4f, 0.3f, 0.95f));
        }
    }
    return list;
}

}  // namespace

// Sort and the point lists of every face, crown, cone and trunk; with state.range(0) also the
// obstacle horizon picture recorded and drawn into a 481 x 481 raster.
static void BM_ProjectObstacles200(benchmark::State& state) {
    std::vector<umbrix::Obstacle> list = Neighbourhood(200);
    umbrix::ProjectionSettings settings;
    bool draw = state.range(0) != 0;
    for (auto _ : state) {
        std::vector<umbrix::Obstacle> sorted = list;
        umbrix::SortForProjection(sorted);
        auto shapes = umbrix::ProjectObstacles(sorted, settings);
        benchmark::DoNotOptimize(shapes.data());
        if (draw) {
            umbrix::Raster image = umbrix::RenderObstacleHorizon(shapes).rasterize();
            benchmark::DoNotOptimize(image.row(240));
        }
    }
}
BENCHMARK(BM_ProjectObstacles200)->ArgName("draw")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
