#include "indices/PerceivedTemperature.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace umbrix;

namespace {

constexpr float Missing = 9999.0f;

double Pt(double ta, double vp, double tmrt, double v) {
    return ComputePt(0, "none", ta, vp, tmrt, v, 1013, 0.9, Missing);
}

}  // namespace

TEST(PtVote, ReferenceValuesAndClamps) {
    // values from an independent implementation of the comfort equation
    EXPECT_NEAR(ComputeVoteAtClothing(0.9, 20, 20, 12.5, 0.1, 1013), 0.9091029166236237, 1e-10);
    EXPECT_NEAR(ComputeVoteAtClothing(1.2, -5, 10, 4, 3, 950), -2.6299623129763283, 1e-10);
    const double bare = ComputeVoteAtClothing(0.001, 20, 30, 12.5, 0.1, 1013);
    EXPECT_NEAR(bare, 0.7038765574187802, 1e-10);
    // no clothing and negative clothing count as 0.001 clo, calm below 0.1 m/s as 0.1 m/s
    EXPECT_EQ(ComputeVoteAtClothing(0, 20, 30, 12.5, 0.1, 1013), bare);
    EXPECT_EQ(ComputeVoteAtClothing(-1, 20, 30, 12.5, 0.1, 1013), bare);
    EXPECT_EQ(ComputeVoteAtClothing(0.001, 20, 30, 12.5, 0.0, 1013), bare);
    EXPECT_EQ(ComputeVoteAtClothing(0.001, 20, 30, 12.5, 0.05, 1013), bare);
}

TEST(PtVote, ConversionToPtAtTheComfortLimits) {
    struct Case {
        double clo, vote, pt;
    } cases[] = {
        {1.0, -1.0, 12.6784 * -1.0 + 5.805},
        {1.0, -0.11, 12.6784 * -0.11 + 5.805},  // the limit itself is cold
        {1.0, -0.1, 21.258 - 9.558},
        {0.5, 0.0, 21.258 - 9.558 * 0.5},
        {0.5, 0.00999, 21.258 - 9.558 * 0.5},
        {0.5, 0.01, 6.163 * 0.01 + 16.826},  // and this one warm
        {0.5, 2.0, 6.163 * 2.0 + 16.826},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vote);
        EXPECT_DOUBLE_EQ(VoteToPt(c.clo, c.vote), c.pt);
    }
}

TEST(Pt, ReferenceValues) {
    struct Case {
        double ta, vp, tmrt, v, pt;
        double clo;  // clothing chosen; 0 when found by the search
    } cases[] = {
        // default person's weather: 0.5 clo with sultriness correction
        {20, 12.5, 20, 0.1, 18.83986532226967, 0.5},
        // comfortable after the clothing search
        {15, 10, 15, 0.1, 14.634919536217444, 0},
        {10, 8, 10, 3, 4.919670454811595, 0},
        // sultry, vote classes 4 and beyond 6
        {30, 20, 60, 0.5, 38.05937668652795, 0.5},
        {40, 50, 70, 1, 60.007013886886774, 0.5},
        // lowest clothing keeps a slightly warm vote
        {2.9, 8, 32.9, 0.1, 17.073769464398765, 0.44453},
        // upper search bound slightly cool
        {-10, 8, 20, 0.1, 4.41040014, 1.76267},
        // winter clothing: cold correction zero above the intersections, then active
        {0, 5, -5, 5, -8.913282653923098, 1.75},
        {-30, 2, -40, 0.05, -32.55256741850125, 1.75},
        {-20, 2, -25, 5, -32.68839100318287, 1.75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "Ta " << c.ta << " VP " << c.vp << " Tmrt " << c.tmrt << " v " << c.v);
        PtDetails d = ComputePtDetails(c.ta, c.vp, c.tmrt, c.v, 1013, Missing);
        EXPECT_NEAR(d.pt, c.pt, 1e-9);
        if (c.clo > 0) {
            EXPECT_EQ(d.clo, c.clo);
        }
        EXPECT_EQ(Pt(c.ta, c.vp, c.tmrt, c.v), d.pt);
    }
    // the pressure enters the convection
    EXPECT_NEAR(ComputePt(0, "none", 20, 12.5, 20, 0.1, 950, 0.9, Missing), 18.919071865056498,
                1e-9);
}

TEST(Pt, ComfortableCaseDependsOnlyOnTheClothing) {
    // The search stops on a clothing estimate; the vote there, not at the last midpoint, decides
    // the band. The midpoint's vote would put this case about 2 °C higher.
    PtDetails d = ComputePtDetails(15, 10, 15, 0.1, 1013, Missing);
    ASSERT_TRUE(d.searched);
    ASSERT_FALSE(d.searchFailed);
    EXPECT_GT(d.clo, 0.44453);
    EXPECT_LT(d.clo, 1.76267);
    EXPECT_EQ(d.vote, ComputeVoteAtClothing(d.clo, 15, 15, 10, 0.1, 1013));
    EXPECT_GT(d.vote, -0.11);
    EXPECT_LT(d.vote, 0.01);
    EXPECT_DOUBLE_EQ(d.pt, 21.258 - 9.558 * d.clo);
    EXPECT_NEAR(d.pt, 14.634919536217444, 1e-9);
}

