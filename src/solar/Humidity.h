#pragma once
// Relative humidity and vapour pressure of air, from the saturation vapour pressure over water
// in the Magnus form of VDI 3789 part 2 (platform/PhysicalConstants.h).
// Units: temperatures °C, vapour pressure hPa, relative humidity %.
#include "platform/PhysicalConstants.h"

namespace umbrix {

// Relative humidity, %, from air temperature (°C) and vapour pressure (hPa).
double RelHumidityFromVapour(double ta, double vp);
// Vapour pressure, hPa, from air temperature (°C) and relative humidity (%).
double VapourFromRelHumidity(double ta, double rh);

}  // namespace umbrix
