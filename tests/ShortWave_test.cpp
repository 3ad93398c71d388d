// The clear sky, the clouds and the split of a given G, against worked values.
#include "solar/ShortWave.h"

#include <gtest/gtest.h>

#include "solar/Humidity.h"

using namespace umbrix;

TEST(ClearSky, FormulasAgainstWorkedValues) {
    EXPECT_NEAR(RelHumidityFromVapour(20.0, 12.5), 53.5, 0.05);
    // secant up to 80°, then the horizon branch (about 3 % lower at 80°, about 38 at 90°)
    const double airMass[][3] = {{60.0, 2.0, 1.0 / 11.2},
                                 {79.999, 5.75820, 1.0 / (0.9 * 5.75820 + 9.4)},
                                 {80.0, 5.58604, 1.0 / (0.9 * 5.58604 + 9.4)},
                                 {85.0, 10.30579, 0.0548},
                                 {90.0, 37.91961, 0.0408}};
    for (auto& r : airMass) {
        EXPECT_NEAR(RelativeAirMass(r[0]), r[1], 1e-5) << r[0];
        EXPECT_NEAR(MolecularThickness(r[0]), r[2], 1e-6) << r[0];
    }
    // Z = 60°, T = 3, sea level, day 172: I = I0 exp(-0.5357), G0 = 0.84 I0 0.5 exp(-0.162)
    EXPECT_NEAR(ExtraterrestrialIrradiance(172), 1322.49471, 1e-4);
    EXPECT_NEAR(ClearSkyDirectNormal(172, 0, 60.0, 3.0), 773.99149, 1e-3);
    EXPECT_NEAR(ClearSkyGlobal(172, 0, 60.0, 3.0), 472.37568, 1e-3);
    for (double z : {90.0, 120.0, 180.0})  // no air-mass formula needed below the horizon
        EXPECT_EQ(ClearSkyDirectNormal(172, 0, z, 3.0) + ClearSkyGlobal(172, 0, z, 3.0), 0.0);
}

TEST(ClearSky, AutomaticLinkeTurbidity) {
    const double rows[][5] = {
        // day, latitude, RH, fog limit, T
        {172, 48, 95, 90, 39.84},    {172, 48, 120, 90, 39.84},  // k floored at 1
        {172, 48, 90, 90, 4.953139},                             // k ≈ 9.48 at the limit itself
        {15, 48, 89.9, 90, 1.5},     {197, 48, 50, 90, 4.299948},
        {15, -48, 50, 90, 4.3},      {197, -48, 50, 90, 1.500052},
    };
    for (auto& r : rows)
        EXPECT_NEAR(AutoLinkeTurbidity(int(r[0]), r[1], r[2], r[3]), r[4], 1e-5) << r[0] << r[2];
}

TEST(ShortWave, DiffuseSplitAndRatio) {
    // I = I0/2: circumsolar D0/2, which a hidden sun replaces by 0.2 G0
    EXPECT_NEAR(SkyDiffuse(false, 1.0, 800.0, 200.0, 683.5), 200.0, 1e-9);
    EXPECT_NEAR(SkyDiffuse(true, 0.5, 800.0, 200.0, 683.5), 210.0, 1e-9);
    EXPECT_NEAR(CloudyDiffuse(false, 683.5, 200.0, 800.0, 4.0, 1.0), 100.0 + 112.0, 1e-9);
    const double ratios[][4] = {
        // preset, G, G0, ratio
        {-1, 500, 800, 0.375}, {-1, 500, 550, 0.2}, {-1, 100, 0, 0.2},
        {0.5, 500, 800, 0.5},  {0, 500, 800, 0},
    };
    for (auto& r : ratios) EXPECT_DOUBLE_EQ(DiffuseGlobalRatio(r[0], r[1], r[2]), r[3]) << r[2];
}
