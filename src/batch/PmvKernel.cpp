// PMV over many elements: each lane runs the Newton iterations of the row function, written as
// there so that every lane evaluates its expressions in the same order; a lane whose iteration
// has stopped takes no further part. The powers go to libm lane by lane, as in the row
// function; the person's terms are computed once for each run of elements with one person.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "batch/PmvKernel.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "batch/Kernels.h"
#include "batch/Simd-inl.h"
#include "indices/Pmv.h"

HWY_BEFORE_NAMESPACE();
namespace umbrix::batch::detail {
namespace HWY_NAMESPACE {

namespace {

constexpr std::size_t K = 1;  // the powers, not the arithmetic, take the time
using P = Pack<K>;
using M = PackMask<K>;

// the row function's constants
constexpr double kSigma = 5.67e-8;    // W m-2 K-4
constexpr double kEmissivity = 0.97;  // of skin and clothing
constexpr double kKelvin = 273.2;
constexpr double kTclStart = 30.005;  // °C
constexpr int kMaxUpdates = 100;

HWY_INLINE P Pow4K(P t, M active) {
    return EachLane(t + kKelvin, active, [](double x) { return std::pow(x, 4); });
}

struct Body {
    P adu, m, fcl, icl;
    P factor;  // VoteFactor
};

struct Clothing {
    P tcl, hc;
    P p4tcl;  // Pow4K(tcl)
};

// SolveTcl of the row function for the lanes in active.
HWY_NOINLINE Clothing SolveTcl(const Body& b, P ta, P p4tmrt, bool natural, P hc, M active) {
    P tcl = Splat<K>(kTclStart);
    P p4tcl = Splat<K>(0.0);
    M converged = NoLanes<K>();
    M open = active;
    for (int update = 0; update < kMaxUpdates && Any(open); ++update) {
        if (natural)
            hc = Select(
                open,
                2.38 * EachLane(Abs(tcl - ta), open, [](double x) { return std::pow(x, 0.25); }),
                hc);
        p4tcl = Select(open, Pow4K(tcl, open), p4tcl);
        const P f = 35.7 - 0.032 * b.m / (1.16 * b.adu) -
                    0.155 * b.icl * (3.94e-8 * b.fcl * (p4tcl - p4tmrt) + b.fcl * hc * (tcl - ta));
        const M stop = open & (Abs(tcl - f) < 0.01);
        converged = converged | stop;
        open = open & Not(stop);
        if (!Any(open)) break;
        const P dh = natural ? 0.6 * EachLane(Abs(tcl - ta), open,
                                              [](double x) { return std::pow(x, -0.75); })
                             : Splat<K>(0.0);
        const P cube = EachLane(tcl + kKelvin, open, [](double x) { return std::pow(x, 3); });
        const P d =
            -0.155 * b.icl * (15.76e-8 * b.fcl * cube + b.fcl * hc - b.fcl * dh * (tcl - ta)) - 1.0;
        tcl = Select(open, tcl - (f - tcl) / d, tcl);
    }
    // after the last update Tcl has moved on from its power
    return {tcl, hc, Select(converged, p4tcl, Pow4K(tcl, active & Not(converged)))};
}

// Vote of the row function.
HWY_NOINLINE P Vote(const Body& b, P ta, P vp, P p4tmrt, const Clothing& c) {
    const P h = b.m;
    const P tsk = 35.7 - 0.028 * h / b.adu;
    P esw = 0.42 * b.adu * (h / b.adu - 58.08);
    esw = Select(esw < 0.0, 0.0, esw);  // no sweating below the comfort level of activity
    const P ar = 0.71 * b.fcl * b.adu;
    const P r = ar * kEmissivity * kSigma * (c.p4tcl - p4tmrt);
    const P conv = b.adu * b.fcl * c.hc * (c.tcl - ta);
    const P erel = 0.0023 * b.m * (44.0 - 0.75 * vp);
    const P eres = 0.0014 * b.m * (34.0 - ta);
    const P ed = 0.406 * b.adu * (1.92 * tsk - 25.3 - 0.75 * vp);
    const P load = h - ed - erel - eres - esw - r - conv;
    return b.factor * load / b.adu;
}

// The person of one element, and the last one computed, to reuse while the person repeats.
struct PersonKey {
    int sex, age;
    float icl, work, height, weight;
    bool operator==(const PersonKey& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
};

}  // namespace

void PmvKernel(const PmvArgs& a, std::size_t begin, std::size_t end) {
    constexpr std::size_t kLanes = K * hn::MaxLanes(DF());
    const std::size_t n = K * hn::Lanes(DF());
    PersonKey lastKey{};
    pmv::Body lastBody{};
    double lastFactor = 0;
    bool haveLast = false;
    HWY_ALIGN double ta[kLanes], vp[kLanes], v[kLanes], tmrt[kLanes];
    HWY_ALIGN double adu[kLanes], m[kLanes], fcl[kLanes], icl[kLanes], factor[kLanes],
        valid[kLanes];
    for (std::size_t i = begin; i < end; i += n) {
        // lanes past the end repeat the last element
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t e = std::min(i + k, end - 1);
            // the row function's 4-byte parameters
            const float fta = float(a.ta[e]), fvp = float(a.vp[e]), fv = float(a.v[e]),
                        ftmrt = float(a.tmrt[e]), ficl = float(a.icl[e]), work = float(a.work[e]),
                        height = float(a.height[e]), weight = float(a.weight[e]);
            const double age = a.age[e];
            const int sex = a.sex[e];
            ta[k] = fta, vp[k] = fvp, v[k] = fv, tmrt[k] = ftmrt;
            bool ok = true;
            for (float x : {fta, fvp, fv, ftmrt, ficl, work, height, weight})
                ok = ok && std::isfinite(x);
            ok = ok && !(ficl < 0.0f || height <= 0.0f || weight <= 0.0f);
            ok = ok && (sex == 1 || sex == 2);
            // the whole years of the age, where an int holds them
            ok = ok && age > double(std::numeric_limits<int>::min()) - 1.0 &&
                 age < double(std::numeric_limits<int>::max()) + 1.0;
            valid[k] = ok ? 1.0 : 0.0;
            if (!ok) {
                adu[k] = m[k] = fcl[k] = icl[k] = factor[k] = 1.0;
                continue;
            }
            const PersonKey key{sex, int(age), ficl, work, height, weight};
            if (!haveLast || !(key == lastKey)) {
                lastKey = key;
                lastBody = pmv::MakeBody(sex, key.age, ficl, work, height, weight);
                lastFactor = pmv::VoteFactor(lastBody);
                haveLast = true;
            }
            adu[k] = lastBody.adu, m[k] = lastBody.m, fcl[k] = lastBody.fcl;
            icl[k] = lastBody.icl, factor[k] = lastFactor;
        }
        const M ok = LoadPack<K>(valid) == 1.0;
        const P missing = Splat<K>(double(a.missingValue));
        if (!Any(ok)) {
            StorePack(missing, a.out, i, end);
            continue;
        }
        const Body b{LoadPack<K>(adu), LoadPack<K>(m), LoadPack<K>(fcl), LoadPack<K>(icl),
                     LoadPack<K>(factor)};
        const P Ta = LoadPack<K>(ta), VP = LoadPack<K>(vp), V = LoadPack<K>(v),
                Tmrt = LoadPack<K>(tmrt);

        // floored at the 4-byte 0.1, as in the row function
        const P wind = Select(V < double(0.1f), double(0.1f), V);
        const P hcForced = 12.06 * Sqrt(wind);
        const P p4tmrt = Pow4K(Tmrt, ok);
        const Clothing forced = SolveTcl(b, Ta, p4tmrt, false, hcForced, ok);
        P pmv = Vote(b, Ta, VP, p4tmrt, forced);
        // natural convection dominates: a second pass from the start value
        const P hcNatural =
            2.38 * EachLane(Abs(Ta - forced.tcl), ok, [](double x) { return std::pow(x, 0.25); });
        const M again = ok & Not(hcForced > hcNatural);
        if (Any(again))
            pmv = Select(again,
                         Vote(b, Ta, VP, p4tmrt, SolveTcl(b, Ta, p4tmrt, true, forced.hc, again)),
                         pmv);
        // absurd inputs may overflow the heat flows; there is no vote then
        StorePack(Select(ok & Finite(pmv), pmv, missing), a.out, i, end);
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace umbrix::batch::detail
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace umbrix::batch::detail {
HWY_EXPORT(PmvKernel);
void RunPmv(const PmvArgs& a, std::size_t begin, std::size_t end) {
    HWY_DYNAMIC_DISPATCH(PmvKernel)(a, begin, end);
}
}  // namespace umbrix::batch::detail
#endif
