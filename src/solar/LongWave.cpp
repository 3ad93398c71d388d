#include "solar/LongWave.h"

#include <cmath>

#include "platform/PhysicalConstants.h"

namespace umbrix {

double AtmosphericCounterRadiation(double ta, double vp, double n) {
    float tk = static_cast<float>(ta + kZeroCelsius);
    float cloudFactor = static_cast<float>(std::pow(n / 8.0, 2.5));
    return kStefanBoltzmann * std::pow(double(tk), 4) *
           (0.82 - 0.25 * std::pow(10.0, -0.0945 * vp)) * (1.0 + 0.21 * cloudFactor);
}

double LongwaveEmission(double eps, double t, double l) {
    return (1.0 - eps) * l + eps * kStefanBoltzmann * std::pow(t + kZeroCelsius, 4);
}

double GroundHeatFlux(double qStar) {
    return qStar > 0 ? -0.19 * qStar : -0.32 * qStar;
}

double SurfaceTemperatureStep(double bowen, double v, double ta, double qStar) {
    double b = GroundHeatFlux(qStar);
    double alpha = 4.26 * v + 6.2;  // heat transfer coefficient, W/(m² K)
    // below -0.9 the factor 1/β + 1 approaches 0 and the step blows up
    if (bowen < -0.9) bowen = -0.9;
    if (bowen == 0) return ta;
    return ta + (qStar + b) / ((1.0 / bowen + 1.0) * alpha);
}

}  // namespace umbrix
