#pragma once
// Short-wave and long-wave radiation at the site of a standing person.

namespace umbrix {

// Humidity, Magnus form over water.
// Saturation vapour pressure Es, hPa, at air temperature ta, °C.
double SaturationVapourPressure(double ta);
// Relative humidity, %, from air temperature (°C) and vapour pressure (hPa).
double RelHumidityFromVapour(double ta, double vp);
// Vapour pressure, hPa, from air temperature (°C) and relative humidity (%).
double VapourFromRelHumidity(double ta, double rh);

}  // namespace umbrix
