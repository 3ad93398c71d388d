// Every index and the radiation step, fed one absurd input at a time (non-finite, huge, a
// clothing of 0 or -1, a weight or height of 0), returns finite numbers or the missing-value
// default, and returns at all (an endless loop ends the test run by its time limit).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "indices/Mpet.h"
#include "indices/PerceivedTemperature.h"
#include "indices/Pet.h"
#include "indices/Pmv.h"
#include "indices/SetStar.h"
#include "indices/Utci.h"
#include "solar/RadiationStep.h"

namespace umbrix {
namespace {

constexpr float kMissing = 9999.0f;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
const std::vector<float> kAbsurd = {kNaN, kInf, -kInf, 1e30f, -1e30f};

// The person and weather of the default row.
struct Subject {
    float ta = 20, vp = 12.5f, rh = 53.5f, v = 0.1f, tmrt = 30, icl = 0.9f, work = 80;
    float height = 1.75f, weight = 75, age = 35;
};

// One input changed: its name and the row it gives.
struct Case {
    std::string label;
    Subject person;
};

std::vector<Case> AbsurdPersons() {
    std::vector<Case> cases;
    const std::vector<std::pair<const char*, float Subject::*>> fields = {
        {"Ta", &Subject::ta},     {"VP", &Subject::vp},         {"RH", &Subject::rh},
        {"v", &Subject::v},       {"Tmrt", &Subject::tmrt},     {"Icl", &Subject::icl},
        {"work", &Subject::work}, {"height", &Subject::height}, {"weight", &Subject::weight},
        {"age", &Subject::age}};
    for (const auto& [name, field] : fields) {
        for (float x : kAbsurd) {
            Case c{std::string(name) + "=" + std::to_string(x), {}};
            c.person.*field = x;
            cases.push_back(c);
        }
    }
    for (auto [name, field, x] :
         {std::tuple{"Icl=0", &Subject::icl, 0.0f}, std::tuple{"Icl=-1", &Subject::icl, -1.0f},
          std::tuple{"weight=0", &Subject::weight, 0.0f},
          std::tuple{"height=0", &Subject::height, 0.0f}}) {
        Case c{name, {}};
        c.person.*field = x;
        cases.push_back(c);
    }
    return cases;
}

// Every value an index returns for one person.
using IndexRun = std::function<std::vector<double>(const Subject&)>;

std::vector<double> PetValues(const PetDetails& r) {
    return {r.PET, r.Tc, r.Tsk, r.WL, r.SWt, r.H, r.Rnb, r.C, r.Evpd, r.Esw};
}

std::vector<double> MpetValues(const MpetDetails& r) {
    return {
        r.mPET,           r.Tc,        r.Tsk,      r.Tsk1, r.Tsk2, r.Tsk3, r.Tsk4, r.Tsk5, r.Tcl,
        r.skinWettedness, r.sweatRate, r.activity, r.R,    r.C,    r.L,    r.Ere,  r.RC,   r.S};
}

void ExpectSound(const std::string& index, const IndexRun& run) {
    std::string faults;
    for (const Case& c : AbsurdPersons()) {
        const std::vector<double> values = run(c.person);
        for (std::size_t k = 0; k < values.size(); ++k)
            if (!std::isfinite(values[k]))
                faults += "\n  " + c.label + ": value " + std::to_string(k) + " is " +
                          std::to_string(values[k]);
    }
    EXPECT_TRUE(faults.empty()) << index << faults;
}

TEST(Robustness, EveryIndexStaysFiniteOrMissing) {
    ExpectSound("PMV", [](const Subject& p) {
        return std::vector<double>{ComputePmv(1, 35, p.ta, p.vp, p.v, p.tmrt, p.icl, p.work,
                                              p.height, p.weight, kMissing)};
    });
    ExpectSound("PET", [](const Subject& p) {
        PetModel model;
        return PetValues(model.ComputePet(1, 1, p.ta, p.vp, p.v, p.tmrt, p.icl, p.work, p.height,
                                          p.weight, p.age, kMissing));
    });
    ExpectSound("SET*", [](const Subject& p) {
        return std::vector<double>{ComputeSetStar(0, p.ta, p.tmrt, p.rh, p.v, p.icl, p.age,
                                                  p.height, p.weight, p.work, kMissing)};
    });
    ExpectSound("UTCI", [](const Subject& p) {
        return std::vector<double>{ComputeUtci(p.ta, p.vp, p.tmrt, p.v, kMissing)};
    });
    ExpectSound("PT", [](const Subject& p) {
        return std::vector<double>{
            ComputePt(0, "none", p.ta, p.vp, p.tmrt, p.v, 1013, p.icl, kMissing)};
    });
    for (bool autoClothing : {false, true}) {
        ExpectSound(autoClothing ? "mPET auto clothing" : "mPET", [autoClothing](const Subject& p) {
            return MpetValues(ComputeMpet(1, 1, autoClothing, p.ta, p.vp, p.v, p.tmrt, p.icl,
                                          p.work, p.height, p.weight, p.age, 36.8f, 34.0f,
                                          kMissing));
        });
    }
}

// The PET model keeps state between calls: an absurd row must not spoil the next sound one.
TEST(Robustness, PetRecoversAfterAnAbsurdRow) {
    PetModel fresh, used;
    const PetDetails expected =
        fresh.ComputePet(1, 1, 20, 12.5f, 0.1f, 30, 0.9f, 80, 1.75f, 75, 35, kMissing);
    for (float x : kAbsurd) used.ComputePet(1, 1, x, x, x, x, x, x, x, x, x, kMissing);
    const PetDetails after =
        used.ComputePet(1, 1, 20, 12.5f, 0.1f, 30, 0.9f, 80, 1.75f, 75, 35, kMissing);
    EXPECT_EQ(PetValues(after), PetValues(expected));
}

// An absurd input gives values or NaN (the missing value of the table), never an infinity.
TEST(Robustness, RadiationStepStaysFiniteOrNaN) {
    const std::vector<std::pair<const char*, float RadiationInputs::*>> fields = {
        {"latitude", &RadiationInputs::latitude},
        {"trueTime", &RadiationInputs::trueTime},
        {"Ta", &RadiationInputs::ta},
        {"VP", &RadiationInputs::vp},
        {"RH", &RadiationInputs::rh},
        {"v", &RadiationInputs::v},
        {"N", &RadiationInputs::n},
        {"D/G", &RadiationInputs::dgRatio},
        {"G", &RadiationInputs::g},
        {"Ts", &RadiationInputs::ts},
        {"Tmrt", &RadiationInputs::tmrt},
        {"svf", &RadiationInputs::svf},
        {"turbidity", &RadiationInputs::linkeTurbidity},
        {"fog limit", &RadiationInputs::fogLimit},
        {"Bowen", &RadiationInputs::bowen},
        {"albedo", &RadiationInputs::albedoSurroundings},
        {"albedo person", &RadiationInputs::albedoHuman}};
    std::string faults;
    for (bool hiddenByHorizon : {false, true}) {
        for (const auto& [name, field] : fields) {
            for (float x : kAbsurd) {
                RadiationInputs in;
                in.day = 172;
                in.latitude = 48;
                in.*field = x;
                const RadiationResults r =
                    ComputeRadiation(in, [&](double, double) { return hiddenByHorizon; });
                const float values[] = {r.zenith, r.azimuth, r.turbidity, r.g0, r.s0, r.d0, r.s,
                                        r.d,      r.g,       r.a,         r.e,  r.q,  r.ts, r.tmrt};
                for (std::size_t k = 0; k < std::size(values); ++k)
                    if (std::isinf(values[k]))
                        faults += "\n  " + std::string(name) + "=" + std::to_string(x) +
                                  ": value " + std::to_string(k) + " is " +
                                  std::to_string(values[k]);
            }
        }
    }
    for (int day : {0, -5, 400, std::numeric_limits<int>::max()}) {
        for (int altitude : {-100000, 0, std::numeric_limits<int>::max()}) {
            RadiationInputs in;
            in.day = day;
            in.altitude = altitude;
            const RadiationResults r = ComputeRadiation(in, {});
            for (float value : {r.g0, r.g, r.ts, r.tmrt})
                if (std::isinf(value))
                    faults += "\n  day " + std::to_string(day) + ", altitude " +
                              std::to_string(altitude) + ": " + std::to_string(value);
        }
    }
    EXPECT_TRUE(faults.empty()) << faults;
}

}  // namespace
}  // namespace umbrix
