// Rows, series and the daily course of the engine: the sun, the day, the radiation step, Tmrt
// and the indices composed as the table rows compose them.
#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "batch/Batch.h"
#include "engine/HorizonData.h"
#include "engine/Internal.h"
#include "solar/RadiationStep.h"
#include "solar/SunPosition.h"
#include "umbrix/thread_pool.h"

namespace umbrix {

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Ten-minute steps of the daily course
constexpr int kDailySteps = 144;

void ComputeIndices(RowResult& r, const engine::Air& a, const Person& person,
                    const Settings& settings, const IndexSelection& sel, PetState& pet) {
    using namespace engine;
    if (!InRange(person)) return;
    const Body body = BodyOf(person);
    // in this order: PET carries state from one calculation to the next
    if (sel.pmv) r.PMV = float(PmvOf(a, body));
    if (sel.pet) {
        r.pet = PetOf(a, body, pet);
        r.PET = r.pet.PET;
    }
    if (sel.setStar) r.SET = float(SetStarOf(a, body, settings.setStarSedentary));
    if (sel.utci) r.UTCI = float(UtciOf(a.Ta, a.VP, a.Tmrt, a.v));
    if (sel.pt) r.PT = float(PtOf(a.Ta, a.VP, a.Tmrt, a.v, 1013));
    if (sel.mpet) {
        r.mpet = MpetOf(a, body);
        r.mPET = r.mpet.mPET;
    }
}

// Rows whose indices were computed (ComputeIndices), in order, as the batch engine's columns.
struct Columns {
    std::vector<std::size_t> row;
    std::vector<double> ta, vp, rh, v, tmrt, age, height, weight, clothing, activity;
    std::vector<int> sex, position;
    void add(std::size_t i, const RowResult& r, const engine::Body& b) {
        row.push_back(i);
        ta.push_back(r.Ta), vp.push_back(r.VP), rh.push_back(r.RH), v.push_back(r.v);
        tmrt.push_back(r.Tmrt), age.push_back(float(b.age)), height.push_back(b.height);
        weight.push_back(b.weight), clothing.push_back(b.clothing);
        activity.push_back(b.activity), sex.push_back(b.sex), position.push_back(b.position);
    }
    batch::coded::Weather weather() const { return {ta, vp, v, tmrt}; }
    batch::coded::Person person() const {
        return {sex, position, age, height, weight, clothing, activity};
    }
};

// mPET of the rows of c side by side, into those rows.
void MpetOfColumns(const Columns& c, bool autoClothing, std::span<RowResult> rows,
                   batch::ThreadPool* pool) {
    std::vector<MpetDetails> out(c.row.size());
    batch::coded::Mpet(c.weather(), c.person(),
                       {autoClothing, engine::kInitialCore, engine::kInitialSkin}, out, kNaN, pool);
    for (std::size_t k = 0; k < out.size(); ++k) {
        rows[c.row[k]].mpet = out[k];
        rows[c.row[k]].mPET = out[k].mPET;
    }
}

// ComputeRow with the row's day given.
RowResult RowOfDay(const RowInputs& in, const Settings& settings, const Horizon& horizon,
                   const IndexSelection& indices, PetState& pet, const SunDay& d) {
    using namespace engine;
    RowResult r;
    const Place p = PlaceOf(in.site);
    const int day = in.time.dayOfYear;
    const SunPosition sun = SunAt(p, day, float(in.time.hours));
    r.trueTime = sun.trueTime;
    r.Z = sun.Z;
    r.azimuth = sun.azimuth;
    r.sunrise = d.sunrise;
    r.sunset = d.sunset;
    r.SDmax = d.SDmax;
    r.SDact = d.SDact;
    r.SVF = horizon.skyViewFactor();
    r.SVFcos = horizon.skyViewFactorCos();
    const HorizonView view{horizon.skyViewFactor(),
                           [&horizon](double Z, double A) { return horizon.isSunHidden(Z, A); }};
    ComputeRowWeather(r, in, p, settings, view, indices, pet);
    return r;
}

}  // namespace

