#pragma once
// Long-wave radiation at the site and the ground surface temperature: the counter-radiation of
// the atmosphere (Ångström A. (1918), A study of the radiation of the atmosphere. Smithsonian
// Miscellaneous Collections 65(3), with the cloud factor of VDI 3789 Blatt 2 (1994)), emission
// and reflection of a surface, and the surface energy balance of VDI 3789 Blatt 2.
// Units: temperatures °C, vapour pressure hPa, cloud cover octas, fluxes W/m².

namespace umbrix {

// Long-wave counter-radiation of the atmosphere A, W/m², from Ta (°C), VP (hPa), N (octas).
double AtmosphericCounterRadiation(double ta, double vp, double n);
// Long-wave radiation leaving a surface of emissivity eps and temperature t (°C) under the
// incoming long-wave radiation l: reflected plus emitted, W/m².
double LongwaveEmission(double eps, double t, double l);
// Ground heat flux B, W/m², for the net radiation qStar of the ground surface.
double GroundHeatFlux(double qStar);
// One step of the ground surface energy balance: the new surface temperature, °C.
double SurfaceTemperatureStep(double bowen, double v, double ta, double qStar);

}  // namespace umbrix
