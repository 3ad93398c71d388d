#include "indices/Pmv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace umbrix;

namespace {

constexpr float kMissing = 9999.0f;

// The standard person: man, 35 years, 1.75 m, 75 kg.
double Pmv(float ta, float vp, float v, float tmrt, float icl, float work, int sex = 1) {
    return ComputePmv(sex, 35, ta, vp, v, tmrt, icl, work, 1.75f, 75.0f, kMissing);
}

double Adu() {
    return 0.203 * std::pow(75.0, 0.425) * std::pow(1.75, 0.725);
}
double BasalMan() {
    return 3.45 * std::pow(75.0, 0.75) * (1 - 0.02 + 0.010 * (175.0 / std::cbrt(75.0) - 43.4));
}

}  // namespace

// ISO 7730:2005, Annex D: PMV at 1.2 met (69.8 W/m²). This variant's clothing area factor and
// skin diffusion differ slightly from the standard's, hence the tolerance.
TEST(Pmv, StandardTableAtOnePointTwoMet) {
    const float work = float(1.2 * 58.15 * Adu() - BasalMan());
    struct Row {
        float ta, tr, v, vp, icl;
        double pmv;
    } rows[] = {
        {22, 22, 0.1f, 15.86f, 0.5f, -0.75},       {27, 27, 0.1f, 21.39f, 0.5f, 0.77},
        {27, 27, 0.3f, 21.39f, 0.5f, 0.44},        {23.5f, 25.5f, 0.1f, 17.37f, 0.5f, -0.01},
        {23.5f, 25.5f, 0.3f, 17.37f, 0.5f, -0.55}, {19, 19, 0.1f, 8.78f, 1.0f, -0.60},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.ta << " " << r.tr << " " << r.v);
        EXPECT_NEAR(Pmv(r.ta, r.vp, r.v, r.tr, r.icl, work), r.pmv, 0.06);
    }
}

TEST(Pmv, WindBelowFloorCountsAsPointOne) {
    for (float ta : {10.0f, 22.0f, 30.0f}) {
        double at01 = Pmv(ta, 12, 0.1f, ta + 5, 0.9f, 80);
        EXPECT_EQ(Pmv(ta, 12, 0.0f, ta + 5, 0.9f, 80), at01);
        EXPECT_EQ(Pmv(ta, 12, 0.05f, ta + 5, 0.9f, 80), at01);
        EXPECT_NE(Pmv(ta, 12, 0.2f, ta + 5, 0.9f, 80), at01);
    }
}

// Sweat evaporation sets in at 58.08 W/m²: the vote, otherwise smooth in the activity, bends
// there by the sweat term (0.42 W per W of extra heat production), and nowhere below.
TEST(Pmv, NoSweatBelowThreshold) {
    const double threshold = 58.08 * Adu() - BasalMan();  // activity, W
    auto pmv = [](double work) { return Pmv(22, 12, 0.5f, 22, 0.9f, float(work)); };
    // change of the second difference: zero for a smooth curve, the slope jump at a bend
    auto kink = [&](double w) {
        double d2 = pmv(w + 1) - 2 * pmv(w) + pmv(w - 1);
        double d2Before = pmv(w) - 2 * pmv(w - 1) + pmv(w - 2);
        return d2 - d2Before;
    };
    const double bend = 0.42 * (0.303 * std::exp(-0.036 * 58.08) + 0.028) / Adu();
    EXPECT_NEAR(kink(threshold), -bend, 0.1 * bend);
    for (double below : {5.0, 15.0, 30.0}) EXPECT_NEAR(kink(threshold - below), 0.0, 0.1 * bend);
}

// In still air with clothing much warmer than the air, natural convection decides; the vote
// then no longer depends on the wind speed.
TEST(Pmv, NaturalConvectionPassInStillAir) {
    // sunlit, cool air: Tcl far above Ta
    EXPECT_EQ(Pmv(5, 8, 0.1f, 60, 0.9f, 80), Pmv(5, 8, 0.12f, 60, 0.9f, 80));
    // small difference: forced convection, the wind matters
    EXPECT_NE(Pmv(25, 12, 0.1f, 25, 0.9f, 80), Pmv(25, 12, 0.12f, 25, 0.9f, 80));
    // a stronger wind brings forced convection back in the sunlit case
    EXPECT_NE(Pmv(5, 8, 2.0f, 60, 0.9f, 80), Pmv(5, 8, 2.2f, 60, 0.9f, 80));
}

TEST(Pmv, SexChangesOnlyTheMetabolicRate) {
    // a woman doing the man's basal rate worth of extra work votes as the man
    const double basalWoman =
        3.19 * std::pow(75.0, 0.75) * (1 - 0.02 + 0.018 * (175.0 / std::cbrt(75.0) - 42.1));
    const double man = Pmv(20, 12, 0.5f, 25, 0.9f, 80, 1);
    const double woman = Pmv(20, 12, 0.5f, 25, 0.9f, float(80 + BasalMan() - basalWoman), 2);
    EXPECT_NEAR(woman, man, 1e-4);
    EXPECT_LT(Pmv(20, 12, 0.5f, 25, 0.9f, 80, 2), man);
}

TEST(Pmv, UndefinedInputsGiveMissing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(Pmv(20, 12, 0.1f, 20, -0.1f, 80), kMissing);
    EXPECT_EQ(Pmv(20, 12, 0.1f, 20, 0.9f, 80, 3), kMissing);
    EXPECT_EQ(ComputePmv(1, 35, 20, 12, 0.1f, 20, 0.9f, 80, 0.0f, 75, -5), -5);
    EXPECT_EQ(ComputePmv(1, 35, 20, 12, 0.1f, 20, 0.9f, 80, 1.75f, 0.0f, -5), -5);
    // no clothing is defined: the iteration is trivial
    EXPECT_TRUE(std::isfinite(Pmv(28, 12, 0.1f, 28, 0.0f, 80)));
    const float base[8] = {20, 12, 0.1f, 20, 0.9f, 80, 1.75f, 75};
    for (int arg = 0; arg < 8; ++arg) {
        for (float bad : {nan, inf, -inf, 1e30f, -1e30f}) {
            float a[8];
            std::copy(std::begin(base), std::end(base), a);
            a[arg] = bad;
            double r = ComputePmv(1, 35, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], kMissing);
            EXPECT_TRUE(std::isfinite(r)) << arg << " " << bad;
            if (!std::isfinite(bad)) {
                EXPECT_EQ(r, kMissing);
            }
        }
    }
}
