#include "indices/Mpet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace umbrix;
using mpet::ClothingCase;

namespace {

constexpr float kMissing = -999.0f;
constexpr float kAbsent = 9999.0f;

// The default person: male, 35 years, 1.75 m, 75 kg, 80 W, standing.
struct Call {
    float ta = 20, vp = 12.5f, v = 0.1f, tmrt = 20, icl = 0.9f;
    bool autoClothing = false;
    int sex = 1, position = 1;
    float activity = 80, height = 1.75f, weight = 75, age = 35;

    MpetDetails Compute(MpetSolver solver = MpetSolver::Fast) const {
        return ComputeMpet(sex, position, autoClothing, ta, vp, v, tmrt, icl, activity, height,
                           weight, age, 36.8f, 34.0f, kMissing, solver);
    }
    mpet::ModelState Run(MpetSolver solver = MpetSolver::Fast) const {
        return mpet::RunMpetModel(sex, position, autoClothing, ta, vp, v, tmrt, icl, activity,
                                  height, weight, age, 36.8f, 34.0f, solver);
    }
};

std::vector<float> Fields(const MpetDetails& r) {
    return {
        r.mPET,           r.Tc,        r.Tsk,      r.Tsk1, r.Tsk2, r.Tsk3, r.Tsk4, r.Tsk5, r.Tcl,
        r.skinWettedness, r.sweatRate, r.activity, r.R,    r.C,    r.L,    r.Ere,  r.RC,   r.S};
}

Call Warm() {
    return Call{.ta = 30, .vp = 20, .v = 0.5f, .tmrt = 50};
}
Call Cold() {
    return Call{.ta = 0, .vp = 5, .v = 2, .tmrt = -5};
}

}  // namespace

TEST(MpetClothing, CaseByInsulation) {
    struct Row {
        float icl;
        ClothingCase expected;
        size_t zones;
        float iclUsed;
    } rows[] = {
        {0.2f, ClothingCase::A, 3, 0.3f},    {0.6f, ClothingCase::A, 3, 0.6f},
        {0.61f, ClothingCase::B1, 4, 0.61f}, {0.9f, ClothingCase::B1, 4, 0.9f},
        {0.91f, ClothingCase::B2, 4, 0.91f}, {1.2f, ClothingCase::B2, 4, 1.2f},
        {1.21f, ClothingCase::C1, 5, 1.21f}, {1.6f, ClothingCase::C1, 5, 1.6f},
        {1.61f, ClothingCase::C2, 4, 1.61f}, {2.0f, ClothingCase::C2, 4, 2.0f},
        {2.01f, ClothingCase::D, 5, 2.01f},  {2.4f, ClothingCase::D, 5, 2.4f},
        {3.0f, ClothingCase::D, 5, 2.5f},
    };
    for (const Row& row : rows) {
        Call call;
        call.icl = row.icl;
        mpet::ModelState state = call.Run();
        SCOPED_TRACE(row.icl);
        EXPECT_EQ(state.clothingCase, row.expected);
        // the batch groups its elements by this case before it runs them
        EXPECT_EQ(mpet::ClothingCaseOf(false, call.ta, row.icl), row.expected);
        EXPECT_EQ(state.icl, row.iclUsed);
        ASSERT_EQ(state.zones.size(), row.zones);
        EXPECT_EQ(state.nodes.size(), 5 * row.zones + 1);
        // groups the case lacks report 9999, the others real skin temperatures
        const float tsk[5] = {state.result.Tsk1, state.result.Tsk2, state.result.Tsk3,
                              state.result.Tsk4, state.result.Tsk5};
        for (size_t g = 0; g < 5; ++g) {
            if (g < row.zones) {
                EXPECT_GT(tsk[g], 15.0f) << "group " << g + 1;
                EXPECT_LT(tsk[g], 40.0f) << "group " << g + 1;
            } else {
                EXPECT_EQ(tsk[g], kAbsent) << "group " << g + 1;
            }
        }
    }
}

TEST(MpetClothing, CaseDClothesPartOfTheHead) {
    Call call;
    call.icl = 2.4f;
    mpet::ModelState state = call.Run();
    ASSERT_EQ(state.zones.size(), 5u);
    EXPECT_TRUE(state.zones[1].head && state.zones[1].clothed);
    EXPECT_TRUE(state.zones[4].head && !state.zones[4].clothed);
    EXPECT_DOUBLE_EQ(state.zones[1].fraction, 0.03);
    EXPECT_DOUBLE_EQ(state.zones[4].fraction, 0.05);
    // the covered head stays warmer than the face
    EXPECT_GT(state.result.Tsk2, state.result.Tsk5);
}

