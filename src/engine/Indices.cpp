// The thermal indices of the engine, each from the weather and the person in named structs.
#include <cmath>
#include <limits>

#include "engine/Internal.h"
#include "indices/Mpet.h"
#include "indices/PerceivedTemperature.h"
#include "indices/Pet.h"
#include "indices/Pmv.h"
#include "indices/SetStar.h"
#include "indices/Utci.h"
#include "solar/RadiationStep.h"

namespace umbrix {

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// The humidity as the index functions take it: VP as given, else from RH; RH as given, else
// from VP. The batch functions read VP as given, so both give the same bits.
engine::Air IndexAir(const Weather& weather) {
    engine::Air a = engine::AirOf(weather);
    if (std::isnan(a.VP)) a.VP = float(VapourFromRelHumidity(a.Ta, a.RH));
    if (std::isnan(a.RH)) a.RH = float(RelHumidityFromVapour(a.Ta, a.VP));
    return a;
}

double VapourPressureOf(const Weather& w) {
    return std::isnan(w.VP) ? VapourFromRelHumidity(w.Ta, w.RH) : w.VP;
}

}  // namespace

PetState::PetState() : model_(std::make_unique<PetModel>()) {}
PetState::~PetState() = default;
PetState::PetState(const PetState& other) : model_(std::make_unique<PetModel>(*other.model_)) {}
PetState& PetState::operator=(const PetState& other) {
    if (this != &other) *model_ = *other.model_;
    return *this;
}
PetState::PetState(PetState&&) noexcept = default;
PetState& PetState::operator=(PetState&&) noexcept = default;

void PetState::reset() {
    model_ = std::make_unique<PetModel>();
}

namespace engine {

double PmvOf(const Air& a, const Body& b) {
    // the model takes the age in whole years
    if (!(std::fabs(b.age) < double(std::numeric_limits<int>::max()))) return kNaN;
    return ComputePmv(b.sex, int(b.age), a.Ta, a.VP, a.v, a.Tmrt, b.clothing, b.activity, b.height,
                      b.weight, kNaN);
}

PetDetails PetOf(const Air& a, const Body& b, PetState& state) {
    return state.model().ComputePet(b.sex, b.position, a.Ta, a.VP, a.v, a.Tmrt, b.clothing,
                                    b.activity, b.height, b.weight, float(b.age), kNaN);
}

double SetStarOf(const Air& a, const Body& b, bool sedentary) {
    return ComputeSetStar(
        b.sex - 1, a.Ta, a.Tmrt, a.RH, a.v, b.clothing, float(b.age), b.height, b.weight,
        b.activity, kNaN,
        sedentary ? SetStandardEnvironment::Sedentary : SetStandardEnvironment::ActivityDependent);
}

double UtciOf(double Ta, double VP, double Tmrt, double v) {
    return ComputeUtci(Ta, VP, Tmrt, v, kNaN);
}

double PtOf(double Ta, double VP, double Tmrt, double v, double airPressure) {
    // the user's clothing does not enter: the model chooses the clothing
    return ComputePt(0, "none", Ta, VP, Tmrt, v, airPressure, 0.0, kNaN);
}

MpetDetails MpetOf(const Air& a, const Body& b) {
    return ComputeMpet(b.sex, b.position, b.autoClothing, a.Ta, a.VP, a.v, a.Tmrt, b.clothing,
                       b.activity, b.height, b.weight, float(b.age), engine::kInitialCore,
                       engine::kInitialSkin, kNaN);
}

}  // namespace engine

double Pmv(const Weather& weather, const Person& person) {
    const engine::Air a = IndexAir(weather);
    return engine::PmvOf(a, engine::BodyOf(person));
}

PetDetails Pet(const Weather& weather, const Person& person, PetState& state) {
    return engine::PetOf(IndexAir(weather), engine::BodyOf(person), state);
}

double SetStar(const Weather& weather, const Person& person, SetStarStandard standard) {
    return engine::SetStarOf(IndexAir(weather), engine::BodyOf(person),
                             standard == SetStarStandard::Sedentary);
}

// UTCI and PT take the weather in double precision, as their batch functions do.
double Utci(const Weather& w) {
    return engine::UtciOf(w.Ta, VapourPressureOf(w), w.Tmrt, w.v);
}

double PerceivedTemperature(const Weather& w, double airPressure) {
    return engine::PtOf(w.Ta, VapourPressureOf(w), w.Tmrt, w.v, airPressure);
}

MpetDetails Mpet(const Weather& weather, const Person& person) {
    return engine::MpetOf(IndexAir(weather), engine::BodyOf(person));
}

}  // namespace umbrix
