// Maps over the obstacle plan: each cell is the point calculation with the location of
// calculation moved to the cell centre, whatever the thread count; statistics over a range of
// times are those of the cell's own series.
#include "umbrix/map.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "horizon/Obstacles.h"
#include "platform/TextFile.h"

using namespace umbrix;

namespace {

ObstacleScene Courtyard() {
    ObstacleScene scene;
    scene.obstacles =
        ParseObstacleFile(ReadTextFile(UMBRIX_SOURCE_DIR "/examples/courtyard.obs"), 0.3f, 0.95f)
            .obstacles;
    return scene;
}

RowInputs Afternoon() {
    RowInputs in;
    in.site = {7.85, 48.0, 278, 1.0, "Freiburg"};
    in.time = {172, 15.0};
    in.weather.Ta = 30;
    in.weather.RH = 45;
    in.weather.v = 1.2;
    in.weather.N = 1;
    return in;
}

// The point calculation with the location of calculation at (x, y), as the obstacle editor
// moves the obstacles when the location moves.
Horizon HorizonAt(const ObstacleScene& scene, const HorizonImage* drawing, double x, double y) {
    ObstacleScene moved = scene;
    for (Obstacle& ob : moved.obstacles) ob.moveAll(-x, -y);
    HorizonSources sources;
    sources.obstacles = &moved;
    sources.drawing = drawing;
    return Horizon::FromSources(sources);
}

std::uint32_t Bits(float f) {
    return std::bit_cast<std::uint32_t>(f);
}

// A drawing that hides the sky below 20° in the south-west quarter.
HorizonImage Drawing() {
    HorizonImage image{
        kFisheyeSize, kFisheyeSize,
        std::vector<std::uint32_t>(std::size_t(kFisheyeSize) * kFisheyeSize, 0xFFFFFF)};
    for (int y = 0; y < kFisheyeSize; ++y)
        for (int x = 0; x < kFisheyeSize; ++x) {
            const double dx = x - kFisheyeCentre, dy = y - kFisheyeCentre;
            if (dx < 0 && dy > 0 && std::hypot(dx, dy) > kFisheyeRadius * 70.0 / 90.0)
                image.pixels[std::size_t(y) * kFisheyeSize + x] = 0x404040;
        }
    return image;
}

struct Case {
    const char* name;
    bool drawing;
    unsigned threads;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class MapCells : public testing::TestWithParam<Case> {};

TEST_P(MapCells, EqualThePointCalculationAtTheCellCentre) {
    const Case c = GetParam();
    const ObstacleScene scene = Courtyard();
    const HorizonImage drawing = Drawing();
    MapSetup setup;
    setup.scene = scene;
    setup.grid = MapGridOver(-20, -24, 20, 24, 4);
    setup.drawing = c.drawing ? &drawing : nullptr;
    setup.bands = ParseMapBands("SVF,SVFcos,sun,SDact,G,Q,Tmrt,PET,UTCI,PMV,mPET");
    const RowInputs in = Afternoon();
    batch::ThreadPool pool(c.threads);
    const MapResult map = ComputeMap(setup, in, {}, c.threads > 1 ? &pool : nullptr);
    ASSERT_EQ(map.grid.columns, 10);
    ASSERT_EQ(map.grid.rows, 12);
    ASSERT_EQ(map.layers.size(), 11u);

    int inside = 0, shaded = 0, sunny = 0;
    for (int row = 0; row < map.grid.rows; ++row)
        for (int col = 0; col < map.grid.columns; ++col) {
            const double x = map.grid.centreX(col), y = map.grid.centreY(row);
            if (map.inside[std::size_t(row) * map.grid.columns + col]) {
                ++inside;
                for (std::size_t l = 0; l < map.layers.size(); ++l)
                    EXPECT_TRUE(std::isnan(map.value(l, col, row)));
                continue;
            }
            // every third cell is enough to meet walls, trees and open ground
            if ((row * map.grid.columns + col) % 3 != 0) continue;
            const Horizon h = HorizonAt(scene, setup.drawing, x, y);
            PetState pet;
            const IndexSelection indices{true, true, false, true, false, true};
            const RowResult r = ComputeRow(in, {}, h, indices, pet);
            const bool sun = !h.isSunHidden(r.Z, r.azimuth);
            (sun ? sunny : shaded)++;
            const float expected[] = {
                r.SVF, r.SVFcos, sun ? 1.0f : 0.0f, float(r.SDact), r.G, r.Q, r.Tmrt, r.PET, r.UTCI,
                r.PMV, r.mPET};
            for (std::size_t l = 0; l < map.layers.size(); ++l)
                EXPECT_EQ(Bits(map.value(l, col, row)), Bits(expected[l]))
                    << map.layers[l].band.name << " at " << x << ", " << y << ": "
                    << map.value(l, col, row) << " vs " << expected[l];
        }
    // the four buildings stand on the grid, and the court has sun and shade
    EXPECT_GT(inside, 20);
    EXPECT_GT(sunny, 3);
    EXPECT_GT(shaded, 3);
}

INSTANTIATE_TEST_SUITE_P(Maps, MapCells,
                         testing::Values(Case{"obstacles", false, 1}, Case{"threads", false, 2},
                                         Case{"drawing", true, 2}),
                         [](const testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

TEST(Map, StatisticsOverADayAreThoseOfTheCellsSeries) {
    const ObstacleScene scene = Courtyard();
    MapSetup setup;
    setup.scene = scene;
    setup.grid = MapGridOver(-6, -10, 6, 10, 4);
    setup.bands = ParseMapBands("Tmrt_mean,Tmrt_max,sun_hours,PET_hours:29,UTCI_mean");
    // PET from 29 °C: one band to 35, then one per class above
    ASSERT_EQ(setup.bands.size(), 7u);
    EXPECT_EQ(setup.bands[3].name, "PET_hours_29_35");
    EXPECT_EQ(setup.bands[5].name, "PET_hours_41_up");
    const RowInputs base = Afternoon();
    std::vector<DayTime> times;
    for (int minutes = 6 * 60; minutes < 20 * 60; minutes += 40)
        times.push_back({172, minutes / 60.0});
    const Weather weather = base.weather;
    batch::ThreadPool pool(2);
    const MapResult map =
        ComputeMapSeries(setup, base.site, base.person, times, {&weather, 1}, {}, 40 / 60.0, &pool);
    EXPECT_EQ(map.steps, int(times.size()));

    for (int row = 0; row < map.grid.rows; ++row)
        for (int col = 0; col < map.grid.columns; ++col) {
            if (map.inside[std::size_t(row) * map.grid.columns + col]) continue;
            const Horizon h =
                HorizonAt(scene, nullptr, map.grid.centreX(col), map.grid.centreY(row));
            PetState pet;
            const std::vector<Weather> weathers(times.size(), weather);
            const std::vector<RowResult> rows =
                ComputeSeries(base.site, base.person, times, weathers, {}, h,
                              {false, true, false, true, false, false}, pet);
            double tmrt = 0, utci = 0, sunHours = 0, max = -1e9;
            double pet29 = 0, pet41 = 0;
            for (const RowResult& r : rows) {
                tmrt += r.Tmrt;
                utci += r.UTCI;
                max = std::max(max, double(r.Tmrt));
                if (!h.isSunHidden(r.Z, r.azimuth)) sunHours += 40 / 60.0;
                if (r.PET > 29 && r.PET <= 35) pet29 += 40 / 60.0;
                if (r.PET > 41) pet41 += 40 / 60.0;
            }
            const double n = double(rows.size());
            EXPECT_FLOAT_EQ(map.value(0, col, row), float(tmrt / n));
            EXPECT_EQ(map.value(1, col, row), float(max));
            EXPECT_FLOAT_EQ(map.value(2, col, row), float(sunHours));
            EXPECT_FLOAT_EQ(map.value(3, col, row), float(pet29));
            EXPECT_FLOAT_EQ(map.value(5, col, row), float(pet41));
            EXPECT_FLOAT_EQ(map.value(6, col, row), float(utci / n));
        }
}

TEST(Map, GridsAndNames) {
    // whole cells from the western and northern edges
    const MapGrid g = MapGridOver(-18, -22, 18, 22.5, 1);
    EXPECT_EQ(g.columns, 36);
    EXPECT_EQ(g.rows, 45);
    EXPECT_DOUBLE_EQ(g.centreY(0), 22.0);
    // the default frame holds the obstacles and the origin, in whole cells
    const MapGrid d = DefaultMapGrid(Courtyard(), 1);
    EXPECT_DOUBLE_EQ(d.west, -18);
    EXPECT_DOUBLE_EQ(d.north, 22);
    EXPECT_EQ(d.columns, 36);
    EXPECT_EQ(d.rows, 44);
    // a point on a shared wall belongs to one building only; an arcade has room below it
    ObstacleScene scene;
    scene.obstacles.push_back(MakeBuilding({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}, 5, 0.3f, 0.9f));
    EXPECT_TRUE(InsideBuilding(scene, 0, 5));
    EXPECT_FALSE(InsideBuilding(scene, 10, 5));
    for (int k = 5; k <= 8; ++k) {
        const Point3 p = scene.obstacles[0].corner(k);
        scene.obstacles[0].setCorner(k, float(p.x), float(p.y), 3);
    }
    EXPECT_FALSE(InsideBuilding(scene, 5, 5));

    for (const char* bad : {"", "Tmrtt", "UTCI_hours:warm", "PET_avg"})
        EXPECT_THROW(ParseMapBands(bad), std::invalid_argument) << bad;
    try {
        ParseMapBands("Tmrt,UTCI_maxx");
        FAIL();
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("UTCI_max"), std::string::npos) << e.what();
    }
    for (const auto& [cell, extent] : {std::pair{0.0, 10.0}, {1.0, 0.0}, {0.001, 10.0}})
        EXPECT_THROW(MapGridOver(0, 0, extent, extent, cell), std::invalid_argument);
    // a value of one time cannot take a second step
    MapSetup setup;
    setup.scene = scene;
    setup.grid = MapGridOver(0, 0, 2, 2, 1);
    setup.bands = ParseMapBands("Tmrt");
    MapRun run(setup);
    run.announceTime(Afternoon().site, Afternoon().time);
    run.computeHorizons();
    run.addStep(Afternoon(), {}, 0);
    EXPECT_THROW(run.addStep(Afternoon(), {}, 0), std::logic_error);
}

}  // namespace
