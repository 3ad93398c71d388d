#pragma once
// Short-wave and long-wave radiation at the site of a standing person, ground surface
// temperature and mean radiant temperature.
//
// Sources of the model:
// - Radiation scheme, surface energy balance and Tmrt of a standing person: VDI 3789 Blatt 2
//   (1994), Umweltmeteorologie — Wechselwirkungen zwischen Atmosphäre und Oberflächen —
//   Berechnung der kurz- und der langwelligen Strahlung. Beuth, Berlin.
// - Relative optical air mass near the horizon: Kasten F., Young A.T. (1989), Revised optical
//   air mass tables and approximation formula. Applied Optics 28(22), 4735–4738.
// - Rayleigh optical thickness in the pyrheliometric formula: Kasten F. (1980), A simple
//   parameterization of the pyrheliometric formula for determining the Linke turbidity factor.
//   Meteorologische Rundschau 33, 124–127.
// - Atmospheric counter-radiation with the vapour-pressure term: Ångström A. (1918), A study
//   of the radiation of the atmosphere. Smithsonian Miscellaneous Collections 65(3).
// - Projected area factor of a standing person: fitted to Fanger P.O. (1972), Thermal Comfort.
//   McGraw-Hill, New York.
//
// Units: temperatures °C, vapour pressure hPa, relative humidity %, wind speed m/s, cloud cover
// octas, fluxes W/m², angles degrees, altitude whole metres. The pure functions compute and
// return double; ComputeRadiation stores every flux, temperature and the turbidity as a 4-byte
// float at the point where the model stores it.
#include <cmath>
#include <functional>

namespace umbrix {

// Stefan–Boltzmann constant, W m-2 K-4.
inline constexpr double kStefanBoltzmann = 5.67e-8;
// 0 °C in kelvin, used by the radiation laws of this file.
inline constexpr double kZeroCelsius = 273.15;
// Solar constant, W/m².
inline constexpr double kSolarConstant = 1367.0;
// Emissivity of the ground and of the surroundings.
inline constexpr double kSurfaceEmissivity = 0.95;
// Emissivity of the person (0.97) times the Stefan–Boltzmann constant, as the model writes it.
inline constexpr double kPersonEmissivitySigma = 5.4999e-8;

// ---- humidity, Magnus form over water ----

// Saturation vapour pressure Es, hPa, at air temperature ta, °C.
double SaturationVapourPressure(double ta);
// Relative humidity, %, from air temperature (°C) and vapour pressure (hPa).
double RelHumidityFromVapour(double ta, double vp);
// Vapour pressure, hPa, from air temperature (°C) and relative humidity (%).
double VapourFromRelHumidity(double ta, double rh);

// ---- clear sky ----

// Extraterrestrial irradiance I0 for the day of year, W/m².
double ExtraterrestrialIrradiance(int day);
// Relative optical air mass m for the zenith angle z. Meant for z < 90; beyond it the horizon
// branch is simply continued (callers give no direct radiation there).
double RelativeAirMass(double zenith);
// Rayleigh optical thickness δR of the pyrheliometric formula.
double MolecularThickness(double zenith);
// Ratio of the air pressure at the altitude (m) to the sea-level pressure.
double PressureRatio(int altitude);
// Automatic Linke turbidity. At or above the fog limit (RH %) the turbidity rises with the
// humidity; below it a seasonal course, high in summer, mirrored in the southern hemisphere.
double AutoLinkeTurbidity(int day, double latitude, double rh, double fogLimit);
// Clear-sky direct irradiance at normal incidence I, W/m²; 0 with the sun below the horizon.
double ClearSkyDirectNormal(int day, int altitude, double zenith, double turbidity);
// Clear-sky global radiation on the horizontal G0, W/m²; 0 with the sun below the horizon.
double ClearSkyGlobal(int day, int altitude, double zenith, double turbidity);

// ---- clouds and horizon ----

// Direct radiation on the horizontal under n octas of cloud, from the clear-sky value s0.
double CloudyDirect(double n, double s0);
// Clear-sky diffuse radiation reaching the site: the isotropic part weighted by the sky view
// factor plus the circumsolar part, which a hidden sun replaces by 0.2 · G0.
double SkyDiffuse(bool sunHidden, double svf, double g0, double d0, double i);
// Diffuse radiation reaching the site under n octas of cloud.
double CloudyDiffuse(bool sunHidden, double i, double d0, double g0, double n, double svf);
// Ratio of diffuse and global radiation used to split a given global radiation g: the preset
// ratio when it is not negative, otherwise estimated from the clearness g / g0.
double DiffuseGlobalRatio(double presetRatio, double g, double g0);

// ---- long wave, surface temperature, Tmrt ----

// Long-wave counter-radiation of the atmosphere A, W/m², from Ta (°C), VP (hPa), N (octas).
double AtmosphericCounterRadiation(double ta, double vp, double n);
// Long-wave radiation leaving a surface of emissivity eps and temperature t (°C) under the
// incoming long-wave radiation l: reflected plus emitted, W/m².
double LongwaveEmission(double eps, double t, double l);
// Ground heat flux B, W/m², for the net radiation qStar of the ground surface.
double GroundHeatFlux(double qStar);
// One step of the ground surface energy balance: the new surface temperature, °C.
double SurfaceTemperatureStep(double bowen, double v, double ta, double qStar);
// Direct irradiance on a plane normal to the beam, W/m², from its value s on the horizontal:
// s / cos Z, 0 with the sun at or below the horizon, and never above `limit` (the
// extraterrestrial irradiance of the day), which keeps a measured G split near sunrise, where
// cos Z is tiny, from blowing up.
double DirectNormalFromHorizontal(double s, double zenith, double limit);
// Mean radiant temperature of a standing person, °C. l1, l2, l3 are the long-wave halves
// (surroundings, ground, sky), d the diffuse radiation and i the direct irradiance on a plane
// normal to the beam, to which the projection factor belongs; albedoHuman the short-wave albedo
// of the person.
double MeanRadiantTemperature(double zenith, double l1, double l2, double l3, double d, double i,
                              double albedoHuman);

// ---- one calculation ----

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

// Whether the sun at (zenith, azimuth) is hidden by the horizon. Only asked for a sun above
// the horizon with a finite position.
using SunHiddenTest = std::function<bool(double zenith, double azimuth)>;

// The short-wave fluxes, the long-wave fluxes, the ground surface temperature (12 passes of
// the energy balance from Ts = Ta) and Tmrt. The short-wave split never gives a negative flux:
// 0 ≤ D ≤ G and S = G − D. An empty isSunHidden means a free horizon. A result that comes out
// non-finite (an input of infinity, or one so large that a flux overflows) is NaN.
RadiationResults ComputeRadiation(const RadiationInputs& in, const SunHiddenTest& isSunHidden);

}  // namespace umbrix
