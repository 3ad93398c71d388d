#pragma once
// Sun position for a day of year, a geographical position and a time of day.
// Simple approximations with fixed coefficients: the day of year only (no year, no leap-year
// correction), times in decimal hours, angles in degrees at the interface.
// Longitude positive east, latitude positive north, time zone in hours east of UTC.

namespace umbrix {

// Solar declination, degrees.
double SunDeclination(int day);
// Equation of time, hours.
double EquationOfTime(int day);
// True (solar) local time from local clock time, hours in [0, 24).
double TrueLocalTime(int day, float longitude, float timeZone, float localTime);
// Local clock time from true local time, hours in [0, 24) (rounded to a 4-byte float).
double LocalFromTrueTime(int day, float longitude, float timeZone, float trueTime);
// Zenith angle, degrees: 0 at the zenith, 90 at the horizon, above 90 below it.
double SunZenith(int day, float latitude, float trueTime);
// Azimuth, degrees clockwise from north in [0, 360).
double SunAzimuth(int day, float latitude, float trueTime);
// The quantity x whose arc cosine gives the sunrise hour angle: x > 1 means the sun does not
// set that day, x < -1 that it does not rise. With refraction the sun's centre is 0.85° below
// the horizon at sunrise.
double SunriseArgument(int day, bool refraction, float latitude);
// Sunrise and sunset in true local time, hours; both 0 on days without sunrise or sunset.
double SunriseTrue(int day, bool refraction, float latitude);
double SunsetTrue(int day, bool refraction, float latitude);
// Maximum sunshine duration, minutes, from local sunrise and sunset; on days without sunrise
// or sunset (equal times) the sunrise argument x decides: x > 1 polar day, else 0.
int MaxSunshineMinutes(float sunrise, float sunset, double sunriseArgument);
// Azimuth of the horizontal vector (east e, north n): radians, or degrees when asked.
double AzimuthFromVector(double e, double n, bool degrees = false);

// Local sunrise and sunset (hours); both equal when the sun does not rise or set that day.
struct SunriseSunset {
    float sunrise = 0;
    float sunset = 0;
};
SunriseSunset LocalSunriseSunset(int day, float longitude, float latitude, float timeZone,
                                 bool refraction);

// Wraps a time of day into [0, 24).
double WrapHours(double hours);

// The day's terms of TrueLocalTime computed once, for loops over the minutes of a day; gives
// exactly the figures of TrueLocalTime.
class TrueTimeOfDay {
  public:
    TrueTimeOfDay(int day, float longitude, float timeZone);
    double operator()(float localTime) const;

  private:
    float timeZone_;
    double longitudeHours_, equationOfTime_;
};

// The day's declination terms of SunZenith and SunAzimuth computed once; gives exactly their
// figures.
class SunOfDay {
  public:
    SunOfDay(int day, float latitude);
    double zenith(float trueTime) const;
    double azimuth(float trueTime) const;

  private:
    double sinPhiSinDelta_, cosPhiCosDelta_, cosDelta_, cosDeltaSinPhi_, sinDeltaCosPhi_;
};

}  // namespace umbrix
