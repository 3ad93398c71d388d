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

TEST(SunPath, SunriseAndSunsetAreLocalTimesAndEqualWithoutASunrise) {
    // Freiburg at midsummer: about 4:27 and 20:33 CET with refraction
    SunriseSunset s = LocalSunriseSunset(172, kLon, kLat, kTz, true);
    EXPECT_NEAR(s.sunrise, 4.45, 0.1);
    EXPECT_NEAR(s.sunset, 20.55, 0.1);
    SunriseSunset plain = LocalSunriseSunset(172, kLon, kLat, kTz, false);
    EXPECT_GT(plain.sunrise, s.sunrise);  // refraction brings sunrise forward
    // midnight sun: no sunrise, both the same
    SunriseSunset polar = LocalSunriseSunset(172, 18.9f, 69.6f, 2, true);
    EXPECT_EQ(polar.sunrise, polar.sunset);
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

TEST(SunPath, SunshineOnAWhiteHorizonCountsEveryMinuteWithin242Pixels) {
    SunshineCounter counter;
    Raster white(481, 481);
    for (int day : {80, 172, 355}) {
        const int sd = counter.count(day, kLon, kLat, kTz, white);
        // the same minutes counted afresh from the sun's position, and those with the sun up
        int within = 0, up = 0;
        for (int m = 1; m <= 1440; ++m) {
            float T = float(TrueLocalTime(day, kLon, kTz, float(m / 60.0)));
            double Z = float(SunZenith(day, kLat, T)), A = float(SunAzimuth(day, kLat, T));
            double r = Z * kPi / 180 * 2 / kPi * 240;
            int x = int(std::nearbyint(std::sin(A * kPi / 180) * r));
            int y = int(std::nearbyint(-std::cos(A * kPi / 180) * r));
            within += x * x + y * y <= 242 * 242;
            up += Z < 90;
        }
        EXPECT_EQ(sd, within) << day;
        // the minutes just before sunrise and after sunset, down to about Z = 90.75°, count
        EXPECT_GT(sd, up) << day;
        EXPECT_LE(sd, up + 2 * 12) << day;
    }
}

TEST(SunPath, SunshineFollowsTheHorizonAndCountsPointsBeyondTheImageAsSky) {
    SunshineCounter counter;
    const int day = 172;
    Raster white(481, 481);
    const int all = counter.count(day, kLon, kLat, kTz, white);

    // the southern half obstructed: only the morning and evening in the north stay
    Raster south = white;
    for (int y = 241; y < 481; ++y)
        for (int x = 0; x < 481; ++x) south.setPixel(x, y, Rgb(128, 128, 128));
    const int northOnly = counter.count(day, kLon, kLat, kTz, south);
    EXPECT_LT(northOnly, all / 2);
    EXPECT_GT(northOnly, 60);

    // one pixel obstructed: exactly the minutes whose sun point falls on it are lost
    const auto& pixels = counter.sunPixels(day, kLon, kLat, kTz);
    ASSERT_EQ(int(pixels.size()), all);
    Point noon = pixels[pixels.size() / 2];
    int onNoon = 0;
    for (Point p : pixels) onNoon += p == noon;
    Raster dot = white;
    dot.setPixel(noon.x, noon.y, Rgb(254, 255, 255));  // not exactly white: obstructed
    EXPECT_EQ(counter.count(day, kLon, kLat, kTz, dot), all - onNoon);

    // all obstructed: what remains are the points in the 242-pixel ring outside the image,
    // here where the sun rises and sets due east and west (equator, equinox)
    Raster grey(481, 481, Rgb(128, 128, 128));
    int outside = 0;
    for (Point p : counter.sunPixels(81, 0, 0, 0))
        outside += p.x < 0 || p.y < 0 || p.x > 480 || p.y > 480;
    EXPECT_GT(outside, 0);
    EXPECT_EQ(counter.count(81, 0, 0, 0, grey), outside);

    // another day or place: the sun points are computed afresh
    EXPECT_NE(counter.count(355, kLon, kLat, kTz, white), all);
    EXPECT_NE(counter.count(day, kLon, 60.0f, kTz, white), all);
    EXPECT_EQ(counter.count(day, kLon, kLat, kTz, white), all);
}
