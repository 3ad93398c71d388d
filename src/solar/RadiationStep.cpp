#include "solar/RadiationStep.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/PhysicalConstants.h"
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

RadiationSun RadiationSunAt(int day, float latitude, float trueTime) {
    return {static_cast<float>(SunZenith(day, latitude, trueTime)),
            static_cast<float>(SunAzimuth(day, latitude, trueTime))};
}

RadiationResults ComputeRadiation(const RadiationInputs& in, const SunHiddenTest& isSunHidden) {
    RadiationResults r;

    // ---- short wave ----
    const RadiationSun sun = RadiationSunAt(in.day, in.latitude, in.trueTime);
    r.zenith = sun.zenith;
    r.azimuth = sun.azimuth;
    // a sun below the horizon, or at no position at all, is hidden without asking the horizon
    // test, which maps the position into a picture
    r.sunHidden = !sun.up() || (isSunHidden && isSunHidden(r.zenith, r.azimuth));
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
            // At a low sun the clear-sky G0 is tiny, so a measured G reads as a clear sky and
            // the split gives most of it as beam; its normal irradiance S / cos Z then lifts
            // Tmrt under an overcast sky. The beam never exceeds the clear sky's; the diffuse
            // part takes the rest.
            if (r.s > r.s0) {
                r.s = r.s0;
                r.d = r.g - r.s;
            }
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
