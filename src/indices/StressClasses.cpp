#include "indices/StressClasses.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <limits>

namespace umbrix {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

constexpr std::array<StressClass, 10> kUtci = {{
    {-kInf, -40, "extreme cold stress", "extremer Kältestress", 0x000080},
    {-40, -27, "very strong cold stress", "sehr starker Kältestress", 0x0020C2},
    {-27, -13, "strong cold stress", "starker Kältestress", 0x0066FF},
    {-13, 0, "moderate cold stress", "mäßiger Kältestress", 0x00A3FF},
    {0, 9, "slight cold stress", "leichter Kältestress", 0x99E6FF},
    {9, 26, "no thermal stress", "kein thermischer Stress", 0x66CC33},
    {26, 32, "moderate heat stress", "mäßiger Hitzestress", 0xFFC000},
    {32, 38, "strong heat stress", "starker Hitzestress", 0xFF6600},
    {38, 46, "very strong heat stress", "sehr starker Hitzestress", 0xFF0000},
    {46, kInf, "extreme heat stress", "extremer Hitzestress", 0x8B0000},
}};

// PET and PT name the same stress grades; German after VDI 3787 Part 2 and the weather service.
constexpr std::array<StressClass, 9> kPet = {{
    {-kInf, 4, "extreme cold stress", "extreme Kältebelastung", 0x0020C2},
    {4, 8, "strong cold stress", "starke Kältebelastung", 0x0066FF},
    {8, 13, "moderate cold stress", "mäßige Kältebelastung", 0x00A3FF},
    {13, 18, "slight cold stress", "schwache Kältebelastung", 0x99E6FF},
    {18, 23, "no thermal stress", "keine thermische Belastung", 0x66CC33},
    {23, 29, "slight heat stress", "schwache Wärmebelastung", 0xFFE033},
    {29, 35, "moderate heat stress", "mäßige Wärmebelastung", 0xFFA000},
    {35, 41, "strong heat stress", "starke Wärmebelastung", 0xFF3300},
    {41, kInf, "extreme heat stress", "extreme Wärmebelastung", 0x8B0000},
}};

// Nearest integer of PMV, limited to ±3; a half belongs to the colder class like every bound.
constexpr std::array<StressClass, 7> kPmv = {{
    {-kInf, -2.5, "cold", "kalt", 0x0066FF},
    {-2.5, -1.5, "cool", "kühl", 0x00A3FF},
    {-1.5, -0.5, "slightly cool", "etwas kühl", 0x99E6FF},
    {-0.5, 0.5, "neutral", "neutral", 0x66CC33},
    {0.5, 1.5, "slightly warm", "etwas warm", 0xFFE033},
    {1.5, 2.5, "warm", "warm", 0xFFA000},
    {2.5, kInf, "hot", "heiß", 0xFF3300},
}};

constexpr std::array<StressClass, 9> kPt = {{
    {-kInf, -39, "extreme cold stress", "extreme Kältebelastung", 0x0020C2},
    {-39, -26, "strong cold stress", "starke Kältebelastung", 0x0066FF},
    {-26, -13, "moderate cold stress", "mäßige Kältebelastung", 0x00A3FF},
    {-13, 0, "slight cold stress", "schwache Kältebelastung", 0x99E6FF},
    {0, 20, "comfortable", "behaglich", 0x66CC33},
    {20, 26, "slight heat stress", "schwache Wärmebelastung", 0xFFE033},
    {26, 32, "moderate heat stress", "mäßige Wärmebelastung", 0xFFA000},
    {32, 38, "strong heat stress", "starke Wärmebelastung", 0xFF3300},
    {38, kInf, "extreme heat stress", "extreme Wärmebelastung", 0x8B0000},
}};

constexpr std::array<StressIndex, 4> kIndices = {StressIndex::UTCI, StressIndex::PET,
                                                 StressIndex::PMV, StressIndex::PT};

}  // namespace

std::span<const StressClass> StressClasses(StressIndex index) {
    switch (index) {
        case StressIndex::UTCI:
            return kUtci;
        case StressIndex::PET:
            return kPet;
        case StressIndex::PMV:
            return kPmv;
        case StressIndex::PT:
            return kPt;
    }
    return {};
}

int StressClassOf(StressIndex index, double value) {
    if (std::isnan(value)) return -1;
    const auto classes = StressClasses(index);
    // the first class whose upper bound the value does not exceed
    const auto it = std::lower_bound(classes.begin(), classes.end(), value,
                                     [](const StressClass& c, double v) { return c.upper < v; });
    return static_cast<int>(it - classes.begin());
}

std::string_view StressIndexName(StressIndex index) {
    switch (index) {
        case StressIndex::UTCI:
            return "UTCI";
        case StressIndex::PET:
            return "PET";
        case StressIndex::PMV:
            return "PMV";
        case StressIndex::PT:
            return "PT";
    }
    return {};
}

std::optional<StressIndex> StressIndexFromName(std::string_view name) {
    for (StressIndex index : kIndices) {
        const std::string_view known = StressIndexName(index);
        if (std::equal(name.begin(), name.end(), known.begin(), known.end(), [](char a, char b) {
                return std::toupper(static_cast<unsigned char>(a)) == b;
            }))
            return index;
    }
    return std::nullopt;
}

double PredictedPercentDissatisfied(double pmv) {
    const double p2 = pmv * pmv;
    return 100.0 - 95.0 * std::exp(-0.03353 * p2 * p2 - 0.2179 * p2);
}

}  // namespace umbrix
