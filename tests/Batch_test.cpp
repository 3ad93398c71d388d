#include "batch/Batch.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "indices/Mpet.h"
#include "indices/PerceivedTemperature.h"
#include "indices/Pet.h"
#include "indices/Pmv.h"
#include "indices/SetStar.h"
#include "indices/Utci.h"
#include "umbrix/batch.h"
#include "umbrix/thread_pool.h"

using namespace umbrix;

namespace {

constexpr float kMissing = 9999.0f;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Every quantity of a batch, one value per element.
struct Inputs {
    std::vector<double> ta, vp, v, tmrt, p, clothing, activity, height, weight, age;
    std::vector<int> sex, position;

    std::size_t size() const { return ta.size(); }
    batch::coded::Weather weather() const { return {ta, vp, v, tmrt}; }
    batch::coded::Person person() const {
        return {sex, position, age, height, weight, clothing, activity};
    }
    std::vector<double>* column(int c) {
        std::vector<double>* all[] = {&ta,       &vp,       &v,      &tmrt,   &p,
                                      &clothing, &activity, &height, &weight, &age};
        return all[c];
    }
    static constexpr int kColumns = 10;

    // Appends a copy of element i and returns the copy's index.
    std::size_t repeat(std::size_t i) {
        for (int c = 0; c < kColumns; ++c) {
            const double x = (*column(c))[i];
            column(c)->push_back(x);
        }
        const int s = sex[i], pos = position[i];
        sex.push_back(s);
        position.push_back(pos);
        return size() - 1;
    }
};

using Draw = std::function<double(double, double)>;

// n elements drawn inside the index's range by fill, followed by the edge cases: each quantity
// of the first element replaced in turn by a value no weather or person has.
Inputs Make(std::size_t n, const std::function<void(Inputs&, const Draw&)>& fill) {
    std::mt19937_64 random(20260607);
    const Draw uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    Inputs in;
    for (std::size_t i = 0; i < n; ++i) fill(in, uniform);
    for (int c = 0; c < Inputs::kColumns; ++c) {
        for (double bad : {kNaN, kInf, -kInf, double(kMissing), -double(kMissing), 0.0, -1.0, 1e30,
                           -1e30, 1e-300})
            (*in.column(c))[in.repeat(0)] = bad;
    }
    // codes no person has
    for (int code : {0, 3, -1}) {
        const std::size_t i = in.repeat(1);
        in.sex[i] = in.position[i] = code;
    }
    return in;
}

template <class T>
bool SameObject(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Radiation has padding after its flag, whose bytes no one sets: compare its members.
bool SameObject(const Radiation& a, const Radiation& b) {
    const auto values = [](const Radiation& r) {
        return std::array{r.turbidity, r.G0, r.S0, r.D0, r.G,  r.S,
                          r.D,         r.A,  r.E,  r.Q,  r.Ts, r.Tmrt};
    };
    const auto x = values(a), y = values(b);
    return a.sunHidden == b.sunHidden &&
           std::memcmp(x.data(), y.data(), sizeof(float) * x.size()) == 0;
}

template <class T>
void ExpectSameBits(const std::vector<T>& rows, const std::vector<T>& batch,
                    const std::string& what) {
    ASSERT_EQ(rows.size(), batch.size());
    int differ = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (SameObject(rows[i], batch[i])) continue;
        if (++differ <= 3) ADD_FAILURE() << what << ": element " << i << " differs";
    }
    EXPECT_EQ(differ, 0) << what;
}

// The batch against the rows on every SIMD target of this processor, alone and with two
// threads.
template <class T>
void ExpectBatchGivesRows(const std::vector<T>& rows,
                          const std::function<void(std::vector<T>&, batch::ThreadPool*)>& run,
                          bool simd) {
    batch::ThreadPool two(2);
    const std::vector<int64_t> targets =
        simd ? hwy::SupportedAndGeneratedTargets() : std::vector<int64_t>{0};
    for (int64_t target : targets) {
        hwy::SetSupportedTargetsForTest(target);
        for (batch::ThreadPool* pool : {static_cast<batch::ThreadPool*>(nullptr), &two}) {
            std::vector<T> out(rows.size());
            run(out, pool);
            ExpectSameBits(rows, out, batch::SimdTarget() + (pool ? ", 2 threads" : ", 1 thread"));
        }
    }
    hwy::SetSupportedTargetsForTest(0);
}

constexpr std::size_t kRandom = 100000;

void DrawPerson(Inputs& in, const Draw& draw) {
    in.clothing.push_back(draw(0.0, 3.0));
    in.activity.push_back(draw(0.0, 300.0));
    in.height.push_back(draw(1.2, 2.1));
    in.weight.push_back(draw(30.0, 150.0));
    in.age.push_back(draw(5.0, 90.0));
    in.sex.push_back(draw(0, 1) < 0.5 ? 1 : 2);
    in.position.push_back(draw(0, 1) < 0.5 ? 1 : 2);
    in.p.push_back(draw(700.0, 1100.0));
}

// Air from frost to heat; vapour pressure up to saturation.
void DrawWeather(Inputs& in, const Draw& draw) {
    const double ta = draw(-30.0, 45.0);
    in.ta.push_back(ta);
    in.vp.push_back(draw(0.02, 1.0) * 6.112 * std::exp(17.62 * ta / (243.12 + ta)));
    in.v.push_back(draw(0.0, 12.0));
    in.tmrt.push_back(ta + draw(-20.0, 55.0));
    DrawPerson(in, draw);
}

}  // namespace

