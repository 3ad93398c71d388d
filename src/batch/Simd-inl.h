// Helpers shared by the SIMD kernels: reading a column's lanes (one value repeated, or the
// tail of a batch padded with its last element, so that padding lanes iterate like a real
// element) and writing the lanes that belong to the batch. Included once per target.
#if defined(UMBRIX_BATCH_SIMD_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef UMBRIX_BATCH_SIMD_INL_H_
#undef UMBRIX_BATCH_SIMD_INL_H_
#else
#define UMBRIX_BATCH_SIMD_INL_H_
#endif

#include <hwy/highway.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "batch/Kernels.h"
#include "platform/Exp.h"

HWY_BEFORE_NAMESPACE();
namespace umbrix::batch::detail {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using DF = hn::ScalableTag<double>;
using VF = hn::Vec<DF>;
using MF = hn::Mask<DF>;

// Lanes of elements [i, i + count), count at most Lanes(d).
template <class D>
HWY_INLINE hn::Vec<D> LoadLanes(D d, const In& in, std::size_t i, std::size_t count) {
    const std::size_t n = hn::Lanes(d);
    if (count == n) {
        if (in.step == 1) return hn::LoadU(d, in.data + i);
        if (in.step == 0) return hn::Set(d, in.data[0]);
    }
    HWY_ALIGN double lanes[hn::MaxLanes(d)];
    for (std::size_t k = 0; k < n; ++k) lanes[k] = in[i + std::min(k, count - 1)];
    return hn::Load(d, lanes);
}

template <class D>
HWY_INLINE void StoreLanes(D d, hn::Vec<D> v, double* out, std::size_t i, std::size_t count) {
    if (count == hn::Lanes(d)) {
        hn::StoreU(v, d, out + i);
        return;
    }
    HWY_ALIGN double lanes[hn::MaxLanes(d)];
    hn::Store(v, d, lanes);
    std::copy(lanes, lanes + count, out + i);
}

// f applied to each lane of x that is set in active, as the scalar path calls it (libm's bits,
// which a SIMD approximation would not reproduce); the other lanes keep their value.
template <class D, class F>
HWY_INLINE hn::Vec<D> EachLane(D d, hn::Vec<D> x, hn::Mask<D> active, F f) {
    HWY_ALIGN double lanes[hn::MaxLanes(d)];
    uint8_t bits[8 + hn::MaxLanes(d) / 8] = {};
    hn::Store(x, d, lanes);
    hn::StoreMaskBits(d, active, bits);
    for (std::size_t k = 0; k < hn::Lanes(d); ++k)
        if (bits[k / 8] & (1u << (k % 8))) lanes[k] = f(lanes[k]);
    return hn::Load(d, lanes);
}

// The loops over the K vectors of a pack, unrolled: as loops, GCC keeps the vectors in memory
// and every operation waits for a store and a load.
#define UMBRIX_EACH_VECTOR _Pragma("GCC unroll 16")

// K vectors that move together, so that K independent dependency chains are in flight. The
// operators are those of double, each on every lane, so that an expression can be written as in
// the row function and evaluates in the same order; comparisons have C++'s meaning for NaN.
template <std::size_t K>
struct Pack {
    VF v[K];
};
template <std::size_t K>
struct PackMask {
    MF m[K];
};

template <std::size_t K>
HWY_INLINE Pack<K> Splat(double x) {
    Pack<K> r;
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) r.v[k] = hn::Set(DF(), x);
    return r;
}

#define UMBRIX_PACK_BINARY(op, fn)                                           \
    template <std::size_t K>                                                 \
    HWY_INLINE Pack<K> operator op(Pack<K> a, Pack<K> b) {                   \
        UMBRIX_EACH_VECTOR                                                   \
        for (std::size_t k = 0; k < K; ++k) a.v[k] = hn::fn(a.v[k], b.v[k]); \
        return a;                                                            \
    }                                                                        \
    template <std::size_t K>                                                 \
    HWY_INLINE Pack<K> operator op(Pack<K> a, double b) {                    \
        return a op Splat<K>(b);                                             \
    }                                                                        \
    template <std::size_t K>                                                 \
    HWY_INLINE Pack<K> operator op(double a, Pack<K> b) {                    \
        return Splat<K>(a) op b;                                             \
    }
