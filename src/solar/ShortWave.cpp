#include "solar/ShortWave.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/PhysicalConstants.h"

namespace umbrix {

namespace {
constexpr double kDeg = std::numbers::pi / 180.0;
double cosd(double degrees) {
    return std::cos(degrees * kDeg);
}
}  // namespace

double ExtraterrestrialIrradiance(int day) {
    return kSolarConstant * (1.0 + 0.03344 * cosd(0.9856 * day - 2.72));
}

double RelativeAirMass(double zenith) {
    if (zenith < 80.0) return 1.0 / cosd(zenith);
    return 1.0 / (cosd(zenith) + 0.50572 * std::pow(90.0 - zenith + 6.07995, -1.6364));
}

double MolecularThickness(double zenith) {
    if (zenith >= 85.0) return (90.0 - zenith) * 0.0028 + 0.0408;
    return 1.0 / (0.9 * RelativeAirMass(zenith) + 9.4);
}

double PressureRatio(int altitude) {
    return std::exp(-double(altitude) / 8434.5);
}

double AutoLinkeTurbidity(int day, double latitude, double rh, double fogLimit) {
    if (rh >= fogLimit) {
        float k = 1.0f;
        if (rh < 100.0)
            k = static_cast<float>(
                std::max(15.0 * (1.0 - std::exp(-std::pow(100.0 - rh, 4) / 10000.0)), 1.0));
        return 39.0 / k + 0.84;
    }
    double a = 2.0 * std::numbers::pi * (double(day) - 15.0) / 365.0;
    return latitude >= 0 ? 2.9 - 1.4 * std::cos(a) : 2.9 + 1.4 * std::cos(a);
}

double ClearSkyDirectNormal(int day, int altitude, double zenith, double turbidity) {
    if (zenith >= 90.0) return 0.0;
    double m = RelativeAirMass(zenith);
    return ExtraterrestrialIrradiance(day) *
           std::exp(-MolecularThickness(zenith) * turbidity * m * PressureRatio(altitude));
}

double ClearSkyGlobal(int day, int altitude, double zenith, double turbidity) {
    if (zenith >= 90.0) return 0.0;
    double cz = cosd(zenith);
    return 0.84 * ExtraterrestrialIrradiance(day) * cz *
           std::exp(-0.027 * PressureRatio(altitude) * turbidity / cz);
}

double CloudyDirect(double n, double s0) {
    return (1.0 - n / 8.0) * s0;
}

double SkyDiffuse(bool sunHidden, double svf, double g0, double d0, double i) {
    double circumsolar = sunHidden ? 0.2 * g0 : d0 * i / kSolarConstant;
    return (1.0 - i / kSolarConstant) * d0 * svf + circumsolar;
}

double CloudyDiffuse(bool sunHidden, double i, double d0, double g0, double n, double svf) {
    return (1.0 - n / 8.0) * SkyDiffuse(sunHidden, svf, g0, d0, i) + svf * (n / 8.0) * 0.28 * g0;
}

double DiffuseGlobalRatio(double presetRatio, double g, double g0) {
    if (presetRatio >= 0) return presetRatio;
    // a sky far from clear: the diffuse share follows the missing part of the clear-sky value
    if (g0 > 0 && g / g0 < 0.8) return 1.0 - g / g0;
    return 0.2;
}

double DirectNormalFromHorizontal(double s, double zenith, double limit) {
    if (!(zenith < 90.0) || s <= 0) return 0.0;
    const double cz = cosd(zenith);
    // s <= limit · cos Z, written without the division that overflows as cos Z approaches 0
    return s >= limit * cz ? limit : s / cz;
}

}  // namespace umbrix
