// The public calculation API: what a row without its inputs gives, the horizon sources, series
// and batches against single rows. The tables of the program are compared byte for byte by the
// golden test; these cases cover what only the API shows.
#include "umbrix/engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "umbrix/batch.h"

using namespace umbrix;

namespace {

RowInputs Noon() {
    RowInputs in;
    in.site = {7.85, 48.0, 278, 1.0, "Freiburg"};
    in.time = {172, 13.0};
    in.weather.Ta = 30;
    in.weather.RH = 50;
    in.weather.v = 1.5;
    return in;
}

template <class T>
bool SameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

TEST(Engine, RowWithoutAnInputHasNoComputedValues) {
    PetState pet;
    const RowResult full = ComputeRow(Noon(), {}, Horizon(), {}, pet);
    ASSERT_FALSE(std::isnan(full.Tmrt) || std::isnan(full.PET) || std::isnan(full.mPET));
    struct Case {
        const char* what;
        void (*change)(RowInputs&);
    };
    const Case cases[] = {
        {"no Ta", [](RowInputs& in) { in.weather.Ta = kNotGiven; }},
        {"no humidity", [](RowInputs& in) { in.weather.RH = kNotGiven; }},
        {"no wind", [](RowInputs& in) { in.weather.v = kNotGiven; }},
        {"no cloud cover", [](RowInputs& in) { in.weather.N = kNotGiven; }},
        {"VP above saturation", [](RowInputs& in) { in.weather.VP = 60; }},
        {"G above the day's limit", [](RowInputs& in) { in.weather.G = 1500; }},
        {"Ta outside its range", [](RowInputs& in) { in.weather.Ta = 61; }},
        {"latitude outside its range", [](RowInputs& in) { in.site.latitude = 91; }},
    };
    for (const Case& c : cases) {
        RowInputs in = Noon();
        c.change(in);
        const RowResult r = ComputeRow(in, {}, Horizon(), {}, pet);
        EXPECT_TRUE(std::isnan(r.G) && std::isnan(r.Tmrt) && std::isnan(r.turbidity) &&
                    std::isnan(r.PMV) && std::isnan(r.mpet.Tc))
            << c.what;
        // the sun and the day do not depend on the weather
        if (in.site.latitude == Noon().site.latitude) {
            EXPECT_TRUE(r.Z == full.Z && r.SDact == full.SDact) << c.what;
        }
    }
    // a person outside the ranges leaves the radiation but no index
    RowInputs in = Noon();
    in.person.height = 3;
    const RowResult r = ComputeRow(in, {}, Horizon(), {}, pet);
    EXPECT_EQ(r.Tmrt, full.Tmrt);
    EXPECT_TRUE(std::isnan(r.PMV) && std::isnan(r.PET));
}

TEST(Engine, GivenValuesAndCoupledHumidity) {
    PetState pet;
    RowInputs in = Noon();
    in.weather.G = 500;
    in.weather.D = 400;
    in.weather.Tmrt = 45;
    const RowResult r = ComputeRow(in, {}, Horizon(), {}, pet);
    EXPECT_EQ(r.G, 500.0f);
    EXPECT_NEAR(r.D, 400, 1e-3);  // the measured split D/G, under free sky
    EXPECT_EQ(r.Tmrt, 45.0f);
    // VP leads, RH follows; within 0.05 hPa above saturation the air is saturated
    Weather w;
    w.Ta = 20;
    w.VP = 23.4;
    w.RH = 10;
    const Weather coupled = CoupleHumidity(w);
    EXPECT_EQ(coupled.RH, 100.0);
    EXPECT_LT(coupled.VP, 23.4);
    w.VP = 30;
    EXPECT_TRUE(std::isnan(CoupleHumidity(w).VP));
}

TEST(Engine, ProfileAndObstacleHorizons) {
    // a profile of 30° all round hides a sun lower than that
    HorizonProfile ring{30, std::vector<float>(12, 30.0f)};
    const Horizon profile = Horizon::FromProfile(ring);
    EXPECT_NEAR(profile.skyViewFactor(), 0.5, 1e-6);  // 1 - sin 30°
    EXPECT_TRUE(profile.isSunHidden(70, 180));
    EXPECT_FALSE(profile.isSunHidden(50, 180));
    // free sky hides a sun below the horizon only
    const Horizon free;
    EXPECT_FALSE(free.isSunHidden(89, 10));
    EXPECT_TRUE(free.isSunHidden(90.5, 10));
    EXPECT_NEAR(free.skyViewFactor(), 1.0, 1e-6);
    // a building south of the location hides the noon sun in winter, not in summer
    ObstacleScene scene;
    scene.obstacles.push_back(
        MakeBuilding({{{-20, -5}, {20, -5}, {20, -15}, {-20, -15}}}, 6, 0.3f, 0.95f));
    HorizonSources sources;
    sources.obstacles = &scene;
    const Horizon court = Horizon::FromSources(sources);
    EXPECT_LT(court.skyViewFactor(), 0.95f);
    EXPECT_TRUE(court.isSunHidden(70, 180));
    EXPECT_FALSE(court.isSunHidden(25, 180));
    EXPECT_EQ(court.image().pixels.size(), std::size_t(kFisheyeSize) * kFisheyeSize);
    // the day behind it has fewer sunshine minutes than under free sky
    const Site site{7.85, 48.0, 278, 1.0, ""};
    EXPECT_LT(ComputeSunDay(site, 355, court).SDact, ComputeSunDay(site, 355, free).SDact);
    // terrain above the eye has no horizon
    TerrainWindow terrain;
    terrain.heights.fill(100.0f);
    terrain.z0 = 50;
    sources = {};
    sources.terrain = &terrain;
    EXPECT_THROW(Horizon::FromSources(sources), std::invalid_argument);
}

TEST(Engine, SeriesIsTheRowsInOrderWithOnePetState) {
    const RowInputs base = Noon();
    std::vector<DayTime> times;
    std::vector<Weather> weathers;
    for (int h = 6; h <= 20; h += 2) {
        times.push_back({172, double(h)});
        Weather w = base.weather;
        w.Ta = 15 + h;
        weathers.push_back(w);
    }
    PetState a, b;
    const std::vector<RowResult> series =
        ComputeSeries(base.site, base.person, times, weathers, {}, Horizon(), {}, a);
    ASSERT_EQ(series.size(), times.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        RowInputs in = base;
        in.time = times[i];
        in.weather = weathers[i];
        EXPECT_TRUE(SameBits(series[i], ComputeRow(in, {}, Horizon(), {}, b))) << i;
    }
    EXPECT_THROW(ComputeSeries(base.site, base.person, times, std::span(weathers).first(2), {},
                               Horizon(), {}, a),
                 std::invalid_argument);
}

TEST(Engine, RowsInBlocksGiveTheMpetOfSingleRows) {
    // persons of every clothing case, with and without automatic clothing, interleaved, so that
    // the batch groups them by case; a humid hour and one whose vapour pressure exceeds 50 hPa
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const Horizon open;
    std::vector<RowJob> jobs;
    for (int i = 0; i < 70; ++i) {
        RowJob job{Noon(), {}, &open, {}, {}};
        job.indices = {false, false, false, false, false, true};
        job.inputs.time = {172, 6.0 + 0.25 * i};
        job.inputs.weather.Ta = -10.0 + 50.0 * unit(random);
        job.inputs.weather.RH = i == 7 ? 99.0 : 20.0 + 75.0 * unit(random);
        if (i == 9) job.inputs.weather.Ta = 45.0, job.inputs.weather.RH = 90.0;
        Person& p = job.inputs.person;
        p.autoClothing = i % 3 == 0;
        p.clothing = 0.2 + 2.6 * unit(random);
        p.sex = i % 2 ? Sex::Female : Sex::Male;
        p.posture = i % 4 < 2 ? Posture::Standing : Posture::Sitting;
        p.weight = 50 + 60 * unit(random);
        jobs.push_back(job);
    }
    PetState unused;
    std::vector<RowResult> single;
    for (const RowJob& job : jobs)
        single.push_back(ComputeRow(job.inputs, job.settings, open, job.indices, unused));
    EXPECT_GT(single[9].VP, 50.0f);
    batch::ThreadPool two(2);
    for (batch::ThreadPool* pool : {static_cast<batch::ThreadPool*>(nullptr), &two}) {
        std::vector<RowResult> rows(jobs.size());
        ComputeRows(jobs, rows, unused, pool);
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            EXPECT_TRUE(SameBits(rows[i].mpet, single[i].mpet)) << i;
            EXPECT_TRUE(SameBits(rows[i].mPET, single[i].mPET)) << i;
        }
    }
}