UMBRIX_PACK_BINARY(+, Add)
UMBRIX_PACK_BINARY(-, Sub)
UMBRIX_PACK_BINARY(*, Mul)
UMBRIX_PACK_BINARY(/, Div)
#undef UMBRIX_PACK_BINARY

#define UMBRIX_PACK_COMPARE(op, fn)                                          \
    template <std::size_t K>                                                 \
    HWY_INLINE PackMask<K> operator op(Pack<K> a, Pack<K> b) {               \
        PackMask<K> r;                                                       \
        UMBRIX_EACH_VECTOR                                                   \
        for (std::size_t k = 0; k < K; ++k) r.m[k] = hn::fn(a.v[k], b.v[k]); \
        return r;                                                            \
    }                                                                        \
    template <std::size_t K>                                                 \
    HWY_INLINE PackMask<K> operator op(Pack<K> a, double b) {                \
        return a op Splat<K>(b);                                             \
    }
UMBRIX_PACK_COMPARE(<, Lt)
UMBRIX_PACK_COMPARE(<=, Le)
UMBRIX_PACK_COMPARE(>, Gt)
UMBRIX_PACK_COMPARE(>=, Ge)
UMBRIX_PACK_COMPARE(==, Eq)
#undef UMBRIX_PACK_COMPARE

template <std::size_t K>
HWY_INLINE PackMask<K> Not(PackMask<K> a) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) a.m[k] = hn::Not(a.m[k]);
    return a;
}

// true for NaN, as in C++ (Highway's Ne is false there)
template <std::size_t K>
HWY_INLINE PackMask<K> operator!=(Pack<K> a, Pack<K> b) {
    return Not(a == b);
}
template <std::size_t K>
HWY_INLINE PackMask<K> operator!=(Pack<K> a, double b) {
    return Not(a == Splat<K>(b));
}

template <std::size_t K>
HWY_INLINE Pack<K> operator-(Pack<K> a) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) a.v[k] = hn::Neg(a.v[k]);
    return a;
}
template <std::size_t K>
HWY_INLINE Pack<K> Abs(Pack<K> a) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) a.v[k] = hn::Abs(a.v[k]);
    return a;
}
template <std::size_t K>
HWY_INLINE Pack<K> Sqrt(Pack<K> a) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) a.v[k] = hn::Sqrt(a.v[k]);
    return a;
}
// finite, as std::isfinite
template <std::size_t K>
HWY_INLINE PackMask<K> Finite(Pack<K> a) {
    return Abs(a) < Splat<K>(HUGE_VAL);
}

template <std::size_t K>
HWY_INLINE PackMask<K> operator&(PackMask<K> a, PackMask<K> b) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) a.m[k] = hn::And(a.m[k], b.m[k]);
    return a;
}
template <std::size_t K>
HWY_INLINE PackMask<K> operator|(PackMask<K> a, PackMask<K> b) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) a.m[k] = hn::Or(a.m[k], b.m[k]);
    return a;
}
template <std::size_t K>
HWY_INLINE PackMask<K> NoLanes() {
    PackMask<K> r;
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) r.m[k] = hn::FirstN(DF(), 0);
    return r;
}
template <std::size_t K>
HWY_INLINE bool Any(PackMask<K> a) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k)
        if (!hn::AllFalse(DF(), a.m[k])) return true;
    return false;
}
// yes where the mask is set, no elsewhere
template <std::size_t K>
HWY_INLINE Pack<K> Select(PackMask<K> m, Pack<K> yes, Pack<K> no) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) no.v[k] = hn::IfThenElse(m.m[k], yes.v[k], no.v[k]);
    return no;
}
template <std::size_t K>
HWY_INLINE Pack<K> Select(PackMask<K> m, double yes, Pack<K> no) {
    return Select(m, Splat<K>(yes), no);
}
template <std::size_t K>
HWY_INLINE Pack<K> Select(PackMask<K> m, double yes, double no) {
    return Select(m, Splat<K>(yes), Splat<K>(no));
}

