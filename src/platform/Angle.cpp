#include "platform/Angle.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/Error.h"
#include "platform/Format.h"

namespace umbrix {

namespace {

const char* const kDegree = "\u00b0";

std::string FormatAngleValue(double x) {
    double a = std::fabs(x);
    if (!std::isfinite(a)) return "0" + std::string(kDegree) + "0'";
    a = std::fmod(a, 360.0);
    long d = long(a);
    long m = long(std::nearbyint((a - double(d)) * 60.0));
    long minutes = (x < 0 ? -1 : 1) * (d * 60 + m);
    // Wrap the whole angle, minutes included, into [-180°, 180°).
    while (minutes >= 180 * 60) minutes -= 360 * 60;
    while (minutes < -180 * 60) minutes += 360 * 60;
    long mag = std::labs(minutes);
    return (minutes < 0 ? "-" : "") + std::to_string(mag / 60) + kDegree +
           std::to_string(mag % 60) + "'";
}

// A plain integer, or 0 when the text is not one (degree and minute parts of an angle).
long intOrZero(std::string_view s) {
    auto v = parseInt(s);
    return v ? *v : 0;
}

void replaceAll(std::string& s, std::string_view from, std::string_view to) {
    for (std::size_t pos = s.find(from); pos != std::string::npos;
         pos = s.find(from, pos + to.size()))
        s.replace(pos, from.size(), to);
}

}  // namespace

std::string FormatAngle(double degrees) {
    return FormatAngleValue(degrees);
}

std::string FormatAngle(std::string_view text) {
    if (auto x = parseReal(text)) return FormatAngleValue(*x);
    std::string s(text);
    replaceAll(s, ",", kDegree);
    replaceAll(s, ".", kDegree);
    if (s.find('\'') == std::string::npos) s += "'";
    std::size_t deg = s.find(kDegree);
    std::size_t min = s.find('\'');
    std::string degText, minText;
    if (deg != std::string::npos && deg < min) {
        degText = s.substr(0, deg);
        minText = s.substr(deg + 2, min - deg - 2);
    } else {
        degText = s.substr(0, min);
    }
    std::size_t first = degText.find_first_not_of(" \t");
    bool negative = first != std::string::npos && degText[first] == '-';
    long d = std::labs(intOrZero(degText));
    long m = std::labs(intOrZero(minText));
    d %= 360;
    d += m / 60;
    m %= 60;
    long minutes = (negative ? -1 : 1) * (d * 60 + m);
    while (minutes >= 180 * 60) minutes -= 360 * 60;
    while (minutes < -180 * 60) minutes += 360 * 60;
    long mag = std::labs(minutes);
    return (minutes < 0 ? "-" : "") + std::to_string(mag / 60) + kDegree +
           std::to_string(mag % 60) + "'";
}

double AngleAsTyped(std::string_view text) {
    if (auto x = parseReal(text)) return *x;
    std::string s(text);
    replaceAll(s, ",", kDegree);
    replaceAll(s, ".", kDegree);
    if (s.find('\'') == std::string::npos) s += "'";
    const std::size_t deg = s.find(kDegree), min = s.find('\'');
    std::string degText =
        deg != std::string::npos && deg < min ? s.substr(0, deg) : s.substr(0, min);
    std::string minText =
        deg != std::string::npos && deg < min ? s.substr(deg + 2, min - deg - 2) : std::string();
    const std::size_t first = degText.find_first_not_of(" \t");
    const bool negative = first != std::string::npos && degText[first] == '-';
    const double value =
        double(std::labs(intOrZero(degText))) + double(std::labs(intOrZero(minText))) / 60.0;
    return negative ? -value : value;
}

double ParseAngle(std::string_view text, std::string_view field) {
    std::string s(text);
    if (auto comma = s.find(','); comma != std::string::npos) s[comma] = '.';
    std::size_t deg = s.find(kDegree);
    if (s.find('.') == std::string::npos && deg != std::string::npos) {
        std::string degText = s.substr(0, deg);
        std::size_t rest = deg + 2;
        std::size_t min = s.find('\'', rest);
        std::string minText =
            s.substr(rest, min == std::string::npos ? std::string::npos : min - rest);
        auto d = parseReal(degText);
        auto m = minText.find_first_not_of(" \t") == std::string::npos ? std::optional<double>(0.0)
                                                                       : parseReal(minText);
        if (!d || !m)
            throw ConvertError(
                std::string(field), std::string(text),
                std::string(field) + ": \"" + std::string(text) + "\" is not a valid angle");
        std::size_t first = degText.find_first_not_of(" \t");
        bool negative = first != std::string::npos && degText[first] == '-';
        double value = std::fabs(*d) + *m / 60.0;
        return negative ? -value : value;
    }
    return toReal(s, field, false);
}

}  // namespace umbrix
