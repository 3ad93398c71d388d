// PET's search for the reference room over many elements: each lane walks its own air
// temperature with the steps of the row function's search (SearchPetReferenceRoom), written as
// there so that each lane evaluates its expressions in the same order and rounds to 4 bytes
// where the model stores a value. The two powers take the row function's fast forms lane by
// lane; a lane where these leave the decision to libm calls the row function's own form.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "batch/PetKernel.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include <cmath>
#include <cstdint>

#include "batch/Kernels.h"
#include "batch/Simd-inl.h"
#include "indices/Pet.h"
#include "platform/Exp.h"
#include "platform/PhysicalConstants.h"
#include "platform/Pow.h"

HWY_BEFORE_NAMESPACE();
namespace umbrix::batch::detail {
namespace HWY_NAMESPACE {

namespace {

using DI = hn::RebindToSigned<DF>;
using DS = hn::Rebind<float, DF>;

// stored in 4 bytes and read back
HWY_INLINE VF Single(VF x) {
    return hn::PromoteTo(DF(), hn::DemoteTo(DS(), x));
}

// PowFour (platform/Pow.h), its exact form in every lane, pow's own where that form does not
// decide
HWY_INLINE VF PowFour(VF x, MF active) {
    const DF d;
    const DI di;
    const auto squareError = [&](VF a, VF p) {
        const VF c = hn::Mul(hn::Set(d, 134217729.0), a);
        const VF hi = hn::Sub(c, hn::Sub(c, a)), lo = hn::Sub(a, hi);
        return hn::Add(
            hn::Add(hn::Sub(hn::Mul(hi, hi), p), hn::Mul(hn::Set(d, 2.0), hn::Mul(hi, lo))),
            hn::Mul(lo, lo));
    };
    const VF a = hn::Mul(x, x), b = squareError(x, a);
    const VF c = hn::Mul(a, a), e = squareError(a, c);
    const VF low = hn::Add(e, hn::Mul(hn::Mul(hn::Set(d, 2.0), a), b));
    const VF hi = hn::Add(c, low), lo = hn::Sub(low, hn::Sub(hi, c));
    const auto bits = hn::BitCast(di, hi);
    const MF mantissa =
        hn::RebindMask(d, hn::Ne(hn::And(bits, hn::Set(di, 0x000fffffffffffff)), hn::Zero(di)));
    const VF ulp = hn::Mul(hn::BitCast(d, hn::And(bits, hn::Set(di, 0x7ff0000000000000))),
                           hn::Set(d, 0x1p-52));
    const VF ax = hn::Abs(x);
    const MF fast =
        hn::And(hn::And(hn::Gt(ax, hn::Set(d, 0x1p-14)), hn::Lt(ax, hn::Set(d, 0x1p14))),
                hn::And(mantissa, hn::Le(hn::Abs(lo), hn::Mul(ulp, hn::Set(d, 15.0 / 32.0)))));
    const MF slow = hn::AndNot(fast, active);
    if (hn::AllFalse(d, slow)) return hi;
    return hn::IfThenElse(fast, hi,
                          EachLane(d, x, slow, [](double v) { return umbrix::PowFour(v); }));
}

// ScaledPowTenForFloat (platform/Pow.h) lane by lane, the same way
HWY_INLINE VF ScaledPowTen(double factor, VF y, MF active) {
    namespace e = exp_detail;
    const DF d;
    const DI di;
    const VF x = hn::Mul(y, hn::Set(d, 2.302585092994045684));
    const VF shift = hn::Set(d, e::kShift);
    const VF shifted = hn::Add(hn::Mul(x, hn::Set(d, e::kInvLn2N)), shift);
    const VF kd = hn::Sub(shifted, shift);
    const auto m = hn::Sub(hn::BitCast(di, shifted), hn::BitCast(di, shift));
    const VF r = hn::Sub(hn::Sub(x, hn::Mul(kd, hn::Set(d, e::kLn2HiN))),
                         hn::Mul(kd, hn::Set(d, e::kLn2LoN)));
    const auto j = hn::And(m, hn::Set(di, (1 << e::kBits) - 1));
    const auto C = [&](double c) { return hn::Set(d, c); };
    const VF r2 = hn::Mul(r, r);
    const VF p = hn::Add(hn::Add(hn::Add(hn::GatherIndex(d, &e::kTable[0][1], hn::Add(j, j)), r),
                                 hn::Mul(r2, hn::Add(C(e::kC2), hn::Mul(r, C(e::kC3))))),
                         hn::Mul(hn::Mul(r2, r2), hn::Add(C(e::kC4), hn::Mul(r, C(e::kC5)))));
    const VF t = hn::GatherIndex(d, &e::kTable[0][0], hn::Add(j, j));
    // a lane outside the fast range may shift its exponent anywhere: it is not used
    const VF pow2 =
        hn::BitCast(d, hn::ShiftLeft<52>(hn::Add(hn::ShiftRight<e::kBits>(m), hn::Set(di, 1023))));
    const VF fast = hn::Mul(C(factor), hn::Mul(hn::Add(t, hn::Mul(t, p)), pow2));
    const auto below = hn::And(hn::BitCast(di, fast), hn::Set(di, (int64_t(1) << 29) - 1));
    const auto midpoint = hn::Set(di, int64_t(1) << 28);
    const MF clear = hn::RebindMask(d, hn::Or(hn::Gt(below, hn::Add(midpoint, hn::Set(di, 1024))),
                                              hn::Lt(below, hn::Sub(midpoint, hn::Set(di, 1024)))));
    const VF magnitude = hn::Abs(fast);
    const MF ok = hn::And(hn::And(hn::Lt(hn::Abs(x), C(50.0)), clear),
                          hn::And(hn::Gt(magnitude, C(0x1p-120)), hn::Lt(magnitude, C(0x1p120))));
    const MF slow = hn::AndNot(ok, active);
    if (hn::AllFalse(d, slow)) return fast;
    return hn::IfThenElse(ok, fast, EachLane(d, y, slow, [factor](double v) {
                              return ScaledPowTenForFloat(factor, v);
                          }));
}

// Vectors in flight: each pass is one long dependent chain through the balance.
constexpr std::size_t K = 2;
using P = Pack<K>;
using M = PackMask<K>;

HWY_INLINE P Single(P x) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) x.v[k] = Single(x.v[k]);
    return x;
}
HWY_INLINE P Pow4K(P t, M active) {
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k)
        t.v[k] = PowFour(hn::Add(t.v[k], hn::Set(DF(), kZeroCelsiusBodyModels)), active.m[k]);
    return t;
}
// the saturation vapour pressure of the row function, hPa
HWY_INLINE P Magnus(P t, M active) {
    const P y = 7.45 * t / (235.0 + t);
    P r;
    UMBRIX_EACH_VECTOR
    for (std::size_t k = 0; k < K; ++k) r.v[k] = ScaledPowTen(6.11, y.v[k], active.m[k]);
    return r;
}
HWY_INLINE M AndNot(M a, M b) {
    return Not(a) & b;
}

}  // namespace

