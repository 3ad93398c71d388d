#include "solar/SunPosition.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace umbrix;

TEST(SunPosition, DeclinationAndEquationOfTime) {
    EXPECT_NEAR(EquationOfTime(81), -7.53 / 60.0, 1e-12);
    EXPECT_NEAR(SunDeclination(172), 23.4, 0.1);
    EXPECT_NEAR(SunDeclination(355), -23.4, 0.1);
}

TEST(SunPosition, SunriseAndSunsetAtTheEquinox) {
    EXPECT_NEAR(SunriseTrue(81, true, 0.0f), 5.94, 0.01);
    EXPECT_NEAR(SunsetTrue(81, true, 0.0f), 18.06, 0.01);
    // without refraction only the small declination on day 81 moves them from 6 and 18
    EXPECT_NEAR(SunriseTrue(81, false, 0.0f), 6.0, 1e-9);
    EXPECT_NEAR(SunsetTrue(81, false, 0.0f), 18.0, 1e-9);
}

TEST(SunPosition, NoSunriseInPolarSummer) {
    int midJune = 167;
    EXPECT_EQ(SunriseTrue(midJune, true, 80.0f), 0.0);
    EXPECT_EQ(SunsetTrue(midJune, true, 80.0f), 0.0);
    EXPECT_GT(SunriseArgument(midJune, true, 80.0f), 1.0);
    EXPECT_LT(SunriseArgument(355, true, 80.0f), -1.0);
}

TEST(SunPosition, TrueLocalTime) {
    EXPECT_NEAR(TrueLocalTime(100, 15.0f, 1.0f, 12.0f), 12.0 + EquationOfTime(100), 1e-6);
    // 0:30 in UTC+2 at 0° is 22:30 of the previous day, plus the equation of time
    EXPECT_NEAR(TrueLocalTime(100, 0.0f, 2.0f, 0.5f), 22.5 + EquationOfTime(100), 1e-6);
    double local =
        LocalFromTrueTime(100, 7.85f, 1.0f, float(TrueLocalTime(100, 7.85f, 1.0f, 9.25f)));
    EXPECT_NEAR(local, 9.25, 1e-5);
}

TEST(SunPosition, AzimuthQuadrants) {
    EXPECT_DOUBLE_EQ(AzimuthFromVector(1, 0, true), 90.0);
    EXPECT_DOUBLE_EQ(AzimuthFromVector(0, -1, true), 180.0);
    EXPECT_DOUBLE_EQ(AzimuthFromVector(-1, 0, true), 270.0);
    EXPECT_DOUBLE_EQ(AzimuthFromVector(0, 1, true), 0.0);
    EXPECT_NEAR(AzimuthFromVector(1, 1, true), 45.0, 1e-12);
    EXPECT_NEAR(SunAzimuth(172, 48.0f, 12.0f), 180.0, 1e-9);
    EXPECT_NEAR(SunAzimuth(81, 0.0f, 6.5f), 90.0, 1.0);
}

TEST(SunPosition, ZenithAtNoon) {
    // true noon: zenith angle = latitude - declination
    EXPECT_NEAR(SunZenith(172, 48.0f, 12.0f), 48.0 - SunDeclination(172), 1e-9);
    EXPECT_NEAR(SunZenith(81, 0.0f, 6.0f), 90.0, 0.05);
}

TEST(SunPosition, SunriseAndSunsetAreLocalTimesAndEqualWithoutASunrise) {
    // Freiburg at midsummer: about 4:27 and 20:33 CET with refraction
    constexpr float kLon = 7.85f, kLat = 48.0f, kTz = 1.0f;
    SunriseSunset s = LocalSunriseSunset(172, kLon, kLat, kTz, true);
    EXPECT_NEAR(s.sunrise, 4.45, 0.1);
    EXPECT_NEAR(s.sunset, 20.55, 0.1);
    SunriseSunset plain = LocalSunriseSunset(172, kLon, kLat, kTz, false);
    EXPECT_GT(plain.sunrise, s.sunrise);  // refraction brings sunrise forward
    // midnight sun: no sunrise, both the same
    SunriseSunset polar = LocalSunriseSunset(172, 18.9f, 69.6f, 2, true);
    EXPECT_EQ(polar.sunrise, polar.sunset);
}
