// PT over many elements: the clothing choice and Ridders' search of the row function run in
// every lane with masks, so that each lane sees the votes, comparisons and updates its element
// would see alone; the expressions are written as in the row function and evaluate in its
// order. The sultriness correction (exp and log of libm) is the row function's own, called
// lane by lane.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "batch/PtKernel.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include <cmath>

#include "batch/Kernels.h"
#include "batch/Simd-inl.h"
#include "indices/PerceivedTemperature.h"

HWY_BEFORE_NAMESPACE();
namespace umbrix::batch::detail {
namespace HWY_NAMESPACE {

namespace {

// Vectors in flight: the votes are long chains of dependent divisions (measured on AVX-512:
// two vectors 17 M/s, one 15 M/s).
constexpr std::size_t K = 2;
using P = Pack<K>;
using M = PackMask<K>;

// the row function's constants
constexpr double Met = 134.6862;         // W/m²
constexpr double CloLow = 0.44453;       // clo
constexpr double CloHigh = 1.76267;      // clo
constexpr double CloSummer = 0.5;        // clo
constexpr double CloWinter = 1.75;       // clo
constexpr double CloTolerance = 0.0005;  // clo
constexpr int MaxSearchIterations = 15;
constexpr double ComfortLow = -0.11;
constexpr double ComfortHigh = 0.01;
constexpr double SummerSlack = 0.06;

HWY_INLINE P Pow4(P x) {
    return (x * x) * (x * x);
}

// The weather of the elements, and what every vote of an element shares.
struct Air {
    P ta, tmrt, vp, v, p;
    P hc;      // convective heat transfer coefficient
    P p4tmrt;  // Pow4(tmrt + 273.2)

