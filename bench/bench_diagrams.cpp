// The diagrams: one day's sun path with its sunshine duration, the sunshine duration of the rows
// of a year of hourly data, and one shadow drawing of the example courtyard.
#include <benchmark/benchmark.h>

#include "diagrams/Shadows.h"
#include "diagrams/SunPath.h"
#include "horizon/Obstacles.h"
#include "horizon/Sunshine.h"
#include "platform/Host.h"
#include "platform/TextFile.h"
#include "solar/SunPosition.h"
#include "support/QuietHost.h"

using namespace umbrix;

namespace {

using bench::QuietHost;

constexpr float kLon = 7.85f, kLat = 48.0f, kTz = 1.0f;

// A horizon with a wall to the south, as an obstacle would leave it.
Raster SouthWall() {
    Raster r(481, 481);
    for (int y = 300; y < 481; ++y)
        for (int x = 0; x < 481; ++x) r.setPixel(x, y, Rgb(128, 128, 128));
    return r;
}

// 21 June at Freiburg, 0.25 m a pixel.
ShadowSettings Midsummer() {
    ShadowSettings s;
    s.day = 172;
    s.longitude = kLon;
    s.latitude = kLat;
    s.timeZone = kTz;
    s.scale = 0.25;
    return s;
}

std::vector<Obstacle> Courtyard() {
    return ParseObstacleFile(ReadTextFile(UMBRIX_SOURCE_DIR "/examples/courtyard.obs"), 0.3f, 0.95f)
        .obstacles;
}

}  // namespace

// "&New" in the polar mode: the day's path drawn minute by minute, sunrise, sunset and SDact
// counted afresh (a new day for the counter every time).
static void BM_SunPathDayWithSunshine(benchmark::State& state) {
    QuietHost host;
    Raster horizon = SouthWall();
    for (auto _ : state) {
        Picture path(kPathSize, kPathSize);
        DrawSunPath(path, 172, 2026, true, kLon, kLat, kTz, &host);
        SunshineCounter counter;
        benchmark::DoNotOptimize(LocalSunriseSunset(172, kLon, kLat, kTz, true));
        benchmark::DoNotOptimize(counter.count(172, kLon, kLat, kTz, horizon));
    }
}
BENCHMARK(BM_SunPathDayWithSunshine)->Unit(benchmark::kMicrosecond);

// SDact of one row on a day not seen before: 1440 sun positions.
static void BM_SunshineNewDay(benchmark::State& state) {
    Raster horizon = SouthWall();
    SunshineCounter counter;
    int day = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(counter.count(day, kLon, kLat, kTz, horizon));
        day = day % 365 + 1;
    }
}
BENCHMARK(BM_SunshineNewDay)->Unit(benchmark::kMicrosecond);

// SDact of the rows of a year of hourly data (8760 rows, one new day every 24 rows).
static void BM_SunshineYearOfHourlyRows(benchmark::State& state) {
    Raster horizon = SouthWall();
    for (auto _ : state) {
        SunshineCounter counter;
        long sum = 0;
        for (int day = 1; day <= 365; ++day)
            for (int hour = 0; hour < 24; ++hour)
                sum += counter.count(day, kLon, kLat, kTz, horizon);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_SunshineYearOfHourlyRows)->Unit(benchmark::kMillisecond);

// The shadow picture of the example courtyard at 10:00 on 21 June.
static void BM_ShadowsOfTheCourtyard(benchmark::State& state) {
    const std::vector<Obstacle> yard = Courtyard();
    const ShadowSettings s = Midsummer();
    QuietHost host;
    for (auto _ : state) {
        Picture overlay;
        DrawShadows(overlay, yard, s, 10.0, &host);
        benchmark::DoNotOptimize(overlay.operations().data());
    }
}
BENCHMARK(BM_ShadowsOfTheCourtyard)->Unit(benchmark::kMicrosecond);

// The same, drawn onto the 481-pixel overlay as the window shows it.
static void BM_ShadowsOfTheCourtyardShown(benchmark::State& state) {
    const std::vector<Obstacle> yard = Courtyard();
    const ShadowSettings s = Midsummer();
    for (auto _ : state) {
        Picture overlay;
        DrawShadows(overlay, yard, s, 10.0, nullptr);
        benchmark::DoNotOptimize(overlay.rasterize());
    }
}
BENCHMARK(BM_ShadowsOfTheCourtyardShown)->Unit(benchmark::kMicrosecond);
