#pragma once
// The physical constants of the models, with their units and where they come from, and the
// formulas that several models share: the body surface and each variant of the saturation vapour
// pressure. Where a model uses a constant of its own (273.2 instead of 273.15, 5.4999e-8 instead
// of 0.97 σ), the model is reproduced as it was published, and the name says whose it is.
#include <cmath>

namespace umbrix {

// ---- constants ----

// Stefan–Boltzmann constant, W m⁻² K⁻⁴ (CODATA, to the three digits the models use).
inline constexpr double kStefanBoltzmann = 5.67e-8;
// 0 °C in kelvin.
inline constexpr double kZeroCelsius = 273.15;
// 0 °C in kelvin as the body models of Fanger (PMV), Höppe (MEMI/PET), Chen and Matzarakis
// (mPET) and the Klima-Michel model (PT) write it: 273.2. Their published values rest on it.
inline constexpr double kZeroCelsiusBodyModels = 273.2;
// 0 °C in kelvin as the radiation term of Gagge's two-node model (SET*) writes it: 273.
inline constexpr double kZeroCelsiusSetStar = 273.0;
// Emissivity of the person (0.97) times σ as VDI 3789 part 2 (1994) writes it in the Tmrt
// formula: 5.4999e-8 W m⁻² K⁻⁴, not 0.97 · 5.67e-8 = 5.4999e-8 rounded otherwise; kept.
inline constexpr double kPersonEmissivitySigma = 5.4999e-8;
// Solar constant, W/m² (VDI 3789 part 2).
inline constexpr double kSolarConstant = 1367.0;
// Emissivity of the ground and of the surroundings (VDI 3789 part 2).
inline constexpr double kSurfaceEmissivity = 0.95;

// ---- the body ----

// Body surface area, m², of a person of weight kg and height m: Du Bois D, Du Bois EF (1916),
// A formula to estimate the approximate surface area if height and weight be known. Archives
// of Internal Medicine 17:863-871, A = 0.203 W^0.425 H^0.725 with H in metres.
inline double DuBoisArea(double weight, double height) {
    return 0.203 * std::pow(weight, 0.425) * std::pow(height, 0.725);
}

// ---- saturation vapour pressure, each variant once ----

// Magnus form over water, hPa (VDI 3789 part 2; the radiation step, the humidity coupling and
// mPET's skin and clothing).
inline double SaturationVapourPressure(double t) {
    return 6.1078 * std::exp(17.1 * t / (235.0 + t));
}

// Magnus form with base 10, hPa, of Höppe's MEMI (PET, and mPET's expired air).
inline double SaturationVapourPressureBase10(double t) {
    return 6.11 * std::pow(10.0, 7.45 * t / (235.0 + t));
}

// Magnus form over water (t ≥ 0 °C) and over ice, hPa, of the Klima-Michel model (PT).
inline double SaturationVapourPressureWaterIce(double t) {
    return t >= 0 ? 6.1078 * std::exp(17.08085 * t / (234.175 + t))
                  : 6.1078 * std::exp(17.84362 * t / (245.425 + t));
}

// Antoine form, torr, of Gagge's two-node model (SET*).
inline double SaturationVapourPressureTorr(double t) {
    return std::exp(18.6686 - 4030.183 / (t + 235.0));
}

}  // namespace umbrix
