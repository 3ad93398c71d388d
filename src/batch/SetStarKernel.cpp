// SET* over many elements: the exposure passes of the row function run in every lane at once,
// written as there so that each lane evaluates its expressions in the same order; the
// search for the standard environment runs per lane with a mask until every lane has found its
// value. The exponentials are umbrix::Exp, which the row function uses as well; what each
// element fixes before the exposure (the powers of libm) comes from the row function's own
// setstar::Prepare.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "batch/SetStarKernel.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "batch/Kernels.h"
#include "batch/Simd-inl.h"
#include "indices/SetStar.h"
#include "platform/PhysicalConstants.h"

HWY_BEFORE_NAMESPACE();
namespace umbrix::batch::detail {
namespace HWY_NAMESPACE {

namespace {

// Vectors in flight: a pass is a long chain of dependent divisions and exponentials.
constexpr std::size_t K = 2;
using P = Pack<K>;
using M = PackMask<K>;

using namespace setstar;

HWY_INLINE P SaturationTorr(P t) {
    return Exp(18.6686 - 4030.183 / (t + 235.0));
}

// The inputs of one element as the row function takes them, and what they fix.
struct Lane {
    float ta, tmrt, rh, v, icl, height, weight, activity;
    bool operator==(const Lane& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
};

}  // namespace

void SetStarKernel(const SetStarArgs& a, std::size_t begin, std::size_t end) {
    constexpr std::size_t kLanes = K * hn::MaxLanes(DF());
    const std::size_t n = K * hn::Lanes(DF());
    static const int passes = Passes();
    HWY_ALIGN double ta[kLanes], tmrt[kLanes], icl[kLanes], w[kLanes], m[kLanes], valid[kLanes];
    HWY_ALIGN double area[kLanes], pa[kLanes], chcA[kLanes], chc[kLanes], cloS[kLanes],
        faclS[kLanes];
    Lane last{};
    Setup lastSetup{};
    bool haveLast = false;
    for (std::size_t i = begin; i < end; i += n) {
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t e = std::min(i + k, end - 1);
            const Lane l{float(a.ta[e]),     float(a.tmrt[e]),    float(a.rh[e]),
                         float(a.v[e]),      float(a.icl[e]),     float(a.height[e]),
                         float(a.weight[e]), float(a.activity[e])};
            bool ok = true;
            for (float x : {l.ta, l.tmrt, l.rh, l.v, l.icl, l.height, l.weight, l.activity})
                ok = ok && std::isfinite(x);
            valid[k] = ok ? 1.0 : 0.0;
            // a lane without a value computes the default person in still air, unused
            const Lane& in = ok ? l : Lane{20, 20, 50, 0.1f, 0.9f, 1.75f, 75, 80};
            if (!haveLast || !(in == last)) {
                last = in;
                lastSetup =
                    Prepare(in.ta, in.rh, in.v, in.height, in.weight, in.activity, a.sedentary);
                haveLast = true;
            }
            ta[k] = in.ta, tmrt[k] = in.tmrt, icl[k] = in.icl, w[k] = in.weight;
            m[k] = in.activity;
            area[k] = lastSetup.A, pa[k] = lastSetup.Pa, chcA[k] = lastSetup.chcA;
            chc[k] = lastSetup.chc, cloS[k] = lastSetup.cloS, faclS[k] = lastSetup.faclS;
        }
        const P missing = Splat<K>(double(a.missingValue));
        const M ok = LoadPack<K>(valid) == 1.0;
        if (!Any(ok)) {
            StorePack(missing, a.out, i, end);
            continue;
        }
        const P Ta = LoadPack<K>(ta), Tmrt = LoadPack<K>(tmrt), Icl = LoadPack<K>(icl),
                W = LoadPack<K>(w), Mr = LoadPack<K>(m), A = LoadPack<K>(area),
                Pa = LoadPack<K>(pa), Chc = LoadPack<K>(chc);

        // the exposure, as in the row function
        P Tsk = Splat<K>(TskN), Tcr = Splat<K>(TcrN), Skbf = Splat<K>(SkbfN),
          alfa = Splat<K>(AlfaN);
        P Etot = 0.1 * Mr;
        P pwet = Splat<K>(0.0);
        const P facl = 1 + 0.15 * Icl;
        P chr = Splat<K>(4.7);
        P ctc = chr + Chc;
        P Top = (chr * Tmrt + Chc * Ta) / ctc;
        P cloe = Icl - (facl - 1) / (0.155 * facl * ctc);
        P fcle = 1 / (1 + 0.155 * ctc * cloe);
        const P fpcl = 1 / (1 + 0.143 * Chc * cloe);
        P Dry = Splat<K>(0.0), Eres = Dry, Cres = Dry;
        const P kTmrt = Tmrt + kZeroCelsiusSetStar;
        const P kTmrt2 = kTmrt * kTmrt;
        for (int pass = 0; pass < passes; ++pass) {
            cloe = Icl - (facl - 1) / (0.155 * facl * ctc);
            fcle = 1 / (1 + 0.155 * ctc * cloe);
            const P Tcl = Top + (Tsk - Top) * fcle;
            const P kTcl = Tcl + kZeroCelsiusSetStar;
            chr = 0.8 * kStefanBoltzmann * (Tcl + Tmrt + 546) * (kTcl * kTcl + kTmrt2);
            ctc = chr + Chc;
            Top = (chr * Tmrt + Chc * Ta) / ctc;
            Eres = 0.0023 * Mr * (44 - Pa);
            Cres = 0.0014 * Mr * (34 - Ta);
            Dry = fcle * ctc * (Tsk - Top);
            const P Esk = Etot - Eres;
            const P Hfcs = (Tcr - Tsk) * (5.28 + 1.163 * Skbf);
            const P Ssk = Hfcs - Dry - Esk;
            const P Scr = Mr - Hfcs - Cres - Eres - Wme;
            const P tcsk = 0.97 * alfa * W;
            const P tccr = 0.97 * (1 - alfa) * W;
            const P dTsk = Ssk * A / tcsk;
            const P dTcr = Scr * A / tccr;
            Tsk = Tsk + dTsk / 180;
            Tcr = Tcr + dTcr / 180;

            const P warms = Select(Tsk > TskN, Tsk - TskN, Splat<K>(0.0));
            const P colds = Select(Splat<K>(TskN) > Tsk, TskN - Tsk, Splat<K>(0.0));
            const P warmc = Select(Tcr > TcrN, Tcr - TcrN, Splat<K>(0.0));
            Skbf = (SkbfN + Cdil * warmc) / (1 + Cstr * colds);
            alfa = 0.04415 + 0.351 / (Skbf - 0.014);
            const P Tb = alfa * Tsk + (1 - alfa) * Tcr;
            const P warmb = Select(Tb > TbN, Tb - TbN, Splat<K>(0.0));
            const P regsw = Csw * warmb * Exp(warms / 10.7);
            const P ersw = 0.68 * regsw;
            const P emax = Lewis * Chc * (SaturationTorr(Tsk) - Pa) * fpcl;
            const P prsw = ersw / emax;
            pwet = 0.06 + 0.94 * prsw;
            const P edif = pwet * emax - ersw;
            Etot = Eres + ersw + edif;
            // fully wet skin: evaporation limited to its maximum
            const M wet = emax - ersw <= 0.0;
            Etot = Select(wet, Eres + emax, Etot);
            pwet = Select(wet, 1.0, pwet);
        }
        const P S = Mr - Wme - Cres - Etot - Dry;
        const P Hsk = Mr - Eres - Cres - Wme - S;
        M open = ok & Finite(Tsk) & Finite(Tcr) & Finite(Hsk) & Finite(pwet) & Finite(chr);

        // the standard environment and the search for its temperature
        const P chcS = LoadPack<K>(chcA), cloSv = LoadPack<K>(cloS), faclSv = LoadPack<K>(faclS);
        const P ctcS = chr + chcS;
        const P cloeS = cloSv - (faclSv - 1) / (0.155 * faclSv * ctcS);
        const P fcleS = 1 / (1 + 0.155 * ctcS * cloeS);
        const P fpclS = 1 / (1 + 0.143 * chcS * cloeS);
        const P PsatSk = SaturationTorr(Tsk);
        P X = Tsk - Hsk / (ctcS * fcleS);
        open = open & Finite(X);
        const P dry = ctcS * fcleS;
        const P wetS = Lewis * pwet * chcS * fpclS;
        P result = missing;
        for (int step = 1; step <= MaxSearchSteps && Any(open); ++step) {
            const P err = Hsk - dry * (Tsk - X) - wetS * (PsatSk - 0.5 * SaturationTorr(X));
            X = X + SearchStep;
            const M found = open & (err >= 0.0);
            result = Select(found, X, result);
            open = open & Not(found);
        }
        StorePack(result, a.out, i, end);
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace umbrix::batch::detail
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace umbrix::batch::detail {
HWY_EXPORT(SetStarKernel);
void RunSetStar(const SetStarArgs& a, std::size_t begin, std::size_t end) {
    HWY_DYNAMIC_DISPATCH(SetStarKernel)(a, begin, end);
}
}  // namespace umbrix::batch::detail
#endif
