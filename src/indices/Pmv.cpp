#include "indices/Pmv.h"

#include <cmath>

#include "platform/PhysicalConstants.h"

namespace umbrix {

namespace {

constexpr double kSigma = kStefanBoltzmann;
constexpr double kEmissivity = 0.97;                // of skin and clothing
constexpr double kKelvin = kZeroCelsiusBodyModels;  // 273.2, as Fanger's model writes it
constexpr double kTclStart = 30.005;                // start of the Newton iteration, °C
constexpr int kMaxUpdates = 100;

double Pow4K(double t) {
    return std::pow(t + kKelvin, 4);
}

using pmv::Body;

// The clothing surface temperature Tcl of a pass, with what the vote needs of it.
struct Clothing {
    double tcl;
    double hc;     // of the last step
    double p4tcl;  // Pow4K(tcl)
};

// Clothing surface temperature by Newton iteration; natural convection recomputes hc from the
// current Tcl at every step. p4tmrt is Pow4K(tmrt).
Clothing SolveTcl(const Body& b, double ta, double p4tmrt, bool natural, double hc) {
    double tcl = kTclStart;
    double p4tcl = 0.0;
    bool converged = false;
    for (int update = 0; update < kMaxUpdates; ++update) {
        if (natural) hc = 2.38 * std::pow(std::fabs(tcl - ta), 0.25);
        p4tcl = Pow4K(tcl);
        const double f =
            35.7 - 0.032 * b.m / (1.16 * b.adu) -
            0.155 * b.icl * (3.94e-8 * b.fcl * (p4tcl - p4tmrt) + b.fcl * hc * (tcl - ta));
        if (std::fabs(tcl - f) < 0.01) {
            converged = true;
            break;
        }
        const double dh = natural ? 0.6 * std::pow(std::fabs(tcl - ta), -0.75) : 0.0;
        const double d = -0.155 * b.icl *
                             (15.76e-8 * b.fcl * std::pow(tcl + kKelvin, 3) + b.fcl * hc -
                              b.fcl * dh * (tcl - ta)) -
                         1.0;
        tcl = tcl - (f - tcl) / d;
    }
    // after the last update Tcl has moved on from its power
    return {tcl, hc, converged ? p4tcl : Pow4K(tcl)};
}

double Vote(const Body& b, double ta, double vp, double p4tmrt, const Clothing& c) {
    const double h = b.m;
    const double tsk = 35.7 - 0.028 * h / b.adu;
    double esw = 0.42 * b.adu * (h / b.adu - 58.08);
    if (esw < 0.0) esw = 0.0;  // no sweating below the comfort level of activity
    const double ar = 0.71 * b.fcl * b.adu;
    const double r = ar * kEmissivity * kSigma * (c.p4tcl - p4tmrt);
    const double conv = b.adu * b.fcl * c.hc * (c.tcl - ta);
    const double erel = 0.0023 * b.m * (44.0 - 0.75 * vp);
    const double eres = 0.0014 * b.m * (34.0 - ta);
    const double ed = 0.406 * b.adu * (1.92 * tsk - 25.3 - 0.75 * vp);
    const double load = h - ed - erel - eres - esw - r - conv;
    return pmv::VoteFactor(b) * load / b.adu;
}

}  // namespace

namespace pmv {

Body MakeBody(int sex, int age, float icl, float work, float height, float weight) {
    Body b;
    b.icl = icl;
    b.adu = DuBoisArea(double(weight), double(height));
    b.fcl = 1.0 + 0.15 * b.icl;
    const double w34 = std::pow(double(weight), 0.75);
    const double shape = double(height) * 100.0 / std::pow(double(weight), 1.0 / 3.0);
    if (sex == 1)
        b.m = 3.45 * w34 * (1.0 + 0.004 * (30.0 - age) + 0.010 * (shape - 43.4)) + work;
    else
        b.m = 3.19 * w34 * (1.0 + 0.004 * (30.0 - age) + 0.018 * (shape - 42.1)) + work;
    return b;
}

double VoteFactor(const Body& b) {
    return 0.303 * std::exp(-0.036 * b.m / b.adu) + 0.028;
}

}  // namespace pmv

double ComputePmv(int sex, int age, float ta, float vp, float v, float tmrt, float icl, float work,
                  float height, float weight, float missingValue) {
    const double inputs[] = {ta, vp, v, tmrt, icl, work, height, weight};
    for (double x : inputs)
        if (!std::isfinite(x)) return missingValue;
    // Negative clothing has no meaning, and without a body there is no vote.
    if (icl < 0.0f || height <= 0.0f || weight <= 0.0f) return missingValue;
    if (sex != 1 && sex != 2) return missingValue;

    const Body b = pmv::MakeBody(sex, age, icl, work, height, weight);
    // floored at the 4-byte 0.1 that a typed 0.1 becomes: calmer air votes exactly as 0.1 m/s
    const double wind = v < 0.1f ? 0.1f : v;

    const double hcForced = 12.06 * std::sqrt(wind);
    const double p4tmrt = Pow4K(tmrt);  // the same in every step
    const Clothing forced = SolveTcl(b, ta, p4tmrt, false, hcForced);
    double pmv = Vote(b, ta, vp, p4tmrt, forced);
    if (!(hcForced > 2.38 * std::pow(std::fabs(double(ta) - forced.tcl), 0.25))) {
        // natural convection dominates: a second pass from the start value
        pmv = Vote(b, ta, vp, p4tmrt, SolveTcl(b, ta, p4tmrt, true, forced.hc));
    }
    // Absurd inputs may overflow the heat flows; there is no vote then.
    return std::isfinite(pmv) ? pmv : missingValue;
}

}  // namespace umbrix
