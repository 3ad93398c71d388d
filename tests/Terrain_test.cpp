#include "horizon/Terrain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>

namespace umbrix {
namespace {

namespace fs = std::filesystem;

std::string WriteTemp(const std::string& name, const std::string& content) {
    fs::path dir = fs::temp_directory_path() / "umbrix_terrain_test";
    fs::create_directories(dir);
    fs::path path = dir / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

TopoWindow Flat(float height) {
    TopoWindow w;
    for (auto& row : w.w) row.fill(height);
    return w;
}

TEST(TerrainHorizon, FlatTerrainAtEyeLevelGivesNoHorizon) {
    for (float height : {0.0f, 350.0f}) {
        auto H = ComputeTerrainHorizon(Flat(height), 50, 1000, 1000, height);
        for (int A = 0; A <= 360; ++A) ASSERT_EQ(H[A], 0.0) << "A=" << A;
    }
    // Terrain below the eye never lowers the horizon below 0.
    auto H = ComputeTerrainHorizon(Flat(-20.0f), 50, 1000, 1000, 0);
    for (double h : H) ASSERT_EQ(h, 0.0);
}

TEST(TerrainHorizon, SinglePointHundredMetresEastGivesFortyFiveDegrees) {
    TopoWindow w;        // flat at 0 = z0
    w.at(22, 20) = 100;  // 2 grid distances (100 m) east of the location
    auto H = ComputeTerrainHorizon(w, 50, 1000, 1000, 0);
    EXPECT_DOUBLE_EQ(H[90], 0.5);
    // The peak is a single point: neighbouring azimuths see only its flanks.
    EXPECT_LT(H[85], 0.5);
    EXPECT_EQ(H[270], 0.0);
    EXPECT_EQ(H[0], 0.0);
    EXPECT_EQ(H[360], H[0]);
}

TEST(TerrainHorizon, OnlyTheInnerCellsOfTheWindowCount) {
    struct Case {
        int c, r;
        bool seen;
    } cases[] = {
        {0, 20, false},  // outermost column, 20 grid distances west
        {20, 0, false},  // outermost row, north
        {1, 20, true},   // one in from the west edge
        {20, 39, true},  // one in from the south edge
        {40, 20, true},  // the east edge still bounds the last inner cell
    };
    for (const Case& t : cases) {
        TopoWindow w;
        w.at(t.c, t.r) = 5000;
        auto H = ComputeTerrainHorizon(w, 10, 200, 200, 0);
        double highest = 0;
        for (double h : H) highest = std::max(highest, h);
        EXPECT_EQ(highest > 0, t.seen) << "point " << t.c << "," << t.r;
    }
}

TEST(TerrainHorizon, HeightAtLocationIsTakenAtItsTruePosition) {
    // Terrain rising 10 m per grid distance to the east.
    TopoWindow w;
    for (int r = 0; r < kTopoWindowSize; ++r)
        for (int c = 0; c < kTopoWindowSize; ++c) w.at(c, r) = 10.0f * c;
    struct Case {
        double x0;
        double expected;
    } cases[] = {
        {1000, 200},  // on a grid point
        {1010, 202},  // 0.2 east of point 20
        {1040, 198},  // 20.8: nearest point 21, so the location lies 0.2 west of the centre
        {1025, 205},  // a tie rounds to the even point 20
        {1075, 195},  // 21.5 rounds to 22
    };
    for (const Case& t : cases)
        EXPECT_NEAR(TopoHeightAtLocation(w, 50, t.x0, 1000), t.expected, 1e-9) << t.x0;
    // At x0 = 1040 the terrain (198) lies below an eye at 200: the location is not
    // underground and the rays start there.
    auto H = ComputeTerrainHorizon(w, 50, 1040, 1000, 200);
    EXPECT_GT(H[90], 0.0);
    EXPECT_EQ(H[270], 0.0);
}

TEST(TerrainHorizon, TinyGridDistanceSkipsSamplesAtTheEye) {
    TopoWindow w = Flat(0);
    w.at(21, 20) = 3;
    auto H = ComputeTerrainHorizon(w, 1, 20, 20, 0);
    for (double h : H) ASSERT_TRUE(std::isfinite(h));
    EXPECT_GT(H[90], 0.5);
}

TEST(TerrainRelief, GreyLevelsFollowSlopeAndAspect) {
    struct Case {
        double e, f;
        int grey;
    } cases[] = {
        {0, 0, 178},    // flat: 0.7 * 255
        {50, 0, 232},   // 45 degree slope, vector pointing east: brightest side
        {-50, 0, 124},  // pointing west
        {0, 50, 178},   // north: sin(0) leaves the flat grey
    };
    for (const Case& t : cases) EXPECT_EQ(ReliefGrey(t.e, t.f, 50), t.grey) << t.e << "," << t.f;
}

TEST(TopographyFile, ValuesFillTheWindowInRowOrder) {
    // A 3-column file; the location at grid point (1, 1) puts file point (i, j) at window
    // (i + 19, j + 19).
    std::string path = WriteTemp("three.txt", "1 2 3\n4 5 6\r\n7\t8 9 \n\n10");
    TopoWindow w;
    TopoGrid grid{10, 3, 3};
    TopoReadError error;
    std::uint64_t count = 0;
    ASSERT_TRUE(ReadTopographyValues(
        path,
        [&](std::uint64_t k, float v) {
            count = k + 1;
            PlaceTopoValue(w, grid, 1, 1, k, v);
        },
        error))
        << error.message();
    EXPECT_EQ(count, 10u);
    EXPECT_EQ(w.at(19, 19), 1);
    EXPECT_EQ(w.at(21, 19), 3);
    EXPECT_EQ(w.at(19, 20), 4);
    EXPECT_EQ(w.at(21, 21), 9);
    EXPECT_EQ(w.at(19, 22), 10);  // the fourth row although N_r is 3
    EXPECT_EQ(w.at(18, 19), 0);
}

TEST(TopographyFile, UnreadableTextsAreNamedWithTheirLine) {
    struct Case {
        std::string content;
        std::uint64_t values;  // delivered before the error
        std::uint64_t line;
        std::string text;
    } cases[] = {
        {"1 2\n3 x4\n5", 3, 2, "x4"},
        {"1\r\n2\r\n3,5", 2, 3, "3,5"},
        {"1\r2\r\rnan", 2, 4, "nan"},
        {"1e39", 0, 1, "1e39"},  // beyond a 4-byte float
        {std::string(5000, '7'), 0, 1, std::string(32, '7') + "..."},
    };
    for (const Case& t : cases) {
        std::string path = WriteTemp("bad.txt", t.content);
        std::uint64_t count = 0;
        TopoReadError error;
        EXPECT_FALSE(ReadTopographyValues(
            path, [&](std::uint64_t k, float) { count = k + 1; }, error));
        EXPECT_EQ(count, t.values) << t.content.substr(0, 20);
        EXPECT_EQ(error.line, t.line) << t.content.substr(0, 20);
        EXPECT_EQ(error.text, t.text);
        EXPECT_NE(error.message().find("line " + std::to_string(t.line)), std::string::npos);
    }
    TopoReadError error;
    EXPECT_FALSE(ReadTopographyValues(
        "/nonexistent/umbrix.txt", [](std::uint64_t, float) {}, error));
    EXPECT_NE(error.message().find("/nonexistent/umbrix.txt"), std::string::npos);
    EXPECT_FALSE(ReadTopographyValues(
        fs::temp_directory_path().string(), [](std::uint64_t, float) {}, error));
}

TEST(TopographyFile, WrittenWindowHas1681LinesAndReadsBackAtTheOrigin) {
    TopoWindow w;
    w.at(0, 0) = 0;
    w.at(1, 0) = -3.256f;
    w.at(40, 40) = 123456.5f;
    w.at(5, 7) = 12.344f;
    std::string text = FormatTopographyWindow(w);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1681);
    EXPECT_EQ(text.substr(0, 7), "  0.00\n");
    EXPECT_EQ(text.substr(7, 7), " -3.26\n");
    EXPECT_EQ(text.substr(text.size() - 10), "123456.50\n");

    std::string path = WriteTemp("window.txt", text);
    TopoWindow back;
    TopoGrid grid{50, 41, 41};
    TopoReadError error;
    ASSERT_TRUE(ReadTopographyValues(
        path, [&](std::uint64_t k, float v) { PlaceTopoValue(back, grid, 20, 20, k, v); }, error));
    EXPECT_FLOAT_EQ(back.at(5, 7), 12.34f);
    EXPECT_FLOAT_EQ(back.at(1, 0), -3.26f);
    EXPECT_FLOAT_EQ(back.at(40, 40), 123456.5f);
}

}  // namespace
}  // namespace umbrix
