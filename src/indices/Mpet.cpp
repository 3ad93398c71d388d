#include "indices/Mpet.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "indices/DenseMatrix.h"
#include "indices/MpetSteps.h"
#include "platform/PhysicalConstants.h"

namespace umbrix::mpet_steps::scalar {
#include "indices/MpetSteps-inl.h"
}  // namespace umbrix::mpet_steps::scalar

namespace umbrix {

namespace {

using namespace mpet_steps;
using namespace mpet_steps::scalar;

constexpr double kPi = 3.14159265358979323846;
constexpr double kPressure = 1013.25;        // air pressure, and reference pressure, hPa
constexpr double kCpAir = 1010.0;            // J/(kg K)
constexpr double kCloToSI = 0.155;           // m²K/W per clo
constexpr double kInitialAirLayer = 0.0853;  // m²K/W, surface air layer before the first step
constexpr double kHeadFraction = 0.08;
constexpr double kFaceFraction = 0.05;  // unclothed part of the head in case D
constexpr double kClothedHeadFraction = 0.03;
constexpr double kSkinThickness = 0.002;  // m, body and head
constexpr double kHeadRadius = 0.105;     // m, outer
constexpr double kBrainRadius = 0.093;    // m
constexpr double kHeadFat = 0.01;         // m
constexpr double kHeadLength = 0.24;      // m
constexpr double kBodyCouplingX = 5.4;    // perfusion coupling of the outer body groups
constexpr double kFaceCouplingX = 1.2;
constexpr double kReferenceVapour = 12.0;  // hPa
constexpr double kReferenceCover = 0.87;   // clothed share of the reference person
constexpr double kAbsentSkin = 9999.0;     // Tsk of a group the case does not have
constexpr double kUnclothed = -1.0;        // clothing resistance marking an open zone
constexpr double kMaxVapour = 50.0;        // hPa; above it mPET is not defined
// The reference search moves at least 0.001 °C per round: far more rounds than any plausible
// equivalent temperature needs, but a bound for non-finite residuals.
constexpr int kMaxSearchRounds = 20000;

double Pow4(double x) {
    double x2 = x * x;
    return x2 * x2;
}

// Heat lost by breathing at air temperature ta and vapour pressure vp, W (negative = loss).
double Respiration(double ta, double vp, double ventilation) {
    double tex = 0.47 * ta + 21.0;
    double eex = SaturationVapourPressureBase10(tex);
    return (ta - tex) * kCpAir * ventilation +
           kLatentHeat * 0.623 / kPressure * (vp - eex) * ventilation;
}

// The clothing the model runs with, clo: the clothing is a 4-byte value on the interface, the
// model works on its own copy.
float ModelClothing(bool autoClothing, float ta, float icl) {
    if (autoClothing) icl = mpet::AutomaticClothing(ta);
    // !(x >= 0.3) also catches NaN
    if (!(icl >= 0.3f)) icl = 0.3f;
    if (icl > 2.5f) icl = 2.5f;
    return icl;
}

}  // namespace

namespace mpet::internal {

struct Tissue {
    double k;     // conductivity, W/(m K)
    double ccap;  // 2 rho c for one-second steps
    double w0;    // perfusion term, W/(m³ K)
    double qb;    // basal heat production, W/m³
    double qm;    // temperature-dependent increment of the heat production, W/m³
};

constexpr Tissue kLeanInner{0.42, 8215620.0, 2099.1953, 1368.0, 0.0};
constexpr Tissue kLeanOuter{0.42, 8215620.0, 2099.1953, 1368.0, 684.0};
constexpr Tissue kFat{0.16, 3910000.0, 14.04666, 116.0, 58.0};
constexpr Tissue kSkin{0.47, 7985600.0, 5852.775, 736.0, 368.0};
constexpr Tissue kBrain{0.49, 8316000.0, 39533.5442, 26800.0, 13400.0};
constexpr Tissue kHeadSkin{0.47, 7985600.0, 21382.138, 736.0, 368.0};

// ---- zones and nodes --------------------------------------------------------------------

struct Zone {
    bool head = false;  // head-type group: brain nodes, head dimensions
    bool clothed = false;
    double fraction = 0;            // share of the body surface
    double weight = 0;              // weight in the clothing summaries (Tcl, fclr)
    double volumeScale = 1;         // head groups of case D share the head cylinder
    double resistance = 0;          // clothing resistance R, m²K/W
    double coupling = 0;            // X of the perfusion coupling of the outer nodes
    int couplingFrom = 6;           // first layer (1..5) that carries the coupling X
    std::vector<double> positions;  // intermediate clothing positions (fractions φ)
    int first = 0;                  // index of node 1 of the group

