#include "diagrams/Shadows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "solar/SunPosition.h"
#include "support/FakeHost.h"
#include "support/Pixels.h"

using namespace umbrix;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr Colour kDark = kShadowDark;
constexpr Colour kLight = kShadowLight;

// Freiburg, CET, midsummer.
ShadowSettings Freiburg(double scale = 1) {
    ShadowSettings s;
    s.day = 172;
    s.longitude = 7.85f;
    s.latitude = 48.0f;
    s.timeZone = 1.0f;
    s.scale = scale;
    return s;
}

// Local time of true local time T on the settings' day.
double LocalTime(const ShadowSettings& s, double T) {
    return LocalFromTrueTime(s.day, s.longitude, s.timeZone, float(T));
}

// The shadow picture as the 401-pixel square shows it.
Raster Square(const std::vector<Obstacle>& obstacles, const ShadowSettings& s, double t) {
    Raster r(kShadowSquare, kShadowSquare);
    DrawShadowPicture(obstacles, s, t, nullptr).playOnto(r, r.bounds());
    return r;
}

// Pixel of the plan point (x, y) metres on the square.
Point Pixel(double x, double y, double scale) {
    Point p = ShadowMap(x, y, scale);
    return {int(std::floor(p.x / 10.0 + 0.5)), int(std::floor(p.y / 10.0 + 0.5))};
}

Obstacle Block(double x0, double y0, double x1, double y1, float height) {
    return MakeBuilding({{{float(x0), float(y0)},
                          {float(x1), float(y0)},
                          {float(x1), float(y1)},
                          {float(x0), float(y1)}}},
                        height, 0.3f, 0.95f);
}

}  // namespace

TEST(Shadows, PlanMappingPutsTheLocationInTheMiddleAndNorthUp) {
    struct Case {
        double x, y, scale;
        Point expected;
    } cases[] = {
        {0, 0, 1, {2005, 2005}},
        {200.5, 0, 1, {4010, 2005}},
        {0, 200.5, 1, {2005, 0}},
        {-802, -802, 4, {0, 4010}},
        {50.125, 0, 0.25, {4010, 2005}},
        {1, 1, 0.5, {2025, 1985}},
        {1e30, -1e30, 1, {1000000000, 1000000000}},  // held within the picture's integers
    };
    for (const Case& c : cases) EXPECT_EQ(ShadowMap(c.x, c.y, c.scale), c.expected) << c.x;
}

TEST(Shadows, SunDueSouthCastsTheShadowNorthAsLongAsHeightTimesTanZ) {
    ShadowSettings s = Freiburg(0.25);
    const double noon = LocalTime(s, 12.0);
    const float T = float(TrueLocalTime(s.day, s.longitude, s.timeZone, float(noon)));
    ASSERT_NEAR(SunAzimuth(s.day, s.latitude, T), 180, 0.05);
    const double Z = float(SunZenith(s.day, s.latitude, T));
    // a slender 1 m × 1 m tower, 40 m high, 20 m south of the location
    Raster r = Square({Block(-0.5, -20.5, 0.5, -19.5, 40)}, s, noon);
    const Point foot = Pixel(0, -19.5, s.scale);
    int reach = 0;  // how far north the dark shadow reaches
    for (int y = foot.y; y >= 0; --y)
        if (r.pixel(foot.x, y) == kDark) reach = foot.y - y;
    const double expected = 40 * std::tan(Z * kPi / 180) / s.scale;
    EXPECT_NEAR(reach, expected, 2.5);
    // nothing south of the tower, east or west of it
    const Point south = Pixel(0, -25, s.scale);
    EXPECT_EQ(r.pixel(south.x, south.y), kWhite);
    const Point beside = Pixel(5, -10, s.scale);
    EXPECT_EQ(r.pixel(beside.x, beside.y), kWhite);
    // the roof on top in light grey, outlined
    const Point roof = Pixel(0, -20, s.scale);
    EXPECT_EQ(r.pixel(roof.x, roof.y), kLight);
}

