#include "models/RangeMessages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace umbrix {

std::string RangeNumber(double x) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4g", x);
    return buffer;
}

std::string FieldKeepsText(std::string_view previous, Language language) {
    return (language == Language::German ? "; das Feld beh\u00e4lt \"" : "; the field keeps \"") +
           std::string(previous) + "\"";
}

std::string NotANumberText(Quantity quantity, std::string_view where, std::string_view value,
                           Language language) {
    const PhysicalRange& r = RangeOf(quantity);
    const bool german = language == Language::German;
    std::string text = german ? r.german : r.english;
    if (!where.empty()) text += " (" + std::string(where) + ")";
    return text + ": \"" + std::string(value) +
           (german ? "\" ist keine Zahl" : "\" is not a number");
}

std::string OutOfRangeText(Quantity quantity, std::string_view where, std::string_view value,
                           Language language) {
    const PhysicalRange& r = RangeOf(quantity);
    return OutOfRangeText(quantity, where, value, r.min, r.max, language);
}

std::string OutOfRangeText(Quantity quantity, std::string_view where, std::string_view value,
                           double min, double max, Language language) {
    const PhysicalRange& r = RangeOf(quantity);
    const bool german = language == Language::German;
    std::string unit = german && std::string_view(r.unit) == "octas" ? "Achtel" : r.unit;
    if (!unit.empty() && unit != "\u00b0") unit = " " + unit;
    std::string text = german ? r.german : r.english;
    if (!where.empty()) text += " (" + std::string(where) + ")";
    text += german ? ": \"" + std::string(value) + "\" liegt au\u00dferhalb des Bereichs "
                   : ": \"" + std::string(value) + "\" is outside the range ";
    text += RangeNumber(min) + (german ? " bis " : " to ") + RangeNumber(max) + unit;
    return text;
}

}  // namespace umbrix