    // as the last step left them
    double rtot = 0, to = 0, tout = 0, tin = 0;
    double sweat = 0, psk = 0, wet = 0, evaporation = 0, boundary = 0;
    // final flows
    double radiation = 0, convection = 0, dry = 0;

    int Outer() const { return first + 4; }
};

struct Node {
    Tissue tissue;
    int layer = 1;  // 1..5 from the inside out
    int zone = 0;
    double volume = 0;  // m³
    double invVolume = 0;
    double coupling = 0;          // X
    double tref = 0;              // reference temperature of the Q10 factor
    double q0 = 0;                // initial heat source, W/m³
    double twoK = 0, fourK = 0;   // 2k/Δr², 4k/Δr²
    double lower = 0, upper = 0;  // k/Δr² ∓ k/(2 r Δr)
};

// The step's system as dense matrices, inverted every step.
class ReferenceSolver {
  public:
    explicit ReferenceSolver(int size) {
        t_.resize(1, size);
        b_.resize(1, size);
        tn_.resize(1, size);
        q_.resize(1, size);
    }

    void Build(int n, const Lanes<double>& l, const System<double>& s) {
        const int size = n + 1;
        e_.resize(size, size);
        e_.fill(0.0);
        i_.resize(size, size);
        i_.fill(0.0);
        // DenseMatrix names the column first: E(row, col) is SetElement(col, row)
        for (int k = 0; k < n; ++k) {
            int row = k + 1;
            if (k % 5 != 0) {
                e_.setElement(row - 1, row, l.lower[k]);
                i_.setElement(row - 1, row, -l.lower[k]);
            }
            e_.setElement(row, row, s.diagE[k]);
            i_.setElement(row, row, s.diagI[k]);
            if (k % 5 != 4) {
                e_.setElement(row + 1, row, l.upper[k]);
                i_.setElement(row + 1, row, -l.upper[k]);
            }
            e_.setElement(size, row, s.toMean[k]);
            i_.setElement(size, row, -s.toMean[k]);
            e_.setElement(row, size, s.fromMean[k]);
            i_.setElement(row, size, s.fromMean[k]);
        }
        e_.setElement(size, size, s.meanDiag);
        i_.setElement(size, size, s.meanDiag);
    }

    // tn := I⁻¹ (E t + boundary + q)
    void Step(int n, const Lanes<double>& l, const double* boundary, double* tn) {
        const int size = n + 1;
        for (int r = 1; r <= size; ++r) t_.setElement(1, r, l.t[r - 1]);
        e_.multiply(t_, b_);
        for (int r = 1; r <= size; ++r) b_.setElement(1, r, b_.element(1, r) + boundary[r - 1]);
        for (int r = 1; r <= size; ++r) q_.setElement(1, r, l.q[r - 1]);
        b_.add(q_);
        i_.invert();  // the system is diagonally dominant; a failure would show as NaN results
        i_.multiply(b_, tn_);
        for (int r = 1; r <= size; ++r) tn[r - 1] = tn_.element(1, r);
        b_.fill(0.0);
        tn_.fill(0.0);
    }

  private:
    DenseMatrix e_{"E"}, i_{"I"}, t_{"T"}, b_{"B"}, tn_{"Tn"}, q_{"Q"};
};

// ---- the model ----------------------------------------------------------------------------

// The set-up of one call, its time loop (MpetSteps.h) and what follows from the final state.
class Model {
  public:
    Model(int sex, int position, bool autoClothing, float ta, float vp, float v, float tmrt,
          float icl, float activity, float height, float weight, float age, float tc0, float tsk0);
    // The person, the zones and nodes, and the time loop's starting state in lanes().
    void SetUp();
    const Layout& layout() const { return layout_; }
    mpet::ClothingCase clothingCase() const { return case_; }
    Lanes<double>& lanes() { return lanes_; }
    void RunSteps(MpetSolver solver);
    // The result from the state the steps left in lanes().
    mpet::ModelState Finish();