namespace engine {

void ComputeRowWeather(RowResult& r, const RowInputs& in, const Place& p, const Settings& settings,
                       const HorizonView& horizon, const IndexSelection& indices, PetState& pet) {
    const int day = in.time.dayOfYear;
    Air a = AirOf(in.weather);
    // a value outside its range is never computed with
    const bool inRange = InRange(p, in.site, day, a) && InRange(settings);
    const Humidity h = Couple(a.Ta, a.VP, a.RH);
    a.VP = h.VP;
    a.RH = h.RH;
    r.Ta = a.Ta;
    r.VP = a.VP;
    r.RH = a.RH;
    r.v = a.v;
    r.N = a.N;
    if (!inRange || !h.valid || !Complete(a)) return;

    const Radiation rad = RadiationAt(p, day, r.trueTime, a, settings, horizon);
    r.turbidity = rad.turbidity;
    r.G0 = rad.G0;
    r.S0 = rad.S0;
    r.D0 = rad.D0;
    r.G = rad.G;
    r.S = rad.S;
    r.D = rad.D;
    r.A = rad.A;
    r.E = rad.E;
    r.Q = rad.Q;
    r.Ts = rad.Ts;
    r.Tmrt = rad.Tmrt;
    // a Tmrt that is no number (the surface balance diverges for a Bowen ratio near -0.9)
    // leaves the indices undefined
    if (std::isnan(r.Tmrt)) return;
    a.G = r.G;
    a.Ts = r.Ts;
    a.Tmrt = r.Tmrt;
    ComputeIndices(r, a, in.person, settings, indices, pet);
}

void MpetOfRows(std::span<RowResult> rows, std::span<const std::size_t> which, const Person& person,
                batch::ThreadPool* pool) {
    const Body body = BodyOf(person);
    Columns c;
    for (std::size_t k : which) c.add(k, rows[k], body);
    MpetOfColumns(c, body.autoClothing, rows, pool);
}

}  // namespace engine

void ComputeRows(std::span<const RowJob> jobs, std::span<RowResult> rows, PetState& pet,
                 batch::ThreadPool* pool, SunshineCache* cache) {
    using namespace engine;
    const std::size_t n = jobs.size();
    if (rows.size() != n)
        throw std::invalid_argument("rows: " + std::to_string(rows.size()) + " results for " +
                                    std::to_string(n) + " jobs");
    // the days in order, so that the rows of a day share its sun track
    std::vector<SunDay> days(n);
    for (std::size_t i = 0; i < n; ++i)
        days[i] = jobs[i].day ? *jobs[i].day
                              : DayAt(PlaceOf(jobs[i].inputs.site), jobs[i].inputs.time.dayOfYear,
                                      *jobs[i].horizon, cache);
    // every row apart, without the indices the batch engine takes over
    const auto apart = [&](std::size_t begin, std::size_t end) {
        PetState unused;
        for (std::size_t i = begin; i < end; ++i) {
            IndexSelection sel = jobs[i].indices;
            sel.pet = sel.setStar = sel.mpet = false;
            rows[i] =
                RowOfDay(jobs[i].inputs, jobs[i].settings, *jobs[i].horizon, sel, unused, days[i]);
        }
    };
    if (pool)
        pool->forEachBlock(n, 64, apart);
    else
        apart(0, n);

    Columns setStar[2], petRows, mpetRows[2];
    for (std::size_t i = 0; i < n; ++i) {
        const RowJob& job = jobs[i];
        if (std::isnan(rows[i].Tmrt) || !InRange(job.inputs.person)) continue;
        const Body body = BodyOf(job.inputs.person);
        if (job.indices.setStar) setStar[job.settings.setStarSedentary].add(i, rows[i], body);
        if (job.indices.pet) petRows.add(i, rows[i], body);
        if (job.indices.mpet) mpetRows[body.autoClothing].add(i, rows[i], body);
    }
    for (int sedentary = 0; sedentary < 2; ++sedentary) {
        const Columns& c = setStar[sedentary];
        std::vector<double> out(c.row.size());
        batch::coded::SetStar(c.weather(), c.rh, c.person(), sedentary, out, kNaN, pool);
        for (std::size_t k = 0; k < out.size(); ++k) rows[c.row[k]].SET = float(out[k]);
    }
    for (int autoClothing = 0; autoClothing < 2; ++autoClothing)
        MpetOfColumns(mpetRows[autoClothing], autoClothing == 1, rows, pool);
    std::vector<PetDetails> pets(petRows.row.size());
    batch::coded::Pet(petRows.weather(), petRows.person(), pets, kNaN, pet.model(), pool);
    for (std::size_t k = 0; k < pets.size(); ++k) {
        rows[petRows.row[k]].pet = pets[k];
        rows[petRows.row[k]].PET = pets[k].PET;
    }
}

RowResult ComputeRow(const RowInputs& in, const Settings& settings, const Horizon& horizon,
                     const IndexSelection& indices, PetState& pet, SunshineCache* cache) {
    const engine::Place p = engine::PlaceOf(in.site);
    return RowOfDay(in, settings, horizon, indices, pet,
                    engine::DayAt(p, in.time.dayOfYear, horizon, cache));
}

std::vector<RowResult> ComputeSeries(const Site& site, const Person& person,
                                     std::span<const DayTime> times,
                                     std::span<const Weather> weathers, const Settings& settings,
                                     const Horizon& horizon, const IndexSelection& indices,
                                     PetState& pet) {
    if (weathers.size() != times.size() && weathers.size() != 1)
        throw std::invalid_argument("series: " + std::to_string(weathers.size()) +
                                    " weathers for " + std::to_string(times.size()) + " times");
    std::vector<RowResult> rows;
    rows.reserve(times.size());
    SunshineCache cache;
    RowInputs in{site, {}, {}, person};
    for (std::size_t i = 0; i < times.size(); ++i) {
        in.time = times[i];
        in.weather = weathers[weathers.size() == 1 ? 0 : i];
        rows.push_back(ComputeRow(in, settings, horizon, indices, pet, &cache));
    }
    return rows;
}

