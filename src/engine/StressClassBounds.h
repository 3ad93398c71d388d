#pragma once
// The thermal stress classes of UTCI and PET, by their lower bounds (°C), for the maps' hours per
// class. The one place the maps take them from:
//   UTCI: Bröde P et al. (2012) Deriving the operational procedure for the Universal Thermal
//   Climate Index (UTCI). Int J Biometeorol 56:481-494 (assessment scale).
//   PET: Matzarakis A, Mayer H (1996) Another kind of environmental stress: thermal stress.
//   WHO Newsletter 18:7-10 (classes for Western and Central Europe).
#include <limits>
#include <span>

namespace umbrix {

struct StressClassBound {
    double lower;      // °C; the class reaches up to the next class's bound
    const char* name;  // English; the maps' band descriptions use it
};

inline constexpr double kNoLowerBound = -std::numeric_limits<double>::infinity();

inline constexpr StressClassBound kUtciClasses[] = {
    {kNoLowerBound, "extreme cold stress"},
    {-40, "very strong cold stress"},
    {-27, "strong cold stress"},
    {-13, "moderate cold stress"},
    {0, "slight cold stress"},
    {9, "no thermal stress"},
    {26, "moderate heat stress"},
    {32, "strong heat stress"},
    {38, "very strong heat stress"},
    {46, "extreme heat stress"},
};

inline constexpr StressClassBound kPetClasses[] = {
    {kNoLowerBound, "extreme cold stress"},
    {4, "strong cold stress"},
    {8, "moderate cold stress"},
    {13, "slight cold stress"},
    {18, "no thermal stress"},
    {23, "slight heat stress"},
    {29, "moderate heat stress"},
    {35, "strong heat stress"},
    {41, "extreme heat stress"},
};

}  // namespace umbrix
