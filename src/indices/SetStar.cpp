#include "indices/SetStar.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "platform/Exp.h"
#include "platform/PhysicalConstants.h"

namespace umbrix {

namespace {

using namespace setstar;

constexpr double Sigma = kStefanBoltzmann;
constexpr double TimeStep = 1.0 / 180;  // 20 s, in hours
constexpr double ExposureEnd = 1.0;     // h
constexpr double MetUnit = 58.2;        // W/m² per met
constexpr double SedentaryClo = 0.6;    // clothing of the sedentary standard environment, clo
constexpr double SedentaryFacl = 1.09;  // its clothing area factor

// Natural convection of the sedentary standard environment (1.1 met), W/(m² K).
double SedentaryNaturalConvection() {
    return 5.66 * std::pow(0.25, 0.39);
}

}  // namespace

double SetStarNaturalConvection(double m) {
    const double met = m / MetUnit;
    if (!(met > 0.85)) return 3.0;
    return std::max(3.0, 5.66 * std::pow(met - 0.85, 0.39));
}

double SetStarStandardClothing(double m) {
    // beyond about 7.6 met the fit would give negative clothing
    return std::max(0.0, 1.52 / (m / MetUnit + 0.6944) - 0.1835);
}

double SetStarSaturationPressure(double t) {
    return SaturationVapourPressureTorr(t);
}

namespace setstar {

Setup Prepare(float ta, float rh, float v, float height, float weight, float activity,
              bool sedentary) {
    Setup s;
    const double M = activity;
    // Height in cm: with metres the surface would be about 0.09 m² and the body would respond
    // some 21 times too slowly.
    s.A = 0.008883 * std::pow(double(weight), 0.443) * std::pow(100.0 * height, 0.663);
    s.Pa = rh / 100.0 * SetStarSaturationPressure(ta);
    // A working body moves the air around it: without wind the convection grows with activity.
    s.chcA = sedentary ? SedentaryNaturalConvection() : SetStarNaturalConvection(M);
    const double chcV = 8.6 * std::pow(double(v), 0.53);
    s.chc = chcV > s.chcA ? chcV : s.chcA;
    if (s.chc < 3.0) s.chc = 3.0;
    s.cloS = sedentary ? SedentaryClo : SetStarStandardClothing(M);
    s.faclS = sedentary ? SedentaryFacl : 1 + 0.15 * s.cloS;
    return s;
}

int Passes() {
    int passes = 0;
    for (double tim = 0; tim <= ExposureEnd; tim += TimeStep) ++passes;
    return passes;
}

}  // namespace setstar

SetStarDetails ComputeSetStarDetails(float ta, float tmrt, float rh, float v, float icl,
                                     float height, float weight, float activity, float missingValue,
                                     SetStandardEnvironment standard) {
    SetStarDetails d;
    d.setStar = missingValue;
    for (float x : {ta, tmrt, rh, v, icl, height, weight, activity})
        if (!std::isfinite(x)) return d;

    const double Ta = ta, Tmrt = tmrt, M = activity, w = weight;
    const double Icl = icl;
    const bool sedentary = standard == SetStandardEnvironment::Sedentary;
    const Setup setup = Prepare(ta, rh, v, height, weight, activity, sedentary);
    const double A = setup.A, Pa = setup.Pa, chcA = setup.chcA, chc = setup.chc;
    d.area = A;

    double Tsk = TskN, Tcr = TcrN, Skbf = SkbfN, alfa = AlfaN;
    double Etot = 0.1 * M;
    double pwet = 0;

    const double facl = 1 + 0.15 * Icl;
    double chr = 4.7;
    double ctc = chr + chc;
    double Top = (chr * Tmrt + chc * Ta) / ctc;
    double cloe = Icl - (facl - 1) / (0.155 * facl * ctc);
    double fcle = 1 / (1 + 0.155 * ctc * cloe);
    // Vapour permeation of the clothing stays at its starting value for the whole exposure.
    const double fpcl = 1 / (1 + 0.143 * chc * cloe);

    double Dry = 0, Eres = 0, Cres = 0;
    double tim = 0;  // accumulated in double: 181 passes
    int passes = 0;
    while (tim <= ExposureEnd) {
        ++passes;
        cloe = Icl - (facl - 1) / (0.155 * facl * ctc);
        fcle = 1 / (1 + 0.155 * ctc * cloe);
        const double Tcl = Top + (Tsk - Top) * fcle;
        chr = 0.8 * Sigma * (Tcl + Tmrt + 546) *
              ((Tcl + kZeroCelsiusSetStar) * (Tcl + kZeroCelsiusSetStar) +
               (Tmrt + kZeroCelsiusSetStar) * (Tmrt + kZeroCelsiusSetStar));
        ctc = chr + chc;
        Top = (chr * Tmrt + chc * Ta) / ctc;
        Eres = 0.0023 * M * (44 - Pa);
        Cres = 0.0014 * M * (34 - Ta);
        Dry = fcle * ctc * (Tsk - Top);
        const double Esk = Etot - Eres;  // skin evaporation of the previous pass
        const double Hfcs = (Tcr - Tsk) * (5.28 + 1.163 * Skbf);
        const double Ssk = Hfcs - Dry - Esk;
        const double Scr = M - Hfcs - Cres - Eres - Wme;
        const double tcsk = 0.97 * alfa * w;
        const double tccr = 0.97 * (1 - alfa) * w;
        const double dTsk = Ssk * A / tcsk;
        const double dTcr = Scr * A / tccr;
        tim += TimeStep;
        // divided by the 180 steps of an hour, not multiplied by TimeStep: the two differ in the
        // last bit, and far from comfort the transient amplifies that into whole kelvins
        Tsk += dTsk / 180;
        Tcr += dTcr / 180;

        const double warms = Tsk > TskN ? Tsk - TskN : 0;
        const double colds = TskN > Tsk ? TskN - Tsk : 0;
        const double warmc = Tcr > TcrN ? Tcr - TcrN : 0;
        Skbf = (SkbfN + Cdil * warmc) / (1 + Cstr * colds);
        alfa = 0.04415 + 0.351 / (Skbf - 0.014);
        const double Tb = alfa * Tsk + (1 - alfa) * Tcr;
        const double warmb = Tb > TbN ? Tb - TbN : 0;
        const double regsw = Csw * warmb * Exp(warms / 10.7);
        const double ersw = 0.68 * regsw;
        const double emax = Lewis * chc * (SetStarSaturationPressure(Tsk) - Pa) * fpcl;
        const double prsw = ersw / emax;
        pwet = 0.06 + 0.94 * prsw;
        const double edif = pwet * emax - ersw;
        Etot = Eres + ersw + edif;
        if (emax - ersw <= 0) {  // fully wet skin: evaporation limited to its maximum
            Etot = Eres + emax;
            pwet = 1;
        }
    }
    d.passes = passes;

    // Skin heat loss, formed through the body heat storage.
    const double S = M - Wme - Cres - Etot - Dry;
    const double Hsk = M - Eres - Cres - Wme - S;
    d.tsk = Tsk;
    d.tcr = Tcr;
    d.hsk = Hsk;
    d.pwet = pwet;
    d.chr = chr;
    d.chc = chc;
    // A zero weight, a zero clothing denominator or overflowing inputs end here.
    for (double x : {Tsk, Tcr, Hsk, pwet, chr})
        if (!std::isfinite(x)) return d;

    // The standard environment: still air and the clothing a person doing this activity wears
    // there; with a fixed sedentary one, more activity reads as a cooler environment.
    const double chrS = chr;
    const double chcS = chcA;
    const double cloS = setup.cloS;
    const double faclS = setup.faclS;
    d.cloS = cloS;
    d.chcS = chcS;
    const double ctcS = chrS + chcS;
    const double cloeS = cloS - (faclS - 1) / (0.155 * faclS * ctcS);
    const double fcleS = 1 / (1 + 0.155 * ctcS * cloeS);
    const double fpclS = 1 / (1 + 0.143 * chcS * cloeS);
    const double PsatSk = SetStarSaturationPressure(Tsk);

    double X = Tsk - Hsk / (ctcS * fcleS);
    if (!std::isfinite(X)) return d;
    for (int step = 1; step <= MaxSearchSteps; ++step) {
        const double err =
            Hsk - ctcS * fcleS * (Tsk - X) -
            Lewis * pwet * chcS * fpclS * (PsatSk - 0.5 * SetStarSaturationPressure(X));
        X += SearchStep;
        if (err >= 0) {
            d.searchSteps = step;
            d.setStar = X;
            d.valid = true;
            return d;
        }
    }
    return d;
}

double ComputeSetStar([[maybe_unused]] int sexIndex, float ta, float tmrt, float rh, float v,
                      float icl, [[maybe_unused]] float age, float height, float weight,
                      float activity, float missingValue, SetStandardEnvironment standard) {
    return ComputeSetStarDetails(ta, tmrt, rh, v, icl, height, weight, activity, missingValue,
                                 standard)
        .setStar;
}

}  // namespace umbrix
