// PMV over many elements: each lane runs the Newton iterations of the row function with its
// operations in the same order; a lane whose iteration has converged stops taking part. The
// powers go to libm lane by lane, as in the row function; the person's terms are computed once
// for each run of elements with the same person.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "batch/PmvKernel.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "batch/Kernels.h"
#include "batch/Simd-inl.h"
#include "indices/pmvumb.h"

HWY_BEFORE_NAMESPACE();
namespace umbrix::batch::detail {
namespace HWY_NAMESPACE {

namespace {

constexpr double kKelvin = 273.2;     // as in the row function
constexpr double kSigma = 5.67e-8;    // W m-2 K-4
constexpr double kEmissivity = 0.97;  // of skin and clothing
constexpr double kTclStart = 30.005;  // °C
constexpr int kMaxUpdates = 100;

// The person of one element, and the last one computed, to reuse while the person repeats.
struct PersonKey {
    int sex, age;
    float icl, work, height, weight;
    bool operator==(const PersonKey& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
};

struct Lanes {
    HWY_ALIGN double ta[hn::MaxLanes(DF())], vp[hn::MaxLanes(DF())], v[hn::MaxLanes(DF())],
        tmrt[hn::MaxLanes(DF())];
    HWY_ALIGN double adu[hn::MaxLanes(DF())], m[hn::MaxLanes(DF())], fcl[hn::MaxLanes(DF())],
        icl[hn::MaxLanes(DF())], factor[hn::MaxLanes(DF())], valid[hn::MaxLanes(DF())];
};

struct Tcl {
    VF tcl, hc;
    VF p4;     // Pow4K(tcl) of the last step
    MF hasP4;  // lanes whose p4 belongs to the returned tcl (stopped by the test)
};

struct Body {
    VF adu, m, fcl, icl;
};

VF Pow4K(DF d, VF t, MF active) {
    return EachLane(d, hn::Add(t, hn::Set(d, kKelvin)), active,
                    [](double x) { return std::pow(x, 4); });
}

// SolveTcl of the row function for the lanes in active.
Tcl SolveTcl(DF d, const Body& b, VF ta, VF p4tmrt, bool natural, VF hc, MF active) {
    const VF diffusion = hn::Sub(hn::Set(d, 35.7), hn::Div(hn::Mul(hn::Set(d, 0.032), b.m),
                                                           hn::Mul(hn::Set(d, 1.16), b.adu)));
    const VF icl155 = hn::Mul(hn::Set(d, 0.155), b.icl);
    const VF iclMinus155 = hn::Mul(hn::Set(d, -0.155), b.icl);
    const VF rad = hn::Mul(hn::Set(d, 3.94e-8), b.fcl);
    const VF rad3 = hn::Mul(hn::Set(d, 15.76e-8), b.fcl);
    Tcl r{hn::Set(d, kTclStart), hc, hn::Zero(d), hn::FirstN(d, 0)};
    MF open = active;
    for (int update = 0; update < kMaxUpdates; ++update) {
        VF dh = hn::Zero(d);
        if (natural) {
            const VF gap = hn::Abs(hn::Sub(r.tcl, ta));
            r.hc = hn::IfThenElse(
                open,
                hn::Mul(hn::Set(d, 2.38),
                        EachLane(d, gap, open, [](double x) { return std::pow(x, 0.25); })),
                r.hc);
        }
        const VF p4 = Pow4K(d, r.tcl, open);
        r.p4 = hn::IfThenElse(open, p4, r.p4);
        const VF f = hn::Sub(
            diffusion, hn::Mul(icl155, hn::Add(hn::Mul(rad, hn::Sub(p4, p4tmrt)),
                                               hn::Mul(hn::Mul(b.fcl, r.hc), hn::Sub(r.tcl, ta)))));
        const MF stop = hn::And(open, hn::Lt(hn::Abs(hn::Sub(r.tcl, f)), hn::Set(d, 0.01)));
        r.hasP4 = hn::Or(r.hasP4, stop);
        open = hn::AndNot(stop, open);
        if (hn::AllFalse(d, open)) break;
        if (natural)
            dh = hn::Mul(hn::Set(d, 0.6), EachLane(d, hn::Abs(hn::Sub(r.tcl, ta)), open,
                                                   [](double x) { return std::pow(x, -0.75); }));
        const VF p3 = EachLane(d, hn::Add(r.tcl, hn::Set(d, kKelvin)), open,
                               [](double x) { return std::pow(x, 3); });
        const VF slope =
            hn::Sub(hn::Mul(iclMinus155, hn::Sub(hn::Add(hn::Mul(rad3, p3), hn::Mul(b.fcl, r.hc)),
                                                 hn::Mul(hn::Mul(b.fcl, dh), hn::Sub(r.tcl, ta)))),
                    hn::Set(d, 1.0));
        const VF next = hn::Sub(r.tcl, hn::Div(hn::Sub(f, r.tcl), slope));
        r.tcl = hn::IfThenElse(open, next, r.tcl);
    }
    return r;
}

// Vote of the row function; p4tcl is used where hasP4 is set, elsewhere computed.
VF Vote(DF d, const Body& b, VF factor, VF ta, VF vp, VF p4tmrt, const Tcl& t, MF active) {
    const VF h = b.m;
    const VF tsk = hn::Sub(hn::Set(d, 35.7), hn::Div(hn::Mul(hn::Set(d, 0.028), h), b.adu));
    VF esw =
        hn::Mul(hn::Mul(hn::Set(d, 0.42), b.adu), hn::Sub(hn::Div(h, b.adu), hn::Set(d, 58.08)));
    esw = hn::IfThenElse(hn::Lt(esw, hn::Zero(d)), hn::Zero(d), esw);
    const VF ar = hn::Mul(hn::Mul(hn::Set(d, 0.71), b.fcl), b.adu);
    const VF p4 = hn::IfThenElse(t.hasP4, t.p4, Pow4K(d, t.tcl, hn::AndNot(t.hasP4, active)));
    const VF r = hn::Mul(hn::Mul(hn::Mul(ar, hn::Set(d, kEmissivity)), hn::Set(d, kSigma)),
                         hn::Sub(p4, p4tmrt));
    const VF c = hn::Mul(hn::Mul(hn::Mul(b.adu, b.fcl), t.hc), hn::Sub(t.tcl, ta));
    const VF erel = hn::Mul(hn::Mul(hn::Set(d, 0.0023), b.m),
                            hn::Sub(hn::Set(d, 44.0), hn::Mul(hn::Set(d, 0.75), vp)));
    const VF eres = hn::Mul(hn::Mul(hn::Set(d, 0.0014), b.m), hn::Sub(hn::Set(d, 34.0), ta));
    const VF ed = hn::Mul(hn::Mul(hn::Set(d, 0.406), b.adu),
                          hn::Sub(hn::Sub(hn::Mul(hn::Set(d, 1.92), tsk), hn::Set(d, 25.3)),
                                  hn::Mul(hn::Set(d, 0.75), vp)));
    const VF load =
        hn::Sub(hn::Sub(hn::Sub(hn::Sub(hn::Sub(hn::Sub(h, ed), erel), eres), esw), r), c);
    return hn::Div(hn::Mul(factor, load), b.adu);
}

}  // namespace

void PmvKernel(const PmvArgs& a, std::size_t begin, std::size_t end) {
    const DF d;
    const std::size_t n = hn::Lanes(d);
    PersonKey lastKey{};
    pmv::Body lastBody{};
    double lastFactor = 0;
    bool haveLast = false;
    Lanes in;
    for (std::size_t i = begin; i < end; i += n) {
        const std::size_t count = std::min(n, end - i);
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t e = i + std::min(k, count - 1);
            // the row function's 4-byte parameters
            const float ta = float(a.ta[e]), vp = float(a.vp[e]), v = float(a.v[e]),
                        tmrt = float(a.tmrt[e]), icl = float(a.icl[e]), work = float(a.work[e]),
                        height = float(a.height[e]), weight = float(a.weight[e]);
            const double age = a.age[e];
            const int sex = a.sex[e];
            in.ta[k] = ta, in.vp[k] = vp, in.v[k] = v, in.tmrt[k] = tmrt;
            const float checked[] = {ta, vp, v, tmrt, icl, work, height, weight};
            bool valid = true;
            for (float x : checked) valid = valid && std::isfinite(x);
            valid = valid && !(icl < 0.0f || height <= 0.0f || weight <= 0.0f);
            valid = valid && (sex == 1 || sex == 2);
            // the whole years of the age, where there are any
            valid = valid && age > double(std::numeric_limits<int>::min()) - 1.0 &&
                    age < double(std::numeric_limits<int>::max()) + 1.0;
            in.valid[k] = valid ? 1.0 : 0.0;
            if (!valid) {
                in.adu[k] = in.m[k] = in.fcl[k] = in.icl[k] = in.factor[k] = 1.0;
                continue;
            }
            const PersonKey key{sex, int(age), icl, work, height, weight};
            if (!haveLast || !(key == lastKey)) {
                lastKey = key;
                lastBody = pmv::MakeBody(sex, key.age, icl, work, height, weight);
                lastFactor = pmv::VoteFactor(lastBody);
                haveLast = true;
            }
            in.adu[k] = lastBody.adu, in.m[k] = lastBody.m, in.fcl[k] = lastBody.fcl;
            in.icl[k] = lastBody.icl, in.factor[k] = lastFactor;
        }
        const MF valid = hn::Eq(hn::Load(d, in.valid), hn::Set(d, 1.0));
        const VF missing = hn::Set(d, double(a.missingValue));
        if (hn::AllFalse(d, valid)) {
            StoreLanes(d, missing, a.out, i, count);
            continue;
        }
        const VF ta = hn::Load(d, in.ta), vp = hn::Load(d, in.vp), v = hn::Load(d, in.v),
                 tmrt = hn::Load(d, in.tmrt);
        const Body b{hn::Load(d, in.adu), hn::Load(d, in.m), hn::Load(d, in.fcl),
                     hn::Load(d, in.icl)};
        const VF factor = hn::Load(d, in.factor);

        const VF floor = hn::Set(d, double(0.1f));
        const VF wind = hn::IfThenElse(hn::Lt(v, floor), floor, v);
        const VF hcForced = hn::Mul(hn::Set(d, 12.06), hn::Sqrt(wind));
        const VF p4tmrt = Pow4K(d, tmrt, valid);
        Tcl t = SolveTcl(d, b, ta, p4tmrt, false, hcForced, valid);
        VF pmv = Vote(d, b, factor, ta, vp, p4tmrt, t, valid);
        // natural convection dominates: a second pass from the start value
        const VF natural =
            hn::Mul(hn::Set(d, 2.38), EachLane(d, hn::Abs(hn::Sub(ta, t.tcl)), valid,
                                               [](double x) { return std::pow(x, 0.25); }));
        const MF again = hn::AndNot(hn::Gt(hcForced, natural), valid);
        if (!hn::AllFalse(d, again)) {
            const Tcl tn = SolveTcl(d, b, ta, p4tmrt, true, t.hc, again);
            pmv = hn::IfThenElse(again, Vote(d, b, factor, ta, vp, p4tmrt, tn, again), pmv);
        }
        // absurd inputs may overflow the heat flows; there is no vote then
        const MF finite = hn::Lt(hn::Abs(pmv), hn::Set(d, std::numeric_limits<double>::infinity()));
        StoreLanes(d, hn::IfThenElse(hn::And(valid, finite), pmv, missing), a.out, i, count);
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
