#pragma once
// SET*, the standard effective temperature, from a two-node (core and skin) transient model of
// the body exposed for one hour to the actual environment, matched to a standard environment.
//
// Gagge AP, Stolwijk JAJ, Nishi Y (1971) An effective temperature scale based on a simple model
// of human physiological regulatory response. ASHRAE Transactions 77(1):247-262.
// Gagge AP, Fobelets AP, Berglund LG (1986) A standard predictive index of human response to the
// thermal environment. ASHRAE Transactions 92(2B):709-731.
//
// The standard environment follows the metabolic rate as in ASHRAE Standard 55-2020, Normative
// Appendix D (ANSI/ASHRAE 55-2020, Thermal Environmental Conditions for Human Occupancy):
// natural convection 5.66 (met − 0.85)^0.39 W/(m² K) above 0.85 met, and standard clothing
// 1.52 / (met + 0.6944) − 0.1835 clo.
//
// Body surface after DuBois D, DuBois EF (1916) A formula to estimate the approximate surface
// area if height and weight be known. Archives of Internal Medicine 17:863-871 (height in cm).

namespace umbrix {

// The standard environment to which SET* matches the actual one.
enum class SetStandardEnvironment {
    // clothing and natural convection of the standard environment, and the natural convection
    // of the actual one, follow the activity: SET* rises with the activity
    ActivityDependent,
    // 0.6 clo and the natural convection of 1.1 met whatever the activity, as in earlier
    // versions; far from sedentary activity SET* then falls as the activity rises
    Sedentary,
};

// Working values of one SET* evaluation, for the detail tests and for diagnosis.
struct SetStarDetails {
    double setStar = 0;   // SET*, °C, or the missing-value default
    bool valid = false;   // false when the missing-value default was returned
    int passes = 0;       // exposure passes of 20 s (181 for one hour)
    int searchSteps = 0;  // trial values of the standard-environment search
    double area = 0;      // body surface, m²
    double tsk = 0;       // skin temperature after the exposure, °C
    double tcr = 0;       // core temperature after the exposure, °C
    double hsk = 0;       // skin heat loss after the exposure, W/m²
    double pwet = 0;      // skin wettedness after the exposure
    double chr = 0;       // radiative heat transfer coefficient of the last pass, W/(m² K)
    double chc = 0;       // convective heat transfer coefficient of the exposure, W/(m² K)
    double cloS = 0;      // clothing of the standard environment, clo
    double chcS = 0;      // convective heat transfer coefficient of the standard environment
};

// SET*, °C. sexIndex (0 = "m", 1 = "f") and age are accepted but do not enter the model.
// ta, tmrt: air and mean radiant temperature, °C; rh: relative humidity, %; v: wind speed, m/s;
// icl: clothing, clo; height in m, weight in kg; activity, W, taken directly as the metabolic
// rate per unit body surface (W/m²). Non-finite inputs, or inputs that drive the model to
// non-finite values or keep the search from ending, give missingValue.
double ComputeSetStar(int sexIndex, float ta, float tmrt, float rh, float v, float icl, float age,
                      float height, float weight, float activity, float missingValue,
                      SetStandardEnvironment standard = SetStandardEnvironment::ActivityDependent);

SetStarDetails ComputeSetStarDetails(
    float ta, float tmrt, float rh, float v, float icl, float height, float weight, float activity,
    float missingValue,
    SetStandardEnvironment standard = SetStandardEnvironment::ActivityDependent);

// Natural convection of a standing person in still air, W/(m² K), at the metabolic rate m
// (W/m²): 3.0 up to 0.85 met, 5.66 (met − 0.85)^0.39 above (not below 3.0).
double SetStarNaturalConvection(double m);
// Clothing of the standard environment, clo, at the metabolic rate m (W/m²), not below 0.
double SetStarStandardClothing(double m);

// Saturation vapour pressure of the SET* model, torr, at t, °C.
double SetStarSaturationPressure(double t);

// The model's pieces that its SIMD form (src/batch) shares, so that both give the same bits.
namespace setstar {

inline constexpr double TskN = 33.7;                              // neutral skin temperature, °C
inline constexpr double TcrN = 36.8;                              // neutral core temperature, °C
inline constexpr double AlfaN = 0.1;                              // neutral skin-mass fraction
inline constexpr double TbN = AlfaN * TskN + (1 - AlfaN) * TcrN;  // neutral body temperature, °C
inline constexpr double SkbfN = 6.3;       // neutral skin blood flow, l/(m² h)
inline constexpr double Csw = 200;         // sweating coefficient, g/(m² h K)
inline constexpr double Cdil = 150;        // vasodilation coefficient, l/(m² h K)
inline constexpr double Cstr = 0.5;        // vasoconstriction coefficient, 1/K
inline constexpr double Wme = 0;           // mechanical work, W/m²
inline constexpr double Lewis = 2.2;       // Lewis relation, K/torr
inline constexpr double SearchStep = 0.1;  // K
// The search moves 0.1 K per trial; 10⁵ trials span 10⁴ K, far beyond any physical case, so
// reaching the bound means the balance cannot close (non-physical inputs).
inline constexpr int MaxSearchSteps = 100000;

// What one element fixes before the exposure: body surface, m²; vapour pressure, torr; the
// convection of the actual environment without wind and with it, W/(m² K); the clothing of the
// standard environment, clo, and its area factor.
struct Setup {
    double A, Pa, chcA, chc, cloS, faclS;
};
Setup Prepare(float ta, float rh, float v, float height, float weight, float activity,
              bool sedentary);

// The exposure passes of 20 s in the hour (181).
int Passes();

}  // namespace setstar

}  // namespace umbrix