TEST(Pt, TenDegreesTakesTheWinterOrder) {
    // Cold: the winter order needs the upper bound and 1.75 clo, the summer order also the lower
    // bound first. Warm: the other way round.
    EXPECT_EQ(ComputePtDetails(10, 6, -10, 10, 1013, Missing).votes, 2);
    EXPECT_EQ(ComputePtDetails(10.001, 6, -10, 10, 1013, Missing).votes, 3);
    EXPECT_EQ(ComputePtDetails(10, 6, 60, 0.5, 1013, Missing).votes, 3);
    EXPECT_EQ(ComputePtDetails(10.001, 6, 60, 0.5, 1013, Missing).votes, 2);
    EXPECT_NEAR(Pt(10, 6, -10, 10), 2.6902130438966014, 1e-9);
    EXPECT_NEAR(Pt(10, 6, 60, 0.5), 22.561428663210002, 1e-9);
}

TEST(Pt, SultrinessLimitsVapourPressureToSaturation) {
    const double es = 6.1078 * std::exp(17.08085 * 35 / (234.175 + 35));
    const double v = 3.8;
    const double atEs = PtSultryVote(35, es, 35, 0.5, v);
    EXPECT_EQ(PtSultryVote(35, 60, 35, 0.5, v), atEs);
    EXPECT_EQ(PtSultryVote(35, 2 * es, 35, 0.5, v), atEs);
    EXPECT_NE(PtSultryVote(35, 0.9 * es, 35, 0.5, v), atEs);
    // and from below to 5 % of saturation
    EXPECT_EQ(PtSultryVote(35, 0, 35, 0.5, v), PtSultryVote(35, 0.05 * es, 35, 0.5, v));

    PtDetails d = ComputePtDetails(35, 60, 35, 0.5, 1013, Missing);
    EXPECT_EQ(d.clo, 0.5);
    EXPECT_GT(d.vote, 0.06);
    EXPECT_NEAR(d.pt, 55.637980835829914, 1e-9);
    EXPECT_EQ(d.pt, VoteToPt(0.5, PtSultryVote(35, es, 35, 0.5, d.vote)));
}

TEST(Pt, CalmWindEntersTheColdCorrectionAsPointOne) {
    // below 0.1 m/s the correction takes 0.1 itself, not its root: 0.05 and 0 m/s agree, and
    // 0.1 m/s (root 0.316) differs
    const double calm = PtColdCorrection(-30, -40, 0.05, -3.0);
    EXPECT_EQ(PtColdCorrection(-30, -40, 0.0, -3.0), calm);
    EXPECT_NE(PtColdCorrection(-30, -40, 0.1, -3.0), calm);
    EXPECT_NE(calm, 0.0);
    EXPECT_EQ(Pt(-30, 2, -40, 0.05), Pt(-30, 2, -40, 0.0));
    EXPECT_NEAR(Pt(-30, 2, -40, 0.05), -32.55256741850125, 1e-9);
    EXPECT_NEAR(Pt(-30, 2, -40, 0.1), -32.537278507401204, 1e-9);
}

TEST(Pt, ColdCorrectionOnlyBelowBothIntersections) {
    // At -5 °C and 5 m/s the vote -1.16 lies above the intersections: no correction.
    EXPECT_EQ(PtColdCorrection(0, -5, 5, -1.160894328458094), 0.0);
    // far below them the correction is line 3 minus the polynomial
    EXPECT_NE(PtColdCorrection(-20, -25, 5, -3.3), 0.0);
}

TEST(Pt, AbsurdInputsGiveFiniteValuesOrMissing) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double base[5] = {20, 12.5, 20, 0.1, 1013};
    const double absurd[] = {nan, inf, -inf, 1e30, -1e30, 0.0, -1.0};
    for (int field = 0; field < 5; ++field) {
        for (double bad : absurd) {
            double x[5];
            std::copy(base, base + 5, x);
            x[field] = bad;
            SCOPED_TRACE(testing::Message() << "field " << field << " = " << bad);
            const double r = ComputePt(0, "none", x[0], x[1], x[2], x[3], x[4], 0.9, Missing);
            EXPECT_TRUE(std::isfinite(r));
        }
    }
    EXPECT_EQ(Pt(nan, 12.5, 20, 0.1), Missing);
    EXPECT_EQ(Pt(20, 12.5, inf, 0.1), Missing);
    // the user's clothing is not used
    EXPECT_EQ(ComputePt(0, "none", 20, 12.5, 20, 0.1, 1013, -1, Missing), Pt(20, 12.5, 20, 0.1));
    EXPECT_EQ(ComputePt(0, "none", 20, 12.5, 20, 0.1, 1013, nan, Missing), Pt(20, 12.5, 20, 0.1));
}
