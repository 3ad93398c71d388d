#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "horizon/Fisheye.h"
#include "platform/Host.h"
#include "support/QuietHost.h"

using namespace umbrix;

namespace {

using bench::QuietHost;

Point Project(double azimuth, double elevation) {
    double r = (1 - 2 * elevation / M_PI) * 240;
    return {240 + int(std::nearbyint(std::sin(azimuth) * r)),
            240 - int(std::nearbyint(std::cos(azimuth) * r))};
}

// Something like an obstacle picture: 30 building faces of 320 points and 10 round crowns.
Picture Obstacles() {
    Picture p(481, 481);
    p.setPen({Rgb(128, 128, 128)});
    p.setBrush({Rgb(128, 128, 128)});
    for (int k = 0; k < 30; ++k) {
        double a0 = k * 0.2, a1 = a0 + 0.25, top = 0.15 + 0.5 * ((k * 37) % 11) / 11.0;
        std::vector<Point> face;
        for (int j = 0; j < 160; ++j)
            face.push_back(Project(a0 + (a1 - a0) * j / 159, top * (1 - 0.3 * j / 159)));
        for (int j = 0; j < 160; ++j) face.push_back(Project(a1 - (a1 - a0) * j / 159, 0));
        p.polygon(face);
    }
    p.setPen({Rgb(192, 192, 192)});
    p.setBrush({Rgb(192, 192, 192)});
    for (int k = 0; k < 10; ++k) {
        std::vector<Point> crown;
        for (int j = 0; j < 320; ++j) {
            double phi = j * 2 * M_PI / 320;
            crown.push_back(Project(k * 0.6 + 0.1 * std::sin(phi), 0.4 + 0.1 * std::cos(phi)));
        }
        p.polygon(crown);
    }
    return p;
}

Raster HandDrawing() {
    Raster r(kFisheyeSize, kFisheyeSize);
    std::vector<Point> hill;
    for (int j = 0; j <= 90; ++j)
        hill.push_back(Project(3.5 + j * 0.02, 0.3 * std::sin(j * M_PI / 90)));
    for (int j = 90; j >= 0; --j) hill.push_back(Project(3.5 + j * 0.02, 0));
    r.polygon(hill, {Rgb(160, 160, 160)}, {Rgb(160, 160, 160)});
    return r;
}

}  // namespace

// The per-pixel integration over the 231,361 pixels of a composed image.
static void BM_SkyViewFactorPass(benchmark::State& state) {
    Picture obstacles = Obstacles();
    Raster drawing = HandDrawing();
    std::vector<HorizonSource> sources{&drawing, &obstacles};
    Raster sky = BuildSkyViewImage(sources);
    QuietHost host;
    for (auto _ : state) benchmark::DoNotOptimize(IntegrateSkyViewFactors(sky, &host));
}
BENCHMARK(BM_SkyViewFactorPass)->Unit(benchmark::kMicrosecond);

static void BM_BuildHorizonImage(benchmark::State& state) {
    Picture obstacles = Obstacles();
    Raster drawing = HandDrawing();
    std::vector<HorizonSource> sources{&drawing, &obstacles};
    for (auto _ : state) benchmark::DoNotOptimize(BuildHorizonImage(sources));
}
BENCHMARK(BM_BuildHorizonImage)->Unit(benchmark::kMicrosecond);

// What "&New" does: both images and the factors.
static void BM_ComputeFisheyeHorizon(benchmark::State& state) {
    Picture obstacles = Obstacles();
    Raster drawing = HandDrawing();
    std::vector<HorizonSource> sources{&drawing, &obstacles};
    QuietHost host;
    FisheyeHorizon horizon;
    for (auto _ : state) {
        ComputeFisheyeHorizon(horizon, sources, &host);
        benchmark::DoNotOptimize(horizon.SVF_Umb);
    }
}
BENCHMARK(BM_ComputeFisheyeHorizon)->Unit(benchmark::kMicrosecond);
