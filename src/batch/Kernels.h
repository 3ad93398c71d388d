#pragma once
// What the SIMD kernels read and write, and their entry points. Each entry point runs the
// kernel compiled for the best target of this processor (or the one a test forces) over the
// elements [begin, end).
#include <cstddef>

#include "indices/Pet.h"

namespace umbrix::mpet_steps {
struct Layout;
template <class V>
struct Lanes;
}  // namespace umbrix::mpet_steps

namespace umbrix::batch::detail {

// A column as the kernels read it: element i is data[i * step]; step 0 repeats one value.
struct In {
    const double* data = nullptr;
    std::size_t step = 0;
    double operator[](std::size_t i) const { return data[i * step]; }
};

struct CodeIn {
    const int* data = nullptr;
    std::size_t step = 0;
    int operator[](std::size_t i) const { return data[i * step]; }
};

struct UtciArgs {
    In ta, vp, tmrt, v;
    double* out;
    float missingValue;
};

struct PmvArgs {
    In ta, vp, v, tmrt, icl, work, height, weight, age;
    CodeIn sex;
    double* out;
    float missingValue;
};

struct PtArgs {
    In ta, vp, tmrt, v, p;
    double* out;
    float missingValue;
};

struct SetStarArgs {
    In ta, tmrt, rh, v, icl, height, weight, activity;
    bool sedentary;  // the sedentary standard environment instead of the activity's
    double* out;
    float missingValue;
};

// PET's reference search for the rooms [begin, end); it writes PET, Rnb, C and Evpd of out.
struct PetReferenceArgs {
    const PetReferenceRoom* room;
    PetDetails* out;
    float missingValue;
};

void RunUtci(const UtciArgs& a, std::size_t begin, std::size_t end);
void RunPmv(const PmvArgs& a, std::size_t begin, std::size_t end);
void RunPt(const PtArgs& a, std::size_t begin, std::size_t end);
void RunSetStar(const SetStarArgs& a, std::size_t begin, std::size_t end);
void RunPetReference(const PetReferenceArgs& a, std::size_t begin, std::size_t end);
// The time loop of count mPET elements of one clothing case (layout), in place.
void RunMpet(const mpet_steps::Layout& layout, mpet_steps::Lanes<double>* const* elements,
             std::size_t count);

}  // namespace umbrix::batch::detail