TEST(MpetClothing, AutomaticClothingFollowsAirTemperature) {
    struct Row {
        float ta;
        float standard;  // before the limits
        ClothingCase expected;
        float used;
    } rows[] = {
        {0, 1.372f, ClothingCase::C1, 1.372f},
        {20, 0.730176f, ClothingCase::B1, 0.730176f},
        {30, 0.123799f, ClothingCase::A, 0.3f},
        {-60, 2.761888f, ClothingCase::D, 2.5f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ta);
        EXPECT_NEAR(mpet::AutomaticClothing(row.ta), row.standard, 1e-6);
        Call automatic;
        automatic.ta = automatic.tmrt = row.ta;
        automatic.autoClothing = true;
        automatic.icl = 0.5f;  // ignored
        mpet::ModelState state = automatic.Run();
        EXPECT_EQ(state.clothingCase, row.expected);
        EXPECT_EQ(mpet::ClothingCaseOf(true, row.ta, 0.5f), row.expected);
        EXPECT_NEAR(state.icl, row.used, 1e-6);
        // the same as typing the clothing in
        Call typed = automatic;
        typed.autoClothing = false;
        typed.icl = state.icl;
        EXPECT_EQ(Fields(typed.Compute()), Fields(state.result));
    }
}

// The cases change zone shares and clothing polynomials at their bounds, so mPET steps there;
// within a case it must move smoothly.
TEST(MpetClothing, ChangesSmoothlyWithinCasesAndBoundedlyAtTheirBounds) {
    const float bounds[] = {0.6f, 0.9f, 1.2f, 1.6f, 2.0f};
    for (Call env : {Warm(), Cold()}) {
        auto mpetAt = [&](float icl) {
            env.icl = icl;
            return env.Compute().mPET;
        };
        for (float bound : bounds) {
            SCOPED_TRACE(testing::Message() << "Ta " << env.ta << ", bound " << bound);
            float below = mpetAt(bound - 0.01f), at = mpetAt(bound);
            float above = mpetAt(bound + 0.01f), further = mpetAt(bound + 0.02f);
            EXPECT_LT(std::fabs(at - below), 0.25f);
            EXPECT_LT(std::fabs(further - above), 0.25f);
            EXPECT_LT(std::fabs(above - at), 3.0f);
        }
    }
}

TEST(Mpet, WindBelowTheMinimumCountsAsTheMinimum) {
    Call slow = Cold(), minimum = Cold(), faster = Cold();
    slow.v = 0;
    minimum.v = 0.1f;
    faster.v = 0.3f;
    EXPECT_EQ(Fields(slow.Compute()), Fields(minimum.Compute()));
    EXPECT_GT(minimum.Compute().mPET, faster.Compute().mPET);
}

TEST(Mpet, VapourAboveFiftyHectopascalMissesOnlyMpet) {
    Call humid = Warm();
    humid.vp = 51;
    MpetDetails r = humid.Compute();
    EXPECT_EQ(r.mPET, kMissing);
    std::vector<float> fields = Fields(r);
    for (size_t i = 1; i < fields.size(); ++i) {
        EXPECT_TRUE(std::isfinite(fields[i])) << i;
        EXPECT_NE(fields[i], kMissing) << i;
    }
    EXPECT_GT(r.sweatRate, 0.0f);
    humid.vp = 50;
    EXPECT_NE(humid.Compute().mPET, kMissing);
}

TEST(Mpet, SittingChangesOnlyTheRadiationAreaFactor) {
    Call standing = Warm(), sitting = Warm();
    sitting.position = 2;
    mpet::ModelState stand = standing.Run(), sit = sitting.Run();
    EXPECT_DOUBLE_EQ(stand.feff, 0.725);
    EXPECT_DOUBLE_EQ(sit.feff, 0.696);
    EXPECT_EQ(sit.result.activity, stand.result.activity);
    EXPECT_EQ(sit.result.Ere, stand.result.Ere);
    // less area towards the hot surroundings: less radiant gain
    EXPECT_LT(sit.result.R, stand.result.R);
    EXPECT_GT(sit.result.R, 0.9f * stand.result.R);
    // any other position code stands
    for (int code : {0, 3}) {
        Call other = Warm();
        other.position = code;
        EXPECT_EQ(Fields(other.Compute()), Fields(stand.result)) << code;
    }
}

