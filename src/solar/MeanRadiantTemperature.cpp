#include "solar/MeanRadiantTemperature.h"

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

double MeanRadiantTemperature(double zenith, double l1, double l2, double l3, double d, double i,
                              double albedoHuman) {
    double h = 90.0 - zenith;
    double fp = 0.308 * cosd(h * (0.998 - h * h / 50000.0));
    return std::pow((l1 + l2 + l3) / kStefanBoltzmann +
                        (fp * i + d) * (1.0 - albedoHuman) / kPersonEmissivitySigma,
                    0.25) -
           kZeroCelsius;
}

}  // namespace umbrix
