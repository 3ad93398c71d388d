#pragma once
// The thermal indices over many elements at once, on the index models' own codes (sex 1 male,
// 2 female; position 1 standing, 2 sitting) and with the caller's missing value: the layer
// under the public batch functions of umbrix/batch.h. Inputs come as structure of arrays, one
// span per quantity; a span of a single value stands for that value in every element. Results
// go to arrays of the batch's length. Every element gives the bits the single-row function
// gives for the same inputs, whichever SIMD target runs and however many threads share the
// work.
//
// UTCI, PMV, PT and SET* run several elements per instruction (SIMD, chosen at run time for the
// processor), and so does mPET's time loop for the elements of one clothing case; PET runs
// element by element. With a pool, the batch is split into blocks over its threads; without
// one, the calling thread does all.
#include <cstddef>
#include <span>
#include <string>

#include "indices/Mpet.h"
#include "indices/Pet.h"

namespace umbrix::batch {

class ThreadPool;

namespace coded {

// One quantity over the batch: one value per element, or one value for all.
using Column = std::span<const double>;
using CodeColumn = std::span<const int>;

struct Weather {
    Column ta;    // air temperature, °C
    Column vp;    // vapour pressure, hPa
    Column v;     // wind speed at the person's height, m/s
    Column tmrt;  // mean radiant temperature, °C
};

struct Person {
    CodeColumn sex;       // 1 male, 2 female
    CodeColumn position;  // 1 standing, 2 sitting (PET, mPET)
    Column age;           // years
    Column height;        // m
    Column weight;        // kg
    Column clothing;      // Icl, clo
    Column activity;      // W, added to the basal metabolic rate
};

// The element count of a batch is the length of its result array. A column of another length
// than 1 or that count throws std::invalid_argument naming the column, and nothing is written.

// UTCI, °C (ComputeUtci).
void Utci(const Weather& w, std::span<double> utci, float missingValue, ThreadPool* pool = nullptr);

// PMV (ComputePmv). The single-row function takes the quantities as 4-byte floats and the age
// in whole years: each element converts as a call would (the age truncated); an age that is
// not a number or beyond any whole number of years gives missingValue.
void Pmv(const Weather& w, const Person& p, std::span<double> pmv, float missingValue,
         ThreadPool* pool = nullptr);

// PT, °C, at air pressure p, hPa (ComputePt; the person is the model's standard person).
void Pt(const Weather& w, Column p, std::span<double> pt, float missingValue,
        ThreadPool* pool = nullptr);

// SET* (ComputeSetStar) from the relative humidity rh, %, instead of the weather's vapour
// pressure; sex and age do not enter the model. With sedentary, the sedentary standard
// environment instead of the activity's.
void SetStar(const Weather& w, Column rh, const Person& p, bool sedentary, std::span<double> set,
             float missingValue, ThreadPool* pool = nullptr);

// PET (PetModel::ComputePet), elements taken in order by one model that starts in the state of
// `model` and is left in the state after the last element: the results of a run row by row
// with that model, also when a calculation reads what the one before left (a core candidate
// without a real root, a sex code other than 1 or 2). Such elements are recomputed in order;
// all others run in parallel.
void Pet(const Weather& w, const Person& p, std::span<PetDetails> pet, float missingValue,
         PetModel& model, ThreadPool* pool = nullptr);

struct MpetOptions {
    bool autoClothing = false;  // clothing from the air temperature instead of Person::clothing
    float tc0 = 36.8f;          // initial core temperature, °C
    float tsk0 = 34.0f;         // initial skin temperature, °C
};

// mPET (ComputeMpet with the fast solver); every element is self-contained.
void Mpet(const Weather& w, const Person& p, const MpetOptions& options,
          std::span<MpetDetails> mpet, float missingValue, ThreadPool* pool = nullptr);

// The SIMD target the kernels run on this processor ("AVX3", "AVX2", "SSE4", ...).
std::string SimdTargetName();

}  // namespace coded

}  // namespace umbrix::batch
