#pragma once
// Short-wave radiation at the site: the clear sky (extraterrestrial irradiance, air mass,
// Linke turbidity, the pyrheliometric formula and the clear-sky global radiation), the cloud
// cover and the horizon, and the split of a measured global radiation.
//
// Sources: VDI 3789 Blatt 2 (1994), Umweltmeteorologie — Berechnung der kurz- und der
// langwelligen Strahlung. Beuth, Berlin. Kasten F., Young A.T. (1989), Revised optical air mass
// tables and approximation formula. Applied Optics 28(22), 4735–4738. Kasten F. (1980), A simple
// parameterization of the pyrheliometric formula for determining the Linke turbidity factor.
// Meteorologische Rundschau 33, 124–127.
//
// Units: fluxes W/m², angles degrees, altitude whole metres, relative humidity %.

namespace umbrix {

// ---- clear sky ----

// Extraterrestrial irradiance I0 for the day of year, W/m².
double ExtraterrestrialIrradiance(int day);
// Relative optical air mass m for the zenith angle z. Meant for z < 90; beyond it the horizon
// branch is simply continued (callers give no direct radiation there).
double RelativeAirMass(double zenith);
// Rayleigh optical thickness δR of the pyrheliometric formula.
double MolecularThickness(double zenith);
// Ratio of the air pressure at the altitude (m) to the sea-level pressure.
double PressureRatio(int altitude);
// Automatic Linke turbidity. At or above the fog limit (RH %) the turbidity rises with the
// humidity; below it a seasonal course, high in summer, mirrored in the southern hemisphere.
double AutoLinkeTurbidity(int day, double latitude, double rh, double fogLimit);
// Clear-sky direct irradiance at normal incidence I, W/m²; 0 with the sun below the horizon.
double ClearSkyDirectNormal(int day, int altitude, double zenith, double turbidity);
// Clear-sky global radiation on the horizontal G0, W/m²; 0 with the sun below the horizon.
double ClearSkyGlobal(int day, int altitude, double zenith, double turbidity);

// ---- clouds and horizon ----

// Direct radiation on the horizontal under n octas of cloud, from the clear-sky value s0.
double CloudyDirect(double n, double s0);
// Clear-sky diffuse radiation reaching the site: the isotropic part weighted by the sky view
// factor plus the circumsolar part, which a hidden sun replaces by 0.2 · G0.
double SkyDiffuse(bool sunHidden, double svf, double g0, double d0, double i);
// Diffuse radiation reaching the site under n octas of cloud.
double CloudyDiffuse(bool sunHidden, double i, double d0, double g0, double n, double svf);
// Ratio of diffuse and global radiation used to split a given global radiation g: the preset
// ratio when it is not negative, otherwise estimated from the clearness g / g0.
double DiffuseGlobalRatio(double presetRatio, double g, double g0);

// Direct irradiance on a plane normal to the beam, W/m², from its value s on the horizontal:
// s / cos Z, 0 with the sun at or below the horizon, and never above `limit` (the
// extraterrestrial irradiance of the day), which keeps a measured G split near sunrise, where
// cos Z is tiny, from blowing up.
double DirectNormalFromHorizontal(double s, double zenith, double limit);

}  // namespace umbrix