TEST(MpetSweat, ZoneSweatRate) {
    // tsk 36, tc 37.2: a = 0.43 tanh(0.99) + 0.65, b = 3.06 tanh(-0.04) + 3.44
    double a = 0.43 * std::tanh(0.99) + 0.65, b = 3.06 * std::tanh(-0.04) + 3.44;
    EXPECT_NEAR(mpet::ZoneSweatRate(1, 36, 37.2, 0.5, 1.9),
                (b * 0.5 + a * 2.0) * 0.5 * 1.9 / 300000.0, 1e-15);
    struct Row {
        double tsk, tc;
    } rows[] = {{34, 36.7}, {36, 37.2}, {38, 38.0}, {33, 37.5}, {30, 36.5}};
    for (const Row& row : rows) {
        double male = mpet::ZoneSweatRate(1, row.tsk, row.tc, 0.3, 1.9);
        double female = mpet::ZoneSweatRate(2, row.tsk, row.tc, 0.3, 1.9);
        EXPECT_GE(male, 0.0);
        EXPECT_NEAR(female, 0.7 * male, 1e-18) << row.tsk << " " << row.tc;
    }
    EXPECT_EQ(mpet::ZoneSweatRate(1, 30, 36.5, 0.3, 1.9), 0.0);  // cool: none, not negative
}

TEST(MpetPerson, FatFractionByAgeAndBodyMassIndex) {
    struct Row {
        int sex;
        double age, bmi, fat;
    } rows[] = {
        {1, 19, 22, 0.17},         {1, 20, 22, 0.18},         {1, 35, 22, 0.19},
        {1, 49.9, 22, 0.20},       {1, 50, 22, 0.21},         {2, 19, 22, 0.22},
        {2, 25, 22, 0.23},         {2, 35, 22, 0.24},         {2, 45, 22, 0.25},
        {2, 80, 22, 0.26},         {1, 35, 10, 0.19 - 0.14},  {1, 35, 17, 0.19 - 0.065},
        {1, 35, 19, 0.19 - 0.025}, {1, 35, 27, 0.19 + 0.02},  {1, 35, 32, 0.19 + 0.08},
        {1, 35, 38, 0.19 + 0.185}, {1, 35, 45, 0.19 + 0.375},
    };
    for (const Row& row : rows) {
        EXPECT_NEAR(mpet::FatFraction(row.sex, row.age, row.bmi), row.fat, 1e-12)
            << row.sex << " " << row.age << " " << row.bmi;
    }
    // the corrections join at every band edge
    for (double edge : {16.0, 18.0, 20.0, 25.0, 30.0, 35.0, 40.0}) {
        EXPECT_NEAR(mpet::FatFraction(1, 35, edge - 1e-9), mpet::FatFraction(1, 35, edge + 1e-9),
                    1e-9)
            << edge;
    }
}

// Internal heat production 0.9 (activity + basal rate) and respiration, worked by hand.
TEST(MpetPerson, HeatProductionAndRespiration) {
    struct Row {
        int sex;
        float weight, height, age, activity, ta, vp;
        double act, ere;
    } rows[] = {
        {1, 75, 1.75f, 35, 80, 20, 12.5f, 148.04450, -13.44608},
        {2, 60, 1.65f, 60, 120, 0, 5, 162.51886, -13.23641},
        {1, 95, 1.80f, 25, 200, 30, 20, 272.63937, -26.11891},
    };
    for (const Row& row : rows) {
        Call call{.ta = row.ta,
                  .vp = row.vp,
                  .sex = row.sex,
                  .activity = row.activity,
                  .height = row.height,
                  .weight = row.weight,
                  .age = row.age};
        MpetDetails r = call.Compute();
        EXPECT_NEAR(r.activity, row.act, 1e-3) << row.sex;
        EXPECT_NEAR(r.Ere, row.ere, 1e-3) << row.sex;
    }
}

TEST(Mpet, RespondsToTheEnvironment) {
    Call c = Call{};
    auto mpetWith = [](Call call) { return call.Compute().mPET; };
    Call hotRadiation = c, coldRadiation = c;
    hotRadiation.tmrt = 40;
    coldRadiation.tmrt = 0;
    EXPECT_GT(mpetWith(hotRadiation), mpetWith(c));
    EXPECT_LT(mpetWith(coldRadiation), mpetWith(c));

    MpetDetails cold = Cold().Compute(), warm = Warm().Compute();
    EXPECT_LT(cold.mPET, 0.0f);
    EXPECT_GT(warm.mPET, 30.0f);
    EXPECT_EQ(cold.sweatRate, 0.0f);
    EXPECT_GT(warm.sweatRate, 10.0f);
    EXPECT_LT(cold.S, 0.0f);
    EXPECT_GT(warm.R, 0.0f);  // Tmrt 50 °C: radiant gain
    for (const MpetDetails& r : {cold, warm}) {
        EXPECT_NEAR(r.S, r.activity + r.R + r.C + r.L + r.Ere, 1e-3);
        EXPECT_GT(r.Tc, 36.0f);
        EXPECT_LT(r.Tc, 38.0f);
        EXPECT_GE(r.skinWettedness, 0.06f);
        EXPECT_LE(r.skinWettedness, 1.0f);
    }
}

