#pragma once
// x^4 with exactly the bits of libm's pow(x, 4), at half its cost. The body models take the
// fourth power of temperatures some hundred times per element, and their published tables rest
// on pow's rounding, so a cheaper formula must not change a single bit.
//
// The method: x^4 is computed exactly but for about 2^-100 of it, as hi + lo with hi the
// nearest double. pow's error is below 0.52 ulp (before its last rounding it is off by less
// than 0.01 ulp for these arguments), so it returns that nearest double too unless the exact
// power lies close to a midpoint between two doubles. There (|lo| above 15/32 ulp, about one
// call in 16) PowFour calls pow itself, and so it does outside 2^-14 < |x| < 2^14, beyond which
// pow's own error analysis allows more.
#include <bit>
#include <cmath>
#include <cstdint>

#include "platform/Exp.h"

namespace umbrix {

namespace pow_detail {

// the error of p = a * a, exactly (Veltkamp's split into 26-bit halves, Dekker's product; no
// fused multiply-add needed)
inline double SquareError(double a, double p) {
    constexpr double kSplit = 134217729.0;  // 2^27 + 1
    const double c = kSplit * a;
    const double hi = c - (c - a), lo = a - hi;
    return ((hi * hi - p) + 2.0 * (hi * lo)) + lo * lo;
}

// hi + lo, |lo| <= ulp(hi)/2, rounds to hi with room to spare; hi must be normal. A power of
// two as hi has a closer neighbour below, so it does not count.
inline bool ClearOfMidpoint(double hi, double lo) {
    const uint64_t bits = std::bit_cast<uint64_t>(hi);
    if ((bits & 0x000fffffffffffffu) == 0) return false;
    const double ulp = std::bit_cast<double>(bits & 0x7ff0000000000000u) * 0x1p-52;
    return std::fabs(lo) <= ulp * (15.0 / 32.0);
}

}  // namespace pow_detail

// std::pow(x, 4), bit for bit.
inline double PowFour(double x) {
    using namespace pow_detail;
    if (!(std::fabs(x) > 0x1p-14 && std::fabs(x) < 0x1p14)) return std::pow(x, 4);
    // x^2 = a + b exactly, a^2 = c + d exactly, x^4 = c + d + 2ab + b^2 (b^2 below 2^-104 c)
    const double a = x * x, b = SquareError(x, a);
    const double c = a * a, d = SquareError(a, c);
    const double low = d + 2.0 * a * b;
    const double hi = c + low, lo = low - (hi - c);
    return ClearOfMidpoint(hi, lo) ? hi : std::pow(x, 4);
}

// factor * pow(10, y) as a value that rounds to the same float as libm's: for the models that
// store such a power (a vapour pressure) in 4 bytes, the double's last bits do not matter. The
// fast form e^x, x = y ln10, as Exp computes it but to r^5 and without the range handling that
// |x| < 50 does not need, is within some 100 double ulps of pow (the rounding of y ln10 costs
// |x|/2 ulp, the shorter series 20, pow 0.52); where the product lies within 1024 double ulps of
// a midpoint between two floats (about one call in 250,000), or outside that range, pow itself
// decides.
inline double ScaledPowTenForFloat(double factor, double y) {
    using namespace exp_detail;
    constexpr double kLn10 = 2.302585092994045684;
    const double x = y * kLn10;
    if (std::fabs(x) < 50.0) {
        const double shifted = x * kInvLn2N + kShift;
        const double kd = shifted - kShift;
        const int64_t m = std::bit_cast<int64_t>(shifted) - std::bit_cast<int64_t>(kShift);
        const double r = (x - kd * kLn2HiN) - kd * kLn2LoN;
        const int64_t j = m & ((1 << kBits) - 1);
        const double r2 = r * r;
        const double p = kTable[j][1] + r + r2 * (kC2 + r * kC3) + r2 * r2 * (kC4 + r * kC5);
        const double t = kTable[j][0];
        const double fast = factor * ((t + t * p) * Pow2(m >> kBits));
        // the 29 bits a double has below a float's last bit; a midpoint has only the top one set
        const uint64_t below = std::bit_cast<uint64_t>(fast) & ((uint64_t(1) << 29) - 1);
        const int64_t fromMidpoint = int64_t(below) - (int64_t(1) << 28);
        const double magnitude = std::fabs(fast);
        if ((fromMidpoint > 1024 || fromMidpoint < -1024) && magnitude > 0x1p-120 &&
            magnitude < 0x1p120)
            return fast;
    }
    return factor * std::pow(10.0, y);
}

}  // namespace umbrix
