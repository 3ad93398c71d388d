// The actual sunshine duration over a horizon image.
#include "horizon/Sunshine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "horizon/Fisheye.h"
#include "solar/SunPosition.h"

using namespace umbrix;

namespace {
// Freiburg im Breisgau, Central European Time
constexpr float kLon = 7.85f, kLat = 48.0f, kTz = 1.0f;
constexpr double kPi = std::numbers::pi;
}  // namespace

TEST(Sunshine, OnAWhiteHorizonCountsEveryMinuteWithin242Pixels) {
    SunshineCounter counter;
    Raster white(481, 481);
    // polar day and night too, and the dusk minutes just beyond the limit
    for (float lat : {-75.0f, -30.0f, 0.0f, kLat, 66.5f, 80.0f})
        for (int day : {80, 172, 355}) {
            const int sd = counter.count(day, kLon, lat, kTz, white);
            // the same minutes counted afresh from the sun's position, and those with the sun up
            int within = 0, up = 0;
            for (int m = 1; m <= 1440; ++m) {
                float T = float(TrueLocalTime(day, kLon, kTz, float(m / 60.0)));
                double Z = float(SunZenith(day, lat, T)), A = float(SunAzimuth(day, lat, T));
                double r = Z * kPi / 180 * 2 / kPi * 240;
                int x = int(std::nearbyint(std::sin(A * kPi / 180) * r));
                int y = int(std::nearbyint(-std::cos(A * kPi / 180) * r));
                within += x * x + y * y <= 242 * 242;
                up += Z < 90;
            }
            EXPECT_EQ(sd, within) << day << " " << lat;
            // the same count without pixels, afresh and after the pixels of the day
            EXPECT_EQ(SunshineCounter().countOpenSky(day, kLon, lat, kTz), sd) << day << " " << lat;
            EXPECT_EQ(counter.countOpenSky(day, kLon, lat, kTz), sd) << day << " " << lat;
            // the minutes just before sunrise and after sunset, down to about Z = 90.75°, count
            EXPECT_GE(sd, up) << day << " " << lat;
            if (lat == kLat) EXPECT_GT(sd, up) << day;
            if (std::abs(lat) < 60) EXPECT_LE(sd, up + 2 * 12) << day;
        }
}

TEST(Sunshine, FollowsTheHorizonAndCountsPointsBeyondTheImageAsSky) {
    SunshineCounter counter;
    const int day = 172;
    Raster white(481, 481);
    const int all = counter.count(day, kLon, kLat, kTz, white);

    EXPECT_TRUE(SkyWithinSunLimit(white));
    // only an obstruction within the 242 pixels closes the open sky
    Raster rim = white;
    rim.setPixel(240 + 242, 240, kBlack);
    rim.setPixel(240 - 171, 240 - 172, kBlack);  // 242.5 pixels out
    EXPECT_TRUE(SkyWithinSunLimit(rim));
    rim.setPixel(240 - 171, 240 + 171, Rgb(254, 255, 255));  // 241.8
    EXPECT_FALSE(SkyWithinSunLimit(rim));

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
