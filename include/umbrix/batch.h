#pragma once
// The thermal indices over many elements at once, for arrays of weather and persons. Inputs come
// as structure of arrays, one span per quantity; a span of a single value stands for that value
// in every element (broadcasting). Every element gives the bits that the single-row function of
// umbrix/engine.h gives for the same inputs, whichever SIMD target runs and however many threads
// share the work; NaN where an index is not defined.
//
// UTCI, PMV, PT and SET* run several elements per instruction (SIMD, chosen at run time for the
// processor), and so does mPET's time loop for the elements of one clothing case; PET walks
// element by element, its reference-room search in SIMD lanes. With a pool the batch is split
// into blocks over its threads; without one the calling thread does all.
#include <span>
#include <string>

#include "umbrix/engine.h"
#include "umbrix/horizon.h"
#include "umbrix/thread_pool.h"
#include "umbrix/types.h"

namespace umbrix::batch {

// One quantity over the batch: one value per element, or one value for all.
using Column = std::span<const double>;

struct Weather {
    Column Ta;    // air temperature, °C
    Column VP;    // vapour pressure, hPa
    Column v;     // wind speed at 1.1 m, m/s
    Column Tmrt;  // mean radiant temperature, °C
};

struct Person {
    std::span<const Sex> sex;
    std::span<const Posture> posture;  // PET and mPET
    Column age;                        // years; PMV takes whole years
    Column height;                     // m
    Column weight;                     // kg
    Column clothing;                   // clo
    Column activity;                   // W, added to the basal metabolic rate
};

// Where and when, for the radiation step.
struct SiteTime {
    Column longitude, latitude, altitude, timeZone;  // as in Site
    std::span<const int> dayOfYear;                  // as in DayTime
    Column hours;                                    // local standard time, decimal hours
};

// The weather of the radiation step, as in umbrix::Weather: NaN where a quantity is not given.
struct RadiationWeather {
    Column Ta, VP, RH, v, N, G, D, Ts, Tmrt;
};

// The element count of a batch is the length of its result array. A column of another length
// than 1 or that count throws std::invalid_argument naming the column, and nothing is written.

// UTCI, °C (Utci of umbrix/engine.h).
void Utci(const Weather& weather, std::span<double> utci, ThreadPool* pool = nullptr);
// PMV (Pmv).
void Pmv(const Weather& weather, const Person& person, std::span<double> pmv,
         ThreadPool* pool = nullptr);
// PT, °C, at the air pressure in hPa (PerceivedTemperature).
void PerceivedTemperature(const Weather& weather, Column airPressure, std::span<double> pt,
                          ThreadPool* pool = nullptr);
// SET*, °C (SetStar). The relative humidity follows from Ta and VP as the row function derives
// it for a weather whose RH is not given.
void SetStar(const Weather& weather, const Person& person, SetStarStandard standard,
             std::span<double> setStar, ThreadPool* pool = nullptr);
// PET (Pet), the elements in order with one state: the results of a run row by row with that
// state, which is left as the last element leaves it.
void Pet(const Weather& weather, const Person& person, std::span<PetDetails> pet, PetState& state,
         ThreadPool* pool = nullptr);

struct MpetOptions {
    float tc0 = 36.8f;   // initial core temperature, °C
    float tsk0 = 34.0f;  // initial skin temperature, °C
};
// mPET (Mpet); autoClothing applies to every element.
void Mpet(const Weather& weather, const Person& person, bool autoClothing,
          std::span<MpetDetails> mpet, ThreadPool* pool = nullptr, const MpetOptions& options = {});

// The radiation step with Tmrt (ComputeRadiation) of every element, each through the horizon of
// the place (the sun test per element); the settings are a column too, one per element or one
// for all. The elements run one by one (their sun, turbidity and fluxes rest on libm's
// trigonometric and exponential functions), in blocks over the pool's threads.
void Radiation(const SiteTime& where, const RadiationWeather& weather,
               std::span<const Settings> settings, const Horizon& horizon,
               std::span<umbrix::Radiation> radiation, ThreadPool* pool = nullptr);

// The SIMD target the kernels run on this processor ("AVX3", "AVX2", "SSE4", ...).
std::string SimdTarget();

}  // namespace umbrix::batch