// The whole range of the regression and its edges, where the result turns into the default.
TEST(Batch, UtciGivesTheRowFunctionsBits) {
    Inputs in = Make(kRandom, [](Inputs& in, const Draw& draw) {
        const double ta = draw(-50.0, 50.0);
        in.ta.push_back(ta);
        in.vp.push_back(draw(0.0, 50.0));
        in.v.push_back(draw(0.5, 17.0) / UtciWind10m(1.0));
        in.tmrt.push_back(ta + draw(-30.0, 70.0));
        DrawPerson(in, draw);
    });
    for (double ta : {-50.0, 50.0, std::nextafter(-50.0, -51.0), std::nextafter(50.0, 51.0)}) {
        const std::size_t i = in.repeat(0);
        in.ta[i] = ta;
        in.tmrt[i] = ta + 10.0;
    }
    for (double d : {-30.0, 70.0}) {  // Tmrt - Ta just outside
        const std::size_t i = in.repeat(0);
        in.tmrt[i] = in.ta[i] + d;
    }
    for (double vp : {0.0, 50.0, std::nextafter(50.0, 51.0), -1e-9}) in.vp[in.repeat(0)] = vp;
    // 10 m wind just inside and outside 0.5 and 17 m/s
    for (double va : {0.5, 17.0, 0.4999999, 17.000001}) in.v[in.repeat(0)] = va / UtciWind10m(1.0);
    std::vector<double> rows(in.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = ComputeUtci(in.ta[i], in.vp[i], in.tmrt[i], in.v[i], kMissing);
    ExpectBatchGivesRows<double>(
        rows,
        [&](std::vector<double>& out, batch::ThreadPool* pool) {
            batch::coded::Utci(in.weather(), out, kMissing, pool);
        },
        true);
}

TEST(Batch, PmvGivesTheRowFunctionsBits) {
    Inputs in = Make(kRandom, DrawWeather);
    for (double age : {-0.5, 2147483647.5, 2147483648.0, -2147483648.5, -2147483649.0})
        in.age[in.repeat(0)] = age;
    // still air, where the natural-convection pass runs
    for (double v : {0.0, 0.05, 0.1}) in.v[in.repeat(2)] = v;
    std::vector<double> rows(in.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const double age = in.age[i];
        // an age with no whole number of years in an int has no row: the batch gives the
        // default
        rows[i] =
            age > -2147483649.0 && age < 2147483648.0
                ? ComputePmv(in.sex[i], int(age), float(in.ta[i]), float(in.vp[i]), float(in.v[i]),
                             float(in.tmrt[i]), float(in.clothing[i]), float(in.activity[i]),
                             float(in.height[i]), float(in.weight[i]), kMissing)
                : double(kMissing);
    }
    ExpectBatchGivesRows<double>(
        rows,
        [&](std::vector<double>& out, batch::ThreadPool* pool) {
            batch::coded::Pmv(in.weather(), in.person(), out, kMissing, pool);
        },
        true);

    // one person for every element, as in a data-file run
    const int sex = 2;
    const double age = 61, height = 1.62, weight = 58, clothing = 1.1, activity = 40;
    const batch::coded::Person one{{&sex, 1},    {&sex, 1},      {&age, 1},     {&height, 1},
                                   {&weight, 1}, {&clothing, 1}, {&activity, 1}};
    const std::size_t n = 5000;
    for (std::size_t i = 0; i < n; ++i)
        rows[i] = ComputePmv(sex, int(age), float(in.ta[i]), float(in.vp[i]), float(in.v[i]),
                             float(in.tmrt[i]), float(clothing), float(activity), float(height),
                             float(weight), kMissing);
    rows.resize(n);
    const batch::coded::Weather weather{std::span(in.ta).first(n), std::span(in.vp).first(n),
                                        std::span(in.v).first(n), std::span(in.tmrt).first(n)};
    ExpectBatchGivesRows<double>(
        rows,
        [&](std::vector<double>& out, batch::ThreadPool* pool) {
            batch::coded::Pmv(weather, one, out, kMissing, pool);
        },
        true);
}

TEST(Batch, PtGivesTheRowFunctionsBits) {
    Inputs in = Make(kRandom, DrawWeather);
    std::vector<double> rows(in.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] =
            ComputePt(0, "none", in.ta[i], in.vp[i], in.tmrt[i], in.v[i], in.p[i], 0.9, kMissing);
    ExpectBatchGivesRows<double>(
        rows,
        [&](std::vector<double>& out, batch::ThreadPool* pool) {
            batch::coded::Pt(in.weather(), in.p, out, kMissing, pool);
        },
        true);
}

// Both standard environments; relative humidity in the p column's place.
TEST(Batch, SetStarGivesTheRowFunctionsBits) {
    Inputs in = Make(kRandom / 4, [](Inputs& in, const Draw& draw) {
        DrawWeather(in, draw);
        in.p.back() = draw(0.0, 100.0);
        in.activity.back() = draw(40.0, 300.0);
    });
    // still air, dry and saturated air, heavy work in humid heat where the transient runs away
    for (double v : {0.0, 0.1}) in.v[in.repeat(2)] = v;
    for (double rh : {0.0, 100.0}) in.p[in.repeat(3)] = rh;
    const std::size_t hot = in.repeat(4);
    in.ta[hot] = 47, in.tmrt[hot] = 55.3, in.p[hot] = 83.4, in.v[hot] = 1.8;
    in.clothing[hot] = 0.3, in.activity[hot] = 237.9;
    for (auto standard :
         {SetStandardEnvironment::ActivityDependent, SetStandardEnvironment::Sedentary}) {
        const bool sedentary = standard == SetStandardEnvironment::Sedentary;
        std::vector<double> rows(in.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] =
                ComputeSetStar(0, float(in.ta[i]), float(in.tmrt[i]), float(in.p[i]),
                               float(in.v[i]), float(in.clothing[i]), 35, float(in.height[i]),
                               float(in.weight[i]), float(in.activity[i]), kMissing, standard);
        ExpectBatchGivesRows<double>(
            rows,
            [&](std::vector<double>& out, batch::ThreadPool* pool) {
                batch::coded::SetStar(in.weather(), in.p, in.person(), sedentary, out, kMissing,
                                      pool);
            },
            true);
    }
}

// The public form derives RH from Ta and VP as the row function does for a weather without RH.
TEST(Batch, PublicSetStarTakesTheVapourPressure) {
    Inputs in = Make(500, DrawWeather);
    const std::size_t n = 500;
    const Person person;
    std::vector<double> rows(n), out(n);
    for (std::size_t i = 0; i < n; ++i) {
        Weather w;
        w.Ta = in.ta[i], w.VP = in.vp[i], w.RH = kNaN, w.v = in.v[i], w.Tmrt = in.tmrt[i];
        rows[i] = SetStar(w, person, SetStarStandard::Sedentary);
    }
    const Sex sex = person.sex;
    const Posture posture = person.posture;
    const batch::Person p{
        {&sex, 1},           {&posture, 1},         {&person.age, 1},     {&person.height, 1},
        {&person.weight, 1}, {&person.clothing, 1}, {&person.activity, 1}};
    const auto first = [&](const std::vector<double>& c) { return std::span(c).first(n); };
    batch::SetStar({first(in.ta), first(in.vp), first(in.v), first(in.tmrt)}, p,
                   SetStarStandard::Sedentary, out);
    ExpectSameBits(rows, out, "public SET*");
    // a VP column of another length is refused, naming it
    EXPECT_THROW(
        batch::SetStar({first(in.ta), std::span(in.vp).first(2), first(in.v), first(in.tmrt)}, p,
                       SetStarStandard::Sedentary, out),
        std::invalid_argument);
}

// Places, moments, weathers and settings that vary per element, through a horizon with
// obstructions; given G, Ts and Tmrt in some elements, and weathers out of range.
TEST(Batch, RadiationGivesTheRowFunctionsBits) {
    std::mt19937_64 random(19);
    const auto draw = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    const auto sometimes = [&](double lo, double hi) {
        return draw(0, 1) < 0.2 ? draw(lo, hi) : kNaN;
    };
    constexpr std::size_t n = 20000;
    std::vector<double> lon, lat, alt, zone, hours, ta, vp, rh, v, cloud, g, d, ts, tmrt;
    std::vector<int> day;
    std::vector<Settings> settings;
    for (std::size_t i = 0; i < n; ++i) {
        lon.push_back(draw(-180, 360)), lat.push_back(draw(-90, 90)), alt.push_back(draw(0, 4000));
        zone.push_back(std::round(draw(-12, 14))), day.push_back(int(draw(1, 366)));
        hours.push_back(draw(0, 24));
        const double t = draw(-30, 45);
        ta.push_back(t);
        const bool givenVp = draw(0, 1) < 0.5;
        vp.push_back(givenVp ? draw(0.05, 1.02) * humidity::SaturationVapourPressure(t) : kNaN);
        rh.push_back(givenVp ? kNaN : draw(1, 100));
        v.push_back(draw(0, 10)), cloud.push_back(std::round(draw(0, 8)));
        g.push_back(sometimes(0, 1000)), d.push_back(sometimes(0, 300));
        ts.push_back(sometimes(-20, 60)), tmrt.push_back(sometimes(-20, 70));
        Settings s;
        s.albedo = draw(0, 1), s.bowen = draw(-0.5, 5), s.albedoHuman = draw(0, 1);
        if (draw(0, 1) < 0.3) s.turbidity = draw(1, 10);
        if (draw(0, 1) < 0.3) s.diffuseRatio = draw(0, 1);
        s.reduceGByObstacles = draw(0, 1) < 0.5;
        s.tmrtFromHorizontalDirect = draw(0, 1) < 0.2;
        settings.push_back(s);
    }
    const Horizon horizon =
        Horizon::FromProfile({30, {10, 40, 5, 0, 60, 20, 15, 30, 0, 45, 10, 25}});
    std::vector<Radiation> rows(n);
    for (std::size_t i = 0; i < n; ++i) {
        Site site;
        site.longitude = lon[i], site.latitude = lat[i], site.altitude = alt[i];
        site.timeZone = zone[i];
        Weather w;
        w.Ta = ta[i], w.VP = vp[i], w.RH = rh[i], w.v = v[i], w.N = cloud[i], w.G = g[i];
        w.D = d[i], w.Ts = ts[i], w.Tmrt = tmrt[i];
        rows[i] = ComputeRadiation(site, {day[i], hours[i]}, w, settings[i], horizon);
    }
    const batch::SiteTime where{lon, lat, alt, zone, day, hours};
    const batch::RadiationWeather weather{ta, vp, rh, v, cloud, g, d, ts, tmrt};
    ExpectBatchGivesRows<Radiation>(
        rows,
        [&](std::vector<Radiation>& out, batch::ThreadPool* pool) {
            batch::Radiation(where, weather, settings, horizon, out, pool);
        },
        false);
    // one place and one setting for all
    const double one = 48.0, zero = 0.0, two = 1.0;
    const Settings preset;
    for (std::size_t i = 0; i < n; ++i) {
        Site site;
        site.latitude = one, site.timeZone = two;
        Weather w;
        w.Ta = ta[i], w.VP = vp[i], w.RH = rh[i], w.v = v[i], w.N = cloud[i], w.G = g[i];
        w.D = d[i], w.Ts = ts[i], w.Tmrt = tmrt[i];
        rows[i] = ComputeRadiation(site, {day[i], hours[i]}, w, preset, horizon);
    }
    std::vector<Radiation> out(n);
    batch::Radiation({{&zero, 1}, {&one, 1}, {&zero, 1}, {&two, 1}, day, hours}, weather,
                     {&preset, 1}, horizon, out);
    ExpectSameBits(rows, out, "one place");
    EXPECT_THROW(batch::Radiation({lon, lat, alt, std::span(zone).first(2), day, hours}, weather,
                                  settings, horizon, out),
                 std::invalid_argument);
}

// PET carries working state from one element to the next; the batch gives what one model
// gives row by row, also where an element reads that state (sex codes other than 1 and 2
// keep the metabolic rate of the element before), and leaves the model in the same state.
TEST(Batch, PetGivesTheRowsOfOneModel) {
    Inputs in = Make(kRandom, [](Inputs& in, const Draw& draw) {
        DrawWeather(in, draw);
        in.clothing.back() = draw(0.05, 2.5);
        if (draw(0, 1) < 0.01) in.sex.back() = 3;
    });
    auto row = [&](PetModel& model, std::size_t i) {
        return model.ComputePet(in.sex[i], in.position[i], float(in.ta[i]), float(in.vp[i]),
                                float(in.v[i]), float(in.tmrt[i]), float(in.clothing[i]),
                                float(in.activity[i]), float(in.height[i]), float(in.weight[i]),
                                float(in.age[i]), kMissing);
    };
    PetModel sequential;
    std::vector<PetDetails> rows(in.size());
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = row(sequential, i);
    const PetDetails after = row(sequential, in.size() - 2);  // a sex code 3: reads the state

    ExpectBatchGivesRows<PetDetails>(
        rows,
        [&](std::vector<PetDetails>& out, batch::ThreadPool* pool) {
            PetModel model;
            batch::coded::Pet(in.weather(), in.person(), out, kMissing, model, pool);
            const PetDetails next = row(model, in.size() - 2);
            EXPECT_EQ(std::memcmp(&next, &after, sizeof next), 0) << "state after the batch";
        },
        true);
}

TEST(Batch, MpetGivesTheRowFunctionsBits) {
    // every clothing case (the batch runs the elements of a case side by side), humid heat
    // with vapour pressures above 50 hPa; each element a full body model of 1200 steps
    Inputs in = Make(400, [](Inputs& in, const Draw& draw) {
        DrawWeather(in, draw);
        in.clothing.back() = draw(0.1, 3.0);
    });
    for (bool autoClothing : {false, true}) {
        const batch::coded::MpetOptions options{autoClothing, 37.0f, 33.5f};
        std::vector<MpetDetails> rows(in.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = ComputeMpet(in.sex[i], in.position[i], autoClothing, float(in.ta[i]),
                                  float(in.vp[i]), float(in.v[i]), float(in.tmrt[i]),
                                  float(in.clothing[i]), float(in.activity[i]), float(in.height[i]),
                                  float(in.weight[i]), float(in.age[i]), options.tc0, options.tsk0,
                                  kMissing);
        ExpectBatchGivesRows<MpetDetails>(
            rows,
            [&](std::vector<MpetDetails>& out, batch::ThreadPool* pool) {
                batch::coded::Mpet(in.weather(), in.person(), options, out, kMissing, pool);
            },
            true);
    }
}

TEST(Batch, MpetBatchesOfAnySizeAndOrderOfCases) {
    // cases alternating element by element and batches that end inside a vector, inside a
    // piece of one case or just after one: every lane's element comes back to its place
    Inputs all = Make(70, [](Inputs& in, const Draw& draw) {
        DrawWeather(in, draw);
        const double clothing[] = {0.4, 1.0, 2.3, 0.8, 1.4, 1.8};
        in.clothing.back() = clothing[in.size() % 6];
    });
    const batch::coded::MpetOptions options{false, 36.8f, 34.0f};
    std::vector<MpetDetails> rows(all.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] =
            ComputeMpet(all.sex[i], all.position[i], false, float(all.ta[i]), float(all.vp[i]),
                        float(all.v[i]), float(all.tmrt[i]), float(all.clothing[i]),
                        float(all.activity[i]), float(all.height[i]), float(all.weight[i]),
                        float(all.age[i]), options.tc0, options.tsk0, kMissing);
    batch::ThreadPool two(2);
    for (std::size_t n : {1, 2, 5, 9, 33, 70}) {
        batch::coded::Weather w{std::span(all.ta).first(n), std::span(all.vp).first(n),
                                std::span(all.v).first(n), std::span(all.tmrt).first(n)};
        batch::coded::Person p{std::span(all.sex).first(n),     std::span(all.position).first(n),
                               std::span(all.age).first(n),     std::span(all.height).first(n),
                               std::span(all.weight).first(n),  std::span(all.clothing).first(n),
                               std::span(all.activity).first(n)};
        std::vector<MpetDetails> out(n);
        batch::coded::Mpet(w, p, options, out, kMissing, n % 2 ? &two : nullptr);
        ExpectSameBits(std::vector<MpetDetails>(rows.begin(), rows.begin() + n), out,
                       std::to_string(n) + " elements");
    }
}

TEST(Batch, ColumnsOfAnotherLengthAreRefused) {
    const std::vector<double> three = {20, 21, 22}, two = {50, 60}, one = {1.0};
    std::vector<double> out(3, -1.0);
    const batch::coded::Weather wrong{three, two, one, three};
    try {
        batch::coded::Utci(wrong, out, kMissing);
        FAIL() << "no error";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("vp"), std::string::npos) << e.what();
    }
    EXPECT_EQ(out, std::vector<double>(3, -1.0));  // nothing written
    const batch::coded::Weather empty{three, {}, one, three};
    EXPECT_THROW(batch::coded::Utci(empty, out, kMissing), std::invalid_argument);
    // no elements, nothing to read
    std::vector<double> none;
    EXPECT_NO_THROW(batch::coded::Utci(empty, none, kMissing));
}

TEST(Batch, PoolRunsEveryBlockOnceAndPassesOnAFailure) {
    batch::ThreadPool pool(2);
    EXPECT_EQ(pool.size(), 2u);
    for (std::size_t n : {1u, 7u, 1000u}) {
        std::vector<std::atomic<int>> seen(n);
        pool.forEachBlock(n, 3, [&](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) ++seen[i];
            // a block that asks the pool again runs its part in place
            pool.forEachBlock(2, 1, [](std::size_t, std::size_t) {});
        });
        for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(seen[i], 1) << n << " " << i;
    }
    EXPECT_THROW(pool.forEachBlock(100, 1,
                                   [](std::size_t begin, std::size_t) {
                                       if (begin == 42) throw std::runtime_error("block 42");
                                   }),
                 std::runtime_error);
    // and stays usable
    std::atomic<std::size_t> sum = 0;
    pool.forEachBlock(10, 2, [&](std::size_t begin, std::size_t end) { sum += end - begin; });
    EXPECT_EQ(sum, 10u);
}
