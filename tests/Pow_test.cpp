#include "platform/Pow.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

using namespace umbrix;

namespace {

uint64_t Bits(double x) {
    return std::bit_cast<uint64_t>(x);
}

}  // namespace

// The body models' tables rest on pow's bits, so every one must match: temperatures as the
// models store them (4-byte °C plus 273.2), and any double over the range the fast path takes.
TEST(PowFour, SameBitsAsPow) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> celsius(-150.0, 150.0), mantissa(1.0, 2.0);
    std::uniform_int_distribution<int> exponent(-16, 15);
    for (int i = 0; i < 2000000; ++i) {
        const double kelvin = double(float(celsius(random))) + 273.2;
        ASSERT_EQ(Bits(PowFour(kelvin)), Bits(std::pow(kelvin, 4))) << std::hexfloat << kelvin;
        const double any =
            std::ldexp(i % 2 ? mantissa(random) : -mantissa(random), exponent(random));
        ASSERT_EQ(Bits(PowFour(any)), Bits(std::pow(any, 4))) << std::hexfloat << any;
    }
}

TEST(PowFour, ExactPowersAndEdges) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double x : {0.0, -0.0, 1.0, -1.0, 2.0, 3.0, 0.5, 1e-5, 0x1p-14, 0x1p14, 1e30, 1e100,
                     -1e100, 5e-324, inf, -inf})
        EXPECT_EQ(Bits(PowFour(x)), Bits(std::pow(x, 4))) << x;
    EXPECT_TRUE(std::isnan(PowFour(std::nan(""))));
}

// The vapour pressure a model stores in 4 bytes: the same float as from pow, for temperatures as
// the models hold them and for any exponent over the fast form's range and beyond it.
TEST(ScaledPowTenForFloat, RoundsToTheFloatOfPow) {
    const auto same = [](double factor, double y) {
        return std::bit_cast<uint32_t>(float(ScaledPowTenForFloat(factor, y))) ==
               std::bit_cast<uint32_t>(float(factor * std::pow(10.0, y)));
    };
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> celsius(-100.0, 100.0), exponent(-24.0, 24.0);
    for (int i = 0; i < 1000000; ++i) {
        const double t = float(celsius(random));
        ASSERT_TRUE(same(6.11, 7.45 * t / (235.0 + t))) << std::hexfloat << t;
        const double y = exponent(random);
        ASSERT_TRUE(same(6.11, y)) << std::hexfloat << y;
    }
    const double inf = std::numeric_limits<double>::infinity();
    for (double y : {0.0, 1.0, -1.0, 21.71, -21.71, 40.0, -45.0, 400.0, -400.0, inf, -inf})
        EXPECT_TRUE(same(6.11, y)) << y;
    EXPECT_TRUE(std::isnan(ScaledPowTenForFloat(6.11, std::nan(""))));
}