    Air(P ta_, P tmrt_, P vp_, P v_, P p_) : ta(ta_), tmrt(tmrt_), vp(vp_), v(v_), p(p_) {
        const P v = Select(this->v < 0.1, 0.1, this->v);
        hc = 12.1 * Sqrt(v * p / 1013.25);
        p4tmrt = Pow4(tmrt + 273.2);
    }
};

// ComputeVoteAtClothing.
HWY_NOINLINE P VoteAt(P clo, const Air& air) {
    clo = Select(clo <= 0, 0.001, clo);
    const P& ta = air.ta;
    const P& vp = air.vp;
    const P& hc = air.hc;
    const P Icl = 0.155 * clo;
    const P fcl = 1 + 0.15 * clo;
    const double H = Met;
    const P kr = 3.96e-8 * Icl * fcl;
    const P kc = Icl * fcl * hc;
    const P a = (kr * air.p4tmrt + (35.7 - 0.0275 * H) + kc * ta) / kr;
    const P b = (kc + 1) / kr;
    P Tcl = ta;
    for (int i = 0; i < 3; ++i) {
        const P t = Tcl + 273.2;
        Tcl = Tcl - (Pow4(t) + b * Tcl - a) / (b + 4 * t * t * t);
    }
    const P Rad = 3.96e-8 * fcl * (Pow4(Tcl + 273.2) - air.p4tmrt);
    const P Conv = fcl * hc * (Tcl - ta);
    return (0.303 * std::exp(-0.036 * Met) + 0.0275) *
           (H - 0.31 * (57.3 - 0.07 * H - vp) - 0.42 * (H - 58) - 0.0017 * Met * (58.7 - vp) -
            0.0014 * Met * (34 - ta) - Rad - Conv);
}

// WithSignOf and DifferInSign of the row function.
HWY_INLINE P WithSignOf(P a, P b) {
    return Select(b >= 0, Abs(a), -Abs(a));
}
HWY_INLINE M DifferInSign(P a, P b) {
    return WithSignOf(a, b) != a;
}

// PtColdCorrection.
HWY_INLINE P ColdCorrection(P ta, P tmrt, P v, P vote) {
    struct Line {
        double a0, a1, a2, a3, a4;
    };
    static constexpr Line lines[3] = {
        {0.161, 0.13, -0.001125, 0.001106, -0.000457},
        {0.795, 0.713, -0.00888, -0.001803, -0.002816},
        {0.05761, 0.458, -0.01829, -0.005577, -0.00197},
    };
    const P s = Select(v >= 0.1, Sqrt(v), Splat<K>(0.1));
    P Z[3], Y[3];
    for (int i = 0; i < 3; ++i) {
        const Line& l = lines[i];
        Z[i] = l.a0 + l.a2 * ta + l.a3 * s + l.a4 * (tmrt - ta);
        Y[i] = l.a1 * vote + Z[i];
    }
    M none = NoLanes<K>();  // above an intersection no correction applies
    for (int i = 0; i < 2; ++i) {
        const double da1 = lines[i].a1 - lines[i + 1].a1;  // far from 0 for these lines
        const P X = (Z[i + 1] - Z[i]) / da1;
        none = none | (vote > X);
    }
    const M mild = vote > -1.28, strong = vote > -2.1226;
    const P k0 = Select(mild, 0.094154, Select(strong, -0.150662, -0.0871439));
    const P k1 = Select(mild, 0.0783162, Select(strong, -1.0612651, 0.169504));
    const P k2 = Select(mild, 0.1350144, Select(strong, -1.0049144, -0.0167627));
    const P k3 = Select(mild, 0.1104037, Select(strong, -0.2005277, -0.000323));
    const P Pv = k0 + k1 * vote + k2 * vote * vote + k3 * vote * vote * vote;
    return Select(none, Splat<K>(0.0), Y[2] - Pv);
}

// VoteToPt.
HWY_INLINE P ToPt(P clo, P vote) {
    return Select(vote <= ComfortLow, 12.6784 * vote + 5.805,
                  Select(vote < ComfortHigh, 21.258 - 9.558 * clo, 6.163 * vote + 16.826));
}

struct Choice {
    P clo, vote;
    M failed;  // the search found no clothing
};

// FindComfortClothing for the lanes in active, between CloLow (vote fl) and CloHigh (fh);
// firstVote is the vote at the first midpoint, made together with other lanes' votes.
HWY_NOINLINE void Search(const Air& air, P fl, P fh, M active, const P& firstVote, Choice& c) {
    P xl = Splat<K>(CloLow), xh = Splat<K>(CloHigh);
    // a lane leaves the search with its clothing and vote, or as failed
    auto found = [&](M lanes, P clo, P vote) {
        lanes = lanes & active;
        c.clo = Select(lanes, clo, c.clo);
        c.vote = Select(lanes, vote, c.vote);
        active = active & Not(lanes);
    };
    auto fail = [&](M lanes) {
        lanes = lanes & active;
        c.failed = c.failed | lanes;
        active = active & Not(lanes);
    };
    const M open = Not(((fl > 0) & (fh < 0)) | ((fl < 0) & (fh > 0)));
    found(open & (fl == 0), xl, fl);
    found(open & (fh == 0), xh, fh);
    fail(open);

    P ans = Splat<K>(-1.11e30), fans = Splat<K>(0.0);
    for (int j = 0; j < MaxSearchIterations && Any(active); ++j) {
        const P xm = 0.5 * (xl + xh);
        const P fm = j == 0 ? firstVote : VoteAt(xm, air);
        const P s = Sqrt(fm * fm - fl * fh);
        found(s == 0, xm, fm);
        const P xnew = xm + (xm - xl) * Select(fl - fh >= 0, 1.0, -1.0) * fm / s;
        // the result is the previous estimate; its vote, not the midpoint's, goes on
        found(Abs(xnew - ans) <= CloTolerance, ans, fans);
        ans = Select(active, xnew, ans);
        fans = Select(active, VoteAt(ans, air), fans);
        found(fans == 0, ans, fans);
        const M mid = active & DifferInSign(fm, fans);
        const M low = active & Not(mid) & DifferInSign(fl, fans);
        const M high = active & Not(mid | low) & DifferInSign(fh, fans);
        fail(Not(mid | low | high));
        xl = Select(mid, xm, Select(high, ans, xl));
        fl = Select(mid, fm, Select(high, fans, fl));
        xh = Select(mid | low, ans, xh);
        fh = Select(mid | low, fans, fh);
        found(Abs(xh - xl) <= CloTolerance, ans, fans);
    }
    fail(active);  // out of iterations
}

}  // namespace

void PtKernel(const PtArgs& a, std::size_t begin, std::size_t end) {
#if HWY_TARGET == HWY_SCALAR
    // one lane: the row function itself is the fastest way
    for (std::size_t e = begin; e < end; ++e)
        a.out[e] = ComputePtDetails(a.ta[e], a.vp[e], a.tmrt[e], a.v[e], a.p[e], a.missingValue).pt;
    return;
#endif
    constexpr std::size_t kLanes = K * hn::MaxLanes(DF());
    const std::size_t n = K * hn::Lanes(DF());
    for (std::size_t i = begin; i < end; i += n) {
        const Air air{LoadPack<K>(a.ta, i, end), LoadPack<K>(a.tmrt, i, end),
                      LoadPack<K>(a.vp, i, end), LoadPack<K>(a.v, i, end),
                      LoadPack<K>(a.p, i, end)};
        const P& ta = air.ta;
        const M valid =
            Finite(ta) & Finite(air.vp) & Finite(air.tmrt) & Finite(air.v) & Finite(air.p);
        const P low = Splat<K>(CloLow), high = Splat<K>(CloHigh);

        // Warm air starts from the lightest clothing, cool air from the warmest. A lane makes
        // its next vote together with the others, whichever of its choices it belongs to.
        const M warm = ta > 10;
        const P first = VoteAt(Select(warm, low, high), air);
        const M warmNeedsHigh = warm & Not(first >= 0);
        const M coolNeedsLow = Not(warm) & (first > 0);
        const M needsSecond = warmNeedsHigh | coolNeedsLow;
        // summer: warm even in the lightest clothing; winter: cool even in the warmest
        const M summerFirst = valid & warm & Not(needsSecond);
        const M winterFirst = valid & Not(warm | coolNeedsLow);
        const M summerFirstVote = summerFirst & Not(first <= SummerSlack);
        const M winterFirstVote = winterFirst & Not(first >= ComfortLow);

        // the other end of the clothing range, or the summer or winter clothing
        P second = first;
        if (Any(valid & (needsSecond | summerFirstVote | winterFirstVote)))
            second = VoteAt(Select(needsSecond, Select(warm, high, low),
                                   Select(summerFirstVote, CloSummer, CloWinter)),
                            air);
        const P vlo = Select(warm, first, second);
        const P vhi = Select(warm, second, first);
        const M summerSecond = valid & coolNeedsLow & (vlo > 0);
        const M winterSecond = valid & warmNeedsHigh & Not(vhi >= 0);
        const M search = valid & needsSecond & Not(summerSecond | winterSecond);
        const M summerSecondVote = summerSecond & Not(vlo <= SummerSlack);
        const M winterSecondVote = winterSecond & Not(vhi >= ComfortLow);

        Choice c{Splat<K>(0.0), Splat<K>(0.0), NoLanes<K>()};
        c.clo = Select(summerFirst, Select(summerFirstVote, Splat<K>(CloSummer), low), c.clo);
        c.vote = Select(summerFirst, Select(summerFirstVote, second, first), c.vote);
        c.clo = Select(winterFirst, Select(winterFirstVote, Splat<K>(CloWinter), high), c.clo);
        c.vote = Select(winterFirst, Select(winterFirstVote, second, first), c.vote);
        c.clo = Select(summerSecond, low, Select(winterSecond, high, c.clo));
        c.vote = Select(summerSecond, vlo, Select(winterSecond, vhi, c.vote));

        // the summer or winter clothing, or the search's first midpoint
        const M thirdVote = summerSecondVote | winterSecondVote;
        if (Any(thirdVote | search)) {
            const P midpoint = 0.5 * (low + high);
            const P clo = Select(search, midpoint, Select(summerSecondVote, CloSummer, CloWinter));
            const P third = VoteAt(clo, air);
            c.clo = Select(thirdVote, clo, c.clo);
            c.vote = Select(thirdVote, third, c.vote);
            if (Any(search)) Search(air, vlo, vhi, search, third, c);
        }

        const P V = c.vote;
        P pt = ToPt(c.clo, V);
        const M cold = (c.clo >= CloWinter) & (V <= ComfortLow);
        if (Any(valid & cold)) {
            P Vc = V - ColdCorrection(ta, air.tmrt, air.v, V);
            Vc = Select(Vc > ComfortLow, ComfortLow, Vc);
            pt = Select(cold, ToPt(c.clo, Vc), pt);
        }
        const M sultry = Not(cold) & (V > SummerSlack) & (c.clo <= CloSummer);
        const M done = valid & Not(c.failed);
        if (Any(done & sultry)) {
            // libm's exp and log, lane by lane
            HWY_ALIGN double laneTa[kLanes], laneVp[kLanes], laneTmrt[kLanes], laneV[kLanes],
                laneVote[kLanes], laneClo[kLanes], lanePt[kLanes];
            bool use[kLanes];
            StorePack(ta, laneTa), StorePack(air.vp, laneVp), StorePack(air.tmrt, laneTmrt);
            StorePack(air.v, laneV), StorePack(V, laneVote), StorePack(c.clo, laneClo);
            StorePack(pt, lanePt);
            StoreMask(done & sultry, use);
            for (std::size_t k = 0; k < n; ++k)
                if (use[k])
                    lanePt[k] = VoteToPt(laneClo[k], PtSultryVote(laneTa[k], laneVp[k], laneTmrt[k],
                                                                  laneV[k], laneVote[k]));
            pt = LoadPack<K>(lanePt);
        }
        // absurd but finite inputs can overflow the radiation terms
        const P missing = Splat<K>(double(a.missingValue));
        const P result = Select(done & Finite(pt) & Finite(V), pt,
                                Select(valid & c.failed, Splat<K>(PtSearchFailed), missing));
        StorePack(result, a.out, i, end);
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace umbrix::batch::detail
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace umbrix::batch::detail {
HWY_EXPORT(PtKernel);
void RunPt(const PtArgs& a, std::size_t begin, std::size_t end) {
    HWY_DYNAMIC_DISPATCH(PtKernel)(a, begin, end);
}
}  // namespace umbrix::batch::detail
#endif
