#include "solar/Humidity.h"

#include <cmath>

namespace umbrix {

double RelHumidityFromVapour(double ta, double vp) {
    return vp / SaturationVapourPressure(ta) * 100.0;
}

double VapourFromRelHumidity(double ta, double rh) {
    return SaturationVapourPressure(ta) * rh / 100.0;
}

}  // namespace umbrix
