#include "solar/UmbRad.h"

#include <cmath>

namespace umbrix {

double SaturationVapourPressure(double ta) { return 6.1078 * std::exp(17.1 * ta / (235.0 + ta)); }

double RelHumidityFromVapour(double ta, double vp) { return vp / SaturationVapourPressure(ta) * 100.0; }

double VapourFromRelHumidity(double ta, double rh) { return SaturationVapourPressure(ta) * rh / 100.0; }

}  // namespace umbrix
