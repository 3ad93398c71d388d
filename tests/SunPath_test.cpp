#include "diagrams/SunPath.h"

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

template <class Op>
std::vector<Op> OpsOf(const Picture& p) {
    std::vector<Op> out;
    for (const PictureOp& op : p.operations())
        if (const Op* o = std::get_if<Op>(&op)) out.push_back(*o);
    return out;
}

Point Centre(const Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

double Distance(Point a, Point b) {
    return std::hypot(double(a.x - b.x), double(a.y - b.y));
}

// Freiburg im Breisgau, Central European Time
constexpr float kLon = 7.85f, kLat = 48.0f, kTz = 1.0f;

}  // namespace

TEST(SunPath, PolarPointPutsNorthUpEastRightAndTheHorizonOnTheCircle) {
    struct Case {
        double Z, A;
        Point expected;
    } cases[] = {
        {0, 123, {240, 240}},  {90, 0, {240, 0}},     {90, 90, {480, 240}},
        {90, 180, {240, 480}}, {90, 270, {0, 240}},   {45, 0, {240, 120}},
        {45, 90, {360, 240}},  {30, 225, {183, 297}}, {100, 0, {240, -27}},  // below the horizon
    };
    for (const Case& c : cases) {
        Point p = PolarPoint(c.Z, c.A, {240, 240}, 240);
        EXPECT_EQ(p, c.expected) << "Z " << c.Z << " A " << c.A;
    }
    // the path picture's scale is ten times the fisheye scale
    EXPECT_EQ(PolarPoint(45, 90, {2400, 2400}, 2400), (Point{3600, 2400}));
}

TEST(SunPath, PolarGridHasItsCirclesLinesAndLettersWhereTheFisheyeImageIs) {
    Picture grid;
    DrawDiagramGrid(grid, false, "caption");
    EXPECT_EQ(grid.width(), kPolarGridWidth);
    EXPECT_EQ(grid.height(), kPolarGridHeight);
    auto circles = OpsOf<draw::Ellipse>(grid);
    ASSERT_EQ(circles.size(), 9u);
    EXPECT_EQ(circles.front().box, (Rect{40, 40, 521, 521}));  // the horizon, 240 around (280, 280)
    EXPECT_EQ(circles.back().box, (Rect{253, 253, 308, 308}));  // 10° zenith angle
    std::vector<std::string> texts;
    for (const auto& t : OpsOf<draw::Text>(grid)) texts.push_back(t.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"80", "70", "60", "50", "40", "30", "20", "10", "N",
                                               "W", "S", "E", "caption"}));
    Raster r = grid.rasterize();
    // the cardinal lines reach the centre, the others stop short of it
    EXPECT_EQ(r.pixel(280, 200), kBlack);
    EXPECT_EQ(r.pixel(360, 280), kBlack);
    EXPECT_NE(
        r.pixel(280 + int(std::sin(20 * kPi / 180) * 40), 280 + int(std::cos(20 * kPi / 180) * 40)),
        kBlack);
}

TEST(SunPath, ShadowFrameHasTheSquareGridAndTheLocation) {
    Picture frame;
    DrawDiagramGrid(frame, true, "caption");
    EXPECT_EQ(frame.width(), kShadowFrameWidth);
    EXPECT_EQ(frame.height(), kShadowFrameHeight);
    Raster r = frame.rasterize();
    EXPECT_EQ(r.pixel(40, 100), kBlack);              // the square's left edge
    EXPECT_EQ(r.pixel(440, 100), kBlack);             // and its right edge (441 excluded)
    EXPECT_EQ(r.pixel(100, 65), Rgb(192, 192, 192));  // fine line at 40 + 25
    EXPECT_EQ(r.pixel(100, 90), kBlack);              // coarse line at 40 + 50
    EXPECT_EQ(r.pixel(100, 240), kBlack);             // 401 · 4 / 8 = 200.5 rounds to even: 240
    EXPECT_EQ(r.pixel(240, 240), Rgb(255, 0, 0));
    EXPECT_EQ(r.pixel(100, 100), kWhite);
}

TEST(SunPath, DateLabelSitsAtSunriseUpToDay181AndAtSunsetAfter) {
    for (int day : {181, 182}) {
        Picture path(kPathSize, kPathSize);
        DrawSunPath(path, day, 2026, true, kLon, kLat, kTz, nullptr);
        auto texts = OpsOf<draw::Text>(path);
        ASSERT_FALSE(texts.empty());
        const draw::Text& label = texts.front();
        EXPECT_EQ(label.text, day == 181 ? "30.6." : "1.7.");
        // the point of the path the label belongs to
        auto endOfPath = [day](bool rise) {
            const float T =
                float(rise ? SunriseTrue(day, true, kLat) : SunsetTrue(day, true, kLat));
            return PolarPoint(SunZenith(day, kLat, T), SunAzimuth(day, kLat, T), {2400, 2400},
                              2400);
        };
        const Point rise = endOfPath(true), set = endOfPath(false);
        // in summer the sun rises in the north-east (right) and sets in the north-west (left)
        EXPECT_GT(rise.x, 2400);
        EXPECT_LT(set.x, 2400);
        const Point near = day == 181 ? rise : set, far = day == 181 ? set : rise;
        EXPECT_LT(Distance(label.topLeft, near), 350) << day;
        EXPECT_GT(Distance(label.topLeft, far), 2000) << day;
    }
}

