// UTCI over many elements: every lane evaluates the regression polynomial with the scalar
// path's operations in the scalar path's order (powers by repeated multiplication, each term
// multiplied left to right from its coefficient, the 210 terms summed in the published order).
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "batch/UtciKernel.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include <array>
#include <cmath>
#include <utility>

#include "batch/Kernels.h"
#include "batch/Simd-inl.h"
#include "indices/UtciCoefficients.h"

#ifndef UMBRIX_UTCI_TERMS_ONCE
#define UMBRIX_UTCI_TERMS_ONCE
namespace umbrix::batch::detail {
// Exponents of Ta, va, D_Tmrt and Pa of each term, in the order of the coefficient list.
struct Exponents {
    int ta, va, d, pa;
};
constexpr std::array<Exponents, utci::kTerms> MakeExponents() {
    std::array<Exponents, utci::kTerms> e{};
    const int n = utci::kDegree;
    int i = 0;
    for (int p = 0; p <= n; ++p)
        for (int d = 0; d <= n - p; ++d)
            for (int w = 0; w <= n - p - d; ++w)
                for (int t = 0; t <= n - p - d - w; ++t) e[i++] = {t, w, d, p};
    return e;
}
inline constexpr std::array<Exponents, utci::kTerms> kExponents = MakeExponents();
}  // namespace umbrix::batch::detail
#endif

HWY_BEFORE_NAMESPACE();
namespace umbrix::batch::detail {
namespace HWY_NAMESPACE {

// Powers 1..6 of each variable; the zeroth power is 1 and its product is left out, which
// changes no bit.
struct Powers {
    VF ta[7], va[7], d[7], pa[7];
};

template <std::size_t I>
HWY_INLINE VF AddTerm(DF d, const Powers& p, VF sum) {
    constexpr Exponents e = kExponents[I];
    VF x = hn::Set(d, utci::kCoefficients[I]);
    if constexpr (e.ta > 0) x = hn::Mul(x, p.ta[e.ta]);
    if constexpr (e.va > 0) x = hn::Mul(x, p.va[e.va]);
    if constexpr (e.d > 0) x = hn::Mul(x, p.d[e.d]);
    if constexpr (e.pa > 0) x = hn::Mul(x, p.pa[e.pa]);
    return hn::Add(sum, x);
}

template <std::size_t... I>
HWY_INLINE VF SumTerms(DF d, const Powers& p, std::index_sequence<I...>) {
    VF sum = hn::Zero(d);
    ((sum = AddTerm<I>(d, p, sum)), ...);
    return sum;
}

HWY_INLINE void PowersOf(VF x, VF (&power)[7]) {
    power[1] = x;  // 1 * x is x
    for (int e = 2; e <= utci::kDegree; ++e) power[e] = hn::Mul(power[e - 1], x);
}

// One vector at a time: the sums of consecutive vectors are independent, and the processor
// overlaps them (measured on AVX-512 faster than interleaving two or four vectors by hand).
void UtciKernel(const UtciArgs& a, std::size_t begin, std::size_t end) {
    const DF d;
    const std::size_t n = hn::Lanes(d);
    // the expressions of UtciWind10m, folded the same way
    const VF log1000 = hn::Set(d, std::log10(1000.0));
    const VF log110 = hn::Set(d, std::log10(110.0));
    const VF missing = hn::Set(d, double(a.missingValue));
    for (std::size_t i = begin; i < end; i += n) {
        const std::size_t count = std::min(n, end - i);
        const VF ta = LoadLanes(d, a.ta, i, count);
        const VF vp = LoadLanes(d, a.vp, i, count);
        const VF tmrt = LoadLanes(d, a.tmrt, i, count);
        const VF v = LoadLanes(d, a.v, i, count);
        const VF va = hn::Div(hn::Mul(v, log1000), log110);
        const VF dTmrt = hn::Sub(tmrt, ta);
        const VF pa = hn::Div(vp, hn::Set(d, 10.0));
        // the regression's range; NaN fails every test
        const MF inRange =
            hn::And(hn::And(hn::And(hn::Ge(ta, hn::Set(d, -50.0)), hn::Le(ta, hn::Set(d, 50.0))),
                            hn::And(hn::Ge(va, hn::Set(d, 0.5)), hn::Le(va, hn::Set(d, 17.0)))),
                    hn::And(hn::And(hn::Gt(tmrt, hn::Sub(ta, hn::Set(d, 30.0))),
                                    hn::Lt(tmrt, hn::Add(ta, hn::Set(d, 70.0)))),
                            hn::And(hn::Ge(vp, hn::Zero(d)), hn::Le(vp, hn::Set(d, 50.0)))));
        Powers p;
        PowersOf(ta, p.ta);
        PowersOf(va, p.va);
        PowersOf(dTmrt, p.d);
        PowersOf(pa, p.pa);
        const VF sum = SumTerms(d, p, std::make_index_sequence<utci::kTerms>());
        StoreLanes(d, hn::IfThenElse(inRange, hn::Add(ta, sum), missing), a.out, i, count);
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace umbrix::batch::detail
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace umbrix::batch::detail {
HWY_EXPORT(UtciKernel);
void RunUtci(const UtciArgs& a, std::size_t begin, std::size_t end) {
    HWY_DYNAMIC_DISPATCH(UtciKernel)(a, begin, end);
}
}  // namespace umbrix::batch::detail
#endif
