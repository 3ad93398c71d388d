#pragma once
// A horizon given as elevation angles per azimuth sector (HorizonProfile): its sky view factors,
// its sun test and the sunshine duration behind it.
#include "umbrix/horizon.h"

namespace umbrix {

// 1 − Σ sin(h_k) · Δ / (2π): the free share of the hemisphere's solid angle.
float ProfileSkyViewFactor(const HorizonProfile& profile);
// 1 − Σ sin²(h_k) · Δ / (2π): the free share of the cosine-weighted hemisphere.
float ProfileSkyViewFactorCos(const HorizonProfile& profile);
// The elevation angle of the sector that holds the azimuth A (degrees).
float ProfileAngleAt(const HorizonProfile& profile, double A);
// True when the sun is below the horizon (Z ≥ 90) or below the angle of its sector.
bool IsSunHiddenByProfile(const HorizonProfile& profile, double Z, double A);
// The actual sunshine duration behind the profile: the minutes m = 1 … 1440 of local time whose
// sun point on the fisheye image lies within 242 pixels of the centre (as over a horizon
// image) and, in a sector with an angle above 0, not below that angle.
int ProfileSunshineMinutes(const HorizonProfile& profile, int day, float longitude, float latitude,
                           float timeZone);

}  // namespace umbrix
