#pragma once
// PET, the physiologically equivalent temperature, from the two-node heat balance model MEMI
// (Munich Energy-balance Model for Individuals):
//   Höppe P (1984) Die Energiebilanz des Menschen. Wiss Mitt Meteorol Inst Univ München 49.
//   Höppe P (1999) The physiological equivalent temperature - a universal index for the
//   biometeorological assessment of the thermal environment. Int J Biometeorol 43:71-75.
// PET is the air temperature of a reference room (Tmrt = Ta, v = 0.1 m/s, VP = 12 hPa) at
// which the body, in the state it has in the real environment, is in heat balance.

#include <array>

#include "platform/PhysicalConstants.h"
#include "umbrix/types.h"

namespace umbrix {

// The ten results of one PET calculation (PetDetails): Rnb, C and Evpd belong to the reference
// room at PET; Tc, Tsk, WL, SWt and Esw to the real environment.

// How one of the seven core cases went in the last calculation (for diagnosis and tests).
struct PetCaseTrace {
    std::array<int, 4> passes{};  // balance passes made with step 1, 0.1, 0.01, 0.001 K
    bool limitHit = false;        // the 200-pass limit ended a step size
    bool tested = false;          // the acceptance test ran
    bool accepted = false;        // and passed
};

// Geometry factor y of the clothing cylinder (the share of the body length that is clothed)
// for clothing Icl (clo, above 0) and height (m).
float PetClothingGeometryFactor(float icl, float height);

// What the search for the reference room's air temperature takes from a calculation: the
// body's state in the real environment (as stored, in 4 bytes) and the fourth powers of its skin
// and clothing temperatures. The search carries no state, so the batch runs it for many elements
// side by side (src/batch); the constants are the model's.
struct PetReferenceRoom {
    static constexpr float kEmsk = 0.99f;  // emissivity of the skin
    static constexpr float kEmcl = 0.95f;  // and of the clothing
    static constexpr float kSigma = float(kStefanBoltzmann);
    static constexpr float kCair = 1010.0f;       // specific heat of air, J kg-1 K-1
    static constexpr float kEvap = 2.42e6f;       // latent heat of evaporation, J/kg
    static constexpr float kP = 1013.25f;         // air pressure, hPa
    static constexpr long kSearchLimit = 100000;  // passes before giving up

    double p4tsk, p4tcl;  // (Tsk + 273.2)^4, (Tcl + 273.2)^4
    float ta, tsk, tcl, facl, aeff, feff, acl, adu;
    float hc;  // convection coefficient of the reference room
    float h, ed, esw, rtv;
    bool searchable;  // a state the search can start from
};

// The search: PET and the reference room's Rnb, C and Evpd into r, missingValue where the
// search finds no balance or a value overflows.
void SearchPetReferenceRoom(const PetReferenceRoom& room, PetDetails& r, float missingValue);

// The MEMI model with its working state. Core-temperature candidates whose discriminant is
// negative keep their earlier value, and for a sex code other than 1 or 2 the metabolic rate
// and the sweat rate keep theirs, so results depend on the calls made before; one instance per
// run keeps a run reproducible from a fresh start. All model quantities are stored as 4-byte
// floats and evaluated in double.
class PetModel {
  public:
    // sex 1 = male, 2 = female; position 1 = standing, 2 = sitting; Ta (°C), VP (hPa), v (m/s),
    // Tmrt (°C), Icl (clo), work (W, added to the basal metabolic rate), height (m), weight
    // (kg), age (years). Where PET is not defined every result is missingValue.
    // With deferredSearch, the reference room is stored there instead of searched, and PET, Rnb,
    // C and Evpd are left missing for SearchPetReferenceRoom (or the batch's form of it).
    PetDetails ComputePet(int sex, int position, float ta, float vp, float v, float tmrt, float icl,
                          float work, float height, float weight, float age, float missingValue,
                          PetReferenceRoom* deferredSearch = nullptr);

    // Core case (1..7) accepted in the last calculation; 0 when none passed its test.
    int acceptedCase() const { return lastAccepted_; }
    // Course of core case j (1..7) in the last calculation.
    const PetCaseTrace& caseTrace(int j) const { return trace_[j]; }

    // Whether the last calculation read working state that the calls before it left (a core
    // candidate it had not yet computed itself, or the metabolic and sweat rate of another sex
    // code). Only then does its result depend on those calls.
    bool usedCarriedState() const { return readCarry_; }

    // Brings this model into the state it would be in had it made the last calculation of
    // `next` itself: what that calculation set is taken from next, the rest stays. Valid when
    // next.usedCarriedState() is false, so that the calculation's results are the same on both
    // models. This lets calculations run apart on fresh models and join in order.
    void continueWith(const PetModel& next);

  private:
    static constexpr unsigned kCarryMetabolism = 1u << 8;
    static constexpr unsigned kCarrySweat = 1u << 9;

    std::array<float, 8> tcore_{};  // core-temperature candidates 1..7, °C
    float metabolism_ = 0.0f;       // M, W
    float sweat_ = 0.0f;            // sweat rate, kg/s
    int lastAccepted_ = 0;
    std::array<PetCaseTrace, 8> trace_{};
    unsigned carrySet_ = 0;  // what the last calculation set: bit k candidate k, then M, sweat
    bool readCarry_ = false;
};

}  // namespace umbrix
