#include "horizon/Sunshine.h"

#include "horizon/Fisheye.h"
#include "solar/SunPosition.h"

namespace umbrix {

namespace {
float MinuteHours(int m) {
    return float(m / 60.0);
}
constexpr int kLimitSquared = 242 * 242;  // 58564
// 92 degrees lie 245.3 pixels out; rounding moves a point less than 0.71 pixels
constexpr float kBeyondLimit = 92.0f;
static_assert(92.0 / 90.0 * kFisheyeRadius - 0.71 > 242);
// and 90.4 degrees 241.07 pixels: such a point lies within the limit however it rounds
constexpr float kWithinLimit = 90.4f;
static_assert(90.4 / 90.0 * kFisheyeRadius + 0.71 < 242);
}  // namespace

void SunshineCounter::setDay(int day, float longitude, float latitude, float timeZone) {
    if (sameDay(day, longitude, latitude, timeZone)) return;
    valid_ = openValid_ = false;
    day_ = day;
    longitude_ = longitude;
    latitude_ = latitude;
    timeZone_ = timeZone;
}

int SunshineCounter::countOpenSky(int day, float longitude, float latitude, float timeZone) {
    setDay(day, longitude, latitude, timeZone);
    if (openValid_) return openMinutes_;
    if (valid_) {
        openMinutes_ = int(pixels_.size());
    } else {
        // the minutes of sunPixels, without their pixels where the zenith angle decides
        const TrueTimeOfDay trueTime(day, longitude, timeZone);
        const SunOfDay course(day, latitude);
        int n = 0;
        for (int m = 1; m <= 1440; ++m) {
            const float T = float(trueTime(MinuteHours(m)));
            const float Z = float(course.zenith(T));
            if (Z > kBeyondLimit) continue;
            if (Z <= kWithinLimit) {
                ++n;
                continue;
            }
            const Point p = FisheyePixelOf(float(course.azimuth(T)), Z);
            const int x = p.x - kFisheyeCentre, y = p.y - kFisheyeCentre;
            n += x * x + y * y <= kLimitSquared;
        }
        openMinutes_ = n;
    }
    openValid_ = true;
    return openMinutes_;
}

bool SkyWithinSunLimit(const Raster& horizon) {
    for (int y = 0; y < horizon.height(); ++y) {
        const int dy = y - kFisheyeCentre;
        if (dy * dy > kLimitSquared) continue;
        const Colour* row = horizon.row(y);
        for (int x = 0; x < horizon.width(); ++x) {
            const int dx = x - kFisheyeCentre;
            if (dx * dx + dy * dy <= kLimitSquared && row[x] != kWhite) return false;
        }
    }
    return true;
}

const std::vector<Point>& SunshineCounter::sunPixels(int day, float longitude, float latitude,
                                                     float timeZone) {
    setDay(day, longitude, latitude, timeZone);
    if (valid_) return pixels_;
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