namespace {

// ComputeDailyCourse with the day given.
DailyCourse CourseOfDay(const Site& site, int day, const Weather& weather, const Settings& settings,
                        const Horizon& horizon, const SunDay& sunDay) {
    using namespace engine;
    DailyCourse c;
    const Place p = PlaceOf(site);
    c.day = sunDay;
    Air a = AirOf(weather);
    const bool inRange = InRange(p, site, day, a) && InRange(settings);
    const Humidity h = Couple(a.Ta, a.VP, a.RH);
    if (!inRange || !h.valid || std::isnan(a.N)) {
        // without the cloud cover the actual radiation is unknown
        c.GmaxMax = c.GactMax = c.GmaxSum = c.GactSum = c.GmaxAvr = c.GactAvr = kNaN;
        return c;
    }
    // the Linke turbidity of the point calculation: pre-set, or from day, latitude and RH (a
    // missing RH means no fog)
    const double rh = std::isnan(h.RH) ? 0.0 : double(h.RH);
    const double fogLimit = std::isnan(h.RH) ? std::numeric_limits<double>::infinity()
                                             : double(float(settings.fogLimit));
    const float preset = TurbidityOf(settings);
    const float T = preset >= 0 ? preset : float(AutoLinkeTurbidity(day, p.latitude, rh, fogLimit));
    // The clear-sky course splits with the ratio of a clear sky (G = G0), 0.2, when it is
    // automatic; taken literally, the negative "auto" value would make D negative.
    const float preset_ratio = DiffuseRatioOf(a, settings);
    const float ratio = preset_ratio >= 0 ? preset_ratio : 0.2f;
    const float svf = horizon.skyViewFactor();
    const float n = a.N;
    const SunOfDay sun(day, p.latitude);
    double sumGmax = 0, sumGact = 0;
    float maxGmax = 0, maxGact = 0;
    for (int i = 1; i <= kDailySteps; ++i) {
        const float t = float(i / 6.0);  // true local time, 0:10 … 24:00
        const float Z = float(sun.zenith(t));
        const float A = float(sun.azimuth(t));
        const bool hidden = horizon.isSunHidden(Z, A);
        const float I = float(ClearSkyDirectNormal(day, p.altitude, Z, T));
        const float Gmax = float(ClearSkyGlobal(day, p.altitude, Z, T));
        const float Dmax = ratio * Gmax;
        const float Smax = Gmax - Dmax;
        const float Sact = hidden ? 0.0f : float(CloudyDirect(n, Smax));
        const float Dact = float(CloudyDiffuse(hidden, I, Dmax, Gmax, n, svf));
        const float Gact = Sact + Dact;
        sumGmax += Gmax;
        sumGact += Gact;
        maxGmax = std::max(maxGmax, Gmax);
        maxGact = std::max(maxGact, Gact);
    }
    c.GmaxMax = maxGmax;
    c.GactMax = maxGact;
    c.GmaxSum = float(sumGmax / 6.0);
    c.GactSum = float(sumGact / 6.0);
    c.GmaxAvr = float(sumGmax / kDailySteps);
    c.GactAvr = float(sumGact / kDailySteps);
    return c;
}

}  // namespace

DailyCourse ComputeDailyCourse(const Site& site, int day, const Weather& weather,
                               const Settings& settings, const Horizon& horizon,
                               SunshineCache* cache) {
    return CourseOfDay(site, day, weather, settings, horizon,
                       engine::DayAt(engine::PlaceOf(site), day, horizon, cache));
}

void ComputeDailyCourses(std::span<const DailyJob> jobs, std::span<DailyCourse> courses,
                         batch::ThreadPool* pool, SunshineCache* cache) {
    using namespace engine;
    const std::size_t n = jobs.size();
    if (courses.size() != n)
        throw std::invalid_argument("daily courses: " + std::to_string(courses.size()) +
                                    " results for " + std::to_string(n) + " jobs");
    // the days in order, as the cache is the caller's
    std::vector<SunDay> days(n);
    for (std::size_t i = 0; i < n; ++i)
        days[i] = DayAt(PlaceOf(jobs[i].site), jobs[i].dayOfYear, *jobs[i].horizon, cache);
    const auto apart = [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i)
            courses[i] = CourseOfDay(jobs[i].site, jobs[i].dayOfYear, jobs[i].weather,
                                     jobs[i].settings, *jobs[i].horizon, days[i]);
    };
    // a course is 144 sun positions: some 8 to a block
    if (pool)
        pool->forEachBlock(n, 8, apart);
    else
        apart(0, n);
}

}  // namespace umbrix
