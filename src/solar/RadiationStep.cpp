#include "solar/RadiationStep.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "solar/SunPosition.h"

namespace umbrix {

namespace {
constexpr double kDeg = std::numbers::pi / 180.0;
double cosd(double degrees) {
    return std::cos(degrees * kDeg);
}

// Passes of the surface energy balance; fixed, without a convergence test.
constexpr int kSurfaceTemperaturePasses = 12;
}  // namespace

double SaturationVapourPressure(double ta) {
    return 6.1078 * std::exp(17.1 * ta / (235.0 + ta));
}

double RelHumidityFromVapour(double ta, double vp) {
    return vp / SaturationVapourPressure(ta) * 100.0;
}

double VapourFromRelHumidity(double ta, double rh) {
    return SaturationVapourPressure(ta) * rh / 100.0;
}

double ExtraterrestrialIrradiance(int day) {
    return kSolarConstant * (1.0 + 0.03344 * cosd(0.9856 * day - 2.72));
}

double RelativeAirMass(double zenith) {
    if (zenith < 80.0) return 1.0 / cosd(zenith);
    return 1.0 / (cosd(zenith) + 0.50572 * std::pow(90.0 - zenith + 6.07995, -1.6364));
}

double MolecularThickness(double zenith) {
    if (zenith >= 85.0) return (90.0 - zenith) * 0.0028 + 0.0408;
    return 1.0 / (0.9 * RelativeAirMass(zenith) + 9.4);
}

double PressureRatio(int altitude) {
    return std::exp(-double(altitude) / 8434.5);
}

double AutoLinkeTurbidity(int day, double latitude, double rh, double fogLimit) {
    if (rh >= fogLimit) {
        float k = 1.0f;
        if (rh < 100.0)
            k = static_cast<float>(
                std::max(15.0 * (1.0 - std::exp(-std::pow(100.0 - rh, 4) / 10000.0)), 1.0));
        return 39.0 / k + 0.84;
    }
    double a = 2.0 * std::numbers::pi * (double(day) - 15.0) / 365.0;
    return latitude >= 0 ? 2.9 - 1.4 * std::cos(a) : 2.9 + 1.4 * std::cos(a);
}

double ClearSkyDirectNormal(int day, int altitude, double zenith, double turbidity) {
    if (zenith >= 90.0) return 0.0;
    double m = RelativeAirMass(zenith);
    return ExtraterrestrialIrradiance(day) *
           std::exp(-MolecularThickness(zenith) * turbidity * m * PressureRatio(altitude));
}

double ClearSkyGlobal(int day, int altitude, double zenith, double turbidity) {
    if (zenith >= 90.0) return 0.0;
    double cz = cosd(zenith);
    return 0.84 * ExtraterrestrialIrradiance(day) * cz *
           std::exp(-0.027 * PressureRatio(altitude) * turbidity / cz);
}

double CloudyDirect(double n, double s0) {
    return (1.0 - n / 8.0) * s0;
}

double SkyDiffuse(bool sunHidden, double svf, double g0, double d0, double i) {
    double circumsolar = sunHidden ? 0.2 * g0 : d0 * i / kSolarConstant;
    return (1.0 - i / kSolarConstant) * d0 * svf + circumsolar;
}

double CloudyDiffuse(bool sunHidden, double i, double d0, double g0, double n, double svf) {
    return (1.0 - n / 8.0) * SkyDiffuse(sunHidden, svf, g0, d0, i) + svf * (n / 8.0) * 0.28 * g0;
}

double DiffuseGlobalRatio(double presetRatio, double g, double g0) {
    if (presetRatio >= 0) return presetRatio;
    // a sky far from clear: the diffuse share follows the missing part of the clear-sky value
    if (g0 > 0 && g / g0 < 0.8) return 1.0 - g / g0;
    return 0.2;
}

double AtmosphericCounterRadiation(double ta, double vp, double n) {
    float tk = static_cast<float>(ta + kZeroCelsius);
    float cloudFactor = static_cast<float>(std::pow(n / 8.0, 2.5));
    return kStefanBoltzmann * std::pow(double(tk), 4) *
           (0.82 - 0.25 * std::pow(10.0, -0.0945 * vp)) * (1.0 + 0.21 * cloudFactor);
}

double LongwaveEmission(double eps, double t, double l) {
    return (1.0 - eps) * l + eps * kStefanBoltzmann * std::pow(t + kZeroCelsius, 4);
}

double GroundHeatFlux(double qStar) {
    return qStar > 0 ? -0.19 * qStar : -0.32 * qStar;
}

double SurfaceTemperatureStep(double bowen, double v, double ta, double qStar) {
    double b = GroundHeatFlux(qStar);
    double alpha = 4.26 * v + 6.2;  // heat transfer coefficient, W/(m² K)
    // below -0.9 the factor 1/β + 1 approaches 0 and the step blows up
    if (bowen < -0.9) bowen = -0.9;
    if (bowen == 0) return ta;
    return ta + (qStar + b) / ((1.0 / bowen + 1.0) * alpha);
}

double DirectNormalFromHorizontal(double s, double zenith, double limit) {
    if (!(zenith < 90.0) || s <= 0) return 0.0;
    const double cz = cosd(zenith);
    // s <= limit · cos Z, written without the division that overflows as cos Z approaches 0
    return s >= limit * cz ? limit : s / cz;
}

double MeanRadiantTemperature(double zenith, double l1, double l2, double l3, double d, double i,
                              double albedoHuman) {
    double h = 90.0 - zenith;
    double fp = 0.308 * cosd(h * (0.998 - h * h / 50000.0));
    return std::pow((l1 + l2 + l3) / kStefanBoltzmann +
                        (fp * i + d) * (1.0 - albedoHuman) / kPersonEmissivitySigma,
                    0.25) -
           kZeroCelsius;
}

RadiationResults ComputeRadiation(const RadiationInputs& in, const SunHiddenTest& isSunHidden) {
    RadiationResults r;

    // ---- short wave ----
    r.zenith = static_cast<float>(SunZenith(in.day, in.latitude, in.trueTime));
    r.azimuth = static_cast<float>(SunAzimuth(in.day, in.latitude, in.trueTime));
    // a sun below the horizon, or at no position at all, is hidden without asking the horizon
    // test, which maps the position into a picture
    r.sunHidden = !(r.zenith < 90.0f && std::isfinite(r.azimuth)) ||
                  (isSunHidden && isSunHidden(r.zenith, r.azimuth));
    const bool hidden = r.sunHidden;

    r.turbidity =
        in.linkeTurbidity < 0
            ? static_cast<float>(AutoLinkeTurbidity(in.day, in.latitude, in.rh, in.fogLimit))
            : in.linkeTurbidity;
    const float i =
        static_cast<float>(ClearSkyDirectNormal(in.day, in.altitude, r.zenith, r.turbidity));
    r.g0 = static_cast<float>(ClearSkyGlobal(in.day, in.altitude, r.zenith, r.turbidity));
    r.s0 = static_cast<float>(cosd(r.zenith) * i);
    // For a clean or thin atmosphere (Linke turbidity near 2, or some 5000 m up) the direct
    // beam of the pyrheliometric formula exceeds the global radiation of the clear-sky formula;
    // the global value holds and the diffuse part is then 0 instead of negative.
    r.s0 = std::min(r.s0, r.g0);
    r.d0 = r.g0 - r.s0;

    const float svf = in.svf;
    if (!std::isnan(in.g)) {
        const float ratio = static_cast<float>(DiffuseGlobalRatio(in.dgRatio, in.g, r.g0));
        r.g = in.g;
        if (in.reduceGByObstacles && hidden) {
            r.d = static_cast<float>(double(ratio) * svf * in.g);
            r.g = r.d;
            r.s = 0;
        } else if (hidden) {
            r.d = in.g;
            r.s = 0;
        } else {
            r.d = static_cast<float>(double(ratio) * svf * in.g);
            r.s = r.g - r.d;
        }
    } else {
        const bool fog = in.rh > in.fogLimit;
        r.s = hidden || fog ? 0.0f : static_cast<float>(CloudyDirect(in.n, r.s0));
        r.d = static_cast<float>(CloudyDiffuse(hidden, i, r.d0, r.g0, in.n, svf));
        if (fog) r.d = r.d / 2;
        r.g = r.s + r.d;
    }

    // ---- long wave and ground surface ----
    r.a = static_cast<float>(AtmosphericCounterRadiation(in.ta, in.vp, in.n));
    r.q = static_cast<float>(LongwaveEmission(kSurfaceEmissivity, in.ta, r.a));
    const float lin = static_cast<float>(double(r.a) * svf + (1.0 - svf) * r.q);

    if (!std::isnan(in.ts)) {
        r.ts = in.ts;
        r.e = static_cast<float>(LongwaveEmission(kSurfaceEmissivity, in.ts, lin));
    } else {
        float ts = in.ta;
        for (int pass = 0; pass < kSurfaceTemperaturePasses; ++pass) {
            r.e = static_cast<float>(LongwaveEmission(kSurfaceEmissivity, ts, lin));
            const float qStar = static_cast<float>((1.0 - in.albedoSurroundings) * r.g + lin - r.e);
            ts = static_cast<float>(SurfaceTemperatureStep(in.bowen, in.v, in.ta, qStar));
        }
        r.ts = ts;
    }

    // ---- the person ----
    if (!std::isnan(in.tmrt)) {
        r.tmrt = in.tmrt;
    } else {
        // the projection factor is the share of the body projected onto a plane normal to the
        // beam, so it weights the beam's normal irradiance, not the horizontal S
        const double direct =
            in.tmrtFromHorizontalDirect
                ? double(r.s)
                : DirectNormalFromHorizontal(r.s, r.zenith, ExtraterrestrialIrradiance(in.day));
        // the ground's reflected short-wave radiation does not enter, as the model has it
        r.tmrt = static_cast<float>(MeanRadiantTemperature(r.zenith, (1.0 - svf) * r.q / 2.0,
                                                           r.e / 2.0, double(r.a) * svf / 2.0, r.d,
                                                           direct, in.albedoHuman));
    }
    // an infinite input or an overflowing flux gives no value, which the table shows missing
    for (float* x : {&r.zenith, &r.azimuth, &r.turbidity, &r.g0, &r.s0, &r.d0, &r.s, &r.d, &r.g,
                     &r.a, &r.e, &r.q, &r.ts, &r.tmrt})
        if (!std::isfinite(*x)) *x = NAN;
    return r;
}

}  // namespace umbrix
