// The radiation step of the engine: VDI 3789 part 2 at the person, through the horizon.
#include <cmath>
#include <limits>

#include "engine/Internal.h"
#include "solar/RadiationStep.h"

namespace umbrix {

namespace engine {

Radiation RadiationAt(const Place& p, int day, float trueTime, const Air& a, const Settings& s,
                      const Horizon& horizon) {
    return RadiationAt(p, day, trueTime, a, s,
                       HorizonView{horizon.skyViewFactor(), [&horizon](double Z, double A) {
                                       return horizon.isSunHidden(Z, A);
                                   }});
}

Radiation RadiationAt(const Place& p, int day, float trueTime, const Air& a, const Settings& s,
                      const HorizonView& horizon) {
    RadiationInputs ri;
    ri.day = day;
    ri.latitude = p.latitude;
    ri.altitude = p.altitude;
    ri.trueTime = trueTime;
    ri.ta = a.Ta;
    ri.vp = a.VP;
    ri.rh = a.RH;
    ri.v = a.v;
    ri.n = a.N;
    ri.dgRatio = DiffuseRatioOf(a, s);
    ri.g = a.G;
    ri.ts = a.Ts;
    ri.tmrt = a.Tmrt;
    ri.svf = horizon.svf;
    ri.linkeTurbidity = TurbidityOf(s);
    ri.fogLimit = float(s.fogLimit);
    ri.reduceGByObstacles = s.reduceGByObstacles;
    ri.bowen = float(s.bowen);
    ri.albedoSurroundings = float(s.albedo);
    ri.albedoHuman = float(s.albedoHuman);
    ri.tmrtFromHorizontalDirect = s.tmrtFromHorizontalDirect;
    const RadiationResults rr = ComputeRadiation(ri, horizon.isSunHidden);
    Radiation r;
    r.sunHidden = rr.sunHidden;
    r.turbidity = rr.turbidity;
    r.G0 = rr.g0;
    r.S0 = rr.s0;
    r.D0 = rr.d0;
    r.G = rr.g;
    r.S = rr.s;
    r.D = rr.d;
    r.A = rr.a;
    r.E = rr.e;
    r.Q = rr.q;
    r.Ts = rr.ts;
    r.Tmrt = rr.tmrt;
    return r;
}

bool Complete(const Air& a) {
    for (float x : {a.Ta, a.VP, a.RH, a.v, a.N})
        if (std::isnan(x)) return false;
    return true;
}

}  // namespace engine

Radiation ComputeRadiation(const Site& site, const DayTime& time, const Weather& weather,
                           const Settings& settings, const Horizon& horizon) {
    using namespace engine;
    const Place p = PlaceOf(site);
    Air a = AirOf(weather);
    const bool inRange = InRange(p, site, time.dayOfYear, a) && InRange(settings);
    const Humidity h = Couple(a.Ta, a.VP, a.RH);
    a.VP = h.VP;
    a.RH = h.RH;
    if (!inRange || !h.valid || !Complete(a)) {
        constexpr float nan = std::numeric_limits<float>::quiet_NaN();
        Radiation none;
        none.turbidity = none.G0 = none.S0 = none.D0 = none.G = none.S = none.D = nan;
        none.A = none.E = none.Q = none.Ts = none.Tmrt = nan;
        return none;
    }
    const SunPosition sun = SunAt(p, time.dayOfYear, float(time.hours));
    return RadiationAt(p, time.dayOfYear, sun.trueTime, a, settings, horizon);
}

}  // namespace umbrix
