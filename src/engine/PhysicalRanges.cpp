#include "engine/PhysicalRanges.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "solar/RadiationStep.h"
#include "solar/SunPosition.h"

namespace umbrix {

namespace {

// Wide enough for every place and weather on Earth (records: Ta −89.2 and 56.7 °C, ground
// surfaces −98 and about 94 °C), narrow enough to catch a slipped unit or decimal point.
const PhysicalRange kRanges[] = {
    {-90, 60, "\u00b0C", "Air temperature Ta", "Lufttemperatur Ta"},
    // the limit that counts is the saturation at Ta (VapourPressureLimit)
    {0, 200, "hPa", "Vapour pressure VP", "Dampfdruck VP"},
    {0, 100, "%", "Relative humidity RH", "Relative Feuchte RH"},
    {0, 60, "m/s", "Wind velocity v", "Windgeschwindigkeit v"},
    {0, 8, "octas", "Cloud cover N", "Bedeckungsgrad N"},
    // the limit that counts depends on day and latitude (GlobalRadiationLimit)
    {0, 1560, "W/m\u00b2", "Global radiation G", "Globalstrahlung G"},
    {0, 1560, "W/m\u00b2", "Diffuse radiation D", "Diffuse Strahlung D"},
    {-100, 100, "\u00b0C", "Surface temperature Ts", "Oberfl\u00e4chentemperatur Ts"},
    {-100, 120, "\u00b0C", "Mean radiant temperature Tmrt", "Mittlere Strahlungstemperatur Tmrt"},
    {-90, 90, "\u00b0", "Latitude", "Geogr. Breite"},
    {-180, 360, "\u00b0", "Longitude", "Geogr. L\u00e4nge"},
    {-12, 14, "h", "Time zone", "Zeitzone"},
    {-500, 9000, "m", "Altitude", "H\u00f6he \u00fcber NN"},
    {0, 1, "", "Albedo", "Albedo"},
    {0, 1, "", "Emission coefficient", "Emissionskoeffizient"},
    // below -0.9 the surface energy balance has no stable solution
    {-0.9, 100, "", "Bowen ratio", "Bowen-Verh\u00e4ltnis"},
    // 1 is an atmosphere without aerosol and water vapour; fog reaches about 40
    {1, 40, "", "Linke turbidity", "Linke-Tr\u00fcbung"},
    {0, 1, "", "Ratio of diffuse and global radiation",
     "Verh\u00e4ltnis von diffuser zu globaler Strahlung"},
    {0, 100, "%", "Lower limit of rel. humidity for full diffuse radiation",
     "Untergrenze der rel. Feuchte f\u00fcr rein diffuse Strahlung"},
    {0.5, 2.75, "m", "Height", "Gr\u00f6\u00dfe"},
    {1, 650, "kg", "Weight", "Gewicht"},
    {0, 125, "a", "Age", "Alter"},
    {0, 5, "clo", "Clothing", "Bekleidung"},
    {0, 1000, "W", "Activity", "Aktivit\u00e4t"},
};

}  // namespace

const PhysicalRange& RangeOf(Quantity quantity) {
    return kRanges[static_cast<int>(quantity)];
}

bool InRange(Quantity quantity, double value) {
    const PhysicalRange& r = RangeOf(quantity);
    return value >= r.min && value <= r.max;
}

double GlobalRadiationLimit(int day, double latitude) {
    const double noonZenith = std::fabs(latitude - SunDeclination(day));
    const double cosZ = std::cos(noonZenith * std::numbers::pi / 180.0);
    return 1.1 * ExtraterrestrialIrradiance(day) * std::max(cosZ, 0.05);
}

double VapourPressureLimit(double ta) {
    return SaturationVapourPressure(ta) + 0.05;
}

}  // namespace umbrix