// Elements [i, end) of a column, as many as fit; lanes past end repeat the last element.
template <std::size_t K>
HWY_INLINE Pack<K> LoadPack(const In& in, std::size_t i, std::size_t end) {
    const DF d;
    const std::size_t n = hn::Lanes(d);
    Pack<K> r;
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) {
        const std::size_t at = std::min(i + k * n, end - 1);
        r.v[k] = LoadLanes(d, in, at, std::min(n, end - at));
    }
    return r;
}

// The lanes of p that belong to elements [i, end).
template <std::size_t K>
HWY_INLINE void StorePack(Pack<K> p, double* out, std::size_t i, std::size_t end) {
    const DF d;
    const std::size_t n = hn::Lanes(d);
    for (std::size_t k = 0; k < K && i + k * n < end; ++k)
        StoreLanes(d, p.v[k], out, i + k * n, std::min(n, end - (i + k * n)));
}

// Lane by lane, as an array of doubles or of flags.
template <std::size_t K>
HWY_INLINE void StorePack(Pack<K> p, double* lanes) {
    const DF d;
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) hn::Store(p.v[k], d, lanes + k * hn::Lanes(d));
}
template <std::size_t K>
HWY_INLINE void StoreMask(PackMask<K> m, bool* lanes) {
    const DF d;
    const std::size_t n = hn::Lanes(d);
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) {
        uint8_t bits[8 + hn::MaxLanes(DF()) / 8] = {};
        hn::StoreMaskBits(d, m.m[k], bits);
        for (std::size_t j = 0; j < n; ++j) lanes[k * n + j] = bits[j / 8] & (1u << (j % 8));
    }
}
template <std::size_t K>
HWY_INLINE Pack<K> LoadPack(const double* lanes) {
    const DF d;
    Pack<K> r;
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) r.v[k] = hn::Load(d, lanes + k * hn::Lanes(d));
    return r;
}

// f applied to each lane of x that is set in active, as EachLane above.
template <std::size_t K, class F>
HWY_INLINE Pack<K> EachLane(Pack<K> x, PackMask<K> active, F f) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) x.v[k] = EachLane(DF(), x.v[k], active.m[k], f);
    return x;
}

// Column c of exp_detail::kTable (2^(j/32) rounded, and its correction) in 32 aligned doubles.
struct ExpColumns {
    alignas(64) double v[2][32];
};
inline constexpr ExpColumns kExpColumns = [] {
    ExpColumns c{};
    for (int j = 0; j < 32; ++j) {
        c.v[0][j] = exp_detail::kTable[j][0];
        c.v[1][j] = exp_detail::kTable[j][1];
    }
    return c;
}();

// Entry j (0..31) of a table column in each lane: with eight lanes by permutations within
// registers, cheaper than a gather from memory; the same values either way.
template <int c>
HWY_INLINE VF ExpTable(hn::Vec<hn::RebindToSigned<DF>> j) {
    const DF d;
    const hn::RebindToSigned<DF> di;
    const double* column = kExpColumns.v[c];
#if HWY_TARGET <= HWY_AVX3 && HWY_TARGET >= HWY_AVX3_DL
    // sixteen entries from two registers per permutation (this Highway has no two-table
    // lookup)
    const VF low{
        _mm512_permutex2var_pd(hn::Load(d, column).raw, j.raw, hn::Load(d, column + 8).raw)};
    const VF high{
        _mm512_permutex2var_pd(hn::Load(d, column + 16).raw, j.raw, hn::Load(d, column + 24).raw)};
    return hn::IfThenElse(hn::RebindMask(d, hn::TestBit(j, hn::Set(di, 16))), high, low);
#else
    if constexpr (hn::MaxLanes(DF()) == 8) {
        const auto idx = hn::IndicesFromVec(d, hn::And(j, hn::Set(di, 7)));
        const VF v0 = hn::TableLookupLanes(hn::Load(d, column), idx);
        const VF v1 = hn::TableLookupLanes(hn::Load(d, column + 8), idx);
        const VF v2 = hn::TableLookupLanes(hn::Load(d, column + 16), idx);
        const VF v3 = hn::TableLookupLanes(hn::Load(d, column + 24), idx);
        const MF m8 = hn::RebindMask(d, hn::TestBit(j, hn::Set(di, 8)));
        const MF m16 = hn::RebindMask(d, hn::TestBit(j, hn::Set(di, 16)));
        return hn::IfThenElse(m16, hn::IfThenElse(m8, v3, v2), hn::IfThenElse(m8, v1, v0));
    } else {
        return hn::GatherIndex(d, column, j);
    }
#endif
}