TEST(Shadows, MorningShadowsPointWestAndEveningShadowsEast) {
    ShadowSettings s = Freiburg(1);
    const Obstacle tower = Block(-3, -3, 3, 3, 30);
    for (double T : {8.0, 16.0}) {
        Raster r = Square({tower}, s, LocalTime(s, T));
        const Point west = Pixel(-15, 0, s.scale), east = Pixel(15, 0, s.scale);
        const bool morning = T < 12;
        EXPECT_EQ(r.pixel(west.x, west.y) == kDark, morning) << T;
        EXPECT_EQ(r.pixel(east.x, east.y) == kDark, !morning) << T;
    }
}

TEST(Shadows, NightIsTheAllGreySquareWithThePlanOnTop) {
    ShadowSettings s = Freiburg(1);
    Raster empty = Square({}, s, 0.5);
    EXPECT_EQ(test::CountColour(empty, kDark), 399 * 399);  // inside its black outline
    EXPECT_EQ(test::CountColour(empty, kBlack), 4 * 400);

    Raster r = Square({Block(10, 10, 30, 20, 15)}, s, 0.5);
    const Point roof = Pixel(20, 15, s.scale);
    EXPECT_EQ(r.pixel(roof.x, roof.y), kLight);
    EXPECT_EQ(r.pixel(100, 300), kDark);
}

TEST(Shadows, MidnightSunCastsShadowsAfterMidnight) {
    // Tromsø, 69.6° N, at midsummer: local sunset after midnight, the sun up at 1:00
    ShadowSettings s;
    s.day = 172;
    s.longitude = 18.9f;
    s.latitude = 69.6f;
    s.timeZone = 2;
    s.scale = 1;
    const float T = float(TrueLocalTime(s.day, s.longitude, s.timeZone, 1.0f));
    ASSERT_LT(SunZenith(s.day, s.latitude, T), 90);
    Raster r = Square({Block(-2, -2, 2, 2, 10)}, s, 1.0);
    EXPECT_LT(test::CountColour(r, kDark), 401 * 401 / 2);  // not night
    EXPECT_GT(test::CountColour(r, kDark), 100);            // a long shadow, to the south
    const Point south = Pixel(0, -30, s.scale);
    EXPECT_EQ(r.pixel(south.x, south.y), kDark);
}

TEST(Shadows, KindsSwitchedOffDrawNothingAtAll) {
    ShadowSettings s = Freiburg(0.5);
    const double t = LocalTime(s, 10.0);
    const std::vector<Obstacle> trees = {
        MakeTree(ObstacleKind::Deciduous, -20, 0, 12, 4, 4, 0.5, 0.3f, 0.95f),
        MakeTree(ObstacleKind::Conifer, 20, 0, 15, 3, 2, 0.4, 0.3f, 0.95f)};
    Raster both = Square(trees, s, t);
    EXPECT_GT(test::CountColour(both, kDeciduousGreen), 100);
    EXPECT_GT(test::CountColour(both, kConiferTeal), 50);
    EXPECT_GT(test::CountColour(both, kLight), 200);  // crown shadows
    EXPECT_GT(test::CountColour(both, kDark), 10);    // trunk shadows
    const Point trunk = Pixel(-20, 0, s.scale);
    EXPECT_EQ(both.pixel(trunk.x, trunk.y), kBlack);

    s.deciduous = false;
    s.conifers = false;
    Picture none = DrawShadowPicture(trees, s, t, nullptr);
    for (const PictureOp& op : none.operations()) {
        EXPECT_FALSE(std::holds_alternative<draw::Polygon>(op));
        EXPECT_FALSE(std::holds_alternative<draw::Ellipse>(op));
        EXPECT_FALSE(std::holds_alternative<draw::Pixel>(op));
    }
    EXPECT_EQ(test::CountColour(Square(trees, s, t), kWhite), 401 * 401);

    // only the deciduous tree off: the conifer alone
    s.conifers = true;
    Raster conifer = Square(trees, s, t);
    EXPECT_EQ(test::CountColour(conifer, kDeciduousGreen), 0);
    EXPECT_EQ(test::CountColour(conifer, kConiferTeal), test::CountColour(both, kConiferTeal));

    s = Freiburg(0.5);
    s.buildings = false;
    EXPECT_EQ(test::CountColour(Square({Block(5, 5, 20, 20, 10)}, s, t), kWhite), 401 * 401);
}

