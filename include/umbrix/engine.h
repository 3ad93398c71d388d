#pragma once
// The Umbrix calculation, window-free: the sun, the day, the radiation step, the thermal indices
// and whole rows, as the tables of the program compute them (the same bits).
//
// Every function is pure except for the PET model's carried-over state (PetState), which the
// caller owns, and an optional cache of the day's sun track (SunshineCache). Values that are not
// given or not defined are NaN; see umbrix/types.h.
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "umbrix/horizon.h"
#include "umbrix/types.h"

namespace umbrix {

namespace batch {
class ThreadPool;
}
class PetModel;
class SunshineCounter;

// ---- the sun ----

struct SunPosition {
    float trueTime = 0;  // true local (solar) time, hours
    float Z = 0;         // zenith angle, degrees: 0 at the zenith, above 90 below the horizon
    float azimuth = 0;   // degrees clockwise from north, 0 … 360
};

// The sun for the site's day and local time.
SunPosition ComputeSunPosition(const Site& site, const DayTime& time);

// ---- the day ----

// The sun points of one day and place, kept so that the rows of a day count their sunshine
// minutes without computing the 1440 sun positions again. Not to be shared between threads.
class SunshineCache {
  public:
    SunshineCache();
    ~SunshineCache();
    SunshineCache(SunshineCache&&) noexcept;
    SunshineCache& operator=(SunshineCache&&) noexcept;

    SunshineCounter& counter() { return *counter_; }

  private:
    std::unique_ptr<SunshineCounter> counter_;
};

struct SunDay {
    float sunrise = 0;  // local time, hours (with refraction)
    float sunset = 0;   // equal to sunrise on days without sunrise or sunset
    int SDmax = 0;      // possible sunshine duration, minutes
    int SDact = 0;      // the minutes of local time with the sun on free sky of the horizon
};

SunDay ComputeSunDay(const Site& site, int dayOfYear, const Horizon& horizon,
                     SunshineCache* cache = nullptr);

// ---- humidity ----

// The humidity of air over water in the Magnus form of VDI 3789 part 2: the saturation vapour
// pressure, hPa, at Ta (°C), and the relative humidity (%) and vapour pressure (hPa) from each
// other, without limits (see CoupleHumidity for the checked coupling of a row).
namespace humidity {
double SaturationVapourPressure(double Ta);
double RelativeHumidity(double Ta, double VP);
double VapourPressure(double Ta, double RH);
}  // namespace humidity

// The weather with both VP and RH: VP leads when given, otherwise RH. A VP above saturation by
// less than 0.05 hPa is saturated air (RH 100 %); a higher one, or a humidity outside its range,
// makes both NaN.
Weather CoupleHumidity(const Weather& weather);

// ---- the radiation step ----

struct Radiation {
    bool sunHidden = true;
    float turbidity = 0;           // Linke turbidity used
    float G0 = 0, S0 = 0, D0 = 0;  // clear sky: global, direct on the horizontal, diffuse, W/m²
    float G = 0, S = 0, D = 0;     // actual global, direct on the horizontal, diffuse, W/m²
    float A = 0;                   // long-wave counter-radiation of the atmosphere, W/m²
    float E = 0;                   // long-wave radiation of the ground, W/m²
    float Q = 0;                   // long-wave radiation of the surroundings, W/m²
    float Ts = 0;                  // ground surface temperature, °C, as given or computed
    float Tmrt = 0;                // mean radiant temperature, °C, as given or computed
};

// Short- and long-wave radiation at the person, the ground surface temperature and Tmrt
// (VDI 3789 part 2). Ta, the humidity, v and N must be given; otherwise every value is NaN.
Radiation ComputeRadiation(const Site& site, const DayTime& time, const Weather& weather,
                           const Settings& settings, const Horizon& horizon);

// ---- the thermal indices ----
// From Ta, the humidity, v and Tmrt of the weather (Tmrt must be given: see ComputeRadiation).
// NaN where an index is not defined for the inputs.

// The PET model's working state: some of its values carry over from one calculation to the next
// (a core temperature candidate without a real root, the rates of an unknown sex), so the
// results of a series depend on the calculations before. One state per table, started afresh
// with it, reproduces the program's tables.
class PetState {
  public:
    PetState();
    ~PetState();
    PetState(const PetState& other);
    PetState& operator=(const PetState& other);
    PetState(PetState&&) noexcept;
    PetState& operator=(PetState&&) noexcept;