TEST(SunPath, PathIsDrawnOnlyAboveTheHorizonWithMarksAtLocalFullHours) {
    test::FakeHost host;
    Picture path(kPathSize, kPathSize);
    const int day = 172;
    DrawSunPath(path, day, 2026, true, kLon, kLat, kTz, &host);
    EXPECT_EQ(host.progressSteps, 1440);
    EXPECT_EQ(host.processCalls, 1440);

    // every drawn segment ends above the horizon, and there is one per minute of daylight
    int segments = 0;
    for (const auto& line : OpsOf<draw::LineTo>(path)) {
        EXPECT_LE(Distance(line.to, {2400, 2400}), 2400.5);
        ++segments;
    }
    const double daylight = (SunsetTrue(day, false, kLat) - SunriseTrue(day, false, kLat)) * 60;
    EXPECT_NEAR(segments, daylight, 3);

    // a circle at every full hour of local time with the sun up, each centred on the sun's
    // position at that local time (within the minute's travel)
    auto circles = OpsOf<draw::Ellipse>(path);
    auto texts = OpsOf<draw::Text>(path);
    ASSERT_EQ(texts.size(), circles.size() + 1);  // the date and one number per circle
    for (std::size_t i = 0; i < circles.size(); ++i) {
        EXPECT_EQ(circles[i].box.width(), 60);
        const int hour = std::stoi(texts[i + 1].text);
        const float T = float(TrueLocalTime(day, kLon, kTz, float(hour)));
        Point sun =
            PolarPoint(SunZenith(day, kLat, T), SunAzimuth(day, kLat, T), {2400, 2400}, 2400);
        EXPECT_LT(Distance(Centre(circles[i].box), sun), 12) << hour;
    }
    EXPECT_EQ(texts[1].text, "5");  // the full hours between sunrise and sunset (4:27, 20:33)
    EXPECT_EQ(texts.back().text, "20");

    // without labels: the same circles, no numbers
    Picture quiet(kPathSize, kPathSize);
    DrawSunPath(quiet, day, 2026, false, kLon, kLat, kTz, nullptr);
    EXPECT_EQ(OpsOf<draw::Ellipse>(quiet).size(), circles.size());
    EXPECT_EQ(OpsOf<draw::Text>(quiet).size(), 1u);
}

TEST(SunPath, AddedPathsKeepTheEarlierOnes) {
    Picture path(kPathSize, kPathSize);
    DrawSunPath(path, 172, 2026, true, kLon, kLat, kTz, nullptr);
    const std::size_t first = path.operations().size();
    DrawSunPath(path, 355, 2026, false, kLon, kLat, kTz, nullptr);
    EXPECT_GT(path.operations().size(), first);
    auto texts = OpsOf<draw::Text>(path);
    EXPECT_EQ(texts.front().text, "21.6.");
    EXPECT_EQ(texts.back().text, "21.12.");
}

TEST(SunPath, SunDiscOnlyWhileTheSunIsUp) {
    Picture path(kPathSize, kPathSize);
    DrawSunPath(path, 172, 2026, true, kLon, kLat, kTz, nullptr);
    Picture overlay;
    const double solarNoon = LocalFromTrueTime(172, kLon, kTz, 12.0f);
    DrawSunPosition(overlay, path, 172, kLon, kLat, kTz, solarNoon);
    EXPECT_EQ(overlay.width(), kOverlaySize);
    auto nested = OpsOf<draw::DrawPicture>(overlay);
    ASSERT_EQ(nested.size(), 1u);
    EXPECT_EQ(nested[0].dest, (Rect{0, 0, 482, 482}));
    auto discs = OpsOf<draw::Ellipse>(overlay);
    ASSERT_EQ(discs.size(), 1u);
    EXPECT_EQ(discs[0].box.width(), 6);
    // at solar noon the sun stands due south at Z = 48° - 23.4°: below the centre
    Point c = Centre(discs[0].box);
    EXPECT_EQ(c.x, 240);
    EXPECT_NEAR(c.y, 240 + (48 - 23.44) / 90 * 240, 1.5);
    Raster r = overlay.rasterize();
    EXPECT_EQ(r.pixel(c.x, c.y), kSunOrange);

    for (double night : {0.0, 2.5, 23.0}) {
        DrawSunPosition(overlay, path, 172, kLon, kLat, kTz, night);
        EXPECT_TRUE(OpsOf<draw::Ellipse>(overlay).empty()) << night;
        EXPECT_EQ(OpsOf<draw::DrawPicture>(overlay).size(), 1u);  // replaced, not added
    }
}
