#include "platform/Exp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace umbrix;

namespace {

// Distance from libm's value in units in the last place.
double Ulps(double ours, double libm) {
    return std::fabs(ours - libm) / (std::nextafter(libm, HUGE_VAL) - libm);
}

}  // namespace

TEST(Exp, WithinOneUnitOfLibmAndMostlyEqual) {
    std::mt19937_64 random(11);
    for (auto [lo, hi] : {std::pair{-1.0, 1.0}, {-40.0, 40.0}, {-708.0, 709.7}}) {
        std::uniform_real_distribution<double> draw(lo, hi);
        int equal = 0;
        constexpr int kCount = 200000;
        for (int i = 0; i < kCount; ++i) {
            const double x = draw(random);
            const double libm = std::exp(x), ours = Exp(x);
            ASSERT_LE(Ulps(ours, libm), 1.0) << std::hexfloat << x;
            equal += ours == libm;
        }
        // both round the exact value in nearly every case
        EXPECT_GT(equal, kCount * 99 / 100) << lo << " … " << hi;
    }
}

TEST(Exp, EdgesOfItsRange) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Exp(0.0), 1.0);
    EXPECT_EQ(Exp(-0.0), 1.0);
    EXPECT_TRUE(std::isnan(Exp(std::nan(""))));
    EXPECT_EQ(Exp(inf), inf);
    EXPECT_EQ(Exp(-inf), 0.0);
    EXPECT_EQ(Exp(710.0), inf);
    EXPECT_EQ(Exp(1e300), inf);
    EXPECT_EQ(Exp(-800.0), 0.0);
    EXPECT_LE(Ulps(Exp(709.7), std::exp(709.7)), 1.0);
    // results below the normal range keep their size
    EXPECT_NEAR(Exp(-740.0) / std::exp(-740.0), 1.0, 1e-6);
}

TEST(Exp2, WithinOneUnitOfLibmAndMostlyEqual) {
    std::mt19937_64 random(12);
    for (auto [lo, hi] : {std::pair{-1.0, 1.0}, {-60.0, 60.0}, {-1021.0, 1023.9}}) {
        std::uniform_real_distribution<double> draw(lo, hi);
        int equal = 0;
        constexpr int kCount = 200000;
        for (int i = 0; i < kCount; ++i) {
            const double x = draw(random);
            const double libm = std::exp2(x), ours = Exp2(x);
            ASSERT_LE(Ulps(ours, libm), 1.0) << std::hexfloat << x;
            equal += ours == libm;
        }
        EXPECT_GT(equal, kCount * 99 / 100) << lo << " … " << hi;
    }
    const double inf = std::numeric_limits<double>::infinity();
    for (double x : {0.0, 1.0, -1.0, 10.0, -1022.0, 1023.0}) EXPECT_EQ(Exp2(x), std::exp2(x)) << x;
    EXPECT_TRUE(std::isnan(Exp2(std::nan(""))));
    EXPECT_EQ(Exp2(1024.0), inf);
    EXPECT_EQ(Exp2(inf), inf);
    EXPECT_EQ(Exp2(-inf), 0.0);
    EXPECT_EQ(Exp2(-1100.0), 0.0);
}
