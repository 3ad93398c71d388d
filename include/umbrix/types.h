#pragma once
// The value types of the Umbrix calculation: the place, the moment, the weather, the person, the
// model settings, the choice of indices and the results of one row.
//
// A quantity that is not given is NaN (kNotGiven). Among the weather, G, D, Ts and Tmrt are then
// computed; without Ta, a humidity, v or N the computed results of a row are NaN. A result that
// the models leave undefined is NaN as well.
#include <limits>
#include <string>

namespace umbrix {

inline constexpr double kNotGiven = std::numeric_limits<double>::quiet_NaN();

// Where: the location of calculation.
struct Site {
    double longitude = 0;  // degrees east; -180 … 360, above 180 counts west
    double latitude = 0;   // degrees north, -90 … 90
    double altitude = 0;   // m above sea level; the radiation model uses whole metres (rounded)
    double timeZone = 0;   // hours east of UTC of the local standard time, -12 … 14
    std::string name;
};

// When: a day of the year and a local standard time (no daylight saving time).
struct DayTime {
    int dayOfYear = 172;  // 1 = 1 January; the model has no leap years
    double hours = 12;    // local standard time of the site's time zone, decimal hours 0 … 24
};

// The day of the year of a calendar date (1 for 1 January).
int DayOfYear(int year, int month, int day);

// The weather of a row. Humidity: VP when it is given, otherwise RH; the other one follows from
// Ta. A VP up to 0.05 hPa above saturation counts as saturated air, a higher one is no weather
// (the row's results are NaN).
struct Weather {
    double Ta = 20;           // air temperature, °C
    double VP = kNotGiven;    // vapour pressure, hPa
    double RH = 53.5;         // relative humidity, %
    double v = 0.1;           // wind speed at 1.1 m above ground, m/s
    double N = 0;             // cloud cover, octas
    double G = kNotGiven;     // global radiation on the horizontal, W/m²; NaN: computed
    double D = kNotGiven;     // diffuse radiation, W/m²; with G it sets the ratio D/G of the row
    double Ts = kNotGiven;    // ground surface temperature, °C; NaN: computed
    double Tmrt = kNotGiven;  // mean radiant temperature, °C; NaN: computed
};

enum class Sex { Male, Female };
enum class Posture { Standing, Sitting };

// The person the thermal indices are computed for (the main window's defaults).
struct Person {
    double height = 1.75;  // m
    double weight = 75;    // kg
    double age = 35;       // years; PMV takes whole years
    Sex sex = Sex::Male;
    double clothing = 0.9;                // clo
    double activity = 80;                 // W, added to the basal metabolic rate
    Posture posture = Posture::Standing;  // PET and mPET
    bool autoClothing = true;  // mPET chooses the standard clothing of the air temperature
};

// The model parameters of the pre-settings.
struct Settings {
    double albedo = 0.2;              // short-wave albedo of the surroundings, 0 … 1
    double albedoHuman = 0.3;         // short-wave albedo of the person, 0 … 1
    double bowen = 1;                 // Bowen ratio of the ground, -0.9 … 100
    double turbidity = kNotGiven;     // Linke turbidity 1 … 40; NaN or negative: automatic
    double diffuseRatio = kNotGiven;  // ratio D/G for a given G, 0 … 1; NaN or negative: automatic
    double fogLimit = 90;             // RH, %, from which the radiation is diffuse only
    bool reduceGByObstacles = false;  // a given G loses its direct part behind the horizon
    // The models of earlier versions, for reproducing their tables: Tmrt from the direct
    // radiation on the horizontal instead of the beam's normal irradiance, and SET* matched to
    // the sedentary standard environment instead of that of the person's activity.
    bool tmrtFromHorizontalDirect = false;
    bool setStarSedentary = false;
};

// Which thermal indices a row computes.
struct IndexSelection {
    bool pmv = true, pet = true, setStar = true, utci = true, pt = true, mpet = true;
};

// The PET model's working values (Höppe's MEMI); the reference room's fluxes belong to PET.
struct PetDetails {
    static constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    float PET = kNaN;   // physiologically equivalent temperature, °C
    float Tc = kNaN;    // core temperature, °C
    float Tsk = kNaN;   // mean skin temperature, °C
    float WL = kNaN;    // water loss: sweat, skin diffusion and respiration, g/h
    float SWt = kNaN;   // skin wettedness, 0 … 1
    float H = kNaN;     // internal heat production, W
    float Rnb = kNaN;   // radiation balance, W
    float C = kNaN;     // convective heat flow, W
    float Evpd = kNaN;  // water vapour diffusion through the skin, W
    float Esw = kNaN;   // sweat evaporation, W
};

// The results of the mPET body model.
struct MpetDetails {
    static constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    float mPET = kNaN;  // modified physiologically equivalent temperature, °C
    float Tc = kNaN;    // core temperature, °C
    float Tsk = kNaN;   // area-weighted mean skin temperature, °C
    // outer skin of the zone groups 1 … 5, °C; 9999 for a group the clothing case does not have
    float Tsk1 = kNaN, Tsk2 = kNaN, Tsk3 = kNaN, Tsk4 = kNaN, Tsk5 = kNaN;
    float Tcl = kNaN;             // clothing temperature, °C
    float skinWettedness = kNaN;  // of the unclothed zones, 0 … 1
    float sweatRate = kNaN;       // g/h
    float activity = kNaN;        // internal heat production, W
    float R = kNaN;               // radiative exchange, W (gain positive)
    float C = kNaN;               // convective exchange, W
    float L = kNaN;               // evaporative exchange at the skin, W
    float Ere = kNaN;             // respiratory exchange, W
    float RC = kNaN;              // dry exchange through clothing and surface air layer, W
    float S = kNaN;               // heat storage, W
};

// Every result of one row, as 4-byte floats (the precision the tables are written from).
struct RowResult {
    static constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    // the sun at the row's time
    float trueTime = kNaN;  // true local (solar) time, hours
    float Z = kNaN;         // zenith angle, degrees (the elevation is 90 - Z)
    float azimuth = kNaN;   // degrees clockwise from north
    // the day
    float sunrise = 0, sunset = 0;  // local time, hours; equal on days without both
    int SDmax = 0;                  // possible sunshine duration, minutes
    int SDact = 0;                  // minutes of the day with the sun on free sky
    // the horizon
    float SVF = 1;     // sky view factor: free share of the hemisphere's solid angle
    float SVFcos = 1;  // free share of the cosine-weighted hemisphere
    // the weather as computed with: the humidity coupled, G, Ts and Tmrt as given or computed
    float Ta = kNaN, VP = kNaN, RH = kNaN, v = kNaN, N = kNaN;
    float turbidity = kNaN;  // Linke turbidity used
    // W/m²: clear sky global, direct and diffuse on the horizontal; actual global, direct on
    // the horizontal, diffuse; long-wave counter-radiation of the atmosphere, long-wave
    // radiation of the ground (emitted and reflected) and of the surroundings
    float G0 = kNaN, S0 = kNaN, D0 = kNaN;
    float G = kNaN, S = kNaN, D = kNaN;
    float A = kNaN, E = kNaN, Q = kNaN;
    float Ts = kNaN;    // ground surface temperature, °C
    float Tmrt = kNaN;  // mean radiant temperature, °C
    // the thermal indices; NaN when not selected or not defined
    float PMV = kNaN, PET = kNaN, SET = kNaN, UTCI = kNaN, PT = kNaN, mPET = kNaN;
    PetDetails pet;    // with PET
    MpetDetails mpet;  // with mPET
};

}  // namespace umbrix
