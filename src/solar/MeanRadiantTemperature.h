#pragma once
// The mean radiant temperature of a standing person, VDI 3789 Blatt 2 (1994), with the projected
// area factor fitted to Fanger P.O. (1972), Thermal Comfort. McGraw-Hill, New York.
// Units: angles degrees, fluxes W/m², temperature °C.

namespace umbrix {

// Mean radiant temperature of a standing person, °C. l1, l2, l3 are the long-wave halves
// (surroundings, ground, sky), d the diffuse radiation and i the direct irradiance on a plane
// normal to the beam, to which the projection factor belongs; albedoHuman the short-wave albedo
// of the person.
double MeanRadiantTemperature(double zenith, double l1, double l2, double l3, double d, double i,
                              double albedoHuman);

}  // namespace umbrix