void PetReferenceKernel(const PetReferenceArgs& a, std::size_t begin, std::size_t end) {
    using R = PetReferenceRoom;
    constexpr std::size_t kMax = K * hn::MaxLanes(DF());
    const std::size_t n = K * hn::Lanes(DF());
    // the model's constants as it reads them
    const double emsk = R::kEmsk, emcl = R::kEmcl, sigma = R::kSigma, cair = R::kCair;
    const double latent = 0.623 * double(R::kEvap) / double(R::kP);
    const double steps[4] = {float(1.0), float(0.1), float(0.01), float(0.001)};
    for (std::size_t i = begin; i < end; i += n) {
        HWY_ALIGN double p4tsk[kMax], p4tcl[kMax], ta[kMax], tsk[kMax], tcl[kMax], facl[kMax],
            aeff[kMax], feff[kMax], acl[kMax], adu[kMax], hc[kMax], h[kMax], ed[kMax], esw[kMax],
            rtv[kMax], open[kMax];
        bool any = false;
        for (std::size_t k = 0; k < n; ++k) {
            // a lane past the end repeats the last room, not searched
            const bool inside = i + k < end;
            const R& room = a.room[inside ? i + k : end - 1];
            p4tsk[k] = room.p4tsk, p4tcl[k] = room.p4tcl, ta[k] = room.ta, tsk[k] = room.tsk;
            tcl[k] = room.tcl, facl[k] = room.facl, aeff[k] = room.aeff, feff[k] = room.feff;
            acl[k] = room.acl, adu[k] = room.adu, hc[k] = room.hc, h[k] = room.h;
            ed[k] = room.ed, esw[k] = room.esw, rtv[k] = room.rtv;
            open[k] = inside && room.searchable ? 1.0 : 0.0;
            any = any || open[k] != 0.0;
        }
        if (any) {
            const P P4tsk = LoadPack<K>(p4tsk), P4tcl = LoadPack<K>(p4tcl), Tsk = LoadPack<K>(tsk),
                    Tcl = LoadPack<K>(tcl), Facl = LoadPack<K>(facl), Aeff = LoadPack<K>(aeff),
                    Feff = LoadPack<K>(feff), Acl = LoadPack<K>(acl), Adu = LoadPack<K>(adu),
                    Hc = LoadPack<K>(hc), H = LoadPack<K>(h), Ed = LoadPack<K>(ed),
                    Esw = LoadPack<K>(esw), Rtv = LoadPack<K>(rtv);
            M active = LoadPack<K>(open) == 1.0;
            P tx = LoadPack<K>(ta), balPrev = Splat<K>(0.0), step = Splat<K>(steps[0]);
            P stepIndex = Splat<K>(0.0), pet = stepIndex, rnb = pet, conv = pet;
            M found = NoLanes<K>();
            for (long passes = 1; passes <= R::kSearchLimit && Any(active); ++passes) {
                // as SearchPetReferenceRoom, expression by expression
                const P p4tx = Pow4K(tx, active);
                const P rbare = Single((p4tx - P4tsk) * (1.0 - Facl) * Aeff * emsk * sigma);
                const P rclo = Single((p4tx - P4tcl) * Feff * Acl * emcl * sigma);
                const P rsum = Single(rbare + rclo);
                const P cbare = Single((tx - Tsk) * Hc * Adu * (1.0 - Facl));
                const P cclo = Single((tx - Tcl) * Hc * Acl);
                const P csum = Single(cbare + cclo);
                const P tex = Single(0.47 * tx + 21.0);
                const P ere = Single((tx - tex) * cair * Rtv);
                const P vpex = Single(Magnus(tex, active));
                const P erel = Single(latent * (12.0 - vpex) * Rtv);
                const P eres = Single(ere + erel);
                const P bal = Single(H + Ed + eres + Esw + csum + rsum);
                tx = Select(active & (bal > 0.0), Single(tx - step), tx);
                tx = Select(active & (bal < 0.0), Single(tx + step), tx);
                const M crossed =
                    ((bal <= 0.0) & (balPrev > 0.0)) | ((bal >= 0.0) & (balPrev < 0.0));
                // balPrev keeps the balance from before the crossing
                balPrev = Select(AndNot(crossed, active), bal, balPrev);
                const M next = active & crossed;
                stepIndex = Select(next, stepIndex + 1.0, stepIndex);
                const M done = next & (stepIndex == 4.0);
                pet = Select(done, tx, pet);
                rnb = Select(done, rsum, rnb);
                conv = Select(done, csum, conv);
                found = found | done;
                active = AndNot(done, active);
                step = Select(stepIndex == 1.0, steps[1], step);
                step = Select(stepIndex == 2.0, steps[2], step);
                step = Select(stepIndex == 3.0, steps[3], step);
            }
            HWY_ALIGN double petLanes[kMax], rnbLanes[kMax], convLanes[kMax];
            bool foundLanes[kMax];
            StorePack(pet, petLanes);
            StorePack(rnb, rnbLanes);
            StorePack(conv, convLanes);
            StoreMask(found, foundLanes);
            for (std::size_t k = 0; k < n && i + k < end; ++k) {
                if (!foundLanes[k]) continue;
                PetDetails& out = a.out[i + k];
                out.PET = float(petLanes[k]);
                out.Rnb = float(rnbLanes[k]);
                out.C = float(convLanes[k]);
                out.Evpd = float(ed[k]);
            }
        }
        for (std::size_t k = 0; k < n && i + k < end; ++k) {
            PetDetails& out = a.out[i + k];
            for (float* x : {&out.PET, &out.Rnb, &out.C, &out.Evpd})
                if (!std::isfinite(*x)) *x = a.missingValue;
        }
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace umbrix::batch::detail
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace umbrix::batch::detail {
HWY_EXPORT(PetReferenceKernel);
void RunPetReference(const PetReferenceArgs& a, std::size_t begin, std::size_t end) {
    HWY_DYNAMIC_DISPATCH(PetReferenceKernel)(a, begin, end);
}
}  // namespace umbrix::batch::detail
#endif
