#pragma once
// The radiation step of one row: the short-wave fluxes through the horizon, the long-wave
// fluxes, the ground surface temperature and the mean radiant temperature of a standing person
// (VDI 3789 Blatt 2, 1994), stored as 4-byte floats where the model stores them.
//
// Units: temperatures °C, vapour pressure hPa, relative humidity %, wind speed m/s, cloud cover
// octas, fluxes W/m², angles degrees, altitude whole metres.
#include <cmath>
#include <functional>

#include "solar/Humidity.h"
#include "solar/LongWave.h"
#include "solar/MeanRadiantTemperature.h"
#include "solar/ShortWave.h"

namespace umbrix {

struct RadiationInputs {
    int day = 1;                      // day of year
    float latitude = 0;               // degrees north
    int altitude = 0;                 // m
    float trueTime = 12;              // true local time, hours
    float ta = 20;                    // air temperature, °C
    float vp = 12.5f;                 // vapour pressure, hPa
    float rh = 53.5f;                 // relative humidity, %
    float v = 0.1f;                   // wind speed, m/s
    float n = 0;                      // cloud cover, octas
    float dgRatio = -1;               // ratio of diffuse and global radiation; negative: automatic
    float g = NAN;                    // global radiation, W/m²; NaN: computed
    float ts = NAN;                   // ground surface temperature, °C; NaN: computed
    float tmrt = NAN;                 // mean radiant temperature, °C; NaN: computed
    float svf = 1;                    // sky view factor, 0..1
    float linkeTurbidity = -1;        // negative: automatic
    float fogLimit = 90;              // % RH
    bool reduceGByObstacles = false;  // a given G is reduced when the sun is hidden
    float bowen = 1;                  // Bowen ratio
    float albedoSurroundings = 0.2f;
    float albedoHuman = 0.3f;
    // Earlier versions weighted the direct radiation on the horizontal, not the beam's normal
    // irradiance, with the projection factor; kept to reproduce their tables.
    bool tmrtFromHorizontalDirect = false;
};

struct RadiationResults {
    float zenith = 0, azimuth = 0;  // sun position, degrees
    bool sunHidden = true;
    float turbidity = 0;           // Linke turbidity used
    float g0 = 0, s0 = 0, d0 = 0;  // clear sky: global, direct on the horizontal, diffuse
    float s = 0, d = 0, g = 0;     // actual direct on the horizontal, diffuse, global
    float a = 0;                   // long-wave counter-radiation of the atmosphere
    float e = 0;                   // long-wave radiation of the ground, emitted plus reflected
    float q = 0;                   // long-wave radiation of the surroundings
    float ts = 0, tmrt = 0;        // °C; the given values when they were given
};

// The sun as the radiation step sees it, degrees (4-byte floats, as stored), and whether it is
// up at a position the horizon can be asked about.
struct RadiationSun {
    float zenith = 0, azimuth = 0;
    bool up() const { return zenith < 90.0f && std::isfinite(azimuth); }
};
RadiationSun RadiationSunAt(int day, float latitude, float trueTime);

// Whether the sun at (zenith, azimuth) is hidden by the horizon. Only asked for a sun above
// the horizon with a finite position.
using SunHiddenTest = std::function<bool(double zenith, double azimuth)>;

// The short-wave fluxes, the long-wave fluxes, the ground surface temperature (12 passes of
// the energy balance from Ts = Ta) and Tmrt. The short-wave split never gives a negative flux:
// 0 ≤ D ≤ G and S = G − D, and the S of a given G never exceeds the clear sky's S0. An empty
// isSunHidden means a free horizon. A result that comes out non-finite (an input of infinity, or
// one so large that a flux overflows) is NaN.
RadiationResults ComputeRadiation(const RadiationInputs& in, const SunHiddenTest& isSunHidden);

}  // namespace umbrix
