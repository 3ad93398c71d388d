#include "indices/Utci.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using namespace umbrix;

namespace {

constexpr float kMissing = 9999.0f;

// Wind speed at person height that gives va 10 m above ground.
double PersonWind(double va) {
    return va * std::log10(110.0) / 3.0;
}

}  // namespace

// Coefficients recovered from the polynomial by finite differences.
TEST(Utci, CheckCoefficients) {
    auto p = [](double ta, double va, double d, double pa) { return UtciOffset(ta, va, d, pa); };
    const double h = 1e-4;
    EXPECT_NEAR(p(0, 0, 0, 0), 0.607562052, 1e-12);
    EXPECT_NEAR((p(h, 0, 0, 0) - p(-h, 0, 0, 0)) / (2 * h), -0.0227712343, 1e-9);
    EXPECT_NEAR((p(h, 0, 0, 0) - 2 * p(0, 0, 0, 0) + p(-h, 0, 0, 0)) / (h * h) / 2, 0.000806470249,
                1e-8);
    EXPECT_NEAR((p(0, h, 0, 0) - p(0, -h, 0, 0)) / (2 * h), -2.2583652, 1e-8);
    EXPECT_NEAR((p(0, 0, h, 0) - p(0, 0, -h, 0)) / (2 * h), 0.398374029, 1e-8);
    // the sixth difference along Pa is 6! times the Pa⁶ coefficient
    const int binom[7] = {1, 6, 15, 20, 15, 6, 1};
    double diff6 = 0;
    for (int i = 0; i <= 6; ++i) diff6 += ((6 - i) % 2 ? -1 : 1) * binom[i] * p(0, 0, 0, i);
    EXPECT_NEAR(diff6 / 720.0, 0.00148348065, 1e-10);
}

// The polynomial against the published coefficient list, evaluated term by term from the
// exponents in the list.
TEST(Utci, MatchesPublishedCoefficientList) {
    std::ifstream in(UMBRIX_TEST_DATA "/utci_approx_coefficients.tsv");
    ASSERT_TRUE(in) << "missing test data";
    struct Term {
        int eTa, eVa, eD, ePa;
        double c;
    };
    std::vector<Term> terms;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        int index;
        Term t;
        s >> index >> t.eTa >> t.eVa >> t.eD >> t.ePa >> t.c;
        terms.push_back(t);
    }
    ASSERT_EQ(terms.size(), 210u);
    const double points[][4] = {{25, 1.5, 20, 1.5}, {-30, 8, 5, 0.2},  {40, 0.6, 60, 4.5},
                                {0, 3, -25, 0.6},   {10, 16, 40, 1.2}, {-45, 12, 0, 0.1}};
    for (const auto& x : points) {
        double expected = 0;
        for (const Term& t : terms)
            expected += t.c * std::pow(x[0], t.eTa) * std::pow(x[1], t.eVa) * std::pow(x[2], t.eD) *
                        std::pow(x[3], t.ePa);
        EXPECT_NEAR(UtciOffset(x[0], x[1], x[2], x[3]), expected, 1e-9 * (1 + std::fabs(expected)));
    }
}

// UTCI is defined so that the reference environment (Tmrt = Ta, va = 0.5 m/s, 50 % relative
// humidity, at most 20 hPa) has UTCI = Ta; the regression meets this within about a kelvin.
TEST(Utci, ReferenceEnvironmentGivesAirTemperature) {
    for (double ta = -40; ta <= 45; ta += 5) {
        double es = 6.112 * std::exp(17.62 * ta / (243.12 + ta));
        double vp = std::min(0.5 * es, 20.0);
        EXPECT_NEAR(ComputeUtci(ta, vp, ta, PersonWind(0.5 + 1e-9), kMissing), ta, 1.1) << ta;
    }
    // sun and wind act in the expected directions
    double v = PersonWind(2.0);
    EXPECT_GT(ComputeUtci(25, 15, 55, v, kMissing), ComputeUtci(25, 15, 25, v, kMissing) + 5);
    EXPECT_LT(ComputeUtci(-5, 3, -5, PersonWind(10), kMissing),
              ComputeUtci(-5, 3, -5, v, kMissing) - 5);
}

TEST(Utci, RangeBounds) {
    const double v = 1.0;  // va about 1.47 m/s
    struct Row {
        const char* what;
        double ta, vp, tmrt, v;
        bool computed;
    } rows[] = {
        {"Ta -50", -50, 1, -50, v, true},
        {"Ta below -50", -50.1, 1, -50.1, v, false},
        {"Ta 50", 50, 20, 50, v, true},
        {"Ta above 50", 50.1, 20, 50.1, v, false},
        {"calm", 20, 12, 20, 0.0, false},
        {"va just below 0.5", 20, 12, 20, PersonWind(0.5) * (1 - 1e-9), false},
        {"va just above 0.5", 20, 12, 20, PersonWind(0.5) * (1 + 1e-9), true},
        {"va just below 17", 20, 12, 20, PersonWind(17) * (1 - 1e-9), true},
        {"va above 17", 20, 12, 20, PersonWind(17) * (1 + 1e-9), false},
        {"Tmrt 30 K below", 20, 12, -10, v, false},
        {"Tmrt 29.9 K below", 20, 12, -9.9, v, true},
        {"Tmrt 70 K above", 20, 12, 90, v, false},
        {"Tmrt 69.9 K above", 20, 12, 89.9, v, true},
        {"VP 0", 20, 0, 20, v, true},
        {"VP negative", 20, -0.1, 20, v, false},
        {"VP 50", 45, 50, 45, v, true},
        {"VP 50.1", 45, 50.1, 45, v, false},
    };
    for (const Row& r : rows) {
        double utci = ComputeUtci(r.ta, r.vp, r.tmrt, r.v, kMissing);
        if (r.computed) {
            EXPECT_NE(utci, kMissing) << r.what;
            EXPECT_GT(utci, -100) << r.what;
            EXPECT_LT(utci, 100) << r.what;
        } else {
            EXPECT_EQ(utci, kMissing) << r.what;
        }
    }
    // another default number shows through
    EXPECT_EQ(ComputeUtci(20, 12, 20, 0.0, -999.0f), -999.0);
    EXPECT_EQ(ComputeUtci(20, 12, 20, 0.0, 0.5f), 0.5);
}

TEST(Utci, NonFiniteInputsGiveTheDefault) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(), 1e30};
    for (double b : bad) {
        EXPECT_EQ(ComputeUtci(b, 12, 20, 1, kMissing), kMissing);
        EXPECT_EQ(ComputeUtci(20, b, 20, 1, kMissing), kMissing);
        EXPECT_EQ(ComputeUtci(20, 12, b, 1, kMissing), kMissing);
        EXPECT_EQ(ComputeUtci(20, 12, 20, b, kMissing), kMissing);
    }
}
