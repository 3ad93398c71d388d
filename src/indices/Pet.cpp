#include "indices/Pet.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/PhysicalConstants.h"
#include "platform/Pow.h"

namespace umbrix {

namespace {

// A model quantity in 4-byte storage: every assignment rounds to float, every read yields a
// double, so expressions are evaluated in double and rounded only where they are stored.
class Single {
  public:
    Single() = default;
    Single(double x) : v_(static_cast<float>(x)) {}
    operator double() const { return v_; }
    float get() const { return v_; }

  private:
    float v_ = 0.0f;
};

constexpr double kKelvin = kZeroCelsiusBodyModels;  // this model's offset, not 273.15
constexpr int kPassLimit = 200;  // counted balance passes per core case, all step sizes
constexpr double kSteps[4] = {1.0, 0.1, 0.01, 0.001};

double Pow4K(double t) {
    return PowFour(t + kKelvin);
}

// saturation vapour pressure over water, hPa (SaturationVapourPressureBase10); every caller
// stores it in 4 bytes, so only the float it rounds to has to match
double Magnus(double t) {
    return ScaledPowTenForFloat(6.11, 7.45 * t / (235.0 + t));
}

bool Crossed(double bal, double balPrev) {
    return (bal <= 0 && balPrev > 0) || (bal >= 0 && balPrev < 0);
}

// What a balance pass derives from the clothing temperature alone. The seven core cases walk
// through largely the same clothing temperatures, so their passes look these up instead of
// computing them again (three powers, two square roots and a dozen divisions each).
struct ClothingPass {
    float tsk;         // skin temperature, after the guard against 36 °C
    float rsum, csum;  // radiation and convection of the real environment
    // this pass's core-temperature candidates: 1 and 6 only where they are real, 2 and 5 likewise
    std::array<float, 8> tcore;
    bool real16, real25;
    unsigned computed;  // the candidates it computed, by bit
    float vpts;         // vapour pressure at the skin
    float eswpot;       // potential sweat evaporation
};

// The passes of one calculation by the bits of their clothing temperature, direct-mapped.
class PassMemo {
  public:
    const ClothingPass* find(float tcl) const {
        const unsigned slot = Slot(tcl);
        return used_[slot] && key_[slot] == Bits(tcl) ? &pass_[slot] : nullptr;
    }
    ClothingPass& insert(float tcl) {
        const unsigned slot = Slot(tcl);
        used_[slot] = true;
        key_[slot] = Bits(tcl);
        return pass_[slot];
    }

