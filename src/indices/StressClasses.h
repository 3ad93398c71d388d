#pragma once
// Assessment classes of the thermal indices, for table columns, run summaries and charts.
//   UTCI: Bröde P, Fiala D, Błażejczyk K, Holmér I, Jendritzky G, Kampmann B, Tinz B, Havenith G
//     (2012) Deriving the operational procedure for the Universal Thermal Climate Index (UTCI).
//     Int J Biometeorol 56:481-494; colours of the UTCI assessment scale (Błażejczyk K, Jendritzky
//     G, Bröde P et al. (2013) An introduction to the Universal Thermal Climate Index (UTCI).
//     Geographia Polonica 86:5-10).
//   PET: Matzarakis A, Mayer H (1996) Another kind of environmental stress: thermal stress. WHO
//     Newsletter 18:7-10; VDI 3787 Part 2 (2008), thermal perception and physiological stress
//     for Central Europe.
//   PMV: ISO 7730 (2005), seven-point thermal sensation scale and PPD.
//   PT: Staiger H, Laschewski G, Grätz A (2012) The perceived temperature - a versatile index for
//     the assessment of the human thermal environment. Part A. Int J Biometeorol 56:165-176.
// The chart colours of UTCI follow its assessment scale; the other indices use the same run from
// dark blue over green to dark red, so that equal stress looks alike across indices.
// Every class includes its upper bound and excludes its lower one: UTCI 26.0 °C is "no thermal
// stress", 26.1 °C "moderate heat stress". A caller that prints a value rounded should classify
// the printed value, so that the number and its class never disagree.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace umbrix {

enum class StressIndex { UTCI, PET, PMV, PT };

// The language of a table and of the texts derived from it (same order as the interface
// languages).
enum class TextLanguage { English, German };

struct StressClass {
    double lower;  // exclusive; -infinity for the coldest class (°C; PMV without unit)
    double upper;  // inclusive; +infinity for the hottest class
    std::string_view english;
    std::string_view german;
    std::uint32_t rgb;  // colour for charts, 0xRRGGBB

    std::string_view label(TextLanguage language) const {
        return language == TextLanguage::German ? german : english;
    }
};

// The classes of an index, coldest first.
std::span<const StressClass> StressClasses(StressIndex index);

// The class of a value as an index into StressClasses(index); -1 for NaN.
int StressClassOf(StressIndex index, double value);

// The index's short name as in the table ("UTCI", "PET", "PMV", "PT").
std::string_view StressIndexName(StressIndex index);
// The index of a short name, ignoring case; nothing for a quantity without classes.
std::optional<StressIndex> StressIndexFromName(std::string_view name);

// Predicted percentage of dissatisfied, %, from PMV (ISO 7730): 100 - 95 exp(-0.03353 PMV^4 -
// 0.2179 PMV^2). NaN for NaN.
double PredictedPercentDissatisfied(double pmv);

}  // namespace umbrix
