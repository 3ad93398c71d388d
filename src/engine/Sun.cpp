// The sun and the day of the engine.
#include <algorithm>
#include <cmath>

#include "engine/HorizonData.h"
#include "engine/Internal.h"
#include "horizon/HorizonProfile.h"
#include "horizon/Sunshine.h"
#include "solar/SunPosition.h"
#include "umbrix/engine.h"

namespace umbrix {

int DayOfYear(int year, int month, int day) {
    static constexpr int kBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month < 1 || month > 12) return 0;
    return kBefore[month - 1] + day + (leap && month > 2 ? 1 : 0);
}

SunPosition ComputeSunPosition(const Site& site, const DayTime& time) {
    const engine::Place p = engine::PlaceOf(site);
    return engine::SunAt(p, time.dayOfYear, float(time.hours));
}

SunshineCache::SunshineCache() : counter_(std::make_unique<SunshineCounter>()) {}
SunshineCache::~SunshineCache() = default;
SunshineCache::SunshineCache(SunshineCache&&) noexcept = default;
SunshineCache& SunshineCache::operator=(SunshineCache&&) noexcept = default;

SunDay ComputeSunDay(const Site& site, int dayOfYear, const Horizon& horizon,
                     SunshineCache* cache) {
    return engine::DayAt(engine::PlaceOf(site), dayOfYear, horizon, cache);
}

namespace engine {

Place PlaceOf(const Site& site) {
    Place p;
    p.longitude = float(site.longitude);
    p.latitude = float(site.latitude);
    p.timeZone = float(site.timeZone);
    // whole metres, as the altitude field holds them; kept within an int (the range check
    // refuses such a value anyway)
    const double altitude = std::isnan(site.altitude) ? 0.0 : site.altitude;
    p.altitude = int(std::nearbyint(std::clamp(altitude, -1e9, 1e9)));
    return p;
}

SunPosition SunAt(const Place& p, int day, float hours) {
    SunPosition s;
    s.trueTime = float(TrueLocalTime(day, p.longitude, p.timeZone, hours));
    s.Z = float(SunZenith(day, p.latitude, s.trueTime));
    s.azimuth = float(SunAzimuth(day, p.latitude, s.trueTime));
    return s;
}

SunDay DayAt(const Place& p, int day, const Horizon& horizon, SunshineCache* cache) {
    SunDay d;
    const SunriseSunset times = LocalSunriseSunset(day, p.longitude, p.latitude, p.timeZone, true);
    d.sunrise = times.sunrise;
    d.sunset = times.sunset;
    d.SDmax = MaxSunshineMinutes(d.sunrise, d.sunset, SunriseArgument(day, true, p.latitude));
    if (const HorizonProfile* profile = horizon.profile()) {
        d.SDact = ProfileSunshineMinutes(*profile, day, p.longitude, p.latitude, p.timeZone);
    } else {
        SunshineCache local;
        SunshineCache& c = cache ? *cache : local;
        const Horizon::Data& data = horizon.data();
        // an open sky needs no pixel, and most minutes not even the sun's azimuth
        d.SDact = data.openSky.get([&] { return SkyWithinSunLimit(data.image); })
                      ? c.counter().countOpenSky(day, p.longitude, p.latitude, p.timeZone)
                      : c.counter().count(day, p.longitude, p.latitude, p.timeZone, data.image);
    }
    return d;
}

}  // namespace engine

}  // namespace umbrix
