#pragma once
// e^x with the same bits on every processor and in every SIMD lane: a model that iterates
// hundreds of exponentials per element can then run its elements side by side (src/batch) and
// still give the bits of its row function. libm's exp differs between builds and processors
// (it may use fused multiply-add) and has no vector form with its bits.
//
// The method: x = (32 k + j) ln2/32 + r with |r| <= ln2/64, e^x = 2^k 2^(j/32) e^r, the 32
// values 2^(j/32) in double with their relative rounding error, e^r by its Taylor series to
// r^7 (the next term is below 2^-68). Error below 0.51 ulp; the SIMD form in
// batch/Simd-inl.h performs exactly these operations (no fused multiply-add: the core is built
// with -ffp-contract=off).
#include <bit>
#include <cstdint>

namespace umbrix {

namespace exp_detail {

inline constexpr int kBits = 5;  // 32 table entries
// 2^(j/32) rounded, and (2^(j/32) - rounded) / rounded
inline constexpr double kTable[32][2] = {
    {0x1.0000000000000p+0, 0x0.0p+0},
    {0x1.059b0d3158574p+0, 0x1.cd2523567f613p-55},
    {0x1.0b5586cf9890fp+0, 0x1.79aa65d837b6dp-54},
    {0x1.11301d0125b51p+0, -0x1.556522a2fbd0ep-54},
    {0x1.172b83c7d517bp+0, -0x1.01b15eaa59348p-55},
    {0x1.1d4873168b9aap+0, 0x1.aecf73e3a2f60p-54},
    {0x1.2387a6e756238p+0, 0x1.68efde3a8a894p-54},
    {0x1.29e9df51fdee1p+0, 0x1.2f7e16d09ab31p-55},
    {0x1.306fe0a31b715p+0, 0x1.34d754db0abb6p-55},
    {0x1.371a7373aa9cbp+0, -0x1.24aedcc4b5068p-54},
    {0x1.3dea64c123422p+0, 0x1.59f48a72a4c6dp-55},
    {0x1.44e086061892dp+0, 0x1.363ed60c2ac11p-59},
    {0x1.4bfdad5362a27p+0, 0x1.690cebb7aafb0p-56},
    {0x1.5342b569d4f82p+0, -0x1.8dec6bd0f385fp-56},
    {0x1.5ab07dd485429p+0, 0x1.063e1e21c5409p-54},
    {0x1.6247eb03a5585p+0, -0x1.c33c53bef4da8p-55},
    {0x1.6a09e667f3bcdp+0, -0x1.3b3efbf5e2228p-54},
    {0x1.71f75e8ec5f74p+0, -0x1.81f647e5a3ecfp-56},
    {0x1.7a11473eb0187p+0, -0x1.b32dcb94da51dp-56},
    {0x1.82589994cce13p+0, -0x1.369b6f13b3734p-54},
    {0x1.8ace5422aa0dbp+0, 0x1.db72fc1f0eab4p-55},
    {0x1.93737b0cdc5e5p+0, -0x1.da9b88b6c1e29p-58},
    {0x1.9c49182a3f090p+0, 0x1.1affc2b91ce27p-56},
    {0x1.a5503b23e255dp+0, -0x1.1bbd1d3bcbb15p-54},
    {0x1.ae89f995ad3adp+0, 0x1.c1a7792cb3387p-55},
    {0x1.b7f76f2fb5e47p+0, -0x1.8d6f438ad9334p-57},
    {0x1.c199bdd85529cp+0, 0x1.36eae30af0cb3p-56},
    {0x1.cb720dcef9069p+0, 0x1.76b2c6c921968p-57},
    {0x1.d5818dcfba487p+0, 0x1.4a385a63d07a7p-56},
    {0x1.dfc97337b9b5fp+0, -0x1.2d52107b43e1fp-55},
    {0x1.ea4afa2a490dap+0, -0x1.ff7128fd391f0p-55},
    {0x1.f50765b6e4540p+0, 0x1.a64a931d185eep-55},
};
inline constexpr double kInvLn2N = 0x1.71547652b82fep+5;  // 32 / ln 2
// ln2/32 in two parts; the first has 35 bits, so that k times it is exact
inline constexpr double kLn2HiN = 0x1.62e42fef80000p-6;
inline constexpr double kLn2LoN = 0x1.1cf79abc9e3b4p-41;
// adding it rounds to a whole number held in the low bits of the mantissa
inline constexpr double kShift = 0x1.8p52;
// beyond these e^x is infinite or zero; the clamp keeps the exponent arithmetic in range
inline constexpr double kMax = 709.8, kMin = -746.0;
inline constexpr double kMax2 = 1024.0, kMin2 = -1076.0;  // the same for 2^x
inline constexpr double kLn2 = 0x1.62e42fefa39efp-1;
inline constexpr double kC2 = 1.0 / 2, kC3 = 1.0 / 6, kC4 = 1.0 / 24, kC5 = 1.0 / 120,
                        kC6 = 1.0 / 720, kC7 = 1.0 / 5040;

// 2^e for -1022 <= e <= 1023
inline double Pow2(int64_t e) {
    return std::bit_cast<double>(uint64_t(e + 1023) << 52);
}

// 2^(m/32) e^r for |r| <= ln2/64: the common end of Exp and Exp2
inline double ScaledExp(int64_t m, double r) {
    const int64_t j = m & ((1 << kBits) - 1);
    const int64_t e = m >> kBits;
    // 2^e in two factors: each in range, the product rounds once (also to subnormal or inf)
    const int64_t e1 = e >> 1;
    const double r2 = r * r;
    const double p =
        kTable[j][1] + r + r2 * (kC2 + r * kC3) + r2 * r2 * (kC4 + r * kC5 + r2 * (kC6 + r * kC7));
    const double t = kTable[j][0];
    return ((t + t * p) * Pow2(e1)) * Pow2(e - e1);
}

}  // namespace exp_detail

inline double Exp(double x) {
    using namespace exp_detail;
    if (x != x) return x;
    x = x < kMin ? kMin : (x > kMax ? kMax : x);
    const double shifted = x * kInvLn2N + kShift;
    const double kd = shifted - kShift;
    const int64_t m = std::bit_cast<int64_t>(shifted) - std::bit_cast<int64_t>(kShift);
    const double r = (x - kd * kLn2HiN) - kd * kLn2LoN;
    return ScaledExp(m, r);
}

// 2^x by the same method: x = (32 k + j)/32 + s exactly, and e^r with r = s ln2 rounded once
// (|r| <= ln2/64, so that rounding adds below 0.01 ulp).
inline double Exp2(double x) {
    using namespace exp_detail;
    if (x != x) return x;
    x = x < kMin2 ? kMin2 : (x > kMax2 ? kMax2 : x);
    const double shifted = x * 32.0 + kShift;
    const double kd = shifted - kShift;
    const int64_t m = std::bit_cast<int64_t>(shifted) - std::bit_cast<int64_t>(kShift);
    return ScaledExp(m, (x - kd * 0.03125) * kLn2);
}

}  // namespace umbrix