TEST(Mpet, CallsAreIndependent) {
    Call first = Warm(), other = Cold();
    other.icl = 2.4f;
    other.sex = 2;
    std::vector<float> before = Fields(first.Compute());
    other.Compute();
    EXPECT_EQ(Fields(first.Compute()), before);
}

// Every node temperature and zone flow of the fast solver against dense inversion, over every
// clothing case, warm and cold, and a frosty case where vapour condenses in the clothing.
TEST(MpetSolvers, FastAgreesWithReference) {
    struct Row {
        float ta, vp, v, tmrt, icl;
        int sex;
        bool condenses;
    } rows[] = {
        {20, 12.5f, 0.1f, 20, 0.5f, 1, false}, {30, 20, 0.5f, 50, 0.5f, 2, false},
        {5, 6, 2, 0, 0.8f, 1, false},          {35, 30, 0.1f, 60, 0.8f, 1, false},
        {-5, 3, 3, -10, 1.1f, 2, false},       {25, 15, 1, 40, 1.1f, 1, false},
        {0, 5, 1, -5, 1.4f, 1, false},         {28, 25, 0.3f, 55, 1.4f, 2, false},
        {-15, 1.5f, 4, -20, 1.8f, 1, false},   {22, 12, 0.2f, 30, 1.8f, 1, false},
        {-30, 0.45f, 1, -30, 2.3f, 1, true},   {18, 10, 0.1f, 25, 2.3f, 2, false},
    };
    for (const Row& row : rows) {
        Call call{.ta = row.ta,
                  .vp = row.vp,
                  .v = row.v,
                  .tmrt = row.tmrt,
                  .icl = row.icl,
                  .sex = row.sex};
        SCOPED_TRACE(testing::Message() << "Ta " << row.ta << ", clo " << row.icl);
        mpet::ModelState fast = call.Run(MpetSolver::Fast);
        mpet::ModelState reference = call.Run(MpetSolver::Reference);
        ASSERT_EQ(fast.nodes.size(), reference.nodes.size());
        for (size_t i = 0; i < fast.nodes.size(); ++i) {
            EXPECT_NEAR(fast.nodes[i], reference.nodes[i], 1e-6) << "node " << i + 1;
        }
        ASSERT_EQ(fast.zones.size(), reference.zones.size());
        for (size_t g = 0; g < fast.zones.size(); ++g) {
            const mpet::ZoneState &f = fast.zones[g], &r = reference.zones[g];
            EXPECT_NEAR(f.clothing, r.clothing, 1e-6);
            EXPECT_NEAR(f.radiation, r.radiation, 1e-6);
            EXPECT_NEAR(f.convection, r.convection, 1e-6);
            EXPECT_NEAR(f.dry, r.dry, 1e-6);
            EXPECT_NEAR(f.evaporation, r.evaporation, 1e-6);
            EXPECT_NEAR(f.sweat, r.sweat, 1e-12);
        }
        EXPECT_EQ(fast.result.mPET, reference.result.mPET);
        EXPECT_EQ(fast.condensations, reference.condensations);
        EXPECT_EQ(fast.condensations > 0, row.condenses);
    }
}

TEST(Mpet, AbsurdInputsReturnFiniteValuesOrMissing) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<Call> calls;
    auto add = [&](auto change) {
        Call c;
        change(c);
        calls.push_back(c);
    };
    add([&](Call& c) { c.ta = nan; });
    add([&](Call& c) { c.ta = nan, c.autoClothing = true; });
    add([&](Call& c) { c.tmrt = inf; });
    add([&](Call& c) { c.ta = -inf; });
    add([&](Call& c) { c.vp = 1e30f; });
    add([&](Call& c) { c.ta = 1e30f; });
    add([&](Call& c) { c.ta = 1e15f; });
    add([&](Call& c) { c.v = inf; });
    add([&](Call& c) { c.icl = nan; });
    add([&](Call& c) { c.weight = 0; });
    add([&](Call& c) { c.height = 0; });
    add([&](Call& c) { c.age = nan; });
    add([&](Call& c) { c.activity = 1e30f; });
    for (const Call& call : calls) {
        for (float value : Fields(call.Compute())) {
            EXPECT_TRUE(std::isfinite(value)) << call.ta << " " << call.weight;
        }
    }
}
