#pragma once
// The engine's own steps in the 4-byte floats the tables are computed in. The window models
// call them where they hold the row's values as floats already, so that the bits stay those of
// the public functions.
#include <functional>
#include <span>

#include "umbrix/engine.h"

namespace umbrix::engine {

// A site as the model stores it.
struct Place {
    float longitude = 0, latitude = 0, timeZone = 0;
    int altitude = 0;  // whole metres
};
Place PlaceOf(const Site& site);

SunPosition SunAt(const Place& place, int day, float hours);
SunDay DayAt(const Place& place, int day, const Horizon& horizon, SunshineCache* cache);

// The weather of a row; NaN where a quantity is not given.
struct Air {
    float Ta, VP, RH, v, N, G, D, Ts, Tmrt;
};
Air AirOf(const Weather& weather);

// VP and RH at Ta, VP leading. `valid` is false for a given VP outside 0 … saturation (up to
// 0.05 hPa above it the air is saturated: RH 100 %, VP the saturation pressure); then both stay
// as given. Without Ta, with a Ta outside its range, or with an RH outside its range nothing is
// derived.
struct Humidity {
    float VP, RH;
    bool valid;
};
Humidity Couple(float Ta, float VP, float RH);

// The person as the index models take it.
struct Body {
    int sex;       // 1 male, 2 female
    int position;  // 1 standing, 2 sitting
    double age;    // years
    float height, weight, clothing, activity;
    bool autoClothing;
};
Body BodyOf(const Person& person);

// The thermal indices from the row's air (Ta, VP, RH, v, Tmrt as floats), as the models give
// them (the row stores them as floats).
double PmvOf(const Air& air, const Body& body);
PetDetails PetOf(const Air& air, const Body& body, PetState& state);
double SetStarOf(const Air& air, const Body& body, bool sedentary);
double UtciOf(double Ta, double VP, double Tmrt, double v);
double PtOf(double Ta, double VP, double Tmrt, double v, double airPressure);
MpetDetails MpetOf(const Air& air, const Body& body);
// mPET of the rows `which` (rows whose indices were computed, none selecting mPET yet) for the
// person, through the batch engine: the same details as MpetOf, several rows side by side.
void MpetOfRows(std::span<RowResult> rows, std::span<const std::size_t> which, const Person& person,
                batch::ThreadPool* pool);
// mPET's body model starts from these core and skin temperatures, °C
inline constexpr float kInitialCore = 36.8f;
inline constexpr float kInitialSkin = 34.0f;

// Whether every given value lies in its physical range (a value outside it is never computed
// with). G and D are judged against the limit of the day and latitude, VP against saturation.
bool InRange(const Place& place, const Site& site, int day, const Air& air);
bool InRange(const Settings& settings);
bool InRange(const Person& person);

// The D/G ratio of a row: D with G (G > 0) gives it, otherwise the settings' ratio; negative
// means automatic.
float DiffuseRatioOf(const Air& air, const Settings& settings);
// The settings' Linke turbidity; negative means automatic.
float TurbidityOf(const Settings& settings);

}  // namespace umbrix::engine

namespace umbrix::engine {

// True when Ta, VP, RH, v and N are all there.
bool Complete(const Air& air);
// The radiation step of a row whose air is complete, coupled and in range.
Radiation RadiationAt(const Place& place, int day, float trueTime, const Air& air,
                      const Settings& settings, const Horizon& horizon);

// What a row needs of its horizon once the day is counted: the sky view factor and the sun test
// (asked only for a sun above the horizon, with the radiation step's zenith angle and azimuth).
struct HorizonView {
    float svf = 1;
    std::function<bool(double Z, double A)> isSunHidden;
};
Radiation RadiationAt(const Place& place, int day, float trueTime, const Air& air,
                      const Settings& settings, const HorizonView& horizon);

// The weather part of a row: the air, the radiation step, Tmrt and the selected indices, into r
// (whose sun, day and sky view factors the caller has set).
void ComputeRowWeather(RowResult& r, const RowInputs& inputs, const Place& place,
                       const Settings& settings, const HorizonView& horizon,
                       const IndexSelection& indices, PetState& pet);

}  // namespace umbrix::engine
