#pragma once
// UTCI, the Universal Thermal Climate Index, from the sixth-order regression polynomial that
// approximates the multi-node UTCI model:
//   Bröde P, Fiala D, Błażejczyk K, Holmér I, Jendritzky G, Kampmann B, Tinz B, Havenith G
//   (2012) Deriving the operational procedure for the Universal Thermal Climate Index (UTCI).
//   Int J Biometeorol 56:481-494, doi:10.1007/s00484-011-0454-1.
// Coefficients as released with the regression (version a 0.002, October 2009).

namespace umbrix {

// UTCI, °C, from air temperature Ta (°C), vapour pressure VP (hPa), mean radiant temperature
// Tmrt (°C) and the wind speed v at the person's height (m/s). Outside the range of the
// regression the result is missingValue.
double ComputeUtci(double ta, double vp, double tmrt, double v, float missingValue);

// The regression polynomial alone: UTCI - Ta as a function of Ta (°C), the wind speed va 10 m
// above ground (m/s), D_Tmrt = Tmrt - Ta (K) and the vapour pressure Pa (kPa). No range check.
double UtciOffset(double ta, double va, double dTmrt, double pa);

// Wind speed 10 m above ground from the speed at 1.1 m: logarithmic profile with a roughness
// length of 0.01 m.
double UtciWind10m(double v);

}  // namespace umbrix
