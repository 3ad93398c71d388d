#include "solar/SunPosition.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace umbrix {

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;
// hours of true local time per radian of hour angle (12/pi)
constexpr double kHoursPerRadian = 3.819718634205488;
// the sun's centre 0.85° below the horizon at sunrise and sunset, radians
constexpr double kRefractionAngle = -0.01484;

double sind(double degrees) {
    return std::sin(degrees * kDeg);
}
}  // namespace

double WrapHours(double hours) {
    if (!std::isfinite(hours)) return hours;
    if (hours < -48.0 || hours >= 48.0) hours = std::fmod(hours, 24.0);
    while (hours < 0) hours += 24.0;
    while (hours >= 24.0) hours -= 24.0;
    return hours;
}

double SunDeclination(int day) {
    double x = 0.9856 * day - 2.72;
    return std::asin(0.3978 * sind(x - 77.51 + 1.92 * sind(x))) / kDeg;
}

double EquationOfTime(int day) {
    double b = (day - 81) * 2.0 * kPi / 364.0;
    return (9.87 * std::sin(2.0 * b) - 7.53 * std::cos(b) - 1.5 * std::sin(b)) / 60.0;
}

TrueTimeOfDay::TrueTimeOfDay(int day, float longitude, float timeZone)
    : timeZone_(timeZone),
      longitudeHours_(double(longitude) * 12.0 / 180.0),
      equationOfTime_(EquationOfTime(day)) {}

double TrueTimeOfDay::operator()(float localTime) const {
    double t = double(localTime) - timeZone_ + longitudeHours_ + equationOfTime_;
    return WrapHours(t);
}

double TrueLocalTime(int day, float longitude, float timeZone, float localTime) {
    return TrueTimeOfDay(day, longitude, timeZone)(localTime);
}

double LocalFromTrueTime(int day, float longitude, float timeZone, float trueTime) {
    float t = static_cast<float>(double(trueTime) + timeZone - double(longitude) * 12.0 / 180.0 -
                                 EquationOfTime(day));
    return WrapHours(t);
}

SunOfDay::SunOfDay(int day, float latitude) {
    const double delta = SunDeclination(day) * kDeg;
    const double phi = latitude * kDeg;
    const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
    const double sinDelta = std::sin(delta), cosDelta = std::cos(delta);
    sinPhiSinDelta_ = sinPhi * sinDelta;
    cosPhiCosDelta_ = cosPhi * cosDelta;
    cosDelta_ = cosDelta;
    cosDeltaSinPhi_ = cosDelta * sinPhi;
    sinDeltaCosPhi_ = sinDelta * cosPhi;
}

double SunOfDay::zenith(float trueTime) const {
    double omega = trueTime * kPi / 12.0;
    double s = sinPhiSinDelta_ - cosPhiCosDelta_ * std::cos(omega);
    s = std::clamp(s, -1.0, 1.0);
    return 90.0 - std::asin(s) / kDeg;
}

double SunOfDay::azimuth(float trueTime) const {
    double omega = trueTime * kPi / 12.0;
    double e = cosDelta_ * std::sin(omega);
    double n = cosDeltaSinPhi_ * std::cos(omega) + sinDeltaCosPhi_;
    return AzimuthFromVector(e, n, true);
}

double SunZenith(int day, float latitude, float trueTime) {
    return SunOfDay(day, latitude).zenith(trueTime);
}

double SunAzimuth(int day, float latitude, float trueTime) {
    return SunOfDay(day, latitude).azimuth(trueTime);
}

double AzimuthFromVector(double e, double n, bool degrees) {
    double a;
    if (e != 0.0) {
        double t = std::atan(n / e);
        a = e > 0 ? kPi / 2.0 - t : 3.0 * kPi / 2.0 - t;
    } else {
        a = n >= 0 ? 0.0 : kPi;
    }
    return degrees ? a * 180.0 / kPi : a;
}

double SunriseArgument(int day, bool refraction, float latitude) {
    double delta = SunDeclination(day) * kDeg;
    double phi = latitude * kDeg;
    if (refraction)
        return (std::sin(phi) * std::sin(delta) - std::sin(kRefractionAngle)) /
               (std::cos(phi) * std::cos(delta));
    return std::tan(delta) * std::tan(phi);
}

double SunriseTrue(int day, bool refraction, float latitude) {
    double x = SunriseArgument(day, refraction, latitude);
    if (!(x >= -1.0 && x <= 1.0)) return 0.0;
    return std::acos(x) * kHoursPerRadian;
}

double SunsetTrue(int day, bool refraction, float latitude) {
    double x = SunriseArgument(day, refraction, latitude);
    if (!(x >= -1.0 && x <= 1.0)) return 0.0;
    return 24.0 - std::acos(x) * kHoursPerRadian;
}

int MaxSunshineMinutes(float sunrise, float sunset, double sunriseArgument) {
    if (sunrise != sunset) {
        double span = double(sunset) - double(sunrise);
        return int(std::nearbyint(span > 0 ? span * 60.0 : span * 60.0 + 1440.0));
    }
    return sunriseArgument > 1.0 ? 1440 : 0;
}

SunriseSunset LocalSunriseSunset(int day, float longitude, float latitude, float timeZone,
                                 bool refraction) {
    SunriseSunset s;
    s.sunrise = float(
        LocalFromTrueTime(day, longitude, timeZone, float(SunriseTrue(day, refraction, latitude))));
    s.sunset = float(
        LocalFromTrueTime(day, longitude, timeZone, float(SunsetTrue(day, refraction, latitude))));
    return s;
}

}  // namespace umbrix