    // Back to the state of a fresh start.
    void reset();
    PetModel& model() { return *model_; }

  private:
    std::unique_ptr<PetModel> model_;
};

// The standard environment SET* matches to.
enum class SetStarStandard { ActivityDependent, Sedentary };

// PMV, Fanger (1970), with the metabolic rate of the person.
double Pmv(const Weather& weather, const Person& person);
// PET, °C, Höppe (1999), with the working values of the MEMI model.
PetDetails Pet(const Weather& weather, const Person& person, PetState& state);
// SET*, °C, Gagge et al. (1986).
double SetStar(const Weather& weather, const Person& person,
               SetStarStandard standard = SetStarStandard::ActivityDependent);
// UTCI, °C, the regression of Bröde et al. (2012); NaN outside its range.
double Utci(const Weather& weather);
// PT, the perceived temperature, °C (Klima-Michel model), at the air pressure in hPa; -9999
// when the model's clothing search fails.
double PerceivedTemperature(const Weather& weather, double airPressure = 1013);
// mPET, Chen and Matzarakis (2018).
MpetDetails Mpet(const Weather& weather, const Person& person);

// ---- rows ----

// What makes a row: the place, the moment, the weather and the person.
struct RowInputs {
    Site site;
    DayTime time;
    Weather weather;
    Person person;
};

// One row as the table computes it: sun, day, horizon, radiation, Tmrt and the selected
// indices. Without Ta, a humidity, v or N (or with a VP above saturation) every computed value
// is NaN; the sun, the day and the sky view factors are always there.
RowResult ComputeRow(const RowInputs& inputs, const Settings& settings, const Horizon& horizon,
                     const IndexSelection& indices, PetState& pet, SunshineCache* cache = nullptr);

// A row of a batch: its inputs, settings, horizon and indices (the horizon outlives the call),
// and its day when the caller has it (ComputeSunDay for the row's place, day and horizon).
struct RowJob {
    RowInputs inputs;
    Settings settings;
    const Horizon* horizon = nullptr;
    IndexSelection indices;
    std::optional<SunDay> day;
};

// The rows of ComputeRow for each job, as if called in order with one PET state (which ends as
// after those calls), computed in blocks over the pool's threads: the same bits whatever the
// number of threads. SET*, PET and mPET run on the batch engine (umbrix/batch.h).
void ComputeRows(std::span<const RowJob> jobs, std::span<RowResult> rows, PetState& pet,
                 batch::ThreadPool* pool = nullptr, SunshineCache* cache = nullptr);

// One row per (time, weather), at one place for one person, in order with one PET state.
std::vector<RowResult> ComputeSeries(const Site& site, const Person& person,
                                     std::span<const DayTime> times,
                                     std::span<const Weather> weathers, const Settings& settings,
                                     const Horizon& horizon, const IndexSelection& indices,
                                     PetState& pet);

// ---- the daily course ----

// The global radiation over one day in 144 steps of ten minutes of true local time, clear sky
// (max) and under the weather's cloud cover (act).
struct DailyCourse {
    SunDay day;
    float GmaxMax = 0, GactMax = 0;  // maxima, W/m²
    float GmaxSum = 0, GactSum = 0;  // sums, Wh/m²
    float GmaxAvr = 0, GactAvr = 0;  // averages, W/m²
};

// The course of a day. It needs N (otherwise the radiation values are NaN); without a humidity
// the turbidity is that of dry air. An automatic D/G ratio is that of a clear sky (0.2).
DailyCourse ComputeDailyCourse(const Site& site, int dayOfYear, const Weather& weather,
                               const Settings& settings, const Horizon& horizon,
                               SunshineCache* cache = nullptr);

// A day of a batch of daily courses (the horizon outlives the call).
struct DailyJob {
    Site site;
    int dayOfYear = 1;
    Weather weather;
    Settings settings;
    const Horizon* horizon = nullptr;
};

// ComputeDailyCourse for each job, in blocks over the pool's threads: the same bits whatever
// the number of threads.
void ComputeDailyCourses(std::span<const DailyJob> jobs, std::span<DailyCourse> courses,
                         batch::ThreadPool* pool = nullptr, SunshineCache* cache = nullptr);

}  // namespace umbrix