  private:
    void SetUpPerson();
    void SetUpZones();
    void SetUpNodes();
    void FinalFlows(mpet::ModelState& state);
    double ReferenceResidual(double t) const;
    bool SearchReference(double& result) const;

    // inputs
    int sex_, position_;
    double ta_, vp_, v_, tmrt_, activity_, height_, weight_, age_, tc0_, tsk0_;
    float icl_;
    mpet::ClothingCase case_ = mpet::ClothingCase::A;

    // environment and person
    double hc_ = 0, hcref_ = 0, feff_ = 0, heref_ = 0, he_ = 0, hrs_ = 0;
    double mb_ = 0, metabolism_ = 0, mref_ = 0, act_ = 0, adu_ = 0;
    double rl_ = 0, rf_ = 0, rb_ = 0, lb_ = 0, ventilation_ = 0, ere_ = 0;

    std::vector<Zone> zones_;
    std::vector<Node> nodes_;
    int n_ = 0;  // tissue nodes; the mean body node has index n_
    std::vector<double> t_;
    Layout layout_;
    Lanes<double> lanes_{};

    // summaries for the reference search
    double storage_ = 0, tsu_ = 0, psu_ = 0, fclr_ = 0, tcl_ = 0;
    int condensations_ = 0;
};

Model::Model(int sex, int position, bool autoClothing, float ta, float vp, float v, float tmrt,
             float icl, float activity, float height, float weight, float age, float tc0,
             float tsk0)
    : sex_(sex),
      position_(position),
      ta_(ta),
      vp_(vp),
      v_(v),
      tmrt_(tmrt),
      activity_(activity),
      height_(height),
      weight_(weight),
      age_(age),
      tc0_(tc0),
      tsk0_(tsk0),
      icl_(icl) {
    icl_ = ModelClothing(autoClothing, ta, icl);
    case_ = mpet::SelectClothingCase(icl_);
}

void Model::SetUpPerson() {
    // the wind speed is a 4-byte value on the interface: the raised value is one too
    if (v_ < 0.1) v_ = 0.1f;
    const double pressureRatio = kPressure / kPressure;
    hc_ = (2.67 + 6.5 * std::pow(v_, 0.67)) * std::pow(pressureRatio, 0.55);
    hcref_ = (2.67 + 6.5 * std::pow(0.1, 0.67)) * std::pow(pressureRatio, 0.55);
    feff_ = (position_ == 2) ? 0.696 : 0.725;

    const double w = weight_, h = height_;
    if (sex_ == 2) {
        mb_ = 3.19 * std::pow(w, 0.75) *
              (1.0 + 0.004 * (30.0 - age_) + 0.018 * (100.0 * h / std::pow(w, 1.0 / 3.0) - 42.1));
    } else {
        mb_ = 3.45 * std::pow(w, 0.75) *
              (1.0 + 0.004 * (30.0 - age_) + 0.01 * (100.0 * h / std::pow(w, 1.0 / 3.0) - 43.4));
    }
    metabolism_ = activity_ + mb_;
    mref_ = mb_ + 80.0;
    act_ = 0.9 * metabolism_;
    adu_ = DuBoisArea(w, h);

    const double fat = mpet::FatFraction(sex_, age_, w / (h * h));
    lb_ = h - kHeadLength;
    rl_ = std::sqrt((1.0 - fat) * w / (1100.0 * kPi * lb_));
    rf_ = std::sqrt(fat * w / (850.0 * kPi * lb_));
    rb_ = rl_ + rf_ + kSkinThickness;

    ventilation_ = 1.44e-6 * metabolism_;
    ere_ = Respiration(ta_, vp_, ventilation_);
    heref_ = hcref_ * 0.633 / (kPressure * kCpAir * (1.0 + 7.01616 / (kPressure - 4.536)));
    he_ = hc_ * 0.633 / (kPressure * kCpAir);
}

void Model::SetUpZones() {
    using mpet::ClothingCase;
    const double icl = icl_;
    // a body zone's volumes are its share of the body cylinder
    auto body = [](double fraction, double resistance, double coupling) {
        Zone z;
        z.fraction = z.weight = z.volumeScale = fraction;
        z.clothed = resistance != kUnclothed;
        z.resistance = resistance;
        z.coupling = coupling;
        z.couplingFrom = 3;
        return z;
    };
    auto head = [](double fraction, double volumeScale) {
        Zone z;
        z.head = true;
        z.fraction = z.weight = fraction;
        z.volumeScale = volumeScale;
        return z;
    };
    const double x = kBodyCouplingX;
    const double open = kUnclothed;
    switch (case_) {
        case ClothingCase::A:
            zones_ = {body(0.62, kCloToSI * icl, 0), head(kHeadFraction, 1),
                      body(1.0 - 0.62 - kHeadFraction, open, x)};
            break;
        case ClothingCase::B1:
        case ClothingCase::B2: {
            bool b1 = case_ == ClothingCase::B1;
            double f2 = b1 ? 0.36 : 0.42;
            double r1 = b1 ? kCloToSI * (0.9 * icl + 0.3733)
                           : kCloToSI * (-9.0 * icl * icl + 21.0 * icl - 10.38);
            double r2 = b1 ? kCloToSI * (0.9 * icl - 0.1133)
                           : kCloToSI * (2.0 * icl * icl - 3.6 * icl + 2.31);
            zones_ = {body(0.45, r1, 0), head(kHeadFraction, 1), body(f2, r2, x),
                      body(1.0 - 0.45 - f2 - kHeadFraction, open, x)};
            zones_[0].positions = {2.0 / 3.0};
            break;
        }
        case ClothingCase::C1: {
            double r1 =
                kCloToSI * (6.6667 * icl * icl * icl - 26.0 * icl * icl + 33.933 * icl - 12.27);
            double r2 =
                kCloToSI * (6.6667 * icl * icl * icl - 28.0 * icl * icl + 39.433 * icl - 16.82);
            double r3 = kCloToSI * (-0.25 * icl * icl + 1.495 * icl - 0.7715);
            zones_ = {body(0.35, r1, 0), head(kHeadFraction, 1), body(0.22, r2, x),
                      body(0.30, r3, x), body(1.0 - 0.35 - 0.22 - 0.30 - kHeadFraction, open, x)};
            break;
        }
        case ClothingCase::C2: {
            // the four listed shares already add up to 1.01: no unclothed rest
            double r1 =
                kCloToSI * (30.0 * icl * icl * icl - 164.0 * icl * icl + 299.0 * icl - 178.93);
            double r2 = kCloToSI * (0.25 * icl * icl - 0.695 * icl + 2.3895);
            double r3 = kCloToSI * (-0.25 * icl * icl + 1.875 * icl - 1.4975);
            zones_ = {body(0.45, r1, 0), head(kHeadFraction, 1), body(0.22, r2, x),
                      body(0.26, r3, x)};
            break;
        }
        case ClothingCase::D: {
            Zone clothedHead =
                head(kClothedHeadFraction, (kHeadFraction - kFaceFraction) / kHeadFraction);
            clothedHead.clothed = true;
            clothedHead.resistance = kCloToSI * (icl - 1.5);
            // the clothed head counts with the face's share in the clothing summaries
            clothedHead.weight = kFaceFraction;
            Zone face = head(kFaceFraction, kFaceFraction / kHeadFraction);
            face.coupling = kFaceCouplingX;
            face.couplingFrom = 4;
            zones_ = {body(0.55, kCloToSI * (icl + 1.2), 0), clothedHead,
                      body(0.25, kCloToSI * (0.5 * icl + 1.05), x),
                      body(0.12, kCloToSI * (0.5 * icl + 0.25), x), face};
            break;
        }
    }
    if (case_ == ClothingCase::C1 || case_ == ClothingCase::C2 || case_ == ClothingCase::D) {
        zones_[0].positions = {2.0 / 5.0, 4.0 / 5.0};
    }
    for (Zone& z : zones_) {
        if (z.clothed) z.rtot = kInitialAirLayer / (1.0 + 1.81 * z.resistance) + z.resistance;
    }
}

void Model::SetUpNodes() {
    const int groups = int(zones_.size());
    n_ = 5 * groups;
    nodes_.assign(n_, Node{});
    t_.assign(n_ + 1, 0.0);
    Lanes<double>& l = lanes_;

    double coreVolume = 0;  // lean and brain nodes of every group
    for (int g = 0; g < groups; ++g) {
        Zone& z = zones_[g];
        z.first = 5 * g;
        const bool head = z.head;
        // radii of nodes 1..5, radial steps, and the shell boundaries for the volumes
        const double inner = head ? kBrainRadius : rl_;
        const double fat = head ? kHeadFat : rf_;
        const double half = kSkinThickness / 2.0;
        const double outer = head ? kHeadRadius : rb_;
        const double length = head ? kHeadLength : lb_;
        const double r[5] = {inner / 2.0, inner, inner + fat, inner + fat + half, outer};
        const double dr[5] = {inner / 2.0, inner / 2.0, fat, half, half};
        const double area[5] = {(inner / 2.0) * (inner / 2.0),
                                inner * inner - (inner / 2.0) * (inner / 2.0),
                                (inner + fat) * (inner + fat) - inner * inner,
                                (outer - half) * (outer - half) - (inner + fat) * (inner + fat),
                                outer * outer - (inner + fat + half) * (inner + fat + half)};
        const Tissue tissues[5] = {head ? kBrain : kLeanInner, head ? kBrain : kLeanOuter, kFat,
                                   head ? kHeadSkin : kSkin, head ? kHeadSkin : kSkin};
        // the initial temperatures are also the references of the Q10 factors
        const double start[5] = {tc0_, tc0_, (tc0_ + tsk0_) / 2.0, tsk0_, tsk0_};
        for (int layer = 1; layer <= 5; ++layer) {
            Node& nd = nodes_[z.first + layer - 1];
            const int l = layer - 1;
            nd.tissue = tissues[l];
            nd.layer = layer;
            nd.zone = g;
            nd.volume = area[l] * kPi * length * z.volumeScale;
            nd.invVolume = 1.0 / nd.volume;
            nd.coupling = layer >= z.couplingFrom ? z.coupling : 0.0;
            nd.tref = start[l];
            const double k = nd.tissue.k;
            nd.twoK = 2.0 * k / (dr[l] * dr[l]);
            nd.fourK = 4.0 * k / (dr[l] * dr[l]);
            nd.lower = k / (dr[l] * dr[l]) - k / (2.0 * r[l] * dr[l]);
            nd.upper = k / (dr[l] * dr[l]) + k / (2.0 * r[l] * dr[l]);
            t_[z.first + l] = start[l];
            if (layer <= 2) coreVolume += nd.volume;
        }
    }
    t_[n_] = 0.8 * tc0_ + 0.2 * tsk0_;

    const double zone1Lean = nodes_[0].volume + nodes_[1].volume;
    for (int i = 0; i < n_; ++i) {
        Node& nd = nodes_[i];
        if (nd.layer <= 2) {
            nd.q0 = act_ / coreVolume + nd.tissue.qb;
            // breathing is charged to the lean core of zone 1, with Ere's own sign
            if (nd.zone == 0) nd.q0 -= ere_ / zone1Lean;
        } else {
            nd.q0 = nd.tissue.qb;
        }
    }

    for (Zone& z : zones_) {
        if (!z.clothed) continue;
        const double tsz = t_[z.Outer()];
        z.tout = tsz - (tsz - ta_) * z.resistance / z.rtot;
    }

    // what the time loop reads and carries
    layout_.zones = groups;
    layout_.n = n_;
    for (int g = 0; g < groups; ++g) {
        const Zone& z = zones_[g];
        ZoneLayout& zl = layout_.zone[g];
        zl.clothed = z.clothed;
        zl.fraction = z.fraction;
        zl.coupling = z.coupling;
        zl.positions = int(z.positions.size());
        for (int p = 0; p < zl.positions; ++p) zl.phi[p] = z.positions[p];
        l.resistance[g] = z.resistance;
        l.rtot[g] = z.rtot;
        l.tout[g] = z.tout;
    }
    for (int i = 0; i < n_; ++i) {
        const Node& nd = nodes_[i];
        layout_.node[i] = {nd.layer, nd.tissue.ccap, nd.tissue.w0, nd.tissue.qm, nd.coupling};
        l.volume[i] = nd.volume;
        l.invVolume[i] = nd.invVolume;
        l.twoK[i] = nd.twoK;
        l.fourK[i] = nd.fourK;
        l.lower[i] = nd.lower;
        l.upper[i] = nd.upper;
        l.tref[i] = nd.tref;
        l.q0[i] = nd.q0;
        l.q[i] = nd.q0;
        l.w[i] = nd.tissue.w0;
    }
    for (int i = 0; i <= n_; ++i) l.t[i] = t_[i];
    l.sex = sex_;
    l.ta = ta_;
    l.vp = vp_;
    l.tmrt = tmrt_;
    l.hc = hc_;
    l.he = he_;
    l.feff = feff_;
    l.adu = adu_;
    l.tc0 = tc0_;
}

void Model::FinalFlows(mpet::ModelState& state) {
    const double tr4 = Pow4(tmrt_ + kKelvin);
    double radiation = 0, convection = 0, dry = 0, evaporation = 0;
    for (Zone& z : zones_) {
        const double tsz = t_[z.Outer()];
        const double area = adu_ * z.fraction;
        if (z.clothed) {
            const double fcl = 1.0 + 1.81 * z.resistance;
            z.radiation =
                (tr4 - Pow4(z.tout + kKelvin)) * feff_ * area * kClothEmissivity * kSigma * fcl;
            z.convection = (ta_ - z.tout) * hc_ * area * fcl;
            z.dry = (z.to - z.tout) / (z.rtot - z.resistance) * area;
        } else {
            z.radiation = (tr4 - Pow4(tsz + kKelvin)) * feff_ * area * kSkinEmissivity * kSigma;
            z.convection = (ta_ - tsz) * hc_ * area;
            z.dry = (z.boundary - tsz) * (hc_ + hrs_) * area;
        }
        radiation += z.radiation;
        convection += z.convection;
        dry += z.dry;
        evaporation += z.evaporation;
    }
    ere_ = Respiration(ta_, vp_, ventilation_);
    storage_ = act_ + radiation + convection + evaporation + ere_;

    MpetDetails& res = state.result;
    res.activity = float(act_);
    res.R = float(radiation);
    res.C = float(convection);
    res.L = float(evaporation);
    res.Ere = float(ere_);
    res.RC = float(dry);
    res.S = float(storage_);
}

double Model::ReferenceResidual(double t) const {
    const double open = 1.0 - kReferenceCover;
    const double t4 = Pow4(t + kKelvin);
    const double rr1 = (t4 - Pow4(tsu_ + kKelvin)) * open * adu_ * feff_ * kSkinEmissivity * kSigma;
    const double rr2 = (t4 - Pow4(tcl_ + kKelvin)) * feff_ * kReferenceCover * adu_ * fclr_ *
                       kClothEmissivity * kSigma;
    const double cr1 = (t - tsu_) * hcref_ * adu_ * open;
    const double cr2 = kReferenceCover * adu_ * fclr_ * hcref_ * (t - tcl_);
    const double er = open * adu_ * (kReferenceVapour - psu_) * heref_ * kLatentHeat;
    const double erer = Respiration(t, kReferenceVapour, ventilation_);
    return storage_ - (0.9 * mref_ + er + erer + cr1 + cr2 + rr1 + rr2);
}

// Steps of 1, 0.1, 0.01 and 0.001 °C, each until the residual changes sign.
bool Model::SearchReference(double& result) const {
    double t = ta_;
    double previous = 0.0;
    int changes = 0;
    for (int round = 0; round < kMaxSearchRounds; ++round) {
        const double d = ReferenceResidual(t);
        if (!std::isfinite(d)) break;
        if (d == 0.0) {  // the balance is met exactly here
            result = t;
            return true;
        }
        const double step = changes == 0 ? 1.0 : changes == 1 ? 0.1 : changes == 2 ? 0.01 : 0.001;
        if (d > 0)
            t += step;
        else
            t -= step;
        if ((d <= 0 && previous > 0) || (d >= 0 && previous < 0)) ++changes;
        previous = d;
        if (changes == 4) {
            result = t;
            return true;
        }
    }
    return false;
}

void Model::SetUp() {
    SetUpPerson();
    SetUpZones();
    SetUpNodes();
}

void Model::RunSteps(MpetSolver solverKind) {
    const int n = n_;
    if (solverKind == MpetSolver::Reference) {
        ReferenceSolver reference(n + 1);
        mpet_steps::scalar::RunSteps<ScalarOps>(
            layout_, lanes_,
            [&](const Lanes<double>& l, const System<double>& s, const double* b, double* tn) {
                reference.Build(n, l, s);
                reference.Step(n, l, b, tn);
            });
    } else {
        mpet_steps::scalar::RunSteps<ScalarOps>(
            layout_, lanes_,
            [n](const Lanes<double>& l, const System<double>& s, const double* b, double* tn) {
                FastSolve<ScalarOps>(n, l, s, b, tn);
            });
    }
}

mpet::ModelState Model::Finish() {
    const Lanes<double>& l = lanes_;
    for (int i = 0; i <= n_; ++i) t_[i] = l.t[i];
    hrs_ = l.hrs;
    condensations_ = int(l.condensations);
    for (size_t g = 0; g < zones_.size(); ++g) {
        Zone& z = zones_[g];
        z.rtot = l.rtot[g];
        z.to = l.to[g];
        z.tout = l.tout[g];
        z.tin = l.tin[g];
        z.sweat = l.sweat[g];
        z.psk = l.psk[g];
        z.wet = l.wet[g];
        z.evaporation = l.evaporation[g];
        z.boundary = l.boundary[g];
    }

    mpet::ModelState state{};
    state.clothingCase = case_;
    state.icl = icl_;
    state.feff = feff_;
    state.condensations = condensations_;
    state.nodes = t_;
    FinalFlows(state);

    MpetDetails& res = state.result;
    res.Tc = float(t_[0]);
    float* tsk[5] = {&res.Tsk1, &res.Tsk2, &res.Tsk3, &res.Tsk4, &res.Tsk5};
    double tskm = 0, clothing = 0, clothedWeight = 0, fcl = 0;
    double wet = 0, sweat = 0, skin = 0, vapour = 0, openArea = 0;
    for (size_t g = 0; g < 5; ++g) *tsk[g] = float(kAbsentSkin);
    for (size_t g = 0; g < zones_.size(); ++g) {
        const Zone& z = zones_[g];
        const double tsz = t_[z.Outer()];
        *tsk[g] = float(tsz);
        tskm += tsz * z.fraction;
        sweat += z.sweat;
        if (z.clothed) {
            clothing += (0.7 * z.tout + 0.3 * z.tin) * z.weight;
            fcl += (1.0 + 1.81 * z.resistance) * z.weight;
            clothedWeight += z.weight;
        } else {
            wet += z.wet * z.fraction;
            skin += tsz * z.fraction;
            vapour += z.psk * z.fraction;
            openArea += z.fraction;
        }
        state.zones.push_back({z.clothed, z.head, z.fraction, tsz, z.clothed ? z.tout : tsz,
                               z.sweat, z.psk, z.wet, z.radiation, z.convection, z.dry,
                               z.evaporation});
    }
    res.Tsk = float(tskm);
    tcl_ = clothing / clothedWeight;
    res.Tcl = float(tcl_);
    res.skinWettedness = float(std::min(wet / openArea, 1.0));
    res.sweatRate = float(sweat * 3600000.0);
    // with the face as the only open zone, the reference skin is the clothed head's node
    tsu_ = case_ == mpet::ClothingCase::D ? t_[zones_[1].Outer()] : skin / openArea;
    psu_ = vapour / openArea;
    fclr_ = fcl / clothedWeight;

    double mpet = 0;
    state.searchConverged = SearchReference(mpet);
    res.mPET = state.searchConverged ? float(mpet) : NAN;
    return state;
}

}  // namespace mpet::internal

namespace mpet {

ClothingCase SelectClothingCase(float icl) {
    // compared as 4-byte values, so that 0.6, 1.2 and 1.6 as typed fall in the lower case
    if (icl <= 0.600001f) return ClothingCase::A;
    if (icl <= 0.9f) return ClothingCase::B1;
    if (icl <= 1.200001f) return ClothingCase::B2;
    if (icl <= 1.6f) return ClothingCase::C1;
    if (icl <= 2.0f) return ClothingCase::C2;
    return ClothingCase::D;
}

float AutomaticClothing(float ta) {
    const double t = ta;
    return float(1.372 - 0.01866 * t - 0.0004849 * t * t - 0.000009333 * t * t * t);
}

double FatFraction(int sex, double age, double bmi) {
    const bool female = sex == 2;
    double fat;
    if (age < 20)
        fat = female ? 0.22 : 0.17;
    else if (age < 30)
        fat = female ? 0.23 : 0.18;
    else if (age < 40)
        fat = female ? 0.24 : 0.19;
    else if (age < 50)
        fat = female ? 0.25 : 0.20;
    else
        fat = female ? 0.26 : 0.21;
    // each band open or closed as published; 20 to 25 inclusive needs no correction
    if (bmi < 16)
        fat += (bmi - 16.0) * 0.01 - 0.08;
    else if (bmi < 18)
        fat += (bmi - 18.0) * 0.015 - 0.05;
    else if (bmi < 20)
        fat += (bmi - 20.0) * 0.025;
    else if (bmi > 40)
        fat += (bmi - 40.0) * 0.03 + 0.225;
    else if (bmi > 35)
        fat += (bmi - 35.0) * 0.02 + 0.125;
    else if (bmi > 30)
        fat += (bmi - 30.0) * 0.015 + 0.05;
    else if (bmi > 25)
        fat += (bmi - 25.0) * 0.01;
    return fat;
}

double ZoneSweatRate(int sex, double tsk, double tc, double fraction, double adu) {
    return mpet_steps::scalar::SweatRate<ScalarOps>(double(sex), SkinSweatDrive<ScalarOps>(tsk),
                                                    CoreSweatDrive<ScalarOps>(tc), tsk, tc,
                                                    fraction, adu);
}

ModelState RunMpetModel(int sex, int position, bool autoClothing, float ta, float vp, float v,
                        float tmrt, float icl, float activity, float height, float weight,
                        float age, float tc0, float tsk0, MpetSolver solver) {
    internal::Model model(sex, position, autoClothing, ta, vp, v, tmrt, icl, activity, height,
                          weight, age, tc0, tsk0);
    model.SetUp();
    model.RunSteps(solver);
    return model.Finish();
}

ClothingCase ClothingCaseOf(bool autoClothing, float ta, float icl) {
    return internal::Model(1, 1, autoClothing, ta, 0, 0, 0, icl, 0, 0, 0, 0, 0, 0).clothingCase();
}

Prepared::Prepared(int sex, int position, bool autoClothing, float ta, float vp, float v,
                   float tmrt, float icl, float activity, float height, float weight, float age,
                   float tc0, float tsk0)
    : model_(std::make_unique<internal::Model>(sex, position, autoClothing, ta, vp, v, tmrt, icl,
                                               activity, height, weight, age, tc0, tsk0)),
      vp_(vp) {
    model_->SetUp();
}
Prepared::~Prepared() = default;
Prepared::Prepared(Prepared&&) noexcept = default;
Prepared& Prepared::operator=(Prepared&&) noexcept = default;

ClothingCase Prepared::clothingCase() const {
    return model_->clothingCase();
}
const mpet_steps::Layout& Prepared::layout() const {
    return model_->layout();
}
mpet_steps::Lanes<double>& Prepared::lanes() {
    return model_->lanes();
}
MpetDetails Prepared::finish(float missingValue) {
    return Reported(model_->Finish().result, vp_, missingValue);
}

MpetDetails Reported(MpetDetails res, float vp, float missingValue) {
    if (vp > kMaxVapour) res.mPET = missingValue;
    // absurd inputs (zero weight, non-finite values) leave NaN or infinity behind
    float* values[] = {&res.mPET,      &res.Tc,       &res.Tsk,  &res.Tsk1, &res.Tsk2,
                       &res.Tsk3,      &res.Tsk4,     &res.Tsk5, &res.Tcl,  &res.skinWettedness,
                       &res.sweatRate, &res.activity, &res.R,    &res.C,    &res.L,
                       &res.Ere,       &res.RC,       &res.S};
    for (float* value : values) {
        if (!std::isfinite(*value)) *value = missingValue;
    }
    return res;
}

}  // namespace mpet

MpetDetails ComputeMpet(int sex, int position, bool autoClothing, float ta, float vp, float v,
                        float tmrt, float icl, float activity, float height, float weight,
                        float age, float tc0, float tsk0, float missingValue, MpetSolver solver) {
    return mpet::Reported(mpet::RunMpetModel(sex, position, autoClothing, ta, vp, v, tmrt, icl,
                                             activity, height, weight, age, tc0, tsk0, solver)
                              .result,
                          vp, missingValue);
}

}  // namespace umbrix
