#pragma once
// The physical range of every quantity that a user types or a data file gives: one table, used
// by the fields' exit rules of every window (and so by the command line's --set and the
// session), by the calculation commands, by the data-file rows and by the engine. A value
// outside its range is never computed with and never clamped.
namespace umbrix {

enum class Quantity {
    AirTemperature,          // Ta, °C
    VapourPressure,          // VP, hPa; at most the saturation vapour pressure at Ta
    RelativeHumidity,        // RH, %
    WindSpeed,               // v, m/s
    CloudCover,              // N, octas
    GlobalRadiation,         // G, W/m²; at most 1.1 × the extraterrestrial value of the day
    DiffuseRadiation,        // D, W/m²; as G
    SurfaceTemperature,      // Ts, °C
    MeanRadiantTemperature,  // Tmrt, °C
    Latitude,                // degrees north
    Longitude,               // degrees east; 180 … 360 is read as west of Greenwich
    TimeZone,                // hours east of UTC
    Altitude,                // m
    Albedo,                  // of the surroundings, of a person, of an obstacle
    Emissivity,              // of the surroundings or an obstacle
    BowenRatio,
    LinkeTurbidity,      // a negative value means automatic and is not checked
    DiffuseGlobalRatio,  // a negative value means automatic and is not checked
    FogLimit,            // % RH
    Height,              // of the person, m
    Weight,              // kg
    Age,                 // years
    Clothing,            // clo
    Activity,            // W
};

struct PhysicalRange {
    double min, max;  // inclusive
    const char* unit;
    const char* english;  // name of the quantity in each language
    const char* german;
};

const PhysicalRange& RangeOf(Quantity quantity);
// False for a value outside the range and for NaN.
bool InRange(Quantity quantity, double value);

// The upper limit of a given global or diffuse radiation: 1.1 × the extraterrestrial irradiance
// on the horizontal at the day's solar noon (no less than 5 % of the normal irradiance, which
// leaves twilight values of the polar night). It does not depend on the hour, so hourly means
// stamped at either end of their hour pass.
double GlobalRadiationLimit(int day, double latitude);
// The saturation vapour pressure at Ta plus half the 0.1 hPa to which a vapour pressure is
// usually given: a VP up to it is saturated air, above it the air would hold more water than it
// can (a relative humidity above 100 %).
double VapourPressureLimit(double ta);

}  // namespace umbrix
