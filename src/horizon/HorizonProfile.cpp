#include "horizon/HorizonProfile.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "horizon/Fisheye.h"
#include "solar/SunPosition.h"

namespace umbrix {

float ProfileSkyViewFactor(const HorizonProfile& p) {
    const double delta = p.increment * std::numbers::pi / 180.0;
    double sum = 0;
    for (float h : p.angles) sum += std::sin(h * std::numbers::pi / 180.0);
    return float(1.0 - sum * delta / (2.0 * std::numbers::pi));
}

float ProfileSkyViewFactorCos(const HorizonProfile& p) {
    const double delta = p.increment * std::numbers::pi / 180.0;
    double sum = 0;
    for (float h : p.angles) {
        double s = std::sin(h * std::numbers::pi / 180.0);
        sum += s * s;
    }
    return float(1.0 - sum * delta / (2.0 * std::numbers::pi));
}

float ProfileAngleAt(const HorizonProfile& p, double A) {
    if (p.angles.empty() || p.increment <= 0 || !std::isfinite(A)) return 0;
    double a = std::fmod(A, 360.0);
    if (a < 0) a += 360.0;
    auto k = std::size_t(a / p.increment);
    return p.angles[std::min(k, p.angles.size() - 1)];
}

bool IsSunHiddenByProfile(const HorizonProfile& p, double Z, double A) {
    if (!(Z < 90)) return true;
    return 90.0 - Z < ProfileAngleAt(p, A);
}

int ProfileSunshineMinutes(const HorizonProfile& p, int day, float longitude, float latitude,
                           float timeZone) {
    const TrueTimeOfDay trueTime(day, longitude, timeZone);
    const SunOfDay sun(day, latitude);
    int minutes = 0;
    for (int m = 1; m <= 1440; ++m) {
        const float t = float(trueTime(float(m / 60.0)));
        const float Z = float(sun.zenith(t));
        const float A = float(sun.azimuth(t));
        const Point pixel = FisheyePixelOf(A, Z);
        const int x = pixel.x - kFisheyeCentre, y = pixel.y - kFisheyeCentre;
        if (x * x + y * y > 242 * 242) continue;
        const float h = ProfileAngleAt(p, A);
        if (h <= 0 || 90.0f - Z >= h) ++minutes;
    }
    return minutes;
}

}  // namespace umbrix
