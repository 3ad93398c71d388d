#pragma once
// The time loop of the mPET body model, written once for a lane type: one element in doubles
// (the row function), or several elements of the same clothing case side by side in SIMD
// vectors (src/batch). Each lane performs the operations of one element in the same order, so
// both give the same bits; a branch on the data becomes a selection per lane, and the
// condensation search halves until every lane has stopped, each lane at its own point.
//
// The steps are in MpetSteps-inl.h, included inside a namespace of its user (once per SIMD
// target). Ops supplies the lane type V, its mask M and what operators do not: Splat, Select,
// And, Or, Not, Any, Abs, Same (the same bits), Exp, Exp2 (platform/Exp.h, whose SIMD form gives
// its bits), and LibTanh (libm's tanh on the lanes set in a mask).
#include <bit>
#include <cmath>
#include <cstdint>

#include "platform/Exp.h"
#include "platform/PhysicalConstants.h"

namespace umbrix::mpet_steps {

inline constexpr int kMaxZones = 5;
inline constexpr int kMaxNodes = 5 * kMaxZones;
inline constexpr int kSteps = 1200;          // one-second steps
inline constexpr int kCondensationFrom = 3;  // first step with the condensation test

inline constexpr double kSigma = kStefanBoltzmann;
inline constexpr double kKelvin = kZeroCelsiusBodyModels;  // 273.2, as the model writes it
inline constexpr double kSkinEmissivity = 0.99;
inline constexpr double kClothEmissivity = 0.95;
inline constexpr double kLatentHeat = 2420000.0;  // J/kg
inline constexpr double kInnerCloth = 0.033;      // m²K/W from the skin to the inner position
inline constexpr int kMaxHalvings = 100;
inline constexpr double kBalanceTolerance = 0.00001;

// What the elements of one clothing case share: the zones and the nodes' tissues.
struct ZoneLayout {
    bool clothed = false;
    double fraction = 0;  // share of the body surface
    double coupling = 0;  // X of the perfusion coupling of the outer nodes
    int positions = 0;    // intermediate clothing positions tested for condensation
    double phi[2] = {};
};
struct NodeLayout {
    int layer = 1;  // 1..5 from the inside out
    double ccap = 0, w0 = 0, qm = 0, coupling = 0;
};
struct Layout {
    int zones = 0;
    int n = 0;  // tissue nodes; the mean body node has index n
    ZoneLayout zone[kMaxZones];
    NodeLayout node[kMaxNodes];
};

// What each element has of its own: its constants and the state the steps carry. Every member
// is a V, so that the elements' lanes gather into vectors member by member.
template <class V>
struct Lanes {
    V sex, ta, vp, tmrt, hc, he, feff, adu, tc0;
    V resistance[kMaxZones];
    V volume[kMaxNodes], invVolume[kMaxNodes], twoK[kMaxNodes], fourK[kMaxNodes];
    V lower[kMaxNodes], upper[kMaxNodes], tref[kMaxNodes], q0[kMaxNodes];
    V t[kMaxNodes + 1], q[kMaxNodes + 1], w[kMaxNodes + 1];
    V hrs;
    V airLayer[kMaxZones], rtot[kMaxZones], recl[kMaxZones], retot[kMaxZones];
    V to[kMaxZones], tout[kMaxZones], tin[kMaxZones];
    V sweat[kMaxZones], psk[kMaxZones], wet[kMaxZones], evaporation[kMaxZones];
    V boundary[kMaxZones];
    V condensations;
};

// The perfusion-dependent coefficients of a step's system: E (explicit) and I (implicit) over
// the tissue nodes 0..n-1 and the mean body node n. Off the diagonal I is -E, except row n,
// which equals E's; E(i, i±1) are the nodes' lower and upper.
template <class V>
struct System {
    V diagE[kMaxNodes], diagI[kMaxNodes];      // E(i, i), I(i, i)
    V toMean[kMaxNodes], fromMean[kMaxNodes];  // E(i, n), E(n, i)
    V meanDiag;                                // E(n, n) = I(n, n)
};

// One element in doubles.
struct ScalarOps {
    static double Splat(double x) { return x; }
    static double Select(bool m, double yes, double no) { return m ? yes : no; }
    static bool And(bool a, bool b) { return a && b; }
    static bool Or(bool a, bool b) { return a || b; }
    static bool Not(bool a) { return !a; }
    static bool Any(bool a) { return a; }
    static double Abs(double x) { return std::fabs(x); }
    // the same bits
    static bool Same(double a, double b) {
        return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
    }
    static double Exp(double x) { return umbrix::Exp(x); }
    static double Exp2(double x) { return umbrix::Exp2(x); }
    static double LibTanh(bool, double x) { return std::tanh(x); }
};

}  // namespace umbrix::mpet_steps