TEST(Engine, DailyCourseNeedsTheCloudCover) {
    const Site site{7.85, 48.0, 278, 1.0, ""};
    Weather w;
    const DailyCourse summer = ComputeDailyCourse(site, 172, w, {}, Horizon());
    const DailyCourse winter = ComputeDailyCourse(site, 355, w, {}, Horizon());
    EXPECT_GT(summer.GmaxSum, 2 * winter.GmaxSum);
    EXPECT_NEAR(summer.GactMax, summer.GmaxMax, 0.05 * summer.GmaxMax);  // no clouds
    w.N = 8;
    EXPECT_LT(ComputeDailyCourse(site, 172, w, {}, Horizon()).GactSum, summer.GactSum);
    w.N = kNotGiven;
    EXPECT_TRUE(std::isnan(ComputeDailyCourse(site, 172, w, {}, Horizon()).GactAvr));
}

// The batch functions give the scalar functions' bits for every element.
TEST(Engine, BatchGivesTheScalarBits) {
    std::mt19937_64 random(18);
    auto draw = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    const std::size_t n = 300;
    std::vector<double> ta, vp, v, tmrt, age, height, weight, clothing, activity, pressure;
    std::vector<Sex> sex;
    std::vector<Posture> posture;
    for (std::size_t i = 0; i < n; ++i) {
        ta.push_back(draw(-20, 40));
        vp.push_back(draw(1, 30));
        v.push_back(draw(0.1, 8));
        tmrt.push_back(ta.back() + draw(-10, 40));
        age.push_back(draw(5, 90));
        height.push_back(draw(1.2, 2.0));
        weight.push_back(draw(30, 120));
        clothing.push_back(draw(0.3, 2.5));
        activity.push_back(draw(0, 250));
        pressure.push_back(draw(800, 1050));
        sex.push_back(i % 3 == 0 ? Sex::Female : Sex::Male);
        posture.push_back(i % 4 == 0 ? Posture::Sitting : Posture::Standing);
    }
    const batch::Weather bw{ta, vp, v, tmrt};
    const batch::Person bp{sex, posture, age, height, weight, clothing, activity};
    std::vector<double> utci(n), pmv(n), pt(n);
    std::vector<PetDetails> pet(n);
    std::vector<MpetDetails> mpet(40);
    batch::ThreadPool pool(2);
    batch::Utci(bw, utci, &pool);
    batch::Pmv(bw, bp, pmv, &pool);
    batch::PerceivedTemperature(bw, pressure, pt, &pool);
    PetState batchState, rowState;
    batch::Pet(bw, bp, pet, batchState, &pool);
    const std::size_t m = mpet.size();
    const batch::Weather mw{std::span(ta).first(m), std::span(vp).first(m), std::span(v).first(m),
                            std::span(tmrt).first(m)};
    const batch::Person mp{std::span(sex).first(m),     std::span(posture).first(m),
                           std::span(age).first(m),     std::span(height).first(m),
                           std::span(weight).first(m),  std::span(clothing).first(m),
                           std::span(activity).first(m)};
    batch::Mpet(mw, mp, true, mpet, &pool);
    for (std::size_t i = 0; i < n; ++i) {
        Weather w;
        w.Ta = ta[i];
        w.VP = vp[i];
        w.v = v[i];
        w.Tmrt = tmrt[i];
        Person p;
        p.age = age[i];
        p.height = height[i];
        p.weight = weight[i];
        p.clothing = clothing[i];
        p.activity = activity[i];
        p.sex = sex[i];
        p.posture = posture[i];
        EXPECT_TRUE(SameBits(utci[i], Utci(w))) << i;
        EXPECT_TRUE(SameBits(pmv[i], Pmv(w, p))) << i;
        EXPECT_TRUE(SameBits(pt[i], PerceivedTemperature(w, pressure[i]))) << i;
        EXPECT_TRUE(SameBits(pet[i], Pet(w, p, rowState))) << i;
        if (i < mpet.size()) {
            EXPECT_TRUE(SameBits(mpet[i], Mpet(w, p))) << i;
        }
    }
}

}  // namespace
