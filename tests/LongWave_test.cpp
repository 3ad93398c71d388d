// Counter-radiation, the surface energy balance and Tmrt, against worked values.
#include "solar/LongWave.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/PhysicalConstants.h"
#include "solar/MeanRadiantTemperature.h"

using namespace umbrix;

TEST(LongWave, CounterRadiationSurfaceStepAndTmrt) {
    EXPECT_NEAR(AtmosphericCounterRadiation(20.0, 12.5, 0.0), 336.46879, 1e-4);
    EXPECT_NEAR(AtmosphericCounterRadiation(20.0, 12.5, 4.0), 348.95956, 1e-4);
    const double steps[][5] = {
        // Bowen, v, Ta, Q*, Ts
        {1, 0.1, 20, 100, 26.112285},
        {1, 0.1, 20, -100, 14.868699},
        {0, 0.1, 20, 800, 20},
        {-5, 0.1, 20, 100, -90.021129},  // limited to -0.9
    };
    for (auto& r : steps)
        EXPECT_NEAR(SurfaceTemperatureStep(r[0], r[1], r[2], r[3]), r[4], 1e-5) << r[0] << r[3];
    const double half = kStefanBoltzmann * std::pow(293.15, 4) / 2;
    EXPECT_NEAR(MeanRadiantTemperature(45.0, half, half, 0.0, 0.0, 0.0, 0.3), 20.0, 1e-9);
    // the projection factor of a standing person is larger for a low sun
    EXPECT_NEAR(MeanRadiantTemperature(0.0, 0, 0, 0, 0, 500.0, 0.3), -123.663018, 1e-5);
    EXPECT_NEAR(MeanRadiantTemperature(60.0, 0, 0, 0, 0, 500.0, 0.3), -69.868817, 1e-5);
}