  private:
    static constexpr unsigned kSlots = 256;
    static std::uint32_t Bits(float x) {
        std::uint32_t b;
        std::memcpy(&b, &x, sizeof b);
        return b;
    }
    static unsigned Slot(float x) { return (Bits(x) * 2654435761u) >> 24; }
    std::array<bool, kSlots> used_{};
    std::array<std::uint32_t, kSlots> key_;
    std::array<ClothingPass, kSlots> pass_;
};

// libm's powers of the body's weight and height: the same for every row of one person, so each
// thread keeps those of the last person it computed (the same bits as computing them again).
struct BodyPowers {
    double cubeRootOfWeight, weightToThreeQuarters, duBoisArea;
};
const BodyPowers& PowersOfBody(float weight, float height) {
    thread_local std::uint64_t key = ~std::uint64_t(0);
    thread_local BodyPowers powers;
    const std::uint64_t bits = std::uint64_t(std::bit_cast<std::uint32_t>(weight)) << 32 |
                               std::bit_cast<std::uint32_t>(height);
    if (bits != key) {
        powers = {std::pow(double(weight), 1.0 / 3.0), std::pow(double(weight), 0.75),
                  DuBoisArea(double(weight), double(height))};
        key = bits;
    }
    return powers;
}

}  // namespace

float PetClothingGeometryFactor(float icl, float height) {
    // The bands compare float with float, so 0.3 and 0.6 clo as typed fall in the lower band
    // although their 4-byte values lie slightly above the decimals.
    if (icl >= 2.0f) return 1.0f;
    if (icl > 0.6f) return Single((double(height) - 0.2) / double(height)).get();
    if (icl > 0.3f) return 0.5f;
    return 0.1f;
}

void PetModel::continueWith(const PetModel& next) {
    for (int k = 1; k <= 7; ++k)
        if (next.carrySet_ & (1u << k)) tcore_[k] = next.tcore_[k];
    if (next.carrySet_ & kCarryMetabolism) metabolism_ = next.metabolism_;
    if (next.carrySet_ & kCarrySweat) sweat_ = next.sweat_;
    lastAccepted_ = next.lastAccepted_;
    trace_ = next.trace_;
    carrySet_ = next.carrySet_;
    readCarry_ = next.readCarry_;
}

void SearchPetReferenceRoom(const PetReferenceRoom& room, PetDetails& r, float missingValue) {
    using R = PetReferenceRoom;
    if (room.searchable) {
        const Single emsk = R::kEmsk, emcl = R::kEmcl, sigma = R::kSigma, cair = R::kCair;
        const Single evap = R::kEvap, p = R::kP;
        const Single Ta = room.ta, tsk = room.tsk, tcl = room.tcl, facl = room.facl;
        const Single aeff = room.aeff, feff = room.feff, acl = room.acl, Adu = room.adu;
        const Single hc = room.hc, H = room.h, ed = room.ed, esw = room.esw, rtv = room.rtv;
        Single tx = Ta, balPrev = 0.0;
        int stepIndex = 0;
        long passes = 0;
        for (;;) {
            if (++passes > R::kSearchLimit) break;  // no balance within reach
            // radiation and convection of the bare skin and the clothing in the reference room
            const double p4tx = Pow4K(tx);
            const Single rbare = (p4tx - room.p4tsk) * (1.0 - facl) * aeff * emsk * sigma;
            const Single rclo = (p4tx - room.p4tcl) * feff * acl * emcl * sigma;
            const Single rsum = rbare + rclo;
            const Single cbare = (tx - tsk) * hc * Adu * (1.0 - facl);
            const Single cclo = (tx - tcl) * hc * acl;
            const Single csum = cbare + cclo;
            const Single tex = 0.47 * tx + 21.0;
            const Single Ere = (tx - tex) * cair * rtv;
            const Single vpex = Magnus(tex);
            const Single Erel = 0.623 * evap / p * (12.0 - vpex) * rtv;
            const Single Eres = Ere + Erel;
            const Single bal = H + ed + Eres + esw + csum + rsum;
            const Single step = kSteps[stepIndex];
            if (bal > 0.0) tx = tx - step;
            if (bal < 0.0) tx = tx + step;
            if (!Crossed(bal, balPrev)) {
                balPrev = bal;
                continue;
            }
            // balPrev keeps the balance from before the crossing
            if (++stepIndex == 4) {
                r.PET = tx.get();
                r.Rnb = rsum.get();
                r.C = csum.get();
                r.Evpd = ed.get();
                break;
            }
        }
    }
    for (float* x : {&r.PET, &r.Rnb, &r.C, &r.Evpd})
        if (!std::isfinite(*x)) *x = missingValue;
}

PetDetails PetModel::ComputePet(int sex, int position, float ta, float vp, float v, float tmrt,
                                float icl, float work, float height, float weight, float age,
                                float missingValue, PetReferenceRoom* deferredSearch) {
    const float d = missingValue;
    const PetDetails missing{d, d, d, d, d, d, d, d, d, d};
    if (deferredSearch) *deferredSearch = PetReferenceRoom{};  // nothing to search
    trace_ = {};
    lastAccepted_ = 0;
    carrySet_ = 0;
    readCarry_ = false;

    const double inputs[] = {ta, vp, v, tmrt, icl, work, height, weight, age};
    for (double x : inputs)
        if (!std::isfinite(x)) return missing;
    // Without a body there is nothing to balance; without clothing the clothing geometry and
    // the clothing resistance are undefined (the conductance would divide by zero).
    if (height <= 0.0f || weight <= 0.0f || icl <= 0.0f) return missing;

    const Single Ta = ta, VP = vp, V = v, Tmrt = tmrt, Icl = icl, Work = work;
    const Single Height = height, Weight = weight, Age = age;

    const Single eta = 0.0;                 // mechanical efficiency
    const Single fcl = 1.15;                // clothing area factor
    const Single p = PetReferenceRoom::kP;  // air pressure, hPa
    const Single po = 1013.25;              // reference pressure, hPa
    const Single rob = 1.06;                // blood density, kg/l
    const Single cb = 3640.0;               // specific heat of blood, J kg-1 K-1
    const Single food = 0.0;                // heat gain from food, W
    const Single emsk = PetReferenceRoom::kEmsk;
    const Single emcl = PetReferenceRoom::kEmcl;
    const Single evap = PetReferenceRoom::kEvap;
    const Single sigma = PetReferenceRoom::kSigma;
    const Single cair = PetReferenceRoom::kCair;
    const Single rdsk = 0.79e7;  // diffusion resistance of the skin
    const Single rdcl = 0.0;     // and of the clothing

    // ---- body set-up ----
    const BodyPowers& powers = PowersOfBody(Weight.get(), Height.get());
    const double slenderness = Height * 100.0 / powers.cubeRootOfWeight;
    const Single mf = 3.19 * powers.weightToThreeQuarters *
                      (1.0 + 0.004 * (30.0 - Age) + 0.018 * (slenderness - 42.1));
    const Single mm = 3.45 * powers.weightToThreeQuarters *
                      (1.0 + 0.004 * (30.0 - Age) + 0.010 * (slenderness - 43.4));
    // another sex code keeps the metabolic rate of the call before
    if (sex == 1) metabolism_ = Single(mm + Work).get();
    if (sex == 2) metabolism_ = Single(mf + Work).get();
    if (sex == 1 || sex == 2)
        carrySet_ |= kCarryMetabolism;
    else
        readCarry_ = true;  // the metabolic rate and the sweat rate of the call before
    const Single M = metabolism_;
    const Single H = (1.0 - eta) * M;
    Single tex = 0.47 * Ta + 21.0;
    const Single rtv = 1.44e-6 * M;
    Single Ere = cair * (Ta - tex) * rtv;
    Single vpex = Magnus(tex);
    Single Erel = 0.623 * evap / p * (VP - vpex) * rtv;
    Single Eres = Ere + Erel;

    // ---- body balance in the real environment ----
    Single wetsk = 0.0;
    const Single feff = position == 2 ? 0.696 : 0.725;
    const Single Adu = powers.duBoisArea;
    Single hc = (2.67 + 6.5 * std::pow(double(V), 0.67)) * std::pow(p / po, 0.55);
    Single facl = (-2.36 + 173.51 * Icl - 100.76 * Icl * Icl + 19.28 * Icl * Icl * Icl) / 100.0;
    if (facl > 1.0) facl = 1.0;
    // Very thin clothing (below about 0.014 clo) gives no clothed fraction; PET is undefined.
    if (!(facl > 0.0)) return missing;
    const Single rcl = Icl / 6.45 / facl;
    const Single y = PetClothingGeometryFactor(icl, height);
    const Single r2 = Adu * (fcl - 1.0 + facl) / (6.28 * Height * y);
    const Single r1 = facl * Adu / (6.28 * Height * y);
    const Single di = r2 - r1;

    std::array<Single, 8> tcore;
    for (int k = 1; k <= 7; ++k) tcore[k] = tcore_[k];
    Single sweat = sweat_;
    bool real16 = false, real25 = false;  // candidates 1 and 6, 2 and 5 real in the last pass
    Single tsk, tcl, acl, aeff, rsum, csum, esw, ed, vpts, vb, bal, balPrev, step, wsum;
    int accepted = 0;

    // constant over the passes
    acl = Adu * facl + Adu * (fcl - 1.0);
    aeff = Adu * feff;
    const Single htcl = 6.28 * Height * y * di / (rcl * std::log(r2 / r1) * acl);
    const double p4Tmrt = Pow4K(Tmrt);
    const Single hm = 0.633 * hc / (p * cair);
    const Single fec = 1.0 / (1.0 + 0.92 * hc * rcl);
    const double radiationClothing = feff * emcl * sigma;
    const double diffusion = evap / (rdsk + rdcl) * Adu;
    // the parts of the core-temperature solutions that do not depend on the skin
    const Single c0 = H + Eres;
    const Single c1 = Adu * rob * cb;
    const Single c4 = 0.0208 * c1;
    const Single c5 = 0.76075 * c1;
    const double adu528 = 5.28 * Adu;
    const double perfusion = 6.3 * c1 / 3600.0;
    const double core7 = c0 / (adu528 + perfusion);
    const double core4 = c0 / (adu528 + c1 / 40.0);
    const double c9Base = adu528 - c5;
    const double twoC4 = 2.0 * c4, fourC4 = 4.0 * c4;

    // the part of a balance pass that follows from the clothing temperature
    auto ComputePass = [&](float clothing, ClothingPass& pass) {
        const Single tcl = clothing;
        const double p4tcl = Pow4K(tcl);
        const Single rclo1 = radiationClothing * (p4tcl - p4Tmrt);
        Single tsk = tcl + ((tcl - Ta) * hc + rclo1) / htcl;
        // radiation and convection of the bare skin and the clothing
        const double p4tsk = Pow4K(tsk);
        const Single rbare = (p4Tmrt - p4tsk) * (1.0 - facl) * aeff * emsk * sigma;
        const Single rclo = (p4Tmrt - p4tcl) * feff * acl * emcl * sigma;
        const Single rsum = rbare + rclo;
        const Single cbare = (Ta - tsk) * hc * Adu * (1.0 - facl);
        const Single cclo = (Ta - tcl) * hc * acl;
        const Single csum = cbare + cclo;

        // the seven closed-form solutions for the core temperature
        std::array<Single, 11> c;
        c[0] = c0;
        c[1] = c1;
        c[2] = 18.0 - 0.5 * tsk;
        c[3] = adu528 * c[2];
        c[4] = c4;
        c[5] = c5;
        c[6] = c[3] - c[5] - tsk * c[4];
        c[7] = -c[0] * c[2] - tsk * c[3] + tsk * c[5];
        c[8] = c[6] * c[6] - fourC4 * c[7];
        c[9] = c9Base - c[4] * tsk;
        c[10] = c[9] * c[9] - fourC4 * (c[5] * tsk - c[0] - adu528 * tsk);
        if (tsk == 36.0) tsk = 36.01;  // case 3 would divide by zero at 36 °C
        std::array<Single, 8> tcore;
        tcore[7] = core7 + tsk;
        tcore[3] = c[0] / (adu528 + perfusion / (1.0 + 0.5 * (34.0 - tsk))) + tsk;
        if (c[10] >= 0.0) {
            const double root = std::sqrt(double(c[10]));
            tcore[6] = (-c[9] - root) / twoC4;
            tcore[1] = (-c[9] + root) / twoC4;
        }
        if (c[8] >= 0.0) {
            const double root = std::sqrt(std::fabs(double(c[8])));
            tcore[2] = (-c[6] + root) / twoC4;
            tcore[5] = (-c[6] - root) / twoC4;
        }
        tcore[4] = core4 + tsk;
        const Single vpts = Magnus(tsk);
        const Single eswpot = (VP - vpts) * hm * Adu * evap * fec;

        pass.tsk = tsk.get();
        pass.rsum = rsum.get();
        pass.csum = csum.get();
        pass.real16 = c[10] >= 0.0;
        pass.real25 = c[8] >= 0.0;
        pass.computed = (1u << 7) | (1u << 3) | (1u << 4) |
                        (pass.real16 ? (1u << 6) | (1u << 1) : 0u) |
                        (pass.real25 ? (1u << 2) | (1u << 5) : 0u);
        for (int k = 1; k <= 7; ++k) pass.tcore[k] = tcore[k].get();
        pass.vpts = vpts.get();
        pass.eswpot = eswpot.get();
    };
    PassMemo memo;

    for (int j = 1; j <= 7 && accepted == 0; ++j) {
        PetCaseTrace& trace = trace_[j];
        tsk = 34.0;
        int stepIndex = 0;
        tcl = (Ta + Tmrt + tsk) / 3.0;
        int n = 1;
        balPrev = 0.0;
        for (;;) {
            ++trace.passes[stepIndex];
            const ClothingPass* pass = memo.find(tcl.get());
            if (!pass) {
                ClothingPass& computed = memo.insert(tcl.get());
                ComputePass(tcl.get(), computed);
                pass = &computed;
            }
            tsk = pass->tsk;
            rsum = pass->rsum;
            csum = pass->csum;
            real16 = pass->real16;
            real25 = pass->real25;
            // a candidate without a real root keeps its earlier value
            tcore[7] = pass->tcore[7];
            tcore[3] = pass->tcore[3];
            if (real16) {
                tcore[6] = pass->tcore[6];
                tcore[1] = pass->tcore[1];
            }
            if (real25) {
                tcore[2] = pass->tcore[2];
                tcore[5] = pass->tcore[5];
            }
            tcore[4] = pass->tcore[4];
            carrySet_ |= pass->computed;
            // a candidate this call has not yet computed is the earlier calls'
            if (!(carrySet_ & (1u << j))) readCarry_ = true;

            const Single tbody = 0.1 * tsk + 0.9 * tcore[j];
            Single swm = 304.94 * (tbody - 36.6) * Adu / 3600000.0;
            if (tbody <= 36.6) swm = 0.0;
            const Single swf = 0.7 * swm;
            if (sex == 1) sweat = swm;
            if (sex == 2) sweat = swf;
            if (sex == 1 || sex == 2) carrySet_ |= kCarrySweat;

            vpts = pass->vpts;
            const Single eswphys = -sweat * evap;
            const Single eswpot = pass->eswpot;
            if (eswpot != 0.0)
                wetsk = eswphys / eswpot;
            else  // air as humid as the skin: wet as soon as there is sweat, no 0/0
                wetsk = eswphys < 0.0 ? 1.0 : 0.0;
            if (wetsk > 1.0) wetsk = 1.0;
            esw = eswphys - eswpot <= 0.0 ? eswpot : eswphys;
            if (esw > 0.0) esw = 0.0;
            ed = diffusion * (1.0 - wetsk) * (VP - vpts);

            bal = H + ed + Eres + esw + csum + rsum + food;
            step = kSteps[stepIndex];
            if (bal > 0.0) tcl = tcl + step;
            if (bal < 0.0) tcl = tcl - step;
            if (!Crossed(bal, balPrev)) {
                balPrev = bal;
                ++n;
                if (n <= kPassLimit) continue;
                // past the limit every remaining step size gets a single pass
                trace.limitHit = true;
            }
            if (stepIndex < 3) {
                ++stepIndex;
                balPrev = 0.0;
                continue;
            }
            break;
        }

        // the skin blood flow of the last pass decides with the core temperature
        Single vasoc = 34.0 - tsk;
        if (vasoc < 0.0) vasoc = 0.0;
        Single vasod = tcore[j] - 36.6;
        if (vasod < 0.0) vasod = 0.0;
        vb = (6.3 + 75.0 * vasod) / (1.0 + 0.5 * vasoc);

        trace.tested = true;
        bool ok = false;
        switch (j) {
            case 1:
            case 6:
                ok = real16 && tcore[j] >= 36.6 && tsk > 33.85;
                break;
            case 2:
            case 5:
                ok = real25 && tcore[j] >= 36.6 && tsk <= 34.05;
                break;
            case 3:
                ok = tcore[3] < 36.6 && tsk <= 34.0;
                break;
            case 7:
                ok = tcore[7] < 36.6 && tsk > 34.0;
                break;
            case 4:
                ok = true;
                break;
        }
        ok = ok && (j == 4 ? vb >= 89.0 : vb < 91.0);
        if (!ok) continue;

        trace.accepted = true;
        if (vb > 90.0) vb = 90.0;
        Single ws = sweat * 3600.0 * 1000.0;
        if (ws > 2000.0) ws = 2000.0;
        const Single wd = ed / evap * 3600.0 * (-1000.0);
        const Single wr = Erel / evap * 3600.0 * (-1000.0);
        wsum = ws + wr + wd;
        accepted = j;
    }

    for (int k = 1; k <= 7; ++k) tcore_[k] = tcore[k].get();
    sweat_ = sweat.get();
    lastAccepted_ = accepted;

    // Far outside the model's range (heavy clothing in hot, windy air) the clothing iteration
    // can drive the skin below absolute zero, where the vapour pressure formula is singular and
    // the balance runs away; no result of such a state means anything.
    if (tsk <= -kKelvin || tcl <= -kKelvin) return missing;

    PetDetails r;
    // Without an accepted case there is no core temperature and no water loss to report;
    // PET still follows from the state of the last pass.
    r.Tc = accepted != 0 ? tcore[accepted].get() : d;
    r.WL = accepted != 0 ? wsum.get() : d;
    r.Tsk = tsk.get();
    r.SWt = wetsk.get();
    r.H = H.get();
    r.Esw = esw.get();

    // ---- reference search: the air temperature of the reference room ----
    r.PET = r.Rnb = r.C = r.Evpd = d;
    const double fixedState[] = {Ta, tsk, tcl, wetsk, esw, vpts, H, rtv, Adu, facl, acl, feff};
    bool searchable = true;
    for (double x : fixedState) searchable = searchable && std::isfinite(x);
    PetReferenceRoom room{};
    room.searchable = searchable;
    if (searchable) {
        // the body's state stays as it is in the real environment
        hc = (2.67 + 6.5 * std::pow(0.1, 0.67)) * std::pow(p / po, 0.55);
        ed = evap / (rdsk + rdcl) * Adu * (1.0 - wetsk) * (12.0 - vpts);
        room = {Pow4K(tsk), Pow4K(tcl), Ta.get(),  tsk.get(), tcl.get(), facl.get(),
                aeff.get(), feff.get(), acl.get(), Adu.get(), hc.get(),  H.get(),
                ed.get(),   esw.get(),  rtv.get(), true};
    }
    if (deferredSearch)
        *deferredSearch = room;
    else
        SearchPetReferenceRoom(room, r, d);

    // Absurd inputs can overflow a heat flow; such a value is reported as missing.
    for (float* x : {&r.PET, &r.Tc, &r.Tsk, &r.WL, &r.SWt, &r.H, &r.Rnb, &r.C, &r.Evpd, &r.Esw})
        if (!std::isfinite(*x)) *x = d;
    return r;
}

}  // namespace umbrix
