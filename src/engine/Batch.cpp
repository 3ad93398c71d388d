// The public batch functions: the person's enums as the index models' codes, NaN as the missing
// value, over the coded batch layer.
#include "batch/Batch.h"

#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "solar/Humidity.h"
#include "umbrix/batch.h"

namespace umbrix::batch {

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

coded::Weather Coded(const Weather& w) {
    return {w.Ta, w.VP, w.v, w.Tmrt};
}

// The codes live as long as the coded person that points at them.
struct CodedPerson {
    std::vector<int> sex, position;
    coded::Person person;

    explicit CodedPerson(const Person& p) {
        sex.reserve(p.sex.size());
        for (Sex s : p.sex) sex.push_back(s == Sex::Female ? 2 : 1);
        position.reserve(p.posture.size());
        for (Posture s : p.posture) position.push_back(s == Posture::Sitting ? 2 : 1);
        person = {sex, position, p.age, p.height, p.weight, p.clothing, p.activity};
    }
};

template <class T>
void CheckLength(std::span<const T> column, std::size_t n, const char* name) {
    if (column.size() != 1 && column.size() != n)
        throw std::invalid_argument(std::string("batch: column ") + name + " has " +
                                    std::to_string(column.size()) + " values for " +
                                    std::to_string(n) + " elements");
}

// Element i of a column of one value per element or one for all.
template <class T>
const T& At(std::span<const T> column, std::size_t i) {
    return column[column.size() == 1 ? 0 : i];
}

// RH, %, of each element from Ta and VP, as the row function takes it (4-byte floats): one
// value when both are one.
std::vector<double> RelativeHumidity(const Weather& w, std::size_t n) {
    CheckLength(w.Ta, n, "ta");
    CheckLength(w.VP, n, "vp");
    const std::size_t count = w.Ta.size() == 1 && w.VP.size() == 1 ? 1 : n;
    std::vector<double> rh(count);
    for (std::size_t i = 0; i < count; ++i)
        rh[i] = float(RelHumidityFromVapour(float(At(w.Ta, i)), float(At(w.VP, i))));
    return rh;
}

}  // namespace

void Utci(const Weather& weather, std::span<double> utci, ThreadPool* pool) {
    coded::Utci(Coded(weather), utci, kNaN, pool);
}

void Pmv(const Weather& weather, const Person& person, std::span<double> pmv, ThreadPool* pool) {
    const CodedPerson p(person);
    coded::Pmv(Coded(weather), p.person, pmv, kNaN, pool);
}

void PerceivedTemperature(const Weather& weather, Column airPressure, std::span<double> pt,
                          ThreadPool* pool) {
    coded::Pt(Coded(weather), airPressure, pt, kNaN, pool);
}

void SetStar(const Weather& weather, const Person& person, SetStarStandard standard,
             std::span<double> setStar, ThreadPool* pool) {
    if (setStar.empty()) return;
    const std::vector<double> rh = RelativeHumidity(weather, setStar.size());
    const CodedPerson p(person);
    coded::SetStar(Coded(weather), rh, p.person, standard == SetStarStandard::Sedentary, setStar,
                   kNaN, pool);
}

void Pet(const Weather& weather, const Person& person, std::span<PetDetails> pet, PetState& state,
         ThreadPool* pool) {
    const CodedPerson p(person);
    coded::Pet(Coded(weather), p.person, pet, kNaN, state.model(), pool);
}

void Mpet(const Weather& weather, const Person& person, bool autoClothing,
          std::span<MpetDetails> mpet, ThreadPool* pool, const MpetOptions& options) {
    const CodedPerson p(person);
    coded::Mpet(Coded(weather), p.person, {autoClothing, options.tc0, options.tsk0}, mpet, kNaN,
                pool);
}

void Radiation(const SiteTime& where, const RadiationWeather& weather,
               std::span<const Settings> settings, const Horizon& horizon,
               std::span<umbrix::Radiation> radiation, ThreadPool* pool) {
    const std::size_t n = radiation.size();
    if (n == 0) return;
    const std::pair<Column, const char*> columns[] = {{where.longitude, "longitude"},
                                                      {where.latitude, "latitude"},
                                                      {where.altitude, "altitude"},
                                                      {where.timeZone, "timeZone"},
                                                      {where.hours, "hours"},
                                                      {weather.Ta, "Ta"},
                                                      {weather.VP, "VP"},
                                                      {weather.RH, "RH"},
                                                      {weather.v, "v"},
                                                      {weather.N, "N"},
                                                      {weather.G, "G"},
                                                      {weather.D, "D"},
                                                      {weather.Ts, "Ts"},
                                                      {weather.Tmrt, "Tmrt"}};
    for (const auto& [column, name] : columns) CheckLength(column, n, name);
    CheckLength(where.dayOfYear, n, "dayOfYear");
    CheckLength(settings, n, "settings");
    const auto body = [&](std::size_t begin, std::size_t end) {
        Site site;
        DayTime time;
        umbrix::Weather w;
        for (std::size_t i = begin; i < end; ++i) {
            site.longitude = At(where.longitude, i), site.latitude = At(where.latitude, i);
            site.altitude = At(where.altitude, i), site.timeZone = At(where.timeZone, i);
            time.dayOfYear = At(where.dayOfYear, i), time.hours = At(where.hours, i);
            w.Ta = At(weather.Ta, i), w.VP = At(weather.VP, i), w.RH = At(weather.RH, i);
            w.v = At(weather.v, i), w.N = At(weather.N, i), w.G = At(weather.G, i);
            w.D = At(weather.D, i), w.Ts = At(weather.Ts, i), w.Tmrt = At(weather.Tmrt, i);
            radiation[i] = ComputeRadiation(site, time, w, At(settings, i), horizon);
        }
    };
    // some hundred elements per block: each is a few microseconds
    if (pool)
        pool->forEachBlock(n, 256, body);
    else
        body(0, n);
}

std::string SimdTarget() {
    return coded::SimdTargetName();
}

}  // namespace umbrix::batch
