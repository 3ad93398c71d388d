// UTCI over many elements: every lane evaluates the regression polynomial with the scalar
// path's operations in the scalar path's order (powers by repeated multiplication, each term
// multiplied left to right from its coefficient, the 210 terms summed in the published order).
// Several vectors are in flight so that their independent sums hide the latency of the adds.
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

// Vectors evaluated together; each keeps its own running sum.
constexpr std::size_t kInFlight = 4;

struct Powers {
    // powers 1..6 of each variable; the zeroth power is 1 and its product is left out, which
    // changes no bit
    HWY_ALIGN double ta[7][kInFlight * hn::MaxLanes(DF())];
    HWY_ALIGN double va[7][kInFlight * hn::MaxLanes(DF())];
    HWY_ALIGN double d[7][kInFlight * hn::MaxLanes(DF())];
    HWY_ALIGN double pa[7][kInFlight * hn::MaxLanes(DF())];
};

template <std::size_t I>
HWY_INLINE void AddTerm(DF d, const Powers& p, VF (&sum)[kInFlight]) {
    constexpr Exponents e = kExponents[I];
    const std::size_t n = hn::Lanes(d);
    const VF c = hn::Set(d, utci::kCoefficients[I]);
    for (std::size_t k = 0; k < kInFlight; ++k) {
        VF x = c;
        if constexpr (e.ta > 0) x = hn::Mul(x, hn::Load(d, p.ta[e.ta] + k * n));
        if constexpr (e.va > 0) x = hn::Mul(x, hn::Load(d, p.va[e.va] + k * n));
        if constexpr (e.d > 0) x = hn::Mul(x, hn::Load(d, p.d[e.d] + k * n));
        if constexpr (e.pa > 0) x = hn::Mul(x, hn::Load(d, p.pa[e.pa] + k * n));
        sum[k] = hn::Add(sum[k], x);
    }
}

template <std::size_t... I>
HWY_INLINE void AddTerms(DF d, const Powers& p, VF (&sum)[kInFlight], std::index_sequence<I...>) {
    (AddTerm<I>(d, p, sum), ...);
}

HWY_INLINE void PowersOf(DF d, VF x, double (*pw)[kInFlight * hn::MaxLanes(DF())], std::size_t k) {
    const std::size_t n = hn::Lanes(d);
    VF power = x;  // 1 * x is x
    hn::Store(power, d, pw[1] + k * n);
    for (int e = 2; e <= utci::kDegree; ++e) {
        power = hn::Mul(power, x);
        hn::Store(power, d, pw[e] + k * n);
    }
}

void UtciKernel(const UtciArgs& a, std::size_t begin, std::size_t end) {
    const DF d;
    const std::size_t n = hn::Lanes(d);
    // the expressions of UtciWind10m, folded the same way
    const VF log1000 = hn::Set(d, std::log10(1000.0));
    const VF log110 = hn::Set(d, std::log10(110.0));
    const VF missing = hn::Set(d, double(a.missingValue));
    Powers p;
    for (std::size_t i = begin; i < end; i += kInFlight * n) {
        VF ta[kInFlight];
        MF ok[kInFlight];
        std::size_t count[kInFlight];
        for (std::size_t k = 0; k < kInFlight; ++k) {
            const std::size_t at = std::min(i + k * n, end - 1);
            count[k] = std::min(n, end - at);
            if (i + k * n >= end) count[k] = 0;
            const std::size_t lanes = count[k] ? count[k] : 1;
            ta[k] = LoadLanes(d, a.ta, at, lanes);
            const VF vp = LoadLanes(d, a.vp, at, lanes);
            const VF tmrt = LoadLanes(d, a.tmrt, at, lanes);
            const VF v = LoadLanes(d, a.v, at, lanes);
            const VF va = hn::Div(hn::Mul(v, log1000), log110);
            const VF dTmrt = hn::Sub(tmrt, ta[k]);
            const VF pa = hn::Div(vp, hn::Set(d, 10.0));
            ok[k] = hn::And(
                hn::And(hn::And(hn::Ge(ta[k], hn::Set(d, -50.0)), hn::Le(ta[k], hn::Set(d, 50.0))),
                        hn::And(hn::Ge(va, hn::Set(d, 0.5)), hn::Le(va, hn::Set(d, 17.0)))),
                hn::And(hn::And(hn::Gt(tmrt, hn::Sub(ta[k], hn::Set(d, 30.0))),
                                hn::Lt(tmrt, hn::Add(ta[k], hn::Set(d, 70.0)))),
                        hn::And(hn::Ge(vp, hn::Zero(d)), hn::Le(vp, hn::Set(d, 50.0)))));
            PowersOf(d, ta[k], p.ta, k);
            PowersOf(d, va, p.va, k);
            PowersOf(d, dTmrt, p.d, k);
            PowersOf(d, pa, p.pa, k);
        }
        VF sum[kInFlight];
        for (std::size_t k = 0; k < kInFlight; ++k) sum[k] = hn::Zero(d);
        AddTerms(d, p, sum, std::make_index_sequence<utci::kTerms>());
        for (std::size_t k = 0; k < kInFlight; ++k) {
            if (count[k] == 0) break;
            const VF utci = hn::IfThenElse(ok[k], hn::Add(ta[k], sum[k]), missing);
            StoreLanes(d, utci, a.out, i + k * n, count[k]);
        }
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