TEST(Shadows, CrownShadowIsTheEllipsoidSeenAlongTheSun) {
    // a crown from 16 m to 24 m high (semi-axis b = 4 m), radius r = 4 m, sun at noon: its
    // shadow is an ellipse 2r wide across the sun and 2 sqrt(r² + b² tan² Z) long along it,
    // centred on the shadow of the crown's centre at 20 m
    ShadowSettings s = Freiburg(0.25);
    const double noon = LocalTime(s, 12.0);
    const float T = float(TrueLocalTime(s.day, s.longitude, s.timeZone, float(noon)));
    const double tanZ = std::tan(float(SunZenith(s.day, s.latitude, T)) * kPi / 180);
    Raster r =
        Square({MakeTree(ObstacleKind::Deciduous, 0, -15, 24, 4, 16, 0, 0.3f, 0.95f)}, s, noon);
    Rect extent{1 << 30, 1 << 30, -1, -1};
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            if (r.pixel(x, y) == kLight) {
                extent.left = std::min(extent.left, x), extent.top = std::min(extent.top, y);
                extent.right = std::max(extent.right, x + 1);
                extent.bottom = std::max(extent.bottom, y + 1);
            }
    EXPECT_NEAR(extent.width(), 8 / s.scale, 2);
    EXPECT_NEAR(extent.height(), 2 * std::hypot(4.0, 4 * tanZ) / s.scale, 2);
    const Point centre = Pixel(0, -15 + 20 * tanZ, s.scale);
    EXPECT_NEAR((extent.left + extent.right) / 2.0, centre.x, 1.5);
    EXPECT_NEAR((extent.top + extent.bottom) / 2.0, centre.y, 1.5);
}

TEST(Shadows, ScaleCutsOffWhatLiesBeyondTheSquare) {
    const Obstacle far = Block(120, -5, 130, 5, 10);  // 120 m east
    ShadowSettings s = Freiburg(0.5);                 // square spans ±100.25 m
    const double t = LocalTime(s, 12.0);
    EXPECT_EQ(test::CountColour(Square({far}, s, t), kLight), 0);
    s.scale = 1;  // ±200.5 m
    EXPECT_GT(test::CountColour(Square({far}, s, t), kLight), 50);

    // a shadow reaching far beyond the square is cut at its edge, in the picture itself, and
    // stays inside the square on the overlay
    Picture overlay;
    s.scale = 0.25;
    const std::vector<Obstacle> tall = {
        Block(-2, -2, 2, 2, 200),
        MakeTree(ObstacleKind::Deciduous, 50, 0, 20, 6, 5, 1, 0.3f, 0.95f)};
    const Picture cut = DrawShadowPicture(tall, s, LocalTime(s, 6.0), nullptr);
    int polygons = 0;
    for (const PictureOp& op : cut.operations())
        if (const auto* polygon = std::get_if<draw::Polygon>(&op)) {
            ++polygons;
            for (Point q : polygon->points) {
                EXPECT_GE(q.x, 0);
                EXPECT_LE(q.x, kShadowPictureSize);
                EXPECT_GE(q.y, 0);
                EXPECT_LE(q.y, kShadowPictureSize);
            }
        }
    EXPECT_GE(polygons, 6 + 1 + 1);  // the faces, the crown across the edge, the crown shadow
    DrawShadows(overlay, tall, s, LocalTime(s, 6.0), nullptr);
    Raster r = overlay.rasterize();
    Rect drawn = test::NonWhiteExtent(r);
    EXPECT_LE(drawn.right, 401);
    EXPECT_LE(drawn.bottom, 401);
    EXPECT_EQ(drawn.left, 0);  // the morning shadow runs out of the square to the west
}

TEST(Shadows, ProgressIsResetAndSteppedPerObstacle) {
    test::FakeHost host;
    host.progress = 77;
    ShadowSettings s = Freiburg();
    std::vector<Obstacle> obstacles(3, Block(1, 1, 2, 2, 3));
    DrawShadowPicture(obstacles, s, LocalTime(s, 12), &host);
    EXPECT_EQ(host.progress, 3);
    EXPECT_EQ(host.progressSteps, 3);
}
