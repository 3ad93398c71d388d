#include "indices/PerceivedTemperature.h"

#include <cmath>
#include <initializer_list>

#include "platform/PhysicalConstants.h"

namespace umbrix {

namespace {

constexpr double Met = 134.6862;         // metabolic rate of the standard person, W/m²
constexpr double CloLow = 0.44453;       // lower clothing search bound, clo
constexpr double CloHigh = 1.76267;      // upper clothing search bound, clo
constexpr double CloSummer = 0.5;        // clo
constexpr double CloWinter = 1.75;       // clo
constexpr double CloTolerance = 0.0005;  // clo
constexpr int MaxSearchIterations = 15;
constexpr double ComfortLow = -0.11;  // votes in (-0.11, 0.01) are comfortable
constexpr double ComfortHigh = 0.01;
constexpr double SummerSlack = 0.06;  // warm votes up to this keep the lowest clothing

double Pow4(double x) {
    return (x * x) * (x * x);
}

// Magnitude of a with the sign of b, non-negative b counting as positive.
double WithSignOf(double a, double b) {
    return b >= 0 ? std::fabs(a) : -std::fabs(a);
}
bool DifferInSign(double a, double b) {
    return WithSignOf(a, b) != a;
}

struct Vote {
    double ta, tmrt, vp, v, p;
    int* count;
    double operator()(double clo) const {
        ++*count;
        return ComputeVoteAtClothing(clo, ta, tmrt, vp, v, p);
    }
};

struct Root {
    bool found = false;
    double clo = 0;
    double vote = 0;  // vote at clo
};

// Ridders' method for the clothing of vote 0 between CloLow (vote fl) and CloHigh (vote fh).
// Ridders CJF (1979) A new algorithm for computing a single root of a real continuous function.
// IEEE Transactions on Circuits and Systems 26(11):979-980.
Root FindComfortClothing(const Vote& vote, double fl, double fh) {
    double xl = CloLow, xh = CloHigh;
    if (!((fl > 0 && fh < 0) || (fl < 0 && fh > 0))) {
        if (fl == 0) return {true, xl, fl};
        if (fh == 0) return {true, xh, fh};
        return {};
    }
    double ans = -1.11e30, fans = 0;
    for (int j = 0; j < MaxSearchIterations; ++j) {
        const double xm = 0.5 * (xl + xh);
        const double fm = vote(xm);
        const double s = std::sqrt(fm * fm - fl * fh);
        if (s == 0) return {true, xm, fm};
        const double xnew = xm + (xm - xl) * (fl - fh >= 0 ? 1.0 : -1.0) * fm / s;
        // The result is the previous estimate; its vote, not the midpoint's, goes on.
        if (std::fabs(xnew - ans) <= CloTolerance) return {true, ans, fans};
        ans = xnew;
        fans = vote(ans);
        if (fans == 0) return {true, ans, fans};
        if (DifferInSign(fm, fans)) {
            xl = xm;
            fl = fm;
            xh = ans;
            fh = fans;
        } else if (DifferInSign(fl, fans)) {
            xh = ans;
            fh = fans;
        } else if (DifferInSign(fh, fans)) {
            xl = ans;
            fl = fans;
        } else {
            return {};
        }
        if (std::fabs(xh - xl) <= CloTolerance) return {true, ans, fans};
    }
    return {};
}

// The lightest clothing when the person is warm even in it.
void ChooseSummerClothing(const Vote& vote, double vlo, PtDetails& d) {
    if (vlo <= SummerSlack) {
        d.clo = CloLow;
        d.vote = vlo;
    } else {
        d.clo = CloSummer;
        d.vote = vote(CloSummer);
    }
}

// The warmest clothing when the person is cool even in it.
void ChooseWinterClothing(const Vote& vote, double vhi, PtDetails& d) {
    if (vhi >= ComfortLow) {
        d.clo = CloHigh;
        d.vote = vhi;
    } else {
        d.clo = CloWinter;
        d.vote = vote(CloWinter);
    }
}

}  // namespace

double PtColdCorrection(double ta, double tmrt, double v, double vote) {
    struct Line {
        double a0, a1, a2, a3, a4;
    };
    static constexpr Line lines[3] = {
        {0.161, 0.13, -0.001125, 0.001106, -0.000457},
        {0.795, 0.713, -0.00888, -0.001803, -0.002816},
        {0.05761, 0.458, -0.01829, -0.005577, -0.00197},
    };
    const double s = v >= 0.1 ? std::sqrt(v) : 0.1;  // below 0.1 m/s the value itself
    double Z[3], Y[3];
    for (int i = 0; i < 3; ++i) {
        const Line& l = lines[i];
        Z[i] = l.a0 + l.a2 * ta + l.a3 * s + l.a4 * (tmrt - ta);
        Y[i] = l.a1 * vote + Z[i];
    }
    for (int i = 0; i < 2; ++i) {
        const double da1 = lines[i].a1 - lines[i + 1].a1;
        if (std::fabs(da1) <= 1e-5) return 0;
        const double X = (Z[i + 1] - Z[i]) / da1;
        // Above an intersection no correction applies.
        if (vote > X) return 0;
    }
    double k0, k1, k2, k3;
    if (vote > -1.28) {
        k0 = 0.094154, k1 = 0.0783162, k2 = 0.1350144, k3 = 0.1104037;
    } else if (vote > -2.1226) {
        k0 = -0.150662, k1 = -1.0612651, k2 = -1.0049144, k3 = -0.2005277;
    } else {
        k0 = -0.0871439, k1 = 0.169504, k2 = -0.0167627, k3 = -0.000323;
    }
    const double P = k0 + k1 * vote + k2 * vote * vote + k3 * vote * vote * vote;
    return Y[2] - P;
}

double PtSultryVote(double ta, double vp, double tmrt, double v, double vote) {
    // Rows: V, r, VP', ln VP', q, w, Ta, Tmrt - Ta, constant; columns: vote class 0 to 6.
    static constexpr double T[9][7] = {
        {-0.0556602, -0.152868, -0.2336104, -0.2789387, -0.3551048, -0.4304076, -0.4884961},
        {-0.1607154, -0.4177296, -0.4120541, -0.0886564, 0.4285938, 0.6281256, 0.5067361},
        {0.0580284, 0.0836264, 0.1009919, 0.1020777, 0.0898681, 0.0839116, 0.0853258},
        {-1.7838788, -2.9306231, -1.6350334, 0.6211547, 3.3918083, 5.5521025, 8.4897418},
        {1.675272, 2.7379504, 1.2940526, -1.0985759, -3.9054732, -6.0403012, -8.9437119},
        {-0.0315598, -0.0286272, -0.0009228, 0.0483344, 0.0992366, 0.1491379, 0.1951452},
        {0.0953986, 0.152476, 0.0564241, -0.0893253, -0.2398868, -0.3515237, -0.5095144},
        {-0.0004672, -0.0000514, -0.0018037, -0.004944, -0.0069036, -0.0075844, -0.0079602},
        {1.8686215, 3.4260713, 2.0116185, -0.7777552, -4.6715853, -7.7314281, -11.7602578},
    };
    const double Es = SaturationVapourPressureWaterIce(ta);
    double vpl = vp;
    if (vpl < 0.05 * Es) vpl = 0.05 * Es;
    if (vpl > Es) vpl = Es;
    const double lnVP = vpl > 0 ? std::log(vpl) : -5.0;
    const double h = 0.5 * Es;
    double q = -5.0, r = 0.0;
    if (h > 0 && vpl > 0) {
        q = lnVP - std::log(h);
        r = vpl / h;
    }
    const double w = v >= 0 ? std::sqrt(v) : 0.0;

    if (std::isnan(vote)) return vote;
    // Truncate in double: a huge vote must not overflow an int.
    double nd = std::trunc(vote);
    double f = vote - nd;
    if (f < 0) f = 0;
    if (nd > 5) {
        nd = 5;
        f = vote - 5;
        if (vote > 6) f = 1 / (vote - 5);
    }
    // The model applies only to warm votes; keep other callers inside the table.
    if (nd < 0) nd = 0;
    const int n = int(nd);
    double R[2];
    for (int k = 0; k < 2; ++k) {
        const int j = n + k;
        R[k] = T[8][j] + T[0][j] * vote + T[1][j] * r + T[2][j] * vpl + T[3][j] * lnVP +
               T[4][j] * q + T[5][j] * w + T[6][j] * ta + T[7][j] * (tmrt - ta);
    }
    double corr = (1 - f) * R[0] + f * R[1];
    if (vote + corr < 0) corr = vote + corr <= ComfortLow ? -vote : corr + 0.11;
    return vote + corr;
}

double ComputeVoteAtClothing(double clo, double ta, double tmrt, double vp, double v, double p) {
    if (clo <= 0) clo = 0.001;
    if (v < 0.1) v = 0.1;
    const double Icl = 0.155 * clo;
    const double fcl = 1 + 0.15 * clo;
    const double H = Met;
    const double hc = 12.1 * std::sqrt(v * p / 1013.25);
    const double kr = 3.96e-8 * Icl * fcl;
    const double kc = Icl * fcl * hc;
    const double a =
        (kr * Pow4(tmrt + kZeroCelsiusBodyModels) + (35.7 - 0.0275 * H) + kc * ta) / kr;
    const double b = (kc + 1) / kr;
    double Tcl = ta;
    for (int i = 0; i < 3; ++i) {
        const double t = Tcl + kZeroCelsiusBodyModels;
        Tcl = Tcl - (Pow4(t) + b * Tcl - a) / (b + 4 * t * t * t);
    }
    const double Rad =
        3.96e-8 * fcl * (Pow4(Tcl + kZeroCelsiusBodyModels) - Pow4(tmrt + kZeroCelsiusBodyModels));
    const double Conv = fcl * hc * (Tcl - ta);
    return (0.303 * std::exp(-0.036 * Met) + 0.0275) *
           (H - 0.31 * (57.3 - 0.07 * H - vp) - 0.42 * (H - 58) - 0.0017 * Met * (58.7 - vp) -
            0.0014 * Met * (34 - ta) - Rad - Conv);
}

double VoteToPt(double clo, double vote) {
    if (vote <= ComfortLow) return 12.6784 * vote + 5.805;
    if (vote < ComfortHigh) return 21.258 - 9.558 * clo;
    return 6.163 * vote + 16.826;
}

PtDetails ComputePtDetails(double ta, double vp, double tmrt, double v, double p,
                           float missingValue) {
    PtDetails d;
    d.pt = missingValue;
    for (double x : {ta, vp, tmrt, v, p})
        if (!std::isfinite(x)) return d;

    const Vote vote{ta, tmrt, vp, v, p, &d.votes};
    auto search = [&](double vlo, double vhi) {
        d.searched = true;
        const Root root = FindComfortClothing(vote, vlo, vhi);
        d.searchFailed = !root.found;
        d.clo = root.clo;
        d.vote = root.vote;
    };
    if (ta > 10) {
        const double vlo = vote(CloLow);
        if (vlo >= 0) {
            ChooseSummerClothing(vote, vlo, d);
        } else {
            const double vhi = vote(CloHigh);
            if (vhi >= 0)
                search(vlo, vhi);
            else
                ChooseWinterClothing(vote, vhi, d);
        }
    } else {
        const double vhi = vote(CloHigh);
        if (vhi > 0) {
            const double vlo = vote(CloLow);
            if (vlo > 0)
                ChooseSummerClothing(vote, vlo, d);
            else
                search(vlo, vhi);
        } else {
            ChooseWinterClothing(vote, vhi, d);
        }
    }
    if (d.searchFailed) {
        d.pt = PtSearchFailed;
        return d;
    }

    const double V = d.vote;
    d.pt0 = VoteToPt(d.clo, V);
    double pt = d.pt0;
    if (d.clo >= CloWinter && V <= ComfortLow) {
        double Vc = V - PtColdCorrection(ta, tmrt, v, V);
        if (Vc > ComfortLow) Vc = ComfortLow;
        pt = VoteToPt(d.clo, Vc);
    } else if (V > SummerSlack && d.clo <= CloSummer) {
        pt = VoteToPt(d.clo, PtSultryVote(ta, vp, tmrt, v, V));
    }
    // Absurd but finite inputs can overflow the radiation terms.
    if (std::isfinite(pt) && std::isfinite(d.vote)) d.pt = pt;
    return d;
}

double ComputePt([[maybe_unused]] int flag, [[maybe_unused]] const std::string& label, double ta,
                 double vp, double tmrt, double v, double p, [[maybe_unused]] double clo,
                 float missingValue) {
    return ComputePtDetails(ta, vp, tmrt, v, p, missingValue).pt;
}

}  // namespace umbrix
