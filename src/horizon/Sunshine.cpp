#include "horizon/Sunshine.h"

#include "horizon/Fisheye.h"
#include "solar/SunPosition.h"

namespace umbrix {

namespace {
float MinuteHours(int m) {
    return float(m / 60.0);
}
}  // namespace

const std::vector<Point>& SunshineCounter::sunPixels(int day, float longitude, float latitude,
                                                     float timeZone) {
    if (valid_ && day == day_ && longitude == longitude_ && latitude == latitude_ &&
        timeZone == timeZone_)
        return pixels_;
    constexpr int kLimitSquared = 242 * 242;  // 58564
    // 92 degrees lie 245.3 pixels out; rounding moves a point less than 0.71 pixels
    constexpr float kBeyondLimit = 92.0f;
    static_assert(92.0 / 90.0 * kFisheyeRadius - 0.71 > 242);
    pixels_.clear();
    // the day's terms once: the same figures as TrueLocalTime, SunZenith and SunAzimuth
    const TrueTimeOfDay trueTime(day, longitude, timeZone);
    const SunOfDay course(day, latitude);
    for (int m = 1; m <= 1440; ++m) {
        const float T = float(trueTime(MinuteHours(m)));
        const float Z = float(course.zenith(T));
        // two degrees below the horizon a point lies beyond the limit however it rounds: the
        // night's minutes need no azimuth
        if (Z > kBeyondLimit) continue;
        const float A = float(course.azimuth(T));
        const Point p = FisheyePixelOf(A, Z);
        const int x = p.x - kFisheyeCentre, y = p.y - kFisheyeCentre;
        if (x * x + y * y <= kLimitSquared) pixels_.push_back(p);
    }
    valid_ = true;
    day_ = day;
    longitude_ = longitude;
    latitude_ = latitude;
    timeZone_ = timeZone;
    return pixels_;
}

int SunshineCounter::count(int day, float longitude, float latitude, float timeZone,
                           const Raster& horizon) {
    int n = 0;
    // Raster::pixel reads white outside the image: such points count as free sky.
    for (const Point& p : sunPixels(day, longitude, latitude, timeZone))
        n += horizon.pixel(p.x, p.y) == kWhite;
    return n;
}

}  // namespace umbrix
