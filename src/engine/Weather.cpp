// The inputs of the engine: the weather's humidity, the person, and the physical ranges.
#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/Internal.h"
#include "engine/PhysicalRanges.h"
#include "solar/RadiationStep.h"

namespace umbrix {

namespace engine {

namespace {

// A value that is not given passes; a given one must lie in its range.
bool Optional(Quantity q, float x) {
    return std::isnan(x) || umbrix::InRange(q, x);
}

}  // namespace

Air AirOf(const Weather& w) {
    return {float(w.Ta), float(w.VP), float(w.RH), float(w.v),   float(w.N),
            float(w.G),  float(w.D),  float(w.Ts), float(w.Tmrt)};
}

Humidity Couple(float Ta, float VP, float RH) {
    Humidity h{VP, RH, true};
    if (!umbrix::InRange(Quantity::AirTemperature, Ta)) return h;
    if (!std::isnan(VP)) {
        if (!(VP >= 0 && VP <= VapourPressureLimit(Ta))) {
            h.valid = false;
            return h;
        }
        h.RH = float(RelHumidityFromVapour(Ta, VP));
        if (h.RH > 100.0f) {
            // within the last digit above saturation: saturated air
            h.RH = 100.0f;
            h.VP = float(SaturationVapourPressure(Ta));
        }
    } else if (umbrix::InRange(Quantity::RelativeHumidity, RH)) {
        h.VP = float(VapourFromRelHumidity(Ta, RH));
    }
    return h;
}

Body BodyOf(const Person& p) {
    return {p.sex == Sex::Female ? 2 : 1,
            p.posture == Posture::Sitting ? 2 : 1,
            p.age,
            float(p.height),
            float(p.weight),
            float(p.clothing),
            float(p.activity),
            p.autoClothing};
}

bool InRange(const Place& place, const Site& site, int day, const Air& a) {
    using Q = Quantity;
    if (!umbrix::InRange(Q::Longitude, place.longitude) ||
        !umbrix::InRange(Q::Latitude, place.latitude) ||
        !umbrix::InRange(Q::TimeZone, place.timeZone) ||
        !umbrix::InRange(Q::Altitude, site.altitude))
        return false;
    if (!Optional(Q::AirTemperature, a.Ta) || !Optional(Q::RelativeHumidity, a.RH) ||
        !Optional(Q::WindSpeed, a.v) || !Optional(Q::CloudCover, a.N) ||
        !Optional(Q::SurfaceTemperature, a.Ts) || !Optional(Q::MeanRadiantTemperature, a.Tmrt))
        return false;
    // limits that follow the row: saturation at its Ta, the sun of its day and latitude
    if (!std::isnan(a.VP)) {
        const double limit =
            std::isnan(a.Ta) ? RangeOf(Q::VapourPressure).max : VapourPressureLimit(a.Ta);
        if (!(a.VP >= 0 && a.VP <= limit)) return false;
    }
    const double radiationLimit = GlobalRadiationLimit(day, place.latitude);
    for (float x : {a.G, a.D})
        if (!std::isnan(x) && !(x >= 0 && x <= radiationLimit)) return false;
    return true;
}

bool InRange(const Settings& s) {
    using Q = Quantity;
    auto automatic = [](Q q, double x) { return std::isnan(x) || x < 0 || umbrix::InRange(q, x); };
    return umbrix::InRange(Q::Albedo, float(s.albedo)) &&
           umbrix::InRange(Q::Albedo, float(s.albedoHuman)) &&
           umbrix::InRange(Q::BowenRatio, float(s.bowen)) &&
           automatic(Q::LinkeTurbidity, float(s.turbidity)) &&
           automatic(Q::DiffuseGlobalRatio, float(s.diffuseRatio)) &&
           umbrix::InRange(Q::FogLimit, float(s.fogLimit));
}

bool InRange(const Person& p) {
    using Q = Quantity;
    return umbrix::InRange(Q::Height, float(p.height)) &&
           umbrix::InRange(Q::Weight, float(p.weight)) && umbrix::InRange(Q::Age, p.age) &&
           umbrix::InRange(Q::Clothing, float(p.clothing)) &&
           umbrix::InRange(Q::Activity, float(p.activity));
}

float DiffuseRatioOf(const Air& a, const Settings& s) {
    float ratio = std::isnan(s.diffuseRatio) ? -1.0f : float(s.diffuseRatio);
    // a measured D with its G gives the row's split of G
    if (!std::isnan(a.D) && !std::isnan(a.G) && a.G > 0) ratio = std::clamp(a.D / a.G, 0.0f, 1.0f);
    return ratio;
}

float TurbidityOf(const Settings& s) {
    return std::isnan(s.turbidity) ? -1.0f : float(s.turbidity);
}

}  // namespace engine

namespace humidity {
double SaturationVapourPressure(double Ta) {
    return umbrix::SaturationVapourPressure(Ta);
}
double RelativeHumidity(double Ta, double VP) {
    return RelHumidityFromVapour(Ta, VP);
}
double VapourPressure(double Ta, double RH) {
    return VapourFromRelHumidity(Ta, RH);
}
}  // namespace humidity

Weather CoupleHumidity(const Weather& weather) {
    const engine::Air a = engine::AirOf(weather);
    const engine::Humidity h = engine::Couple(a.Ta, a.VP, a.RH);
    Weather out = weather;
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const bool derived = umbrix::InRange(Quantity::AirTemperature, a.Ta) && h.valid &&
                         !std::isnan(h.VP) && !std::isnan(h.RH);
    out.VP = derived ? h.VP : nan;
    out.RH = derived ? h.RH : nan;
    return out;
}

}  // namespace umbrix