// exp_detail::ScaledExp (platform/Exp.h) lane by lane: 2^(m/32) e^r.
HWY_INLINE VF ScaledExp(hn::Vec<hn::RebindToSigned<DF>> m, VF r) {
    namespace e = exp_detail;
    const DF d;
    const hn::RebindToSigned<DF> di;
    const auto j = hn::And(m, hn::Set(di, (1 << e::kBits) - 1));
    const auto k = hn::ShiftRight<e::kBits>(m);
    const auto k1 = hn::ShiftRight<1>(k);
    const VF r2 = hn::Mul(r, r);
    const auto C = [&](double c) { return hn::Set(d, c); };
    const VF low =
        hn::Add(hn::Add(ExpTable<1>(j), r), hn::Mul(r2, hn::Add(C(e::kC2), hn::Mul(r, C(e::kC3)))));
    const VF high = hn::Add(hn::Add(C(e::kC4), hn::Mul(r, C(e::kC5))),
                            hn::Mul(r2, hn::Add(C(e::kC6), hn::Mul(r, C(e::kC7)))));
    const VF p = hn::Add(low, hn::Mul(hn::Mul(r2, r2), high));
    const VF t = ExpTable<0>(j);
    const auto pow2 = [&](auto n) {
        return hn::BitCast(d, hn::ShiftLeft<52>(hn::Add(n, hn::Set(di, 1023))));
    };
    return hn::Mul(hn::Mul(hn::Add(t, hn::Mul(t, p)), pow2(k1)), pow2(hn::Sub(k, k1)));
}

// umbrix::Exp (platform/Exp.h) lane by lane: its operations in its order, so the same bits.
HWY_INLINE VF Exp(VF x) {
    namespace e = exp_detail;
    const DF d;
    const hn::RebindToSigned<DF> di;
    const MF nan = hn::IsNaN(x);
    const VF xc = hn::Min(hn::Max(x, hn::Set(d, e::kMin)), hn::Set(d, e::kMax));
    const VF shift = hn::Set(d, e::kShift);
    const VF shifted = hn::Add(hn::Mul(xc, hn::Set(d, e::kInvLn2N)), shift);
    const VF kd = hn::Sub(shifted, shift);
    const auto m = hn::Sub(hn::BitCast(di, shifted), hn::BitCast(di, shift));
    const VF r = hn::Sub(hn::Sub(xc, hn::Mul(kd, hn::Set(d, e::kLn2HiN))),
                         hn::Mul(kd, hn::Set(d, e::kLn2LoN)));
    return hn::IfThenElse(nan, x, ScaledExp(m, r));
}

// umbrix::Exp2 lane by lane, as Exp.
HWY_INLINE VF Exp2(VF x) {
    namespace e = exp_detail;
    const DF d;
    const hn::RebindToSigned<DF> di;
    const MF nan = hn::IsNaN(x);
    const VF xc = hn::Min(hn::Max(x, hn::Set(d, e::kMin2)), hn::Set(d, e::kMax2));
    const VF shift = hn::Set(d, e::kShift);
    const VF shifted = hn::Add(hn::Mul(xc, hn::Set(d, 32.0)), shift);
    const VF kd = hn::Sub(shifted, shift);
    const auto m = hn::Sub(hn::BitCast(di, shifted), hn::BitCast(di, shift));
    const VF r = hn::Mul(hn::Sub(xc, hn::Mul(kd, hn::Set(d, 0.03125))), hn::Set(d, e::kLn2));
    return hn::IfThenElse(nan, x, ScaledExp(m, r));
}
template <std::size_t K>
HWY_INLINE Pack<K> Exp2(Pack<K> x) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) x.v[k] = Exp2(x.v[k]);
    return x;
}
template <std::size_t K>
HWY_INLINE Pack<K> Exp(Pack<K> x) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) x.v[k] = Exp(x.v[k]);
    return x;
}

}  // namespace HWY_NAMESPACE
}  // namespace umbrix::batch::detail
HWY_AFTER_NAMESPACE();

#endif  // include guard
