#include "solar/RadiationStep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "solar/SunPosition.h"

using namespace umbrix;

namespace {
constexpr double kSigma = 5.67e-8;

// 21 June, noon local time at 7°51'E 48°0'N, UTC+1, 278 m, defaults of the pre-settings.
RadiationInputs SummerNoon() {
    RadiationInputs in;
    in.day = 172;
    in.latitude = 48.0f;
    in.altitude = 278;
    in.trueTime = static_cast<float>(TrueLocalTime(172, 7.85f, 1.0f, 12.0f));
    in.rh = static_cast<float>(RelHumidityFromVapour(20.0, 12.5));
    return in;
}
const SunHiddenTest kFree = [](double, double) { return false; };
const SunHiddenTest kBlocked = [](double, double) { return true; };
}  // namespace

// Whole rows against an independent implementation with the same 4-byte storage points, with
// Tmrt as earlier versions formed it (projection factor times the horizontal S).
TEST(ComputeRadiation, RowsAgainstReference) {
    struct Row {
        const char* name;
        void (*set)(RadiationInputs&);
        bool hidden;
        float g, s, d, e, ts, tmrt;
    };
    const Row rows[] = {
        {"clear noon", [](RadiationInputs&) {}, false,  //
         890.5748f, 778.7260f, 111.8488f, 590.1356f, 48.04274f, 51.86823f},
        {"night", [](RadiationInputs& in) { in.trueTime = 0.0f; }, false,  //
         0, 0, 0, 397.8123f, 16.8523f, 10.5193f},
        {"fog", [](RadiationInputs& in) { in.rh = 95.0f; }, false,  //
         148.9713f, 0, 148.9713f, 424.9179f, 21.8782f, 31.4664f},
        {"overcast", [](RadiationInputs& in) { in.n = 8.0f; }, false,  //
         249.3609f, 0, 249.3609f, 466.6633f, 28.5543f, 49.8098f},
        {"given G", [](RadiationInputs& in) { in.g = 500.0f; }, false,  //
         500, 280.7176f, 219.2824f, 499.3328f, 34.4944f, 48.6619f},
        {"given G, hidden, reduced",
         [](RadiationInputs& in) { in.g = 500.0f, in.svf = 0.6f, in.reduceGByObstacles = true; },
         true, 131.5695f, 0, 131.5695f, 430.4794f, 22.5982f, 32.3755f},
        {"sky view 0.6", [](RadiationInputs& in) { in.svf = 0.6f; }, false,  //
         874.0206f, 778.7260f, 95.2945f, 596.7116f, 48.7422f, 52.7600f},
        // the twelve passes still swing: E belongs to the Ts before the last update (~95 °C)
        {"Bowen 10, calm", [](RadiationInputs& in) { in.bowen = 10.0f, in.v = 0.0f; }, false,
         890.5748f, 778.7260f, 111.8488f, 886.3013f, 39.3150f, 69.4127f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RadiationInputs in = SummerNoon();
        in.tmrtFromHorizontalDirect = true;
        row.set(in);
        RadiationResults r = ComputeRadiation(in, row.hidden ? kBlocked : kFree);
        const float got[] = {r.g, r.s, r.d, r.e, r.ts, r.tmrt};
        const float want[] = {row.g, row.s, row.d, row.e, row.ts, row.tmrt};
        for (int k = 0; k < 6; ++k) EXPECT_NEAR(got[k], want[k], k < 4 ? 2e-3 : 1e-4) << k;
    }
}

// Tmrt = ((L1 + L2 + L3)/σ + (fp · I + D)(1 − ah)/(0.97 σ))^¼ − 273.15 with I = S / cos Z,
// evaluated by hand from the row's own fluxes.
double TmrtFromBeam(const RadiationInputs& in, const RadiationResults& r) {
    const double pi = 3.14159265358979323846;
    const double h = 90.0 - r.zenith;
    const double fp = 0.308 * std::cos(h * (0.998 - h * h / 50000.0) * pi / 180.0);
    const double i = r.zenith < 90 ? r.s / std::cos(r.zenith * pi / 180.0) : 0.0;
    const double lw = (1 - in.svf) * r.q / 2 + r.e / 2 + r.a * in.svf / 2;
    return std::pow(lw / kSigma + (fp * i + r.d) * (1 - in.albedoHuman) / 5.4999e-8, 0.25) - 273.15;
}

TEST(ComputeRadiation, TmrtWeightsTheBeamNormalIrradiance) {
    struct Case {
        const char* name;
        void (*set)(RadiationInputs&);
        float earlierTmrt;  // projection factor times the horizontal S
        float tmrt;
    } cases[] = {
        // 49.52°N 8.55°E, UTC+1, 96 m, 21 December 12:30, Ta 0, RH 80 %, v 1, N 0
        {"21 December",
         [](RadiationInputs& in) {
             in.day = 355, in.latitude = 49.52f, in.altitude = 96;
             in.trueTime = float(TrueLocalTime(355, 8.55f, 1.0f, 12.5f));
             in.ta = 0, in.rh = 80, in.vp = float(VapourFromRelHumidity(0, 80)), in.v = 1;
         },
         9.9f, 33.4f},
        {"summer noon", [](RadiationInputs&) {}, 51.9f, 53.1f},
        // G 300 exceeds the clear sky's G0 here: the beam is limited to S0, the rest diffuse
        {"given G, overcast morning",
         [](RadiationInputs& in) {
             in.trueTime = float(TrueLocalTime(172, 7.85f, 1.0f, 7.0f));
             in.g = 300, in.n = 8;
         },
         41.5f, 50.8f},
        {"night", [](RadiationInputs& in) { in.trueTime = 0.5f; }, 10.5f, 10.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadiationInputs in = SummerNoon();
        c.set(in);
        const RadiationResults r = ComputeRadiation(in, kFree);
        EXPECT_NEAR(r.tmrt, TmrtFromBeam(in, r), 1e-3);
        EXPECT_NEAR(r.tmrt, c.tmrt, 0.05);
        in.tmrtFromHorizontalDirect = true;
        const RadiationResults earlier = ComputeRadiation(in, kFree);
        EXPECT_NEAR(earlier.tmrt, c.earlierTmrt, 0.05);
        // the check box changes Tmrt only
        EXPECT_EQ(earlier.s, r.s);
        EXPECT_EQ(earlier.e, r.e);
    }
}

TEST(ComputeRadiation, BeamNormalIrradianceNearTheHorizon) {
    const double i0 = ExtraterrestrialIrradiance(172);
    // a measured S just after sunrise would give some 10⁵ W/m² normal to the beam: limited to I0
    EXPECT_EQ(DirectNormalFromHorizontal(50, 89.99, i0), i0);
    EXPECT_NEAR(DirectNormalFromHorizontal(400, 60, i0), 800, 1e-9);
    for (double z : {90.0, 95.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(DirectNormalFromHorizontal(400, z, i0), 0.0) << z;
    EXPECT_EQ(DirectNormalFromHorizontal(0, 30, i0), 0.0);
}

TEST(ComputeRadiation, ShortWaveSplitIsNeverNegative) {
    // clean air, high altitude, heavy turbidity, clouds, obstacles, low and high sun
    for (int altitude : {-500, 0, 2000, 5100, 9000})
        for (float turbidity : {-1.0f, 1.0f, 2.0f, 3.0f, 10.0f, 40.0f})
            for (float n : {0.0f, 4.0f, 8.0f})
                for (float svf : {0.2f, 1.0f})
                    for (float hour : {6.0f, 9.0f, 13.0f}) {
                        RadiationInputs in = SummerNoon();
                        in.altitude = altitude, in.linkeTurbidity = turbidity, in.n = n;
                        in.svf = svf, in.trueTime = hour;
                        const RadiationResults r = ComputeRadiation(in, kFree);
                        SCOPED_TRACE(testing::Message()
                                     << altitude << " m, T " << turbidity << ", N " << n << ", SVF "
                                     << svf << ", " << hour << " h");
                        EXPECT_GE(r.d0, 0.0f);
                        EXPECT_LE(r.s0, r.g0);
                        EXPECT_GE(r.d, 0.0f);
                        EXPECT_GE(r.s, 0.0f);
                        EXPECT_LE(r.d, r.g);
                        EXPECT_NEAR(r.s, r.g - r.d, 1e-3);
                    }
}

TEST(ComputeRadiation, GivenAndComputedQuantities) {
    RadiationInputs in = SummerNoon();
    in.g = 500.0f, in.svf = 0.6f;
    EXPECT_EQ(ComputeRadiation(in, kBlocked).d, 500.0f);  // hidden sun: all of G diffuse
    in = SummerNoon();
    in.rh = in.fogLimit = 95.0f;  // at the fog limit itself the sun still shines
    EXPECT_GT(ComputeRadiation(in, kFree).s, 0.0f);
    in = SummerNoon();
    in.n = 8.0f, in.svf = 0.7f;
    RadiationResults r = ComputeRadiation(in, kFree);
    EXPECT_NEAR(r.d, 0.7 * 0.28 * r.g0, 1e-3);

    in = SummerNoon();
    const RadiationResults computed = ComputeRadiation(in, kFree);
    in.bowen = 0.0f;
    EXPECT_EQ(ComputeRadiation(in, kFree).ts, 20.0f);
    in = SummerNoon();
    in.ts = 35.0f;  // given Ts: no iteration, E once from it (SVF 1: Lin = A)
    r = ComputeRadiation(in, kFree);
    EXPECT_EQ(r.ts, 35.0f);
    EXPECT_NEAR(r.e, 0.05 * r.a + 0.95 * kSigma * std::pow(308.15, 4), 1e-3);
    in = SummerNoon();
    in.tmrt = 35.0f;  // given Tmrt stays, the fluxes are still computed
    r = ComputeRadiation(in, kFree);
    EXPECT_EQ(r.tmrt, 35.0f);
    EXPECT_EQ(r.e, computed.e);
    EXPECT_EQ(r.ts, computed.ts);
}

TEST(ComputeRadiation, NightMatchesTheClosedFormula) {
    RadiationInputs in = SummerNoon();
    in.trueTime = 1.0f;
    in.g = 100.0f;
    const RadiationResults r = ComputeRadiation(in, kFree);
    ASSERT_TRUE(r.zenith > 90.0f && r.sunHidden);
    EXPECT_EQ(r.s, 0.0f);
    const double tmrt = std::pow((r.a + r.e) / 2.0 / kSigma + 100.0 * 0.7 / (0.97 * kSigma), 0.25);
    EXPECT_NEAR(r.tmrt, tmrt - 273.15, 1e-3);
}

TEST(ComputeRadiation, AbsurdInputsNeverReachTheHorizonTest) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (auto field :
         {&RadiationInputs::latitude, &RadiationInputs::trueTime, &RadiationInputs::ta,
          &RadiationInputs::vp, &RadiationInputs::rh, &RadiationInputs::v, &RadiationInputs::n,
          &RadiationInputs::dgRatio, &RadiationInputs::g, &RadiationInputs::ts,
          &RadiationInputs::svf, &RadiationInputs::linkeTurbidity, &RadiationInputs::bowen}) {
        for (float value : {nan, inf, -inf, 1e30f, -1e30f}) {
            RadiationInputs in = SummerNoon();
            in.*field = value;
            RadiationResults r = ComputeRadiation(in, [](double z, double az) {
                EXPECT_TRUE(z >= 0 && z < 90 && az >= 0 && az < 360) << z << " " << az;
                return false;
            });
            if (field != &RadiationInputs::latitude && field != &RadiationInputs::trueTime) {
                EXPECT_NEAR(r.zenith, 25.27853, 1e-4);
            }
        }
    }
    // a sun below the horizon or at no position is hidden without asking
    RadiationInputs in = SummerNoon();
    in.trueTime = 0.0f;
    EXPECT_TRUE(ComputeRadiation(in, kFree).sunHidden);
    in.latitude = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(ComputeRadiation(in, kFree).sunHidden);
    EXPECT_FALSE(ComputeRadiation(SummerNoon(), SunHiddenTest{}).sunHidden);
}

TEST(ComputeRadiation, BeamOfAGivenGNeverExceedsTheClearSky) {
    // 49.52°N 8.55°E, UTC+1, 96 m, 15 January 8:30, Ta 2, RH 85 %, v 2, N 8: the sun is 1° up
    RadiationInputs in;
    in.day = 15, in.latitude = 49.52f, in.altitude = 96;
    in.trueTime = float(TrueLocalTime(15, 8.55f, 1.0f, 8.5f));
    in.ta = 2, in.rh = 85, in.vp = float(VapourFromRelHumidity(2, 85)), in.v = 2, in.n = 8;
    struct Case {
        float g, dgRatio;
        bool limited;  // the split alone would give more beam than the clear sky
    } cases[] = {{40, -1, true}, {40, 0.2f, true}, {20, 0.9f, true}, {5, 0.9f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "G " << c.g << ", D/G " << c.dgRatio);
        in.g = c.g, in.dgRatio = c.dgRatio;
        const RadiationResults r = ComputeRadiation(in, kFree);
        EXPECT_LE(r.s, r.s0);
        EXPECT_EQ(r.s + r.d, r.g);
        EXPECT_EQ(r.g, c.g);
        if (c.limited) EXPECT_EQ(r.s, r.s0);
        // under an overcast sky at sunrise the person is barely warmer than the air (the beam
        // split alone gave G 40 a Tmrt of 51.4 °C)
        EXPECT_LT(r.tmrt, 12.0f);
    }
    // an ordinary row keeps its split: 21 June noon, G 800, automatic D/G 0.2
    in = SummerNoon();
    in.g = 800;
    const RadiationResults noon = ComputeRadiation(in, kFree);
    EXPECT_FLOAT_EQ(noon.d, 160.0f);
    EXPECT_FLOAT_EQ(noon.s, 640.0f);
}
