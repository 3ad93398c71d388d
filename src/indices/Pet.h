#pragma once
// PET, the physiologically equivalent temperature, from the two-node heat balance model MEMI
// (Munich Energy-balance Model for Individuals):
//   Höppe P (1984) Die Energiebilanz des Menschen. Wiss Mitt Meteorol Inst Univ München 49.
//   Höppe P (1999) The physiological equivalent temperature - a universal index for the
//   biometeorological assessment of the thermal environment. Int J Biometeorol 43:71-75.
// PET is the air temperature of a reference room (Tmrt = Ta, v = 0.1 m/s, VP = 12 hPa) at
// which the body, in the state it has in the real environment, is in heat balance.

#include <array>

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
    PetDetails ComputePet(int sex, int position, float ta, float vp, float v, float tmrt, float icl,
                          float work, float height, float weight, float age, float missingValue);

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
